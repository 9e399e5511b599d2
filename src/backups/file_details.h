// What a file carries besides its bytes: permission bits, modification time and extended
// attributes. A backup that is a copy, and a file put back from one, keep them.
#pragma once

#include <string>

namespace lodestar {

// Gives `to` (a plain file, never followed through a link) the permission bits, access and
// modification times and extended attributes of `from`. Attributes the file system refuses are
// passed by; a failure to set the bits or times throws FileError.
void copyDetails(const std::u16string& from, const std::u16string& to);

}  // namespace lodestar
