// Whole-file reads into kept buffers, with a decoder whose common case is a plain widening.
#include "runs/reusable_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "core/text.h"
#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/open_for_reading.h"
#include "files/text_decoder.h"
#include "runs/byte_kind.h"
#include "search/byte_prefilter.h"

namespace lodestar {

namespace {

constexpr std::string_view kCannotRead = "Cannot read the file";
// Bytes read and decoded in one step.
constexpr std::size_t kChunk = 4 << 20;
// Buffers for files up to this size get room to spare, so a run of small files seldom grows them.
constexpr std::size_t kLargeFile = 16 << 20;

bool startsWithUtf16Mark(std::string_view bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

}  // namespace

ReusableTextReader::ReusableTextReader(const TextReading& reading) : reading_(reading) {}
ReusableTextReader::~ReusableTextReader() {
    if (aheadFd_ >= 0) ::close(aheadFd_);
}

bool ReusableTextReader::openedAhead(const std::u16string& path) const {
    // Compared as bytes: for thousands of long paths a character loop would show.
    return aheadFd_ >= 0 && aheadPath_.size() == path.size() &&
           std::memcmp(aheadPath_.data(), path.data(), path.size() * sizeof(char16_t)) == 0;
}

std::optional<std::size_t> ReusableTextReader::openAhead(const std::u16string& path) {
    if (openedAhead(path)) return aheadSize_;
    if (aheadFd_ >= 0) ::close(aheadFd_);
    aheadFd_ = -1;
    try {
        struct stat info {};
        aheadFd_ = openForReading(path, kCannotRead, info);
        aheadPath_ = path;
        aheadSize_ = static_cast<std::size_t>(info.st_size);
        return aheadSize_;
    } catch (const FileError&) {
        return std::nullopt;
    }
}

std::size_t ReusableTextReader::openWhole(const std::u16string& path,
                                          std::optional<Descriptor>& file) {
    // One byte more than the size, so a file that grew while read is read whole.
    if (openedAhead(path)) {
        file.emplace(aheadFd_);
        aheadFd_ = -1;
        return aheadSize_ + 1;
    }
    if (aheadFd_ >= 0) ::close(aheadFd_);
    aheadFd_ = -1;
    struct stat info {};
    file.emplace(openForReading(path, kCannotRead, info));
    return static_cast<std::size_t>(info.st_size) + 1;
}

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

void ReusableTextReader::Buffer::release() {
    if (data) ::munmap(data, capacity);
    data = nullptr;
    capacity = 0;
}

ReusableTextReader::Buffer::~Buffer() {
    release();
}

void ReusableTextReader::trim() {
    if (bytes_.capacity > kLargeFile + kChunk) bytes_.release();
    if (text_.capacity > 2 * kLargeFile) text_.release();
}

namespace {

std::mutex& largeFileMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

LargeFileTurn::LargeFileTurn(const std::u16string& path, ReusableTextReader& reader)
    : reader_(reader) {
    const std::optional<std::size_t> size = reader.openAhead(path);
    if (size && *size > kLargeFile) lock_ = std::unique_lock(largeFileMutex());
}

LargeFileTurn::~LargeFileTurn() {
    if (lock_.owns_lock()) reader_.trim();
}

std::u16string_view ReusableTextReader::read(const std::u16string& path) {
    absent_ = false;
    std::optional<Descriptor> file;
    const std::size_t expected = openWhole(path, file);
    const int fd = file->get();
    const bool utf16 =
        reading_.fixed == TextEncoding::Utf16LE || reading_.fixed == TextEncoding::Utf16BE;
    if (!filter_ || utf16) return decodeStream(fd, path, expected);
    if (expected <= kLargeFile) {
        const std::size_t size = readWhole(fd, path, expected);
        const std::string_view bytes(static_cast<const char*>(bytes_.data), size);
        if (!startsWithUtf16Mark(bytes) && !filter_->mayMatch(bytes))
            return leaveUndecoded(std::memchr(bytes.data(), 0, size) != nullptr);
        return decodeHeld(size);
    }
    const LargeScan scan = scanLarge(fd, path);
    if (!scan.mayMatch) return leaveUndecoded(scan.nul);
    if (::lseek(fd, 0, SEEK_SET) != 0) throw fileFailure(kCannotRead, path, errno);
    return decodeStream(fd, path, expected);
}

std::string_view ReusableTextReader::readBytes(const std::u16string& path) {
    absent_ = false;
    std::optional<Descriptor> file;
    const std::size_t expected = openWhole(path, file);
    heldSize_ = readWhole(file->get(), path, expected);
    const std::string_view bytes(static_cast<const char*>(bytes_.data), heldSize_);
    ByteScan scan;
    scan.feed(bytes);
    scan.finish();
    const ByteKind kind = byteKindOf(scan, reading_);
    heldKind_ = kind.kind;
    heldBinary_ = kind.binary;
    heldAsciiExact_ = kind.asciiExact;
    return bytes;
}

ByteText ReusableTextReader::heldKind() {
    return *heldKind_;
}

std::size_t ReusableTextReader::readWhole(int fd, const std::u16string& path,
                                          std::size_t expected) {
    bytes_.reserve(expected);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes_.capacity) bytes_.reserve(bytes_.capacity * 2, size);
        const ssize_t got =
            ::read(fd, static_cast<char*>(bytes_.data) + size, bytes_.capacity - size);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotRead, path, errno);
        }
        if (got == 0) return size;
        const std::size_t asked = bytes_.capacity - size;
        size += static_cast<std::size_t>(got);
        // A read of a regular file that stops short at its size is at its end: no further
        // call to be told so.
        if (static_cast<std::size_t>(got) < asked && size + 1 == expected) return size;
    }
}

ReusableTextReader::LargeScan ReusableTextReader::scanLarge(int fd, const std::u16string& path) {
    // Consecutive chunks overlap by one byte less than the longest literal, so a literal that
    // straddles two chunks is seen.
    const std::size_t overlap = filter_->longest() > 0 ? filter_->longest() - 1 : 0;
    bytes_.reserve(kChunk + overlap);
    char* const buffer = static_cast<char*>(bytes_.data);
    LargeScan scan;
    std::size_t held = 0;
    bool first = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer + held, kChunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotRead, path, errno);
        }
        if (got == 0) return scan;
        const std::string_view fresh(buffer + held, static_cast<std::size_t>(got));
        // A file that begins with a UTF-16 mark holds no byte-for-byte ASCII: it is decoded.
        if (first && startsWithUtf16Mark(fresh)) return {true, false};
        first = false;
        scan.nul = scan.nul || std::memchr(fresh.data(), 0, fresh.size()) != nullptr;
        const std::size_t filled = held + fresh.size();
        if (filter_->mayMatch(std::string_view(buffer, filled))) return {true, scan.nul};
        held = std::min(overlap, filled);
        std::memmove(buffer, buffer + filled - held, held);
    }
}

std::u16string_view ReusableTextReader::leaveUndecoded(bool nulSeen) {
    absent_ = true;
    format_ = TextFormat{};
    binary_ = !reading_.fixed && nulSeen;
    return {};
}

std::u16string_view ReusableTextReader::decodeHeld(std::size_t size) {
    text_.reserve((size + 1) * sizeof(char16_t));
    TextDecoder decoder(reading_);
    std::size_t filled = 0;
    decoder.feed(static_cast<const unsigned char*>(bytes_.data), size,
                 static_cast<char16_t*>(text_.data), filled);
    decoder.finish(static_cast<char16_t*>(text_.data), filled);
    format_ = decoder.format();
    binary_ = decoder.binary();
    return std::u16string_view(static_cast<const char16_t*>(text_.data), filled);
}

std::u16string_view ReusableTextReader::decodeStream(int fd, const std::u16string& path,
                                                     std::size_t expected) {
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
