// The single file's preview: the replace or the command file's result as ticked changes in the
// source view, and Apply, which puts the ticked ones into the text as Replace would (Save writes
// it).
#include <new>

#include "core/reason.h"
#include "core/text.h"
#include "files/paths.h"
#include "forms/file/file_scope.h"
#include "forms/model/control_ids.h"
#include "forms/preview/run_questions.h"
#include "runs/change_preview.h"
#include "search/expression_ops.h"

namespace lodestar {

void FileScope::previewReplace(const SearchRequest& request) {
    startReview(FileRun::Replace, [request](std::u16string_view text) {
        return replaceIn(request.expression(), text, request.replacement());
    });
}

void FileScope::previewCommands(CommandFileRun run) {
    startReview(FileRun::Batch, [run](std::u16string_view text) mutable {
        return ApplyCommands(run.commands, text, run.expression);
    });
}

// The new text and its changes are worked out on the window's job, as a search is; the text
// stays as it is.
void FileScope::startReview(FileRun kind, std::function<std::u16string(std::u16string_view)> make) {
    auto changes = std::make_shared<std::optional<FileChanges>>();
    auto failure = std::make_shared<std::u16string>();
    host_.showStatus(u"Preparing the preview");
    jobs_.start(
        [changes, failure, make, kind, text = doc_.text.shared(), path = doc_.path,
         format = doc_.format](const StopToken&, const JobProgress&) {
            const std::u16string heading =
                kind == FileRun::Batch ? std::u16string(kBatchErrorMessage) : u"Error in Replace.";
            try {
                *changes = changesOf({1, path, *text, make(*text), format, {}});
            } catch (const std::bad_alloc&) {
                *failure = heading + u"\r\nNot enough memory for the new text.";
            } catch (const std::exception& e) {
                *failure = heading + u"\r\n" + reasonOf(e);
            }
        },
        [this, changes, failure, kind] {
            if (!failure->empty()) return host_.logError(*failure);
            if ((*changes)->changes.empty()) {
                endReview();
                host_.logError(u"Nothing to change: the text stays as it is.");
                return;
            }
            std::vector<FileChanges> files;
            files.push_back(std::move(**changes));
            review_.start(kind, std::move(files));
            resetMatchState();
            renderedSource_.clear();
            review_.show(source());
            controls().setEnabled(main_ids::btnApply, true);
            host_.showStatus(u"Done.");
            host_.logLine(u"Preview: " + digitGroups(review_.changeCount()) +
                          u" changes; the text is changed only when Apply puts in the ticked "
                          u"ones.");
        });
}

void FileScope::endReview() {
    review_.clear();
    controls().setEnabled(main_ids::btnApply, false);
}

bool FileScope::previewClicked(const std::u16string& address) {
    return review_.active() && review_.click(address, source()).has_value();
}

void FileScope::applyPreview() {
    if (!review_.active()) return;
    const FileChanges file = review_.toWrite().front();
    if (file.path != doc_.path || *file.before != doc_.text.str()) {
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
