// The export dialog, the assistant and the preview in the desktop window, and the pictures.
#include <QTreeView>
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
    click("btnOpenFolder");
    folder().picker().typeText("Dir1", docs.folder());
    auto* tree = qobject_cast<QTreeView*>(window->formWindow(folder().picker())->control("Dir1"));
    ASSERT_TRUE(waitUntil([&] {
        return tree->currentIndex().data().toString() ==
               QString::fromStdString(docs.path().filename().string());
    }));
    dialog(folder().picker(), "screenshot-picker.png");

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

// The preview: changes shown, unticked in the page, applied and compared byte for byte.
class PreviewWindowTest : public StartedSkinTest {
  protected:
    QVariant page(const QString& script) { return dom(Pane::SuperMonitor, script); }
    // Clicks the tick link with this id in the diff, as the user does.
    void clickTick(const QString& id) {
        ASSERT_TRUE(waitUntil([&] {
            return page(QStringLiteral("!!document.getElementById('%1')").arg(id)).toBool();
        }));
        page(QStringLiteral("document.getElementById('%1').click(); 1").arg(id));
    }
};

TEST_F(PreviewWindowTest, UntickAFileAndAChangeThenApply) {
    const std::string index =
        "<ul>\n<li><a href=\"http://example.org/news\">News</a></li>\n"
        "<li><a href=\"https://example.org/shop\">Shop</a></li>\n"
        "<li><a href=\"http://example.org/blog\">Blog</a></li>\n"
        "<li><a href=\"http://example.org/help\">Help</a></li>\n</ul>\n";
    docs.put("index.htm", index);
    docs.put("about.htm", "<p>Write to <a href=\"http://example.org/mail\">us</a>.</p>\r\n");
    docs.put("links.htm",
             "<a href=\"http://example.org/a\">A</a>\n<a href=\"http://b.example\">B</a>\n");
    openThroughPicker();
    settle();
    typePattern(u"href=\"http://", u"href=\"https://");
    click("btnPreview");
    waitForRun();
    ASSERT_TRUE(waitUntil(
        [&] { return sourceText().contains(QStringLiteral("https://example.org/news")); }));
    EXPECT_TRUE(widget("btnApply")->isEnabled());
    EXPECT_EQ(docs.bytes("index.htm"), index) << "a preview writes nothing";

    // index.htm is the third file: its second change (the blog link) is left out, and so is
    // links.htm as a whole.
    clickTick(QStringLiteral("pc1_1"));
    ASSERT_TRUE(waitUntil([&] { return cell(2, 3) == "2 of 3 changes ticked"; }));
    clickTick(QStringLiteral("pf2"));
    ASSERT_TRUE(waitUntil([&] { return cell(3, 3) == "not ticked"; }));
    EXPECT_EQ(page("document.getElementById('pc1_1').textContent").toString(),
              QStringLiteral("\u2610"));

    if (const char* target = std::getenv("LODESTAR_DIALOG_SCREENSHOTS")) {
        window->move(0, 0);
        capture(QString::fromUtf8(target), "screenshot-preview.png");
    }

    click("btnApply");
    waitForRun();
    EXPECT_EQ(docs.bytes("about.htm"),
              "<p>Write to <a href=\"https://example.org/mail\">us</a>.</p>\r\n");
    EXPECT_EQ(docs.bytes("index.htm"),
              "<ul>\n<li><a href=\"https://example.org/news\">News</a></li>\n"
              "<li><a href=\"https://example.org/shop\">Shop</a></li>\n"
              "<li><a href=\"http://example.org/blog\">Blog</a></li>\n"
              "<li><a href=\"https://example.org/help\">Help</a></li>\n</ul>\n");
    EXPECT_EQ(docs.bytes("links.htm"),
              "<a href=\"http://example.org/a\">A</a>\n<a href=\"http://b.example\">B</a>\n");
    EXPECT_FALSE(widget("btnApply")->isEnabled());
}

}  // namespace
}  // namespace lodestar::testing
