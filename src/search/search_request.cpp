#include "search/search_request.h"

#include "core/text.h"
#include "search/pattern.h"

namespace lodestar {

namespace {

// Why the engine rejects `pattern` under the request's switches, or nothing when it compiles:
// an empty text is enough to compile it without searching.
std::optional<std::u16string> compileError(const RegExp& expression) {
    try {
        (void)expression.count(u"");
    } catch (const RegExpError& e) {
        return fromUtf8(e.what());
    }
    return std::nullopt;
}

}  // namespace

SearchRequest SearchRequest::build(std::u16string_view typedPattern,
                                   std::u16string_view typedReplacement, SearchSwitches switches,
                                   bool escapeSupport) {
    const BuiltPattern built =
        buildPattern(typedPattern, typedReplacement, switches.dotAll, escapeSupport);
    SearchRequest request;
    request.typed_ = std::u16string(typedPattern);
    request.cleaned_ = built.cleaned;
    request.replacement_ = built.replaceText;
    request.switches_ = switches;
    request.expression_.setPattern(built.searchPattern);
    request.expression_.setIgnoreCase(switches.ignoreCase);
    request.expression_.setGlobal(switches.global);
    request.expression_.setMultiline(switches.multiline);
    return request;
}

SearchRequest SearchRequest::withSwitches(const SearchSwitches& switches) const {
    SearchRequest request = *this;
    request.switches_ = switches;
    request.switches_.dotAll = switches_.dotAll;
    request.expression_.setIgnoreCase(switches.ignoreCase);
    request.expression_.setGlobal(switches.global);
    request.expression_.setMultiline(switches.multiline);
    return request;
}

std::optional<std::u16string> SearchRequest::error() const {
    std::optional<std::u16string> reason = compileError(expression_);
    if (!reason || cleaned_ == expression_.pattern()) return reason;
    RegExp asTyped = expression_;
    asTyped.setPattern(cleaned_);
    if (std::optional<std::u16string> typed = compileError(asTyped)) return typed;
    return reason;
}

}  // namespace lodestar
