// RegExp: the properties, the compile-once cache shared by copies, and the operations on top
// of the match loop.
#include "search/regexp.h"

#include <utility>

#include "search/compiled_pattern.h"
#include "search/match_session.h"
#include "search/replacement.h"

namespace lodestar {

// The result of compiling the current pattern with the current switches: the code, or the
// message of why it cannot be compiled (so that a bad pattern fails fast on every call).
struct RegExp::Compiled {
    std::unique_ptr<CompiledPattern> pattern;
    std::string error;
};

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
            compiled->error = e.what();
        }
        compiled_ = std::move(compiled);
    }
    if (!compiled_->pattern) throw RegExpError(compiled_->error);
    return *compiled_;
}

std::vector<Match> RegExp::execute(std::u16string_view text) const {
    const CompiledPattern& pattern = *compiled().pattern;
    std::vector<Match> matches;
    MatchSession session(pattern, text);
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

std::size_t RegExp::count(std::u16string_view text) const {
    MatchSession session(*compiled().pattern, text);
    std::size_t count = 0;
    while (session.next()) {
        ++count;
        if (!global_) break;
    }
    return count;
}

void RegExp::forEachMatch(std::u16string_view text,
                          const std::function<void(const MatchSpan&)>& visit) const {
    MatchSession session(*compiled().pattern, text);
    while (session.next()) {
        visit(MatchSpan{session.start(), session.end() - session.start()});
        if (!global_) break;
    }
}

std::u16string RegExp::replace(std::u16string_view text, std::u16string_view replacement) const {
    const CompiledPattern& pattern = *compiled().pattern;
    const Replacement expansion(replacement, pattern.groupCount());
    std::u16string result;
    result.reserve(text.size());
    std::size_t copied = 0;  // text before this offset is already in the result
    MatchSession session(pattern, text);
    while (session.next()) {
        result.append(text.substr(copied, session.start() - copied));
        expansion.appendTo(result, text, session.offsets());
        copied = session.end();
        if (!global_) break;
    }
    result.append(text.substr(copied));
    return result;
}

}  // namespace lodestar
