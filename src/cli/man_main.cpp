// Writes the manual pages and the shell completions, all made from the usage text:
// lodestar-cli-docs VERSION MANFOLDER COMPLETIONSOURCE COMPLETIONFOLDER
// (lodestar-cli.1 and lodestar.1; lodestar-cli from lodestar-cli.bash.in, _lodestar-cli from
// _lodestar-cli.in).
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/cli_args.h"
#include "cli/man_page.h"
#include "cli/usage_switches.h"

namespace {

bool write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) std::cerr << "lodestar-cli-docs: cannot write " << path << '\n';
    return static_cast<bool>(file);
}

std::string read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr
            << "usage: lodestar-cli-docs VERSION MANFOLDER COMPLETIONSOURCE COMPLETIONFOLDER\n";
        return 2;
    }
    const std::string man = argv[2];
    const std::string source = argv[3];
    const std::string out = argv[4];
    const std::string usage = lodestar::cli::usageText();
    using lodestar::cli::withSwitches;
    const bool written =
        write(man + "/lodestar-cli.1", lodestar::cli::cliManPage(usage, argv[1])) &&
        write(man + "/lodestar.1", lodestar::cli::windowManPage(usage, argv[1])) &&
        write(out + "/lodestar-cli", withSwitches(read(source + "/lodestar-cli.bash.in"), usage)) &&
        write(out + "/_lodestar-cli", withSwitches(read(source + "/_lodestar-cli.in"), usage));
    return written ? 0 : 1;
}
