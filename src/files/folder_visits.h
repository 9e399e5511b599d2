// Which of a folder's listed files a loop works on, so that each real file is changed once: a
// symbolic link to a file of the same folder, a link to a file the list holds under its own name
// (in another folder of a tree), and a link to a file another listed name already reaches, are
// passed by; a link that leads out of the folder is worked on, and named in the log before its
// target changes.
#pragma once

#include <string>
#include <vector>

#include "files/file_sink.h"

namespace lodestar {

enum class VisitKind {
    Visit,           // an ordinary file
    LinkOutside,     // a symbolic link to a file outside the folder: its target is changed
    SameFolderLink,  // a symbolic link to a file of the same folder: passed by
    SecondName,      // a link to a file listed or visited under another name: passed by
};

struct FileVisit {
    VisitKind kind = VisitKind::Visit;
    std::u16string other;  // the link's target, or the name visited before
};

// One entry per listed file. Only ticked files count as visited when `onlyTicked` is on (the
// others are passed by the loop anyway).
std::vector<FileVisit> planVisits(const std::vector<FileItem>& files, bool onlyTicked);

// True for the kinds a loop passes by.
inline bool passedBy(const FileVisit& visit) {
    return visit.kind == VisitKind::SameFolderLink || visit.kind == VisitKind::SecondName;
}

// The log line for a file that is passed by or reached through a link; empty for the others.
std::u16string visitNote(const std::u16string& path, const FileVisit& visit);

}  // namespace lodestar
