// Counting a large file's matches a block of whole lines at a time, without a buffer of the
// whole file: for patterns that are plain literals without a line break, whose matches never
// cross the end of a line, so a block cut after its last line break counts exactly as the whole
// file does. The file's encoding is found out from the same blocks as they pass.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "files/text_encoding.h"
#include "search/byte_matcher.h"

namespace lodestar {

// Files from this size on are worth counting so.
inline constexpr std::size_t kBlockCountFrom = std::size_t{8} << 20;

struct BlockCount {
    std::size_t count = 0;
    bool binary = false;  // a binary file, not counted (reading.binaryAsText off)
};

// The matches of the file as the search of its whole bytes counts them (at most one when
// `global` is off), or nullopt when it must be read whole: the pattern is no such literal, or
// the bytes turned out to be of a kind the literal scan does not count. Throws FileError naming
// the path and the reason, NotAFileError for a FIFO or a device.
std::optional<BlockCount> countInBlocks(const std::u16string& path, const ByteMatcher& matcher,
                                        bool global, const TextReading& reading,
                                        std::size_t blockBytes = std::size_t{256} << 10);

}  // namespace lodestar
