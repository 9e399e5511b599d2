// Parts of the skin that need no display: dialog filters, script calls, help pages, the
// banner and the display check.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <filesystem>

#include "platform/fakes/fake_shell.h"
#include "platform/fakes/scripted_prompts.h"
#include "support/temp_dir.h"
#include "ui/desktop_app.h"
#include "ui/file_filter.h"
#include "ui/help_pages.h"
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

TEST(HelpPagesTest, ContentsOpensTheHelpFileOrSaysItIsMissing) {
    testing::TempDir program;
    fakes::FakeShell shell;
    fakes::ScriptedPrompts prompts;
    HelpPages help(program.folder(), shell, prompts);

    std::u16string page = u"index.htm";
    help.showHelpPage(page);
    EXPECT_TRUE(shell.opened.empty());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].kind, "message");
    EXPECT_EQ(prompts.asked[0].text, u"Can't find help file.");
    EXPECT_EQ(prompts.asked[0].caption, u"Lodestar");

    std::filesystem::create_directories(program.path() / "help");
    program.put("help/index.htm", "<html></html>");
    page = u"index.htm";
    help.showHelpPage(page);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], program.file("help/index.htm"));
    EXPECT_EQ(page, program.file("help/index.htm")) << "the argument becomes the full path";

    help.openHomePage();
    help.openExamplesPage();
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(shell.opened[1], kHomePage);
    EXPECT_EQ(shell.opened[2], kExamplesPage);
}

TEST(AboutBannerTest, SixLinesFirstEmptyRulesOfTwentyHashes) {
    const std::u16string banner = aboutBanner();
    std::vector<std::u16string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = banner.find(u"\r\n", from)) != std::u16string::npos; from = at + 2)
        lines.push_back(banner.substr(from, at - from));
    lines.push_back(banner.substr(from));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"");
    const std::u16string rule = std::u16string(14, u' ') + std::u16string(20, u'#');
    EXPECT_EQ(lines[1], rule);
    EXPECT_EQ(lines[5], rule);
    EXPECT_NE(lines[2].find(u"Lodestar 1.4"), std::u16string::npos);
    for (int i = 2; i <= 4; ++i) EXPECT_EQ(lines[i].rfind(std::u16string(14, u' '), 0), 0u);
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
