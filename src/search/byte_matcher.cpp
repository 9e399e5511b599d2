// The dialect's translation compiled a second time, by PCRE2's 8-bit library, for bytes.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "search/byte_matcher.h"

#include <pcre2.h>

#include <memory>
#include <string>

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

}  // namespace

std::shared_ptr<const ByteMatcher> ByteMatcher::forPattern(std::u16string_view pattern,
                                                           bool ignoreCase, bool multiline) {
    std::optional<std::pair<std::string, bool>> bytes;
    bool plainStart = false;
    try {
        const TranslatedPattern translated = translateDialect(pattern, ignoreCase, multiline);
        bytes = asBytes(translated.pcre2);
        plainStart = translated.needsPlainStart;
    } catch (const std::exception&) {
        return nullptr;  // the decoded text's search reports the pattern's fault
    }
    if (!bytes) return nullptr;
    // The options of the 16-bit code; caseless folding on ASCII needs no Unicode tables.
    uint32_t options = PCRE2_ALLOW_EMPTY_CLASS | PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_UNSET_BACKREF |
                       PCRE2_NEVER_UTF | PCRE2_NEVER_BACKSLASH_C;
    if (ignoreCase) options |= PCRE2_CASELESS;
    if (plainStart) options |= PCRE2_NO_START_OPTIMIZE;
    std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)> context(
        pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
    if (!context) return nullptr;
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(bytes->first.data()),
                                     bytes->first.size(), options, &error, &offset, context.get());
    if (!code) return nullptr;
    std::shared_ptr<ByteMatcher> matcher(new ByteMatcher);
    matcher->code_ = code;
    matcher->jit_ = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
    // Caseless matching of ASCII letters could meet letters beyond ASCII that fold to them in
    // the decoded text; bytes 80..FF named in the pattern mean other characters in Windows-1252.
    matcher->onlyAscii_ = ignoreCase || bytes->second;
    return matcher;
}

ByteMatcher::~ByteMatcher() {
    pcre2_code_free(code_);
}

bool ByteMatcher::fits(ByteText kind) const {
    return kind == ByteText::Ascii || (kind == ByteText::Windows1252 && !onlyAscii_);
}

std::optional<std::size_t> ByteMatcher::count(std::string_view bytes, bool global) const {
    std::size_t count = 0;
    if (!forEachMatch(bytes, global, [&count](std::size_t, std::size_t) { ++count; }))
        return std::nullopt;
    return count;
}

bool ByteMatcher::forEachMatch(std::string_view bytes, bool global,
                               const std::function<void(std::size_t, std::size_t)>& visit) const {
    std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> data(
        pcre2_match_data_create_from_pattern(code_, nullptr), &pcre2_match_data_free);
    std::unique_ptr<pcre2_match_context, decltype(&pcre2_match_context_free)> context(
        pcre2_match_context_create(nullptr), &pcre2_match_context_free);
    if (!data || !context) return false;
    pcre2_set_match_limit(context.get(), kStepsPerSearch);
    // An empty view may carry no address; PCRE2's JIT code reads from it even then.
    if (!bytes.data()) bytes = "";
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(bytes.data());
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
    std::size_t from = 0;
    // As the text's match loop: from where the last match ended, one further after an empty one.
    while (from <= bytes.size()) {
        const int rc =
            jit_ ? pcre2_jit_match(code_, subject, bytes.size(), from, 0, data.get(), context.get())
                 : pcre2_match(code_, subject, bytes.size(), from, 0, data.get(), context.get());
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc < 0) return false;
        visit(offsets[0], offsets[1] - offsets[0]);
        if (!global) break;
        from = offsets[1] == offsets[0] ? offsets[1] + 1 : offsets[1];
    }
    return true;
}

}  // namespace lodestar
