// A pane page whose renderer stops answering: the window notices it, ends the renderer and
// shows the current file again, and the log says so.
#include <QWebEnginePage>
#include <QWebEngineScript>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class HungPageTest : public SkinTest {
  protected:
    void SetUp() override {
        SkinTest::SetUp();
        ui::PaneView::setWatchdogTiming({200, 1500});
    }
    void TearDown() override {
        ui::PaneView::setWatchdogTiming({});
        SkinTest::TearDown();
    }
    QString sourceText() {
        return dom(Pane::SuperMonitor, QStringLiteral("document.body.innerText")).toString();
    }
};

TEST_F(HungPageTest, APageThatStopsAnsweringComesBackWithTheCurrentFile) {
    makeProgramFolder();
    start();
    window->form().OpenFile(docs.put("first.txt", "the first file\n"));
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("the first")); }));
    const qint64 pid = view(Pane::SuperMonitor)->page()->renderProcessPid();

    view(Pane::SuperMonitor)
        ->page()
        ->runJavaScript(QStringLiteral("for (;;) {}"), QWebEngineScript::ApplicationWorld);
    // What the program writes while the page hangs is what the page shows when it is back.
    window->form().OpenFile(docs.put("second.txt", "the second file\n"));
    // Under load another pane may miss the test's short deadline too; this pane's line counts.
    const std::string line =
        "The page of the pane SuperMonitor stopped answering; it is shown again.";
    ASSERT_TRUE(waitUntil([&] { return logText().find(line) != std::string::npos; }, 20000))
        << logText();
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("the second")); }))
        << sourceText().toStdString();
    EXPECT_FALSE(sourceText().contains(QStringLiteral("the first")));
    EXPECT_NE(view(Pane::SuperMonitor)->page()->renderProcessPid(), pid);
    EXPECT_EQ(logText().find("stopped working"), std::string::npos) << logText();
}

}  // namespace
}  // namespace lodestar::testing
