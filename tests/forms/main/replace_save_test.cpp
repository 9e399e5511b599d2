// Replace, Save with the read-only question and the sibling backup, Restore and Action.
#include <filesystem>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

using ReplaceSave = WindowTest;

TEST_F(ReplaceSave, DeletingAllMatchesAsksTheDeletingQuestion) {
    openNew("b.txt", "banana");
    find(u"n");
    replace(u"a", u"");
    EXPECT_EQ(lastQuestion(), "Delete 3 matches in b.txt?");
    EXPECT_EQ(u8(w->document().text), "bnn");
    EXPECT_NE(log().find("* 3 items replaced, click save to change the source file.\r\n"),
              std::string::npos);
    EXPECT_TRUE(c("btnSave").enabled && c("mSave").enabled);
    EXPECT_TRUE(c("btnRestore").enabled && c("mRestore").enabled);
    EXPECT_EQ(u8(source().bodyText()), "bnn");
    EXPECT_EQ(text("matchNo"), "0/0");  // the moves of the earlier search are gone
    EXPECT_FALSE(c("btnNext").enabled);
    EXPECT_EQ(docs.bytes("b.txt"), "banana");  // nothing written before Save
}

TEST_F(ReplaceSave, GlobalOffReplacesTheFirstMatchWithGroupsAndEscapes) {
    openNew("p.txt", "12px 3px");
    w->click("chkGlobal");
    replace(u"(\\d+)px", u"$1\\tpx");
    EXPECT_EQ(lastQuestion(), "Replace 1 match in p.txt?");
    EXPECT_EQ(u8(w->document().text), "12\tpx 3px");
    EXPECT_NE(log().find("* 1 items replaced"), std::string::npos);
}

TEST_F(ReplaceSave, SaveKeepsTheOldContentInTheSiblingBackupAndSaysSo) {
    openNew("page.htm", "one");
    replace(u"one", u"two");
    w->click("btnSave");
    EXPECT_NE(log().find("* Saved 3 characters to " + u8(docs.file("page.htm")) +
                         "; the old file is kept as " + u8(docs.file("page.bak")) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(docs.bytes("page.htm"), "two");
    EXPECT_EQ(docs.bytes("page.bak"), "one");
    EXPECT_FALSE(c("btnSave").enabled || c("mSave").enabled);
    replace(u"two", u"three");
    w->click("mSave");
    EXPECT_EQ(docs.bytes("page.htm"), "three");
    EXPECT_EQ(docs.bytes("page.bak"), "two");
}

TEST_F(ReplaceSave, AReadOnlyFileIsSavedOnlyAfterOk) {
    openNew("ro.txt", "aaa");
    fs::permissions(docs.path() / "ro.txt", fs::perms::owner_write, fs::perm_options::remove);
    replace(u"a", u"b");
    prompts.answerCancel();
    w->click("btnSave");
    EXPECT_EQ(lastQuestion(), "Current file is read only, save it anyway?");
    EXPECT_EQ(docs.bytes("ro.txt"), "aaa");
    EXPECT_TRUE(c("btnSave").enabled);
    prompts.answerOk();
    w->click("btnSave");
    EXPECT_EQ(docs.bytes("ro.txt"), "bbb");
    EXPECT_TRUE((fs::status(docs.path() / "ro.txt").permissions() & fs::perms::owner_write) !=
                fs::perms::none);
    EXPECT_FALSE(c("btnSave").enabled);
}

// A save that fails tells the user at once, in a box with the reason, the log and the status
// line; the file keeps its content (or stays away) and the text stays unsaved.
TEST_F(ReplaceSave, AFailedSaveShowsABoxAndKeepsTheFileAndTheUnsavedText) {
    struct Case {
        const char* name;
        bool removeFile;
        bool blockBackup;
    };
    const Case cases[] = {
        {"the file vanished before the save", true, false},
        {"the backup cannot be written", false, true},
    };
    for (const Case& k : cases) {
        openNew("x.txt", "abc");
        blockBackups(k.blockBackup);
        replace(u"b", u"B");
        if (k.removeFile) fs::remove(docs.path() / "x.txt");
        const std::size_t asked = prompts.asked.size();
        w->click("btnSave");
        ASSERT_EQ(prompts.asked.size(), asked + 1) << k.name;
        const auto& box = prompts.asked.back();
        EXPECT_EQ(box.kind, "message") << k.name;
        EXPECT_EQ(u8(box.caption), " Warning");
        EXPECT_EQ(u8(box.text).rfind("Can't save the file.\r\n", 0), 0u) << u8(box.text);
        EXPECT_GT(box.text.size(), 24u) << k.name;  // the reason follows
        EXPECT_NE(log().find("Err:" + u8(box.text)), std::string::npos) << k.name;
        EXPECT_EQ(text("lblStatus"), "Can't save the file.");
        if (k.removeFile)
            EXPECT_FALSE(fs::exists(docs.path() / "x.txt")) << k.name;
        else
            EXPECT_EQ(docs.bytes("x.txt"), "abc") << k.name;
        EXPECT_TRUE(c("btnSave").enabled) << k.name;
        EXPECT_EQ(log().find("* Saved"), std::string::npos) << k.name;
        blockBackups(false);
        prompts.answerDiscard();  // opening the next file gives up the unsaved text
    }
}

using Restore = ReplaceSave;

// Each Restore undoes one step and the window then shows exactly what the file holds: first
// the unsaved replace goes, then the last save is undone from its backup.
TEST_F(Restore, StepsBackThroughUnsavedTextAndTheLastSaveKeepingWindowAndDiskEqual) {
    openNew("page.htm", "v1");
    replace(u"v1", u"v2");
    w->click("btnSave");
    replace(u"v2", u"v3");
    w->click("btnSave");
    replace(u"v3", u"v4");
    find(u"v");
    w->click("btnRestore");
    EXPECT_EQ(u8(w->document().text), "v3");
    EXPECT_EQ(u8(source().bodyText()), "v3");
    EXPECT_EQ(docs.bytes("page.htm"), "v3");
    EXPECT_EQ(source().markCount(), 0u);
    EXPECT_FALSE(c("btnSave").enabled || c("btnNext").enabled);
    ASSERT_TRUE(c("btnRestore").enabled);
    w->click("btnRestore");
    EXPECT_EQ(docs.bytes("page.htm"), "v2");  // the step of the second save
    EXPECT_EQ(u8(w->document().text), "v2");
    EXPECT_EQ(u8(source().bodyText()), "v2");
    EXPECT_NE(log().find("1 earlier steps remain."), std::string::npos) << log();
    EXPECT_EQ(docs.bytes("page.bak"), "v1") << "the sibling holds the step before";
    ASSERT_TRUE(c("btnRestore").enabled);
    w->click("btnRestore");
    EXPECT_EQ(docs.bytes("page.htm"), "v1") << "down to the text as first opened";
    EXPECT_FALSE(fs::exists(docs.path() / "page.bak"));
    EXPECT_FALSE(c("btnRestore").enabled || c("btnSave").enabled);
    replace(u"v1", u"v5");  // Save is offered again for the text that now differs from disk
    EXPECT_TRUE(c("btnSave").enabled);
}

TEST_F(Restore, WithoutABackupThereIsNothingToRestore) {
    openNew("page.htm", "old");
    changeOptions(*w, [](Options& o) { o.backupOnReplace = false; });
    replace(u"old", u"new");
    w->click("btnSave");
    EXPECT_FALSE(c("btnRestore").enabled);
    w->file().restore();
    EXPECT_EQ(docs.bytes("page.htm"), "new");
    EXPECT_NE(log().find("Err:Nothing to restore"), std::string::npos);
}

using Action = ReplaceSave;

TEST_F(Action, RunsTheCommandFileOverTheTextInMemory) {
    openNew("css.txt", "12px and 3px, a");
    runCommandFile(
        "/// widen\r\nregrep ---(\\d+)px--- with ---$1 px---;\r\n"
        "rep ---a--- with ---b---;\r\nrep ---b--- with ---c---;\r\n");
    // The command file is chosen, then the user is asked what will run where.
    EXPECT_EQ(lastQuestion(), "Run t.rep on css.txt?");
    const auto& dialog = prompts.asked[prompts.asked.size() - 2];
    EXPECT_EQ(u8(dialog.text), "rep cmds(*.rep)|*.rep");
    EXPECT_EQ(dialog.caption, program.folder() + u"rep/");
    EXPECT_EQ(u8(w->document().text), "12 px cnd 3 px, c");
    EXPECT_NE(log().find("* Batch replace completed.\r\n"), std::string::npos);
    EXPECT_TRUE(c("btnSave").enabled && c("btnRestore").enabled);
    EXPECT_EQ(docs.bytes("css.txt"), "12px and 3px, a");
    w->click("btnRestore");
    EXPECT_EQ(u8(w->document().text), "12px and 3px, a");
}

}  // namespace
}  // namespace lodestar::testing
