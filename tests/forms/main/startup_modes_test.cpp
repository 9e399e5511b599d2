// Start-up, the windows' control ids, the two working modes and Instant Test.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "forms/main/window_fixture.h"
#include "forms/model/control_ids.h"

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

// The typed control ids stay the windows' contract: every control and menu entry a window's
// catalogue makes has an id, and every id names a control of its window.
// The ids declared in one namespace of the id header.
std::set<std::string> declaredIds(const std::string& space) {
    std::ifstream in(std::string(LODESTAR_SOURCE_DIR) + "/src/forms/model/control_ids.h");
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::size_t begin = all.find("namespace " + space + " {");
    const std::size_t end = all.find("}  // namespace " + space, begin);
    EXPECT_NE(begin, std::string::npos) << space;
    std::set<std::string> ids;
    const std::string block = all.substr(begin, end - begin);
    const std::regex declared(R"(LODESTAR_CONTROL\((\w+)\))");
    for (std::sregex_iterator it(block.begin(), block.end(), declared), last; it != last; ++it)
        ids.insert((*it)[1]);
    return ids;
}

// The names a window's catalogue made, without the entries made while the program runs.
std::set<std::string> catalogued(const ControlModel& controls) {
    std::set<std::string> names;
    for (const std::string& name : controls.names())
        if (!main_ids::mRegs.indexOf(name) && !main_ids::mRecentFile.indexOf(name))
            names.insert(name);
    return names;
}

TEST_F(WindowTest, EveryControlOfEveryWindowHasItsIdAndNoIdIsStale) {
    const std::pair<const char*, const ControlModel&> windows[] = {
        {"main_ids", w->controls()},
        {"folder_ids", ws->folder().picker().controls()},
        {"export_ids", ws->exportForm().controls()},
        {"options_ids", ws->optionSetting().controls()},
        {"assist_ids", ws->assistant().controls()}};
    for (const auto& [space, controls] : windows)
        EXPECT_EQ(declaredIds(space), catalogued(controls)) << space;
}

TEST(ControlSeries, NamesAndIndexesOfNumberedEntries) {
    EXPECT_EQ(main_ids::mRegs(0), "mRegs(0)");
    EXPECT_EQ(main_ids::mRecentFile(10), "mRecent(10)");
    const std::pair<const char*, std::optional<std::size_t>> cases[] = {
        {"mRegs(12)", 12}, {"mRegs", {}},
        {"mRegs()", {}},   {"mRegs(1)x", {}},
        {"mRegs(-1)", {}}, {"mRecent(1)", {}},
        {"mReg(1)", {}},   {"mRegs(99999999999999999999)", {}}};
    for (const auto& [name, index] : cases) EXPECT_EQ(main_ids::mRegs.indexOf(name), index) << name;
}

}  // namespace
}  // namespace lodestar::testing
