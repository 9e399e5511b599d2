// lodestar-cli: Lodestar's searches, replaces, batch runs, restores, extractions and source
// rendering from the command line, on the same engines as the desktop program.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "core/text.h"

namespace {

// The folder that holds the executable, where lodestar.opt and lib/ lie.
std::u16string programFolder() {
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return u".";
    buffer.resize(static_cast<std::size_t>(length));
    return lodestar::fromUtf8(buffer.substr(0, buffer.rfind('/')));
}

int runProgram(int argc, char** argv) {
    using namespace lodestar::cli;
    Arguments args;
    try {
        args = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "lodestar-cli: " << error.what() << "\n\n" << usageText();
        return 2;
    }
    if (args.command == CliCommand::Help) {
        std::cout << usageText();
        return 0;
    }
    if (args.command == CliCommand::Version) {
        std::cout << "lodestar-cli " << LODESTAR_VERSION << '\n';
        return 0;
    }
    const int status = runCommand(args, programFolder(), std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "lodestar-cli: cannot write the output.\n";
        return 2;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Nothing that goes wrong ends the program with an abort: it is an error, exit status 2.
    try {
        return runProgram(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "lodestar-cli: " << lodestar::cli::kOutOfMemoryMessage << '\n';
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << "lodestar-cli: " << error.what() << '\n';
    }
    return 2;
}
