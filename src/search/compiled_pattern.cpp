// Compiles a translated dialect pattern with the PCRE2 options that give the dialect's
// meanings, and JIT-compiles it.
#define PCRE2_CODE_UNIT_WIDTH 16
#include "search/compiled_pattern.h"

#include <pcre2.h>

#include <memory>
#include <string>

#include "search/dialect_translator.h"
#include "search/regexp.h"

namespace lodestar {
namespace {

std::string errorMessage(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]);
    if (length < 0) return std::string("error ").append(std::to_string(code));
    return std::string(buffer, buffer + length);  // PCRE2's messages are ASCII
}

}  // namespace

CompiledPattern::CompiledPattern(std::u16string_view pattern, bool ignoreCase, bool multiline) {
    const TranslatedPattern translated = translateDialect(pattern, ignoreCase, multiline);
    groupCount_ = translated.groupCount;

    std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)> context(
        pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
    if (!context) throw RegExpError("out of memory compiling the pattern");
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);  // "." excludes LF only

    // Multiline anchors are look-arounds made by the translator, so PCRE2_MULTILINE stays off.
    // PCRE2_UCP makes caseless matching fold letters beyond ASCII (é/É, д/Д) without UTF mode;
    // the translator spells out \d \w \s \b so that UCP does not widen them.
    uint32_t options = PCRE2_ALLOW_EMPTY_CLASS | PCRE2_DOLLAR_ENDONLY | PCRE2_MATCH_UNSET_BACKREF |
                       PCRE2_NEVER_UTF | PCRE2_NEVER_BACKSLASH_C;
    if (ignoreCase) options |= PCRE2_CASELESS | PCRE2_UCP;
    if (translated.needsPlainStart) options |= PCRE2_NO_START_OPTIMIZE;

    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.pcre2.data()),
                          translated.pcre2.size(), options, &error, &errorOffset, context.get());
    if (!code_) {
        const std::size_t at = translated.origin[std::min(errorOffset, translated.pcre2.size())];
        throw RegExpError(errorMessage(error), at);
    }
    // Without JIT (an unsupported machine, or no executable memory) the interpreter runs.
    jit_ = pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE) == 0;
}

CompiledPattern::~CompiledPattern() {
    pcre2_code_free(code_);
}

}  // namespace lodestar
