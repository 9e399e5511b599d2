// The folder lock: flock on a descriptor of the folder, held until the lock object goes.
#include "backups/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "core/text.h"

namespace lodestar {

FolderLock::FolderLock(std::u16string_view folder) {
    fd_ = ::open(toUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    // Each lock is on its own open folder, so two runs of one process exclude each other too.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        busy_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace lodestar
