// The two result cells of a file's row in the file table, as the folder loops report the file:
// their own cells, or for a file left alone "-" and the reason (" Binary", " Not replaced").
#pragma once

#include <string>

#include "files/file_sink.h"

namespace lodestar {

struct FileCells {
    std::u16string matches;
    std::u16string status;
};

FileCells fileTableCells(const FileOutcome& outcome);

}  // namespace lodestar
