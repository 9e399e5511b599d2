// The save of one file's new text, as the window's Save and the command line's single-file
// replace make it: the read-only question, the backup and history step, the stamp check.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "backups/file_history.h"
#include "files/file_identity.h"
#include "files/text_encoding.h"

namespace lodestar {

struct SingleSave {
    bool backup = true;                  // keep the file as it was as a step of its history
    TextFormat format{};                 // the encoding and line ends to write
    std::optional<FileStamp> read;       // the stamp taken before the file was read: checked
    std::u16string_view kind = u"save";  // the history step's name: "save", "replace", "batch"
    std::size_t keepSteps = kDefaultKeptSteps;
};

// Writes `text` as the file's whole new content (see saveWithBackup). A read-only file is
// written only when `mayWriteReadOnly` answers yes: its bit is cleared and the history step keeps
// it, so Restore gives it back; otherwise nothing changes and the answer is false. Throws
// FileChangedError when another program changed the file since `read`, and FileError for any
// other failure; the file is then unchanged, its read-only bit too.
bool saveFileText(const std::u16string& path, std::u16string_view text, const SingleSave& how,
                  const std::function<bool()>& mayWriteReadOnly);

}  // namespace lodestar
