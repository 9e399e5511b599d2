// Permission bits, times and extended attributes copied from one file to another.
#include "backups/file_details.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/text.h"
#include "files/file_error.h"

namespace lodestar {
namespace {

void copyAttributes(const std::string& from, const std::string& to) {
    const ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
    if (size <= 0) return;
    std::string names(static_cast<std::size_t>(size), '\0');
    const ssize_t got = ::llistxattr(from.c_str(), names.data(), names.size());
    if (got <= 0) return;
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t start = 0; start < names.size();) {
        const std::string name = names.c_str() + start;
        start += name.size() + 1;
        const ssize_t length = ::lgetxattr(from.c_str(), name.c_str(), nullptr, 0);
        if (length < 0) continue;
        std::vector<char> value(static_cast<std::size_t>(length) + 1);
        const ssize_t read = ::lgetxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (read < 0) continue;
        // Some names (security.*, trusted.*) only the system may set: those stay behind.
        ::lsetxattr(to.c_str(), name.c_str(), value.data(), static_cast<std::size_t>(read), 0);
    }
}

}  // namespace

void copyDetails(const std::u16string& from, const std::u16string& to) {
    const std::string source = toUtf8(from);
    const std::string target = toUtf8(to);
    struct stat info {};
    if (::stat(source.c_str(), &info) != 0) throw fileFailure("Cannot read the file", from, errno);
    copyAttributes(source, target);
    if (::fchmodat(AT_FDCWD, target.c_str(), info.st_mode & 07777, 0) != 0)
        throw fileFailure("Cannot set the permissions of", to, errno);
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (::utimensat(AT_FDCWD, target.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw fileFailure("Cannot set the time of", to, errno);
}

}  // namespace lodestar
