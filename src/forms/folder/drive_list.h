// The places the folder picker offers as drives: the root folder, the user's home folder and
// the mounted volumes a user would pick from (under /media, /mnt and /run/media).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// From the text of a mount table (/proc/self/mounts: device, mount point, ... per line, with
// spaces in names written as \040): "/", then `home` when not empty, then the mount points
// under /media, /mnt and /run/media in the table's order, each once.
std::vector<std::u16string> pickableDrives(std::string_view mountTable, const std::u16string& home);

// The same for this machine.
std::vector<std::u16string> machineDrives();

}  // namespace lodestar
