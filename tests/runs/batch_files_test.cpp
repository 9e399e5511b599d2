// The batch run over a folder's files: every file rewritten, the log line, the stop at a
// read-only file.
#include <gtest/gtest.h>

#include <filesystem>

#include "runs/batch_files.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::globalExpression;
using testing::RecordingSink;
using testing::TempDir;

const std::vector<Command> kTwoCommands = {{u"(\\d+)px", u"$1 px", false, CommandKind::Reg},
                                           {u"a", u"b", true, CommandKind::Plain}};

TEST(BatchAllFiles, RunsOverTheTickedFilesOnly) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.htm", "12px aA"), true},
                                {dir.put("b.htm", "3px a"), false}};
    RegExp expr = globalExpression();
    RecordingSink sink;
    EXPECT_TRUE(BatchAllFiles(kTwoCommands, expr, files, sink));
    EXPECT_EQ(dir.bytes("a.htm"), "12 px bA");
    EXPECT_EQ(dir.bytes("b.htm"), "3px a");
    EXPECT_EQ(sink.cells(), u" -| Batch Replaced.;-|Passed");
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"1 files batch replaced successfully."});
}

TEST(BatchAllFiles, ReadOnlyFileStopsTheRunThere) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.htm", "1px"), true},
                                {dir.put("b.htm", "2px"), true},
                                {dir.put("c.htm", "3px"), true}};
    std::filesystem::permissions(dir.path() / "b.htm", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    RegExp expr = globalExpression();
    RecordingSink sink;
    EXPECT_FALSE(BatchAllFiles(kTwoCommands, expr, files, sink));
    EXPECT_EQ(dir.bytes("a.htm"), "1 px");
    EXPECT_EQ(dir.bytes("b.htm"), "2px");
    EXPECT_EQ(dir.bytes("c.htm"), "3px");
    EXPECT_EQ(sink.errors, std::vector<std::u16string>{std::u16string(kBatchErrorMessage)});
    EXPECT_TRUE(sink.lines.empty());
}

TEST(BatchAllFiles, BrokenSearchTextStopsAtTheFirstFile) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.htm", "x"), true}};
    RegExp expr;
    RecordingSink sink;
    EXPECT_FALSE(BatchAllFiles({{u"(x", u"y", false, CommandKind::Plain}}, expr, files, sink));
    EXPECT_EQ(dir.bytes("a.htm"), "x");
}

}  // namespace
}  // namespace lodestar
