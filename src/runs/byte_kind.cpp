// The byte kind of a file's bytes, as the decoder would read them.
#include "runs/byte_kind.h"

namespace lodestar {

ByteKind byteKindOf(const ByteScan& scan, const TextReading& reading) {
    const std::optional<TextEncoding> fixed = reading.fixed;
    const std::string_view head = scan.head();
    if (fixed == TextEncoding::Utf16LE || fixed == TextEncoding::Utf16BE ||
        (!fixed && (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF"))))
        return {};
    ByteKind kind;
    kind.asciiExact = true;
    kind.binary = !fixed && scan.nul();
    if (!scan.beyondAscii())
        kind.kind = ByteText::Ascii;
    else if (fixed == TextEncoding::Windows1252 || kind.binary)
        kind.kind = ByteText::Windows1252;
    else if (fixed || head.starts_with("\xEF\xBB\xBF"))
        kind.kind = ByteText::Other;
    else
        kind.kind = scan.utf8() == ByteScan::Utf8::Invalid     ? ByteText::Windows1252
                    : scan.utf8() == ByteScan::Utf8::WithinBmp ? ByteText::Utf8
                                                               : ByteText::Other;
    return kind;
}

}  // namespace lodestar
