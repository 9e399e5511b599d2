// Replacing a file's whole content so that it is never left half-written: the bytes go to a
// temporary file in the same folder, are flushed to the disk, and the temporary is renamed over
// the target. On any failure the old content is intact and the temporary is gone.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // Flushes everything written to the file system that holds the open file (syncfs(2)); false
    // with errno set on failure. Many files written one after another are made durable together
    // this way, for the price of one flush.
    virtual bool flushFileSystem(int fd);
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

// A file's new content written to a temporary file beside it, not yet durable nor in place: the
// first half of replaceFileBytes, for runs that make many files durable together
// (makeDurable) and then put each in place (putInPlace). Until then the file is untouched; a
// pending content dropped unplaced takes its temporary file with it.
class PendingReplace {
  public:
    PendingReplace(PendingReplace&& other) noexcept;
    PendingReplace& operator=(PendingReplace&& other) noexcept;
    PendingReplace(const PendingReplace&) = delete;
    PendingReplace& operator=(const PendingReplace&) = delete;
    ~PendingReplace();

    const std::u16string& path() const { return path_; }
    const std::string& temporary() const { return temporary_; }
    const std::string& target() const { return target_; }
    std::size_t size() const { return size_; }
    std::string folder() const;  // the target's folder, ending in "/"

  private:
    friend PendingReplace writePending(const std::u16string&, std::string_view, const ReplaceRules&,
                                       FileOutput&);
    friend void putInPlace(PendingReplace&);
    PendingReplace() = default;

    std::u16string path_;    // as the caller named it, for messages
    std::string target_;     // where the content goes (links followed)
    std::string temporary_;  // empty once placed or moved from
    std::optional<FileStamp> expected_;
    std::size_t size_ = 0;
};

// Checks the target as replaceFileBytes does and writes `bytes` to a temporary file beside it,
// with the permission bits the file will have; nothing is flushed. Throws FileError.
PendingReplace writePending(const std::u16string& path, std::string_view bytes,
                            const ReplaceRules& rules, FileOutput& output = systemFileOutput());
// Makes the temporary files durable: one flush per file system they lie on. Throws FileError
// naming the first file of a file system whose flush failed.
void makeDurable(const std::vector<const PendingReplace*>& pending,
                 FileOutput& output = systemFileOutput());
// Renames the temporary file over the target. With an expected stamp, a target another program
// changed since is left alone: FileChangedError (the temporary is removed). Throws FileError.
void putInPlace(PendingReplace& pending);
// Makes renames into these folders (as PendingReplace::folder gives them) durable, one flush per
// folder; failures are not reported, as the renames are done either way.
void flushFolders(const std::vector<std::string>& folders);

// A fresh name of the program's own temporary pattern (see removeStaleTemporaries), for a file
// that is renamed into place once it is whole.
std::string temporaryFileName();

// Deletes the temporary files that a write killed half-way left in the folder: only names of
// the program's own pattern (".lodestar-" + 16 hexadecimal digits + ".tmp"). Answers how many.
std::size_t removeStaleTemporaries(const std::u16string& folder);

}  // namespace lodestar
