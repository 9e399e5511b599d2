// The pane model, long documents a piece at a time, the page's watchdog, and form events.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/text.h"
#include "fakes/desktop_fakes.h"
#include "fakes/recording_pane_host.h"
#include "fakes/scripted_prompts.h"
#include "forms/model/form.h"
#include "forms/model/pane_model.h"
#include "forms/model/renderer_watchdog.h"

namespace lodestar {
namespace {

// Pieces "p0", "p1", ... holding `perPiece` items each.
class CountedPieces : public PieceDocument {
  public:
    CountedPieces(std::size_t pieces, std::size_t perPiece) : pieces_(pieces), per_(perPiece) {}
    std::size_t pieceCount() const override { return pieces_; }
    PieceOutline outline(std::size_t piece) const override { return {1, 2, piece * per_}; }
    std::u16string html(std::size_t piece) const override {
        return u"p" + decimal(static_cast<long long>(piece));
    }
    std::size_t itemCount() const override { return pieces_ * per_; }

  private:
    std::size_t pieces_, per_;
};

class PaneModelTest : public ::testing::Test {
  protected:
    PaneModelTest() { pane.attach(&host); }
    void load() {
        host.calls.clear();
        pane.loaded(pane.address(), u"<html><body></body></html>");
    }
    fakes::RecordingPaneHost host;
    PaneModel pane{u"SuperMonitor"};
};

TEST_F(PaneModelTest, WritesWhileThePageLoadsArriveOnceItHasLoadedAndOnlyTheNewest) {
    pane.navigate(u"/p/src.tmp");
    pane.setBodyHtml(u"<pre id=code>old <em>a</em></pre>");
    pane.setBodyHtml(u"<pre id=code>new <em>b</em> <em>c</em></pre>");
    pane.setMarkBackground(1, u"gold");
    pane.scrollTo({u"", u"em", 1});
    pane.setCodeWordWrap(u"normal");
    EXPECT_EQ(host.calls, std::vector<std::string>{"navigate /p/src.tmp"});
    EXPECT_TRUE(pane.busy());

    load();
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "body <pre id=code>new <em>b</em> <em>c</em></pre>",
                              "background /em 1 gold",
                              "style code word-wrap normal",
                              "scroll /em 1",
                          }));
    EXPECT_EQ(pane.markCount(), 2u);
    EXPECT_EQ(pane.markBackground(1), u"gold");

    // Loaded: each write goes through at once.
    host.calls.clear();
    pane.setMarkBackground(0, u"gold");
    EXPECT_EQ(host.calls, std::vector<std::string>{"background /em 0 gold"});
}

TEST_F(PaneModelTest, APageLoadedWithoutWritesKeepsItsOwnBody) {
    pane.navigate(u"/p/help.htm");
    load();
    EXPECT_TRUE(host.calls.empty());
    pane.navigate(u"/p/page.htm");
    pane.loaded(u"/p/page.htm", u"<body><p>file <em>x</em></p></body>");
    EXPECT_EQ(pane.markCount(), 1u);
    EXPECT_EQ(toUtf8(pane.bodyText()), "file x");
}

TEST_F(PaneModelTest, PiecesAreServedOnlyForTheCurrentDocument) {
    pane.setBodyPieces(std::make_shared<CountedPieces>(3, 10));
    const long long first = pane.generation(u"");
    EXPECT_EQ(pane.markCount(), 30u);
    EXPECT_TRUE(pane.hasCode());
    EXPECT_EQ(host.calls.back(), "pieces  " + std::to_string(first) + " 3");

    host.calls.clear();
    pane.servePieces(u"", first, {2, 7, 0});  // 7 does not exist
    EXPECT_EQ(host.calls, (std::vector<std::string>{"piece  " + std::to_string(first) + " 2 p2",
                                                    "piece  " + std::to_string(first) + " 0 p0"}));

    pane.setBodyPieces(std::make_shared<CountedPieces>(2, 1));
    host.calls.clear();
    pane.servePieces(u"", first, {0});  // asked by the page before the newer document arrived
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(pane.markCount(), 2u);
    // A scroll brings the piece holding its item along, before the page could ask for it.
    pane.scrollTo({u"", u"em", 1});
    const std::string second = std::to_string(pane.generation(u""));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"piece  " + second + " 1 p1", "scroll /em 1"}));

    // Marks and entries of long documents keep their backgrounds in the model.
    pane.setMarkBackground(1, u"gold");
    pane.setMarkBackground(2, u"gold");  // no such mark
    EXPECT_EQ(pane.markBackground(1), u"gold");
    EXPECT_EQ(pane.markBackground(2), u"");
    PaneModel list(u"MatchView");
    list.setElementPieces(u"mlist", std::make_shared<CountedPieces>(5000, 200));
    EXPECT_EQ(list.entryCount(), 1'000'000u);
    list.setEntryBackground(999'999, u"rgb(230,230,230)");
    EXPECT_TRUE(list.scrollTo({u"mlist", u"li", 999'999}));
    EXPECT_FALSE(list.scrollTo({u"mlist", u"li", 1'000'000}));
    EXPECT_EQ(list.entryBackground(999'999), u"rgb(230,230,230)");
    EXPECT_EQ(list.generation(u""), 0);
    list.setElementHtml(u"mlist", u"<li>one");
    EXPECT_EQ(list.generation(u"mlist"), 0) << "a plain list replaces the pieces";
    EXPECT_EQ(list.entryCount(), 1u);
}

TEST_F(PaneModelTest, AReloadedPageGetsTheWholeDocumentBack) {
    pane.navigate(u"/p/src.tmp");
    load();
    pane.setBodyPieces(std::make_shared<CountedPieces>(4, 3));
    pane.setMarkBackground(5, u"gold");
    pane.scrollTo({u"", u"em", 5});
    pane.reload();
    EXPECT_TRUE(pane.restoring());
    EXPECT_EQ(host.calls.back(), "navigate /p/src.tmp");
    pane.setMarkBackground(6, u"gold");  // while it loads: kept
    load();
    EXPECT_FALSE(pane.restoring());
    const std::string g = std::to_string(pane.generation(u""));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"pieces  " + g + " 4", "background /em 5 gold",
                                                    "background /em 6 gold", "scroll /em 5"}));
    // The page asks again for what it shows, and gets it.
    host.calls.clear();
    pane.servePieces(u"", pane.generation(u""), {1});
    EXPECT_EQ(host.calls, std::vector<std::string>{"piece  " + g + " 1 p1"});
}

// The form base: events reach a form only through enabled, known controls.
// A form with one control of each kind it reacts to, recording what reached its handlers.
class ProbeForm : public Form {
  public:
    explicit ProbeForm(Prompts& prompts) : Form("Probe", prompts) {
        add("Probe", ControlKind::Frame);
        add("btnGo", ControlKind::Button);
        add("chkMine", ControlKind::CheckBox);
        add("box", ControlKind::TextBox);
        Control& list = add("pick", ControlKind::Combo);
        controls().setItems(list.name, {u"a", u"b"});
    }
    std::vector<std::string> seen;

  protected:
    void onClick(const std::string& c) override { seen.push_back("click " + c); }
    void onTextChanged(const std::string& c) override { seen.push_back("text " + c); }
    void onSelect(const std::string& c) override { seen.push_back("select " + c); }
    void onEnter(const std::string& c) override { seen.push_back("enter " + c); }
    void onFocusLost(const std::string& c) override { seen.push_back("blur " + c); }

  private:
    Control& add(const char* name, ControlKind kind) {
        Control c;
        c.name = name;
        c.kind = kind;
        return controls().add(std::move(c));
    }
};

TEST(Form, EventsReachTheFormOnlyThroughEnabledKnownControls) {
    fakes::ScriptedPrompts prompts;
    ProbeForm form(prompts);
    form.click("chkMine");
    EXPECT_TRUE(form.controls()["chkMine"].checked);  // a check box flips before its handler
    form.click("btnGo");
    form.click("nothing");
    form.typeText("box", u"txt");
    form.enter("box");
    form.focusLost("box");
    form.select("pick", 1);
    form.select("pick", 2);  // no such item
    form.controls().setEnabled("btnGo", false);
    form.click("btnGo");
    EXPECT_EQ(form.seen, (std::vector<std::string>{"click chkMine", "click btnGo", "text box",
                                                   "enter box", "blur box", "select pick"}));
    EXPECT_EQ(form.controls()["box"].text, u"txt");
    EXPECT_EQ(form.controls()["pick"].selected, 1);
}

// The watchdog of a pane page: questions while the page is shown, a hang noticed only when the
// bound ran out on time, and late or stale answers.
class RendererWatchdogTest : public ::testing::Test {
  protected:
    RendererWatchdogTest()
        : dog(
              timer, [this] { return clock; },
              [this](std::function<void()> answer) { answers.push_back(std::move(answer)); },
              {2000, 5000}) {
        dog.onHung = [this] { ++hung; };
    }
    // Lets `ms` pass and fires the timer, as its event loop would.
    void fireAfter(long long ms) {
        ASSERT_TRUE(timer.armed);
        clock += ms;
        dog.tick();
    }

    fakes::FakeTimer timer;
    long long clock = 1000;
    std::vector<std::function<void()>> answers;
    int hung = 0;
    RendererWatchdog dog;
};

TEST_F(RendererWatchdogTest, AnsweringPageIsAskedAgainAndAgainButNeverHung) {
    dog.start();
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(timer.interval, 2000);
        fireAfter(2000);
        ASSERT_EQ(answers.size(), static_cast<std::size_t>(round + 1));
        EXPECT_EQ(timer.interval, 5000);
        fireAfter(4000);  // nearly out of time, then the answer comes
        answers.back()();
    }
    EXPECT_EQ(hung, 0);
    EXPECT_TRUE(dog.watching());
}

TEST_F(RendererWatchdogTest, SilentPageIsHungOnceItsBoundRunsOutOnTime) {
    dog.start();
    fireAfter(2000);
    fireAfter(4990);  // a timer a little early waits for the rest of the bound
    EXPECT_EQ(hung, 0);
    EXPECT_EQ(timer.interval, 10);
    fireAfter(10);
    EXPECT_EQ(hung, 1);
    EXPECT_FALSE(dog.watching());
    EXPECT_FALSE(timer.armed);
    answers.back()();  // an answer after the verdict changes nothing
    EXPECT_FALSE(timer.armed);
}

TEST_F(RendererWatchdogTest, BoundThatRanOutWhileTheProgramWasBusyStartsAfresh) {
    dog.start();
    fireAfter(2000);
    fireAfter(60000);  // the program itself did not run for a minute
    EXPECT_EQ(hung, 0);
    answers.back()();  // the answer was queued behind the program's work
    fireAfter(2000);
    fireAfter(5000);
    EXPECT_EQ(hung, 1);
}

TEST_F(RendererWatchdogTest, AnswersToQuestionsBeforeAStopOrReloadAreIgnored) {
    dog.start();
    fireAfter(2000);
    dog.stop();  // the page loads again
    EXPECT_FALSE(timer.armed);
    answers.back()();
    EXPECT_FALSE(timer.armed);
    dog.start();
    fireAfter(2000);
    answers.front()();  // the old question's answer does not stand for the new one
    fireAfter(5000);
    EXPECT_EQ(hung, 1);
}

}  // namespace
}  // namespace lodestar
