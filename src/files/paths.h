// Path helpers over the program's "/"-separated wide paths.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lodestar {

// The file's name as the user reads it: the text after the last "/" (the whole path when it has
// none), dots or not ("Makefile", ".bashrc"); empty for a path that ends in "/".
std::u16string FileNameOf(std::u16string_view path);
// Empty for an empty path; otherwise the text before the last "/" (no trailing separator);
// empty too for a path without "/".
std::u16string ParentFolderOf(std::u16string_view path);
// An existing folder with "/" appended when missing; empty when the folder does not exist.
std::u16string NormalizeFolder(std::u16string_view path);
// (bytes / 1024) + 1 followed by " KB".
std::u16string SizeInKB(std::uint64_t bytes);

bool fileExists(const std::u16string& path);    // a regular file, or a link to one
bool folderExists(const std::u16string& path);  // a directory, or a link to one
// Something that is neither (a FIFO, a device, a socket), or a link to one: such a thing is
// never read where a file is expected.
bool isSpecialFile(const std::u16string& path);

}  // namespace lodestar
