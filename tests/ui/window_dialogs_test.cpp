// The export dialog, the pattern assistant and the options dialog in the desktop window: each a
// modeless window of the main window, driven through its widgets; and the pictures of the
// window and its dialogs for the documentation.
#include <cstdlib>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

using DialogsWindowTest = StartedSkinTest;

// A folder search with one file unticked, exported to each format: through the file dialog or
// a typed name, each file as expected.
TEST_F(DialogsWindowTest, ExportsAFolderSearchToTxtHtmlAndXml) {
    docs.put("a.htm", "<p>1</p><p>22</p>");
    docs.put("b.htm", "<p>333</p>");
    docs.put("c.htm", "<p>4444</p>");
    typePath(docs.folder());
    ASSERT_TRUE(waitUntil([&] { return form().MultiMode() && folder().fileList().size() == 4; }));
    settle();
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::ListView, "document.getElementsByName('chk').length").toInt() == 3;
    }));
    dom(Pane::ListView, "document.getElementsByName('chk')[1].click(); 1");
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(2); }));
    typePattern(u"\\d+");
    click("btnFind");
    ASSERT_TRUE(waitUntil([&] { return !form().running() && widget("btnExp")->isEnabled(); }));

    const struct {
        int type, delimiter;
        std::string file;
        bool throughDialog;
    } runs[] = {
        {0, 0, "export.txt", true}, {1, 2, "export.htm", false}, {2, 0, "export.xml", true}};
    std::filesystem::create_directories(docs.path() / "out");
    for (const auto& run : runs) {
        click("btnExp");
        ui::FormWindow* dialog = shown(window->exportForm());
        ASSERT_NE(dialog, nullptr);
        pick(dialog, "selExType", run.type);
        if (run.type != 2) pick(dialog, "selDelimiter", run.delimiter);
        EXPECT_EQ(dialog->control("selDelimiter")->isVisible(), run.type != 2);
        const std::u16string target = docs.file("out/" + run.file);
        if (run.throughDialog) {
            QString caption;
            answerFileDialog(target, &caption);
            press(dialog, "setExFile");  // a press into the box opens the dialog too
            ASSERT_TRUE(waitUntil([&] { return !caption.isEmpty(); }));
            EXPECT_EQ(caption, QStringLiteral("Save As"));
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
            << logText();
        EXPECT_EQ(done.text, QStringLiteral("Extraction finished."));
        EXPECT_EQ(
            docs.bytes("out/" + run.file),
            readBytes(std::filesystem::path(LODESTAR_SOURCE_DIR) / "tests/ui/expected" / run.file))
            << run.file;
    }
}

// The assistant's box follows the composer's caret, and typed text reaches the composer where
// the caret is.
TEST_F(DialogsWindowTest, TheAssistantComposesAGroupOfDigitsIntoThePatternBox) {
    typePattern(u"n=");
    click("btnRegaid");
    ui::FormWindow* assistant = shown(window->assistant());
    ASSERT_NE(assistant, nullptr);
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
    box->setFocus();
    box->setCursorPosition(0);
    QTest::keyClicks(box, QStringLiteral("x"));
    EXPECT_EQ(window->assistant().composer().pattern(), u"x(\\d+)");
    EXPECT_EQ(box->cursorPosition(), 1);
    press(assistant, "btnOk");
    EXPECT_FALSE(assistant->isVisible());
    EXPECT_EQ(widget<QPlainTextEdit>("inRepFrom")->toPlainText(), QStringLiteral("n=x(\\d+)"));
}

// The options go to the user's options file, never the program folder, and the chosen font
// reaches the source page and the pattern box.
TEST_F(DialogsWindowTest, TheOptionsDialogChangesTheFileTheSourceViewAndThePatternBox) {
    openThroughDialog(docs.put("page.htm", "<p>text</p>"));
    ASSERT_TRUE(waitUntil(
        [&] { return dom(Pane::SuperMonitor, "!!document.getElementById('code')").toBool(); }));
    key(Qt::Key_T, Qt::ControlModifier);
    ui::FormWindow* options = shown(window->optionSetting());
    ASSERT_NE(options, nullptr);
    // The installed fonts, fixed-pitch first: the last one is not the one shown now.
    const std::vector<std::u16string>& fonts = window->optionSetting().controls()["selFont"].items;
    ASSERT_GE(fonts.size(), 2u);
    const std::string chosen = toUtf8(trimSpaces(fonts.back()));
    pick(options, "selFont", static_cast<int>(fonts.size()) - 1);
    pick(options, "selRegFontSize", 14 - 8);  // 14 points
    press(options, "Command1");
    EXPECT_FALSE(options->isVisible());

    EXPECT_EQ(program.bytes("config-home/lodestar/lodestar.opt"),
              "True\r\nbak\r\nTrue\r\n" + chosen + "\r\n1\r\n1\r\nCourier New\r\n14\r\n10\r\n");
    EXPECT_FALSE(std::filesystem::exists(program.path() / "lodestar.opt"));
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::SuperMonitor, "document.getElementById('code').style.fontFamily")
            .toString()
            .contains(QString::fromStdString(chosen));
    }));
    EXPECT_EQ(widget<QPlainTextEdit>("inRepFrom")->font().pointSizeF(), 14);
}

// The pictures of docs/: runs only when LODESTAR_DIALOG_SCREENSHOTS names the folder to write
// them to; LODESTAR_SCREENSHOT_FOLDER names a folder of pages for the folder-mode picture.
TEST_F(DialogsWindowTest, Screenshots) {
    const char* target = std::getenv("LODESTAR_DIALOG_SCREENSHOTS");
    if (!target) GTEST_SKIP() << "no screenshots asked for";
    const QString pictures = QString::fromUtf8(target);
    window->move(0, 0);
    openThroughDialog(docs.put("notes.html", readBytes(std::filesystem::path(LODESTAR_SOURCE_DIR) /
                                                       "tests/ui/expected/notes.html")));
    findByKey(u"[\\w.]+@[\\w.]+\\.\\w+");
    click("btnNext");
    ASSERT_TRUE(waitUntil([&] { return counter().startsWith(QStringLiteral("2/")); }));
    capture(pictures, "screenshot-search.png");

    openThroughDialog(docs.put("page.htm", "<p>Order 1234, 56 items</p>\r\n"));
    findByKey(u"\\d+");
    auto dialog = [&](Form& secondary, const char* name) {
        ui::FormWindow* w = shown(secondary);
        ASSERT_NE(w, nullptr);
        w->move(420, 160);
        capture(pictures, name);
        secondary.hide();
    };
    click("btnExp");
    window->exportForm().select("selExType", 1);
    window->exportForm().typeText("inExFileName", u"/home/me/orders/numbers.htm");
    dialog(window->exportForm(), "screenshot-export.png");
    click("btnRegaid");
    window->assistant().select("selMetaChar", 0);
    window->assistant().selectText("txtTmpReg", 0, 2);
    window->assistant().select("selRepeat", 1);
    dialog(window->assistant(), "screenshot-assistant.png");
    key(Qt::Key_T, Qt::ControlModifier);
    dialog(window->optionSetting(), "screenshot-options.png");

    key(Qt::Key_F1);
    window->action("mExample")->trigger();
    QWidget* help = window->findChild<QWidget*>("HelpWindow");
    ASSERT_TRUE(waitUntil([&] { return help && help->windowTitle().endsWith("Examples"); }));
    help->resize(860, 600);
    capture(pictures, "screenshot-help.png", help);
    help->hide();

    // Folder mode after a search, one file unticked and one selected.
    const char* site = std::getenv("LODESTAR_SCREENSHOT_FOLDER");
    if (!site) return;
    typePath(fromUtf8(site));
    dom(Pane::ListView, "document.getElementsByName('chk')[13].click(); 1");
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(14); }));
    typePattern(u"href=\"http://[^\"]*\"", u"");
    click("btnFind");
    waitForRun();
    dom(Pane::ListView, "document.querySelector(\"a[href='#9']\").click(); 1");
    ASSERT_TRUE(waitUntil([&] { return folder().selectedRow() == 9; }));
    settle();
    capture(pictures, "screenshot-folder.png");
}

}  // namespace
}  // namespace lodestar::testing
