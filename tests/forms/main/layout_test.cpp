// The window geometry: the resize handler, the pane stacking and the splitters.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

class Layout : public WindowTest {
  protected:
    Rect g(const std::string& name) const { return c(name).geometry; }
};

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

}  // namespace
}  // namespace lodestar::testing
