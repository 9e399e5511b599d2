// How one backup is made: the original file itself gets a second name in the backup place, so
// a backup costs no copy and is the old file byte for byte, with its times. The run then renames
// the new content over the original's name, which parts the two: the backup keeps the old file.
// Where a link cannot be made (another file system, one without links, a file this user may not
// link) the backup is a copy.
#pragma once

#include <string>

namespace lodestar {

enum class BackupMethod { Link, Copy };

// Puts the backup of `original` (a symbolic link is followed to its file) at `backup`,
// replacing whatever is there -- a symbolic link there is replaced, never written through.
// The new name is not flushed to the disk: the caller flushes the backup's folder before the
// original changes. Throws FileError when neither a link nor a copy can be made.
BackupMethod placeBackup(const std::u16string& original, const std::u16string& backup);

// For a file that was backed up but then not rewritten after all: a backup that is still the
// file itself becomes a copy of it, so that later changes made to the file in place never
// reach the backup.
void detachBackup(const std::u16string& original, const std::u16string& backup);

}  // namespace lodestar
