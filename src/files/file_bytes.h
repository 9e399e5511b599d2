// Whole files as raw bytes: the reading half shared by the text reader and the file copy.
#pragma once

#include <string>

namespace lodestar {

// All bytes of the file (following symbolic links). Throws FileError naming the path and the
// system's reason when the file cannot be opened or read, NotAFileError (never waiting) when it
// is a FIFO, a device or anything else but a regular file.
std::string readFileBytes(const std::u16string& path);

}  // namespace lodestar
