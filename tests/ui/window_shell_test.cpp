// The window shell through the desktop skin: menus and tool strip as designed, the pop-up of
// used patterns, the about box, word wrap in the page, splitters, a start with missing or
// damaged data files, and the screenshot of a search for the documentation.
#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "forms/main/help_pages.h"
#include "ui/about_box.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

using ShellTest = StartedSkinTest;

TEST_F(ShellTest, MenuBarAndToolStripShowTheDesignedCommands) {
    QStringList titles;
    for (QAction* a : window->menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Process", "&View", "&Tools", "&Help"}));

    QStringList file;
    for (QAction* a : window->findChild<QMenu*>("mnuTask")->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(file, (QStringList{"&Open File", "Open &Folder", "&Recent Files", "Instant &Test",
                                 "&Save", "Save &As...", "-", "E&xit"}));

    struct Entry {
        const char* name;
        const char* keys;
        bool enabled;
        bool checkable;
        bool checked;
    };
    // Each state a menu entry takes from its control: shortcut, enabled, checkable, checked.
    for (const Entry& e :
         {Entry{"mOpenFile", "Ctrl+O", true, false, false},
          Entry{"mSave", "Ctrl+S", false, false, false},
          Entry{"mSaveAs", "Ctrl+Shift+S", false, false, false},
          Entry{"mPrev", "Ctrl+Shift+G", false, false, false},
          Entry{"mFsrc", "", false, true, true}, Entry{"mMlist", "", true, true, true},
          Entry{"mLine", "", true, true, false}}) {
        QAction* a = window->action(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(e.keys))) << e.name;
        EXPECT_EQ(a->isEnabled(), e.enabled) << e.name;
        EXPECT_EQ(a->isCheckable(), e.checkable) << e.name;
        EXPECT_EQ(a->isChecked(), e.checked) << e.name;
    }
    EXPECT_EQ(window->action("mAbout")->text(), QStringLiteral("&About "));
    EXPECT_EQ(window->control("btnNext")->toolTip(), QStringLiteral(" Next Match (Ctrl+G) "));
    EXPECT_EQ(widget<QToolButton>("View_FS")->text(), QStringLiteral("fs"));
    EXPECT_FALSE(widget<QToolButton>("selFile")->icon().isNull());
    EXPECT_EQ(widget<QLabel>("Label5")->text(), QStringLiteral("Current File:"));

    // F3 with no file does nothing; the menu and the check box twins follow each other.
    key(Qt::Key_F3);
    EXPECT_TRUE(logText().empty()) << logText();
    click("chkLine");
    EXPECT_TRUE(window->action("mLine")->isChecked());
    window->action("mLine")->trigger();
    EXPECT_FALSE(widget<QCheckBox>("chkLine")->isChecked());
    EXPECT_FALSE(window->action("mLine")->isChecked());
}

TEST_F(ShellTest, UsedPatternsPopUpOnAnyPressOfItsButton) {
    openThroughDialog(docs.put("a.txt", "alpha beta alpha\r\n"));
    findByKey(u"al(p)ha");
    widget<QPlainTextEdit>("inRepFrom")->setPlainText(QStringLiteral("other"));

    onNextDialog([](QWidget*) {});  // no dialog expected; the pop-up is not modal
    QTest::mousePress(window->control("btnRegHis"), Qt::RightButton);
    QMenu* popup = window->usedRegexpMenu();
    ASSERT_TRUE(waitUntil([&] { return popup->isVisible(); }));
    QStringList entries;
    for (QAction* a : popup->actions()) entries << a->text();
    ASSERT_GE(entries.size(), 3);
    EXPECT_EQ(entries.front(), QStringLiteral("Clear History"));
    EXPECT_EQ(entries.back(), QStringLiteral("al(p)ha"));
    popup->actions().back()->trigger();
    popup->hide();
    EXPECT_EQ(widget<QPlainTextEdit>("inRepFrom")->toPlainText(), QStringLiteral("al(p)ha"));
}

TEST_F(ShellTest, TheAboutBoxIsMadeOnceAndShowsTheBannerAndHomePage) {
    window->action("mAbout")->trigger();
    ui::AboutBox* about = window->aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Lodestar"));
    EXPECT_EQ(about->banner()->toPlainText(),
              ui::toQ(aboutBanner()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_EQ(about->link()->text(), ui::toQ(kHomePage));
    EXPECT_FALSE(about->logo()->pixmap().isNull());
    about->findChild<QPushButton*>("Command1")->click();
    EXPECT_FALSE(about->isVisible());
    window->action("mAbout")->trigger();
    EXPECT_EQ(window->aboutBox(), about) << "the box is made once and shown again";
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(ShellTest, WordWrapTogglesHowThePreformattedSourceWraps) {
    openThroughDialog(docs.put("long.txt", std::string(3000, 'x') + "\r\n"));
    auto whiteSpace = [&] {
        return dom(Pane::SuperMonitor,
                   QStringLiteral("getComputedStyle(document.getElementById('code')).whiteSpace"))
            .toString();
    };
    auto wrap = [&] { return ui::toQ(window->form().pane(Pane::SuperMonitor).codeWordWrap()); };
    auto scrollsSideways = [&] {
        return dom(Pane::SuperMonitor,
                   QStringLiteral("document.documentElement.scrollWidth > window.innerWidth"))
            .toBool();
    };
    for (int press = 0; press < 2; ++press) {
        click("btnWrap");
        const bool wraps = wrap() == QStringLiteral("break-word");
        ASSERT_TRUE(waitUntil([&] {
            return whiteSpace() == (wraps ? QStringLiteral("pre-wrap") : QStringLiteral("pre"));
        })) << whiteSpace().toStdString();
        EXPECT_EQ(scrollsSideways(), !wraps);
    }
}

TEST_F(ShellTest, DraggingTheVerticalSplitterResizesTheLeftPanel) {
    QWidget* splitter = window->control("splitter");
    QWidget* left = window->control("Frame1");
    const int before = left->width();
    const int splitterX = splitter->x();
    const QPoint grip(splitter->width() / 2, splitter->height() / 2);
    QTest::mousePress(splitter, Qt::LeftButton, {}, grip);
    EXPECT_TRUE(window->control("splitshad")->isVisible()) << "the grey shadow shows the drag";
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(120, 0)),
                     splitter->mapToGlobal(QPointF(grip + QPoint(120, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(splitter, &move);
    EXPECT_EQ(left->width(), before) << "nothing but the shadow moves during the drag";
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, grip + QPoint(120, 0));
    EXPECT_FALSE(window->control("splitshad")->isVisible());
    // The left panel ends where the pointer let go.
    EXPECT_NEAR(left->width(), splitterX + grip.x() + 120, 2);
    EXPECT_GT(left->width(), before);
    const Rect& model = window->form().controls()["Frame1"].geometry;
    EXPECT_EQ(left->width(), window->toPixels(model.width));
    EXPECT_EQ(window->control("SuperMonitor")->width(),
              window->toPixels(window->form().controls()["SuperMonitor"].geometry.width));
}

using DamagedProgramFolder = SkinTest;

TEST_F(DamagedProgramFolder, StartsWithMissingOrDamagedDataFilesAndSaysWhatCannotWork) {
    makeProgramFolder({"lib", "help"});
    program.put("lodestar.opt", std::string("\xff\xfe garbage\r\n\x01\x02", 15));
    start();
    EXPECT_TRUE(window->isVisible());
    const std::string log = logText();
    EXPECT_NE(log.find("Err:Missing lib/ml.tmp: the match list uses a built-in page."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Err:Missing help/index.htm"), std::string::npos) << log;

    // Searching still works, with the built-in pages.
    openThroughDialog(docs.put("a.txt", "one two one\r\n"));
    findByKey(u"one");
    EXPECT_EQ(counter(), QStringLiteral("1/2"));
    EXPECT_EQ(entriesInPage(), 2);
}

// A search in a real HTML page, several matches, the second one current, at 1280x800. The
// picture goes to the build folder; docs/ holds a copy checked by eye.
TEST_F(ShellTest, ScreenshotOfASearch) {
    window->move(0, 0);
    std::string page =
        "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n  <meta charset=\"utf-8\">\r\n"
        "  <title>Field notes</title>\r\n  <link rel=\"stylesheet\" href=\"notes.css\">\r\n"
        "  <!-- kept short on purpose -->\r\n</head>\r\n<body>\r\n"
        "  <h1 class=\"title\">Field notes</h1>\r\n"
        "  <p>Contact: <a href=\"mailto:ana@example.org\">ana@example.org</a></p>\r\n"
        "  <ul id=\"team\">\r\n"
        "    <li data-role=\"lead\">Ana Ruiz &lt;ana@example.org&gt;</li>\r\n"
        "    <li data-role=\"editor\">Ben Okafor &lt;ben.okafor@example.net&gt;</li>\r\n"
        "    <li data-role=\"review\">Chen Li &lt;chen@example.com&gt;</li>\r\n"
        "  </ul>\r\n  <p class=\"note\">Send corrections to "
        "<a href=\"mailto:notes@example.org\">notes@example.org</a>.</p>\r\n"
        "  <table>\r\n    <tr><th>Day</th><th>Entry</th></tr>\r\n"
        "    <tr><td>Mon</td><td>Survey of the north ridge</td></tr>\r\n"
        "    <tr><td>Tue</td><td>Samples sent to lab@example.com</td></tr>\r\n"
        "  </table>\r\n</body>\r\n</html>\r\n";
    openThroughDialog(docs.put("notes.html", page));
    findByKey(u"[\\w.]+@[\\w.]+\\.\\w+");
    click("btnNext");
    ASSERT_TRUE(waitUntil([&] { return counter().startsWith(QStringLiteral("2/")); }));
    QTest::qWait(600);  // let the panes paint
    const QPixmap shot =
        window->screen()->grabWindow(0, window->geometry().x(), window->geometry().y(), 1280, 800);
    const QString target = QStringLiteral(LODESTAR_BUILD_DIR "/screenshot-search.png");
    ASSERT_TRUE(shot.save(target)) << target.toStdString();
}

}  // namespace
}  // namespace lodestar::testing
