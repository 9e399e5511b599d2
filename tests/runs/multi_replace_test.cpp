// The replace over a folder's files: counting on and off, backups, the read-only rule, the log
// lines and the stop at the first failing file.
#include <gtest/gtest.h>

#include <filesystem>

#include "runs/multi_replace.h"
#include "runs/multi_search.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::ReadOnlyAnswer;
using testing::RecordingSink;
using testing::TempDir;

RegExp expression(std::u16string_view pattern) {
    return testing::globalExpression(pattern, true);
}

void makeReadOnly(const TempDir& dir, const std::string& name) {
    std::filesystem::permissions(dir.path() / name, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
}

class MultiReplace : public ::testing::Test {
  protected:
    TempDir dir;
    std::vector<FileItem> files;
    RecordingSink sink;
    ReadOnlyAnswer decline{false};

    void SetUp() override {
        files = {{dir.put("a.txt", "1px 2px"), true},
                 {dir.put("b.txt", "none"), true},
                 {dir.put("c.txt", "3px 4px 5px 6px 7px"), true}};
    }
    ReplaceSettings settings(bool count, bool backup = true) {
        return {count, backup, dir.folder(), u""};
    }
};

TEST_F(MultiReplace, CountingRewritesAndBacksUpOnlyFilesWithMatches) {
    const auto summary =
        ReplaceAllFiles(expression(u"(\\d+)px"), u"$1 px", files, settings(true), decline, sink);
    EXPECT_TRUE(summary.ok);
    EXPECT_EQ(summary.replacedFiles, 2u);
    EXPECT_EQ(sink.cells(), u"2| Replaced;0| Passed;5| Replaced");
    EXPECT_EQ(dir.bytes("a.txt"), "1 px 2 px");
    EXPECT_EQ(dir.bytes("bak/a.txt"), "1px 2px");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak/b.txt"));
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"2 files replaced in 3 files."});
}

TEST_F(MultiReplace, WithoutCountingEveryTickedFileIsRewrittenAndNotCounted) {
    files[1].ticked = false;
    const auto summary =
        ReplaceAllFiles(expression(u"px"), u"em", files, settings(false), decline, sink);
    EXPECT_TRUE(summary.ok);
    EXPECT_EQ(sink.cells(), u"-| Replaced;-|Passed;-| Replaced");
    EXPECT_FALSE(sink.outcomes[0].count.has_value());
    EXPECT_EQ(dir.bytes("c.txt"), "3em 4em 5em 6em 7em");
    EXPECT_EQ(dir.bytes("bak/c.txt"), "3px 4px 5px 6px 7px");
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"Files replaced successfully."});
}

TEST_F(MultiReplace, WithoutCountingAndNothingTickedReportsZeroFiles) {
    for (auto& file : files) file.ticked = false;
    ReplaceAllFiles(expression(u"px"), u"em", files, settings(false), decline, sink);
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"0 files replaced in 3 files."});
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak"));
}

// 8888 is a count like any other, not the "not counted" marker.
TEST_F(MultiReplace, AFileWith8888MatchesReports8888) {
    files = {{dir.put("many.txt", std::string(8888, 'x')), true}};
    ReplaceAllFiles(expression(u"x"), u"y", files, settings(true, false), decline, sink);
    EXPECT_EQ(sink.cells(), u"8888| Replaced");
    EXPECT_EQ(sink.outcomes[0].count, 8888u);
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"1 files replaced in 1 files."});
}

// One question per run: declined, the read-only files are skipped; accepted, they are made
// writable and replaced.
TEST_F(MultiReplace, ReadOnlyFilesFollowTheOneAnswerOfTheRun) {
    makeReadOnly(dir, "a.txt");
    makeReadOnly(dir, "c.txt");
    ReplaceAllFiles(expression(u"px"), u"em", files, settings(true), decline, sink);
    EXPECT_EQ(decline.asked, 1);
    EXPECT_EQ(sink.cells(), u"-1| Read only;0| Passed;-1| Read only");
    EXPECT_EQ(dir.bytes("a.txt"), "1px 2px");

    ReadOnlyAnswer accept(true);
    RecordingSink again;
    ReplaceAllFiles(expression(u"px"), u"em", files, settings(true), accept, again);
    EXPECT_EQ(accept.asked, 1);
    EXPECT_EQ(again.cells(), u"2| Replaced;0| Passed;5| Replaced");
    EXPECT_EQ(dir.bytes("a.txt"), "1em 2em");
}

TEST_F(MultiReplace, StopsAtTheFirstFailingFile) {
    files.insert(files.begin() + 1, {dir.file("gone.txt"), true});
    const auto summary =
        ReplaceAllFiles(expression(u"px"), u"em", files, settings(true), decline, sink);
    EXPECT_FALSE(summary.ok);
    EXPECT_EQ(sink.outcomes.size(), 1u);
    EXPECT_EQ(dir.bytes("a.txt"), "1em 2em");
    EXPECT_EQ(dir.bytes("c.txt"), "3px 4px 5px 6px 7px");
    // A file that cannot be read is a file's failure, not the pattern's.
    EXPECT_EQ(sink.errors, std::vector<std::u16string>{std::u16string(kFileErrorMessage)});
    EXPECT_TRUE(sink.lines.empty());
}

// Each file is written in the encoding it was read in; a Windows-1252 file that cannot hold the
// new text stays whole and the run goes on; a binary file is not touched.
TEST_F(MultiReplace, KeepsEachFileEncodingAndLeavesWhatCannotHoldTheText) {
    using namespace std::string_literals;
    const std::string utf16 = "\xFF\xFE" + "2\0p\0x\0"s;
    const std::string utf8 = "\xEF\xBB\xBF" + "4px \xC3\xA9"s;
    files = {{dir.put("a.txt", "1px caf\xE9"), true},
             {dir.put("b.txt", utf16), true},
             {dir.put("c.bin", "3px\0"s), true},
             {dir.put("d.txt", utf8), true}};
    const auto summary =
        ReplaceAllFiles(expression(u"px"), u"\u4e2d", files, settings(true, false), decline, sink);
    EXPECT_TRUE(summary.ok);
    EXPECT_EQ(summary.replacedFiles, 2u);
    EXPECT_EQ(summary.cannotHold, 1u);
    EXPECT_EQ(summary.binarySkipped, 1u);
    EXPECT_EQ(dir.bytes("a.txt"), "1px caf\xE9");
    EXPECT_EQ(dir.bytes("b.txt"), "\xFF\xFE" + "2\0\x2D\x4E"s);
    EXPECT_EQ(dir.bytes("c.bin"), "3px\0"s);
    EXPECT_EQ(dir.bytes("d.txt"), "\xEF\xBB\xBF" + "4\xE4\xB8\xAD \xC3\xA9"s);
    EXPECT_EQ(sink.cells(), u"1|;1| Replaced;-|;1| Replaced");
    EXPECT_EQ(sink.outcomes[0].skipped, FileSkip::CannotHoldText);
    EXPECT_EQ(sink.outcomes[2].skipped, FileSkip::Binary);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], kCannotHoldMessage);
    EXPECT_NE(sink.causes[0].find(u"(U+4E2D)"), std::u16string::npos);
    EXPECT_EQ(sink.lines, (std::vector<std::u16string>{u"2 files replaced in 4 files.",
                                                       u"Binary files skipped: 1."}));
}

TEST_F(MultiReplace, RefusedBackupFolderNameTouchesNoFile) {
    ReplaceSettings refused = settings(true);
    refused.backupFolderName = u"..";
    EXPECT_FALSE(ReplaceAllFiles(expression(u"px"), u"em", files, refused, decline, sink).ok);
    EXPECT_TRUE(sink.outcomes.empty());
    EXPECT_EQ(dir.bytes("a.txt"), "1px 2px");
}

}  // namespace
}  // namespace lodestar
