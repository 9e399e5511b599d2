// --dry-run's diff, applied with patch -p0, gives what the real run writes; its statuses.
#include <sys/stat.h>

#include <map>
#include <random>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

using namespace std::string_literals;

// Every entry under a folder: its bytes and, with `times`, its modification time.
std::map<std::string, std::string> snapshot(const fs::path& folder, bool times = true) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        std::string& file = files[fs::relative(entry.path(), folder).string()];
        if (entry.is_regular_file()) file = readBytes(entry.path());
        if (times)
            file += "@" + std::to_string(info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec);
    }
    return files;
}

class CliDryRun : public Cli {
  protected:
    // UTF-8 files with CR LF and LF lines, accents and no last line feed, a Windows-1252 file,
    // a name with a blank and a subfolder.
    void putRandomFolder(unsigned seed) {
        std::mt19937 random(seed);
        const std::vector<std::string> pieces{"12px", "px", "3PX",         " ",     "\r\n",
                                              "\n",   "a",  "caf\xC3\xA9", "9px9px"};
        for (const std::string name : {"a.htm", "b c.txt", "sub/d.htm", "e.txt"}) {
            std::string text;
            for (int i = random() % 200; i > 0; --i) text += pieces[random() % pieces.size()];
            dir.put(name, text);
        }
        dir.put("w.txt", "caf\xE9 1px\r\nline\r\n2px");
        dir.put("same.txt", "nothing to change\n");
    }
};

TEST_F(CliDryRun, PatchAppliesTheDiffToGiveExactlyWhatTheRunWrites) {
    if (std::system("command -v patch >/dev/null 2>&1") != 0) GTEST_SKIP() << "no patch";
    const std::string rep =
        ioPut("x.rep",
              "rep ---(\\d+)px--- with ---$1 \xC3\xA9m---;\r\nrep ---a\\r?\\n--- with ------;\r\n");
    const std::vector<std::vector<std::string>> commands{
        {"-r", "replace", "(\\d+)px", "$1 \xC3\xA9m", "."},
        {"-r", "replace", "px", "p\\r\\nx\\n", "."},  // lines added
        {"-r", "replace", "\\n\\d", "", "."},         // lines joined
        {"-r", "run", rep, "."},
        {"replace", "(\\d+)px", "$1 pt", "sub/d.htm"},  // a single file, named in its folder
        {"run", rep, "b c.txt"},
    };
    workingFolder = dir.path();
    const fs::path copy = io.path() / "copy";
    for (unsigned seed = 0; seed < 4; ++seed) {
        for (const auto& command : commands) {
            SCOPED_TRACE(command[1] + " " + command[2] + " seed " + std::to_string(seed));
            fs::remove_all(dir.path());
            putRandomFolder(seed);
            fs::remove_all(copy);
            fs::copy(dir.path(), copy, fs::copy_options::recursive);
            std::vector<std::string> args{"--dry-run"};
            args.insert(args.end(), command.begin(), command.end());
            const auto before = snapshot(dir.path());
            const Outcome dry = run(args);
            EXPECT_EQ(dry.status, dry.out.empty() ? 1 : 0) << dry.err;
            EXPECT_EQ(snapshot(dir.path()), before);  // bytes and times, and no bak/
            const std::string in = command.back() == "sub/d.htm" ? "sub" : ".";
            const std::string patch = "cd " + quoted((copy / in).string()) + " && patch -p0 -s <" +
                                      quoted(ioPut("dry.diff", dry.out)) + " >/dev/null 2>&1";
            EXPECT_EQ(std::system(patch.c_str()), 0) << dry.out;

            args.front() = "--no-backup";
            EXPECT_EQ(run(args).status, dry.status);
            EXPECT_EQ(snapshot(dir.path(), false), snapshot(copy, false));
        }
    }
}

TEST_F(CliDryRun, ExitStatusesCountsReadOnlyFilesAndStandardInput) {
    dir.put("a.htm", "1px 2px\r\n");
    dir.put("b.txt", "none\n");
    dir.put("r.txt", "3px\n");
    makeReadOnly("r.txt");
    dir.put("u16.txt",
            "\xFF\xFE"
            "4\0p\0x\0"s);
    dir.put("w.txt", "caf\xE9 5px\n");
    const std::string rep = ioPut("x.rep", "rep ---px--- with ---pt---;\r\n");
    const std::string r = "--- r.txt\n+++ r.txt\n@@ -1 +1 @@\n-3px\n+3pt\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // "?": not compared
    } cases[] = {
        {{"--count-only", "replace", "(\\d)px", "$1pt", folder()},
         0,
         "2\t" + at("a.htm") + "\n1\t" + at("u16.txt") + "\n1\t" + at("w.txt") + "\n"},
        {{"--count-only", "run", rep, at("a.htm")}, 0, "1\t" + at("a.htm") + "\n"},  // line runs
        {{"--count-only", "replace", "zzz", "y", folder()}, 1, ""},
        {{"replace", "zzz", "y", at("a.htm")}, 1, ""},
        {{"replace", "px", "pt", at("u16.txt")}, 0, "Binary files u16.txt and u16.txt differ\n"},
        // A read-only file is shown only when the run would make it writable.
        {{"replace", "px", "pt", at("r.txt")}, 1, ""},
        {{"--readonly=write", "replace", "px", "pt", at("r.txt")}, 0, r},
        {{"--readonly=write", "--count-only", "replace", "px", "pt", folder()},
         0,
         "2\t" + at("a.htm") + "\n1\t" + at("r.txt") + "\n1\t" + at("u16.txt") + "\n1\t" +
             at("w.txt") + "\n"},
        // A character Windows-1252 cannot hold is an error, as in the real run.
        {{"replace", "px", "\xE4\xB8\xAD", folder()}, 2, "?"},
        {{"replace", "px", "\xE4\xB8\xAD", at("w.txt")}, 2, ""},
        {{"replace", "(", "x", folder()}, 2, ""},
        {{"find", "px", folder()}, 2, ""},
    };
    const auto before = snapshot(dir.path());
    for (const auto& c : cases) {
        std::vector<std::string> args{"--dry-run"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
        const Outcome result = run(args);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (c.out != "?") {
            EXPECT_EQ(result.out, c.out);
        }
    }
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(run({"--count-only", "replace", "px", "pt", folder()}).status, 2);  // no --dry-run

    const Outcome piped = runWithInput({"--dry-run", "replace", "px", "pt", "-"}, "a\n1px\n");
    EXPECT_EQ(piped.out, "--- -\n+++ -\n@@ -1,2 +1,2 @@\n a\n-1px\n+1pt\n");
    EXPECT_EQ(
        runWithInput({"--dry-run", "--count-only", "replace", "\\d", "x", "-"}, "1 2\n3\n").out,
        "3\t(standard input)\n");
    EXPECT_EQ(runWithInput({"--dry-run", "replace", "z", "x", "-"}, "1\n").status, 1);
}

}  // namespace
}  // namespace lodestar
