// The single file's preview: the replace or the command file's result as ticked changes in the
// source view, and Apply, which puts the ticked ones into the text as Replace would (Save writes
// it).
#include <new>

#include "core/text.h"
#include "files/paths.h"
#include "forms/file/file_scope.h"
#include "forms/preview/run_questions.h"
#include "runs/change_preview.h"
#include "search/expression_ops.h"

namespace lodestar {

void FileScope::previewReplace(const SearchRequest& request) {
    try {
        startReview(FileRun::Replace,
                    replaceIn(request.expression(), doc_.text, request.replacement()));
    } catch (const std::bad_alloc&) {
        host_.logError(u"Error in Replace.\r\nNot enough memory for the replaced text.");
    } catch (const std::exception& e) {
        host_.logError(u"Error in Replace.\r\n" + fromUtf8(e.what()));
    }
}

void FileScope::previewCommands(CommandFileRun run) {
    try {
        startReview(FileRun::Batch, ApplyCommands(run.commands, doc_.text, run.expression));
    } catch (const std::bad_alloc&) {
        host_.logError(u"Error in Replace.\r\nNot enough memory for the replaced text.");
    } catch (const std::exception& e) {
        host_.logError(std::u16string(kBatchErrorMessage) + u"\r\n" + fromUtf8(e.what()));
    }
}

void FileScope::startReview(FileRun run, std::u16string newText) {
    FilePreview preview;
    preview.row = 1;
    preview.path = doc_.path;
    preview.before = doc_.text;
    preview.text = std::move(newText);
    preview.format = doc_.format;
    FileChanges changes = changesOf(std::move(preview));
    if (changes.changes.empty()) {
        endReview();
        host_.logError(u"Nothing to change: the text stays as it is.");
        return;
    }
    std::vector<FileChanges> files;
    files.push_back(std::move(changes));
    review_.start(run, std::move(files));
    resetMatchState();
    renderedSource_.clear();
    review_.show(source());
    controls().setEnabled("btnApply", true);
    host_.logLine(u"Preview: " + digitGroups(review_.changeCount()) +
                  u" changes; the text is changed only when Apply puts in the ticked ones.");
}

void FileScope::endReview() {
    review_.clear();
    controls().setEnabled("btnApply", false);
}

bool FileScope::previewClicked(const std::u16string& address) {
    return review_.active() && review_.click(address, source()).has_value();
}

void FileScope::applyPreview() {
    if (!review_.active()) return;
    const FileChanges file = review_.toWrite().front();
    if (*file.before != doc_.text.str()) {
        endReview();
        renderSource(doc_.text);
        host_.logError(u"The text changed since the preview: nothing was applied.");
        return;
    }
    std::u16string text = file.textToWrite();
    const std::size_t applied = file.tickedCount();
    endReview();
    if (applied == 0 || !encodingHolds(text)) {
        renderSource(doc_.text);
        if (applied == 0) host_.logError(u"No change is ticked: the text stays as it is.");
        return;
    }
    doc_.text = std::move(text);
    host_.setSaveEnabled(doc_.changed());
    host_.setRestoreEnabled(true);
    host_.logLine(digitGroups(applied) +
                  u" changes applied, click save to change the source file.");
    renderSource(doc_.text);
}

}  // namespace lodestar
