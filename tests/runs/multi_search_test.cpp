// The search over a folder's files: counts per ticked file, the log line, and the stop at the
// first failing file.
#include <gtest/gtest.h>

#include "runs/multi_search.h"
#include "support/expression.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

RegExp expression(std::u16string_view pattern) {
    return testing::expression(pattern, {.ignoreCase = true});
}

TEST(MultiSearch, CountsTickedFilesAndMarksUntickedOnes) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "cat Cat"), true},
                                {dir.put("b.txt", "dog"), true},
                                {dir.put("c.txt", "cat cat cat"), false}};
    RecordingSink sink;
    const SearchSummary summary = SearchAllFiles(expression(u"cat"), u"cat", files, sink);
    ASSERT_TRUE(summary.ok);
    EXPECT_EQ(summary.total, 2u);
    EXPECT_EQ(sink.cells(), u"2|Counted;0|Counted;-|Counted");
    EXPECT_EQ(sink.outcomes[2].row, 3u);
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"Search cat, 2 items found in 2 files."});
}

// An unreadable file or a broken pattern stops the search at the first file it meets.
TEST(MultiSearch, StopsAtTheFirstFailingFile) {
    for (const bool broken : {false, true}) {
        TempDir dir;
        std::vector<FileItem> files{{dir.put("a.txt", "x"), !broken},
                                    {dir.file(broken ? "a.txt" : "missing.txt"), true},
                                    {dir.put("c.txt", "x"), true}};
        RecordingSink sink;
        const std::u16string pattern = broken ? u"(x" : u"x";
        EXPECT_FALSE(SearchAllFiles(expression(pattern), pattern, files, sink).ok);
        EXPECT_EQ(sink.outcomes.size(), 1u);
        EXPECT_TRUE(sink.lines.empty());
        EXPECT_EQ(sink.errors, std::vector<std::u16string>{std::u16string(kSearchErrorMessage)});
        EXPECT_EQ(sink.causes[0].find(u"missing.txt") != std::u16string::npos, !broken);
    }
}

}  // namespace
}  // namespace lodestar
