// What a path typed into the path box, dropped or named on the command line opens.
#pragma once

#include <string>

namespace lodestar {

struct OpenTarget {
    bool file = false;       // an existing file
    std::u16string folder;   // else an existing folder; empty when the path names nothing
    std::u16string pattern;  // "*.ext" when the path was "folder/*.ext"
};

OpenTarget openTargetOf(const std::u16string& text);

}  // namespace lodestar
