// Every way out of a file with unsaved replaced text asks first, and Cancel keeps the text.
#include "files/text_file.h"
#include "forms/folder/folder_fixture.h"

namespace lodestar::testing {
namespace {

class LeavingUnsaved : public FolderTest {
  protected:
    // A fresh window with folder mode, "other.txt" in Recent Files and "a.txt" open with
    // its "a" replaced by "b", unsaved.
    void startWithUnsavedText() {
        prompts.forget();
        start();
        open(put("other.txt", "other"));
        open(put("a.txt", "aaa"));
        replace(u"a", u"b");
        prompts.asked.clear();
    }
    // Whatever the command leads to, as a user going along would do: a file dialog picks the
    // other file, the folder picker opens the documents folder.
    void press(const std::string& name) {
        prompts.choosePath(docs.file("other.txt"));
        w->click(name);
        if (dlg().shown()) {
            dlg().typeText("Dir1", docs.folder());
            dlg().click("btnOK");
        }
        settle();
    }
    bool asked() const {
        for (const auto& p : prompts.asked)
            if (p.kind == "saveDiscardCancel" || p.kind == "okCancel" || p.kind == "choose")
                return true;
        return false;
    }
    // The replaced text is still the window's, or it reached a file.
    bool textKept() {
        const bool shown = !w->closed() && !w->MultiMode() &&
                           w->document().path == docs.file("a.txt") &&
                           u8(w->document().text) == "bbb";
        return shown || docs.bytes("a.txt") == "bbb" || docs.bytes("other.txt") == "bbb";
    }
};

TEST_F(LeavingUnsaved, EveryCommandThatLeavesTheTextAsksAndCancelKeepsIt) {
    put("page.htm", "<p>a</p>");  // what the picker lists
    startWithUnsavedText();
    std::vector<std::string> commands;
    for (const std::string& name : w->controls().names()) {
        const ControlKind kind = w->controls()[name].kind;
        if (kind == ControlKind::Button || kind == ControlKind::Menu) commands.push_back(name);
    }
    ASSERT_GT(commands.size(), 40u);
    int leaving = 0;
    for (const std::string& name : commands) {
        // Answered as one who goes on (OK, Discard, the first choice): a command that then
        // leaves the text must have asked.
        startWithUnsavedText();
        press(name);
        if (!textKept()) {
            ++leaving;
            EXPECT_TRUE(asked()) << name << " left the unsaved text without a question";
            // Answered Cancel, the same command keeps it.
            startWithUnsavedText();
            prompts.answerCancel();
            press(name);
            EXPECT_TRUE(textKept()) << name << ": Cancel lost the unsaved text";
        }
    }
    EXPECT_GE(leaving, 8) << "open, open folder, Recent Files, Instant Test, Exit, Restore";

    // The ways in from outside the menus: the path box, a drop, the command line.
    for (const std::u16string& target : {docs.file("other.txt"), docs.folder()}) {
        startWithUnsavedText();
        prompts.answerCancel();
        w->openRequested(target);
        settle();
        EXPECT_TRUE(asked() && textKept()) << u8(target);
        startWithUnsavedText();
        prompts.answerCancel();
        w->typeText("inputPath", target);
        w->enterText("inputPath");
        settle();
        EXPECT_TRUE(asked() && textKept()) << u8(target);
        EXPECT_EQ(text("inputPath"), u8(docs.file("a.txt"))) << "the box shows the file again";
    }
}

}  // namespace
}  // namespace lodestar::testing
