// Whether a path names one of the files of a list, by identity (device and inode) rather than by
// name: another spelling, a symbolic link or a second hard link of a listed file counts as that
// file. An export must never be written over a file it reads.
#pragma once

#include <string>
#include <vector>

#include "files/file_sink.h"

namespace lodestar {

// True when `path` leads (through links) to the same file as one of `files`, ticked or not.
// False when `path` names no existing file.
bool isOneOfFiles(const std::u16string& path, const std::vector<FileItem>& files);
bool isOneOfFiles(const std::u16string& path, const std::vector<std::u16string>& files);

}  // namespace lodestar
