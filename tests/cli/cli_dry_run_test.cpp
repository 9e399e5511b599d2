// replace --dry-run and run --dry-run: the diff they print, applied with patch -p0 to a copy of
// the folder, gives byte for byte what the real run then writes; the dry run itself changes
// nothing on disk; its exit statuses and --count-only.
#include <sys/stat.h>

#include <map>
#include <random>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

using namespace std::string_literals;

// Every file under a folder: its bytes and its modification time to the nanosecond.
std::map<std::string, std::pair<std::string, long long>> snapshot(const fs::path& folder) {
    std::map<std::string, std::pair<std::string, long long>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        files[fs::relative(entry.path(), folder).string()] = {
            entry.is_regular_file() ? readBytes(entry.path()) : "",
            info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
    }
    return files;
}

std::map<std::string, std::string> contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& [name, file] : snapshot(folder)) files[name] = file.first;
    return files;
}

bool havePatch() {
    return std::system("command -v patch >/dev/null 2>&1") == 0;
}

class CliDryRun : public Cli {
  protected:
    // A folder of UTF-8 files with CR LF and LF lines, accents, no last line feed, a
    // Windows-1252 file, a name with blanks and a subfolder.
    void putRandomFolder(unsigned seed) {
        std::mt19937 random(seed);
        const std::vector<std::string> pieces{"12px", "px", "3PX",         " ",      "\r\n",
                                              "\n",   "a",  "caf\xC3\xA9", "9px9px", "\r\n\r\n"};
        for (const std::string name : {"a.htm", "b c.txt", "sub/d.htm", "e.txt", "f.htm"}) {
            std::string text;
            for (int i = random() % 200; i > 0; --i) text += pieces[random() % pieces.size()];
            dir.put(name, text);
        }
        dir.put("w.txt", "caf\xE9 1px\r\nline\r\n2px");
        dir.put("same.txt", "nothing to change\n");
    }

    // The dry run's diff, applied with patch -p0 in (a subfolder `in` of) a copy of the folder.
    std::map<std::string, std::string> patchedCopy(const std::string& diff, const std::string& in) {
        const fs::path copy = io.path() / "copy";
        fs::remove_all(copy);
        fs::copy(dir.path(), copy, fs::copy_options::recursive);
        const std::string command = "cd " + quoted((copy / in).string()) + " && patch -p0 -s <" +
                                    quoted(ioPut("dry.diff", diff)) + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << diff;
        return contents(copy);
    }
};

TEST_F(CliDryRun, PatchAppliesTheDiffToGiveExactlyWhatTheRunWrites) {
    if (!havePatch()) GTEST_SKIP() << "patch is not installed";
    const std::string rep = ioPut("x.rep",
                                  "rep ---(\\d+)px--- with ---$1 \xC3\xA9m---;\r\n"
                                  "rep ---a\\r?\\n--- with ------;\r\n");
    const std::vector<std::vector<std::string>> commands{
        {"-r", "replace", "(\\d+)px", "$1 \xC3\xA9m", "."},
        {"-r", "replace", "px", "p\\r\\nx\\n", "."},  // lines added
        {"-r", "replace", "\\n\\d", "", "."},         // lines joined
        {"-r", "run", rep, "."},
        {"replace", "(\\d+)px", "$1 pt", "sub/d.htm"},  // a single file, diffed in its folder
        {"run", rep, "b c.txt"},
    };
    workingFolder = dir.path();
    for (unsigned seed = 0; seed < 4; ++seed) {
        for (const auto& command : commands) {
            SCOPED_TRACE(command[1] + " " + command[2] + " seed " + std::to_string(seed));
            fs::remove_all(dir.path());
            fs::create_directories(dir.path());
            putRandomFolder(seed);
            std::vector<std::string> args{"--dry-run"};
            args.insert(args.end(), command.begin(), command.end());
            // The single file in a subfolder: the diff names it in its own folder.
            const std::string in = command.back() == "sub/d.htm" ? "sub" : ".";
            const auto before = snapshot(dir.path());
            const Outcome dry = run(args);
            EXPECT_EQ(dry.status, dry.out.empty() ? 1 : 0) << dry.err;
            EXPECT_EQ(snapshot(dir.path()), before);  // bytes and times, and no bak/
            const auto patched = patchedCopy(dry.out, in);

            args.front() = "--no-backup";
            const Outcome real = run(args);
            EXPECT_EQ(real.status, dry.status) << real.err;
            EXPECT_EQ(contents(dir.path()), patched);
        }
    }
}

TEST_F(CliDryRun, ExitStatusesAndCountsPerFile) {
    dir.put("a.htm", "1px 2px\r\n");
    dir.put("b.txt", "none\n");
    dir.put("c.txt", "3px\n");
    dir.put("u16.txt",
            "\xFF\xFE"
            "4\0p\0x\0"s);
    dir.put("w.txt", "caf\xE9 5px\n");
    const std::string rep = ioPut("x.rep", "rep ---px--- with ---pt---;\r\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // "" with `anyOut`: not compared
    } cases[] = {
        {{"--dry-run", "--count-only", "replace", "(\\d)px", "$1pt", folder()},
         0,
         "2\t" + at("a.htm") + "\n1\t" + at("c.txt") + "\n1\t" + at("u16.txt") + "\n1\t" +
             at("w.txt") + "\n"},
        // run counts the stretches of changed lines.
        {{"--dry-run", "--count-only", "run", rep, at("a.htm")}, 0, "1\t" + at("a.htm") + "\n"},
        {{"--dry-run", "--count-only", "replace", "zzz", "y", folder()}, 1, ""},
        {{"--dry-run", "replace", "zzz", "y", at("a.htm")}, 1, ""},
        {{"--dry-run", "replace", "px", "pt", at("u16.txt")},
         0,
         "Binary files u16.txt and u16.txt differ\n"},
        // A character Windows-1252 cannot hold: an error, as in the real run.
        {{"--dry-run", "replace", "px", "\xE4\xB8\xAD", folder()}, 2, "?"},
        {{"--dry-run", "replace", "px", "\xE4\xB8\xAD", at("w.txt")}, 2, ""},
        {{"--dry-run", "replace", "(", "x", folder()}, 2, ""},
        {{"--count-only", "replace", "px", "pt", folder()}, 2, ""},  // without --dry-run
        {{"--dry-run", "find", "px", folder()}, 2, ""},
    };
    const auto before = snapshot(dir.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2] + " " + c.args.back());
        const Outcome result = run(c.args);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (c.out != "?") {
            EXPECT_EQ(result.out, c.out);
        }
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST_F(CliDryRun, ReadOnlyFilesAndStandardInputAreShownAsTheRealRunWouldChangeThem) {
    dir.put("r.txt", "1px\n");
    makeReadOnly("r.txt");
    EXPECT_EQ(run({"--dry-run", "replace", "px", "pt", folder()}).status, 1);
    EXPECT_EQ(run({"--dry-run", "replace", "px", "pt", at("r.txt")}).status, 1);
    const std::string shown = "--- r.txt\n+++ r.txt\n@@ -1 +1 @@\n-1px\n+1pt\n";
    for (const std::string& path : {folder(), at("r.txt")}) {
        const Outcome writable =
            run({"--dry-run", "--readonly=write", "replace", "px", "pt", path});
        EXPECT_EQ(writable.status, 0) << writable.err;
        EXPECT_EQ(writable.out, shown);
    }
    EXPECT_EQ(dir.bytes("r.txt"), "1px\n");
    EXPECT_EQ(fs::status(at("r.txt")).permissions() & fs::perms::owner_write, fs::perms::none);

    const Outcome piped = runWithInput({"--dry-run", "replace", "px", "pt", "-"}, "a\n1px\n");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, "--- -\n+++ -\n@@ -1,2 +1,2 @@\n a\n-1px\n+1pt\n");
    const Outcome counted =
        runWithInput({"--dry-run", "--count-only", "replace", "\\d", "x", "-"}, "1 2\n3\n");
    EXPECT_EQ(counted.out, "3\t(standard input)\n");
    EXPECT_EQ(runWithInput({"--dry-run", "replace", "z", "x", "-"}, "1\n").status, 1);
}

}  // namespace
}  // namespace lodestar
