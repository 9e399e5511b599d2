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
#include "files/codepage.h"

namespace lodestar {

namespace {

constexpr std::string_view kCannotRead = "Cannot read the file";
// From this size on a file is mapped rather than copied into the reader's buffer.
constexpr std::size_t kLargeFile = 16 << 20;

// A read-only mapping of a whole file, unmapped when done.
class FileMapping {
  public:
    FileMapping(int fd, std::size_t size) : size_(size) {
        data_ = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (data_ == MAP_FAILED) data_ = nullptr;
    }
    ~FileMapping() {
        if (data_) ::munmap(data_, size_);
    }
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;
    const unsigned char* data() const { return static_cast<const unsigned char*>(data_); }

  private:
    void* data_;
    std::size_t size_;
};

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

  private:
    int fd_;
};

}  // namespace

ReusableTextReader::ReusableTextReader() {
    // The code page's own decoder says what the 32 bytes that are not Latin-1 become.
    std::string high(32, '\0');
    for (int i = 0; i < 32; ++i) high[i] = static_cast<char>(0x80 + i);
    const std::u16string decoded = decodeWindows1252(high);
    for (int i = 0; i < 32; ++i) high_[i] = decoded[i];
}

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
    const auto size = static_cast<std::size_t>(info.st_size);
    if (S_ISREG(info.st_mode) && size >= kLargeFile) {
        const FileMapping mapping(fd, size);
        if (mapping.data()) return decode(mapping.data(), size);
    }
    // One byte more than the size, so a file that grew while read is read whole.
    bytes_.reserve(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        // A file that grew while read, or reports no size (as under /proc): keep reading.
        if (filled == bytes_.capacity) bytes_.reserve(bytes_.capacity * 2, filled);
        auto* into = static_cast<char*>(bytes_.data) + filled;
        const ssize_t got = ::read(fd, into, bytes_.capacity - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotRead, path, errno);
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    return decode(static_cast<const unsigned char*>(bytes_.data), filled);
}

std::u16string_view ReusableTextReader::decode(const unsigned char* in, std::size_t filled) {
    text_.reserve(filled * sizeof(char16_t));
    auto* out = static_cast<char16_t*>(text_.data);
    // Widening every byte vectorises; blocks holding one of the rare bytes 80..9F are then
    // corrected byte by byte, found by a count that vectorises too.
    for (std::size_t i = 0; i < filled; ++i) out[i] = in[i];
    constexpr std::size_t kBlock = 256;
    for (std::size_t start = 0; start < filled; start += kBlock) {
        const std::size_t end = std::min(filled, start + kBlock);
        unsigned hits = 0;
        for (std::size_t i = start; i < end; ++i)
            hits += static_cast<unsigned char>(in[i] - 0x80) < 32 ? 1u : 0u;
        if (hits == 0) continue;
        for (std::size_t i = start; i < end; ++i)
            if (static_cast<unsigned char>(in[i] - 0x80) < 32) out[i] = high_[in[i] - 0x80];
    }
    return std::u16string_view(out, filled);
}

}  // namespace lodestar
