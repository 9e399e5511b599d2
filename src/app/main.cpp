// The desktop program's entry point: the Qt window when it is built in, otherwise a note on how
// to build it.
#ifdef LODESTAR_WITH_WINDOW
#include "ui/desktop_app.h"

int main(int argc, char** argv) {
    return lodestar::ui::runDesktop(argc, argv);
}
#else
#include <cstdio>

int main() {
    std::fputs(
        "Lodestar 1.4: this build has no window. Configure with -DLODESTAR_GUI=ON (needs Qt 6\n"
        "and Qt WebEngine: scripts/deps.sh --gui), or run scripts/run.sh. Meanwhile the\n"
        "command-line tool lodestar-cli does searches and replaces.\n",
        stderr);
    return 1;
}
#endif
