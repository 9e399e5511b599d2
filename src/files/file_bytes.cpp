// Reads a whole file with as few system calls as its size allows.
#include "files/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/text.h"
#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/open_for_reading.h"

namespace lodestar {
namespace {

constexpr const char* kCannotRead = "Cannot read the file";

}  // namespace

std::string readFileBytes(const std::u16string& path) {
    struct stat info {};
    const int fd = openForReading(path, kCannotRead, info);
    Descriptor file(fd);
    // One byte more than the size, so that the read which fills the buffer is not mistaken for
    // a file that grew; files that report no size (such as those under /proc) grow the buffer.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);
        ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotRead, path, errno);
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace lodestar
