// lodestar-cli on files in every encoding it reads: counts, ignore case on accented letters, the
// bytes it writes back, binary files, --encoding, --binary, the user's setting, command files
// and exports in UTF-8.
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

}  // namespace
}  // namespace lodestar
