// The scratch pad of Instant Test in the real window.
#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

#include "ui/scratch_pad.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

using ScratchWindowTest = StartedSkinTest;

TEST_F(ScratchWindowTest, TheScratchPadMarksMatchesWhileAPatternIsTyped) {
    window->action("mClose")->trigger();
    ui::ScratchPad* pad = window->scratchPad();
    ASSERT_NE(pad, nullptr);
    ASSERT_TRUE(waitUntil([&] { return pad->isVisible(); }));
    pad->editor()->setPlainText(QStringLiteral("cat hat cap\ncot cut"));
    auto* box = widget<QPlainTextEdit>("inRepFrom");
    box->setFocus();
    box->clear();
    // Typed a key at a time: after each pause the marks follow the pattern as it stands.
    struct Step {
        const char* keys;
        int marks;
    };
    for (const Step& s : {Step{"c", 4}, Step{"a", 2}, Step{"t", 1}}) {
        QTest::keyClicks(box, QString::fromLatin1(s.keys));
        ASSERT_TRUE(waitUntil([&] { return pad->markCount() == s.marks; }))
            << box->toPlainText().toStdString() << ": " << pad->markCount() << " marks";
    }
    // An invalid pattern is marked in the pattern box, with the reason as its tip.
    QTest::keyClicks(box, QStringLiteral("("));
    ASSERT_TRUE(waitUntil([&] { return box->extraSelections().size() == 1; }));
    EXPECT_EQ(pad->markCount(), 0);
    EXPECT_FALSE(box->toolTip().isEmpty());
    QTest::keyClick(box, Qt::Key_Backspace);
    ASSERT_TRUE(waitUntil([&] { return box->extraSelections().isEmpty(); }));
    EXPECT_EQ(pad->markCount(), 1);
    // Typing into the text moves the marks too, and a replacement shows its result.
    pad->editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(pad->editor(), QStringLiteral(" cat"));
    ASSERT_TRUE(waitUntil([&] { return pad->markCount() == 2; }));
    widget<QPlainTextEdit>("inRepWith")->setPlainText(QStringLiteral("dog"));
    ASSERT_TRUE(waitUntil([&] { return pad->result()->isVisible(); }));
    ASSERT_TRUE(waitUntil([&] {
        return pad->result()->toPlainText() == QStringLiteral("dog hat cap\ncot cut dog");
    })) << pad->result()->toPlainText().toStdString();

    const char* target = std::getenv("LODESTAR_DIALOG_SCREENSHOTS");
    if (target) {
        window->move(0, 0);
        pad->editor()->setPlainText(QStringLiteral(
            "Order 1042 shipped 2024-03-18 to anna.berg@example.org (total: 58.90 EUR)\n"
            "Order 1043 shipped 2024-03-21 to j.ortiz@example.com  (total: 7.25 EUR)\n"
            "Order 1044 shipped 2024-04-02 to lee@example.net (total: 112.00 EUR)\n"));
        typePattern(u"(\\d{4})-(\\d\\d)-(\\d\\d)", u"$3.$2.$1");
        ASSERT_TRUE(waitUntil([&] { return pad->markCount() == 3; }));
        capture(QString::fromUtf8(target), "screenshot-scratch.png");
        typePattern(u"[\\w.]+@(\\w+\\.");
        ASSERT_TRUE(waitUntil([&] { return box->extraSelections().size() == 1; }));
        capture(QString::fromUtf8(target), "screenshot-scratch-invalid.png");
    }
}

}  // namespace
}  // namespace lodestar::testing
