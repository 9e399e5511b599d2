// find with line output: the matching lines of each file, printed in file order while the files
// are searched on the folder loops' threads; and the same for a text read from standard input.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/find_output.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "search/regexp.h"

namespace lodestar::cli {

struct FindLinesRun {
    const RegExp& expr;
    std::u16string_view pattern;  // as the summary line names it
    const FindOutput& output;
    bool color = false;
    TextReading reading;
    std::ostream& out;
    std::ostream& err;
};

// Exit status: 0 a match, 1 none, 2 a file could not be read (the files before it are printed).
// `shownName` gives a file's name as printed.
int findLines(const FindLinesRun& run, const std::vector<FileItem>& files,
              const std::function<std::string(const std::u16string&)>& shownName);

// The same for the text on `in`; its lines carry no file name unless asked.
int findInStream(const FindLinesRun& run, std::istream& in);

// Whether find colours its output: --color, else a terminal on standard output without NO_COLOR.
bool useColor(ColorChoice choice);

}  // namespace lodestar::cli
