// The dialect's translation compiled again by PCRE2's 8-bit library, for bytes and for UTF-8.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "search/byte_matcher.h"

#include <pcre2.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/text.h"
#include "search/dialect_translator.h"
#include "search/regexp.h"

namespace lodestar {
namespace {

// Each search may take this many steps; one that needs more sends the caller to the decoded
// text, whose search spreads a budget over the whole text as the program always does.
constexpr uint32_t kStepsPerSearch = 1'000'000;

// The translated pattern as bytes, and whether it names characters 80..FF; nullopt when it
// holds or names anything beyond one byte.
std::optional<std::pair<std::string, bool>> asBytes(std::u16string_view translated) {
    std::string bytes;
    bool beyondAscii = false;
    for (std::size_t i = 0; i < translated.size(); ++i) {
        const char16_t c = translated[i];
        if (c >= 0x80) return std::nullopt;
        bytes += static_cast<char>(c);
        if (c == u'\\' && i + 2 < translated.size() && translated[i + 1] == u'x' &&
            translated[i + 2] == u'{') {
            const auto close = translated.find(u'}', i + 3);
            if (close == std::u16string_view::npos) return std::nullopt;
            const unsigned long value = std::stoul(
                std::string(translated.begin() + i + 3, translated.begin() + close), nullptr, 16);
            if (value > 0xFF) return std::nullopt;
            beyondAscii = beyondAscii || value >= 0x80;
        }
    }
    return std::pair{bytes, beyondAscii};
}

// The pattern compiled by PCRE2's 8-bit library with the options of the 16-bit code (caseless
// folding on plain bytes needs no Unicode tables); empty when it does not compile.
struct Compiled {
    pcre2_code* code = nullptr;
    bool jit = false;
};
Compiled compileBytes(const std::string& pattern, uint32_t options) {
    std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)> context(
        pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
    if (!context) return {};
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                     options, &error, &offset, context.get());
    if (!code) return {};
    return {code, pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0};
}

}  // namespace

std::shared_ptr<const ByteMatcher> ByteMatcher::forPattern(std::u16string_view pattern,
                                                           bool ignoreCase, bool multiline) {
    std::optional<TranslatedPattern> translated;
    try {
        translated = translateDialect(pattern, ignoreCase, multiline);
    } catch (const std::exception&) {
        return nullptr;  // the decoded text's search reports the pattern's fault
    }
    uint32_t options = PCRE2_ALLOW_EMPTY_CLASS | PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_UNSET_BACKREF |
                       PCRE2_NEVER_BACKSLASH_C;
    if (ignoreCase) options |= PCRE2_CASELESS;
    if (translated->needsPlainStart) options |= PCRE2_NO_START_OPTIMIZE;
    std::shared_ptr<ByteMatcher> matcher(new ByteMatcher);
    std::optional<std::pair<std::string, bool>> bytes;
    try {
        bytes = asBytes(translated->pcre2);
    } catch (const std::exception&) {
        return nullptr;  // an escape too large for any code unit
    }
    if (bytes) {
        const Compiled code = compileBytes(bytes->first, options | PCRE2_NEVER_UTF);
        matcher->bytes_ = {code.code, code.jit, false};
        // Caseless matching of ASCII letters could meet letters beyond ASCII that fold to them
        // in the decoded text; bytes 80..FF named in the pattern mean other characters in
        // Windows-1252.
        matcher->onlyAscii_ = ignoreCase || bytes->second;
        if (const auto literals = plainLiterals(bytes->first); literals && code.code) {
            matcher->literals_ = std::make_unique<LiteralFinder>(*literals, ignoreCase);
            // Caseless, an ASCII letter other than k and s meets no character beyond ASCII (k
            // also matches the Kelvin sign, s the long s): such literals match the same in
            // every text whose ASCII characters are its ASCII bytes.
            matcher->literalsAnyText_ =
                !ignoreCase || std::none_of(literals->begin(), literals->end(), [](const auto& l) {
                    return l.find_first_of("kKsS") != std::string::npos;
                });
        }
    }
    // As UTF-8 the 16-bit code's characters are whole characters, and its caseless matching
    // folds letters beyond ASCII (PCRE2_UCP) as the 16-bit code does; but a caseless
    // back-reference would fold them further (é against É, K against the Kelvin sign), so such
    // patterns keep to the decoded text.
    const bool caselessReference =
        ignoreCase && translated->pcre2.find(u"\\g{") != std::u16string::npos;
    if (!caselessReference) {
        const Compiled utf8 = compileBytes(toUtf8(translated->pcre2),
                                           options | PCRE2_UTF | (ignoreCase ? PCRE2_UCP : 0));
        matcher->utf8_ = {utf8.code, utf8.jit, true};
    }
    if (!matcher->literals_ && !ignoreCase && matcher->utf8_.code)
        if (const auto literals = plainLiterals(toUtf8(translated->pcre2), true))
            matcher->utf8Literals_ = std::make_unique<LiteralFinder>(*literals, false);
    if (!matcher->bytes_.code && !matcher->utf8_.code) return nullptr;
    return matcher;
}

ByteMatcher::~ByteMatcher() {
    pcre2_code_free(bytes_.code);
    pcre2_code_free(utf8_.code);
}

bool ByteMatcher::fits(ByteText kind) const {
    switch (kind) {
        case ByteText::Ascii:
            return true;  // one of the codes compiled
        case ByteText::Windows1252:
            return (bytes_.code && !onlyAscii_) || literalsFor(kind);
        case ByteText::Utf8:
            return utf8_.code || literalsFor(kind);
        case ByteText::Other:
            break;
    }
    return false;
}

const LiteralFinder* ByteMatcher::literalsFor(ByteText kind) const {
    if (literals_ && (kind == ByteText::Ascii || literalsAnyText_)) return literals_.get();
    // UTF-8 literals match ASCII bytes too, which are UTF-8.
    if (utf8Literals_ && (kind == ByteText::Ascii || kind == ByteText::Utf8))
        return utf8Literals_.get();
    return nullptr;
}

const ByteMatcher::Code* ByteMatcher::codeFor(ByteText kind) const {
    if (kind == ByteText::Utf8) return utf8_.code ? &utf8_ : nullptr;
    if (bytes_.code) return &bytes_;
    // ASCII is UTF-8 too; other bytes are checked as UTF-8 and fail the search.
    return utf8_.code ? &utf8_ : nullptr;
}

std::optional<std::size_t> ByteMatcher::count(std::string_view bytes, bool global,
                                              ByteText kind) const {
    if (const LiteralFinder* literals = literalsFor(kind)) return literals->count(bytes, global);
    std::size_t count = 0;
    if (!forEachMatch(
            bytes, global, [&count](std::size_t, std::size_t) { ++count; }, kind))
        return std::nullopt;
    return count;
}

bool ByteMatcher::forEachMatch(std::string_view bytes, bool global,
                               const std::function<void(std::size_t, std::size_t)>& visit,
                               ByteText kind) const {
    if (const LiteralFinder* literals = literalsFor(kind)) {
        std::size_t from = 0;
        while (const auto hit = literals->find(bytes, from)) {
            visit(hit->at, hit->length);
            if (!global) break;
            from = hit->at + hit->length;
        }
        return true;
    }
    const Code* code = codeFor(kind);
    // Bytes the reader found valid UTF-8 are not checked again.
    return code && match(*code, bytes, global, kind != ByteText::Utf8, visit);
}

bool ByteMatcher::match(const Code& code, std::string_view bytes, bool global, bool checked,
                        const std::function<void(std::size_t, std::size_t)>& visit) const {
    std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> data(
        pcre2_match_data_create_from_pattern(code.code, nullptr), &pcre2_match_data_free);
    std::unique_ptr<pcre2_match_context, decltype(&pcre2_match_context_free)> context(
        pcre2_match_context_create(nullptr), &pcre2_match_context_free);
    if (!data || !context) return false;
    pcre2_set_match_limit(context.get(), kStepsPerSearch);
    // An empty view may carry no address; PCRE2's JIT code reads from it even then.
    if (!bytes.data()) bytes = "";
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(bytes.data());
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
    const uint32_t options = code.utf && !checked ? PCRE2_NO_UTF_CHECK : 0;
    std::size_t from = 0;
    // As the text's match loop: from where the last match ended, one character further after
    // an empty one.
    while (from <= bytes.size()) {
        const int rc = code.jit ? pcre2_jit_match(code.code, subject, bytes.size(), from, options,
                                                  data.get(), context.get())
                                : pcre2_match(code.code, subject, bytes.size(), from, options,
                                              data.get(), context.get());
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc < 0) return false;
        visit(offsets[0], offsets[1] - offsets[0]);
        if (!global) break;
        from = offsets[1];
        if (offsets[1] == offsets[0]) {
            ++from;
            if (code.utf)
                while (from < bytes.size() &&
                       (static_cast<unsigned char>(bytes[from]) & 0xC0) == 0x80)
                    ++from;
        }
    }
    return true;
}

}  // namespace lodestar
