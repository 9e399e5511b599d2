// Whole-file reads into kept buffers, with a decoder whose common case is a plain widening.
#include "files/reusable_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/text.h"
#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/text_decoder.h"

namespace lodestar {

namespace {

constexpr std::string_view kCannotRead = "Cannot read the file";
// Bytes read and decoded in one step.
constexpr std::size_t kChunk = 4 << 20;
// Buffers for files up to this size get room to spare, so a run of small files seldom grows them.
constexpr std::size_t kLargeFile = 16 << 20;

}  // namespace

ReusableTextReader::ReusableTextReader(const TextReading& reading) : reading_(reading) {}
ReusableTextReader::~ReusableTextReader() = default;

void ReusableTextReader::Buffer::reserve(std::size_t bytes, std::size_t keep) {
    if (bytes <= capacity) return;
    // Room to spare for the usual small files; a large file gets just what it needs.
    const std::size_t wanted =
        bytes < kLargeFile ? std::max<std::size_t>(bytes + bytes / 4, 1 << 20) : bytes;
    void* mapped =
        ::mmap(nullptr, wanted, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw FileError("Not enough memory to read a file of that size.");
    // Huge pages: a few hundred page faults instead of tens of thousands for a large file.
    ::madvise(mapped, wanted, MADV_HUGEPAGE);
    if (keep > 0) std::memcpy(mapped, data, keep);
    if (data) ::munmap(data, capacity);
    data = mapped;
    capacity = wanted;
}

ReusableTextReader::Buffer::~Buffer() {
    if (data) ::munmap(data, capacity);
}

std::u16string_view ReusableTextReader::read(const std::u16string& path) {
    const int fd = ::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw fileFailure(kCannotRead, path, errno);
    Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) throw fileFailure(kCannotRead, path, errno);
    // One byte more than the size, so a file that grew while read is read whole.
    const auto expected = static_cast<std::size_t>(info.st_size) + 1;
    // The bytes are read a chunk at a time and decoded straight into the text buffer, so a
    // large file costs its decoded text and one chunk, not a second copy of its bytes. No
    // encoding gives more code units than bytes, so room for every byte read is enough.
    bytes_.reserve(std::min(expected, kChunk));
    text_.reserve(expected * sizeof(char16_t));
    TextDecoder decoder(reading_);
    std::size_t fed = 0;
    std::size_t filled = 0;
    for (;;) {
        // A file that grew while read, or reports no size (as under /proc): keep reading.
        if (fed == text_.capacity / sizeof(char16_t))
            text_.reserve(text_.capacity * 2, filled * sizeof(char16_t));
        const std::size_t room = std::min(bytes_.capacity, text_.capacity / sizeof(char16_t) - fed);
        const ssize_t got = ::read(fd, bytes_.data, room);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotRead, path, errno);
        }
        if (got == 0) break;
        decoder.feed(static_cast<const unsigned char*>(bytes_.data), static_cast<std::size_t>(got),
                     static_cast<char16_t*>(text_.data), filled);
        fed += static_cast<std::size_t>(got);
    }
    decoder.finish(static_cast<char16_t*>(text_.data), filled);
    format_ = decoder.format();
    binary_ = decoder.binary();
    return std::u16string_view(static_cast<const char16_t*>(text_.data), filled);
}

}  // namespace lodestar
