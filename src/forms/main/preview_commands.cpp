// Preview of Replace and of Action, and Apply, handed to the current scope; the question before a
// folder's Replace says what it will do.
#include "core/text.h"
#include "forms/main/main_window.h"
#include "forms/preview/run_questions.h"

namespace lodestar {

void MainWindow::previewCommand() {
    const std::optional<SearchRequest> request = readRequest();
    if (!request || request->empty() || !file_.patternIsValid(*request)) return;
    if (!multiMode_) return file_.previewReplace(*request);
    if (!folderWork_) return;
    if (folderWork_->tickedFiles() == 0) return logError(u"No file is ticked: nothing to preview.");
    file_.resetMatchState();
    folderWork_->preview(*request);
}

void MainWindow::previewActionCommand() {
    std::optional<CommandFileRun> run = file_.readCommandFile(multiMode_);
    if (!run) return;
    if (!multiMode_) return file_.previewCommands(std::move(*run));
    if (!folderWork_) return;
    if (folderWork_->tickedFiles() == 0) return logError(u"No file is ticked: nothing to preview.");
    file_.resetMatchState();
    folderWork_->previewCommands(std::move(run->commands), bar_.request());
}

void MainWindow::applyCommand() {
    if (!multiMode_) return file_.applyPreview();
    if (folderWork_) folderWork_->applyPreview();
}

bool MainWindow::previewClicked(const std::u16string& address) {
    if (multiMode_) return folderWork_ && folderWork_->previewClicked(address);
    return file_.previewClicked(address);
}

// Over the ticked files, with the matches the last Find counted in them when it did.
bool MainWindow::confirmFolderReplace(const SearchRequest& request) {
    const std::size_t ticked = folderWork_ ? folderWork_->tickedFiles() : 0;
    if (ticked == 0) {
        logError(u"No file is ticked: nothing was replaced.");
        return false;
    }
    const std::optional<MatchTally> tally = folderWork_->tickedMatches();
    if (tally && tally->matches == 0) {
        logError(u"The last search found no match in the ticked files: nothing was replaced.");
        return false;
    }
    return confirm(
        tally ? folderReplaceQuestion(request.replacement().empty(), tally->matches, tally->files)
              : folderReplaceQuestion(request.replacement().empty(), std::nullopt, ticked));
}

}  // namespace lodestar
