// The program's own small files in the user's state folder (the window's state, the folder
// picker's choices, the scratch pad's text): read only when they are plain files of a sane size,
// written whole or not at all, and made of "name=value" lines where they hold settings.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

// The bytes of the file at `path`; nothing when it is missing, is not a plain file (a FIFO is
// never opened), is larger than `largest` bytes or cannot be read.
std::optional<std::string> readStateFile(const std::u16string& path, std::uintmax_t largest);

// Writes `bytes` to `path`, the folder made when missing. The file is the program's own: a link
// there is replaced, never followed, and it is readable by the user alone. Never half-written.
// Throws Error when it cannot be written.
void writeStateFile(const std::u16string& path, std::string_view bytes);

// Calls `take` with each "name=value" line of `bytes`; empty lines, "#" comments and lines
// without "=" are passed over, and a CR before the line feed is dropped.
void forEachStateLine(
    std::string_view bytes,
    const std::function<void(std::string_view name, std::string_view value)>& take);

}  // namespace lodestar
