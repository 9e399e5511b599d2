// The candidate scans of LiteralFinder, written once over the vector width (byte_vectors.h).
// Each literal is keyed on two of its bytes; a start place is a candidate when both are in place,
// and only candidates are checked in full. With Fold the bytes are compared or-ed with 0x20, so
// that both cases of a letter give its lower case (a few pairs of other bytes then give one
// byte too: the full check tells those apart).
#pragma once

#include <cstddef>
#include <cstdint>

#include "search/byte_vectors.h"
#include "search/literal_finder.h"

namespace lodestar::literal_scan {

constexpr unsigned char kCaseBit = 0x20;
// At most this many literals are scanned for together.
constexpr std::size_t kMostLiterals = LiteralFinder::kMostLiterals;

template <bool Fold>
unsigned char keyOf(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return Fold ? static_cast<unsigned char>(byte | kCaseBit) : byte;
}

template <bool Fold>
bool keysAt(const char* start, const KeyPair& key) {
    return keyOf<Fold>(start[key.first]) == key.firstKey &&
           keyOf<Fold>(start[key.second]) == key.secondKey;
}

#if defined(LODESTAR_BYTE_VECTORS)

// These are only ever inlined, into functions compiled for their vector width (GCC's warnings
// about passing wide vectors between functions compiled without it are switched off where they
// are included).
template <class Vec, bool Fold>
[[gnu::always_inline]] inline typename Vec::Vector loadKeys(const char* at) {
    const typename Vec::Vector bytes = Vec::load(at);
    if constexpr (Fold) return Vec::either(bytes, Vec::splat(kCaseBit));
    return bytes;
}

// The start places among the vector's width from `start` where both keys are in place.
template <class Vec, bool Fold>
[[gnu::always_inline]] inline typename Vec::Vector candidates(const char* start, const KeyPair& key,
                                                              const typename Vec::Vector& first,
                                                              const typename Vec::Vector& second) {
    return Vec::both(Vec::equal(loadKeys<Vec, Fold>(start + key.first), first),
                     Vec::equal(loadKeys<Vec, Fold>(start + key.second), second));
}

// The first candidate in `mask` (one bit for each start place from `from`) that `check` says
// is a match, or `end`.
template <class Check>
[[gnu::always_inline]] inline std::size_t firstChecked(std::uint32_t mask, std::size_t from,
                                                       std::size_t end, const Check& check) {
    for (; mask != 0; mask &= mask - 1) {
        const std::size_t candidate = from + static_cast<std::size_t>(__builtin_ctz(mask));
        if (check(candidate)) return candidate;
    }
    return end;
}

// The first start place in [at, end) where one literal's keys are in place and `check` says the
// whole literal is there, or `end` when there is none; `at` is left where the byte loop must go
// on. Every key byte of a start place before `end` must be inside the bytes.
template <class Vec, bool Fold, class Check>
[[gnu::always_inline]] inline std::size_t scanOne(const char* data, std::size_t& at,
                                                  std::size_t end, const KeyPair& key,
                                                  const Check& check) {
    using Vector = typename Vec::Vector;
    constexpr std::size_t kWidth = Vec::kWidth;
    const Vector first = Vec::splat(key.firstKey);
    const Vector second = Vec::splat(key.secondKey);
    const auto candidatesAt = [&](std::size_t at) __attribute__((always_inline)) {
        return candidates<Vec, Fold>(data + at, key, first, second);
    };
    const auto verify = [&](std::uint32_t mask, std::size_t from) {
        return firstChecked(mask, from, end, check);
    };
    // Four vectors a step: most steps hold no candidate at all.
    for (; at + 4 * kWidth <= end; at += 4 * kWidth) {
        const Vector c0 = candidatesAt(at), c1 = candidatesAt(at + kWidth);
        const Vector c2 = candidatesAt(at + 2 * kWidth), c3 = candidatesAt(at + 3 * kWidth);
        if (Vec::mask(Vec::either(Vec::either(c0, c1), Vec::either(c2, c3))) == 0) continue;
        const Vector parts[] = {c0, c1, c2, c3};
        for (std::size_t k = 0; k < 4; ++k)
            if (const std::size_t found = verify(Vec::mask(parts[k]), at + k * kWidth);
                found != end)
                return found;
    }
    for (; at + kWidth <= end; at += kWidth)
        if (const std::size_t found = verify(Vec::mask(candidatesAt(at)), at); found != end)
            return found;
    return end;
}

// The same over several literals in one pass: a start place is a candidate when the keys of any
// literal are in place; `check` tries them all there, in their order. With N the number of
// literals is fixed, so that their keys stay in registers; 0 takes it from `count`.
template <class Vec, bool Fold, std::size_t N, class Check>
[[gnu::always_inline]] inline std::size_t scanManyOf(const char* data, std::size_t& at,
                                                     std::size_t end, const KeyPair* keys,
                                                     std::size_t count, const Check& check) {
    using Vector = typename Vec::Vector;
    constexpr std::size_t kWidth = Vec::kWidth;
    if constexpr (N != 0) count = N;
    Vector first[kMostLiterals], second[kMostLiterals];
    for (std::size_t i = 0; i < count; ++i) {
        first[i] = Vec::splat(keys[i].firstKey);
        second[i] = Vec::splat(keys[i].secondKey);
    }
    const auto candidatesAt = [&](std::size_t at) __attribute__((always_inline)) {
        Vector on = candidates<Vec, Fold>(data + at, keys[0], first[0], second[0]);
#pragma GCC unroll 8
        for (std::size_t i = 1; i < count; ++i)
            on = Vec::either(on, candidates<Vec, Fold>(data + at, keys[i], first[i], second[i]));
        return on;
    };
    const auto verify = [&](std::uint32_t mask, std::size_t from) {
        return firstChecked(mask, from, end, check);
    };
    // Two vectors a step, asked at once whether they hold a candidate.
    for (; at + 2 * kWidth <= end; at += 2 * kWidth) {
        const Vector c0 = candidatesAt(at), c1 = candidatesAt(at + kWidth);
        if (Vec::mask(Vec::either(c0, c1)) == 0) continue;
        if (const std::size_t found = verify(Vec::mask(c0), at); found != end) return found;
        if (const std::size_t found = verify(Vec::mask(c1), at + kWidth); found != end)
            return found;
    }
    for (; at + kWidth <= end; at += kWidth)
        if (const std::size_t found = verify(Vec::mask(candidatesAt(at)), at); found != end)
            return found;
    return end;
}

// scanManyOf with the number of literals fixed for up to kFixed of them.
template <class Vec, bool Fold, class Check, std::size_t N = 2>
[[gnu::always_inline]] inline std::size_t scanMany(const char* data, std::size_t& at,
                                                   std::size_t end, const KeyPair* keys,
                                                   std::size_t count, const Check& check) {
    constexpr std::size_t kFixed = 6;
    if constexpr (N > kFixed) {
        return scanManyOf<Vec, Fold, 0>(data, at, end, keys, count, check);
    } else {
        if (count == N) return scanManyOf<Vec, Fold, N>(data, at, end, keys, count, check);
        return scanMany<Vec, Fold, Check, N + 1>(data, at, end, keys, count, check);
    }
}

#endif

}  // namespace lodestar::literal_scan
