// How find prints what it found: the switches of its output, as the command line gives them.
#pragma once

#include <cstddef>

namespace lodestar::cli {

enum class FindShape {
    Lines,             // FILE:LINE:COLUMN:TEXT per match
    Count,             // COUNT<TAB>FILE per file and the summary line
    FilesWithMatches,  // the names of the files with a match
    OnlyMatching,      // FILE:LINE:COLUMN:MATCH per match
    Json,              // one JSON object per match
};

enum class ColorChoice { Auto, Always, Never };

struct FindOutput {
    FindShape shape = FindShape::Lines;
    bool lineNumbers = true;
    bool fileNames = true;
    std::size_t before = 0;  // context lines before each match
    std::size_t after = 0;   // and after it
    ColorChoice color = ColorChoice::Auto;
    bool stats = false;  // the summary line on standard error
};

}  // namespace lodestar::cli
