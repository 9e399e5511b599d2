// The export dialog, the pattern assistant and the options dialog in the desktop window: each a
// modeless window of the main window, driven through its widgets.
#include <QComboBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <cstdlib>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class DialogsWindowTest : public SkinTest {
  protected:
    void SetUp() override {
        // The user's options file of this test lives in a folder of its own.
        setenv("XDG_CONFIG_HOME", (config.path()).c_str(), 1);
        makeProgramFolder();
        start();
    }
    // The window of a secondary form, once it shows.
    ui::FormWindow* shown(Form& secondary) {
        ui::FormWindow* w = nullptr;
        EXPECT_TRUE(waitUntil([&] {
            w = window->formWindow(secondary);
            return w && w->isVisible();
        })) << secondary.name();
        if (w) {
            EXPECT_EQ(w->parentWidget(), window.get());  // owned by the main window
        }
        return w;
    }
    // Picks an entry of a drop-down list as the user does.
    static void pick(ui::FormWindow* w, const std::string& name, int index) {
        auto* combo = qobject_cast<QComboBox*>(w->control(name));
        ASSERT_NE(combo, nullptr) << name;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void press(ui::FormWindow* w, const std::string& name) {
        ASSERT_NE(w->control(name), nullptr) << name;
        QTest::mouseClick(w->control(name), Qt::LeftButton);
    }
    std::string expected(const std::string& name) {
        return readBytes(std::filesystem::path(LODESTAR_SOURCE_DIR) / "tests/ui/expected" / name);
    }

    TempDir config;
};

TEST_F(DialogsWindowTest, ExportsAFolderSearchToTxtHtmlAndXml) {
    docs.put("a.htm", "<p>1</p><p>22</p>");
    docs.put("b.htm", "<p>333</p>");
    docs.put("c.htm", "<p>4444</p>");
    typePath(docs.folder());
    ASSERT_TRUE(waitUntil([&] { return form().MultiMode && folder().fileList().size() == 4; }));
    settle();
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::ListView, QStringLiteral("document.getElementsByName('chk').length"))
                   .toInt() == 3;
    }));
    dom(Pane::ListView, QStringLiteral("document.getElementsByName('chk')[1].click(); 1"));
    ASSERT_TRUE(waitUntil([&] { return !window->folderMode().IsFileChecked(2); }));
    typePattern(u"\\d+");
    click("btnFind");
    ASSERT_TRUE(waitUntil([&] { return !form().running() && widget("btnExp")->isEnabled(); }));

    struct Run {
        int type, delimiter;
        std::string file;
        bool throughDialog;
    };
    const Run runs[] = {
        {0, 0, "export.txt", true}, {1, 2, "export.htm", false}, {2, 0, "export.xml", true}};
    for (const Run& run : runs) {
        click("btnExp");
        ui::FormWindow* dialog = shown(window->exportForm());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export"));
        pick(dialog, "selExType", run.type);
        if (run.type != 2) pick(dialog, "selDelimiter", run.delimiter);
        EXPECT_EQ(dialog->control("selDelimiter")->isVisible(), run.type != 2);
        const std::u16string target = docs.file("out/" + run.file);
        std::filesystem::create_directories(docs.path() / "out");
        if (run.throughDialog) {
            QString title;
            onNextDialog([&title, target](QWidget* w) {
                auto* files = qobject_cast<QFileDialog*>(w);
                if (!files) return;
                title = files->windowTitle();
                acceptFileDialog(files, ui::toQ(target));
            });
            press(dialog, "setExFile");
            ASSERT_TRUE(waitUntil([&] { return !title.isEmpty(); }));
            EXPECT_EQ(title, QStringLiteral("Save As"));
        } else {
            auto* box = qobject_cast<QLineEdit*>(dialog->control("inExFileName"));
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, ui::toQ(target));
        }
        Seen done;
        answerMessage(QMessageBox::Ok, &done);
        press(dialog, "btnOK");
        ASSERT_TRUE(waitUntil([&] { return done.shown && !dialog->isVisible(); }))
            << done.text.toStdString() << "\n"
            << logText() << "\n"
            << toUtf8(window->exportForm().controls()["inExFileName"].text);
        EXPECT_EQ(done.text, QStringLiteral("Extraction finished."));
        EXPECT_EQ(docs.bytes("out/" + run.file), expected(run.file)) << run.file;
    }
    EXPECT_NE(logText().find("3 items extracted in 3 files"), std::string::npos);
}

TEST_F(DialogsWindowTest, TheAssistantComposesAGroupOfDigitsIntoThePatternBox) {
    EXPECT_EQ(widget("btnRegaid")->toolTip(), QStringLiteral(" Regex Assist"));
    typePattern(u"n=");
    click("btnRegaid");
    ui::FormWindow* assistant = shown(window->assistant());
    ASSERT_NE(assistant, nullptr);
    EXPECT_EQ(assistant->windowTitle(), QStringLiteral("RegEx Assistant"));
    auto* box = qobject_cast<QLineEdit*>(assistant->control("txtTmpReg"));
    ASSERT_NE(box, nullptr);
    pick(assistant, "selMetaChar", 0);  // Digit
    EXPECT_EQ(box->text(), QStringLiteral("\\d"));
    box->selectAll();
    pick(assistant, "selRepeat", 1);  // One or more
    box->selectAll();
    pick(assistant, "selLimit", 0);  // Group
    EXPECT_EQ(box->text(), QStringLiteral("(\\d+)"));
    EXPECT_EQ(box->cursorPosition(), 5);
    EXPECT_TRUE(assistant->control("btnUndo")->isEnabled());
    // Typed text reaches the composer where the caret is.
    box->setFocus();
    box->setCursorPosition(0);
    QTest::keyClicks(box, QStringLiteral("x"));
    EXPECT_EQ(window->assistant().composer().pattern(), u"x(\\d+)");
    EXPECT_EQ(box->cursorPosition(), 1);
    press(assistant, "btnOk");
    EXPECT_FALSE(assistant->isVisible());
    EXPECT_EQ(widget<QPlainTextEdit>("inRepFrom")->toPlainText(), QStringLiteral("n=x(\\d+)"));
}

TEST_F(DialogsWindowTest, TheOptionsDialogChangesTheFileTheSourceViewAndThePatternBox) {
    openThroughDialog(docs.put("page.htm", "<p>text</p>"));
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::SuperMonitor, QStringLiteral("!!document.getElementById('code')"))
            .toBool();
    }));
    key(Qt::Key_T, Qt::ControlModifier);
    ui::FormWindow* options = shown(window->optionSetting());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->windowTitle(), QStringLiteral("Options"));
    pick(options, "selFont", 5);              // Georgia
    pick(options, "selRegFontSize", 14 - 8);  // 14 points
    press(options, "Command1");
    EXPECT_FALSE(options->isVisible());

    EXPECT_EQ(config.bytes("lodestar/lodestar.opt"),
              "True\r\nbak\r\nTrue\r\n5\r\n1\r\n1\r\nCourier New\r\n14\r\n10\r\n");
    EXPECT_FALSE(std::filesystem::exists(program.path() / "lodestar.opt"));
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::SuperMonitor,
                   QStringLiteral("document.getElementById('code').style.fontFamily"))
            .toString()
            .contains(QStringLiteral("Georgia"));
    }));
    EXPECT_EQ(widget<QPlainTextEdit>("inRepFrom")->font().pointSizeF(), 14);
}

// The three dialogs, captured from the display for the documentation: runs only when
// LODESTAR_DIALOG_SCREENSHOTS names the folder to write the pictures to.
TEST_F(DialogsWindowTest, Screenshots) {
    const char* folder = std::getenv("LODESTAR_DIALOG_SCREENSHOTS");
    if (!folder) GTEST_SKIP() << "no screenshots asked for";
    window->move(0, 0);
    openThroughDialog(docs.put("page.htm", "<p>Order 1234, 56 items</p>\r\n"));
    typePattern(u"\\d+");
    click("btnFind");
    settle();
    auto capture = [&](Form& secondary, const char* name) {
        ui::FormWindow* w = shown(secondary);
        ASSERT_NE(w, nullptr);
        w->move(420, 160);
        QTest::qWait(1200);
        const QString picture =
            QString::fromUtf8(folder) + QStringLiteral("/") + QString::fromLatin1(name);
        ASSERT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(picture));
        secondary.hide();
    };
    click("btnExp");
    window->exportForm().select("selExType", 1);
    window->exportForm().typeText("inExFileName", u"/home/me/orders/numbers.htm");
    capture(window->exportForm(), "screenshot-export.png");
    click("btnRegaid");
    window->assistant().select("selMetaChar", 0);
    window->assistant().selectText("txtTmpReg", 0, 2);
    window->assistant().select("selRepeat", 1);
    capture(window->assistant(), "screenshot-assistant.png");
    key(Qt::Key_T, Qt::ControlModifier);
    capture(window->optionSetting(), "screenshot-options.png");
}

}  // namespace
}  // namespace lodestar::testing
