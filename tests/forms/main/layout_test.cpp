// The window geometry: the resize handler, the pane stacking and the splitters.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

class Layout : public WindowTest {
  protected:
    Rect g(const std::string& name) const { return c(name).geometry; }
};

TEST_F(Layout, EachCombinationOfVisiblePanes) {
    w->doMulti();
    w->resize({9600, 6001, 9720, 6600});  // halves and thirds drop the remainder
    w->click("View_ML");                  // list and source
    EXPECT_EQ(g("ListView").height, 3000 - 50);
    EXPECT_EQ(g("SuperMonitor").top, 3090);
    EXPECT_EQ(g("SuperMonitor").height, g("Frame2").height - 3090 - 50);
    w->click("View_FS");  // list only
    EXPECT_EQ(g("ListView").height, g("Frame2").height - 90);
    w->click("View_ML");  // list and matches
    EXPECT_EQ(g("ListView").height, 2950);
    EXPECT_EQ(g("MatchView").top, 3090);
    EXPECT_EQ(g("MatchView").height, g("Frame2").height - 3090);
}

TEST_F(Layout, ALowWindowKeepsItsHeightsButStillPlacesTheStatusBarAndWidths) {
    w->resize({9600, 6000, 9720, 6600});
    const Rect frame = g("Frame1");
    const Rect source = g("SuperMonitor");
    w->resize({8000, 490, 8120, 1000});  // 90 + 400 is not below 490
    EXPECT_EQ(g("Frame1").height, frame.height);
    EXPECT_EQ(g("SuperMonitor").height, source.height);
    EXPECT_EQ(g("statusbar").bottom(), 490);
    EXPECT_EQ(g("Frame2").width, 8000 - 50 - g("Frame2").left);
    w->resize({9600, 2000, 9720, 2600});  // the pattern box would get a negative height
    EXPECT_GE(g("inRepFrom").height, 0);
    EXPECT_GE(g("logger").height, 0);
}

TEST_F(Layout, TheVerticalSplitterStopsAt500AndTheLeftPanelAt2800) {
    w->layout().splitterDown("splitter");
    EXPECT_TRUE(c("splitshad").visible);
    EXPECT_EQ(g("splitshad").width, 75);
    EXPECT_TRUE(w->layout().splitDragging());
    w->layout().splitterMove("splitter", -5000);
    EXPECT_EQ(g("splitshad").left, 500);
    w->layout().splitterUp("splitter");
    EXPECT_EQ(g("Frame1").width, 2800);
    EXPECT_FALSE(c("splitshad").visible);
    EXPECT_FALSE(w->layout().splitDragging());
}

TEST_F(Layout, MovingTheVerticalSplitterShiftsBothPanels) {
    w->resize({12000, 6000, 12120, 6600});
    const Rect right = g("Frame2");
    const Rect box = g("inRepFrom");
    double x = 4030;
    w->layout().sizeControls(x);
    EXPECT_EQ(g("Frame1").width, 4030);
    EXPECT_EQ(g("inRepFrom").width, box.width + 1000);
    EXPECT_EQ(g("Frame2").left, right.left + 1000);
    EXPECT_EQ(g("Frame2").width, right.width - 1000);
    EXPECT_EQ(g("MatchView").width, g("SuperMonitor").width);
    EXPECT_EQ(g("splitter3").width, g("SuperMonitor").width);
    double far = 20000;
    w->layout().sizeControls(far);
    EXPECT_EQ(far, 12120 - 6000);
}

TEST_F(Layout, TheSourceSplitterKeepsTheSourceViewAndTheWindowBottom) {
    w->doMulti();
    w->resize({9600, 6000, 9720, 6600});
    w->layout().splitterDown("splitter3");
    EXPECT_EQ(g("splitShad3").height, 75);
    w->layout().splitterMove("splitter3", -9000);
    EXPECT_EQ(g("splitShad3").top, 500);
    w->layout().splitterUp("splitter3");
    EXPECT_EQ(g("SuperMonitor").height, 1000);
    EXPECT_EQ(g("splitter3").top, g("SuperMonitor").bottom());
    EXPECT_EQ(g("MatchView").top, g("splitter3").top + 50);
    double y = 9000;
    w->layout().sizeControls3(y);
    EXPECT_EQ(y, 6600 - 2000);
}

}  // namespace
}  // namespace lodestar::testing
