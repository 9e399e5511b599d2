// The Windows-1252 code page: every byte string decodes and encodes back to itself, and any
// wide text either encodes or is refused with FileError.
#include <cstdlib>

#include "files/codepage.h"
#include "fuzz_input.h"

using namespace lodestar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    if (encodeWindows1252(decodeWindows1252(bytes)) != bytes) std::abort();
    try {
        const std::u16string wide = fuzz::wideFrom(bytes);
        if (decodeWindows1252(encodeWindows1252(wide)) != wide) std::abort();
    } catch (const FileError&) {
    }
    return 0;
}
