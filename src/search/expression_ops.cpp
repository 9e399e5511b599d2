// Replace over a text through the configured expression.
#include "search/expression_ops.h"

namespace lodestar {

std::u16string replaceIn(const RegExp& expr, std::u16string_view text,
                         std::u16string_view replacement) {
    return expr.replace(text, replacement);
}

}  // namespace lodestar
