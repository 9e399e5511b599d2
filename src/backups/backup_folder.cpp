// The backup folder of a run: the asked-for name, or the next free one when a folder of the user
// holds that name.
#include "backups/backup_folder.h"

#include <dirent.h>

#include <string_view>

#include "backups/backup.h"
#include "backups/run_journal.h"
#include "core/text.h"
#include "files/paths.h"

namespace lodestar {
namespace {

// Enough for any real folder; beyond it the user has a problem worth stopping for.
constexpr int kMostNames = 1000;

// A temporary file of the program's own pattern (".lodestar-" + 16 hexadecimal digits + ".tmp").
bool ownTemporary(std::string_view name) {
    constexpr std::string_view kStart = ".lodestar-";
    constexpr std::string_view kEnd = ".tmp";
    if (name.size() != kStart.size() + 16 + kEnd.size() || !name.starts_with(kStart) ||
        !name.ends_with(kEnd))
        return false;
    return name.substr(kStart.size(), 16).find_first_not_of("0123456789abcdef") ==
           std::string_view::npos;
}

}  // namespace

bool holdsNothingOfTheUser(const std::u16string& folder) {
    DIR* handle = ::opendir(toUtf8(folder).c_str());
    if (!handle) return false;
    bool empty = true;
    while (const dirent* entry = ::readdir(handle)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && !ownTemporary(name)) {
            empty = false;
            break;
        }
    }
    ::closedir(handle);
    return empty;
}

namespace {

std::u16string nameAt(std::u16string_view name, int k) {
    std::u16string own = name.empty() ? std::u16string(u"bak") : std::u16string(name);
    if (k > 1) own += u"-" + decimal(k);
    return own;
}

bool exists(const std::u16string& folder) {
    return folderExists(folder) || isSymbolicLink(folder.substr(0, folder.size() - 1)) ||
           fileExists(folder.substr(0, folder.size() - 1));
}

}  // namespace

BackupFolderChoice backupFolderForRun(std::u16string_view currentFolder, std::u16string_view name) {
    for (int k = 1; k <= kMostNames; ++k) {
        BackupFolderChoice choice{u"", nameAt(name, k), k > 1};
        choice.path = backupFolderPath(currentFolder, choice.name);
        refuseLinkedBackupFolder(choice.path);
        if (!exists(choice.path) || RunJournal::isJournalFolder(choice.path)) return choice;
        if (folderExists(choice.path) && holdsNothingOfTheUser(choice.path)) return choice;
    }
    throw BackupError("No free backup folder name next to \"" + toUtf8(nameAt(name, 1)) + "\" in " +
                      toUtf8(currentFolder) + ".");
}

std::optional<BackupFolderChoice> backupFolderOfRuns(std::u16string_view currentFolder,
                                                     std::u16string_view name) {
    for (int k = 1; k <= kMostNames; ++k) {
        BackupFolderChoice choice{u"", nameAt(name, k), k > 1};
        choice.path = backupFolderPath(currentFolder, choice.name);
        refuseLinkedBackupFolder(choice.path);
        if (!exists(choice.path)) return std::nullopt;
        if (RunJournal::isJournalFolder(choice.path)) return choice;
    }
    return std::nullopt;
}

std::u16string walkedPastBackupName(std::u16string_view currentFolder, std::u16string_view name) {
    try {
        if (const auto owned = backupFolderOfRuns(currentFolder, name)) return owned->name;
        return backupFolderForRun(currentFolder, name).name;
    } catch (const Error&) {
        return std::u16string(name);
    }
}

std::u16string renamedBackupFolderNote(std::u16string_view currentFolder, std::u16string_view name,
                                       const BackupFolderChoice& choice) {
    std::u16string folder(currentFolder);
    if (!folder.empty() && folder.back() != u'/') folder += u'/';
    return u"The folder " + folder + nameAt(name, 1) +
           u" holds files this program did not write; the backups go to " + choice.path + u".";
}

}  // namespace lodestar
