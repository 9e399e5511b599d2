// Sibling backups on save, the backup folder of a folder run, and both restores.
#include "replace/backup.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/paths.h"
#include "files/text_file.h"

namespace lodestar {

namespace {

std::filesystem::path osPath(const std::u16string& path) {
    return toUtf8(path);
}

// The last path component, whatever it holds (FileNameOf is empty for names without a dot).
std::u16string lastComponent(std::u16string_view path) {
    const auto slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

void ensureFolder(const std::u16string& folder) {
    std::error_code ec;
    std::filesystem::create_directory(osPath(folder), ec);
    if (ec || !folderExists(folder))
        throw BackupError("Cannot create the backup folder " + toUtf8(folder) + ": " +
                          (ec ? ec.message() : std::string("not a folder")));
}

constexpr std::u16string_view kBackedUp = u"Files backed up successfully.";
constexpr std::u16string_view kBackupFailed =
    u"Backup failed.\r\nPlease examine the backup folder and the files.";
constexpr std::u16string_view kNoBackupFolder =
    u"Sorry, your backup folder doesn't exist, restoration failed.";
constexpr std::u16string_view kEmptyBackupFolder = u"Backup folder is empty, restoration failed.";
constexpr std::u16string_view kRestored = u"Files restored successfully.";
constexpr std::u16string_view kRestoreFailed =
    u"Restoration failed.\r\nFiles already restored stay restored, the others keep their "
    u"backups in the backup folder.";

}  // namespace

std::u16string siblingBackupPath(std::u16string_view path) {
    const auto slash = path.rfind(u'/');
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    const auto dot = path.rfind(u'.');
    std::u16string backup;
    if (dot == std::u16string_view::npos || dot <= nameStart)
        backup = std::u16string(path) + u".bak";
    else
        backup = std::u16string(path.substr(0, dot + 1)) + u"bak";
    if (backup == path) backup += u".bak";
    return backup;
}

void saveWithBackup(const std::u16string& path, std::u16string_view text, bool backup,
                    const TextFormat& format) {
    if (!fileExists(path)) throw fileFailure("Cannot save the file", path, "it does not exist");
    if (isReadOnly(path)) throw fileFailure("Cannot save the file", path, "it is read-only");
    // A text the encoding cannot hold is refused before the backup replaces an older one.
    if (const auto character = unholdableCharacter(text, format.encoding))
        throw fileFailure("Cannot save the file", path,
                          cannotHoldMessage(*character, format.encoding));
    if (backup) copyFileOver(path, siblingBackupPath(path));
    WriteTextFile(path, text, format);
}

SingleRestore restoreSingleFile(const std::u16string& path) {
    const std::u16string backup = siblingBackupPath(path);
    if (!fileExists(backup))
        return {false, u"No backup " + backup + u" exists; the file is unchanged."};
    // rename() replaces the target in one step: the file is never missing.
    if (std::rename(toUtf8(backup).c_str(), toUtf8(path).c_str()) != 0)
        throw fileFailure("Cannot put back the backup", backup, errno);
    return {true, u"Restored " + path + u" from " + backup + u"."};
}

// Backups and restores work only under an absolute folder: an empty or relative one would put
// copies wherever the program happens to run, or restore into the file system's root.
static void requireAbsolute(std::u16string_view folder) {
    if (folder.empty() || folder.front() != u'/')
        throw BackupError("The working folder \"" + toUtf8(folder) +
                          "\" is not an absolute folder: no backup or restore is made there.");
}

std::u16string backupFolderPath(std::u16string_view currentFolder, std::u16string_view name) {
    requireAbsolute(currentFolder);
    std::u16string folderName = name.empty() ? std::u16string(u"bak") : std::u16string(name);
    if (folderName.find(u'/') != std::u16string::npos ||
        folderName.find(u'\\') != std::u16string::npos ||
        folderName.find(u"..") != std::u16string::npos || folderName == u"." ||
        folderName.find(u'\0') != std::u16string::npos)
        throw BackupError("The backup folder name \"" + toUtf8(folderName) +
                          "\" is not allowed: give a plain folder name without \"/\", \"\\\" "
                          "or \"..\".");
    std::u16string folder(currentFolder);
    if (!folder.empty() && folder.back() != u'/') folder += u'/';
    return folder + folderName + u'/';
}

bool BackupOneFile(const std::u16string& path, const std::u16string& backupFolder) {
    requireAbsolute(backupFolder);
    ensureFolder(backupFolder);
    copyFileOver(path, backupFolder + lastComponent(path));
    return true;
}

bool BackupAllFiles(const std::vector<FileItem>& files, std::u16string_view currentFolder,
                    std::u16string_view name, FileSink& sink) {
    try {
        const std::u16string folder = backupFolderPath(currentFolder, name);
        for (const FileItem& file : files) BackupOneFile(file.path, folder);
    } catch (const Error& error) {
        sink.logError(kBackupFailed, fromUtf8(error.what()));
        return false;
    }
    sink.logLine(kBackedUp);
    return true;
}

RestoreSteps systemRestoreSteps() {
    return {[](const std::u16string& from, const std::u16string& to) { copyFileOver(from, to); },
            [](const std::u16string& path) { removeFile(path); }};
}

bool RestoreFolder(std::u16string_view currentFolder, std::u16string_view name, FileSink& sink,
                   const RestoreSteps& steps) {
    std::u16string folder;
    try {
        folder = backupFolderPath(currentFolder, name);
    } catch (const BackupError& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    if (!folderExists(folder)) {
        sink.logError(kNoBackupFolder, u"");
        return false;
    }
    std::vector<std::u16string> names;
    try {
        for (const std::u16string& path : listFolder(folder, u"*.*"))
            names.push_back(lastComponent(path));
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    if (names.empty()) {
        sink.logError(kEmptyBackupFolder, u"");
        return false;
    }
    std::u16string target(currentFolder);
    if (target.back() != u'/') target += u'/';
    try {
        for (const std::u16string& file : names) {
            steps.copyOver(folder + file, target + file);
            steps.remove(folder + file);
        }
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    sink.logLine(kRestored);
    std::error_code ignored;  // hidden files left behind keep the folder; nothing is lost
    std::filesystem::remove(osPath(folder), ignored);
    return true;
}

}  // namespace lodestar
