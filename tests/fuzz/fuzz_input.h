// Turning a fuzzer's bytes into the program's inputs: wide text from bytes (one code unit per
// byte pair, so every UTF-16 code unit can occur), and a split of the bytes at the first NUL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace lodestar::fuzz {

inline std::u16string wideFrom(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

// One code unit per byte (as the Windows-1252 files mostly read).
inline std::u16string narrowFrom(std::string_view bytes) {
    return std::u16string(bytes.begin(), bytes.end());
}

// The bytes before the first NUL and those after it (empty when there is none).
inline std::pair<std::string_view, std::string_view> splitAtNul(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos) return {bytes, {}};
    return {bytes.substr(0, nul), bytes.substr(nul + 1)};
}

inline std::string_view bytesOf(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace lodestar::fuzz
