// What the tests of the runs over a folder's files share: a global expression, and an answer to
// the read-only question that counts how often it was asked.
#pragma once

#include <string>
#include <string_view>

#include "runs/run_driver.h"
#include "search/regexp.h"
#include "support/expression.h"

namespace lodestar::testing {

inline RegExp globalExpression(std::u16string_view pattern = u"", bool ignoreCase = false) {
    return expression(pattern, {.ignoreCase = ignoreCase});
}

// A folder run's settings for `folder`, with backups and the rest as the window has them.
inline RunSettings inFolder(std::u16string folder, bool goOnWithUnfinished = false) {
    RunSettings settings;
    settings.currentFolder = std::move(folder);
    settings.goOnWithUnfinished = goOnWithUnfinished;
    return settings;
}

struct ReadOnlyAnswer : ReadOnlyQuestion {
    explicit ReadOnlyAnswer(bool answer) : answer(answer) {}
    bool makeWritable() override { return ++asked, answer; }
    bool answer;
    int asked = 0;
};

}  // namespace lodestar::testing
