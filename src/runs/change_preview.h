// A preview of a replace or a batch run as changes the user ticks, and the run that writes
// exactly the ticked ones.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/text_encoding.h"
#include "runs/run_driver.h"
#include "runs/text_changes.h"

namespace lodestar {

// One previewed file: its text as read, its new text, the changes between them, their ticks.
struct FileChanges {
    std::size_t row = 0;  // 1-based position in the file list
    std::u16string path;
    std::shared_ptr<const std::u16string> before, after;
    TextFormat format;
    std::vector<TextChange> changes;
    std::vector<bool> ticked;  // one per change

    std::size_t tickedCount() const;
    // The text the ticked changes make of the text as read.
    std::u16string textToWrite() const { return withChanges(*before, *after, changes, ticked); }
};

// A file's preview as changes, every one ticked.
FileChanges changesOf(FilePreview preview);

// Writes the ticked changes of previewed files through the folder run, so backups, history
// and journal are those of any run. A file whose text is no longer the text the preview read is
// refused and left alone; a file the preview did not hold is left as it is.
class TickedChangesTransform : public TextTransform {
  public:
    // `run` is the run that was previewed, for the wording of the reports.
    TickedChangesTransform(FileRun run, std::vector<FileChanges> files);

    std::unique_ptr<TextTransform> copy() const override {
        return std::make_unique<TickedChangesTransform>(*this);
    }
    FileRun run() const override { return run_; }
    std::u16string apply(std::u16string_view text) override { return std::u16string(text); }
    std::optional<std::u16string> applyTo(const std::u16string& path,
                                          std::u16string_view text) override;

  private:
    FileRun run_;
    std::shared_ptr<const std::map<std::u16string, FileChanges>> files_;
};

}  // namespace lodestar
