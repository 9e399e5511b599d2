// The preview of Replace and Action: nothing written until Apply writes the ticked changes.
#include <filesystem>

#include "forms/folder/folder_fixture.h"
#include "forms/preview/run_questions.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

class Preview : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        backUpIntoBak();
    }
    void openFour() {
        openFolder({{"a.htm", "x1\nx2\nx3\n"},
                    {"b.htm", "x4\n"},
                    {"c.htm", "none\n"},
                    {"d.htm", "x5\r\n"}});
    }
    void previewReplace(const std::u16string& from, const std::u16string& to) {
        w->typeText("inRepFrom", from);
        w->typeText("inRepWith", to);
        w->click("btnPreview");
        settle();
    }
    // A click on a tick of the diff: "pf<file>" or "pc<file>_<change>".
    bool clickTick(const std::u16string& id) {
        return w->onBeforeNavigate(Pane::SuperMonitor, program.folder() + u"lib/src.tmp#" + id);
    }
    std::string firstPiece() {
        const PieceDocument* pieces = w->pane(Pane::SuperMonitor).bodyPieces();
        return pieces ? u8(pieces->html(0)) : "";
    }
};

TEST_F(Preview, ApplyWritesTheTickedChangesOfTheTickedFilesOnly) {
    openFour();
    previewReplace(u"x", u"y");
    for (const char* name : {"a.htm", "b.htm", "d.htm"})
        EXPECT_EQ(docs.bytes(name)[0], 'x') << name << ": a preview writes nothing";
    EXPECT_FALSE(fs::exists(docs.path() / "bak"));
    EXPECT_EQ(statusOf(1), "3 of 3 changes ticked");
    EXPECT_EQ(statusOf(2), "1 of 1 changes ticked");
    EXPECT_TRUE(c("btnApply").enabled);
    const std::string shown = firstPiece();
    EXPECT_NE(shown.find("> a.htm "), std::string::npos) << "named from the folder: " << shown;
    EXPECT_NE(shown.find("id='pc0_1'"), std::string::npos);

    EXPECT_TRUE(clickTick(u"pc0_1"));  // a.htm's second line
    EXPECT_TRUE(clickTick(u"pf1"));    // b.htm as a whole
    EXPECT_FALSE(clickTick(u"pc0_9"));
    EXPECT_FALSE(clickTick(u"pc7_0"));
    EXPECT_EQ(statusOf(1), "2 of 3 changes ticked");
    EXPECT_EQ(statusOf(2), "not ticked");
    EXPECT_EQ(u8(w->pane(Pane::SuperMonitor).elementHtml(u"pc0_1")), "\u2610");
    put("d.htm", "x6 written meanwhile\n");

    w->click("btnApply");
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "y1\nx2\ny3\n");
    EXPECT_EQ(docs.bytes("b.htm"), "x4\n");
    EXPECT_EQ(docs.bytes("c.htm"), "none\n");
    EXPECT_EQ(docs.bytes("d.htm"), "x6 written meanwhile\n");
    EXPECT_EQ(statusOf(4), " Changed by another program");
    EXPECT_EQ(docs.bytes("bak/a.htm"), "x1\nx2\nx3\n");
    EXPECT_FALSE(fs::exists(docs.path() / "bak" / "b.htm"));
    EXPECT_TRUE(c("btnRestore").enabled);
    EXPECT_FALSE(c("btnApply").enabled) << "the preview is used up";
    previewReplace(u"nowhere", u"y");
    EXPECT_FALSE(c("btnApply").enabled);
    EXPECT_NE(log().find("* Preview: nothing to change in the ticked files."), std::string::npos);
}

TEST_F(Preview, AnActionPreviewWritesItsTickedChangesAsABatchRun) {
    openFolder({{"a.htm", "one x\ntwo\nthree x\n"}, {"b.htm", "x\n"}});
    const std::u16string rep = put("cmds.rep", "rep ---x--- with ---y---;\r\n");
    prompts.choosePath(rep);
    w->click("mPreviewAction");
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "one x\ntwo\nthree x\n");
    EXPECT_EQ(statusOf(1), "2 of 2 changes ticked");
    EXPECT_TRUE(clickTick(u"pc0_0"));
    w->click("btnApply");
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "one x\ntwo\nthree y\n");
    EXPECT_EQ(docs.bytes("b.htm"), "y\n");
    EXPECT_NE(log().find("* 2 files batch replaced successfully.\r\n"), std::string::npos);
}

TEST_F(Preview, ReplaceSaysHowManyMatchesInHowManyFiles) {
    openFour();
    replace(u"x", u"y", false);
    EXPECT_EQ(lastQuestion(), "Replace every match in 4 ticked files?") << "no Find counted yet";
    findAll(u"x");
    tick(2, false);
    replace(u"x", u"", false);
    EXPECT_EQ(lastQuestion(), "Delete 4 matches in 2 files?");
    for (long long row : {1, 2, 3, 4}) tick(row, false);
    const std::size_t asked = prompts.asked.size();
    replace(u"x", u"y", false);
    EXPECT_EQ(prompts.asked.size(), asked) << "no file ticked: nothing to ask";
    EXPECT_EQ(digitGroups(1204), u"1,204");
    EXPECT_EQ(digitGroups(1234567), u"1,234,567");
}

TEST_F(Preview, TheSingleFilePreviewPutsTheTickedChangesIntoTheText) {
    openNew("notes.txt", "cat\ndog\ncat\n");
    previewReplace(u"cat", u"cow");
    EXPECT_EQ(u8(w->document().text.str()), "cat\ndog\ncat\n");
    EXPECT_TRUE(clickTick(u"pc0_0"));
    w->click("btnApply");
    EXPECT_EQ(u8(w->document().text.str()), "cat\ndog\ncow\n");
    EXPECT_TRUE(c("btnSave").enabled);
    EXPECT_EQ(docs.bytes("notes.txt"), "cat\ndog\ncat\n") << "Save writes it";
    // The text changed since the preview: Apply leaves it.
    previewReplace(u"dog", u"wolf");
    replace(u"cow", u"ox");
    w->click("btnApply");
    EXPECT_EQ(u8(w->document().text.str()), "cat\ndog\nox\n");
    EXPECT_NE(log().find("The text changed since the preview"), std::string::npos);
}

}  // namespace
}  // namespace lodestar::testing
