// The Help menu and the about box's banner: F1 opens the local help page or says it is missing,
// the two web pages open in the desktop's browser.
#include <filesystem>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class HelpMenuTest : public WindowTest {};

TEST_F(HelpMenuTest, ContentsOpensTheHelpPageOrSaysItIsMissing) {
    std::filesystem::remove(program.path() / "help" / "index.htm");
    w->click("mContents");
    EXPECT_TRUE(shell.opened.empty()) << "no program is started for a missing page";
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].kind, "message");
    EXPECT_EQ(prompts.asked[0].text, u"Can't find help file.");
    EXPECT_EQ(prompts.asked[0].caption, u"Lodestar");

    program.put("help/index.htm", "<html></html>");
    w->click("mContents");
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], program.folder() + u"help/index.htm");
}

TEST_F(HelpMenuTest, WebPagesOpenTheProjectsAddresses) {
    w->click("mWeb");
    w->click("mExample");
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[0], kHomePage);
    EXPECT_EQ(shell.opened[1], kExamplesPage);
}

TEST(AboutBanner, SixLinesTheFirstEmptyFramedByRulesOfTwentyHashes) {
    const std::vector<std::u16string> lines = splitText(aboutBanner(), u"\r\n");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"");
    const std::u16string indent(14, u' ');
    EXPECT_EQ(lines[1], indent + std::u16string(20, u'#'));
    EXPECT_EQ(lines[5], lines[1]);
    EXPECT_NE(lines[2].find(u"Lodestar 1.4"), std::u16string::npos);
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(lines[i].rfind(indent, 0), 0u);
}

}  // namespace
}  // namespace lodestar::testing
