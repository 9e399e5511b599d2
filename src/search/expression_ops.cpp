// Replace over a text and match collection over a file, through the configured expression.
#include "search/expression_ops.h"

#include "files/text_file.h"

namespace lodestar {

std::u16string replaceIn(const RegExp& expr, std::u16string_view text,
                         std::u16string_view replacement) {
    return expr.replace(text, replacement);
}

std::vector<Match> countInFile(const RegExp& expr, const std::u16string& path) {
    return expr.execute(LoadFileText(path));
}

}  // namespace lodestar
