// The Help menu: the help pages open in the program's help window (or say they are missing),
// the home page in the desktop's browser, and a browser that cannot be started is reported
// with the address.
#include <filesystem>

#include "fakes/fake_help_viewer.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class HelpMenuTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        w->help().setViewer(&viewer);
    }
    fakes::FakeHelpViewer viewer;
};

// A web page goes to the browser; without one the user learns the address.
TEST_F(HelpMenuTest, AWebPageThatCannotBeOpenedSaysSoWithItsAddress) {
    for (bool browser : {true, false}) {
        shell.opens = browser;
        prompts.asked.clear();
        w->help().openWebPage(u"https://example.org/");
        EXPECT_EQ(shell.opened.back(), u"https://example.org/");
        ASSERT_EQ(prompts.asked.size(), browser ? 0u : 1u);
        if (!browser) {
            EXPECT_NE(prompts.asked[0].text.find(u"https://example.org/"), std::u16string::npos)
                << u8(prompts.asked[0].text);
        }
    }
    // A help page without a help window is handed to the desktop, and its failure reported.
    w->help().setViewer(nullptr);
    w->click("mContents");
    EXPECT_EQ(shell.opened.back(), program.folder() + u"help/index.htm");
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_NE(prompts.asked.back().text.find(u"help/index.htm"), std::u16string::npos);
}

}  // namespace
}  // namespace lodestar::testing
