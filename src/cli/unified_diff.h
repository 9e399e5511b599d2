// The unified diff of one file's old and new bytes, as diff -u prints it and patch applies it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar::cli {

// A run of lines that differ: `oldCount` lines from `oldStart` become `newCount` lines from
// `newStart` (0-based line numbers).
struct LineChange {
    std::size_t oldStart = 0;
    std::size_t oldCount = 0;
    std::size_t newStart = 0;
    std::size_t newCount = 0;
};

// The runs of changed lines that turn `before` into `after`, in order. Lines end after each line
// feed and keep their line ends, so a line whose CR LF becomes LF differs. Few changes give the
// fewest changed lines; a text that differs almost everywhere may get larger runs than needed.
std::vector<LineChange> lineChanges(std::string_view before, std::string_view after);

// Whether bytes are no text to diff: they hold a NUL byte or begin with a UTF-16 byte-order mark.
bool diffsAsBinary(std::string_view bytes);

// The unified diff of a file whose content goes from `before` to `after`: "--- NAME" and
// "+++ NAME" (the name C-quoted when it holds blanks, quotes, backslashes or control
// characters), then hunks with `context` lines around each change and "\ No newline at end of
// file" after a last line without a line feed. Bytes that diff as binary give the one line
// "Binary files NAME and NAME differ". Empty when nothing differs.
std::string unifiedDiff(std::string_view name, std::string_view before, std::string_view after,
                        std::size_t context = 3);

}  // namespace lodestar::cli
