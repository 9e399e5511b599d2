// The preview in the desktop window: Preview over a folder shows the changes in the source view,
// a file and a change unticked in the page, Apply, and the files compared byte for byte. With
// LODESTAR_DIALOG_SCREENSHOTS it also takes the picture of docs/.
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

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
