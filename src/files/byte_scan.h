// What a file's bytes tell about the encoding they are read in, gathered a block at a time as
// they arrive: the first bytes (a byte-order mark), whether a NUL byte or a byte beyond ASCII
// occurs, and whether the bytes are UTF-8 as the decoder takes it (no overlong form, no
// surrogate, nothing beyond U+10FFFF), and if so whether every character is within U+FFFF.
#pragma once

#include <cstddef>
#include <string_view>

namespace lodestar {

class ByteScan {
  public:
    enum class Utf8 { WithinBmp, BeyondBmp, Invalid };

    // The next bytes of the file, in order; a sequence cut by the end of a block is finished by
    // the next one.
    void feed(std::string_view bytes);
    // After the last block: a sequence left unfinished at the end is invalid.
    void finish();

    // The first bytes of the file, up to three.
    std::string_view head() const { return {head_, headCount_}; }
    bool nul() const { return nul_; }
    bool beyondAscii() const { return beyondAscii_; }
    // What the bytes so far are as UTF-8 (a sequence still open counts as valid until finish).
    Utf8 utf8() const { return utf8_; }

  private:
    std::size_t resume(const unsigned char* in, std::size_t count);
    std::size_t validate(const unsigned char* in, std::size_t count, std::size_t at);

    char head_[3] = {};
    std::size_t headCount_ = 0;
    bool nul_ = false;
    bool beyondAscii_ = false;
    Utf8 utf8_ = Utf8::WithinBmp;
    unsigned char pending_[4] = {};  // the start of a sequence cut by the end of a block
    std::size_t pendingCount_ = 0;
};

}  // namespace lodestar
