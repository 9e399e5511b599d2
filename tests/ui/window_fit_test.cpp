// The main window fits at its smallest size and at any scale, within the screen.
#include <QMenu>
#include <QToolButton>
#include <fstream>
#include <sstream>

#include "ui/window_fixture.h"

namespace lodestar::testing {
namespace {

class FitTest : public SkinTest {
  protected:
    void SetUp() override {
        makeProgramFolder();
        start(std::nullopt);  // the size the window chooses for itself
    }
    QRect rectOf(const std::string& name) {
        QWidget* w = window->control(name);
        return {w->mapTo(window.get(), QPoint(0, 0)), w->size()};
    }
    QRect screenRoom() const { return window->screen()->availableGeometry(); }

    // Every control named is shown inside the window, and none of them overlaps another.
    void expectApart(const std::vector<std::string>& names, const std::string& where) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const QRect a = rectOf(names[i]);
            EXPECT_TRUE(window->rect().contains(a)) << names[i] << " " << where;
            EXPECT_GT(a.width(), 0) << names[i] << " " << where;
            for (std::size_t j = i + 1; j < names.size(); ++j)
                EXPECT_FALSE(a.intersects(rectOf(names[j])))
                    << names[i] << " and " << names[j] << " " << where;
        }
    }
    // The widest texts each field carries are shown whole.
    void expectStatusHoldsItsTexts(const std::string& where) {
        MainWindow& f = form();
        f.controls().setText("lblEncoding", u"UTF-8 with BOM");
        f.controls().setText("lblLineEnds", u"Mixed");
        f.controls().setText("lblTotal", u"1000000000");
        f.controls().setText("matchNo", u"1000000/1000000");
        for (const char* name :
             {"Label1", "lblEncoding", "lblLineEnds", "Label4", "lblTotal", "Label5"}) {
            auto* label = widget<QLabel>(name);
            EXPECT_EQ(label->text(), ui::toQ(f.controls()[name].text)) << name << " " << where;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << name << " " << where;
        }
        auto* counter = widget<QLineEdit>("matchNo");
        EXPECT_LE(counter->fontMetrics().horizontalAdvance(counter->text()),
                  counter->contentsRect().width() - 4)
            << where;
        // A long status is shortened in the middle and read whole in its tooltip.
        const std::u16string longPath = u"/home/ann/" + std::u16string(300, u'x') + u"/end.txt";
        f.controls().setText("LblCurName", longPath);
        auto* name = widget<QLabel>("LblCurName");
        EXPECT_TRUE(name->text().endsWith(QStringLiteral("end.txt"))) << where;
        EXPECT_LE(name->fontMetrics().horizontalAdvance(name->text()), name->width()) << where;
        EXPECT_EQ(name->toolTip(), ui::toQ(longPath)) << where;
    }
    void checkLayout(const std::string& where) {
        QTest::qWait(50);
        expectApart({"Label1", "lblStatus", "lblEncoding", "lblLineEnds", "Label4", "lblTotal",
                     "Label5", "LblCurName"},
                    where);
        expectApart({"selFile", "btnOpenFolder", "inputPath", "btnViewIn", "btnWrap", "View_FS",
                     "View_ML", "btnFind", "btnPrev", "btnNext", "matchNo", "btnExp", "btnReplace",
                     "btnAction", "btnPreview", "btnApply", "btnRestore", "btnSave"},
                    where);
        expectApart({"lblReplace1", "chkIgnoreCase", "chkMultiline", "chkLine", "chkGlobal",
                     "inRepFrom", "Label2", "inRepWith", "logger", "pgBarBack"},
                    where);
        expectApart({"Frame1", "Frame2", "statusbar"}, where);
        EXPECT_GE(rectOf("inputPath").width(), 80) << "a usable path box " << where;
        // A command that shows a picture instead of its caption names itself in its tooltip.
        for (const char* name :
             {"btnFind", "btnExp", "btnReplace", "btnAction", "btnPreview", "btnApply"}) {
            auto* button = widget<QToolButton>(name);
            if (button->toolButtonStyle() != Qt::ToolButtonIconOnly) continue;
            EXPECT_FALSE(button->icon().pixmap(16).isNull()) << name << " " << where;
            EXPECT_FALSE(button->toolTip().trimmed().isEmpty()) << name << " " << where;
        }
        EXPECT_GE(rectOf("pgBarBack").height(), 6) << where;
        EXPECT_EQ(rectOf("pgBarFore").width(), 0) << where;  // nothing is under way
        expectStatusHoldsItsTexts(where);
    }
};

TEST_F(FitTest, NothingOverlapsOrIsCutAtTheChosenAndTheSmallestSize) {
    checkLayout("at the chosen size");
    window->resize(1, 1);
    QTest::qWait(100);
    EXPECT_LE(window->width(), screenRoom().width());
    checkLayout("at the smallest size");
}

// Whatever the scale factor (QT_SCALE_FACTOR), the windows open within the screen; a frame the
// screen had to bound is not what the next start takes over.
TEST_F(FitTest, WindowsOpenWithinTheScreenAndABoundedFrameIsNotKept) {
    EXPECT_LE(window->width(), screenRoom().width());
    EXPECT_LE(window->height(), screenRoom().height());
    window->action("mContents")->trigger();
    QWidget* help = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("lodestar::ui::HelpWindow") && top->isVisible()) help = top;
        return help != nullptr;
    }));
    EXPECT_LE(help->width(), screenRoom().width());
    EXPECT_LE(help->height(), screenRoom().height());
    help->close();

    const bool bounded = window->width() < 1100;  // the designed first size did not fit
    window->close();
    std::ifstream file(program.path() / "state" / "window-state");
    std::stringstream state;
    state << file.rdbuf();
    EXPECT_EQ(state.str().find("frame=") == std::string::npos, bounded) << state.str();
}

// Show Syntax off: the highlighted tags look like the text around them; on: they stand out.
TEST_F(FitTest, ShowSyntaxSwitchesTheHighlightingInThePage) {
    openThroughDialog(docs.put("page.htm", "<p class=\"x\">text</p>\r\n"));
    auto colours = [&] {
        return dom(Pane::SuperMonitor,
                   "var c = document.getElementById('code'); var b = c.querySelector('b,i,u,s');"
                   "getComputedStyle(b).color + '|' + getComputedStyle(c).color")
            .toString();
    };
    for (bool on : {false, true}) {
        Options options = form().currentOptions();
        options.showSyntax = on;
        form().applyOptions(options);
        settle();
        ASSERT_TRUE(waitUntil([&] {
            const QStringList both = colours().split(u'|');
            return both.size() == 2 && (both[0] != both[1]) == on;
        })) << on
            << " " << colours().toStdString();
    }
}

// From the keyboard: Ctrl+H opens the patterns used, and a number typed into the counter moves
// to that match.
TEST_F(FitTest, TheKeyboardReachesTheHistoryAndTheCounter) {
    openThroughDialog(docs.put("k.txt", "a b a b a\r\n"));
    findByKey(u"a");
    key(Qt::Key_H, Qt::ControlModifier);
    QMenu* popup = window->usedRegexpMenu();
    ASSERT_TRUE(waitUntil([&] { return popup->isVisible(); }));
    EXPECT_EQ(popup->actions().back()->text(), QStringLiteral("a"));
    popup->hide();
    auto* counter = widget<QLineEdit>("matchNo");
    ASSERT_TRUE(counter->isEnabled());
    counter->setFocus();
    counter->selectAll();
    QTest::keyClicks(counter, QStringLiteral("3"));
    QTest::keyClick(counter, Qt::Key_Return);
    EXPECT_EQ(form().file().curMatch(), 3);
    EXPECT_EQ(counter->text(), QStringLiteral("3/3"));
}

}  // namespace
}  // namespace lodestar::testing
