// The syntax table lib/syntax.tbl: file extensions and the render-rules file named for each, and
// the choice of render rules for the file shown in the source view.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// The table's two columns as parallel lists, in file order.
struct SyntaxTable {
    std::vector<std::u16string> keys;
    std::vector<std::u16string> values;
};

// Render rules used when no key matches the file's extension.
inline constexpr std::u16string_view kDefaultRenderRules = u"/lib/showHTM.rep";
// Render rules used when syntax display is switched off.
inline constexpr std::u16string_view kPlainRenderRules = u"/lib/showSrc.rep";

// Splits the table text at CR LF into lines and each line at its first colon into key and
// value, neither trimmed. Lines without a colon (empty lines included) are skipped.
SyntaxTable parseSyntaxTable(std::u16string_view text);

// The render-rules file for a file: with syntax display off, kPlainRenderRules; otherwise the
// value of the first key equal to the file's extension (the text after the last dot of the
// trimmed name, lower-cased, NULs removed), or kDefaultRenderRules when no key matches or the
// name has no extension.
std::u16string pickRenderRules(const SyntaxTable& table, std::u16string_view fileName,
                               bool showSyntax);

}  // namespace lodestar
