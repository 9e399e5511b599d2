// The folder scope of the main window: the folder, its listed files with their ticks, the
// picker, the file table and the runs over the files (Find, Replace, Action, Restore) on the
// folder engines. It talks to the window only through its ScopeHost. A run goes on away from
// the user-interface thread through a WorkRunner; each file's outcome comes back as a report
// that fills its row, the status label and the progress bar, and Stop ends the run between two
// files. What a run leaves behind (cells, counts, log lines, files) is that of a run on one
// thread.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "forms/folder/file_table.h"
#include "forms/folder/folder_dlg.h"
#include "forms/preview/change_review.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"
#include "platform/prompts.h"
#include "platform/work_runner.h"
#include "runs/run_driver.h"

namespace lodestar {

class FolderScope : public FolderWork {
  public:
    // `startFolder` is where the picker's folder tree starts; `drives` fill its drive list.
    FolderScope(ScopeHost& host, Prompts& prompts, WorkRunner& runner, std::u16string startFolder,
                std::vector<std::u16string> drives);
    ~FolderScope() override;

    FolderDlg& picker() { return picker_; }
    // Builds the file table from the file list and enters folder mode.
    bool initFileInfoShow();
    bool IsFileChecked(long long row) const;
    // Every listed file with its tick, in list order.
    std::vector<FileItem> listedFiles() const;
    // Position 0 empty, the files at 1..N.
    const std::vector<std::u16string>& fileList() const { return fileList_; }
    // The row of the file shown in the source view; 0 when none.
    long long selectedRow() const { return selectedRow_; }
    // The match total of the last folder search; nothing before the first.
    std::optional<std::size_t> lastSearchTotal() const { return lastTotal_; }
    bool running() const { return running_; }

    // FolderWork
    void find(SearchRequest request) override;
    void replace(SearchRequest request) override;
    void runCommands(std::vector<Command> commands, SearchRequest request) override;
    void restore() override;
    void preview(SearchRequest request) override;
    void previewCommands(std::vector<Command> commands, SearchRequest request) override;
    void applyPreview() override;
    bool previewClicked(const std::u16string& address) override;
    std::optional<MatchTally> tickedMatches() const override;
    const ChangeReview& review() const { return review_; }
    bool selectFileRow(const std::u16string& address) override;
    void showPicker() override;
    bool openFolder(const std::u16string& folder, const std::u16string& pattern) override;
    void tableLoaded() override;
    void setTicked(long long row, bool on) override;
    void stop() override {
        stop_.request();
        picker_.stopWalk();
    }
    std::size_t tickedFiles() const override;
    const std::u16string& folder() const override { return folder_; }
    void close() override;
    FolderFiles listed() const override { return {listedFiles(), lastTotal_}; }
    // The folder's history still holds a run Restore can take back.
    bool stepsRemain() const;

  private:
    class TableSink;

    // Marks the selected row of the table (none when 0).
    void showSelectedRow();
    void ensurePickerLoaded();
    std::size_t fileCount() const;
    // Search cells are written as HTML, the others as text.
    enum class RunKind { Search, Replace, Batch, Restore };
    // Starts `work` on the runner with a sink whose reports fill the table; `after` runs on the
    // user-interface thread once the run has ended and the commands are enabled again.
    void startRun(RunKind kind, std::function<void(FileSink&, const StopToken&)> work,
                  std::function<void()> after);
    void fileDone(const FileOutcome& outcome, bool cellsAsHtml);
    void runFailed(const std::u16string& message, const std::u16string& cause, bool markRow);
    void moveProgress();
    void endFailedRun();
    void setProgress(std::size_t done);
    // The last run in this folder was cut short: offers to restore its files and answers true,
    // so the new run does not start and overwrite that run's backups.
    bool unfinishedRunStands(bool backsUp);
    void startRestore();
    std::size_t cell(std::size_t row, std::size_t column) const {
        return row * kCellsPerRow + column;
    }
    // The preview of a run with `transform` (folder_preview.cpp); Apply writes its ticked changes.
    void startPreview(RunKind kind, std::shared_ptr<const TextTransform> transform);
    void endPreview();
    RunSettings runSettings(bool backup) const;
    // A row of a table shown in pieces, from its cells and tick as they are now.
    std::u16string piecedRow(std::size_t row) const;

    ScopeHost& w_;
    Prompts& prompts_;
    WorkRunner& runner_;
    FolderDlg picker_;
    bool pickerLoaded_ = false;
    FileTable table_;
    std::u16string piecedBody_;  // set when the table is too long to be written whole
    // The pieces of the table may outlive this folder mode inside the pane's model.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::u16string folder_;
    std::vector<std::u16string> fileList_;  // position 0 empty, files at 1..N
    std::vector<std::uint64_t> fileSizes_;  // as the walk found them, alongside fileList_
    long long selectedRow_ = 0;
    std::vector<bool> ticks_;  // position 0 unused, rows 1..N
    std::size_t ticked_ = 0;   // how many of ticks_ are on
    std::u16string type_;      // the file type that listed the files
    // The picker's OK runs without the picker shown (the path box), and its walk: the type
    // that listed the files is logged.
    bool openingUnshown_ = false;
    bool sayType_ = false;
    StopToken stop_;
    bool running_ = false;
    std::size_t filesDone_ = 0;  // the last row the current run reported
    std::size_t failedRow_ = 0;  // the row of an error entry not followed by its report
    std::chrono::steady_clock::time_point progressMoved_{};
    std::optional<std::size_t> lastTotal_;
    bool findCounts_ = false;  // the matches column holds the counts of the last Find
    ChangeReview review_;
};

}  // namespace lodestar
