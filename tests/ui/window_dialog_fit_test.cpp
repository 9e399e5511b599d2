// Every dialog in the desktop window fits (also at scale 2), and takes Enter and Esc.
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

#include "ui/qt_services.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

using DialogFit = StartedSkinTest;

// The widgets of a dialog's controls, by name, as built.
std::vector<std::pair<std::string, QWidget*>> controlsOf(ui::FormWindow* w) {
    std::vector<std::pair<std::string, QWidget*>> out;
    for (const std::string& name : w->form().controls().names())
        if (QWidget* widget = w->control(name); widget && widget->isVisible())
            out.emplace_back(name, widget);
    return out;
}

// Where a widget lies in the window's own coordinates.
QRect inWindow(QWidget* widget, ui::FormWindow* w) {
    return QRect(widget->mapTo(w, QPoint(0, 0)), widget->size());
}

// Every control lies inside the window, apart from its siblings, tall enough, with its caption
// shown whole (a wrapping label: all its lines).
void expectFits(ui::FormWindow* w) {
    SCOPED_TRACE(w->form().name());
    const auto controls = controlsOf(w);
    for (const auto& [name, widget] : controls) {
        const QRect r = inWindow(widget, w);
        EXPECT_TRUE(w->rect().contains(r)) << name << " runs out of the window";
        auto* label = qobject_cast<QLabel*>(widget);
        auto* button = qobject_cast<QPushButton*>(widget);
        if (label && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
        } else if (button) {  // its style's least width aside, the caption with some margin
            const QString caption = button->text().remove(QLatin1Char('&'));
            EXPECT_LE(button->fontMetrics().horizontalAdvance(caption) + 12, button->width())
                << name << " is cut";
        } else if (label || qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_LE(widget->sizeHint().width(), widget->width()) << name << " is cut";
        }
        if (!label) {
            EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << name << " too low";
        }
        for (const auto& [other, o] : controls) {
            if (other < name && o->parentWidget() == widget->parentWidget()) {
                EXPECT_FALSE(r.intersects(inWindow(o, w))) << name << " overlaps " << other;
            }
        }
    }
}

TEST_F(DialogFit, EveryDialogFitsItsTextAndEscClosesIt) {
    docs.put("a.htm", "x");
    const std::pair<Form&, std::function<void()>> cases[] = {
        {folder().picker(), [&] { click("btnOpenFolder"); }},
        {window->exportForm(), [&] { window->exportForm().show(); }},
        {window->optionSetting(), [&] { key(Qt::Key_T, Qt::ControlModifier); }},
        {window->assistant(), [&] { click("btnRegaid"); }}};
    for (const auto& [form, open] : cases) {
        open();
        ui::FormWindow* w = shown(form);
        ASSERT_NE(w, nullptr);
        expectFits(w);
        if (&form == &window->exportForm()) {
            pick(w, "selExType", 2);  // XML: the delimiter's frame goes whole
            EXPECT_FALSE(w->control("framDelimiter")->isVisible());
            EXPECT_FALSE(w->control("lblSelect")->isVisible());
        }
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_TRUE(waitUntil([&] { return !w->isVisible(); })) << form.name();
    }
    // The picker keeps its controls apart when it grows.
    click("btnOpenFolder");
    ui::FormWindow* picker = shown(folder().picker());
    picker->resize(picker->width() * 3 / 2, picker->height() * 3 / 2);
    QApplication::processEvents();
    expectFits(picker);
    EXPECT_GT(picker->control("Dir1")->height(), picker->height() / 2);
}

// Enter reaches the window from a box or a list: the default button, unless the box acts on it
// itself.
TEST_F(DialogFit, EnterPressesTheDefaultButtonUnlessTheBoxActsOnIt) {
    // The picker: Enter in its own type box takes the type and stays; then OK.
    docs.put("a.htm", "x");
    docs.put("b.c", "x");
    click("btnOpenFolder");
    ui::FormWindow* picker = shown(folder().picker());
    folder().picker().typeText("Dir1", docs.folder());
    pick(picker, "filter", 5);
    auto* own = qobject_cast<QLineEdit*>(picker->control("newfilter"));
    ASSERT_TRUE(waitUntil([&] { return own->hasFocus(); }));
    QTest::keyClicks(own, QStringLiteral("c"));
    QTest::keyClick(own, Qt::Key_Return);
    EXPECT_TRUE(picker->isVisible());
    QTest::keyClick(picker->control("File1"), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return form().MultiMode() && folder().fileList().size() == 2; }));
    EXPECT_EQ(folder().fileList()[1], docs.folder() + u"b.c");
}

TEST_F(DialogFit, ThePickersFolderFollowsTheKeysAndAClickedBoxKeepsTheFocus) {
    std::filesystem::create_directories(docs.path() / "one");
    std::filesystem::create_directories(docs.path() / "two");
    click("btnOpenFolder");
    ui::FormWindow* picker = shown(folder().picker());
    folder().picker().typeText("Dir1", docs.folder() + u"one/");
    auto* tree = qobject_cast<QTreeView*>(picker->control("Dir1"));
    ASSERT_TRUE(
        waitUntil([&] { return tree->currentIndex().data().toString() == QStringLiteral("one"); }));
    // The chosen folder is scrolled into view.
    EXPECT_TRUE(waitUntil([&] {
        return tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex()));
    }));
    ASSERT_TRUE(
        waitUntil([&] { return tree->model()->rowCount(tree->currentIndex().parent()) == 2; }));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_TRUE(waitUntil([&] { return folder().picker().folder() == docs.folder() + u"two"; }))
        << toUtf8(folder().picker().folder());

    // With the own type shown, a click into Exclude types there.
    pick(picker, "filter", 5);
    auto* exclude = qobject_cast<QLineEdit*>(picker->control("exclude"));
    QTest::mouseClick(exclude, Qt::LeftButton);
    QTest::keyClicks(exclude, QStringLiteral("x"));
    QApplication::processEvents();
    EXPECT_EQ(exclude->text(), QStringLiteral("x"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(picker->control("newfilter"))->text(), QString());
    QTest::keyClick(picker, Qt::Key_Escape);
}

TEST_F(DialogFit, AMessageBoxIsWideEnoughForItsCaption) {
    ui::QtPrompts prompts;
    prompts.setParent(window.get());
    const QString caption = QStringLiteral("Lodestar - a caption longer than its text");
    int width = 0, wanted = 0;
    onNextDialog([&](QWidget* box) {
        width = box->width();
        wanted = box->fontMetrics().horizontalAdvance(caption) + 100;
        static_cast<QMessageBox*>(box)->accept();
    });
    prompts.message(u"Extraction finished.", ui::fromQ(caption));
    EXPECT_GE(width, wanted);
}

}  // namespace
}  // namespace lodestar::testing
