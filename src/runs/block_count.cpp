// A block is read into one kept buffer, scanned for its encoding while it is still in the cache,
// and its whole lines counted; the unfinished last line moves to the front for the next block.
#include "runs/block_count.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "files/descriptor.h"
#include "files/file_error.h"
#include "files/open_for_reading.h"
#include "runs/byte_kind.h"
#include "search/literal_finder.h"

namespace lodestar {

std::optional<BlockCount> countInBlocks(const std::u16string& path, const ByteMatcher& matcher,
                                        bool global, const TextReading& reading,
                                        std::size_t blockBytes) {
    // The scan that counts ASCII bytes; the file's count stands only when its bytes turn out to
    // be of a kind that the same scan counts.
    const LiteralFinder* const literals = matcher.literalsFor(ByteText::Ascii);
    if (!literals || literals->holds('\n') || reading.fixed == TextEncoding::Utf16LE ||
        reading.fixed == TextEncoding::Utf16BE)
        return std::nullopt;
    struct stat info {};
    const Descriptor file(openForReading(path, "Cannot read the file", info));
    std::size_t capacity = blockBytes;
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    ByteScan scan;
    BlockCount counted;
    const auto countLines = [&](std::size_t size) {
        if (counted.count > 0 && !global) return;
        counted.count += literals->count(std::string_view(buffer.get(), size), global);
    };
    std::size_t held = 0;  // an unfinished line carried over from the last block
    for (;;) {
        if (held == capacity) {
            // A line longer than a block: the buffer grows to hold it whole.
            auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), buffer.get(), held);
            buffer = std::move(larger);
            capacity *= 2;
        }
        const ssize_t got = ::read(file.get(), buffer.get() + held, capacity - held);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw fileFailure("Cannot read the file", path, errno);
        }
        if (got == 0) break;
        const auto fresh = static_cast<std::size_t>(got);
        scan.feed(std::string_view(buffer.get() + held, fresh));
        const ByteKind kind = byteKindOf(scan, reading);
        if (kind.binary && !reading.binaryAsText) return BlockCount{0, true};
        if (matcher.literalsFor(kind.kind) != literals) return std::nullopt;
        const void* lineEnd = ::memrchr(buffer.get() + held, '\n', fresh);
        held += fresh;
        if (!lineEnd) continue;
        const std::size_t lines = static_cast<const char*>(lineEnd) - buffer.get() + 1;
        countLines(lines);
        held -= lines;
        std::memmove(buffer.get(), buffer.get() + lines, held);
    }
    scan.finish();
    if (matcher.literalsFor(byteKindOf(scan, reading).kind) != literals) return std::nullopt;
    countLines(held);
    return counted;
}

}  // namespace lodestar
