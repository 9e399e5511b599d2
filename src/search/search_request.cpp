#include "search/search_request.h"

#include "core/text.h"
#include "search/pattern.h"

namespace lodestar {

namespace {

// Why the engine rejects `pattern` under the request's switches, or nothing when it compiles:
// an empty text is enough to compile it without searching.
struct CompileProblem {
    std::u16string reason;
    std::optional<std::size_t> position;
};

std::optional<CompileProblem> compileProblem(const RegExp& expression) {
    try {
        (void)expression.count(u"");
    } catch (const RegExpError& e) {
        return CompileProblem{fromUtf8(e.what()), e.position()};
    }
    return std::nullopt;
}

// The problem of the pattern as typed when that alone is already wrong, else of the pattern
// the engine is given.
std::optional<CompileProblem> requestProblem(const RegExp& expression,
                                             const std::u16string& cleaned) {
    std::optional<CompileProblem> problem = compileProblem(expression);
    if (!problem || cleaned == expression.pattern()) return problem;
    RegExp asTyped = expression;
    asTyped.setPattern(cleaned);
    if (std::optional<CompileProblem> typed = compileProblem(asTyped)) return typed;
    return problem;
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
    if (std::optional<CompileProblem> problem = requestProblem(expression_, cleaned_))
        return problem->reason;
    return std::nullopt;
}

std::optional<std::size_t> SearchRequest::errorPosition() const {
    if (std::optional<CompileProblem> problem = requestProblem(expression_, cleaned_))
        return problem->position;
    return std::nullopt;
}

}  // namespace lodestar
