// Parts of the skin that need no display: dialog filters, script calls and the display check.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "ui/desktop_app.h"
#include "ui/file_filter.h"
#include "ui/pane_script.h"

namespace lodestar::ui {
namespace {

TEST(FileFilterTest, OpenDialogFiltersBecomeQtNameFilters) {
    EXPECT_EQ(
        nameFilters(QStringLiteral("Any file|*.*|HTML file(*.htm;*.html)|*.htm;*.html|"
                                   "text file(*.txt;*.csv)|*.txt;*.csv")),
        (QStringList{QStringLiteral("Any file (*)"), QStringLiteral("HTML file (*.htm *.html)"),
                     QStringLiteral("text file (*.txt *.csv)")}));
    EXPECT_EQ(nameFilters(QStringLiteral("Command file (*.rep)|*.rep")),
              QStringList{QStringLiteral("Command file (*.rep)")});
    EXPECT_EQ(nameFilters(QString()), QStringList{QStringLiteral("Any file (*)")});
}

TEST(PaneScriptTest, TextTravelsAsJsonDataNeverAsScript) {
    const QString hostile = QStringLiteral("'); alert(1); //</script>\"\\\n\u2028");
    const QString call = paneCall("setBody", {hostile});
    const QString prefix = QStringLiteral("__lodestarPane.setBody.apply(null, ");
    ASSERT_TRUE(call.startsWith(prefix)) << call.toStdString();
    ASSERT_TRUE(call.endsWith(u')'));
    // The argument list is one JSON array that decodes to exactly the text given.
    const QString json = call.mid(prefix.size()).chopped(1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    EXPECT_EQ(doc.array().at(0).toString(), hostile);
    // Outside the JSON string, no quote, bracket or parenthesis of the text appears.
    EXPECT_EQ(json.count(u'\''), 1);
}

TEST(PaneScriptTest, PageScriptsAreShippedWithTheProgram) {
    EXPECT_TRUE(paneApiScript().contains(QStringLiteral("__lodestarPane")));
    EXPECT_TRUE(paneBridgeScript().contains(QStringLiteral("QWebChannel")));
    EXPECT_TRUE(paneBridgeScript().contains(QStringLiteral("lodestarBridge")));
}

TEST(DisplayTest, AWindowNeedsADisplayOrAChosenPlatform) {
    EXPECT_FALSE(displayAvailable(nullptr, nullptr, nullptr));
    EXPECT_FALSE(displayAvailable("", "", ""));
    EXPECT_TRUE(displayAvailable(":99", nullptr, nullptr));
    EXPECT_TRUE(displayAvailable(nullptr, "wayland-0", nullptr));
    EXPECT_TRUE(displayAvailable(nullptr, nullptr, "offscreen"));
}

}  // namespace
}  // namespace lodestar::ui
