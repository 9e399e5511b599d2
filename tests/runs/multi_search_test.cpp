// The search over a folder's files: counts per ticked file, the log line, and the stop at the
// first failing file.
#include <gtest/gtest.h>

#include "runs/multi_search.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

RegExp expression(std::u16string_view pattern, bool global = true) {
    RegExp expr;
    expr.setPattern(pattern);
    expr.setIgnoreCase(true);
    expr.setGlobal(global);
    return expr;
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
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"Search cat, 2 items found in 3 files."});
}

TEST(MultiSearch, GlobalOffCountsAtMostOnePerFile) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "aaa"), true}};
    RecordingSink sink;
    EXPECT_EQ(SearchAllFiles(expression(u"a", false), u"a", files, sink).total, 1u);
}

// No 255-file limit: every listed file is searched.
TEST(MultiSearch, SearchesMoreThan255Files) {
    TempDir dir;
    std::vector<FileItem> files;
    for (int i = 0; i < 300; ++i) files.push_back({dir.put("f" + std::to_string(i), "x"), true});
    RecordingSink sink;
    const SearchSummary summary = SearchAllFiles(expression(u"x"), u"x", files, sink);
    EXPECT_TRUE(summary.ok);
    EXPECT_EQ(summary.total, 300u);
    EXPECT_EQ(sink.outcomes.size(), 300u);
}

TEST(MultiSearch, StopsAtFirstUnreadableFile) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "x"), true},
                                {dir.file("missing.txt"), true},
                                {dir.put("c.txt", "x"), true}};
    RecordingSink sink;
    const SearchSummary summary = SearchAllFiles(expression(u"x"), u"x", files, sink);
    EXPECT_FALSE(summary.ok);
    EXPECT_EQ(sink.outcomes.size(), 1u);
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_EQ(sink.errors, std::vector<std::u16string>{std::u16string(kSearchErrorMessage)});
    EXPECT_NE(sink.causes[0].find(u"missing.txt"), std::u16string::npos);
}

TEST(MultiSearch, BrokenPatternFailsAtTheFirstTickedFile) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "x"), false}, {dir.put("b.txt", "x"), true}};
    RecordingSink sink;
    EXPECT_FALSE(SearchAllFiles(expression(u"(x"), u"(x", files, sink).ok);
    EXPECT_EQ(sink.outcomes.size(), 1u);
    EXPECT_EQ(sink.errors.size(), 1u);
}

}  // namespace
}  // namespace lodestar
