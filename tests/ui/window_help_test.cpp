// Help inside the program and a window that tells the truth: F1 opens the help window with no
// launcher on the machine, Back and Forward go through the pages; the source view's context
// menu, copying from it and pasting into the pattern box; toggle buttons, the counter box and
// the smallest window.
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <QWebEngineView>

#include "ui/help_window.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class HelpAndViewTest : public StartedSkinTest {
  protected:
    ui::HelpWindow* helpWindow() { return window->findChild<ui::HelpWindow*>("HelpWindow"); }
    QString helpPage() {
        ui::HelpWindow* help = helpWindow();
        return help ? help->view()->url().fileName() : QString();
    }
    // Opens the source view's context menu, as a right click in it does.
    QMenu* contextMenu() {
        view(Pane::SuperMonitor)->setFocus(Qt::MouseFocusReason);
        view(Pane::SuperMonitor)->customContextMenuRequested(QPoint(20, 20));
        QMenu* menu = nullptr;
        waitUntil([&] {
            menu = view(Pane::SuperMonitor)->findChild<QMenu*>("sourceContextMenu");
            return menu && menu->isVisible();
        });
        return menu;
    }
    void choose(const char* action) {
        QMenu* menu = contextMenu();
        ASSERT_NE(menu, nullptr);
        QAction* a = menu->findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        ASSERT_TRUE(a->isEnabled()) << action;
        a->trigger();
        menu->close();
        QApplication::processEvents();
    }
};

TEST_F(HelpAndViewTest, F1OpensTheHelpWindowWithoutALauncherAndItGoesBackAndForward) {
    // No program to open files or web pages: an empty search path.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", ui::toQ(docs.folder()).toUtf8());
    key(Qt::Key_F1);
    ASSERT_TRUE(waitUntil([&] { return helpWindow() && helpWindow()->isVisible(); }));
    ASSERT_TRUE(waitUntil([&] { return helpWindow()->windowTitle() == "Lodestar 1.4 Help"; }));
    EXPECT_EQ(helpPage(), "index.htm");

    window->action("mExample")->trigger();
    ASSERT_TRUE(waitUntil([&] { return helpWindow()->windowTitle() == "Lodestar 1.4 Examples"; }));
    QAction* back = helpWindow()->findChild<QAction*>("helpBack");
    QAction* forward = helpWindow()->findChild<QAction*>("helpForward");
    ASSERT_TRUE(back && forward);
    ASSERT_TRUE(waitUntil([&] { return back->isEnabled(); }));
    back->trigger();
    ASSERT_TRUE(waitUntil([&] { return helpPage() == "index.htm" && forward->isEnabled(); }));
    forward->trigger();
    ASSERT_TRUE(waitUntil([&] { return helpPage() == "examples.htm"; }));
    qputenv("PATH", path);

    // The picture of the help window for the documentation (checked by eye in docs/).
    helpWindow()->resize(860, 600);
    QTest::qWait(600);
    EXPECT_TRUE(
        helpWindow()->grab().save(QStringLiteral(LODESTAR_BUILD_DIR "/screenshot-help.png")));
    window->close();
    EXPECT_FALSE(helpWindow()->isVisible()) << "the help goes with the window";
}

// Copy keeps the text as it is in the clipboard, also once the source view loses the focus;
// the pattern box turns it into a one-line pattern on paste, as "Use selection as pattern" does.
TEST_F(HelpAndViewTest, SourceContextMenuCopiesAndUsesTheSelectionAsPattern) {
    openThroughDialog(docs.put("a.txt", "a b\tc\r\nd\r\n"));
    click("btnViewIn");
    settle();
    QMenu* menu = contextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (QAction* a : menu->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    EXPECT_EQ(names, (QStringList{"sourceCopy", "sourceSelectAll", "-", "sourceUseAsPattern"}));
    menu->close();

    choose("sourceSelectAll");
    ASSERT_TRUE(waitUntil([&] { return view(Pane::SuperMonitor)->hasSelection(); }, 5000))
        << dom(Pane::SuperMonitor, "String(window.getSelection())").toString().toStdString();
    choose("sourceUseAsPattern");
    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    EXPECT_EQ(pattern->toPlainText(), "a b\\tc\\r\\nd\\r\\n");

    QGuiApplication::clipboard()->clear();
    choose("sourceCopy");
    ASSERT_TRUE(waitUntil([&] { return !QGuiApplication::clipboard()->text().isEmpty(); }));
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(u'\n')) << copied.toStdString();
    pattern->setFocus();
    QTest::qWait(200);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied) << "the clipboard is left alone";
    pattern->clear();
    QTest::keyClick(pattern, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pattern->toPlainText(), "a b\\tc\\r\\nd\\r\\n");
    EXPECT_EQ(window->form().controls()["inRepFrom"].text, u"a b\\tc\\r\\nd\\r\\n");
}

// The toggle buttons show whether they are on, the counter box holds the largest counts in
// normal colours, and at the smallest size every control is still inside the window.
TEST_F(HelpAndViewTest, ToggleButtonsCounterAndSmallestWindow) {
    openThroughDialog(docs.put("a.txt", "some text\r\n"));
    auto* wrap = widget<QToolButton>("btnWrap");
    auto* marks = widget<QToolButton>("btnViewIn");
    ASSERT_TRUE(wrap->isCheckable() && marks->isCheckable());
    EXPECT_TRUE(wrap->isChecked());
    EXPECT_FALSE(marks->isChecked());
    click("btnWrap");
    click("btnViewIn");
    settle();
    EXPECT_FALSE(wrap->isChecked());
    EXPECT_TRUE(marks->isChecked());
    EXPECT_FALSE(window->action("mWrap")->isChecked());
    EXPECT_TRUE(window->action("mViewIn")->isChecked());

    auto* counter = widget<QLineEdit>("matchNo");
    EXPECT_FALSE(counter->isEnabled());
    EXPECT_EQ(counter->palette().color(QPalette::Disabled, QPalette::Text),
              counter->palette().color(QPalette::Active, QPalette::Text));
    const int needed = counter->fontMetrics().horizontalAdvance("999999/999999");
    EXPECT_LE(needed, counter->contentsRect().width() - 4);

    window->resize(200, 200);
    QTest::qWait(100);
    EXPECT_GE(window->width(), 700);
    EXPECT_GE(window->height(), 480);
    const QRect inside = window->rect();
    for (const char* name :
         {"selFile", "btnOpenFolder", "inputPath", "btnSave", "btnFind", "matchNo", "inRepFrom",
          "inRepWith", "logger", "SuperMonitor", "MatchView", "lblStatus"}) {
        QWidget* w = window->control(name);
        const QRect r(w->mapTo(window.get(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << name;
        EXPECT_GE(r.height(), name == std::string("lblStatus") ? 10 : 18) << name;
    }
    EXPECT_GE(widget("inputPath")->width(), 80);
    EXPECT_GE(widget("inRepFrom")->height(), 40);
}

}  // namespace
}  // namespace lodestar::testing
