// The settings: the options file, the window's state file and the history of patterns used.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/error.h"
#include "core/text.h"
#include "settings/options.h"
#include "settings/options_location.h"
#include "settings/used_patterns.h"
#include "settings/window_state.h"
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

TEST_F(OptionsFile, AnUnreadableFileGivesTheDefaultsAtStartUp) {
    const std::u16string path = dir.put("lodestar.opt", "False\r\nx\r\nFalse\r\n1\r\n0\r\n0");
    std::filesystem::permissions(dir.path() / "lodestar.opt", std::filesystem::perms::none);
    int outcome = testing::exitCodeWithoutRoot(
        [&] { return all(startupOptions(path)) == all(startupOptions(dir.file("none"))) ? 0 : 1; });
    if (outcome == testing::kCannotDropRoot) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0);
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
    const std::pair<const char*, WindowState> rows[] = {
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
    for (const auto& [text, expected] : rows) EXPECT_EQ(parseWindowState(text), expected) << text;
}

TEST(WindowState, ASaveReplacesALinkInsteadOfWritingThroughIt) {
    TempDir dir;
    dir.put("elsewhere", "keep me");
    fs::create_symlink(dir.path() / "elsewhere", dir.path() / "window-state");
    saveWindowState(windowStatePath(dir.folder()), fullState());
    EXPECT_EQ(dir.bytes("elsewhere"), "keep me");
    EXPECT_FALSE(fs::is_symlink(dir.path() / "window-state"));
    EXPECT_EQ(loadWindowState(windowStatePath(dir.folder())), fullState());
}

using Patterns = std::vector<std::u16string>;

// Each pattern is kept once, a repeat moving up to the newest; pick(1) is the newest, and only
// the newest 255 are kept.
TEST(UsedPatterns, KeepsEachPatternOnceNewestFirst) {
    UsedPatterns h;
    const std::pair<const char16_t*, bool> adds[] = {{u"a", true},    {u"a", false}, {u"b", true},
                                                     {u"a", true},    {u"A", true},  {u"", false},
                                                     {u"Blank", true}};
    for (const auto& [pattern, added] : adds) EXPECT_EQ(h.add(pattern), added) << toUtf8(pattern);
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

}  // namespace
}  // namespace lodestar
