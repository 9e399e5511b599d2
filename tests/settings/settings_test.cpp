// The settings: the options file (which lines are taken, the defaults, the save/load round trip,
// and where it is looked for), the user's settings file, the window's state file and the history of
// patterns used during a run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/error.h"
#include "core/text.h"
#include "settings/options.h"
#include "settings/options_location.h"
#include "settings/used_patterns.h"
#include "settings/user_settings.h"
#include "settings/window_state.h"
#include "support/fifo_watchdog.h"
#include "support/temp_dir.h"
#include "support/without_root.h"

namespace lodestar {
namespace {

// The first eight values of the options, as the file would hold them (the ninth, the steps
// kept, has a test of its own).
std::u16string all(const Options& o) {
    const std::u16string lines = optionLines(o, o.showSyntax, !o.noCountOnReplace);
    return lines.substr(0, lines.rfind(u"\r\n"));
}

class OptionsFile : public ::testing::Test {
  protected:
    // Loads a file of these bytes into `options` (a fresh Options unless given).
    bool load(const std::string& bytes, Options start = Options()) {
        options = start;
        return loadOptions(dir.put("lodestar.opt", bytes), options);
    }
    testing::TempDir dir;
    Options options;
};

TEST_F(OptionsFile, WithoutAFileTheDefaultsApplyAndTheFontIsAsDesigned) {
    Options untouched;
    untouched.backupFolder = u"mine";
    Options loaded = untouched;
    EXPECT_FALSE(loadOptions(dir.file("lodestar.opt"), loaded));
    EXPECT_EQ(all(loaded), all(untouched));
    EXPECT_EQ(all(startupOptions(dir.file("lodestar.opt"))),
              u"True\r\nbak\r\nTrue\r\n\r\n1\r\n1\r\nCourier New\r\n11.25");
}

TEST_F(OptionsFile, AnUnreadableFileGivesTheDefaultsAtStartUp) {
    const std::u16string path = dir.put("lodestar.opt", "False\r\nx\r\nFalse\r\n1\r\n0\r\n0");
    std::filesystem::permissions(dir.path() / "lodestar.opt", std::filesystem::perms::none);
    int outcome = testing::exitCodeWithoutRoot(
        [&] { return all(startupOptions(path)) == all(startupOptions(dir.file("none"))) ? 0 : 1; });
    if (outcome == testing::kCannotDropRoot) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0);
}

TEST_F(OptionsFile, FiveElementsAreTakenAndAMissingSixthLineTurnsCountingOff) {
    ASSERT_TRUE(
        load("False\nold\nTrue\n3\n1\n0\nArial\n9.75\n"));  // line feeds alone end lines too
    EXPECT_EQ(all(options), u"False\r\nold\r\nTrue\r\nTimes New Roman\r\n1\r\n0\r\nArial\r\n9.75");
    for (const char* bytes :
         {"False\r\nold\r\nTrue\r\n3\r\n1", "False\r\nold\r\nTrue\r\n3\r\n1\r\n"}) {
        ASSERT_TRUE(load(bytes)) << bytes;
        EXPECT_EQ(all(options),
                  u"False\r\nold\r\nTrue\r\nTimes New Roman\r\n1\r\n0\r\nCourier New\r\n11.25");
    }
    // Four lines: ignored, unless a final CR LF makes a fifth (empty) element. Then line 5 is
    // no truth value and keeps the zero value: the defaults do not run.
    Options before;
    before.backupFolder = u"kept";
    EXPECT_FALSE(load("True\r\nbak\r\nTrue\r\n0", before));
    EXPECT_EQ(all(options), all(before));
    ASSERT_TRUE(load("True\r\nbak\r\nTrue\r\n2\r\n"));
    EXPECT_EQ(all(options), u"True\r\nbak\r\nTrue\r\nVerdana\r\n0\r\n0\r\nCourier New\r\n11.25");
}

TEST_F(OptionsFile, TruthValuesAreWordsInAnyCaseOrNumbers) {
    for (const char* yes : {"True", " TRUE ", "1", "-1", "2"}) {
        ASSERT_TRUE(load(std::string("x\r\nb\r\n") + yes + "\r\n0\r\n" + yes + "\r\n0"));
        EXPECT_TRUE(options.escapeSupport && options.showSyntax) << yes;
        EXPECT_TRUE(options.noCountOnReplace);  // line 6 "0": do not count
    }
    for (const char* unreadable : {"yes", "", "1,5"}) {
        Options before;
        before.escapeSupport = true;
        ASSERT_TRUE(load(std::string("x\r\nb\r\n") + unreadable + "\r\n0\r\n0\r\n1", before));
        EXPECT_TRUE(options.escapeSupport) << '"' << unreadable << '"';
        EXPECT_FALSE(options.noCountOnReplace);  // line 6 "1": count
    }
    ASSERT_TRUE(load("false\r\nb\r\nFALSE\r\n0\r\n0\r\n1"));
    EXPECT_FALSE(options.backupOnReplace || options.escapeSupport);
}

// Line 4 names the source font; an older file's number is one of the eight old names.
TEST_F(OptionsFile, FontAndSizeTakeOnlyUsableValues) {
    Options start;
    start.sourceFont = u"Georgia";
    auto font = [&](const std::string& line, const std::string& size) {
        load("True\r\nbak\r\nTrue\r\n" + line + "\r\n1\r\n1\r\nArial\r\n" + size, start);
        return toUtf8(sourceFontFamily(options)) + " " + std::to_string(options.patternFontSize);
    };
    EXPECT_EQ(font("7", "9.75"), "System 9.750000");
    EXPECT_EQ(options.patternFontName, u"Arial");
    EXPECT_EQ(font("8", "12"), "monospace 12.000000");     // past the old list: fixed pitch
    EXPECT_EQ(font("2.5", "+14.5"), "Verdana 14.500000");  // halves round to even
    EXPECT_EQ(font(" DejaVu Sans Mono ", "11,25"), "DejaVu Sans Mono 11.250000");
    EXPECT_EQ(font("", "11,25"), "monospace 11.250000");
    EXPECT_EQ(font("1", "0"), "Tahoma 11.250000");
    EXPECT_EQ(font("1", "nan"), "Tahoma 11.250000");
}

TEST_F(OptionsFile, AtStartUpALineThatCannotBeReadKeepsItsDefaultAndIsNamed) {
    // Backups stay on, the counting line keeps counting on; the others are taken.
    dir.put("lodestar.opt", "Yes\r\nold\r\nFalse\r\n2\r\n0\r\nmaybe\r\nArial\r\n12");
    std::vector<std::u16string> ignored;
    const Options started = startupOptions(dir.file("lodestar.opt"), &ignored);
    EXPECT_EQ(all(started), u"True\r\nold\r\nFalse\r\nVerdana\r\n0\r\n1\r\nArial\r\n12");
    EXPECT_EQ(ignored, (std::vector<std::u16string>{
                           u"Line 1 of the options file (\"Yes\") was ignored: it is not a truth "
                           u"value.",
                           u"Line 6 of the options file (\"maybe\") was ignored: it is not a "
                           u"truth value."}));
}

TEST_F(OptionsFile, TheStepsKeptAreANinthLineThatMayBeMissingOrWrong) {
    const struct {
        const char* line;  // the ninth line, if any
        int steps;
        bool noted;
    } rows[] = {{nullptr, 10, false}, {"3", 3, false},   {"99", 99, false},
                {"0", 10, true},      {"100", 10, true}, {"many", 10, true}};
    for (const auto& row : rows) {
        std::string text = "True\r\nbak\r\nTrue\r\n0\r\n1\r\n1\r\nVerdana\r\n11";
        if (row.line) text += std::string("\r\n") + row.line;
        dir.put("lodestar.opt", text);
        std::vector<std::u16string> ignored;
        const Options o = startupOptions(dir.file("lodestar.opt"), &ignored);
        EXPECT_EQ(o.keptSteps, row.steps) << (row.line ? row.line : "none");
        EXPECT_EQ(!ignored.empty(), row.noted) << (row.line ? row.line : "none");
    }
}

TEST_F(OptionsFile, SaveWritesNineLinesAndLoadRestoresEveryValue) {
    Options chosen;
    defaultOptions(chosen);
    chosen.patternFontName = u"Verdana";
    chosen.patternFontSize = 11;
    saveOptions(dir.file("lodestar.opt"), chosen, true, true);
    EXPECT_EQ(dir.bytes("lodestar.opt"),
              "True\r\nbak\r\nTrue\r\n\r\n1\r\n1\r\nVerdana\r\n11\r\n10\r\n");

    Options saved;
    saved.backupFolder = u"backup copies";
    saved.sourceFont = u"Liberation Mono";
    saved.noCountOnReplace = true;
    for (float size : {9.75f, 12.0f, 10.1f, 0.3f, 1234.5f}) {
        saved.patternFontSize = size;
        saveOptions(dir.file("lodestar.opt"), saved, saved.showSyntax, !saved.noCountOnReplace);
        Options loaded;
        ASSERT_TRUE(loadOptions(dir.file("lodestar.opt"), loaded));
        EXPECT_EQ(all(loaded), all(saved));
        EXPECT_EQ(loaded.patternFontSize, size);
    }
    EXPECT_TRUE(all(saved).ends_with(u"\r\n1234.5"));
}

using testing::TempDir;

TEST(StartupOptions, TheUsersFileComesBeforeTheProgramsAndTheDefaultsLast) {
    TempDir dir;
    const std::u16string user = dir.file("user.opt");
    const std::u16string program = dir.put("program.opt", "False\r\nshipped\r\nTrue\r\n1\r\n1\r\n");
    EXPECT_EQ(startupOptions(user, program).backupFolder, u"shipped");
    dir.put("user.opt", "False\r\n mine \r\nTrue\r\n2\r\n1\r\n");
    const Options options = startupOptions(user, program);
    EXPECT_EQ(options.backupFolder, u"mine");  // trimmed as the dialog and the CLI trim it
    EXPECT_EQ(options.sourceFont, u"Verdana");
    // A user file too short to be taken gives the defaults, not the program's copy.
    dir.put("user.opt", "False\r\n");
    EXPECT_EQ(startupOptions(user, program).backupFolder, u"bak");
    EXPECT_EQ(startupOptions(u"", dir.file("none.opt")).backupFolder, u"bak");
}

TEST(UserSettings, ReadsTheEncodingAndIgnoresWhatItDoesNotKnow) {
    TempDir dir;
    const struct {
        const char* content;
        std::optional<TextEncoding> encoding;
    } rows[] = {
        {"encoding=utf-8\n", TextEncoding::Utf8},
        {"# a comment\r\n  encoding =  Windows-1252 \r\ncolour=blue\r\n",
         TextEncoding::Windows1252},
        {"encoding=utf-16be", TextEncoding::Utf16BE},
        {"encoding=auto\n", std::nullopt},
        {"encoding=klingon\n", std::nullopt},
        {"encoding\n", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(loadUserSettings(dir.put("settings", row.content)).encoding, row.encoding)
            << row.content;
    }
    EXPECT_EQ(loadUserSettings(dir.file("missing")).encoding, std::nullopt);
}

TEST(UserSettings, AFifoIsNeverReadAndSaysSo) {
    TempDir dir;
    testing::makeFifo(dir.path() / "settings");
    UserSettings settings;
    testing::returnsPromptly([&] { settings = loadUserSettings(dir.file("settings")); },
                             {dir.path() / "settings"});
    EXPECT_TRUE(settings.notAFile);
    EXPECT_EQ(settings.encoding, std::nullopt);
    EXPECT_FALSE(loadUserSettings(dir.put("plain", "encoding=utf-8\n")).notAFile);
}

namespace fs = std::filesystem;

WindowState fullState() {
    WindowState s;
    s.frame = WindowFrame{-20, 40, 1100, 720, true};
    s.leftShare = 0.25;
    s.sourceShare = 0.625;
    s.ignoreCase = false;
    s.global = true;
    s.dotAll = false;
    s.multiline = true;
    s.openFolder = u"/home/ann/notes/";
    s.pickerFolder = u"/home/ann/web site/";
    // Line breaks, backslashes, "=" and a name that is not UTF-8 (its byte kept as U+DCE9).
    s.patterns = {u"a\\nb", u"line\r\nbreak", u"x=y", u"\\\\"};
    s.recentFiles = {u"/home/ann/caf\xDCE9.txt", u"/home/ann/notes/todo.txt"};
    return s;
}

TEST(WindowState, EverythingWrittenIsReadBack) {
    TempDir dir;
    const std::u16string path = windowStatePath(dir.folder() + u"deeper/lodestar/");
    saveWindowState(path, fullState());
    EXPECT_EQ(loadWindowState(path), fullState());
    EXPECT_EQ(parseWindowState(formatWindowState(WindowState())), WindowState());
    struct stat st {};
    ASSERT_EQ(::stat(fs::path(toUtf8(path)).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // the patterns may be private
}

// A state with one change made to it.
template <typename Change>
WindowState with(Change change) {
    WindowState s;
    change(s);
    return s;
}

TEST(WindowState, DamagedOrForeignLinesArePassedOver) {
    const struct {
        const char* text;
        WindowState expected;
    } rows[] = {
        {"frame=1,2,3\nframe=1,2,3,4,5\nframe=a,b,c,d\nframe=0,0,0,10\n", {}},
        {"maximized=1\nframe=5,6,700,500\n", with([](WindowState& s) {
             s.frame = WindowFrame{5, 6, 700, 500, false};
         })},
        {"split=0.5,nan,1.5\n", with([](WindowState& s) { s.leftShare = 0.5; })},
        {"split=-,0.4,-\r\n", with([](WindowState& s) { s.listShare = 0.4; })},
        {"split=0.5\nsplit=0.5,0.5\n", {}},
        {"ignoreCase=yes\nglobal=0\n", with([](WindowState& s) { s.global = false; })},
        {"colour=blue\n=x\nno equals\n# pattern=x\n\xff\xfe=1\n", {}},
        {"recent=\nrecent=/a\npattern=\n", with([](WindowState& s) { s.recentFiles = {u"/a"}; })},
        {"pattern=ends in \\", with([](WindowState& s) { s.patterns = {u"ends in \\"}; })},
    };
    for (const auto& row : rows) EXPECT_EQ(parseWindowState(row.text), row.expected) << row.text;
}

TEST(WindowState, AMissingOrUnreadableFileGivesNothing) {
    TempDir dir;
    EXPECT_EQ(loadWindowState(dir.file("missing")), WindowState());
    fs::create_directories(dir.path() / "folder");
    EXPECT_EQ(loadWindowState(dir.file("folder")), WindowState());
}

TEST(WindowState, ASaveReplacesALinkInsteadOfWritingThroughIt) {
    TempDir dir;
    const std::u16string target = dir.put("elsewhere", "keep me");
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "window-state");
    saveWindowState(windowStatePath(dir.folder()), fullState());
    EXPECT_EQ(dir.bytes("elsewhere"), "keep me");
    EXPECT_FALSE(fs::is_symlink(dir.path() / "window-state"));
    EXPECT_EQ(loadWindowState(windowStatePath(dir.folder())), fullState());
    (void)target;
}

TEST(WindowState, AFolderThatCannotBeMadeIsAnError) {
    TempDir dir;
    dir.put("file", "x");
    EXPECT_THROW(saveWindowState(windowStatePath(dir.folder() + u"file/lodestar/"), fullState()),
                 Error);
    EXPECT_EQ(dir.bytes("file"), "x");
}

using Patterns = std::vector<std::u16string>;

// Each pattern is kept once, a repeat moving up to the newest; pick(1) is the newest, and only
// the newest 255 are kept.
TEST(UsedPatterns, KeepsEachPatternOnceNewestFirst) {
    UsedPatterns h;
    for (const auto& [pattern, added] : {std::pair{u"a", true},
                                         {u"a", false},
                                         {u"b", true},
                                         {u"a", true},
                                         {u"A", true},
                                         {u"", false},
                                         {u"Blank", true}})
        EXPECT_EQ(h.add(pattern), added) << toUtf8(pattern);
    EXPECT_EQ(h.entries(), (Patterns{u"b", u"a", u"A", u"Blank"}));
    EXPECT_EQ(h.pick(1), u"Blank");
    EXPECT_EQ(h.pick(4), u"b");
    EXPECT_THROW(h.pick(0), Error);
    EXPECT_THROW(h.pick(5), Error);

    h.clear();
    for (int i = 0; i < 300; ++i) h.add(u"p" + decimal(i));
    ASSERT_EQ(h.count(), UsedPatterns::kCapacity);
    EXPECT_EQ(h.pick(UsedPatterns::kCapacity), u"p45");
    EXPECT_EQ(h.pick(1), u"p299");
}

TEST(MenuCaption, DoublesAmpersandsOnly) {
    EXPECT_EQ(menuCaption(u"a&b&&c-"), u"a&&b&&&&c-");
}

}  // namespace
}  // namespace lodestar
