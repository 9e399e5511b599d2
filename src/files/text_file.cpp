// Text files: whole files decoded from and encoded to their own encoding, written safely.
#include "files/text_file.h"

#include "core/text.h"
#include "files/block_text_read.h"
#include "files/file_bytes.h"
#include "files/safe_write.h"

namespace lodestar {
namespace {

// Encodes before anything on disk is touched, so an unencodable text changes nothing.
std::string encodeFor(const std::u16string& path, std::u16string_view text,
                      const TextFormat& format) {
    try {
        return encodeText(text, format);
    } catch (const FileError& error) {
        throw fileFailure("Cannot write the file", path, error.what());
    }
}

}  // namespace

DecodedText loadTextFile(const std::u16string& path, const TextReading& reading,
                         const ReadWatch& watch) {
    return readTextInBlocks(path, reading, watch);
}

std::u16string LoadFileText(const std::u16string& path) {
    return loadTextFile(path).text;
}

void WriteTextFile(const std::u16string& path, std::u16string_view text, const TextFormat& format,
                   std::optional<FileStamp> expected) {
    ReplaceRules rules;
    rules.mustExist = true;
    rules.expected = expected;
    replaceFileBytes(path, encodeFor(path, text, format), rules);
}

bool PrintTextFile(const std::u16string& path, std::u16string_view text, const TextFormat& format) {
    std::u16string line(text);
    line += u"\r\n";
    replaceFileBytes(path, encodeFor(path, line, format), ReplaceRules{});
    return true;
}

}  // namespace lodestar
