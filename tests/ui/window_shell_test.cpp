// The window shell through the desktop skin: controls, menus, panes, help and desktop habits.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QWebEngineView>

#include "settings/window_state.h"
#include "ui/help_window.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class ShellTest : public StartedSkinTest {
  protected:
    // Drags the file over `target` and drops it there, as the desktop's file manager does.
    void drop(QWidget* target, const std::u16string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(ui::toQ(path))});
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
        settle();
    }
    QWidget* pageWidget(Pane p) { return view(p)->focusProxy() ? view(p)->focusProxy() : view(p); }
    ui::HelpWindow* helpWindow() { return window->findChild<ui::HelpWindow*>("HelpWindow"); }
    QString helpPage() { return helpWindow() ? helpWindow()->view()->url().fileName() : QString(); }
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
        ASSERT_TRUE(a && a->isEnabled()) << action;
        a->trigger();
        menu->close();
        QApplication::processEvents();
    }
};

// Each control of the main window and of every dialog has a widget of its kind showing the
// control's caption and state; each menu entry an action with its tick and enabled state.
TEST_F(ShellTest, EveryControlAndMenuEntryShowsItsControl) {
    key(Qt::Key_F3);
    EXPECT_TRUE(logText().empty()) << "F3 with no file does nothing: " << logText();
    click("btnOpenFolder");  // the dialogs are made on first use
    click("btnRegaid");
    key(Qt::Key_T, Qt::ControlModifier);
    window->exportForm().show();
    auto holds = [](QWidget* w, const Control& c) {
        const QString text = ui::toQ(c.text).replace("\r\n", "\n");
        if (auto* b = qobject_cast<QCheckBox*>(w)) return b->isChecked() == c.checked;
        if (auto* b = qobject_cast<QAbstractButton*>(w))  // less the access key's mark
            return QString(b->text()).remove(QLatin1Char('&')) == text;
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text() == text;
        if (auto* l = qobject_cast<QLineEdit*>(w)) return l->text() == text;
        if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText() == text;
        if (auto* b = qobject_cast<QComboBox*>(w))
            return b->count() == static_cast<int>(c.items.size());
        return true;
    };
    const std::map<ControlKind, const char*> kinds = {
        {ControlKind::Label, "QLabel"},       {ControlKind::Button, "QAbstractButton"},
        {ControlKind::CheckBox, "QCheckBox"}, {ControlKind::Combo, "QComboBox"},
        {ControlKind::TextBox, "QWidget"},    {ControlKind::Pane, "QWebEngineView"},
        {ControlKind::Frame, "QWidget"},      {ControlKind::Tree, "QTreeView"}};
    for (Form* f : std::initializer_list<Form*>{nullptr, &folder().picker(), &window->assistant(),
                                                &window->optionSetting(), &window->exportForm()}) {
        const ControlModel& model = f ? f->controls() : form().controls();
        for (const std::string& name : model.names()) {
            const Control& c = model[name];
            if (name == (f ? f->name() : "MainWindow") || !kinds.count(c.kind)) continue;
            QWidget* w = f ? window->formWindow(*f)->control(name) : window->control(name);
            ASSERT_TRUE(w && w->inherits(kinds.at(c.kind))) << name;
            EXPECT_TRUE(holds(w, c)) << name;
        }
    }

    for (const std::string& name : form().controls().names()) {
        const Control& c = form().controls()[name];
        QAction* a = window->action(name);
        if (c.kind != ControlKind::Menu || !a || a->isSeparator() || !c.visible) continue;
        EXPECT_EQ(a->isEnabled(), c.enabled) << name;
        EXPECT_TRUE(!a->isCheckable() || a->isChecked() == c.checked) << name;
    }
    // The menu entry and the check box twin follow each other.
    click("chkLine");
    EXPECT_TRUE(window->action("mLine")->isChecked());
    window->action("mLine")->trigger();
    EXPECT_FALSE(widget<QCheckBox>("chkLine")->isChecked());
}

TEST_F(ShellTest, UsedPatternsPopUpOnAnyPressOfItsButton) {
    openThroughDialog(docs.put("a.txt", "alpha beta alpha\r\n"));
    findByKey(u"al(p)ha");
    widget<QPlainTextEdit>("inRepFrom")->setPlainText(QStringLiteral("other"));
    QTest::mousePress(window->control("btnRegHis"), Qt::RightButton);
    QMenu* popup = window->usedRegexpMenu();
    ASSERT_TRUE(waitUntil([&] { return popup->isVisible(); }));
    ASSERT_EQ(popup->actions().size(), 2);  // no entry but the pattern used
    EXPECT_EQ(popup->actions().front()->text(), QStringLiteral("Clear History"));
    EXPECT_EQ(popup->actions().back()->text(), QStringLiteral("al(p)ha"));
    popup->actions().back()->trigger();
    popup->hide();
    EXPECT_EQ(widget<QPlainTextEdit>("inRepFrom")->toPlainText(), QStringLiteral("al(p)ha"));
}

// The toggle buttons show whether they are on and word wrap changes how the page wraps; the
// counter box holds the largest counts in normal colours; at the smallest size every control
// is still inside the window.
TEST_F(ShellTest, ToggleButtonsWordWrapCounterAndSmallestWindow) {
    openThroughDialog(docs.put("long.txt", std::string(3000, 'x') + "\r\n"));
    auto* wrap = widget<QToolButton>("btnWrap");
    auto* marks = widget<QToolButton>("btnViewIn");
    ASSERT_TRUE(wrap->isCheckable() && marks->isCheckable());
    EXPECT_TRUE(wrap->isChecked());
    EXPECT_FALSE(marks->isChecked());
    auto whiteSpace = [&] {
        return dom(Pane::SuperMonitor,
                   "getComputedStyle(document.getElementById('code'))"
                   ".whiteSpace")
            .toString();
    };
    for (bool wraps : {false, true}) {
        click("btnWrap");
        EXPECT_EQ(wrap->isChecked(), wraps);
        EXPECT_EQ(window->action("mWrap")->isChecked(), wraps);
        ASSERT_TRUE(waitUntil([&] { return whiteSpace() == (wraps ? "pre-wrap" : "pre"); }));
        EXPECT_EQ(
            dom(Pane::SuperMonitor, "document.documentElement.scrollWidth > innerWidth").toBool(),
            !wraps);
    }
    click("btnViewIn");
    settle();
    EXPECT_TRUE(marks->isChecked());
    EXPECT_TRUE(window->action("mViewIn")->isChecked());

    auto* counter = widget<QLineEdit>("matchNo");
    EXPECT_FALSE(counter->isEnabled());
    EXPECT_EQ(counter->palette().color(QPalette::Disabled, QPalette::Text),
              counter->palette().color(QPalette::Active, QPalette::Text));
    EXPECT_LE(counter->fontMetrics().horizontalAdvance("999999/999999"),
              counter->contentsRect().width() - 4);

    window->resize(200, 200);
    QTest::qWait(100);
    EXPECT_GE(window->width(), 700);
    EXPECT_GE(window->height(), 480);
    for (const char* name :
         {"selFile", "btnOpenFolder", "inputPath", "btnSave", "btnFind", "matchNo", "inRepFrom",
          "inRepWith", "logger", "SuperMonitor", "MatchView", "lblStatus"}) {
        QWidget* w = window->control(name);
        const QRect r(w->mapTo(window.get(), QPoint(0, 0)), w->size());
        EXPECT_TRUE(window->rect().contains(r)) << name;
        EXPECT_GE(r.height(), name == std::string("lblStatus") ? 10 : 18) << name;
    }
    EXPECT_GE(widget("inputPath")->width(), 80);
    EXPECT_GE(widget("inRepFrom")->height(), 40);
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
    EXPECT_EQ(left->width(), window->toPixels(form().controls()["Frame1"].geometry.width));
    EXPECT_EQ(window->control("SuperMonitor")->width(),
              window->toPixels(form().controls()["SuperMonitor"].geometry.width));
}

TEST_F(ShellTest, F1OpensTheHelpWindowWithoutALauncherAndItGoesBackAndForward) {
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
    window->close();
    EXPECT_FALSE(helpWindow()->isVisible()) << "the help goes with the window";
}

// Copy keeps the text as it is in the clipboard, also once the source view loses the focus;
// the pattern box turns it into a one-line pattern on paste, as "Use selection as pattern" does.
TEST_F(ShellTest, SourceContextMenuCopiesAndUsesTheSelectionAsPattern) {
    openThroughDialog(docs.put("a.txt", "a b\tc\r\nd\r\n"));
    click("btnViewIn");
    settle();
    choose("sourceSelectAll");
    ASSERT_TRUE(waitUntil([&] { return view(Pane::SuperMonitor)->hasSelection(); }, 5000));
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
    EXPECT_EQ(form().controls()["inRepFrom"].text, u"a b\\tc\\r\\nd\\r\\n");
}

// Ctrl+Enter in the pattern box finds; Ctrl+G, Ctrl+Shift+G and the arrow, Home and End keys in
// the match list step; a file opened puts the focus into the pattern box.
TEST_F(ShellTest, KeysFindAndStepThroughTheMatches) {
    drop(window->control("inRepWith"), docs.put("k.txt", "one two one one\r\n"));
    ASSERT_EQ(form().document().path, docs.file("k.txt"));
    EXPECT_TRUE(waitUntil([&] {
        return QApplication::focusWidget() == window->control("inRepFrom");
    })) << "the pattern box has the focus after a file opens";
    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    pattern->setPlainText(QStringLiteral("one"));
    QTest::keyClick(pattern, Qt::Key_Return, Qt::ControlModifier);
    settle();
    ASSERT_TRUE(waitUntil([&] { return counter() == QStringLiteral("1/3"); }));
    EXPECT_EQ(pattern->toPlainText(), QStringLiteral("one"));  // no line break typed

    const struct {
        QWidget* target;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* counter;
    } steps[] = {
        {window.get(), Qt::Key_G, Qt::ControlModifier, "2/3"},
        {window.get(), Qt::Key_G, Qt::ControlModifier, "3/3"},
        {window.get(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier, "2/3"},
        {pageWidget(Pane::MatchView), Qt::Key_Down, Qt::NoModifier, "3/3"},
        {pageWidget(Pane::MatchView), Qt::Key_Up, Qt::NoModifier, "2/3"},
        {pageWidget(Pane::MatchView), Qt::Key_Up, Qt::NoModifier, "1/3"},
        {pageWidget(Pane::MatchView), Qt::Key_End, Qt::NoModifier, "3/3"},
        {pageWidget(Pane::MatchView), Qt::Key_Home, Qt::NoModifier, "1/3"},
    };
    for (const auto& step : steps) {
        QApplication::setActiveWindow(window.get());
        step.target->setFocus();
        QTest::keyClick(step.target, step.key, step.modifiers);
        EXPECT_TRUE(waitUntil([&] { return counter() == QString::fromLatin1(step.counter); }))
            << step.counter << " was " << counter().toStdString();
    }
}

TEST_F(ShellTest, ADroppedFileOpensWhereverItLandsAndARecentOneOpensFromTheMenu) {
    const std::u16string first = docs.put("first.txt", "first\r\n");
    const std::u16string second = docs.put("second.txt", "second\r\n");
    drop(pageWidget(Pane::SuperMonitor), first);  // on the page: opened, not shown by the browser
    EXPECT_EQ(form().document().path, first);
    EXPECT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("first")); }));
    drop(window->control("logger"), second);
    EXPECT_EQ(form().document().path, second);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("second.txt \u2014 Lodestar"));

    auto* recent = window->findChild<QMenu*>(QStringLiteral("mRecent"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[1]->text(), QStringLiteral("&2  ") + ui::toQ(first));
    recent->actions()[1]->trigger();
    settle();
    EXPECT_EQ(form().document().path, first);
}

TEST_F(ShellTest, TheStateWrittenAtExitIsTakenUpByTheNextWindow) {
    const std::u16string path = docs.put("s.txt", "alpha beta\r\n");
    drop(window.get(), path);
    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    pattern->setPlainText(QStringLiteral("be(t)a"));
    QTest::keyClick(pattern, Qt::Key_Return, Qt::ControlModifier);
    settle();
    click("chkIgnoreCase");
    window->resize(900, 640);
    ASSERT_TRUE(waitUntil([&] { return window->size() == QSize(900, 640); }));
    window->close();
    const WindowState saved = loadWindowState(program.folder() + u"state/window-state");
    ASSERT_TRUE(saved.frame.has_value());
    EXPECT_EQ(saved.frame->width, 900);
    EXPECT_EQ(saved.recentFiles, std::vector<std::u16string>{path});
    EXPECT_EQ(saved.patterns, std::vector<std::u16string>{u"be(t)a"});
    EXPECT_EQ(saved.ignoreCase, false);

    // The next start: the remembered size wins over the usual first size.
    window.reset();
    start(std::nullopt);
    EXPECT_EQ(window->size(), QSize(900, 640));
    EXPECT_FALSE(widget<QCheckBox>("chkIgnoreCase")->isChecked());
    EXPECT_FALSE(window->action("mIgnore")->isChecked());
    EXPECT_TRUE(window->action("mRecent")->isEnabled());
    EXPECT_EQ(form().controls()["mRegs(1)"].text, u"be(t)a");
}

}  // namespace
}  // namespace lodestar::testing
