// Large files through the desktop window: big and tall pages, pieces, renderers that fail.
#include <signal.h>

#include <QWebEnginePage>
#include <QWebEngineScript>
#include <sstream>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

// About 7 MB of markup with `links` links spread over it.
std::string largePage(int links) {
    std::ostringstream s;
    s << "<html><body>\n";
    for (int i = 0; i < links; ++i) {
        s << "<div class=\"row\"><a href=\"https://example.org/item/" << i << "\">item " << i
          << "</a></div>\n";
        for (int f = 0; f < 4; ++f)
            s << "<p>filler text for line " << i << "." << f
              << " of the generated page, long enough</p>\n";
    }
    s << "</body></html>\n";
    return s.str();
}

class LargeFileTest : public SkinTest {
  protected:
    void TearDown() override {
        ui::PaneView::setWatchdogTiming({});
        SkinTest::TearDown();
    }
    QVariant page(const QString& script) { return dom(Pane::SuperMonitor, script); }
};

using PiecesTest = LargeFileTest;

TEST_F(LargeFileTest, GoesToAFarMatchOfASevenMegabytePageAndThenShowsASmallFile) {
    makeProgramFolder();
    start();
    const std::string text = largePage(23539);
    ASSERT_GT(text.size(), 6'500'000u);
    openLarge(docs.put("big.htm", text));
    typePattern(u"href=\"([^\"]+)\"");
    click("btnFind");
    ASSERT_TRUE(waitUntil([&] { return counter() == QStringLiteral("1/23539"); }, 30000))
        << counter().toStdString();
    ASSERT_TRUE(waitUntil([&] { return markTop(1) < 99999; }));

    form().file().goToMatch(20000);  // as a click on its entry does
    EXPECT_EQ(counter(), QStringLiteral("20000/23539"));
    ASSERT_TRUE(waitUntil([&] { return markTop(20000) >= 0 && markTop(20000) < 100; }))
        << markTop(20000);
    EXPECT_NEAR(markTop(20000), 20, 4);
    // Next shows the following entry as current in the list, scrolled into view.
    click("btnNext");
    EXPECT_EQ(counter(), QStringLiteral("20001/23539"));
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::MatchView,
                   "(function(){var e=document.querySelector('li[data-k=\"20000\"]');"
                   "if (!e) return '';var t=e.getBoundingClientRect().top;"
                   "return t >= 0 && t < innerHeight ? e.style.backgroundColor : '';})()")
                   .toString() == QStringLiteral("rgb(230, 230, 230)");
    }));
    ASSERT_TRUE(waitUntil([&] { return markTop(20001) < 99999; }));
    EXPECT_EQ(markBackground(20000), QString());
    // The page holds only what is near the viewport.
    EXPECT_LT(marksInPage(), 3000);

    form().OpenFile(docs.put("small.txt", "just a small file\n"));
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("just a small")); }))
        << sourceText().left(200).toStdString();
    EXPECT_FALSE(sourceText().contains(QStringLiteral("example.org")));
}

// A renderer killed, or one that stops answering, comes back with the current file: what the
// program wrote while it hung is what the page shows when it is back.
TEST_F(LargeFileTest, APageWhoseRendererDiesOrHangsComesBackWithTheCurrentFile) {
    ui::PaneView::setWatchdogTiming({200, 1500});
    makeProgramFolder();
    start();
    std::string text;
    for (int i = 0; i < 6000; ++i) text += "line " + std::to_string(i) + " of the current file\n";
    form().OpenFile(docs.put("current.txt", text));
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("line 0 of")); }));
    ::kill(static_cast<pid_t>(view(Pane::SuperMonitor)->page()->renderProcessPid()), SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return logText().find("stopped working") != std::string::npos; }))
        << logText();
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("line 0 of")); }));

    const qint64 pid = view(Pane::SuperMonitor)->page()->renderProcessPid();
    const std::size_t logged = logText().size();
    view(Pane::SuperMonitor)
        ->page()
        ->runJavaScript(QStringLiteral("for (;;) {}"), QWebEngineScript::ApplicationWorld);
    form().OpenFile(docs.put("second.txt", "the second file\n"));
    // Under load another pane may miss the test's short deadline too; this pane's line counts.
    const std::string line =
        "The page of the pane SuperMonitor stopped answering; it is shown again.";
    ASSERT_TRUE(waitUntil([&] { return logText().find(line) != std::string::npos; }, 20000))
        << logText();
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("the second")); }))
        << sourceText().toStdString();
    EXPECT_FALSE(sourceText().contains(QStringLiteral("line 0 of")));
    EXPECT_NE(view(Pane::SuperMonitor)->page()->renderProcessPid(), pid);
    EXPECT_EQ(logText().find("stopped working", logged), std::string::npos) << "a hang, no crash";
}

TEST_F(LargeFileTest, OpensAFileFromAProgramFolderThatCannotBeWritten) {
    namespace fs = std::filesystem;
    makeProgramFolder();
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(program.path()))
            names.push_back(e.path().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    for (const auto& e : fs::recursive_directory_iterator(program.path()))
        fs::permissions(e.path(),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    fs::permissions(program.path(), fs::perms::owner_write, fs::perm_options::remove);
    const auto before = listing();
    start();

    std::string text;
    while (text.size() < 200'000)
        text += "<tr><td>cell " + std::to_string(text.size()) + "</td></tr>\n";
    form().OpenFile(docs.put("table.htm", text));
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("cell 0")); }));
    EXPECT_EQ(logText().find("Err:"), std::string::npos) << logText();
    EXPECT_EQ(listing(), before);
    fs::permissions(program.path(), fs::perms::owner_all, fs::perm_options::add);
}

// A far match stays pinned below the top while pieces of other heights than estimated arrive
// around it and when word wrap changes; a selection survives a move that sends its piece again;
// the lines held stay in order.
TEST_F(PiecesTest, AFarMatchStaysPinnedAndTheLinesStayInOrder) {
    makeProgramFolder();
    start();
    std::string text;  // long lines that wrap, so the wrapped pieces are taller than estimated
    for (int i = 0; i < 4000; ++i)
        text += "line " + std::to_string(i) + std::string(230, '.') + (i % 40 ? "\n" : " mark\n");
    openLarge(docs.put("long.txt", text));
    findByKey(u"mark");
    ASSERT_EQ(counter(), QStringLiteral("1/100"));

    form().file().goToMatch(90);
    ASSERT_TRUE(waitUntil([&] { return markTop(90) == 20; })) << markTop(90);
    QTest::qWait(500);  // the pieces around it arrive
    EXPECT_EQ(markTop(90), 20);
    click("btnWrap");
    ASSERT_TRUE(waitUntil([&] { return markTop(90) == 20; })) << markTop(90);

    // Text selected in the current piece stays selected when Next sends that piece again.
    const QString selected = QStringLiteral("String(getSelection())");
    page(
        "getSelection().selectAllChildren(document.querySelector("
        "'em[data-k=\"89\"]').parentNode); ''");
    const QString before = page(selected).toString();
    ASSERT_FALSE(before.isEmpty());
    form().file().nextMatch();
    ASSERT_TRUE(waitUntil([&] { return markTop(91) == 20; })) << markTop(91);
    EXPECT_EQ(page(selected).toString(), before);

    // Scrolled up by hand, the page shows text on screen and its lines in order.
    page("window.dispatchEvent(new WheelEvent('wheel')); window.scrollBy(0, -3 * innerHeight); ''");
    const QString check = QStringLiteral(
        "(function(){var n=(document.getElementById('code').innerText.match(/line \\d+/g)||[])"
        ".map(function(s){return +s.slice(5);});var e=[0.1,0.5,0.9].every(function(f){"
        "var x=document.elementFromPoint(40,innerHeight*f);return x&&x.textContent.length>0;});"
        "return e&&n.length>0&&n.every(function(v,i){return !i||v>n[i-1];});})()");
    EXPECT_TRUE(waitUntil([&] { return page(check).toBool(); }));

    // Back to a match whose piece was dropped in between and comes again.
    for (int k : {2, 91}) {
        form().file().goToMatch(k);
        EXPECT_TRUE(waitUntil([&] { return markTop(k) == 20; })) << k << ": " << markTop(k);
    }
}

// A document estimated taller than the page engine lays out precisely is shown with scaled
// spacers: the page stays short, and a match far down, the middle and the end are all reached.
TEST_F(PiecesTest, ATallDocumentIsScaledAndItsEndIsReached) {
    makeProgramFolder();
    start();
    page("__lodestarPane.setTallest(100000); ''");
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "line " + std::to_string(i) + (i == 100000 ? " mark\n" : "\n");
    openLarge(docs.put("tall.txt", text + "mark THE END\n"));
    findByKey(u"mark");
    ASSERT_EQ(counter(), QStringLiteral("1/2"));
    const int height = page("innerHeight").toInt();
    EXPECT_TRUE(waitUntil([&] { return markTop(1) == 20; })) << markTop(1);
    EXPECT_LT(page("document.documentElement.scrollHeight").toInt(), 100000 + 10 * height);
    form().file().goToMatch(2);
    EXPECT_TRUE(waitUntil([&] { return markTop(2) >= 0 && markTop(2) < height; })) << markTop(2);
    form().file().goToMatch(1);
    EXPECT_TRUE(waitUntil([&] { return markTop(1) == 20; })) << markTop(1);

    // Scrolled to the bottom by hand from the middle, the page shows the last line.
    page(
        "window.dispatchEvent(new WheelEvent('wheel'));"
        "scrollTo(0, document.documentElement.scrollHeight); ''");
    EXPECT_TRUE(waitUntil([&] {
        return page(
                   "(function(){var e=document.querySelector('em[data-k=\"1\"]');"
                   "if(!e)return false;var r=e.getBoundingClientRect();"
                   "return r.top>=0&&r.bottom<=innerHeight;})()")
            .toBool();
    }));
}

}  // namespace
}  // namespace lodestar::testing
