// Telling links and second names apart by resolved paths and by device and inode.
#include "files/folder_visits.h"

#include <map>
#include <optional>
#include <utility>

#include "files/file_identity.h"
#include "files/paths.h"

namespace lodestar {

std::vector<FileVisit> planVisits(const std::vector<FileItem>& files, bool onlyTicked) {
    std::vector<FileVisit> visits(files.size());
    std::vector<bool> isLink(files.size(), false);
    std::vector<std::optional<FileStamp>> stamps(files.size());
    // The listed files that are no links, by device and inode: a link to one of them (from
    // another folder of a tree) is passed by, as that file is visited under its own name.
    std::map<std::pair<dev_t, ino_t>, std::size_t> plainFiles;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (onlyTicked && !files[i].ticked) continue;
        isLink[i] = isSymbolicLink(files[i].path);
        stamps[i] = stampOf(files[i].path);
        if (!isLink[i] && stamps[i])
            plainFiles.emplace(std::pair(stamps[i]->device, stamps[i]->inode), i);
    }
    std::vector<std::pair<FileStamp, std::u16string>> visited;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::u16string& path = files[i].path;
        if (onlyTicked && !files[i].ticked) continue;
        FileVisit& visit = visits[i];
        if (isLink[i]) {
            visit.other = resolvedPath(path);
            const bool sameFolder =
                ParentFolderOf(visit.other) == resolvedPath(ParentFolderOf(path));
            visit.kind = sameFolder ? VisitKind::SameFolderLink : VisitKind::LinkOutside;
            if (sameFolder) continue;
        }
        const std::optional<FileStamp>& stamp = stamps[i];
        if (!stamp) continue;  // the loop reports a file it cannot read
        // Hard links need no such care: the first write (a new file renamed over the name)
        // parts them, so each name is read and backed up with its own text.
        if (visit.kind == VisitKind::LinkOutside) {
            const auto plain = plainFiles.find({stamp->device, stamp->inode});
            if (plain != plainFiles.end() &&
                resolvedPath(files[plain->second].path) == visit.other) {
                visit = {VisitKind::SecondName, files[plain->second].path};
                continue;
            }
            for (const auto& [seen, name] : visited) {
                if (seen.sameFile(*stamp)) {
                    visit = {VisitKind::SecondName, name};
                    break;
                }
            }
        }
        if (visit.kind != VisitKind::SecondName) visited.emplace_back(*stamp, path);
    }
    return visits;
}

std::u16string visitNote(const std::u16string& path, const FileVisit& visit) {
    switch (visit.kind) {
        case VisitKind::LinkOutside:
            return path + u" is a link to " + visit.other + u"; that file is changed.";
        case VisitKind::SameFolderLink:
            return u"Passed " + path + u": it is a link to " + visit.other +
                   u" in the same folder.";
        case VisitKind::SecondName:
            return u"Passed " + path + u": it is another name of " + visit.other + u".";
        case VisitKind::Visit:
            break;
    }
    return {};
}

}  // namespace lodestar
