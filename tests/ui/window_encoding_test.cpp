// The desktop window on a UTF-8 page: the status bar names the encoding, a pattern with an
// accented letter finds it (ignoring case), and Save writes UTF-8 back, every other byte as it
// was; the View menu reopens the file in another encoding.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>

#include "ui/window_fixture.h"

namespace lodestar::testing {
namespace {

class EncodingWindowTest : public StartedSkinTest {
  protected:
    QString encodingShown() { return widget<QLabel>("lblEncoding")->text(); }
    // Types text that may hold letters beyond ASCII, one key event per character.
    void type(QWidget* box, const QString& text) {
        box->setFocus();
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
    }
};

TEST_F(EncodingWindowTest, FindReplaceAndSaveOnAUtf8Page) {
    const std::string page =
        "<html><body>\r\n<p>Un caf\xC3\xA9, deux caf\xC3\xA9s, CAF\xC3\x89 \xE4\xB8\xAD\xE6\x96\x87"
        "</p>\r\n</body></html>\r\n";
    openThroughDialog(docs.put("page.htm", page));
    EXPECT_EQ(encodingShown(), QStringLiteral("UTF-8"));
    ASSERT_NE(window->action("mEnc1252"), nullptr);
    EXPECT_TRUE(window->action("mEnc1252")->isEnabled());

    type(widget<QPlainTextEdit>("inRepFrom"), QStringLiteral("caf\u00E9"));
    key(Qt::Key_F3);
    settle();
    ASSERT_TRUE(waitUntil([&] { return counter() == "1/3"; }))
        << counter().toStdString() << logText();
    EXPECT_TRUE(dom(Pane::SuperMonitor, QStringLiteral("document.body.innerText"))
                    .toString()
                    .contains(QStringLiteral("CAF\u00C9 \u4E2D\u6587")));

    type(widget<QPlainTextEdit>("inRepWith"), QStringLiteral("th\u00E9"));
    answerMessage(QMessageBox::Ok);
    click("btnReplace");
    ASSERT_TRUE(waitUntil([&] { return window->control("btnSave")->isEnabled(); }));
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !window->control("btnSave")->isEnabled(); }));
    EXPECT_EQ(
        docs.bytes("page.htm"),
        "<html><body>\r\n<p>Un th\xC3\xA9, deux th\xC3\xA9s, th\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87"
        "</p>\r\n</body></html>\r\n");
    EXPECT_EQ(encodingShown(), QStringLiteral("UTF-8"));

    // The View menu reads the same bytes as Windows-1252.
    window->action("mEnc1252")->trigger();
    ASSERT_TRUE(waitUntil([&] { return encodingShown() == QStringLiteral("Windows-1252"); }));
    EXPECT_NE(toUtf8(window->form().document().text).find("th\xC3\x83\xC2\xA9"), std::string::npos);
}

}  // namespace
}  // namespace lodestar::testing
