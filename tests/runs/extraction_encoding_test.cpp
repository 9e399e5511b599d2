// Extraction and the encodings: binary files give no items, and every export is written in
// UTF-8, declared so in HTML and XML, whatever the matches hold.
#include <gtest/gtest.h>

#include "export/formats.h"
#include "runs/extraction.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using namespace std::string_literals;
using testing::RecordingSink;
using testing::TempDir;

TEST(ExtractionEncoding, SkipsBinaryFilesAndAlwaysWritesUtf8) {
    TempDir dir;
    RegExp expr;
    expr.setPattern(u"caf.");
    expr.setGlobal(true);
    const std::vector<FileItem> files{{dir.put("a.txt", "caf\xC3\xA9 caf\xE4\xB8\xAD"), true},
                                      {dir.put("b.bin", "cafe\0"s), true},
                                      {dir.put("c.txt", "caf\xE9"), true}};
    const auto target = [&](ExportType type) {
        return ExtractTarget{dir.file("out"),
                             [type](const std::vector<std::u16string>& items) {
                                 return formatExtraction(
                                     type, items, type == ExportType::Html ? u"..<br>" : u",", 0);
                             },
                             {},
                             {}};
    };
    RecordingSink sink;
    EXPECT_EQ(ExtractAll(expr, u"caf.", files, 1u, target(ExportType::Text), sink).items, 3u);
    EXPECT_EQ(dir.bytes("out"), "caf\xC3\xA9,caf\xE4\xB8\xAD,caf\xC3\xA9\r\n");
    EXPECT_EQ(sink.lines.back(), u"Binary files skipped: 1.");

    ExtractAll(expr, u"caf.", files, 1u, target(ExportType::Xml), sink);
    EXPECT_EQ(dir.bytes("out").substr(0, 40), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    ExtractAll(expr, u"caf.", {files[2]}, 1u, target(ExportType::Html), sink);
    EXPECT_EQ(dir.bytes("out"),
              "<html><head><meta charset=\"utf-8\"><title></title></head><body>\r\ncaf\xC3\xA9<br>"
              "\r\n</body></html>\r\n");

    // Taken as text, the binary file is searched too.
    RecordingSink all;
    EXPECT_EQ(ExtractAll(expr, u"caf.", files, 1u, target(ExportType::Text), all,
                         TextReading{std::nullopt, true})
                  .items,
              4u);
}

}  // namespace
}  // namespace lodestar
