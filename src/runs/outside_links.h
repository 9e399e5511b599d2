// Links to files the user did not choose -- out of the chosen folder, or into a folder of it that
// is not walked (an excluded one, say): a folder run passes them by with a note, unless the user
// asked to follow them.
#pragma once

#include <string>

#include "files/folder_visits.h"

namespace lodestar {

// True when the run passes the file by: a link out of the folder that is not to be followed.
inline bool passOutsideLink(const FileVisit& visit, bool followLinks) {
    return visit.kind == VisitKind::LinkOutside && !followLinks;
}

inline std::u16string outsideLinkNote(const std::u16string& path, const FileVisit& visit) {
    return u"Passed " + path + u": it is a link to " + visit.other +
           u", a file not among the chosen files; links are followed only when asked.";
}

}  // namespace lodestar
