// UTF-8 files counted on their bytes: only files whose every character is one code unit of the
// decoded text take that road, so a count never depends on it. Files with characters beyond
// U+FFFF, a byte-order mark or bytes that are no UTF-8 keep the decoded text's count.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "runs/multi_search.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

TEST(Utf8Search, CountsAsTheDecodedTextInEveryKindOfUtf8File) {
    TempDir dir;
    const std::vector<std::string> contents = {
        "caf\xc3\xa9 CAF\xc3\x89 na\xc3\xafve \xe4\xb8\xad\xe6\x96\x87\r\nstatic",
        "smile \xf0\x9f\x98\x80 and \xf0\x9f\x98\x80\xf0\x9f\x98\x80 static",  // beyond U+FFFF
        "\xef\xbb\xbf"
        "caf\xc3\xa9\nstatic \xc3\xa9",  // byte-order mark
        "caf\xc3\xa9 \xe9t\xe9 static",  // not UTF-8: Windows-1252
        "\xe2\x82\xac\xe2\x82\xac \xc3\x9f\xc3\x9f K\xe2\x84\xaa",
    };
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
        RegExp expr;
        expr.setPattern(p.pattern);
        expr.setIgnoreCase(p.ignoreCase);
        expr.setGlobal(true);
        RecordingSink sink;
        ASSERT_TRUE(SearchAllFiles(expr, p.pattern, files, sink).ok);
        ASSERT_EQ(sink.outcomes.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(sink.outcomes[i].count, expr.count(loadTextFile(files[i].path).text));
        }
    }
}

}  // namespace
}  // namespace lodestar
