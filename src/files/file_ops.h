// Operations on single files that the loops over a folder's files need (backup, restore):
// the read-only attribute, the size, copying over and deleting. Failures throw FileError
// naming the path and the reason.
#pragma once

#include <cstdint>
#include <string>

#include "files/file_error.h"

namespace lodestar {

// True when the owner has no write permission (the read-only attribute).
bool isReadOnly(const std::u16string& path);
// Gives the owner write permission.
void clearReadOnly(const std::u16string& path);
// Takes the owner's write permission away (through a link).
void setReadOnly(const std::u16string& path);
// Size of the file in bytes.
std::uint64_t fileSize(const std::u16string& path);
// The same, 0 for a file that cannot be asked (gone since it was listed, say): a listing shows
// the smallest size, and reading the file says why.
std::uint64_t fileSizeOrZero(const std::u16string& path);
// Makes `to` a copy of `from`, replacing it at once (never half-written; on failure the old
// `to` is intact). A `to` ending in "/" is a folder: the copy keeps the name of `from` in it.
// An existing `to` keeps its permission bits and is refused when read-only; a new one gets the
// bits of `from`. A link at `to` stays a link and its target gets the content, unless
// `linkAtTarget` is Replace: then the link itself gives way to the copy (backups are never
// written through a link).
enum class LinkAtTarget { Follow, Replace };
void copyFileOver(const std::u16string& from, const std::u16string& to,
                  LinkAtTarget linkAtTarget = LinkAtTarget::Follow);
// Gives `to` (through a link) the permission bits of `from`.
void copyPermissions(const std::u16string& from, const std::u16string& to);
// Deletes the file (a link itself, not its target).
void removeFile(const std::u16string& path);

}  // namespace lodestar
