// Whole-file reads into kept buffers, with a decoder whose common case is a plain widening.
#include "runs/reusable_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/text.h"
#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/open_for_reading.h"
#include "files/text_decoder.h"
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

// The index of the first byte of 80 or above, or the size when there is none; eight bytes at a
// time.
std::size_t firstBeyondAscii(std::string_view bytes, std::size_t from = 0) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = from;
#if defined(__SSE2__)
    // Sixty-four bytes a step: their high bits together.
    for (; i + 64 <= bytes.size(); i += 64) {
        const auto* at = reinterpret_cast<const __m128i*>(bytes.data() + i);
        const __m128i any =
            _mm_or_si128(_mm_or_si128(_mm_loadu_si128(at), _mm_loadu_si128(at + 1)),
                         _mm_or_si128(_mm_loadu_si128(at + 2), _mm_loadu_si128(at + 3)));
        if (_mm_movemask_epi8(any) != 0) break;
    }
#endif
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & kHighBits) break;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    return i;
}

// What UTF-8 bytes decode to: invalid (as the decoder takes it: an overlong form, a surrogate
// or anything beyond U+10FFFF), valid with every character one UTF-16 code unit, or valid with
// some beyond U+FFFF.
enum class Utf8Check { Invalid, WithinBmp, BeyondBmp };

Utf8Check checkUtf8(std::string_view text, std::size_t from) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    bool beyondBmp = false;
    std::size_t i = from;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            i = firstBeyondAscii(text, i);
            continue;
        }
        std::size_t need = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 4;
            beyondBmp = true;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return Utf8Check::Invalid;
        }
        if (i + need > n) return Utf8Check::Invalid;
        for (std::size_t k = 1; k < need; ++k) {
            if (p[i + k] < low || p[i + k] > high) return Utf8Check::Invalid;
            low = 0x80;
            high = 0xBF;
        }
        i += need;
    }
    return beyondBmp ? Utf8Check::BeyondBmp : Utf8Check::WithinBmp;
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
    const std::optional<TextEncoding> fixed = reading_.fixed;
    heldBinary_ = false;
    heldAsciiExact_ = false;
    if (fixed == TextEncoding::Utf16LE || fixed == TextEncoding::Utf16BE ||
        (!fixed && startsWithUtf16Mark(bytes))) {
        heldKind_ = ByteText::Other;
        return bytes;
    }
    heldAsciiExact_ = true;
    heldKind_.reset();
    // The decoder's rules: NUL bytes make a detected file binary and Windows-1252.
    heldBinary_ = !fixed && std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
    return bytes;
}

ByteText ReusableTextReader::heldKind() {
    if (heldKind_) return *heldKind_;
    const std::string_view bytes(static_cast<const char*>(bytes_.data), heldSize_);
    const std::optional<TextEncoding> fixed = reading_.fixed;
    // Invalid UTF-8 makes a detected file Windows-1252.
    const std::size_t beyond = firstBeyondAscii(bytes);
    if (beyond == bytes.size()) {
        heldKind_ = ByteText::Ascii;
    } else if (fixed == TextEncoding::Windows1252 || heldBinary_) {
        heldKind_ = ByteText::Windows1252;
    } else if (fixed || bytes.starts_with("\xEF\xBB\xBF")) {
        heldKind_ = ByteText::Other;
    } else {
        const Utf8Check check = checkUtf8(bytes, beyond);
        heldKind_ = check == Utf8Check::Invalid     ? ByteText::Windows1252
                    : check == Utf8Check::WithinBmp ? ByteText::Utf8
                                                    : ByteText::Other;
    }
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
