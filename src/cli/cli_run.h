// Runs one parsed command line of lodestar-cli against the engines and reports on the given
// streams. Exit status: 0 done, 1 find found nothing, 2 error.
#pragma once

#include <ostream>
#include <string>

#include "cli/cli_args.h"

namespace lodestar::cli {

int runCommand(const Arguments& args, const std::u16string& programFolder, std::ostream& out,
               std::ostream& err);

}  // namespace lodestar::cli
