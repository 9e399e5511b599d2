// The real window's desktop habits: Ctrl+G and Ctrl+Shift+G, Ctrl+Enter in the pattern box, the
// arrow keys in the match list, the focus after opening, a dropped file, Recent Files, and the
// state written when the window closes and taken up by the next window.
#include <QCheckBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include "settings/window_state.h"
#include "ui/window_fixture.h"

namespace lodestar::testing {
namespace {

class HabitsTest : public StartedSkinTest {
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
};

TEST_F(HabitsTest, KeysFindAndStepThroughTheMatches) {
    drop(window->control("inRepWith"), docs.put("k.txt", "one two one one\r\n"));
    ASSERT_EQ(toUtf8(window->form().document().path), toUtf8(docs.file("k.txt")));
    EXPECT_TRUE(waitUntil([&] {
        return QApplication::focusWidget() == window->control("inRepFrom");
    })) << "the pattern box has the focus after a file opens";

    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    pattern->setPlainText(QStringLiteral("one"));
    QTest::keyClick(pattern, Qt::Key_Return, Qt::ControlModifier);
    settle();
    ASSERT_TRUE(waitUntil([&] { return counter() == QStringLiteral("1/3"); }))
        << counter().toStdString();
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
    };
    for (const auto& step : steps) {
        QApplication::setActiveWindow(window.get());
        step.target->setFocus();
        QTest::keyClick(step.target, step.key, step.modifiers);
        EXPECT_TRUE(waitUntil([&] { return counter() == QString::fromLatin1(step.counter); }))
            << step.counter << " was " << counter().toStdString();
    }
    EXPECT_EQ(window->action("mPrev")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+G")));
    EXPECT_EQ(window->control("btnPrev")->toolTip(),
              QStringLiteral(" Previous Match (Ctrl+Shift+G) "));
}

TEST_F(HabitsTest, ADroppedFileOpensWhereverItLandsAndARecentOneOpensFromTheMenu) {
    const std::u16string first = docs.put("first.txt", "first\r\n");
    const std::u16string second = docs.put("second.txt", "second\r\n");
    drop(pageWidget(Pane::SuperMonitor), first);  // on the page: opened, not shown by the browser
    EXPECT_EQ(window->form().document().path, first);
    EXPECT_TRUE(waitUntil([&] {
        return dom(Pane::SuperMonitor, QStringLiteral("document.body.innerText"))
            .toString()
            .contains(QStringLiteral("first"));
    }));
    drop(window->control("logger"), second);
    EXPECT_EQ(window->form().document().path, second);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("second.txt \u2014 Lodestar"));

    auto* recent = window->findChild<QMenu*>(QStringLiteral("mRecent"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[1]->text(), QStringLiteral("&2  ") + ui::toQ(first));
    recent->actions()[1]->trigger();
    settle();
    EXPECT_EQ(window->form().document().path, first);
}

TEST_F(HabitsTest, TheStateWrittenAtExitIsTakenUpByTheNextWindow) {
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
    EXPECT_EQ(saved.frame->height, 640);
    EXPECT_EQ(saved.recentFiles, std::vector<std::u16string>{path});
    EXPECT_EQ(saved.patterns, std::vector<std::u16string>{u"be(t)a"});
    EXPECT_EQ(saved.ignoreCase, false);

    // The next start: the remembered size wins over the usual first size.
    window.reset();
    window = std::make_unique<ui::SkinWindow>(program.folder(), program.folder() + u"state/");
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    settle();
    EXPECT_EQ(window->size(), QSize(900, 640));
    EXPECT_FALSE(widget<QCheckBox>("chkIgnoreCase")->isChecked());
    EXPECT_FALSE(window->action("mIgnore")->isChecked());
    EXPECT_TRUE(window->action("mRecent")->isEnabled());
    ASSERT_TRUE(window->form().controls().has("mRegs(1)"));
    EXPECT_EQ(window->form().controls()["mRegs(1)"].text, u"be(t)a");
}

}  // namespace
}  // namespace lodestar::testing
