// How a file's bytes are searched, from what a ByteScan found in them and how files are read:
// the decoder's own rules (a UTF-16 mark or encoding makes no byte its own character; NUL bytes
// make a detected file binary and Windows-1252; invalid UTF-8 makes it Windows-1252).
#pragma once

#include "files/byte_scan.h"
#include "files/text_encoding.h"
#include "search/byte_matcher.h"

namespace lodestar {

struct ByteKind {
    ByteText kind = ByteText::Other;
    bool binary = false;      // a detected file with NUL bytes
    bool asciiExact = false;  // false for UTF-16, the one encoding whose ASCII is not its bytes
};

// From the bytes scanned so far; after ByteScan::finish, the file's.
ByteKind byteKindOf(const ByteScan& scan, const TextReading& reading);

}  // namespace lodestar
