// Which file a path names, and whether it is still the one that was read: the device and inode
// tell two names of one file apart from two files; size and modification time tell a file that
// another program changed. Also the symbolic-link questions the loops over a folder ask.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

namespace lodestar {

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool sameFile(const FileStamp& other) const {
        return device == other.device && inode == other.inode;
    }
    bool operator==(const FileStamp& other) const {
        return sameFile(other) && size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

// The stamp of the file the path leads to (through links); nullopt when there is none.
std::optional<FileStamp> stampOf(const std::u16string& path);

// True when the path itself is a symbolic link (whatever it points to).
bool isSymbolicLink(const std::u16string& path);

// The absolute path with every link resolved, or the path unchanged when it cannot be resolved.
std::u16string resolvedPath(const std::u16string& path);

}  // namespace lodestar
