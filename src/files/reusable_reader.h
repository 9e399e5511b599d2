// Reading many files one after another, as the loops over a folder's files do: each file is
// read whole and decoded in its own encoding into buffers kept from one file to the next, so a
// run of 2,000 files costs no allocation, zero-fill or page fault per file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/text_encoding.h"

namespace lodestar {

class ReusableTextReader {
  public:
    explicit ReusableTextReader(const TextReading& reading = {});

    // The whole text of the file, exactly as loadTextFile gives it. The view stays valid until
    // the next read. Throws FileError naming the path and the reason.
    std::u16string_view read(const std::u16string& path);
    // What the last read found: the file's format, and whether it looked binary.
    const TextFormat& format() const { return format_; }
    bool binary() const { return binary_; }

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
        ~Buffer();
    };

    TextReading reading_;
    TextFormat format_;
    bool binary_ = false;
    Buffer bytes_;  // one chunk of the file's bytes
    Buffer text_;
};

}  // namespace lodestar
