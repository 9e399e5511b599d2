// Backups by hard link, with a copy where a link cannot be made.
#include "backups/backup_link.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "backups/file_details.h"
#include "core/text.h"
#include "files/file_error.h"
#include "files/file_ops.h"
#include "files/safe_write.h"

namespace lodestar {

BackupMethod placeBackup(const std::u16string& original, const std::u16string& backup) {
    const std::string from = toUtf8(original);
    const std::string to = toUtf8(backup);
    const auto slash = to.rfind('/');
    // The link is made under a temporary name and renamed over the backup's name: an older
    // backup, or a link planted there, is replaced in one step.
    const std::string temporary =
        (slash == std::string::npos ? std::string() : to.substr(0, slash + 1)) +
        temporaryFileName();
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        if (::rename(temporary.c_str(), to.c_str()) == 0) return BackupMethod::Link;
        const int error = errno;
        ::unlink(temporary.c_str());
        throw fileFailure("Cannot back up the file", original, error);
    }
    // No link possible here (EXDEV, EPERM, EMLINK, ENOTSUP ...): a copy reports its own failure.
    copyFileOver(original, backup, LinkAtTarget::Replace);
    copyDetails(original, backup);
    return BackupMethod::Copy;
}

void detachBackup(const std::u16string& original, const std::u16string& backup) {
    struct stat file {};
    struct stat kept {};
    if (::stat(toUtf8(original).c_str(), &file) != 0 || ::lstat(toUtf8(backup).c_str(), &kept) != 0)
        return;
    if (file.st_dev == kept.st_dev && file.st_ino == kept.st_ino) {
        copyFileOver(original, backup, LinkAtTarget::Replace);
        copyDetails(original, backup);
    }
}

}  // namespace lodestar
