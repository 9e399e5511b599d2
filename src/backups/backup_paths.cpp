// Backup names and the folders on the way, checked one component at a time with lstat.
#include "backups/backup_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "backups/backup.h"
#include "core/text.h"
#include "files/folder_tree.h"

namespace lodestar {

std::u16string backupNameOf(std::u16string_view currentFolder, std::u16string_view path) {
    const std::u16string relative = relativeToFolder(currentFolder, path);
    if (relative.size() < path.size() && isPlainRelativeName(relative)) return relative;
    const auto slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string backupCopyPath(const std::u16string& backupFolder, std::u16string_view path,
                              std::u16string_view name) {
    const std::u16string own = name.empty() ? backupNameOf(u"", path) : std::u16string(name);
    if (!isPlainRelativeName(own))
        throw BackupError("The backup name " + toUtf8(own) + " leads out of the backup folder.");
    return pathWithFolders(backupFolder, own);
}

bool isPlainRelativeName(std::u16string_view name) {
    if (name.empty() || name.find(u'\0') != std::u16string_view::npos) return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find(u'/', start);
        const std::u16string_view part = name.substr(start, end - start);
        if (part.empty() || part == u"." || part == u"..") return false;
        if (end == std::u16string_view::npos) return true;
        start = end + 1;
    }
}

std::u16string pathWithFolders(const std::u16string& base, std::u16string_view name) {
    for (std::size_t slash = name.find(u'/'); slash != std::u16string_view::npos;
         slash = name.find(u'/', slash + 1)) {
        const std::string folder = toUtf8(base + std::u16string(name.substr(0, slash)));
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0) {
            if (errno == ENOENT && ::mkdir(folder.c_str(), 0777) == 0) continue;
            throw BackupError("Cannot create the folder " + folder + ": " + std::strerror(errno));
        }
        if (S_ISLNK(info.st_mode) || !S_ISDIR(info.st_mode))
            throw BackupError("The folder " + folder +
                              " is a symbolic link or not a folder; nothing is written through "
                              "it.");
    }
    return base + std::u16string(name);
}

bool linkOnTheWay(const std::u16string& base, std::u16string_view name) {
    for (std::size_t end = name.find(u'/');; end = name.find(u'/', end + 1)) {
        struct stat info {};
        const std::string part = toUtf8(base + std::u16string(name.substr(0, end)));
        if (::lstat(part.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) return true;
        if (end == std::u16string_view::npos) return false;
    }
}

void removeEmptyFolders(const std::u16string& base, std::u16string_view name) {
    for (std::size_t slash = name.rfind(u'/'); slash != std::u16string_view::npos && slash > 0;
         slash = name.rfind(u'/', slash - 1)) {
        // rmdir removes only an empty folder, and never a link.
        if (::rmdir(toUtf8(base + std::u16string(name.substr(0, slash))).c_str()) != 0) return;
    }
}

}  // namespace lodestar
