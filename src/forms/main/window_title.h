// The main window's title: what is open and whether it has unsaved changes.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// "notes.txt* — Lodestar" for a file with unsaved changes, "site — Lodestar" for a folder
// ("/home/ann/site/"), the designed "Lodestar 1.4" while nothing is open. A name that is not
// valid UTF-8 shows its odd bytes as "\xE9", a line break in it as "\n".
std::u16string windowTitle(std::u16string_view openPath, bool unsaved);

}  // namespace lodestar
