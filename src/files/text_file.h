// The program's only road to the file system for text: whole files read into wide text and
// written back, byte-exact, each in its own encoding (files/text_encoding.h). Failures throw
// FileError (files/file_error.h) with a message naming the path and the reason.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/block_text_read.h"
#include "files/file_error.h"
#include "files/file_identity.h"
#include "files/text_encoding.h"

namespace lodestar {

// Reads all bytes of the file and decodes them in the encoding found (or the one `reading`
// fixes); exactly the file's content, a byte-order mark kept out, with what was found. The
// watch, when given, can stop the read between blocks and hears how far it got.
DecodedText loadTextFile(const std::u16string& path, const TextReading& reading = {},
                         const ReadWatch& watch = {});
// The text alone, its encoding detected: command files, libraries, templates, the syntax table
// and the options file.
std::u16string LoadFileText(const std::u16string& path);
// Replaces the whole content of an existing file with the text in `format` (the format it was
// read in). Refuses a file that does not exist, a read-only file and a text the encoding
// cannot hold. Never leaves a half-written file: on failure the old content is intact. Keeps the
// file's permission bits; a symbolic link stays a link to the new content. With `expected` (the
// file's stamp taken before it was read), a file that another program changed since is left as
// it is and FileChangedError is thrown.
void WriteTextFile(const std::u16string& path, std::u16string_view text,
                   const TextFormat& format = {}, std::optional<FileStamp> expected = std::nullopt);
// Creates or replaces the file with the text followed by one CR LF, with the same safety
// (a read-only file is refused too). Returns true; failures throw.
bool PrintTextFile(const std::u16string& path, std::u16string_view text,
                   const TextFormat& format = {});

}  // namespace lodestar
