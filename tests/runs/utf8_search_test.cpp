// UTF-8 files counted on their bytes: only files whose every character is one code unit of the
// decoded text take that road, so a count never depends on it. Files with characters beyond
// U+FFFF, a byte-order mark or bytes that are no UTF-8 keep the decoded text's count.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "runs/block_count.h"
#include "runs/multi_search.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

// One file of each kind: UTF-8 within U+FFFF, beyond it, with a byte-order mark, no UTF-8
// (Windows-1252), and letters that fold beyond ASCII.
std::vector<std::string> fileKinds() {
    return {
        "caf\xc3\xa9 CAF\xc3\x89 na\xc3\xafve \xe4\xb8\xad\xe6\x96\x87\r\nstatic",
        "smile \xf0\x9f\x98\x80 and \xf0\x9f\x98\x80\xf0\x9f\x98\x80 static",
        "\xef\xbb\xbf"
        "caf\xc3\xa9\nstatic \xc3\xa9",
        "caf\xc3\xa9 \xe9t\xe9 static",
        "\xe2\x82\xac\xe2\x82\xac \xc3\x9f\xc3\x9f K\xe2\x84\xaa",
    };
}

RegExp expression(std::u16string_view pattern, bool ignoreCase, bool global = true) {
    RegExp expr;
    expr.setPattern(pattern);
    expr.setIgnoreCase(ignoreCase);
    expr.setGlobal(global);
    return expr;
}

TEST(Utf8Search, CountsAsTheDecodedTextInEveryKindOfUtf8File) {
    TempDir dir;
    const std::vector<std::string> contents = fileKinds();
    std::vector<FileItem> files;
    for (std::size_t i = 0; i < contents.size(); ++i)
        files.push_back({dir.put("f" + std::to_string(i) + ".txt", contents[i]), true});
    const struct {
        std::u16string_view pattern;
        bool ignoreCase;
    } patterns[] = {
        {u".", false},
        {u".{2}", false},
        {u"[^ ]", false},
        {u"^.", false},
        {u"\\S+", false},
        {u"caf\u00e9", true},
        {u"\u00e9|\u4e2d", false},
        {u"static|\u20ac", false},
        {u"x*", false},
        {u"(?:\u00df|k)+", true},
        {u"\\w+", true},
        {u"STATIC", true},
    };
    for (const auto& p : patterns) {
        SCOPED_TRACE(toUtf8(p.pattern));
        const RegExp expr = expression(p.pattern, p.ignoreCase);
        RecordingSink sink;
        ASSERT_TRUE(SearchAllFiles(expr, p.pattern, files, sink).ok);
        ASSERT_EQ(sink.outcomes.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(sink.outcomes[i].count, expr.count(loadTextFile(files[i].path).text));
        }
    }
}

// A file counted a block of lines at a time counts as its decoded text, however the blocks cut
// its lines and characters, or leaves the count to the whole file.
TEST(Utf8Search, ABlockAtATimeCountsAsTheDecodedText) {
    TempDir dir;
    std::vector<std::string> contents = fileKinds();
    contents.push_back("static\n\xc3\xa9\0 static");  // binary
    const struct {
        std::u16string_view pattern;
        bool ignoreCase;
    } patterns[] = {{u"static", false}, {u"caf\u00e9", false},     {u"static|\u20ac", false},
                    {u"STATIC", true},  {u"\u00e9|\u4e2d", false}, {u"c\\x0ac|b", false}};
    std::size_t counted = 0;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        SCOPED_TRACE(i);
        std::string lines;
        for (int k = 0; k < 4; ++k) lines += contents[i] + (k % 2 ? "\n" : "\r\n");
        const std::u16string path = dir.put("f" + std::to_string(i) + ".txt", lines + "static");
        const DecodedText decoded = loadTextFile(path);
        for (const auto& p : patterns) {
            SCOPED_TRACE(toUtf8(p.pattern));
            const auto matcher = ByteMatcher::forPattern(p.pattern, p.ignoreCase, false);
            ASSERT_TRUE(matcher);
            for (const bool global : {true, false}) {
                const std::size_t expected =
                    expression(p.pattern, p.ignoreCase, global).count(decoded.text);
                for (const std::size_t block : {3, 10, 1 << 16}) {
                    const auto blocks = countInBlocks(path, *matcher, global, {}, block);
                    if (!blocks) continue;
                    ++counted;
                    EXPECT_EQ(blocks->binary, decoded.binary);
                    if (!decoded.binary) {
                        EXPECT_EQ(blocks->count, expected) << block;
                    }
                }
            }
        }
    }
    // Not every file and pattern is counted so: those beyond U+FFFF or with a mark never are.
    EXPECT_GT(counted, 0u);
    EXPECT_LT(counted, contents.size() * std::size(patterns) * 6);
}

// A large file goes that way in the folder search: UTF-8, and the same bytes made Windows-1252
// by one invalid byte at the very end.
TEST(Utf8Search, ALargeFileCountsAsItsDecodedText) {
    TempDir dir;
    std::string text;
    while (text.size() < kBlockCountFrom)
        text += "caf\xc3\xa9 static \xe4\xb8\xad" + std::string(100, 'x') + "\n";
    const std::vector<FileItem> files = {{dir.put("utf8.log", text), true},
                                         {dir.put("cp1252.log", text + "\xe9"), true}};
    for (const std::u16string_view pattern : {u"caf\u00e9", u"STATIC"}) {
        SCOPED_TRACE(toUtf8(pattern));
        const RegExp expr = expression(pattern, pattern == u"STATIC");
        RecordingSink sink;
        ASSERT_TRUE(SearchAllFiles(expr, pattern, files, sink).ok);
        for (std::size_t i = 0; i < files.size(); ++i)
            EXPECT_EQ(sink.outcomes[i].count, expr.count(loadTextFile(files[i].path).text)) << i;
    }
}

}  // namespace
}  // namespace lodestar
