// lodestar-cli end to end: every command on small fixture folders, its output lines, exit
// status and the files it leaves, and every error path with its message.
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

TEST_F(Cli, FindCountsEveryFileOfAFolderInNameOrder) {
    putSample();
    const Outcome result = run({"find", "(\\d+)px", folder()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "1\t" + at("a.htm") + "\n0\t" + at("b.txt") + "\n3\t" + at("c.htm") +
                              "\nSearch (\\d+)px, 4 items found in 3 files.\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(Cli, FindTakesFiltersSwitchesAndSingleFiles) {
    putSample();
    EXPECT_EQ(run({"find", "px", folder(), "--filter", "*.txt"}).out,
              "0\t" + at("b.txt") + "\nSearch px, 0 items found in 1 files.\n");
    EXPECT_EQ(
        run({"find", "px", folder() + "/*.htm"}).out,
        "1\t" + at("a.htm") + "\n3\t" + at("c.htm") + "\nSearch px, 4 items found in 2 files.\n");
    EXPECT_EQ(run({"-c", "find", "px", at("c.htm")}).out,
              "2\t" + at("c.htm") + "\nSearch px, 2 items found in 1 files.\n");
    EXPECT_EQ(run({"--first", "find", "px", at("c.htm")}).out.substr(0, 2), "1\t");
    // Dot matches line breaks unless switched off; ^ and $ at every line with -m.
    EXPECT_EQ(run({"find", "2px..3", at("c.htm")}).status, 0);
    EXPECT_EQ(run({"--no-dotall", "find", "2px..3", at("c.htm")}).status, 1);
    EXPECT_EQ(run({"find", "^3px", at("c.htm")}).status, 1);
    EXPECT_EQ(run({"-m", "find", "^3px", at("c.htm")}).status, 0);
}

TEST_F(Cli, FindWithoutMatchesExitsOne) {
    putSample();
    const Outcome result = run({"find", "zebra", folder()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("Search zebra, 0 items found in 3 files."), std::string::npos);
}

TEST_F(Cli, FindErrorsGoToStandardErrorWithStatusTwo) {
    putSample();
    const Outcome broken = run({"find", "(px", folder()});
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err.rfind("Error in Search.\nPlease examine your regular expression or "
                               "file.\n",
                               0),
              0u);
    EXPECT_EQ(failure({"find", "px", folder() + "/nowhere"}),
              "Can't find the path\n" + folder() + "/nowhere\n");
    EXPECT_EQ(failure({"find", "\t\r\n", folder()}), "Please input what you want to find\n");
    EXPECT_EQ(failure({"find", "px", folder(), "--filter", "*.none"}),
              "There's no specified files in this folder.\n");
}

TEST_F(Cli, ReplaceInAFolderBacksUpAndReportsEachFile) {
    putSample();
    const Outcome result = run({"replace", "(\\d+)px", "$1 px", folder()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "1\tReplaced\t" + at("a.htm") + "\n0\tPassed\t" + at("b.txt") +
                              "\n3\tReplaced\t" + at("c.htm") + "\n2 files replaced in 3 files.\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1 px 2 px\r\n3 px\r\n");
    EXPECT_EQ(dir.bytes("bak/c.htm"), "1px 2px\r\n3PX\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak/b.txt"));

    const Outcome restored = run({"restore", folder()});
    EXPECT_EQ(restored.status, 0);
    EXPECT_EQ(restored.out, "Files restored successfully.\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

TEST_F(Cli, ReplaceSwitchesOverrideTheSettings) {
    putSample();
    const Outcome uncounted = run({"--no-count", "--no-backup", "replace", "px", "", folder()});
    // Without counting, a file the replace leaves as it was is still not written.
    EXPECT_EQ(uncounted.out, "-\tReplaced\t" + at("a.htm") + "\n-\tPassed\t" + at("b.txt") +
                                 "\n-\tReplaced\t" + at("c.htm") +
                                 "\nFiles replaced successfully.\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1 2\r\n3\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
    run({"--backup-folder", "old", "replace", "12", "13", folder()});
    EXPECT_TRUE(fs::exists(dir.path() / "old/a.htm"));
    // Escapes on by default; --no-escapes keeps them as typed.
    run({"--no-backup", "replace", "Cat", "A\\tB", at("a.htm")});
    EXPECT_NE(dir.bytes("a.htm").find("A\tB"), std::string::npos);
    run({"--no-backup", "--no-escapes", "replace", "A\\tB", "C\\tD", at("a.htm")});
    EXPECT_NE(dir.bytes("a.htm").find("C\\tD"), std::string::npos);
}

TEST_F(Cli, SettingsComeFromTheOptionsFileBesideTheProgram) {
    putSample();
    writeOptions("False\r\nbak\r\nTrue\r\n0\r\n1\r\n0\r\n");  // no backup, no counting
    const Outcome result = run({"replace", "px", "em", folder()});
    dropOptions();
    EXPECT_NE(result.out.find("Files replaced successfully."), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

// The user's own options file comes first; the program folder's copy only when it is missing.
// A backup folder name is trimmed alike from either file and from --backup-folder.
TEST_F(Cli, TheUsersOptionsFileComesFirstAndFolderNamesAreTrimmed) {
    putSample();
    writeOptions("True\r\nbak\r\nTrue\r\n0\r\n1\r\n1\r\n");
    fs::create_directories(io.path() / "config/lodestar");
    io.put("config/lodestar/lodestar.opt", "True\r\n  mine \r\nTrue\r\n0\r\n1\r\n1\r\n");
    run({"replace", "Cat", "Dog", folder()});
    EXPECT_TRUE(fs::exists(dir.path() / "mine/a.htm"));
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
    run({"--backup-folder", " theirs  ", "replace", "Dog", "Cow", folder()});
    EXPECT_TRUE(fs::exists(dir.path() / "theirs/a.htm"));
    fs::remove(io.path() / "config/lodestar/lodestar.opt");
    run({"replace", "Cow", "Eel", folder()});
    dropOptions();
    EXPECT_TRUE(fs::exists(dir.path() / "bak/a.htm"));
}

TEST_F(Cli, RefusedBackupFolderNameChangesNothing) {
    putSample();
    EXPECT_NE(failure({"--backup-folder", "../elsewhere", "replace", "px", "em", folder()})
                  .find("is not allowed"),
              std::string::npos);
    EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
    failure({"--backup-folder", "..", "restore", folder()});
}

TEST_F(Cli, ReadOnlyFilesAreSkippedUnlessAskedToWrite) {
    putSample();
    makeReadOnly("c.htm");
    const Outcome skipped = run({"replace", "px", "em", folder()});
    EXPECT_EQ(skipped.status, 0);
    EXPECT_NE(skipped.out.find("-1\tRead only\t" + at("c.htm")), std::string::npos);
    EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
    EXPECT_EQ(run({"replace", "px", "em", at("c.htm")}).out,
              "-1\tRead only\t" + at("c.htm") + "\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
    EXPECT_EQ(run({"--readonly=write", "replace", "px", "em", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("c.htm"), "1em 2em\r\n3em\r\n");
}

TEST_F(Cli, SingleFileReplaceKeepsASiblingBackupThatRestorePutsBack) {
    putSample();
    const Outcome result = run({"replace", "px", "em", at("c.htm")});
    EXPECT_EQ(result.out, "3\tReplaced\t" + at("c.htm") + "\n1 files replaced in 1 files.\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1em 2em\r\n3em\r\n");
    EXPECT_EQ(dir.bytes("c.bak"), "1px 2px\r\n3PX\r\n");
    EXPECT_EQ(run({"restore", at("c.htm")}).status, 0);
    EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "c.bak"));
    EXPECT_NE(failure({"restore", at("c.htm")}).find("c.bak"), std::string::npos);
    EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
    const Outcome none = run({"replace", "zebra", "x", at("c.htm")});
    EXPECT_EQ(none.out, "0\tPassed\t" + at("c.htm") + "\nCan't find item to replace.\n");
}

TEST_F(Cli, ReplaceFailuresLeaveFilesWhole) {
    putSample();
    EXPECT_EQ(failure({"replace", "(px", "em", folder()}).rfind("Error in Search.\n", 0), 0u);
    EXPECT_EQ(failure({"replace", "(px", "em", at("c.htm")})
                  .rfind("Regular Expression Error \nPlease examine your regular expression.\n", 0),
              0u);
    // A character a Windows-1252 file cannot hold: that file is left whole, the others are
    // replaced, and the status says so.
    dir.put("c.htm", "1px caf\xe9\r\n");
    const std::string err = failure({"replace", "px", "\xe4\xb8\xad", folder()});
    EXPECT_NE(err.find("(U+4E2D)"), std::string::npos) << err;
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:12\xe4\xb8\xad'>Cat</p>\r\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1px caf\xe9\r\n");
    failure({"replace", "px", "\xe4\xb8\xad", at("c.htm")});
    EXPECT_EQ(dir.bytes("c.htm"), "1px caf\xe9\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "c.bak"));
}

TEST_F(Cli, RunAppliesACommandFileToEveryFile) {
    putSample();
    const std::string rep = ioPut("px.rep",
                                  "/// spaces before px\r\nregrep ---(\\d+)px--- with ---$1 px---;"
                                  "\r\nrep ---cat--- with ---Dog---;\r\n");
    const Outcome result = run({"run", rep, folder()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Files backed up successfully.\n-\tBatch Replaced.\t" + at("a.htm") +
                              "\n-\tBatch Replaced.\t" + at("b.txt") + "\n-\tBatch Replaced.\t" +
                              at("c.htm") + "\n3 files batch replaced successfully.\n");
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:12 px'>Dog</p>\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak/b.txt"))
        << "a file the commands leave is not backed up";
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:12px'>Cat</p>\r\n");

    const Outcome single = run({"run", rep, at("c.htm")});
    EXPECT_EQ(single.out, "-\tBatch Replaced.\t" + at("c.htm") + "\nBatch replace completed.\n");
    EXPECT_EQ(dir.bytes("c.htm"), "1 px 2 px\r\n3 px\r\n");
    EXPECT_EQ(dir.bytes("c.bak"), "1px 2px\r\n3PX\r\n");
}

TEST_F(Cli, RunRefusesMissingAndMalformedCommandFiles) {
    putSample();
    EXPECT_EQ(failure({"run", ioFile("none.rep"), folder()}), "The command file does not exist.\n");
    const std::string rep = ioPut("bad.rep", "/// only a comment\r\nrep ---x--- with ---y---\r\n");
    EXPECT_EQ(failure({"run", rep, folder()}),
              "Replacing command not found!\nPlease check the replacing command file.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

TEST_F(Cli, ExtractWritesEachFormat) {
    putSample();
    const std::string txt = ioFile("out.txt");
    const Outcome result = run({"extract", "\\d+px", folder(), "-o", txt});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "Extract \\d+px, 4 items extracted in 3 files and saved in " + txt + "\n");
    EXPECT_EQ(readBytes(txt), "12px\r\n1px\r\n2px\r\n3PX\r\n");
    run({"extract", "\\d+px", at("c.htm"), "-o", txt, "--delimiter", "Comma"});
    EXPECT_EQ(readBytes(txt), "1px,2px,3PX\r\n");
    run({"extract", "\\d+px", at("c.htm"), "-o", txt, "--format", "html", "--delimiter",
         "Unordered List"});
    EXPECT_EQ(readBytes(txt),
              "<html><head><meta charset=\"utf-8\"><title></title></head><body>\r\n<ul>\r\n"
              "<li>1px</li>\r\n<li>2px</li>"
              "\r\n<li>3PX</li>\r\n</ul>\r\n</body></html>\r\n");
    run({"extract", "\\d+px", at("c.htm"), "-o", txt, "--format", "xml"});
    EXPECT_EQ(readBytes(txt),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n<m>1px</m>\r\n"
              "<m>2px</m>\r\n<m>3PX</m>\r\n"
              "</matches></xml>\r\n");
}

TEST_F(Cli, ExtractToStandardOutputAndItsErrors) {
    putSample();
    const Outcome out = run({"extract", "\\d+px", at("c.htm"), "-o", "-", "--delimiter", ";"});
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.out, "1px;2px;3PX\r\n");
    EXPECT_NE(out.err.find("Extract \\d+px, 3 items extracted in 1 files"), std::string::npos);
    EXPECT_EQ(failure({"extract", "px", folder(), "-o", folder() + "/no/such/out.txt"}),
              "The folder does not exist.\n");
    EXPECT_EQ(failure({"extract", "(px", folder(), "-o", "-"}).rfind("Error in extraction.\n", 0),
              0u);
    failure({"extract", "px", folder(), "-o", ioFile("x.htm"), "--format=html", "--delimiter=<b>"});
    EXPECT_FALSE(fs::exists(io.path() / "x.htm"));
    // A full device: the failure is reported, not swallowed.
    const Outcome full = run({"extract", "px", folder(), "-o", "-"}, ">/dev/full");
    EXPECT_EQ(full.status, 2);
    EXPECT_NE(full.err.find("cannot write"), std::string::npos);
}

TEST_F(Cli, RenderPrintsTheSourceViewBody) {
    dir.put("page.htm", "<b>12px</b>\tx\r\n");
    const Outcome plain = run({"render", at("page.htm")});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out.rfind("<pre id=code>", 0), 0u);
    EXPECT_NE(plain.out.find("</pre>"), std::string::npos);
    EXPECT_EQ(plain.out.find("<em>"), std::string::npos);
    const Outcome marked = run({"render", at("page.htm"), "--pattern", "\\d+px"});
    EXPECT_NE(marked.out.find("<a id='1'></a><em>12px</em>"), std::string::npos);
    const Outcome invisible = run({"render", at("page.htm"), "--invisible"});
    EXPECT_NE(invisible.out, plain.out);
    failure({"render", at("none.htm")});
    failure({"render", at("page.htm"), "--pattern", "(x"});
}

TEST_F(Cli, HelpVersionAndUsageErrors) {
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("lodestar-cli [switches] find    PATTERN PATH"), std::string::npos);
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("lodestar-cli ", 0), 0u);
    EXPECT_NE(failure({"find", "x"}).find("Usage:"), std::string::npos);
}

}  // namespace
}  // namespace lodestar
