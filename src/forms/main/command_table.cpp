// The window's commands: which button and menu entry run each, the question asked first about
// unsaved text, what stands down during a run, and what may run while a file is opened.
#include "forms/main/command_table.h"

#include <memory>
#include <utility>

#include "forms/model/control_ids.h"

namespace lodestar {

void addWindowCommands(CommandRegistry& registry, CommandHandlers handlers) {
    using H = const CommandHandlers&;
    struct Row {
        const char* id;
        std::string_view button;  // empty: none
        std::string_view menu;
        const char16_t* unsavedQuestion;
        bool standsDown;
        WhileWorking whileWorking;
        void (*handler)(H);
    };
    constexpr auto W = WhileWorking::Waits;
    constexpr auto R = WhileWorking::Runs;
    static const Row rows[] = {
        {"open", main_ids::selFile, main_ids::mOpenFile,
         u"Your file not saved, save it before opening a new file?", true, W,
         [](H h) { h.openFile(); }},
        {"openFolder", main_ids::btnOpenFolder, main_ids::mOpenFolder, nullptr, true, W,
         [](H h) { h.openFolder(); }},
        {"instantTest", "", main_ids::mClose, u"Your file not saved, save it before closing it?",
         true, W, [](H h) { h.file.instantTest(); }},
        {"save", main_ids::btnSave, main_ids::mSave, nullptr, true, W,
         [](H h) { h.file.saveFile(h.file.document().path); }},
        {"saveAs", "", main_ids::mSaveAs, nullptr, true, W, [](H h) { h.file.saveAs(); }},
        {"find", main_ids::btnFind, main_ids::mFind, nullptr, true,
         WhileWorking::RunsInSingleFileMode, [](H h) { h.scope.find(); }},
        {"replace", main_ids::btnReplace, main_ids::mReplace, nullptr, true, W,
         [](H h) { h.scope.replace(); }},
        {"restore", main_ids::btnRestore, main_ids::mRestore, nullptr, true, W,
         [](H h) { h.scope.restore(); }},
        {"action", main_ids::btnAction, main_ids::mAction, nullptr, true, W,
         [](H h) { h.scope.action(); }},
        {"preview", main_ids::btnPreview, main_ids::mPreview, nullptr, true, W,
         [](H h) { h.scope.preview(); }},
        {"previewAction", "", main_ids::mPreviewAction, nullptr, true, W,
         [](H h) { h.scope.previewAction(); }},
        {"apply", main_ids::btnApply, main_ids::mApply, nullptr, true, W,
         [](H h) { h.scope.apply(); }},
        {"export", main_ids::btnExp, main_ids::mExp, nullptr, true, W,
         [](H h) { h.showForm(export_ids::frmExport); }},
        {"next", main_ids::btnNext, main_ids::mNext, nullptr, false, W, [](H h) { h.file.next(); }},
        {"prev", main_ids::btnPrev, main_ids::mPrev, nullptr, false, W,
         [](H h) { h.file.prevMatch(); }},
        {"viewSource", main_ids::View_FS, main_ids::mFsrc, nullptr, false, W,
         [](H h) { h.panes.toggleSource(); }},
        {"viewMatches", main_ids::View_ML, main_ids::mMlist, nullptr, false, W,
         [](H h) { h.panes.toggleMatchList(); }},
        {"invisible", main_ids::btnViewIn, main_ids::mViewIn, nullptr, false, W,
         [](H h) { h.file.viewInvisible(); }},
        {"wrap", main_ids::btnWrap, main_ids::mWrap, nullptr, false, W,
         [](H h) { h.file.wordWrap(); }},
        {"clearHistory", "", main_ids::mClearHis, nullptr, false, W,
         [](H h) { h.bar.clearHistory(); }},
        {"stop", main_ids::btnStop, main_ids::mStop, nullptr, false, R, [](H h) { h.run.stop(); }},
        {"options", "", main_ids::mOptions, nullptr, true, W,
         [](H h) { h.showForm(options_ids::OptionSetting); }},
        {"usedRegexps", main_ids::btnRegHis, main_ids::mUsedRegs, nullptr, false, W,
         [](H h) { h.showForm("UsedRegexps"); }},
        {"assistant", main_ids::btnRegaid, "", nullptr, false, W,
         [](H h) { h.showForm(assist_ids::RegAssist); }},
        {"exit", "", main_ids::mExit, u"File not saved, save it before exit?", false, R,
         [](H h) { h.exit(); }},
        {"about", "", main_ids::mAbout, nullptr, false, R, [](H h) { h.showForm("About"); }},
        {"contents", "", main_ids::mContents, nullptr, false, R,
         [](H h) {
             std::u16string page = u"index.htm";
             h.help.showHelpPage(page);
         }},
        {"examples", "", main_ids::mExample, nullptr, false, R,
         [](H h) { h.help.openExamplesPage(); }},
    };
    const auto shared = std::make_shared<const CommandHandlers>(std::move(handlers));
    for (const Row& r : rows)
        registry.add({r.id, std::string(r.button), std::string(r.menu), r.unsavedQuestion,
                      r.standsDown, r.whileWorking, [shared, h = r.handler] { h(*shared); }});
    // The switches' menu entries; their check boxes are clicked as boxes.
    for (ControlId entry : {main_ids::mIgnore, main_ids::mGlobal, main_ids::mDot, main_ids::mLine})
        registry.add({entry.str(), "", entry.str(), nullptr, false, W,
                      [shared, entry] { shared->bar.onSwitch(entry); }});
}

}  // namespace lodestar
