// Reading a text file into memory a block at a time, decoded as it arrives.
#pragma once

#include <string>

#include "files/text_encoding.h"

namespace lodestar {

// The whole text of the file in its own encoding, the same as decodeText of its bytes, without
// holding the bytes whole: a fixed block is read and decoded at a time straight into the text.
// The text's memory is asked for in large pages where the system grants them, which makes a
// text of hundreds of megabytes several times cheaper to fill. Throws FileError naming the
// path and the reason.
DecodedText readTextInBlocks(const std::u16string& path, const TextReading& reading);

}  // namespace lodestar
