// The window's commands: which button and menu entry run each, the question asked first about
// unsaved text, what stands down during a run, and what may run while a file is opened.
#include "core/text.h"
#include "files/paths.h"
#include "forms/main/main_window.h"
#include "forms/preview/run_questions.h"

namespace lodestar {

void MainWindow::registerCommands() {
    struct Row {
        const char* id;
        const char* button;
        const char* menu;
        const char16_t* unsavedQuestion;
        bool standsDown;
        WhileWorking whileWorking;
        void (*handler)(MainWindow&);
    };
    constexpr auto W = WhileWorking::Waits;
    constexpr auto R = WhileWorking::Runs;
    static const Row rows[] = {
        {"open", "selFile", "mOpenFile", u"Your file not saved, save it before opening a new file?",
         true, W, [](MainWindow& w) { w.openFileCommand(); }},
        {"openFolder", "btnOpenFolder", "mOpenFolder", nullptr, true, W,
         [](MainWindow& w) { w.openFolderCommand(); }},
        {"instantTest", "", "mClose", u"Your file not saved, save it before closing it?", true, W,
         [](MainWindow& w) { w.file_.close(); }},
        {"save", "btnSave", "mSave", nullptr, true, W,
         [](MainWindow& w) { w.file_.saveFile(w.currentFile()); }},
        {"saveAs", "", "mSaveAs", nullptr, true, W, [](MainWindow& w) { w.file_.saveAs(); }},
        {"find", "btnFind", "mFind", nullptr, true, WhileWorking::RunsInSingleFileMode,
         [](MainWindow& w) { w.find(); }},
        {"replace", "btnReplace", "mReplace", nullptr, true, W,
         [](MainWindow& w) { w.replaceCommand(); }},
        {"restore", "btnRestore", "mRestore", nullptr, true, W,
         [](MainWindow& w) { w.restoreCommand(); }},
        {"action", "btnAction", "mAction", nullptr, true, W,
         [](MainWindow& w) { w.actionCommand(); }},
        {"preview", "btnPreview", "mPreview", nullptr, true, W,
         [](MainWindow& w) { w.previewCommand(); }},
        {"previewAction", "", "mPreviewAction", nullptr, true, W,
         [](MainWindow& w) { w.previewActionCommand(); }},
        {"apply", "btnApply", "mApply", nullptr, true, W, [](MainWindow& w) { w.applyCommand(); }},
        {"export", "btnExp", "mExp", nullptr, true, W,
         [](MainWindow& w) { w.showForm_ ? w.showForm_("frmExport") : void(); }},
        {"next", "btnNext", "mNext", nullptr, false, W, [](MainWindow& w) { w.file_.next(); }},
        {"prev", "btnPrev", "mPrev", nullptr, false, W, [](MainWindow& w) { w.file_.prevMatch(); }},
        {"viewSource", "View_FS", "mFsrc", nullptr, false, W,
         [](MainWindow& w) { w.viewSource(); }},
        {"viewMatches", "View_ML", "mMlist", nullptr, false, W,
         [](MainWindow& w) { w.viewMatchList(); }},
        {"invisible", "btnViewIn", "mViewIn", nullptr, false, W,
         [](MainWindow& w) { w.file_.viewInvisible(); }},
        {"wrap", "btnWrap", "mWrap", nullptr, false, W, [](MainWindow& w) { w.file_.wordWrap(); }},
        {"clearHistory", "", "mClearHis", nullptr, false, W,
         [](MainWindow& w) { w.bar_.clearHistory(); }},
        {"stop", "btnStop", "mStop", nullptr, false, R, [](MainWindow& w) { w.stopCommand(); }},
        {"options", "", "mOptions", nullptr, true, W,
         [](MainWindow& w) { w.showForm_ ? w.showForm_("OptionSetting") : void(); }},
        {"assistant", "btnRegaid", "", nullptr, false, W,
         [](MainWindow& w) { w.showForm_ ? w.showForm_("RegAssist") : void(); }},
        {"exit", "", "mExit", u"File not saved, save it before exit?", false, R,
         [](MainWindow& w) { w.terminate(); }},
        {"about", "", "mAbout", nullptr, false, R,
         [](MainWindow& w) { w.showForm_ ? w.showForm_("About") : void(); }},
        {"contents", "", "mContents", nullptr, false, R,
         [](MainWindow& w) {
             std::u16string page = u"index.htm";
             w.help_.showHelpPage(page);
         }},
        {"web", "", "mWeb", nullptr, false, R, [](MainWindow& w) { w.help_.openHomePage(); }},
        {"examples", "", "mExample", nullptr, false, R,
         [](MainWindow& w) { w.help_.openExamplesPage(); }},
    };
    for (const Row& r : rows)
        commands_.add({r.id, r.button, r.menu, r.unsavedQuestion, r.standsDown, r.whileWorking,
                       [this, h = r.handler] { h(*this); }});
    // The switches' menu entries; their check boxes are clicked as boxes.
    for (const char* entry : {"mIgnore", "mGlobal", "mDot", "mLine"})
        commands_.add(
            {entry, "", entry, nullptr, false, W, [this, entry] { bar_.onSwitch(entry); }});
}

// Find, Replace, Restore and Action ask the current scope.
void MainWindow::find() {
    const std::optional<SearchRequest> request = readRequest();
    if (!request || request->empty() || !file_.patternIsValid(*request)) return;
    if (!multiMode_) return file_.searchText(true);
    file_.forgetCurrentMatch();
    if (folderWork_) folderWork_->find(*request);
}

void MainWindow::replaceCommand() {
    const std::optional<SearchRequest> request = readRequest();
    if (request && !request->empty() && file_.patternIsValid(*request)) {
        if (!multiMode_) {
            file_.replace(*request);
        } else if (confirmFolderReplace(*request)) {
            // Cleared before the run starts, so the run's own result stands after it.
            file_.resetMatchState();
            if (folderWork_) folderWork_->replace(*request);
            return;
        }
    }
    file_.resetMatchState();
}

void MainWindow::restoreCommand() {
    if (!multiMode_) return file_.restore();
    if (folderWork_) folderWork_->restore();
}

// In folder mode the commands run over the ticked files only, named and counted first.
void MainWindow::actionCommand() {
    std::optional<CommandFileRun> run = file_.readCommandFile(multiMode_);
    if (!run) return;
    if (!multiMode_) return file_.runCommands(std::move(*run));
    const std::u16string commandFile = FileNameOf(run->path);
    const std::size_t ticked = folderWork_ ? folderWork_->tickedFiles() : 0;
    if (ticked == 0) {
        logError(u"No file is ticked: the commands of " + commandFile + u" ran nowhere.");
        return;
    }
    if (!confirm(u"Run " + commandFile + u" on " + decimal(static_cast<long long>(ticked)) +
                 (ticked == 1 ? u" ticked file?" : u" ticked files?")))
        return;
    file_.resetMatchState();
    if (folderWork_) folderWork_->runCommands(std::move(run->commands), bar_.request());
}

}  // namespace lodestar
