// Links that lead out of the chosen folder: a folder run passes them by with a note, unless the
// user asked to follow them. Their targets are files the user did not choose.
#pragma once

#include <string>
#include <string_view>

#include "files/folder_visits.h"

namespace lodestar {

inline constexpr std::u16string_view kOutsideLinkStatus = u" Link out of the folder, passed";

// True when the run passes the file by: a link out of the folder that is not to be followed.
inline bool passOutsideLink(const FileVisit& visit, bool followLinks) {
    return visit.kind == VisitKind::LinkOutside && !followLinks;
}

inline std::u16string outsideLinkNote(const std::u16string& path, const FileVisit& visit) {
    return u"Passed " + path + u": it is a link to " + visit.other +
           u", outside the folder; links are followed only when asked.";
}

}  // namespace lodestar
