// The batch run over files in different encodings: each written back in its own, a binary file
// left alone, a Windows-1252 file that cannot hold the result left unchanged while the run goes
// on.
#include <gtest/gtest.h>

#include "runs/batch_files.h"
#include "runs/multi_replace.h"
#include "runs/multi_search.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using namespace std::string_literals;
using testing::RecordingSink;
using testing::TempDir;

TEST(BatchEncoding, KeepsEachEncodingSkipsBinaryFilesAndGoesOnPastWhatCannotHold) {
    TempDir dir;
    RegExp expr;
    const std::vector<Command> commands =
        parseCommandText(u"rep ---x--- with ---\u4E2D---;\r\n", expr, true).value();
    std::vector<FileItem> files{{dir.put("a.txt", "x caf\xE9"), true},
                                {dir.put("b.bin", "x\0"s), true},
                                {dir.put("c.txt", "\xFE\xFF\0x"s), true}};
    RecordingSink sink;
    EXPECT_FALSE(BatchAllFiles(commands, expr, files, sink));
    EXPECT_EQ(dir.bytes("a.txt"), "x caf\xE9");
    EXPECT_EQ(dir.bytes("b.bin"), "x\0"s);
    EXPECT_EQ(dir.bytes("c.txt"), "\xFE\xFF\x4E\x2D");
    ASSERT_EQ(sink.outcomes.size(), 3u);
    EXPECT_EQ(sink.outcomes[0].skipped, FileSkip::CannotHoldText);
    EXPECT_EQ(sink.outcomes[1].skipped, FileSkip::Binary);
    EXPECT_EQ(sink.outcomes[2].statusCell, u" Batch Replaced.");
    EXPECT_EQ(sink.errors, std::vector<std::u16string>{std::u16string(kCannotHoldMessage)});
    EXPECT_EQ(sink.lines, (std::vector<std::u16string>{u"1 files batch replaced successfully.",
                                                       u"Binary files skipped: 1."}));

    // Taken as text, the binary file is written back in Windows-1252.
    RecordingSink asText;
    BatchAllFiles(commands, expr, {files[1]}, asText, TextReading{std::nullopt, true});
    EXPECT_EQ(dir.bytes("b.bin"), "x\0"s);
    EXPECT_EQ(asText.errors.size(), 1u);  // "中" has no place in Windows-1252 either
}

}  // namespace
}  // namespace lodestar
