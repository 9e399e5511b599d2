// The common case, a long stretch of ASCII without NUL bytes, is passed sixty-four bytes a step;
// only the bytes beyond ASCII are looked at one sequence at a time.
#include "files/byte_scan.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "files/text_decoder.h"

namespace lodestar {
namespace {

#if defined(__x86_64__)
// Where the processor has AVX2, the long stretches go thirty-two bytes a compare; answers where
// the first stretch of 128 that holds a stop begins.
__attribute__((target("avx2"))) std::size_t plainUntilWide(const unsigned char* in,
                                                           std::size_t count, std::size_t at,
                                                           bool nul) {
    const __m256i floor = nul ? _mm256_setzero_si256() : _mm256_set1_epi8(-1);
    const auto above = [floor](const __m256i* p) __attribute__((target("avx2"))) {
        return _mm256_cmpgt_epi8(_mm256_loadu_si256(p), floor);
    };
    for (; at + 128 <= count; at += 128) {
        const auto* p = reinterpret_cast<const __m256i*>(in + at);
        const __m256i all = _mm256_and_si256(_mm256_and_si256(above(p), above(p + 1)),
                                             _mm256_and_si256(above(p + 2), above(p + 3)));
        if (_mm256_movemask_epi8(all) != -1) break;
    }
    return at;
}

const bool kWide = [] {
    __builtin_cpu_init();  // the processor's features are read here, before main
    return __builtin_cpu_supports("avx2") != 0;
}();
#endif

// The index of the first byte at or after `at` that is beyond ASCII or, with `nul`, a NUL byte;
// `count` when there is none.
std::size_t plainUntil(const unsigned char* in, std::size_t count, std::size_t at, bool nul) {
#if defined(__x86_64__)
    if (kWide) at = plainUntilWide(in, count, at, nul);
    // As signed bytes, NUL and the bytes beyond ASCII are those not above zero; without `nul`
    // the floor is -1, so only the bytes beyond ASCII stop the step.
    const __m128i floor = nul ? _mm_setzero_si128() : _mm_set1_epi8(-1);
    const auto above = [&](const unsigned char* p) {
        return _mm_cmpgt_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), floor);
    };
    for (; at + 64 <= count; at += 64) {
        const __m128i all = _mm_and_si128(_mm_and_si128(above(in + at), above(in + at + 16)),
                                          _mm_and_si128(above(in + at + 32), above(in + at + 48)));
        if (_mm_movemask_epi8(all) != 0xFFFF) break;
    }
    for (; at + 16 <= count; at += 16)
        if (_mm_movemask_epi8(above(in + at)) != 0xFFFF) break;
#endif
    while (at < count && in[at] < 0x80 && (!nul || in[at] != 0)) ++at;
    return at;
}

}  // namespace

void ByteScan::feed(std::string_view bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t count = bytes.size();
    const std::size_t headTaken = std::min(count, sizeof head_ - headCount_);
    std::memcpy(head_ + headCount_, bytes.data(), headTaken);
    headCount_ += headTaken;
    std::size_t at = pendingCount_ > 0 ? resume(in, count) : 0;
    while (at < count) {
        if (utf8_ == Utf8::Invalid && beyondAscii_) {
            // Only a NUL byte is left to find out about.
            nul_ = nul_ || std::memchr(in + at, 0, count - at) != nullptr;
            return;
        }
        at = plainUntil(in, count, at, !nul_);
        if (at == count) return;
        if (in[at] == 0) {
            nul_ = true;
            ++at;
            continue;
        }
        beyondAscii_ = true;
        at = utf8_ == Utf8::Invalid ? at + 1 : validate(in, count, at);
    }
}

// One sequence beyond ASCII at `at`: answers where the scan goes on.
std::size_t ByteScan::validate(const unsigned char* in, std::size_t count, std::size_t at) {
    const Utf8Sequence sequence = utf8Sequence(in + at, count - at);
    if (sequence.incomplete) {
        pendingCount_ = count - at;
        std::memcpy(pending_, in + at, pendingCount_);
        return count;
    }
    if (sequence.length == 0) {
        utf8_ = Utf8::Invalid;
        return at + 1;
    }
    if (sequence.length == 4) utf8_ = Utf8::BeyondBmp;
    return at + sequence.length;
}

// The sequence cut by the end of the last block, finished with the first bytes of this one:
// answers how many of them it took.
std::size_t ByteScan::resume(const unsigned char* in, std::size_t count) {
    unsigned char joined[8];
    std::memcpy(joined, pending_, pendingCount_);
    const std::size_t taken = std::min(count, 4 - pendingCount_);
    std::memcpy(joined + pendingCount_, in, taken);
    const Utf8Sequence sequence = utf8Sequence(joined, pendingCount_ + taken);
    if (sequence.incomplete) {
        std::memcpy(pending_ + pendingCount_, in, taken);
        pendingCount_ += taken;
        return count;
    }
    const std::size_t held = pendingCount_;
    pendingCount_ = 0;
    if (sequence.length == 0) {
        // The new bytes are scanned again from the first: one of them may be NUL.
        utf8_ = Utf8::Invalid;
        return 0;
    }
    if (sequence.length == 4) utf8_ = Utf8::BeyondBmp;
    return sequence.length - held;
}

void ByteScan::finish() {
    if (pendingCount_ > 0) utf8_ = Utf8::Invalid;
    pendingCount_ = 0;
}

}  // namespace lodestar
