// Reading many files one after another, as the loops over a folder's files do: each file is
// read whole and decoded in its own encoding into buffers kept from one file to the next, so a
// run of 2,000 files costs no allocation, zero-fill or page fault per file.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "files/descriptor.h"
#include "files/text_encoding.h"
#include "search/byte_matcher.h"

namespace lodestar {

class BytePrefilter;

// A turn at a large file for one of the threads of a folder loop: large files are worked on one
// at a time, so the threads' buffers together stay within a few times the largest file. For a
// small file (or one that cannot be looked at) the turn is free. The reader used is trimmed
// when the turn ends.
class LargeFileTurn {
  public:
    LargeFileTurn(const std::u16string& path, class ReusableTextReader& reader);
    ~LargeFileTurn();
    LargeFileTurn(const LargeFileTurn&) = delete;
    LargeFileTurn& operator=(const LargeFileTurn&) = delete;

  private:
    std::unique_lock<std::mutex> lock_;
    ReusableTextReader& reader_;
};

class ReusableTextReader {
  public:
    explicit ReusableTextReader(const TextReading& reading = {});

    // The whole text of the file, exactly as loadTextFile gives it. The view stays valid until
    // the next read. Throws FileError naming the path and the reason.
    std::u16string_view read(const std::u16string& path);
    // What the last read found: the file's format, and whether it looked binary.
    const TextFormat& format() const { return format_; }
    bool binary() const { return binary_; }

    // With a filter, read() first looks at the bytes of a file in UTF-8 or Windows-1252: when
    // none of the filter's literals is there, nothing is decoded, read() gives an empty text and
    // absent() is true (binary() still says whether the file holds NUL bytes; format() is then
    // not known). The filter must outlive the reads.
    void setPrefilter(const BytePrefilter* filter) { filter_ = filter; }
    bool absent() const { return absent_; }
    // All bytes of the file, undecoded; the view stays valid until the next read. heldKind()
    // and heldBinary() then say what they decode as, decodeHeld() decodes them.
    std::string_view readBytes(const std::u16string& path);
    // Worked out by the same pass over the bytes that finds NUL bytes and the byte-order mark.
    ByteText heldKind();
    bool heldBinary() const { return heldBinary_; }
    // False for UTF-16, the one encoding whose ASCII characters are not their own bytes.
    bool heldAsciiExact() const { return heldAsciiExact_; }
    // The held bytes' text, exactly as read() gives it (format() and binary() as after read()).
    std::u16string_view decodeHeld() { return decodeHeld(heldSize_); }

    // Gives back buffers grown for a large file, so a thread that read one does not keep them.
    void trim();

    // Opens the file for the read of the same path that comes next, and answers its size; nullopt
    // when it cannot be opened as a file (that read then says why). A file is opened and
    // looked at once, however many steps ask about it.
    std::optional<std::size_t> openAhead(const std::u16string& path);

    ~ReusableTextReader();
    ReusableTextReader(const ReusableTextReader&) = delete;
    ReusableTextReader& operator=(const ReusableTextReader&) = delete;

  private:
    // Memory mapped in one go, kept for the next file, never zero-filled: a fresh 200 MB
    // buffer would otherwise cost more than reading the file.
    struct Buffer {
        void* data = nullptr;
        std::size_t capacity = 0;
        // At least `bytes` of room; the first `keep` bytes are carried over.
        void reserve(std::size_t bytes, std::size_t keep = 0);
        void release();
        ~Buffer();
    };

    struct LargeScan {
        bool mayMatch = false;
        bool nul = false;
    };
    bool openedAhead(const std::u16string& path) const;
    // Opens the file (or takes the one opened ahead for it); answers one byte more than its size.
    std::size_t openWhole(const std::u16string& path, std::optional<Descriptor>& file);
    // All bytes of the file into bytes_; answers how many.
    std::size_t readWhole(int fd, const std::u16string& path, std::size_t expected);
    // Whether a large file's bytes may hold a match, read a chunk at a time.
    LargeScan scanLarge(int fd, const std::u16string& path);
    std::u16string_view decodeHeld(std::size_t size);
    std::u16string_view decodeStream(int fd, const std::u16string& path, std::size_t expected);
    std::u16string_view leaveUndecoded(bool nulSeen);

    TextReading reading_;
    TextFormat format_;
    bool binary_ = false;
    bool absent_ = false;
    std::size_t heldSize_ = 0;
    std::optional<ByteText> heldKind_;
    bool heldBinary_ = false;
    bool heldAsciiExact_ = false;
    const BytePrefilter* filter_ = nullptr;
    int aheadFd_ = -1;  // the file openAhead opened, with its path and size
    std::u16string aheadPath_;
    std::size_t aheadSize_ = 0;
    Buffer bytes_;  // one chunk of the file's bytes
    Buffer text_;
};

}  // namespace lodestar
