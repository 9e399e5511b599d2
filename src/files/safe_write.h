// Replacing a file's whole content so that it is never left half-written: the bytes go to a
// temporary file in the same folder, are flushed to the disk, and the temporary is renamed over
// the target. On any failure the old content is intact and the temporary is gone.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_identity.h"

namespace lodestar {

// The two system calls of a write that can fail half-way; tests put in one that fails.
class FileOutput {
  public:
    virtual ~FileOutput() = default;
    // Writes some of the bytes to the open file; the count written, or -1 with errno set.
    virtual ssize_t writeSome(int fd, const char* data, std::size_t size) = 0;
    // Flushes the file's content to the disk; false with errno set on failure.
    virtual bool flushToDisk(int fd) = 0;
};

// write(2) and fsync(2).
FileOutput& systemFileOutput();

struct ReplaceRules {
    bool mustExist = false;  // refuse a path that names no file instead of creating it
    // Permission bits of a file that is created; without them 0666 less the umask.
    std::optional<mode_t> newFileMode;
    // Off: the path names one of the program's own files (a backup, the run journal): whatever
    // is there -- a symbolic link, an older read-only copy -- is replaced by a new file, never
    // written through.
    bool followLinks = true;
    // The file as it was read: when it is no longer that file, or another program changed its
    // size or time since, nothing is written and FileChangedError is thrown.
    std::optional<FileStamp> expected;
};

// Makes `bytes` the whole content of the file at `path`. A symbolic link stays a link and its
// target gets the content; an existing file keeps its permission bits (and its owner when the
// process may set it). Refuses a folder, a read-only file (owner has no write permission) and
// a file this process may not write. Throws FileError naming the path and the reason.
void replaceFileBytes(const std::u16string& path, std::string_view bytes, const ReplaceRules& rules,
                      FileOutput& output = systemFileOutput());

// Deletes the temporary files that a write killed half-way left in the folder: only names of
// the program's own pattern (".lodestar-" + 16 hexadecimal digits + ".tmp"). Answers how many.
std::size_t removeStaleTemporaries(const std::u16string& folder);

}  // namespace lodestar
