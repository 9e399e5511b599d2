// One run or restore at a time per folder: every folder run and restore, from the window or the
// command line, holds an exclusive lock on the chosen folder itself for its whole length. The
// lock is the operating system's (flock on the folder), so it is released however the holder
// ends, even when killed, and it needs no file of its own in the user's folder.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

inline constexpr std::u16string_view kFolderBusyMessage =
    u"Another run or restore is working in this folder.\r\nTry again when it has finished.";

class FolderLock {
  public:
    // Tries to take the lock on `folder` without waiting; `held()` says whether it was taken.
    // A folder that cannot be opened is not locked (the run then meets that folder's failure
    // itself).
    explicit FolderLock(std::u16string_view folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False only when another run or restore holds the folder.
    bool held() const { return !busy_; }

  private:
    int fd_ = -1;
    bool busy_ = false;
};

}  // namespace lodestar
