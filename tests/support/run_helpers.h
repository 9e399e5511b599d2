// What the tests of the runs over a folder's files share: a global expression, and an answer to
// the read-only question that counts how often it was asked.
#pragma once

#include <string_view>

#include "runs/multi_replace.h"
#include "search/regexp.h"
#include "support/expression.h"

namespace lodestar::testing {

inline RegExp globalExpression(std::u16string_view pattern = u"", bool ignoreCase = false) {
    return expression(pattern, {.ignoreCase = ignoreCase});
}

struct ReadOnlyAnswer : ReadOnlyQuestion {
    explicit ReadOnlyAnswer(bool answer) : answer(answer) {}
    bool makeWritable() override { return ++asked, answer; }
    bool answer;
    int asked = 0;
};

}  // namespace lodestar::testing
