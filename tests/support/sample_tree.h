// A generated tree for the runs over subfolders: deep folders, hidden files, links (one looping),
// odd names, folders the usual globs exclude, an earlier run's backup folder, permission bits.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace lodestar::testing {

struct SampleTree {
    // Relative paths of the plain files, each holding "x <name>".
    static std::vector<std::string> plainFiles() {
        return {"a.htm",
                "b <&>.htm",
                "notes.txt",
                ".h.htm",
                ".hidden/x.htm",
                "node_modules/m.htm",
                "build/out.htm",
                "one/c.htm",
                "one/c.min.htm",
                "one/two/d e.htm",
                "one/two/three/four/deep.htm",
                "one/bak/c.htm",
                "locked/z.htm",
                "Zeta/z.htm"};
    }
    // What the walk lists with "*.htm" and the globs below, in order.
    static std::vector<std::string> walked() {
        return {"a.htm",
                "b <&>.htm",
                "locked/z.htm",
                "one/c.htm",
                "one/link.htm",
                "one/two/d e.htm",
                "one/two/three/four/deep.htm",
                "Zeta/z.htm"};
    }
    static std::vector<std::u16string> excludeGlobs() {
        return {u"node_modules", u"*.min.htm", u"build/**"};
    }

    explicit SampleTree(const TempDir& dir) {
        namespace fs = std::filesystem;
        for (const std::string& name : plainFiles()) {
            fs::create_directories((dir.path() / name).parent_path());
            dir.put(name, "x " + name);
        }
        dir.put("one/bak/.lodestar-journal", "lodestar run journal 1\nfinished\n");
        fs::create_symlink("..", dir.path() / "one/loop");
        fs::create_symlink("../Zeta/z.htm", dir.path() / "one/link.htm");
        fs::permissions(dir.path() / "one/two/d e.htm", fs::perms(0600));
        fs::permissions(dir.path() / "one/c.htm", fs::perms(0444));
    }
};

}  // namespace lodestar::testing
