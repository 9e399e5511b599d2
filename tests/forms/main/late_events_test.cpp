// Events a skin delivers after the window shut down (a page that finishes loading, a timer tick,
// a renderer that died, a click still queued) leave the window as it was.
#include <functional>
#include <sstream>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using LateEvents = WindowTest;

// Everything a late event could change: each control, each pane, the timer and the prompts.
std::string snapshot(MainWindow& w, const fakes::FakeTimer& timer,
                     const fakes::ScriptedPrompts& prompts) {
    std::ostringstream s;
    for (const std::string& name : w.controls().names()) {
        const Control& c = w.controls()[name];
        s << name << c.enabled << c.checked << c.visible << u8(c.text) << c.selected << '\n';
    }
    for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView}) {
        const PaneModel& pane = w.pane(p);
        s << pane.busy() << u8(pane.address()) << u8(pane.bodyHtml()) << pane.markCount()
          << pane.entryCount() << '\n';
    }
    s << timer.armed << prompts.asked.size() << w.file().matchCount();
    return s.str();
}

TEST_F(LateEvents, EventsAfterShutDownChangeNothing) {
    openNew("a.txt", "one two three two");
    find(u"two");
    // The source page loads again and has not finished when the user leaves.
    const std::u16string sourceAddress = source().address();
    source().navigate(sourceAddress);
    w->click("mExit");
    ASSERT_TRUE(w->closed());
    ASSERT_TRUE(source().busy());

    const std::pair<const char*, std::function<void()>> late[] = {
        {"source page loaded", [&] { w->onNavigateComplete(Pane::SuperMonitor, sourceAddress); }},
        {"match list loaded", [&] { w->onNavigateComplete(Pane::MatchView, matches().address()); }},
        {"file table loaded",
         [&] { w->onNavigateComplete(Pane::ListView, w->pane(Pane::ListView).address()); }},
        {"timer tick", [&] { w->onTimer1Tick(); }},
        {"renderer gone", [&] { w->onRendererGone(Pane::SuperMonitor, false); }},
        {"list entry clicked",
         [&] { w->onBeforeNavigate(Pane::MatchView, matches().address() + u"#2"); }},
        {"selection as pattern", [&] { w->useSelectionAsPattern(u"three"); }},
        {"Find clicked", [&] { w->click("btnFind"); }},
        {"Enter in the path box", [&] { w->enterText("inputPath"); }},
    };
    for (const auto& [what, event] : late) {
        const std::string before = snapshot(*w, timer, prompts);
        event();
        EXPECT_EQ(snapshot(*w, timer, prompts), before) << what;
    }
}

}  // namespace
}  // namespace lodestar::testing
