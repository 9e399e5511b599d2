// Whether the window can carry a file in its source view: a file is held as UTF-16 text and
// shown a piece at a time, so only a file over a gigabyte, or one the free memory cannot hold
// about three times over (the text, its read buffer and the page's pieces), is asked about
// before it is opened.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lodestar {

inline constexpr std::uint64_t kLargestCarriedFile = std::uint64_t{1} << 30;

// `freeMemory` empty: not known, only the size counts.
bool windowCanCarry(std::uint64_t fileBytes, std::optional<std::uint64_t> freeMemory);

// The memory the system can still give ("MemAvailable" of /proc/meminfo), when it says.
std::optional<std::uint64_t> freeMemoryBytes();

// The question asked before a file the window may not carry is opened.
std::u16string largeFileQuestion(std::uint64_t fileBytes, std::optional<std::uint64_t> freeMemory);

}  // namespace lodestar
