// Block-wise reading and decoding of a whole text file.
#include "files/block_text_read.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "core/text.h"
#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/open_for_reading.h"
#include "files/text_decoder.h"

namespace lodestar {
namespace {

constexpr const char* kCannotRead = "Cannot read the file";
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

// A hint only: memory the system cannot give in large pages comes in small ones.
void preferLargePages(const void* data, std::size_t bytes) {
    constexpr std::uintptr_t kLargePage = std::uintptr_t{1} << 21;
    const auto from = (reinterpret_cast<std::uintptr_t>(data) + kLargePage - 1) & ~(kLargePage - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(data) + bytes;
    if (to > from + kLargePage)
        (void)::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace

DecodedText readTextInBlocks(const std::u16string& path, const TextReading& reading,
                             const ReadWatch& watch) {
    struct stat info {};
    const int fd = openForReading(path, kCannotRead, info);
    Descriptor file(fd);

    DecodedText decoded;
    // One code unit per byte at most; a file that grows while it is read grows the text.
    const auto expected = static_cast<std::size_t>(info.st_size);
    decoded.text.reserve(expected);
    preferLargePages(decoded.text.data(), expected * sizeof(char16_t));
    decoded.text.resize(expected);
    std::vector<unsigned char> block(kBlockBytes);
    TextDecoder decoder(reading);
    std::size_t fed = 0;
    std::size_t filled = 0;
    for (;;) {
        if (watch.stop && watch.stop->requested()) throw ReadStopped();
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotRead, path, errno);
        }
        if (got == 0) break;
        fed += static_cast<std::size_t>(got);
        if (fed > decoded.text.size()) decoded.text.resize(fed + fed / 2);
        decoder.feed(block.data(), static_cast<std::size_t>(got), decoded.text.data(), filled);
        if (watch.progress) watch.progress(fed, expected);
    }
    decoder.finish(decoded.text.data(), filled);
    decoded.text.resize(filled);
    decoded.format = decoder.format();
    decoded.binary = decoder.binary();
    return decoded;
}

}  // namespace lodestar
