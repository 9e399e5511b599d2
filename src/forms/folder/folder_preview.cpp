// Folder mode's preview: Replace or Action run without writing, their changes shown with ticks in
// the source view's pane and the table's rows, and Apply, the run that writes the ticked ones.
#include <new>
#include <utility>

#include "core/text.h"
#include "forms/folder/ask_on_ui.h"
#include "forms/folder/folder_scope.h"
#include "forms/model/control_ids.h"
#include "forms/model/file_cells.h"
#include "forms/preview/run_questions.h"
#include "runs/batch_files.h"
#include "runs/change_preview.h"
#include "runs/multi_replace.h"

namespace lodestar {

RunSettings FolderScope::runSettings(bool backup) const {
    const Options& options = w_.currentOptions();
    RunSettings settings;
    settings.backup = backup;
    settings.currentFolder = folder_;
    settings.backupFolderName = options.backupFolder;
    settings.reading = w_.textReading();
    settings.followLinks = picker_.followLinks();
    settings.keepSteps = options.keptSteps;
    return settings;
}

void FolderScope::preview(SearchRequest request) {
    startPreview(RunKind::Replace,
                 std::make_shared<ReplaceTransform>(request.expression(), request.replacement()));
}

void FolderScope::previewCommands(std::vector<Command> commands, SearchRequest request) {
    startPreview(RunKind::Batch,
                 std::make_shared<CommandTransform>(commands, request.expression()));
}

void FolderScope::startPreview(RunKind kind, std::shared_ptr<const TextTransform> transform) {
    auto files = std::make_shared<std::vector<FileChanges>>();
    auto summary = std::make_shared<RunSummary>();
    RunSettings settings = runSettings(false);
    // Read-only files are shown as a run that may make them writable changes them.
    settings.previewReadOnly = true;
    settings.previewBytes = false;  // the review keeps the text; Apply encodes it
    startRun(
        kind,
        [files, summary, transform, settings, listed = listedFiles()](FileSink& sink,
                                                                      const StopToken& stop) {
            *summary = previewFolder(
                listed, *transform, settings, sink,
                [&](FilePreview file) { files->push_back(changesOf(std::move(file))); }, &stop);
        },
        [this, files, summary, kind] {
            if (!summary->ok) return;
            if (files->empty())
                return w_.logLine(u"Preview: nothing to change in the ticked files.");
            review_.start(kind == RunKind::Batch ? FileRun::Batch : FileRun::Replace,
                          std::move(*files), folder_);
            PaneModel& list = w_.pane(Pane::ListView);
            for (std::size_t f = 0; f < review_.files().size(); ++f)
                list.setCellText(kFileTableId, cell(review_.files()[f].row, kStatusColumn),
                                 review_.tickedText(f));
            w_.showSourcePane();
            review_.show(w_.pane(Pane::SuperMonitor));
            w_.controls().setEnabled(main_ids::btnApply, review_.changeCount() > 0);
            const std::size_t files = review_.files().size();
            w_.logLine(u"Preview: " + digitGroups(review_.changeCount()) + u" changes in " +
                       digitGroups(files) + (files == 1 ? u" file" : u" files") +
                       u"; nothing is written until Apply writes the ticked ones.");
            w_.showStatus(u"Done.");
        });
}

void FolderScope::endPreview() {
    if (!review_.active()) return;
    review_.clear();
    w_.controls().setEnabled(main_ids::btnApply, false);
}

bool FolderScope::previewClicked(const std::u16string& address) {
    if (running_ || !review_.active()) return false;
    const std::optional<std::size_t> file = review_.click(address, w_.pane(Pane::SuperMonitor));
    if (!file) return false;
    w_.pane(Pane::ListView)
        .setCellText(kFileTableId, cell(review_.files()[*file].row, kStatusColumn),
                     review_.tickedText(*file));
    return true;
}

void FolderScope::applyPreview() {
    if (!review_.active()) return;
    if (review_.filesToWrite() == 0) {
        w_.logError(u"No change is ticked: nothing was written.");
        return;
    }
    const Options& options = w_.currentOptions();
    const bool batch = review_.run() == FileRun::Batch;
    const bool backup = batch || options.backupOnReplace;
    if (unfinishedRunStands(backup)) return;
    std::vector<FileChanges> toWrite = review_.toWrite();
    // Only the files with a ticked change, still ticked in the table, are worked on; every row
    // keeps its place.
    std::vector<FileItem> files = listedFiles();
    std::vector<bool> used;
    for (FileItem& item : files) used.push_back(std::exchange(item.ticked, false));
    for (const FileChanges& file : toWrite)
        if (file.tickedCount() > 0 && used[file.row - 1]) files[file.row - 1].ticked = true;
    auto summary = std::make_shared<RunSummary>();
    auto transform = std::make_shared<TickedChangesTransform>(review_.run(), std::move(toWrite));
    startRun(
        batch ? RunKind::Batch : RunKind::Replace,
        [this, summary, transform, files, settings = runSettings(backup)](FileSink& sink,
                                                                          const StopToken& stop) {
            AskOnUi question(runner_, prompts_);
            *summary = runFolder(files, *transform, settings, sink, &question, &stop);
        },
        [this, summary] {
            if (summary->ok || summary->written > 0) w_.setRestoreEnabled(true);
            w_.readPickedFile(false);
        });
}

std::optional<MatchTally> FolderScope::tickedMatches() const {
    if (!findCounts_) return std::nullopt;
    const PaneModel& list = w_.pane(Pane::ListView);
    MatchTally tally;
    for (std::size_t row = 1; row <= fileCount(); ++row) {
        if (!IsFileChecked(static_cast<long long>(row))) continue;
        const std::u16string text = list.cellText(kFileTableId, cell(row, kMatchesColumn));
        if (text.empty() || text.size() > 15) return std::nullopt;
        std::size_t n = 0;
        for (char16_t c : text) {
            if (c < u'0' || c > u'9') return std::nullopt;
            n = n * 10 + static_cast<std::size_t>(c - u'0');
        }
        tally.matches += n;
        tally.files += n > 0;
    }
    return tally;
}

}  // namespace lodestar
