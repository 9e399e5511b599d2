// Writes lodestar-cli.1 and lodestar.1 into a folder: lodestar-manpages VERSION FOLDER.
#include <fstream>
#include <iostream>
#include <string>

#include "cli/cli_args.h"
#include "cli/man_page.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lodestar-manpages VERSION FOLDER\n";
        return 2;
    }
    const std::string folder = argv[2];
    const std::string usage = lodestar::cli::usageText();
    std::ofstream(folder + "/lodestar-cli.1") << lodestar::cli::cliManPage(usage, argv[1]);
    std::ofstream(folder + "/lodestar.1") << lodestar::cli::windowManPage(usage, argv[1]);
    std::ifstream check(folder + "/lodestar.1");
    return check ? 0 : 1;
}
