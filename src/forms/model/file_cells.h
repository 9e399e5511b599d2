// The two result cells of a file's row in the file table: how the table words what a folder
// loop reports of the file.
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
