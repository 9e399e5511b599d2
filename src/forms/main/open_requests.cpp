// Opening a file or folder from outside the dialogs (the path box, the command line, a drop,
// Recent Files), and the question that keeps unsaved text from being lost on the way.
#include "core/text.h"
#include "files/paths.h"
#include "forms/main/main_window.h"
#include "forms/main/open_target.h"

namespace lodestar {

bool MainWindow::settleUnsaved(const std::u16string& question) {
    if (multiMode_ || !controls_["btnSave"].enabled) return true;
    switch (services_.prompts.saveDiscardCancel(question, u" Please confirm")) {
        case SaveChoice::Save:
            file_.saveFile(currentFile());
            return !controls_["btnSave"].enabled;  // a failed or refused save keeps the text
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

void MainWindow::openRequested(const std::u16string& path) {
    if (closed_ || jobs_.working() || running_) return;
    const std::u16string clean = trimSpaces(path);
    if (!clean.empty()) OpenPath(clean);
}

void MainWindow::OpenPath(const std::u16string& text) {
    const OpenTarget target = openTargetOf(text);
    if (!target.file) {
        // Opening the folder asks about unsaved text itself, once the folder is listed.
        if (target.folder.empty() || !folderWork_ ||
            !folderWork_->openFolder(target.folder, target.pattern))
            logError(u"Can't find the path");
        return;
    }
    // The open file's own path reads it again: what another program wrote there is shown.
    const std::u16string question =
        !multiMode_ && text == currentFile()
            ? u"Your file not saved, save it before reading " + text + u" again?"
            : u"Your file not saved, save it before opening " + text + u"?";
    if (!settleUnsaved(question)) {
        restorePathBox();
        return;
    }
    file_.open(text);
}

// After a file has opened: it heads Recent Files, the open dialog starts in its folder next
// time, and the user can type a pattern at once.
void MainWindow::fileOpened() {
    recentFiles_.add(currentFile());
    recentFiles_.showIn(controls_);
    lastOpenFolder_ = ParentFolderOf(currentFile()) + u"/";
    if (moveFocus_) moveFocus_("inRepFrom");
}

void MainWindow::pickRecentFile(std::size_t index) {
    // A run over a folder's files goes on: opening waits, as the other ways to open do.
    if (running_ || index < 1 || index > recentFiles_.entries().size()) return;
    const std::u16string path = recentFiles_.entries()[index - 1];
    if (!fileExists(path)) {
        recentFiles_.remove(path);
        recentFiles_.showIn(controls_);
        services_.prompts.message(
            u"The file " + path + u" no longer exists; it is removed from Recent Files.",
            u"Lodestar");
        return;
    }
    if (path == currentFile() && !multiMode_) return;
    if (!settleUnsaved(u"Your file not saved, save it before opening another file?")) return;
    file_.open(path);
}

// A folder of Recent Folders opens in folder mode as the path box would open it; one that is
// gone leaves the list.
void MainWindow::pickRecentFolder(std::size_t index) {
    if (running_ || index < 1 || index > recentFolders_.entries().size()) return;
    const std::u16string folder = recentFolders_.entries()[index - 1];
    if (!folderExists(folder)) {
        recentFolders_.remove(folder);
        recentFolders_.showIn(controls_);
        services_.prompts.message(
            u"The folder " + folder + u" no longer exists; it is removed from Recent Folders.",
            u"Lodestar");
        return;
    }
    if (folderWork_) folderWork_->openFolder(folder, u"");
}

}  // namespace lodestar
