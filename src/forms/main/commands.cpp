// The window's commands: which button and menu entry run each, the question asked first about
// unsaved text, what stands down during a run, and what may run while a file is opened.
#include "forms/main/main_window.h"

namespace lodestar {

void MainWindow::registerCommands() {
    struct Row {
        const char* id;
        const char* button;
        const char* menu;
        const char16_t* unsavedQuestion;
        bool standsDown;
        WhileWorking whileWorking;
        void (MainWindow::*handler)();
    };
    constexpr auto W = WhileWorking::Waits;
    constexpr auto R = WhileWorking::Runs;
    static const Row rows[] = {
        {"open", "selFile", "mOpenFile", u"Your file not saved, save it before opening a new file?",
         true, W, &MainWindow::openFileCommand},
        {"openFolder", "btnOpenFolder", "mOpenFolder", nullptr, true, W,
         &MainWindow::openFolderCommand},
        {"instantTest", "", "mClose", u"Your file not saved, save it before closing it?", true, W,
         &MainWindow::closeSingleFile},
        {"save", "btnSave", "mSave", nullptr, true, W, &MainWindow::saveCommand},
        {"saveAs", "", "mSaveAs", nullptr, true, W, &MainWindow::saveAsCommand},
        {"find", "btnFind", "mFind", nullptr, true, WhileWorking::RunsInSingleFileMode,
         &MainWindow::find},
        {"replace", "btnReplace", "mReplace", nullptr, true, W, &MainWindow::replaceCommand},
        {"restore", "btnRestore", "mRestore", nullptr, true, W, &MainWindow::restoreCommand},
        {"action", "btnAction", "mAction", nullptr, true, W, &MainWindow::actionCommand},
        {"export", "btnExp", "mExp", nullptr, true, W, &MainWindow::exportCommand},
        {"next", "btnNext", "mNext", nullptr, false, W, &MainWindow::next},
        {"prev", "btnPrev", "mPrev", nullptr, false, W, &MainWindow::prevMatch},
        {"viewSource", "View_FS", "mFsrc", nullptr, false, W, &MainWindow::viewSource},
        {"viewMatches", "View_ML", "mMlist", nullptr, false, W, &MainWindow::viewMatchList},
        {"invisible", "btnViewIn", "mViewIn", nullptr, false, W, &MainWindow::viewInvisible},
        {"wrap", "btnWrap", "mWrap", nullptr, false, W, &MainWindow::wordWrap},
        {"clearHistory", "", "mClearHis", nullptr, false, W, &MainWindow::clearHistory},
        {"stop", "btnStop", "mStop", nullptr, false, R, &MainWindow::stopCommand},
        {"options", "", "mOptions", nullptr, true, W, &MainWindow::optionsCommand},
        {"assistant", "btnRegaid", "", nullptr, false, W, &MainWindow::assistantCommand},
        {"exit", "", "mExit", u"File not saved, save it before exit?", false, R,
         &MainWindow::terminate},
        {"about", "", "mAbout", nullptr, false, R, &MainWindow::aboutCommand},
        {"contents", "", "mContents", nullptr, false, R, &MainWindow::contentsCommand},
        {"web", "", "mWeb", nullptr, false, R, &MainWindow::webCommand},
        {"examples", "", "mExample", nullptr, false, R, &MainWindow::examplesCommand},
    };
    for (const Row& r : rows)
        commands_.add({r.id, r.button, r.menu, r.unsavedQuestion, r.standsDown, r.whileWorking,
                       [this, h = r.handler] { (this->*h)(); }});
    // The switches' menu entries; their check boxes are clicked as boxes.
    for (const char* entry : {"mIgnore", "mGlobal", "mDot", "mLine"})
        commands_.add({entry, "", entry, nullptr, false, W, [this, entry] { onSwitch(entry); }});
}

void MainWindow::exportCommand() {
    if (showForm) showForm("frmExport");
}

void MainWindow::optionsCommand() {
    if (showForm) showForm("OptionSetting");
}

void MainWindow::assistantCommand() {
    if (showForm) showForm("RegAssist");
}

void MainWindow::aboutCommand() {
    if (showForm) showForm("About");
}

void MainWindow::contentsCommand() {
    std::u16string page = u"index.htm";
    help_.showHelpPage(page);
}

void MainWindow::webCommand() {
    help_.openHomePage();
}

void MainWindow::examplesCommand() {
    help_.openExamplesPage();
}

}  // namespace lodestar
