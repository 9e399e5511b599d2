// lodestar-cli on files in every encoding it reads, binary files, and exports in UTF-8.
#include <unistd.h>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

using namespace std::string_literals;

// "café CAFÉ" in each encoding, and a binary file holding it too.
const std::string kUtf8 = "caf\xC3\xA9 CAF\xC3\x89 \xE4\xB8\xAD\r\n";
const std::string kBom =
    "\xEF\xBB\xBF"
    "Caf\xC3\xA9\n";
const std::string kLe =
    "\xFF\xFE"
    "c\0a\0f\0\xE9\0\r\0\n\0"s;
const std::string kBe =
    "\xFE\xFF"
    "\0C\0A\0F\0\xC9\0 \x4E\x2D"s;
const std::string kWin = "caf\xE9 CAF\xC9\r\n";
const std::string kBinary = "caf\xE9\0\x01\x02"s;

class CliEncoding : public Cli {
  protected:
    void SetUp() override {
        dir.put("be.txt", kBe);
        dir.put("bin.dat", kBinary);
        dir.put("bom.txt", kBom);
        dir.put("le.txt", kLe);
        dir.put("u8.txt", kUtf8);
        dir.put("w.txt", kWin);
    }
};

TEST_F(CliEncoding, FindReadsEachFileInItsEncodingAndSkipsBinaryFiles) {
    const Outcome any = run({"--count", "find", "caf\xC3\xA9", folder()});
    EXPECT_EQ(any.status, 0);
    EXPECT_EQ(any.out, "1\t" + at("be.txt") + "\n1\t" + at("bom.txt") + "\n1\t" + at("le.txt") +
                           "\n2\t" + at("u8.txt") + "\n2\t" + at("w.txt") +
                           "\nSearch caf\xC3\xA9, 7 items found in 6 files.\n"
                           "Binary files skipped: 1.\n");
    EXPECT_NE(any.err.find(at("bin.dat") + ": binary file skipped"), std::string::npos);
    // Lines are printed in UTF-8 whatever the file's encoding; columns count those bytes.
    const Outcome lines = run({"-c", "find", "caf\xC3\xA9", folder()});
    EXPECT_EQ(lines.out, folder() + "/le.txt:1:1:caf\xC3\xA9\n" + folder() +
                             "/u8.txt:1:1:caf\xC3\xA9 CAF\xC3\x89 \xE4\xB8\xAD\n" + folder() +
                             "/w.txt:1:1:caf\xC3\xA9 CAF\xC3\x89\n");
    EXPECT_EQ(run({"-c", "-o", "find", "\xE4\xB8\xAD", folder()}).out,
              folder() + "/be.txt:1:7:\xE4\xB8\xAD\n" + folder() + "/u8.txt:1:13:\xE4\xB8\xAD\n");
    // --binary reads the binary file as Windows-1252 text.
    const Outcome binary = run({"--binary", "--count", "find", "caf\xC3\xA9", folder()});
    EXPECT_NE(binary.out.find("1\t" + at("bin.dat") + "\n"), std::string::npos);
    EXPECT_NE(binary.out.find(", 8 items found in 6 files.\n"), std::string::npos);
    EXPECT_EQ(binary.err, "");
}

TEST_F(CliEncoding, ReplaceWritesEachFileBackInItsEncoding) {
    const Outcome result = run({"--no-backup", "replace", "caf\xC3\xA9", "th\xC3\xA9", folder()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("-\tBinary\t" + at("bin.dat")), std::string::npos);
    EXPECT_EQ(dir.bytes("u8.txt"), "th\xC3\xA9 th\xC3\xA9 \xE4\xB8\xAD\r\n");
    EXPECT_EQ(dir.bytes("bom.txt"), "\xEF\xBB\xBFth\xC3\xA9\n");
    EXPECT_EQ(dir.bytes("le.txt"), "\xFF\xFEt\0h\0\xE9\0\r\0\n\0"s);
    EXPECT_EQ(dir.bytes("be.txt"), "\xFE\xFF\0t\0h\0\xE9\0 \x4E\x2D"s);
    EXPECT_EQ(dir.bytes("w.txt"), "th\xE9 th\xE9\r\n");
    EXPECT_EQ(dir.bytes("bin.dat"), kBinary);
}

TEST_F(CliEncoding, AReplacementWindows1252CannotHoldLeavesThatFileAndEndsWithStatus2) {
    const Outcome folderRun =
        run({"--no-backup", "replace", "caf\xC3\xA9", "\xE4\xB8\xAD", folder()});
    EXPECT_EQ(folderRun.status, 2);
    EXPECT_NE(folderRun.out.find("2\tNot replaced (encoding)\t" + at("w.txt")), std::string::npos);
    EXPECT_NE(folderRun.err.find(at("w.txt") + ": The text holds a character (U+4E2D)"),
              std::string::npos);
    EXPECT_EQ(dir.bytes("w.txt"), kWin);
    EXPECT_EQ(dir.bytes("u8.txt"),
              "\xE4\xB8\xAD \xE4\xB8\xAD \xE4\xB8\xAD\r\n");  // the run went on

    // A single file too: unchanged, no backup, status 2.
    const Outcome single = run({"replace", "caf\xC3\xA9", "\xE4\xB8\xAD", at("w.txt")});
    EXPECT_EQ(single.status, 2);
    EXPECT_EQ(dir.bytes("w.txt"), kWin);
    EXPECT_FALSE(fs::exists(dir.path() / "w.bak"));
    // A single binary file is left alone unless --binary.
    EXPECT_EQ(run({"replace", "caf\xC3\xA9", "x", at("bin.dat")}).status, 0);
    EXPECT_EQ(dir.bytes("bin.dat"), kBinary);
    EXPECT_EQ(run({"--binary", "--no-backup", "replace", "caf\xC3\xA9", "x", at("bin.dat")}).status,
              0);
    EXPECT_EQ(dir.bytes("bin.dat"), "x\0\x01\x02"s);
}

TEST_F(CliEncoding, AFixedEncodingFromTheSwitchOrTheUserSettingReadsEveryFileSo) {
    // Read as Windows-1252, the UTF-8 file's "é" is two characters: no match.
    EXPECT_EQ(run({"--encoding", "windows-1252", "find", "caf\xC3\xA9", at("u8.txt")}).status, 1);
    // Read as UTF-8, the Windows-1252 file's bytes that are not UTF-8 go back unchanged.
    EXPECT_EQ(
        run({"--encoding", "utf-8", "--no-backup", "replace", "caf", "tea", at("w.txt")}).status,
        0);
    EXPECT_EQ(dir.bytes("w.txt"), "tea\xE9 tea\xC9\r\n");

    fs::create_directories(io.path() / "config/lodestar");
    io.put("config/lodestar/settings", "# mine\nencoding = windows-1252\n");
    EXPECT_EQ(run({"find", "caf\xC3\xA9", at("u8.txt")}).status, 1);
    EXPECT_EQ(run({"--encoding", "auto", "find", "caf\xC3\xA9", at("u8.txt")}).status, 0);
}

TEST_F(CliEncoding, CommandFilesAndExportsInUtf8) {
    const std::string rep = ioPut(
        "utf8.rep", "\xEF\xBB\xBF/// accents\r\nrep ---caf\xC3\xA9--- with ---th\xC3\xA9---;\r\n");
    EXPECT_EQ(run({"run", rep, at("bom.txt")}).status, 0);
    EXPECT_EQ(dir.bytes("bom.txt"), "\xEF\xBB\xBFth\xC3\xA9\n");
    // Characters Windows-1252 holds are written in UTF-8 too: the encoding never depends on them.
    EXPECT_EQ(
        run({"extract", "caf\xC3\xA9", at("w.txt"), "-o", "-", "--format", "xml"}).out,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n<m>caf\xC3\xA9</m>\r\n"
        "<m>CAF\xC3\x89</m>\r\n</matches></xml>\r\n");
}

// Exports are well-formed UTF-8 whatever the matches hold, and never overwrite a searched file.
// A Windows-1252 file whose match holds markup, a quote, a control character and an "é".
class CliExport : public Cli {
  protected:
    void SetUp() override { dir.put("w.txt", "<b>\"1\" & 2</b>\x01 caf\xE9\n"); }
    const std::string pattern = "<b>[^<]*</b>. caf.";
};

TEST_F(CliExport, XmlParsesWithARealParserAndHoldsTheMatches) {
    if (std::system("python3 -c 'import xml.dom.minidom' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    const std::string out = ioFile("m.xml");
    ASSERT_EQ(run({"extract", pattern, at("w.txt"), "-o", out, "--format", "xml"}).status, 0);
    const std::string script =
        "import sys, xml.dom.minidom as d\n"
        "doc = d.parse(sys.argv[1])\n"
        "for m in doc.getElementsByTagName('m'):\n"
        "    sys.stdout.buffer.write(m.firstChild.data.encode('utf-8') + b'\\n')\n";
    const std::string parse = "python3 -c " + quoted(script) + " " + quoted(out) + " >" +
                              quoted(ioFile("parsed")) + " 2>&1";
    EXPECT_EQ(std::system(parse.c_str()), 0) << readBytes(ioFile("parsed"));
    // The control character, which XML cannot carry, is U+FFFD.
    EXPECT_EQ(readBytes(ioFile("parsed")), "<b>\"1\" & 2</b>\xEF\xBF\xBD caf\xC3\xA9\n");
}

TEST_F(CliExport, RefusesToWriteOverASearchedFileByAnyName) {
    dir.put("v.txt", "caf\xE9\n");
    fs::create_symlink(dir.path() / "w.txt", io.path() / "link.txt");
    fs::create_hard_link(dir.path() / "v.txt", io.path() / "hard.txt");
    const std::pair<std::string, std::string> cases[] = {
        {at("w.txt"), at("w.txt")},
        {at("w.txt"), "w.txt"},  // relative, from the folder the program runs in
        {at("w.txt"), ioFile("link.txt")},
        {folder(), ioFile("hard.txt")},
        {folder() + "/*.txt", folder() + "/./v.txt"}};
    workingFolder = dir.path();
    for (const auto& [path, output] : cases) {
        SCOPED_TRACE(output);
        const Outcome result = run({"extract", "caf.", path, "-o", output});
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("The export file is one of the searched files"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(dir.bytes("w.txt"), "<b>\"1\" & 2</b>\x01 caf\xE9\n");
        EXPECT_EQ(dir.bytes("v.txt"), "caf\xE9\n");
    }
    // Any other existing file is replaced, as before.
    const std::string other = ioPut("other.txt", "old\n");
    EXPECT_EQ(run({"extract", "caf.", folder(), "-o", other}).status, 0);
    EXPECT_EQ(readBytes(other), "caf\xC3\xA9\r\ncaf\xC3\xA9\r\n");
}

}  // namespace
}  // namespace lodestar
