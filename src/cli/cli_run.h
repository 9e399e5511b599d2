// Runs one parsed command line of lodestar-cli against the engines and reports on the given
// streams. Exit status: 0 a match or a change (restore, extract, render: done), 1 nothing found
// or changed, 2 error. PATH "-" reads standard input from `in`.
#pragma once

#include <iostream>
#include <istream>
#include <ostream>
#include <string>

#include "cli/cli_args.h"

namespace lodestar::cli {

inline constexpr const char* kOutOfMemoryMessage =
    "Not enough memory: the command stopped. Files finished before it stay as they are.";

// Memory running out anywhere in the command is reported with kOutOfMemoryMessage and exit
// status 2, never an abort.
int runCommand(const Arguments& args, const std::u16string& programFolder, std::ostream& out,
               std::ostream& err, std::istream& in = std::cin);

}  // namespace lodestar::cli
