// Opening a file for reading that never waits: a FIFO with no writer, a device or a socket put
// where a file was expected would otherwise hold the open (or the first read) forever. The file
// is opened without blocking and its type checked on the descriptor itself, so a file swapped for
// a FIFO after the folder was listed is still caught.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "files/file_error.h"

namespace lodestar {

// The path leads to something that is not a regular file (a FIFO, a device, a socket, a
// folder): it was not read. Loops over a folder's files pass such a file by (FileResult::NotAFile).
class NotAFileError : public FileError {
  public:
    using FileError::FileError;
};

// Opens the file read-only without waiting and answers its descriptor (the caller closes it),
// with `info` filled from fstat on that descriptor; reads do not wait on it (for a regular file
// no flag is needed for that). Throws
// NotAFileError when it is not a regular file, FileError (`what` "path": reason) when it cannot
// be opened.
int openForReading(const std::u16string& path, std::string_view what, struct stat& info);

}  // namespace lodestar
