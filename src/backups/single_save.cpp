// One file's save with its read-only question.
#include "backups/single_save.h"

#include "backups/backup.h"
#include "files/file_ops.h"

namespace lodestar {

bool saveFileText(const std::u16string& path, std::u16string_view text, const SingleSave& how,
                  const std::function<bool()>& mayWriteReadOnly) {
    SaveNote note;
    note.kind = how.kind;
    note.keepSteps = how.keepSteps;
    if (isReadOnly(path)) {
        if (!mayWriteReadOnly()) return false;
        clearReadOnly(path);
        note.wasReadOnly = true;
    }
    try {
        saveWithBackup(path, text, how.backup, how.format, how.read, note);
    } catch (...) {
        // The file stays as it was, its read-only bit too.
        if (note.wasReadOnly) setReadOnly(path);
        throw;
    }
    return true;
}

}  // namespace lodestar
