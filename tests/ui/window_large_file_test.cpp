// Large files through the desktop window: a 7 MB page searched and stepped through, a small
// file after it, a page renderer that dies, and a program folder that cannot be written.
#include <signal.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWebEnginePage>
#include <sstream>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

// About 7 MB of markup with `links` links spread over it.
std::string largePage(int links) {
    std::ostringstream s;
    s << "<html><body>\n";
    for (int i = 0; i < links; ++i) {
        s << "<div class=\"row\"><a href=\"https://example.org/item/" << i << "\">item " << i
          << "</a></div>\n";
        for (int f = 0; f < 4; ++f)
            s << "<p>filler text for line " << i << "." << f
              << " of the generated page, long enough</p>\n";
    }
    s << "</body></html>\n";
    return s.str();
}

class LargeFileTest : public SkinTest {
  protected:
    void openLarge(const std::u16string& path) {
        answerMessage(QMessageBox::Ok);  // the question about files over 256 KB
        window->form().OpenFile(path);
        settle();
    }
    void find(const QString& pattern) {
        widget<QPlainTextEdit>("inRepFrom")->setPlainText(pattern);
        window->form().typeText("inRepFrom", ui::fromQ(pattern));
        click("btnFind");
    }
    // The top of the first element of mark k in the source page, or a large number.
    int markTop(long long k) {
        return dom(Pane::SuperMonitor,
                   QStringLiteral(
                       "(function(){var e=document.querySelector('em[data-k=\"%1\"]');"
                       "return e ? Math.round(e.getBoundingClientRect().top) : 99999;})()")
                       .arg(k - 1))
            .toInt();
    }
    QString markBackground(long long k) {
        return dom(Pane::SuperMonitor,
                   QStringLiteral("(function(){var e=document.querySelector('em[data-k=\"%1\"]');"
                                  "return e ? e.style.backgroundColor : '';})()")
                       .arg(k - 1))
            .toString();
    }
    QString sourceText() {
        return dom(Pane::SuperMonitor, QStringLiteral("document.body.innerText")).toString();
    }
};

TEST_F(LargeFileTest, GoesToAFarMatchOfASevenMegabytePageAndThenShowsASmallFile) {
    makeProgramFolder();
    start();
    const std::string page = largePage(23539);
    ASSERT_GT(page.size(), 6'500'000u);
    const std::u16string big = docs.put("big.htm", page);
    openLarge(big);
    find(QStringLiteral("href=\"([^\"]+)\""));
    ASSERT_TRUE(waitUntil([&] { return counter() == QStringLiteral("1/23539"); }, 30000))
        << counter().toStdString();
    ASSERT_TRUE(waitUntil([&] { return markBackground(1) == QStringLiteral("gold"); }));

    window->form().goToMatch(20000);  // as a click on its entry does
    EXPECT_EQ(counter(), QStringLiteral("20000/23539"));
    ASSERT_TRUE(waitUntil([&] {
        const int top = markTop(20000);
        return top >= 0 && top < 100 && markBackground(20000) == QStringLiteral("gold");
    })) << markTop(20000);
    EXPECT_NEAR(markTop(20000), 20, 4);
    // Next shows the following entry as current in the list, scrolled into view.
    click("btnNext");
    EXPECT_EQ(counter(), QStringLiteral("20001/23539"));
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::MatchView,
                   QStringLiteral(
                       "(function(){var e=document.querySelector('li[data-k=\"20000\"]');"
                       "if (!e) return '';var t=e.getBoundingClientRect().top;"
                       "return t >= 0 && t < innerHeight ? e.style.backgroundColor : '';})()"))
                   .toString() == QStringLiteral("rgb(230, 230, 230)");
    }));
    ASSERT_TRUE(waitUntil([&] { return markBackground(20001) == QStringLiteral("gold"); }));
    EXPECT_EQ(markBackground(20000), QString());
    // The page holds only what is near the viewport.
    EXPECT_LT(dom(Pane::SuperMonitor, QStringLiteral("document.getElementsByTagName('em').length"))
                  .toInt(),
              3000);

    const std::u16string small = docs.put("small.txt", "just a small file\n");
    window->form().OpenFile(small);
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("just a small")); }))
        << sourceText().left(200).toStdString();
    EXPECT_FALSE(sourceText().contains(QStringLiteral("example.org")));
}

TEST_F(LargeFileTest, APageWhoseRendererDiesComesBackWithTheCurrentFile) {
    makeProgramFolder();
    start();
    std::string text;
    for (int i = 0; i < 6000; ++i) text += "line " + std::to_string(i) + " of the current file\n";
    const std::u16string path = docs.put("current.txt", text);
    window->form().OpenFile(path);
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("line 0 of")); }));

    const qint64 pid = view(Pane::SuperMonitor)->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return logText().find("stopped working") != std::string::npos; }))
        << logText();
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("line 0 of")); }))
        << sourceText().left(200).toStdString();
}

TEST_F(LargeFileTest, OpensAFileFromAProgramFolderThatCannotBeWritten) {
    namespace fs = std::filesystem;
    makeProgramFolder();
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(program.path()))
            names.push_back(e.path().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    for (const auto& e : fs::recursive_directory_iterator(program.path()))
        fs::permissions(e.path(),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    fs::permissions(program.path(), fs::perms::owner_write, fs::perm_options::remove);
    const auto before = listing();
    start();

    std::string text;
    while (text.size() < 200'000)
        text += "<tr><td>cell " + std::to_string(text.size()) + "</td></tr>\n";
    const std::u16string path = docs.put("table.htm", text);
    window->form().OpenFile(path);
    settle();
    ASSERT_TRUE(waitUntil([&] { return sourceText().contains(QStringLiteral("cell 0")); }));
    EXPECT_EQ(logText().find("Err:"), std::string::npos) << logText();
    EXPECT_EQ(listing(), before);
    fs::permissions(program.path(), fs::perms::owner_all, fs::perm_options::add);
}

}  // namespace
}  // namespace lodestar::testing
