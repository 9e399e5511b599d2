// Opening a file or folder from outside the dialogs (the path box, the command line, a drop,
// Recent Files), each asking about unsaved text on the way.
#include "forms/main/open_requests.h"

#include "core/text.h"
#include "files/paths.h"
#include "forms/main/open_target.h"
#include "forms/model/control_ids.h"

namespace lodestar {

void OpenRequests::openPath(const std::u16string& text) {
    const OpenTarget target = openTargetOf(text);
    if (!target.file) {
        // Opening the folder asks about unsaved text itself, once the folder is listed.
        if (target.folder.empty() || !folder_ ||
            !folder_->openFolder(target.folder, target.pattern))
            host_.logError(u"Can't find the path");
        return;
    }
    // The open file's own path reads it again: what another program wrote there is shown.
    const std::u16string question =
        !host_.inFolderMode() && text == host_.currentFile()
            ? u"Your file not saved, save it before reading " + text + u" again?"
            : u"Your file not saved, save it before opening " + text + u"?";
    if (!host_.settleUnsaved(question)) {
        host_.restorePathBox();
        return;
    }
    file_.open(text);
}

void OpenRequests::openFileDialog() {
    std::u16string path =
        trimSpaces(prompts_.openFile(u"Any file|*.*|HTML file(*.htm;*.html)|*.htm;*.html|"
                                     u"text file(*.txt;*.csv)|*.txt;*.csv|"
                                     u"XML file(*.xml)|*.xml",
                                     lastOpenFolder_));
    if (path.empty()) return;
    file_.open(path);
}

void OpenRequests::fileOpened() {
    recentFiles_.add(host_.currentFile());
    recentFiles_.showIn(host_.controls());
    lastOpenFolder_ = ParentFolderOf(host_.currentFile()) + u"/";
    if (moveFocus_) moveFocus_(main_ids::inRepFrom);
}

void OpenRequests::pickRecentFile(std::size_t index) {
    // A run over a folder's files goes on: opening waits, as the other ways to open do.
    if (run_.running() || index < 1 || index > recentFiles_.entries().size()) return;
    const std::u16string path = recentFiles_.entries()[index - 1];
    if (!fileExists(path)) {
        recentFiles_.remove(path);
        recentFiles_.showIn(host_.controls());
        prompts_.message(
            u"The file " + path + u" no longer exists; it is removed from Recent Files.",
            u"Lodestar");
        return;
    }
    if (path == host_.currentFile() && !host_.inFolderMode()) return;
    if (!host_.settleUnsaved(u"Your file not saved, save it before opening another file?")) return;
    file_.open(path);
}

// A folder of Recent Folders opens in folder mode as the path box would open it; one that is
// gone leaves the list.
void OpenRequests::pickRecentFolder(std::size_t index) {
    if (run_.running() || index < 1 || index > recentFolders_.entries().size()) return;
    const std::u16string folder = recentFolders_.entries()[index - 1];
    if (!folderExists(folder)) {
        recentFolders_.remove(folder);
        recentFolders_.showIn(host_.controls());
        prompts_.message(
            u"The folder " + folder + u" no longer exists; it is removed from Recent Folders.",
            u"Lodestar");
        return;
    }
    if (folder_) folder_->openFolder(folder, u"");
}

void OpenRequests::folderEntered() {
    if (!folder_ || folder_->folder().empty()) return;
    recentFolders_.add(folder_->folder());
    recentFolders_.showIn(host_.controls());
}

void OpenRequests::recall(const WindowState& state) {
    lastOpenFolder_ = state.openFolder;
    recentFiles_.assign(state.recentFiles);
    recentFiles_.showIn(host_.controls());
    recentFolders_.assign(state.recentFolders);
    recentFolders_.showIn(host_.controls());
}

void OpenRequests::remember(WindowState& state) const {
    state.openFolder = lastOpenFolder_;
    state.recentFiles = recentFiles_.entries();
    state.recentFolders = recentFolders_.entries();
}

}  // namespace lodestar
