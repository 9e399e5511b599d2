// Reading the syntax table and choosing render rules by file extension.
#include "syntax/syntax_table.h"

#include "core/error.h"
#include "core/text.h"

namespace lodestar {
namespace {

// The extension of the last path component, lower-cased (ASCII letters), without NULs; empty
// when that name has no dot. Dots in folder names do not count.
std::u16string extensionOf(std::u16string_view fileName) {
    std::u16string name;
    name.reserve(fileName.size());
    for (char16_t c : fileName) {
        if (c != u'\0') name += c;
    }
    name = trimSpaces(name);
    const std::size_t slash = name.find_last_of(u'/');
    const std::size_t dot = name.find_last_of(u'.');
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) return {};
    std::u16string extension = name.substr(dot + 1);
    for (char16_t& c : extension) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return extension;
}

}  // namespace

SyntaxTable parseSyntaxTable(std::u16string_view text) {
    SyntaxTable table;
    if (text.empty()) return table;
    for (const std::u16string& line : splitText(text, u"\r\n")) {
        const std::size_t colon = line.find(u':');
        if (colon == std::u16string::npos) continue;
        table.keys.push_back(line.substr(0, colon));
        table.values.push_back(line.substr(colon + 1));
    }
    return table;
}

std::u16string pickRenderRules(const SyntaxTable& table, std::u16string_view fileName,
                               bool showSyntax) {
    if (!showSyntax) return std::u16string(kPlainRenderRules);
    const std::u16string extension = extensionOf(fileName);
    if (!extension.empty()) {
        for (std::size_t k = 0; k < table.keys.size() && k < table.values.size(); ++k) {
            if (table.keys[k] == extension) return table.values[k];
        }
    }
    return std::u16string(kDefaultRenderRules);
}

}  // namespace lodestar
