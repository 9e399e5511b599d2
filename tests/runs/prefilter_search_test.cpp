// The look at a file's bytes before it is decoded never changes a count, in any encoding.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "runs/block_count.h"
#include "runs/multi_search.h"
#include "search/byte_matcher.h"
#include "support/expression.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

// A search over files of these contents, for each pattern with and for each caseless one without
// case, gives each file the count its decoded text gives, and passes exactly the binary ones by.
void expectDecodedCounts(const std::vector<std::string>& contents,
                         const std::vector<std::u16string_view>& exact,
                         const std::vector<std::u16string_view>& caseless) {
    TempDir dir;
    std::vector<FileItem> files;
    for (std::size_t i = 0; i < contents.size(); ++i)
        files.push_back({dir.put("f" + std::to_string(i) + ".txt", contents[i]), true});
    std::vector<std::pair<std::u16string_view, bool>> patterns;
    for (const auto pattern : exact) patterns.emplace_back(pattern, false);
    for (const auto pattern : caseless) patterns.emplace_back(pattern, true);
    for (const auto& [pattern, ignoreCase] : patterns) {
        SCOPED_TRACE(toUtf8(pattern) + (ignoreCase ? " i" : ""));
        const RegExp expr = testing::expression(pattern, {.ignoreCase = ignoreCase});
        RecordingSink sink;
        ASSERT_TRUE(SearchAllFiles(expr, pattern, files, sink).ok);
        ASSERT_EQ(sink.outcomes.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(i);
            const DecodedText file = loadTextFile(files[i].path);
            EXPECT_EQ(sink.outcomes[i].result == FileResult::Binary, file.binary);
            if (!file.binary) {
                EXPECT_EQ(sink.outcomes[i].count, expr.count(file.text));
            }
        }
    }
}

// Counting on the bytes (a literal not there, or a search straight in the bytes) must give the
// decoded text's count in every encoding, with and without case folding.
TEST(BytePrefilter, NeverChangesACountOrTheBinaryRule) {
    const std::vector<std::string> contents = {
        "the colour red\r\n",
        "COLOUR and Colour",
        "no such word here",
        "caf\xe9 colou\xe9r",                 // Windows-1252
        "caf\xc3\xa9 \xe2\x84\xaa mask",      // UTF-8 with the Kelvin sign
        "\xc5\xbf\xc5\xbf MA\xe2\x84\xaaSK",  // long s, Kelvin sign: caseless matches
        std::string("\xff\xfe"
                    "c\0o\0l\0o\0u\0r\0",
                    14),  // UTF-16 LE with its mark
        std::string("bin\0ary colour", 14),
        std::string("bin\0ary", 7),
        "\xc9\xe9 \xe9\xe9 a\xa0"
        "b",  // Windows-1252: caseless pairs, a no-break space
        "",
    };
    expectDecodedCounts(
        contents, {u"colour", u"red|blue|colou?r", u"[a-z]+ry", u"[^ ]+", u".", u"\u00e9", u"\\s"},
        {u"colour", u"mask", u"ks", u"caf\u00e9", u"(.)\\1", u"^c"});
}

TEST(BytePrefilter, LargeFilesAreLookedAtInChunksWithoutMissingALiteralAcrossTwo) {
    TempDir dir;
    // Past the size read in one go; the only "colour" straddles the first 4 MiB chunk's end.
    constexpr std::size_t kChunk = std::size_t{4} << 20;
    std::string bytes(17 << 20, 'x');
    bytes.replace(kChunk - 3, 6, "colour");
    const std::vector<FileItem> files = {{dir.put("big.log", bytes), true},
                                         {dir.put("other.log", std::string(17 << 20, 'y')), true}};
    RecordingSink sink;
    ASSERT_TRUE(SearchAllFiles(testing::expression(u"colour"), u"colour", files, sink).ok);
    EXPECT_EQ(sink.cells(), u"1|Counted;0|Counted");
}

// One file of each kind: UTF-8 within U+FFFF, beyond it, with a byte-order mark, no UTF-8
// (Windows-1252), and letters that fold beyond ASCII.
std::vector<std::string> utf8Kinds() {
    return {"caf\xc3\xa9 CAF\xc3\x89 na\xc3\xafve \xe4\xb8\xad\xe6\x96\x87\r\nstatic",
            "smile \xf0\x9f\x98\x80 and \xf0\x9f\x98\x80\xf0\x9f\x98\x80 static",
            "\xef\xbb\xbf"
            "caf\xc3\xa9\nstatic \xc3\xa9",
            "caf\xc3\xa9 \xe9t\xe9 static",
            "\xe2\x82\xac\xe2\x82\xac \xc3\x9f\xc3\x9f K\xe2\x84\xaa"};
}

// UTF-8 files are counted on their bytes only where every character is one code unit of the
// decoded text, so a count never depends on it: beyond U+FFFF, a byte-order mark or bytes that
// are no UTF-8 keep the decoded text's count.
TEST(Utf8Search, CountsAsTheDecodedTextInEveryKindOfUtf8File) {
    expectDecodedCounts(
        utf8Kinds(),
        {u".", u".{2}", u"[^ ]", u"^.", u"\\S+", u"\u00e9|\u4e2d", u"static|\u20ac", u"x*"},
        {u"caf\u00e9", u"(?:\u00df|k)+", u"\\w+", u"STATIC"});
}

// A file counted a block of lines at a time counts as its decoded text, however the blocks cut
// its lines and characters, or leaves the count to the whole file.
TEST(Utf8Search, ABlockAtATimeCountsAsTheDecodedText) {
    TempDir dir;
    std::vector<std::string> contents = utf8Kinds();
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
                    testing::expression(p.pattern, {.ignoreCase = p.ignoreCase, .global = global})
                        .count(decoded.text);
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
    std::string text;
    while (text.size() < kBlockCountFrom)
        text += "caf\xc3\xa9 static \xe4\xb8\xad" + std::string(100, 'x') + "\n";
    expectDecodedCounts({text, text + "\xe9"}, {u"caf\u00e9"}, {u"STATIC"});
}

}  // namespace
}  // namespace lodestar
