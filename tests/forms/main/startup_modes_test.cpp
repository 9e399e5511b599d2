// Start-up, the two working modes and Instant Test.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, TakesSettingsFromTheOptionsFile) {
    program.put("lodestar.opt", "False\r\nold\r\nFalse\r\n2\r\n1\r\n1\r\nVerdana\r\n12\r\n");
    MainWindow other(program.folder(), WindowServices{prompts, clipboard, timer, shell});
    other.load();
    EXPECT_FALSE(other.currentOptions().backupOnReplace);
    EXPECT_EQ(u8(other.currentOptions().backupFolder), "old");
    EXPECT_TRUE(other.dotAll());  // on at every start, whatever the file says
    EXPECT_EQ(u8(other.controls()["inRepFrom"].fontName), "Verdana");
    EXPECT_EQ(other.controls()["inRepFrom"].geometry.height, 1700);  // before any resize
}

TEST_F(StartUp, MissingDataFilesStillOpenTheWindowAndTheLogSaysWhatCannotWork) {
    EXPECT_EQ(log(), "") << "a complete program folder reports nothing";
    std::filesystem::remove(program.path() / "lib" / "src.tmp");
    std::filesystem::remove(program.path() / "help" / "index.htm");
    MainWindow other(program.folder(), WindowServices{prompts, clipboard, timer, shell});
    other.load();
    EXPECT_EQ(u8(other.controls()["logger"].text),
              "Err:Missing lib/src.tmp: the source view uses a built-in page.\r\nErr:Missing "
              "help/index.htm: Help > Contents cannot open the help.\r\n");
}

using Modes = WindowTest;

TEST_F(Modes, FolderModeThenASingleFileLeavesNoTraceOfTheFolder) {
    put("f.htm", "x");
    ASSERT_TRUE(ws->folder().openFolder(docs.folder(), u""));
    EXPECT_TRUE(w->MultiMode());
    EXPECT_TRUE(c("ListView").visible);
    EXPECT_TRUE(c("View_FS").enabled);
    EXPECT_FALSE(c("btnViewIn").enabled);
    EXPECT_EQ(u8(source().bodyText()),
              "Please click on a file name above to show source code here.");
    EXPECT_EQ(text("matchNo"), "0/0");

    const std::u16string path = openNew("b.txt", "text");
    EXPECT_FALSE(w->MultiMode());
    EXPECT_TRUE(ws->folder().folder().empty());
    EXPECT_FALSE(c("ListView").visible);
    EXPECT_TRUE(listHtml().empty());
    EXPECT_EQ(text("matchNo"), "0/0");
    EXPECT_EQ(text("inputPath"), u8(path));
}

using Log = WindowTest;

// Instant Test closes the file: nothing of it or of its last search can be seen, stepped
// through or searched any more.
TEST_F(Modes, InstantTestLeavesNothingOfTheClosedFileOrItsResult) {
    std::string focused;
    w->setMoveFocus([&](ControlId name) { focused = name.str(); });
    openNew("t.txt", "one two one");
    EXPECT_EQ(focused, "inRepFrom");  // a file opened: the user types a pattern next
    find(u"one");
    w->click("mNext");  // Ctrl+G
    EXPECT_EQ(text("matchNo"), "2/2");
    w->click("mPrev");  // Ctrl+Shift+G
    EXPECT_EQ(text("matchNo"), "1/2");
    w->click("mClose");
    settle();
    // The scratch pad's own text in place of the file's, with nothing to save.
    ASSERT_TRUE(w->file().scratchOpen());
    EXPECT_TRUE(w->document().path.empty());
    EXPECT_EQ(w->document().text.str().find(u"one two"), std::u16string::npos);
    EXPECT_FALSE(w->document().changed());
    EXPECT_FALSE(w->file().searchDone());
    for (const char* name : {"inputPath", "LblCurName"}) EXPECT_EQ(text(name), "") << name;
    EXPECT_EQ(text("lblTotal"), "0");
    EXPECT_EQ(source().markCount(), 0u);
    EXPECT_EQ(listHtml(), " No result found.");
    EXPECT_EQ(text("matchNo"), "0/0");
    for (const char* name : {"btnFind", "btnReplace", "btnAction", "mClose", "btnViewIn", "btnNext",
                             "btnPrev", "mNext", "mPrev", "matchNo"})
        EXPECT_FALSE(c(name).enabled) << name;
    const std::size_t asked = prompts.asked.size();
    w->typeText("inRepFrom", u"");
    w->click("mFind");  // F3 now does nothing, not even the empty-box message
    EXPECT_EQ(prompts.asked.size(), asked);
}

}  // namespace
}  // namespace lodestar::testing
