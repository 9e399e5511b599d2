// Exports are well-formed UTF-8 whatever the matches hold, and never overwrite a searched file.
#include <unistd.h>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

// A Windows-1252 file whose match holds markup, a quote, a control character and an "é".
class CliExport : public Cli {
  protected:
    void SetUp() override { dir.put("w.txt", "<b>\"1\" & 2</b>\x01 caf\xE9\n"); }
    const std::string pattern = "<b>[^<]*</b>. caf.";
};

TEST_F(CliExport, XmlParsesWithARealParserAndHoldsTheMatches) {
    if (std::system("python3 -c 'import xml.dom.minidom' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not installed";
    const std::string out = ioFile("m.xml");
    ASSERT_EQ(run({"extract", pattern, at("w.txt"), "-o", out, "--format", "xml"}).status, 0);
    const std::string script =
        "import sys, xml.dom.minidom as d\n"
        "doc = d.parse(sys.argv[1])\n"
        "for m in doc.getElementsByTagName('m'):\n"
        "    sys.stdout.buffer.write(m.firstChild.data.encode('utf-8') + b'\\n')\n";
    const std::string parse = "python3 -c " + quoted(script) + " " + quoted(out) + " >" +
                              quoted(ioFile("parsed")) + " 2>&1";
    EXPECT_EQ(std::system(parse.c_str()), 0) << readBytes(ioFile("parsed"));
    // The control character, which XML cannot carry, is U+FFFD.
    EXPECT_EQ(readBytes(ioFile("parsed")), "<b>\"1\" & 2</b>\xEF\xBF\xBD caf\xC3\xA9\n");
}

TEST_F(CliExport, RefusesToWriteOverASearchedFileByAnyName) {
    dir.put("v.txt", "caf\xE9\n");
    fs::create_symlink(dir.path() / "w.txt", io.path() / "link.txt");
    fs::create_hard_link(dir.path() / "v.txt", io.path() / "hard.txt");
    const struct {
        std::string path;
        std::string output;
    } cases[] = {
        {at("w.txt"), at("w.txt")},
        {at("w.txt"), "w.txt"},  // relative, from the folder the program runs in
        {at("w.txt"), ioFile("link.txt")},
        {folder(), ioFile("hard.txt")},
        {folder() + "/*.txt", folder() + "/./v.txt"},
    };
    workingFolder = dir.path();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const Outcome result = run({"extract", "caf.", c.path, "-o", c.output});
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("The export file is one of the searched files"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(dir.bytes("w.txt"), "<b>\"1\" & 2</b>\x01 caf\xE9\n");
        EXPECT_EQ(dir.bytes("v.txt"), "caf\xE9\n");
    }
    // Any other existing file is replaced, as before.
    const std::string other = ioPut("other.txt", "old\n");
    EXPECT_EQ(run({"extract", "caf.", folder(), "-o", other}).status, 0);
    EXPECT_EQ(readBytes(other), "caf\xC3\xA9\r\ncaf\xC3\xA9\r\n");
}

}  // namespace
}  // namespace lodestar
