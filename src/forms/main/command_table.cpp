// The window's commands: which button and menu entry run each, the question asked first about
// unsaved text, what stands down during a run, and what may run while a file is opened.
#include "forms/main/command_table.h"

#include <memory>
#include <utility>

namespace lodestar {

void addWindowCommands(CommandRegistry& registry, CommandHandlers handlers) {
    using H = const CommandHandlers&;
    struct Row {
        const char* id;
        const char* button;
        const char* menu;
        const char16_t* unsavedQuestion;
        bool standsDown;
        WhileWorking whileWorking;
        void (*handler)(H);
    };
    constexpr auto W = WhileWorking::Waits;
    constexpr auto R = WhileWorking::Runs;
    static const Row rows[] = {
        {"open", "selFile", "mOpenFile", u"Your file not saved, save it before opening a new file?",
         true, W, [](H h) { h.openFile(); }},
        {"openFolder", "btnOpenFolder", "mOpenFolder", nullptr, true, W,
         [](H h) { h.openFolder(); }},
        {"instantTest", "", "mClose", u"Your file not saved, save it before closing it?", true, W,
         [](H h) { h.file.close(); }},
        {"save", "btnSave", "mSave", nullptr, true, W,
         [](H h) { h.file.saveFile(h.file.document().path); }},
        {"saveAs", "", "mSaveAs", nullptr, true, W, [](H h) { h.file.saveAs(); }},
        {"find", "btnFind", "mFind", nullptr, true, WhileWorking::RunsInSingleFileMode,
         [](H h) { h.scope.find(); }},
        {"replace", "btnReplace", "mReplace", nullptr, true, W, [](H h) { h.scope.replace(); }},
        {"restore", "btnRestore", "mRestore", nullptr, true, W, [](H h) { h.scope.restore(); }},
        {"action", "btnAction", "mAction", nullptr, true, W, [](H h) { h.scope.action(); }},
        {"export", "btnExp", "mExp", nullptr, true, W, [](H h) { h.showForm("frmExport"); }},
        {"next", "btnNext", "mNext", nullptr, false, W, [](H h) { h.file.next(); }},
        {"prev", "btnPrev", "mPrev", nullptr, false, W, [](H h) { h.file.prevMatch(); }},
        {"viewSource", "View_FS", "mFsrc", nullptr, false, W, [](H h) { h.panes.toggleSource(); }},
        {"viewMatches", "View_ML", "mMlist", nullptr, false, W,
         [](H h) { h.panes.toggleMatchList(); }},
        {"invisible", "btnViewIn", "mViewIn", nullptr, false, W,
         [](H h) { h.file.viewInvisible(); }},
        {"wrap", "btnWrap", "mWrap", nullptr, false, W, [](H h) { h.file.wordWrap(); }},
        {"clearHistory", "", "mClearHis", nullptr, false, W, [](H h) { h.bar.clearHistory(); }},
        {"stop", "btnStop", "mStop", nullptr, false, R, [](H h) { h.run.stop(); }},
        {"options", "", "mOptions", nullptr, true, W, [](H h) { h.showForm("OptionSetting"); }},
        {"assistant", "btnRegaid", "", nullptr, false, W, [](H h) { h.showForm("RegAssist"); }},
        {"exit", "", "mExit", u"File not saved, save it before exit?", false, R,
         [](H h) { h.exit(); }},
        {"about", "", "mAbout", nullptr, false, R, [](H h) { h.showForm("About"); }},
        {"contents", "", "mContents", nullptr, false, R,
         [](H h) {
             std::u16string page = u"index.htm";
             h.help.showHelpPage(page);
         }},
        {"web", "", "mWeb", nullptr, false, R, [](H h) { h.help.openHomePage(); }},
        {"examples", "", "mExample", nullptr, false, R, [](H h) { h.help.openExamplesPage(); }},
    };
    const auto shared = std::make_shared<const CommandHandlers>(std::move(handlers));
    for (const Row& r : rows)
        registry.add({r.id, r.button, r.menu, r.unsavedQuestion, r.standsDown, r.whileWorking,
                      [shared, h = r.handler] { h(*shared); }});
    // The switches' menu entries; their check boxes are clicked as boxes.
    for (const char* entry : {"mIgnore", "mGlobal", "mDot", "mLine"})
        registry.add({entry, "", entry, nullptr, false, W,
                      [shared, entry] { shared->bar.onSwitch(entry); }});
}

}  // namespace lodestar
