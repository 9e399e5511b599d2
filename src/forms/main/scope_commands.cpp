// Find, Replace, Restore and Action handed to the current scope.
#include "forms/main/scope_commands.h"

#include "core/text.h"
#include "files/paths.h"

namespace lodestar {

std::optional<SearchRequest> ScopeCommands::readRequest() {
    return bar_.readRequest(host_.currentOptions().escapeSupport);
}

void ScopeCommands::find() {
    const std::optional<SearchRequest> request = readRequest();
    if (!request || request->empty() || !file_.patternIsValid(*request)) return;
    if (!host_.inFolderMode()) return file_.searchText(true);
    file_.forgetCurrentMatch();
    if (folder_) folder_->find(*request);
}

void ScopeCommands::replace() {
    const std::optional<SearchRequest> request = readRequest();
    if (request && !request->empty() && file_.patternIsValid(*request)) {
        if (!host_.inFolderMode()) {
            file_.replace(*request);
        } else if (confirmFolderReplace(*request)) {
            // Cleared before the run starts, so the run's own result stands after it.
            file_.resetMatchState();
            if (folder_) folder_->replace(*request);
            return;
        }
    }
    file_.resetMatchState();
}

void ScopeCommands::restore() {
    if (!host_.inFolderMode()) return file_.restore();
    if (folder_) folder_->restore();
}

void ScopeCommands::action() {
    const bool folderMode = host_.inFolderMode();
    std::optional<CommandFileRun> run = file_.readCommandFile(folderMode);
    if (!run) return;
    if (!folderMode) return file_.runCommands(std::move(*run));
    const std::u16string commandFile = FileNameOf(run->path);
    const std::size_t ticked = folder_ ? folder_->tickedFiles() : 0;
    if (ticked == 0) {
        host_.logError(u"No file is ticked: the commands of " + commandFile + u" ran nowhere.");
        return;
    }
    if (!host_.confirm(u"Run " + commandFile + u" on " + decimal(static_cast<long long>(ticked)) +
                       (ticked == 1 ? u" ticked file?" : u" ticked files?")))
        return;
    file_.resetMatchState();
    if (folder_) folder_->runCommands(std::move(run->commands), bar_.request());
}

}  // namespace lodestar
