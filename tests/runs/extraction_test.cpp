// The extraction run: which files are read, what is written, the log line and the failures.
#include <gtest/gtest.h>

#include "core/text.h"
#include "runs/extraction.h"
#include "support/expression.h"
#include "support/fifo_watchdog.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

ExtractTarget commaTarget(const std::u16string& path) {
    return {path,
            [](const std::vector<std::u16string>& items) { return joinText(items, u","); },
            {},
            {}};
}

TEST(ExtractAll, OneListedFileIsReadWhateverItsTick) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "5"), false}};
    RecordingSink sink;
    EXPECT_EQ(
        ExtractAll(testing::expression(u"\\d+"), u"d", files, 0u, commaTarget(dir.file("o")), sink)
            .items,
        1u);
}

TEST(ExtractAll, FailuresAreReportedAndWriteNothing) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "1"), true}, {dir.file("gone.txt"), true}};
    RecordingSink sink;
    EXPECT_EQ(
        ExtractAll(testing::expression(u"\\d+"), u"d", files, {}, commaTarget(dir.file("o")), sink)
            .result,
        ExtractResult::Failed);
    ExtractTarget badFormat = commaTarget(dir.file("o"));
    badFormat.format = [](const std::vector<std::u16string>&) -> std::u16string {
        throw Error("no \"..\" in the wrapper");
    };
    EXPECT_EQ(
        ExtractAll(testing::expression(u"\\d+"), u"d", {files[0]}, {}, badFormat, sink).result,
        ExtractResult::Failed);
    EXPECT_EQ(sink.errors.size(), 2u);
    EXPECT_EQ(sink.errors[0], kExtractErrorMessage);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "o"));
}

}  // namespace
}  // namespace lodestar
