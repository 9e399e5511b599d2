// Bytes compared sixteen at a time (SSE2, which every x86-64 processor has) or thirty-two at a
// time (AVX2 with GCC, on the processors that have it, asked once at run time). The scans are
// written once as templates over these and instantiated for each inside a function compiled for
// that instruction set; on other processors the scans keep to their byte loops.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#define LODESTAR_BYTE_VECTORS 1
// Clang refuses wide vectors in the templates that are only inlined into AVX2 functions.
#if defined(__GNUC__) && !defined(__clang__)
#define LODESTAR_AVX2 1
#endif
#endif

namespace lodestar::byte_vectors {

#if defined(LODESTAR_BYTE_VECTORS)

struct Sse2 {
    using Vector = __m128i;
    static constexpr std::size_t kWidth = 16;
    static Vector load(const char* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    static Vector splat(unsigned char byte) { return _mm_set1_epi8(static_cast<char>(byte)); }
    static Vector equal(Vector a, Vector b) { return _mm_cmpeq_epi8(a, b); }
    static Vector both(Vector a, Vector b) { return _mm_and_si128(a, b); }
    static Vector either(Vector a, Vector b) { return _mm_or_si128(a, b); }
    // One bit for each byte, set where the byte's high bit is.
    static std::uint32_t mask(Vector a) { return static_cast<std::uint32_t>(_mm_movemask_epi8(a)); }
};

#if defined(LODESTAR_AVX2)
// Its functions may only run, or be inlined into functions that only run, once haveAvx2() said
// yes.
struct Avx2 {
    using Vector = __m256i;
    static constexpr std::size_t kWidth = 32;
    [[gnu::target("avx2")]] static Vector load(const char* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    [[gnu::target("avx2")]] static Vector splat(unsigned char byte) {
        return _mm256_set1_epi8(static_cast<char>(byte));
    }
    [[gnu::target("avx2")]] static Vector equal(Vector a, Vector b) {
        return _mm256_cmpeq_epi8(a, b);
    }
    [[gnu::target("avx2")]] static Vector both(Vector a, Vector b) {
        return _mm256_and_si256(a, b);
    }
    [[gnu::target("avx2")]] static Vector either(Vector a, Vector b) {
        return _mm256_or_si256(a, b);
    }
    [[gnu::target("avx2")]] static std::uint32_t mask(Vector a) {
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(a));
    }
};

inline bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

#endif

}  // namespace lodestar::byte_vectors
