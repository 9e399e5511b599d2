// Preview of Replace and of Action, and Apply, handed to the current scope; the question before a
// folder's Replace says what it will do.
#include "core/text.h"
#include "forms/main/scope_commands.h"
#include "forms/preview/run_questions.h"

namespace lodestar {

void ScopeCommands::preview() {
    const std::optional<SearchRequest> request = readRequest();
    if (!request || request->empty() || !file_.patternIsValid(*request)) return;
    if (!host_.inFolderMode()) return file_.previewReplace(*request);
    if (!folder_) return;
    if (folder_->tickedFiles() == 0)
        return host_.logError(u"No file is ticked: nothing to preview.");
    file_.resetMatchState();
    folder_->preview(*request);
}

void ScopeCommands::previewAction() {
    const bool folderMode = host_.inFolderMode();
    std::optional<CommandFileRun> run = file_.readCommandFile(folderMode);
    if (!run) return;
    if (!folderMode) return file_.previewCommands(std::move(*run));
    if (!folder_) return;
    if (folder_->tickedFiles() == 0)
        return host_.logError(u"No file is ticked: nothing to preview.");
    file_.resetMatchState();
    folder_->previewCommands(std::move(run->commands), bar_.request());
}

void ScopeCommands::apply() {
    if (!host_.inFolderMode()) return file_.applyPreview();
    if (folder_) folder_->applyPreview();
}

bool ScopeCommands::previewClicked(const std::u16string& address) {
    if (host_.inFolderMode()) return folder_ && folder_->previewClicked(address);
    return file_.previewClicked(address);
}

// Over the ticked files, with the matches the last Find counted in them when it did.
bool ScopeCommands::confirmFolderReplace(const SearchRequest& request) {
    const std::size_t ticked = folder_ ? folder_->tickedFiles() : 0;
    if (ticked == 0) {
        host_.logError(u"No file is ticked: nothing was replaced.");
        return false;
    }
    const std::optional<MatchTally> tally = folder_->tickedMatches();
    if (tally && tally->matches == 0) {
        host_.logError(
            u"The last search found no match in the ticked files: nothing was replaced.");
        return false;
    }
    const bool deleting = request.replacement().empty();
    return host_.confirm(tally ? folderReplaceQuestion(deleting, tally->matches, tally->files)
                               : folderReplaceQuestion(deleting, std::nullopt, ticked));
}

}  // namespace lodestar
