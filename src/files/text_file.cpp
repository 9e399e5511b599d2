// Text files: whole files decoded from and encoded to Windows-1252, written safely.
#include "files/text_file.h"

#include "core/text.h"
#include "files/codepage.h"
#include "files/file_bytes.h"
#include "files/safe_write.h"

namespace lodestar {
namespace {

// Encodes before anything on disk is touched, so an unencodable text changes nothing.
std::string encodeFor(const std::u16string& path, std::u16string_view text) {
    try {
        return encodeWindows1252(text);
    } catch (const FileError& error) {
        throw fileFailure("Cannot write the file", path, error.what());
    }
}

}  // namespace

std::u16string LoadFileText(const std::u16string& path) {
    return decodeWindows1252(readFileBytes(path));
}

std::u16string ReadTextFile(const std::u16string& path) {
    return LoadFileText(path);
}

void WriteTextFile(const std::u16string& path, std::u16string_view text,
                   std::optional<FileStamp> expected) {
    ReplaceRules rules;
    rules.mustExist = true;
    rules.expected = expected;
    replaceFileBytes(path, encodeFor(path, text), rules);
}

bool PrintTextFile(const std::u16string& path, std::u16string_view text) {
    std::u16string line(text);
    line += u"\r\n";
    replaceFileBytes(path, encodeFor(path, line), ReplaceRules{});
    return true;
}

}  // namespace lodestar
