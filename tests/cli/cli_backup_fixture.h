// The lodestar-cli fixture for the backup tests: the file histories go to a state folder of the
// test's own, and a few helpers look at the backup folder.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

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
    bool isLink(const std::string& name) const { return fs::is_symlink(dir.path() / name); }
    static ino_t inodeOf(const fs::path& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
    }
    // bak/ as a finished run of the program leaves it, however empty.
    void ownBackupFolder() {
        fs::create_directories(dir.path() / "bak");
        dir.put("bak/.lodestar-journal", "lodestar run journal 1\nfinished\n");
    }

    TempDir state;
    TempDir outside;
};

}  // namespace lodestar
