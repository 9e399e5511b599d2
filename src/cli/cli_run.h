// Runs one parsed command line of lodestar-cli against the engines and reports on the given
// streams. Exit status: 0 done, 1 find found nothing, 2 error.
#pragma once

#include <ostream>
#include <string>

#include "cli/cli_args.h"

namespace lodestar::cli {

inline constexpr const char* kOutOfMemoryMessage =
    "Not enough memory: the command stopped. Files finished before it stay as they are.";

// Memory running out anywhere in the command is reported with kOutOfMemoryMessage and exit
// status 2, never an abort.
int runCommand(const Arguments& args, const std::u16string& programFolder, std::ostream& out,
               std::ostream& err);

}  // namespace lodestar::cli
