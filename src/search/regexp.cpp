// RegExp: the properties, the compile-once cache shared by copies, and the operations on top
// of the match loop.
#include "search/regexp.h"

#include <new>
#include <utility>

#include "core/text.h"

#include "search/compiled_pattern.h"
#include "search/match_session.h"
#include "search/replacement.h"

namespace lodestar {

// The result of compiling the current pattern with the current switches: the code, or the
// message of why it cannot be compiled (so that a bad pattern fails fast on every call).
struct RegExp::Compiled {
    std::unique_ptr<CompiledPattern> pattern;
    RegExpError error{""};  // why the pattern does not compile, with where
};

std::size_t replaceResultLimit(std::size_t textLength) {
    constexpr std::size_t kGrowth = 16;
    constexpr std::size_t kSpare = std::size_t{64} << 20;
    return textLength * kGrowth + kSpare;
}

namespace {

[[noreturn]] void throwTooLarge(std::u16string_view pattern, std::size_t limit) {
    throw ReplaceTooLarge("replacing " + toUtf8(pattern) + " makes the text too large (more than " +
                          std::to_string(limit) + " characters)");
}

}  // namespace

RegExp::RegExp() = default;
RegExp::~RegExp() = default;
RegExp::RegExp(const RegExp& other) = default;
RegExp& RegExp::operator=(const RegExp& other) = default;
RegExp::RegExp(RegExp&&) noexcept = default;
RegExp& RegExp::operator=(RegExp&&) noexcept = default;

void RegExp::setPattern(std::u16string_view pattern) {
    if (pattern == pattern_) return;
    pattern_ = pattern;
    compiled_.reset();
}

const std::u16string& RegExp::pattern() const {
    return pattern_;
}

void RegExp::setIgnoreCase(bool on) {
    if (on == ignoreCase_) return;
    ignoreCase_ = on;
    compiled_.reset();
}

bool RegExp::ignoreCase() const {
    return ignoreCase_;
}

void RegExp::setGlobal(bool on) {
    global_ = on;
}  // the loop's business, not the code's

bool RegExp::global() const {
    return global_;
}

void RegExp::setMultiline(bool on) {
    if (on == multiline_) return;
    multiline_ = on;
    compiled_.reset();
}

bool RegExp::multiline() const {
    return multiline_;
}

const RegExp::Compiled& RegExp::compiled() const {
    if (!compiled_) {
        auto compiled = std::make_shared<Compiled>();
        try {
            compiled->pattern =
                std::make_unique<CompiledPattern>(pattern_, ignoreCase_, multiline_);
        } catch (const RegExpError& e) {
            compiled->error = e;
        }
        compiled_ = std::move(compiled);
    }
    if (!compiled_->pattern) throw compiled_->error;
    return *compiled_;
}

std::vector<Match> RegExp::execute(std::u16string_view text, const StopToken* stop) const {
    const CompiledPattern& pattern = *compiled().pattern;
    std::vector<Match> matches;
    MatchSession session(pattern, text, stop);
    while (session.next()) {
        Match& match = matches.emplace_back();
        match.index = session.start();
        match.value = text.substr(session.start(), session.end() - session.start());
        match.subMatches.reserve(pattern.groupCount());
        const std::size_t* offsets = session.offsets();
        for (std::size_t group = 1; group <= pattern.groupCount(); ++group) {
            const std::size_t begin = offsets[2 * group];
            if (begin == kNoOffset)
                match.subMatches.emplace_back(std::nullopt);
            else
                match.subMatches.emplace_back(text.substr(begin, offsets[2 * group + 1] - begin));
        }
        if (!global_) break;
    }
    return matches;
}

std::size_t RegExp::count(std::u16string_view text, const StopToken* stop) const {
    MatchSession session(*compiled().pattern, text, stop);
    std::size_t count = 0;
    while (session.next()) {
        ++count;
        if (!global_) break;
    }
    return count;
}

void RegExp::forEachMatch(std::u16string_view text,
                          const std::function<void(const MatchSpan&)>& visit,
                          const StopToken* stop) const {
    MatchSession session(*compiled().pattern, text, stop);
    while (session.next()) {
        visit(MatchSpan{session.start(), session.end() - session.start()});
        if (!global_) break;
    }
}

std::u16string RegExp::replace(std::u16string_view text, std::u16string_view replacement,
                               const StopToken* stop,
                               std::optional<std::size_t> resultLimit) const {
    const CompiledPattern& pattern = *compiled().pattern;
    const Replacement expansion(replacement, pattern.groupCount());
    const std::size_t limit = resultLimit.value_or(replaceResultLimit(text.size()));
    try {
        std::u16string result;
        result.reserve(text.size());
        std::size_t copied = 0;  // text before this offset is already in the result
        MatchSession session(pattern, text, stop);
        while (session.next()) {
            if (session.start() - copied > limit - result.size()) throwTooLarge(pattern_, limit);
            result.append(text.substr(copied, session.start() - copied));
            // Checked before each piece is added, so the result never passes the limit.
            if (expansion.expandedLength(text, session.offsets()) > limit - result.size())
                throwTooLarge(pattern_, limit);
            expansion.appendTo(result, text, session.offsets());
            copied = session.end();
            if (!global_) break;
        }
        if (text.size() - copied > limit - result.size()) throwTooLarge(pattern_, limit);
        result.append(text.substr(copied));
        return result;
    } catch (const std::bad_alloc&) {
        throw ReplaceTooLarge("not enough memory to replace " + toUtf8(pattern_));
    }
}

}  // namespace lodestar
