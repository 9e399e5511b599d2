// Reading a text file into memory a block at a time, decoded as it arrives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/error.h"
#include "core/stop_token.h"
#include "files/text_encoding.h"

namespace lodestar {

// What a long read looks at between two blocks: a stop, and whom to tell how far it got.
struct ReadWatch {
    const StopToken* stop = nullptr;
    // Bytes read so far and the file's size when the read began, after every block.
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;
};

// The read was stopped through its ReadWatch; nothing it read so far is a result.
class ReadStopped : public Error {
  public:
    ReadStopped() : Error("The read was stopped") {}
};

// The whole text of the file in its own encoding, the same as decodeText of its bytes, without
// holding the bytes whole: a fixed block is read and decoded at a time straight into the text.
// The text's memory is asked for in large pages where the system grants them, which makes a
// text of hundreds of megabytes several times cheaper to fill. Throws FileError naming the
// path and the reason, ReadStopped when the watch's stop is requested before a block.
DecodedText readTextInBlocks(const std::u16string& path, const TextReading& reading,
                             const ReadWatch& watch = {});

}  // namespace lodestar
