// lodestar-cli with what people's folders hold and what runs go through: names that are not
// UTF-8 or hold line breaks, extractions that find nothing and patterns or commands that would
// run away.
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

TEST_F(Cli, NamesThatAreNotUtf8AreWorkedOnAndShownEscaped) {
    dir.put("caf\xE9.txt", "12px");
    dir.put("two\nlines.txt", "3px");
    const std::string shown = folder() + "/caf\\xE9.txt";
    const std::string broken = folder() + "/two\\nlines.txt";
    EXPECT_EQ(run({"find", "--count", "px", folder()}).out,
              "1\t" + shown + "\n1\t" + broken + "\nSearch px, 2 items found in 2 files.\n");
    // Lines of find name them escaped as well, so a name never breaks a line in two.
    EXPECT_EQ(run({"find", "px", folder()}).out,
              folder() + "/caf\\xE9.txt:1:3:12px\n" + broken + ":1:2:3px\n");
    EXPECT_EQ(
        run({"replace", "px", "em", folder()}).out,
        "1\tReplaced\t" + shown + "\n1\tReplaced\t" + broken + "\n2 files replaced in 2 files.\n");
    EXPECT_EQ(dir.bytes("caf\xE9.txt"), "12em");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("caf\xE9.txt"), "12px");
}

TEST_F(Cli, ExtractThatFindsNothingSaysSoWritesTheFrameAndExitsOne) {
    putSample();
    const std::string out = ioFile("none.xml");
    const Outcome result = run({"extract", "zebra", folder(), "-o", out, "--format", "xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(
        readBytes(out),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n</matches></xml>\r\n");
    EXPECT_NE(result.out.find("nothing found"), std::string::npos);
}

TEST_F(Cli, RunawayPatternsAndGrowingCommandsEndWithAnError) {
    std::string runs;
    for (int i = 0; i < 1000; ++i) runs += std::string(19, 'a') + "b";
    dir.put("runs.txt", runs);
    for (const char* shape : {"--count", "--json"}) {
        const std::string err = failure({"find", shape, "(a+)+c|b", folder()});
        EXPECT_NE(err.find("too complex for this text"), std::string::npos) << err;
    }

    std::string doubling;
    for (int i = 0; i < 40; ++i) doubling += "regrep ---[\\s\\S]+--- with ---$&$&---;\r\n";
    const std::string grow = failure({"run", ioPut("grow.rep", doubling), folder()});
    EXPECT_EQ(grow.rfind("Rep File Error.\n", 0), 0u) << grow;
    EXPECT_NE(grow.find("makes the text too large"), std::string::npos) << grow;
    EXPECT_EQ(dir.bytes("runs.txt"), runs);
}

}  // namespace
}  // namespace lodestar
