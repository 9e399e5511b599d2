// The lodestar-cli fixture for the backup tests: the file histories go to a state folder of the
// test's own.
#pragma once

#include <stdlib.h>

#include "cli_fixture.h"

namespace lodestar {

class CliBackups : public Cli {
  protected:
    void SetUp() override { ::setenv("XDG_STATE_HOME", state.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_STATE_HOME"); }

    // Two htm files with "px" and a text file without.
    void putPages() {
        dir.put("a.htm", "1px");
        dir.put("b.txt", "none");
        dir.put("c.htm", "2px");
    }
    bool exists(const std::string& name) const { return fs::exists(dir.path() / name); }

    TempDir state;
    TempDir outside;
};

}  // namespace lodestar
