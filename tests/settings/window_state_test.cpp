// The window's state file: what goes in comes back, a damaged file gives what can be read, and
// a save replaces the file whole without going through a link.
#include "settings/window_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/error.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

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

}  // namespace
}  // namespace lodestar
