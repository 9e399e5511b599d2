// A file whose work needs more memory than is left fails on its own: the loops turn
// std::bad_alloc into this file's error, so the run stops there as for any other failing file.
#pragma once

#include <cerrno>
#include <string>

#include "files/file_error.h"

namespace lodestar {

inline FileError outOfMemory(const std::u16string& path) {
    return fileFailure("Not enough memory to work on the file", path, ENOMEM);
}

}  // namespace lodestar
