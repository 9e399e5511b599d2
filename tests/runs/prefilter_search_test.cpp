// The look at a file's bytes before it is decoded: the literals worked out from patterns, the
// patterns that must not be filtered, and the rule that filtering never changes a count.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "runs/multi_search.h"
#include "search/byte_prefilter.h"
#include "support/expression.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

TEST(BytePrefilter, FindsTheLiteralsEveryMatchHoldsAndRefusesPatternsWithoutThem) {
    const struct {
        std::u16string_view pattern;
        bool ignoreCase;
        std::vector<std::string> literals;  // empty: no filter
    } cases[] = {
        {u"colour", false, {"colour"}},
        {u"colou?r", false, {"colo"}},
        {u"[0-9]+px", false, {"px"}},
        {u"red|green|blue", false, {"red", "green", "blue"}},
        {u"<div[\\s\\S]*?</div>", false, {"</div>"}},
        {u"ab{0,3}cd", false, {"cd"}},
        {u"ab{2}c", false, {"ab"}},
        {u"a\\.b+c", false, {"a.b"}},
        {u"x{y}", false, {"y}"}},  // a "{" that is no quantifier is a literal, not used
        {u"(?:ab)?cd(e|f)", false, {"cd"}},
        {u"[|]ab", false, {"ab"}},
        {u"COLOUR", true, {"colour"}},
        {u"mask", true, {"ma"}},  // caseless k and s also match the Kelvin sign and long s
        // Refused: an alternative without a literal, escapes that are no plain character,
        // nothing required at all, or folding beyond ASCII.
        {u"red|[0-9]+", false, {}},
        {u"a*", false, {}},
        {u"x?", false, {}},
        {u"\\x41BC", false, {}},
        {u"\\u0041", false, {}},
        {u"(a)\\1", false, {}},
        {u"\\cJ", false, {}},
        {u"caf\u00e9", false, {"caf"}},
        {u"\u00e9t\u00e9", false, {"t"}},
        {u"ks", true, {}},
        {u"", false, {}},
        {u"a)", false, {}},
        {u"a|b|c|d|e|f|g|h|i", false, {}},  // too many to look for
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.pattern));
        const auto filter = BytePrefilter::forPattern(c.pattern, c.ignoreCase);
        if (c.literals.empty()) {
            EXPECT_FALSE(filter.has_value());
        } else {
            ASSERT_TRUE(filter.has_value());
            EXPECT_EQ(filter->literals(), c.literals);
        }
    }
}

// Counting on the bytes (a literal not there, or a search straight in the bytes) must give the
// decoded text's count in every encoding, with and without case folding.
TEST(BytePrefilter, NeverChangesACountOrTheBinaryRule) {
    TempDir dir;
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
    std::vector<FileItem> files;
    for (std::size_t i = 0; i < contents.size(); ++i)
        files.push_back({dir.put("f" + std::to_string(i) + ".txt", contents[i]), true});
    const struct {
        std::u16string_view pattern;
        bool ignoreCase;
    } patterns[] = {{u"colour", false},   {u"colour", true},    {u"mask", true},
                    {u"ks", true},        {u"caf\u00e9", true}, {u"red|blue|colou?r", false},
                    {u"[a-z]+ry", false}, {u"[^ ]+", false},    {u".", false},
                    {u"\u00e9", false},   {u"\\s", false},      {u"(.)\\1", true},
                    {u"^c", true}};
    for (const auto& p : patterns) {
        SCOPED_TRACE(toUtf8(p.pattern));
        const RegExp expr = testing::expression(p.pattern, {.ignoreCase = p.ignoreCase});
        RecordingSink sink;
        ASSERT_TRUE(SearchAllFiles(expr, p.pattern, files, sink).ok);
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

}  // namespace
}  // namespace lodestar
