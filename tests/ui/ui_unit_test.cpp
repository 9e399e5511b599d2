// Parts of the skin that need no display: script calls, the work runner, and the guard around
// every call from the skin into the form (a failure becomes a log entry with its reason, the
// caller gets its fallback, nothing escapes into the event loop).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <atomic>
#include <chrono>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>

#include "core/text.h"
#include "fakes/desktop_fakes.h"
#include "fakes/scripted_prompts.h"
#include "ui/cell_batch.h"
#include "ui/desktop_app.h"
#include "ui/form_guard.h"
#include "ui/pane_script.h"
#include "ui/qt_text.h"
#include "ui/qt_work_runner.h"

namespace lodestar::ui {
namespace {

TEST(PaneScriptTest, TextTravelsAsJsonDataNeverAsScript) {
    const QString hostile = QStringLiteral("'); alert(1); //</script>\"\\\n\u2028");
    const QString call = paneCall("setBody", {hostile});
    const QString prefix = QStringLiteral("__lodestarPane.setBody.apply(null, ");
    ASSERT_TRUE(call.startsWith(prefix)) << call.toStdString();
    ASSERT_TRUE(call.endsWith(u')'));
    // The argument list is one JSON array that decodes to exactly the text given.
    const QString json = call.mid(prefix.size()).chopped(1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    EXPECT_EQ(doc.array().at(0).toString(), hostile);
    // Outside the JSON string, no quote, bracket or parenthesis of the text appears.
    EXPECT_EQ(json.count(u'\''), 1);
}

// A batch of cell changes is written as it comes; the page must get exactly the texts given,
// whatever they hold, and never a text read as script.
TEST(PaneScriptTest, CellChangesTravelAsJsonThatDecodesToTheTextsGiven) {
    const std::u16string hostile = u"</script>'\"\\\n\t\x01\u2028\u2029 caf\u00e9 \U0001F600";
    CellBatch batch;
    batch.add(u"infoList", 16, hostile, true);
    batch.add(u"infoList", 17, u"", false);
    EXPECT_EQ(batch.size(), 2u);
    const QString call = batch.takeCall();
    EXPECT_TRUE(batch.empty());
    const QString prefix = QStringLiteral("__lodestarPane.setCells.apply(null, ");
    ASSERT_TRUE(call.startsWith(prefix)) << call.toStdString();
    const QString json = call.mid(prefix.size()).chopped(1);
    QJsonParseError error;
    const QJsonArray changes = QJsonDocument::fromJson(json.toUtf8(), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    const QJsonArray cells = changes.at(0).toArray();
    ASSERT_EQ(cells.size(), 8);
    EXPECT_EQ(cells.at(0).toString(), QStringLiteral("infoList"));
    EXPECT_EQ(cells.at(1).toInt(), 16);
    EXPECT_EQ(cells.at(2).toString(), toQ(hostile));
    EXPECT_TRUE(cells.at(3).toBool());
    EXPECT_EQ(cells.at(5).toInt(), 17);
    EXPECT_FALSE(cells.at(7).toBool());
    // The line separators and the control character are escaped: the call is one script line.
    EXPECT_FALSE(call.contains(QChar(0x2028)) || call.contains(QChar(0x01)) ||
                 call.contains(u'\n'));
    // An empty batch is still a valid call, with no changes.
    EXPECT_TRUE(batch.takeCall().endsWith(QStringLiteral("[[]])")));

    // A lone surrogate (a broken name) stays what it is instead of breaking the call.
    QString lone;
    appendJsonString(lone, std::u16string(1, char16_t(0xd800)) + u"x");
    EXPECT_EQ(lone, QStringLiteral("\"\\ud800x\""));
}

TEST(DesktopAppTest, OnlyARasterizerOnTheProcessorCountsAsSoftware) {
    for (const char* name :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer", "swrast"})
        EXPECT_TRUE(softwareRasterizer(name)) << name;
    for (const char* name : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "AMD Radeon RX 6600",
                             "NVIDIA GeForce RTX 3060/PCIe/SSE2", ""})
        EXPECT_FALSE(softwareRasterizer(name)) << name;
}

// A run started while another works waits in line instead of holding up the caller; each run's
// reports come before its finished call, and the runs keep the order they were started in.
TEST(WorkRunnerTest, RunsQueueInOrderWithoutBlockingTheCaller) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QtWorkRunner runner;
    std::string seen;  // written on this thread only
    std::atomic<bool> release{false}, work1Done{false};
    runner.start(
        [&] {
            for (int i = 0; i < 500 && !release; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            runner.post([&] { seen += "report1 "; });
            work1Done = true;
        },
        [&] { seen += "finished1 "; });
    runner.start([&] { runner.post([&] { seen += "report2 "; }); },
                 [&] {
                     seen += "finished2";
                     app.quit();
                 });
    EXPECT_FALSE(work1Done) << "the second start waited for the first run";
    release = true;
    app.exec();
    EXPECT_EQ(seen, "report1 finished1 report2 finished2");
}

// A runner destroyed while its work waits for an answer neither hangs nor runs what was left:
// the run not begun, the question and the report after it are dropped.
TEST(WorkRunnerTest, DestroyingTheRunnerDropsWhatIsLeft) {
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    std::atomic<int> ran{0};
    std::atomic<bool> asking{false};
    {
        QtWorkRunner runner;
        runner.start(
            [&] {
                asking = true;
                runner.ask([&] { ++ran; });
                runner.post([&] { ++ran; });
            },
            [&] { ++ran; });
        runner.start([&] { ++ran; }, [&] { ++ran; });
        while (!asking) std::this_thread::yield();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 0);
}

class FormGuardTest : public ::testing::Test {
  protected:
    std::string log() const { return toUtf8(form.controls()["logger"].text); }

    fakes::ScriptedPrompts prompts;
    fakes::FakeClipboard clipboard;
    fakes::FakeTimer timer;
    fakes::FakeShell shell;
    MainWindow form{u"/nonexistent/", WindowServices{prompts, clipboard, timer, shell}};
};

TEST_F(FormGuardTest, AFailureBecomesALogEntryWithItsReasonAndTheFallback) {
    struct Case {
        const char* name;
        std::function<bool()> call;
        const char* reason;
    };
    const Case cases[] = {
        {"an engine error", []() -> bool { throw Error("the disk is gone"); }, "the disk is gone"},
        {"memory exhaustion", []() -> bool { throw std::bad_alloc(); }, "Not enough memory."},
        {"not an exception class", []() -> bool { throw 42; }, "An unknown failure."},
    };
    for (const Case& c : cases) {
        const std::size_t before = log().size();
        EXPECT_FALSE(guarded(form, false, c.call)) << c.name;
        EXPECT_EQ(log().substr(before),
                  std::string("Err:The last action failed.\r\n") + c.reason + "\r\n")
            << c.name;
        EXPECT_EQ(toUtf8(form.controls()["lblStatus"].text), "The last action failed.");
    }
}

}  // namespace
}  // namespace lodestar::ui
