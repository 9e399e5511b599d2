// File stamps and link questions on top of stat, lstat and realpath.
#include "files/file_identity.h"

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "core/text.h"

namespace lodestar {

std::optional<FileStamp> stampOf(const std::u16string& path) {
    struct stat info {};
    if (::stat(toUtf8(path).c_str(), &info) != 0) return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

bool isSymbolicLink(const std::u16string& path) {
    std::string native = toUtf8(path);
    while (native.size() > 1 && native.ends_with('/')) native.pop_back();
    struct stat info {};
    return ::lstat(native.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::u16string resolvedPath(const std::u16string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(toUtf8(path).c_str(), nullptr),
                                                         &std::free);
    return resolved ? fromUtf8(resolved.get()) : path;
}

}  // namespace lodestar
