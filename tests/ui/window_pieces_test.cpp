// A long file in the source view, shown a piece at a time: a far match stays pinned below the
// top while pieces of other heights than estimated arrive around it and when word wrap changes,
// a selection survives a move that sends its piece again, and the lines held stay in order.
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class PiecesTest : public StartedSkinTest {
  protected:
    QVariant page(const QString& script) { return dom(Pane::SuperMonitor, script); }
    // Where mark k is in the viewport (99999 when it is not shown gold).
    int markTop(int k) {
        return page(QStringLiteral("(function(){var e=document.querySelector('em[data-k=\"%1\"]');"
                                   "return e && e.style.backgroundColor == 'gold' ? "
                                   "Math.round(e.getBoundingClientRect().top) : 99999;})()")
                        .arg(k - 1))
            .toInt();
    }
};

TEST_F(PiecesTest, AFarMatchStaysPinnedAndTheLinesStayInOrder) {
    std::string text;  // long lines that wrap, so the wrapped pieces are taller than estimated
    for (int i = 0; i < 4000; ++i)
        text += "line " + std::to_string(i) + std::string(230, '.') + (i % 40 ? "\n" : " mark\n");
    answerMessage(QMessageBox::Ok);  // the question about large files
    form().OpenFile(docs.put("long.txt", text));
    settle();
    findByKey(u"mark");
    ASSERT_EQ(counter(), QStringLiteral("1/100"));

    form().goToMatch(90);
    ASSERT_TRUE(waitUntil([&] { return markTop(90) == 20; })) << markTop(90);
    QTest::qWait(500);  // the pieces around it arrive
    EXPECT_EQ(markTop(90), 20);
    click("btnWrap");
    ASSERT_TRUE(waitUntil([&] { return markTop(90) == 20; })) << markTop(90);

    // Text selected in the current piece stays selected when Next sends that piece again.
    const QString selected = QStringLiteral("String(getSelection())");
    page(
        QStringLiteral("getSelection().selectAllChildren(document.querySelector("
                       "'em[data-k=\"89\"]').parentNode); ''"));
    const QString before = page(selected).toString();
    ASSERT_FALSE(before.isEmpty());
    form().nextMatch();
    ASSERT_TRUE(waitUntil([&] { return markTop(91) == 20; })) << markTop(91);
    EXPECT_EQ(page(selected).toString(), before);

    // Scrolled up by hand, the page shows text on screen and its lines in order.
    page(
        QStringLiteral("window.dispatchEvent(new WheelEvent('wheel'));"
                       "window.scrollBy(0, -3 * innerHeight); ''"));
    const QString check = QStringLiteral(
        "(function(){var n=(document.getElementById('code').innerText.match(/line \\d+/g)||[])"
        ".map(function(s){return +s.slice(5);});var e=[0.1,0.5,0.9].every(function(f){"
        "var x=document.elementFromPoint(40,innerHeight*f);return x&&x.textContent.length>0;});"
        "return e&&n.length>0&&n.every(function(v,i){return !i||v>n[i-1];});})()");
    EXPECT_TRUE(waitUntil([&] { return page(check).toBool(); }));

    // Back to a match whose piece was dropped in between and comes again.
    for (int k : {2, 91}) {
        form().goToMatch(k);
        EXPECT_TRUE(waitUntil([&] { return markTop(k) == 20; })) << k << ": " << markTop(k);
    }
}

// A document estimated taller than the page engine lays out precisely is shown with scaled
// spacers: the page stays short, and a match far down, the middle and the end are all reached.
TEST_F(PiecesTest, ATallDocumentIsScaledAndItsEndIsReached) {
    page(QStringLiteral("__lodestarPane.setTallest(100000); ''"));
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "line " + std::to_string(i) + (i == 100000 ? " mark\n" : "\n");
    answerMessage(QMessageBox::Ok);  // the question about large files
    form().OpenFile(docs.put("tall.txt", text + "mark THE END\n"));
    settle();
    findByKey(u"mark");
    ASSERT_EQ(counter(), QStringLiteral("1/2"));
    const int height = page(QStringLiteral("innerHeight")).toInt();
    EXPECT_TRUE(waitUntil([&] { return markTop(1) == 20; })) << markTop(1);
    EXPECT_LT(page(QStringLiteral("document.documentElement.scrollHeight")).toInt(),
              100000 + 10 * height);
    form().goToMatch(2);
    EXPECT_TRUE(waitUntil([&] { return markTop(2) >= 0 && markTop(2) < height; })) << markTop(2);
    form().goToMatch(1);
    EXPECT_TRUE(waitUntil([&] { return markTop(1) == 20; })) << markTop(1);

    // Scrolled to the bottom by hand from the middle, the page shows the last line.
    page(
        QStringLiteral("window.dispatchEvent(new WheelEvent('wheel'));"
                       "scrollTo(0, document.documentElement.scrollHeight); ''"));
    const QString lastShown = QStringLiteral(
        "(function(){var e=document.querySelector('em[data-k=\"1\"]');if(!e)return false;"
        "var r=e.getBoundingClientRect();return r.top>=0&&r.bottom<=innerHeight;})()");
    EXPECT_TRUE(waitUntil([&] { return page(lastShown).toBool(); }));
}

}  // namespace
}  // namespace lodestar::testing
