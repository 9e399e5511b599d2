// The text of the scratch pad (Instant Test), kept between runs in the user's state folder and
// nowhere else.
#pragma once

#include <optional>
#include <string>

namespace lodestar {

// $XDG_STATE_HOME/lodestar/scratch.txt (else ~/.local/state/lodestar/scratch.txt).
std::u16string userScratchFile();

// The text kept at `path` (UTF-8); nothing when there is none or it cannot be read.
std::optional<std::u16string> loadScratchText(const std::u16string& path);

// Keeps the text at `path` in UTF-8, the folder made when missing; the file is the program's
// own: a link there is replaced, never followed, and it is readable by the user alone. Never
// half-written. Throws Error when it cannot be written.
void saveScratchText(const std::u16string& path, const std::u16string& text);

}  // namespace lodestar
