// Folder mode of the main window: the folder picker, the file table and the runs over the
// folder's files (Find, Replace, Action, Restore) on the folder engines. A run goes on away from
// the user-interface thread through a WorkRunner; each file's outcome comes back as a report
// that fills its row, the status label and the progress bar, and Stop ends the run between two
// files. What a run leaves behind (cells, counts, log lines, files) is that of a run on one
// thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "forms/folder/file_table.h"
#include "forms/folder/folder_dlg.h"
#include "forms/main/main_window.h"
#include "platform/work_runner.h"

namespace lodestar {

class FolderMode : public FolderWork {
  public:
    // Registers itself as the window's folder work. `startFolder` is where the picker's folder
    // tree starts; `drives` fill its drive list.
    FolderMode(MainWindow& window, Prompts& prompts, WorkRunner& runner, std::u16string startFolder,
               std::vector<std::u16string> drives);
    ~FolderMode() override;

    FolderDlg& picker() { return picker_; }
    // Builds the file table from the window's file list and enters folder mode.
    bool initFileInfoShow();
    bool IsFileChecked(long long row) const;
    // Every listed file with its tick, in list order.
    std::vector<FileItem> listedFiles() const;
    // The match total of the last folder search; nothing before the first.
    std::optional<std::size_t> lastSearchTotal() const { return lastTotal_; }
    bool running() const { return running_; }

    // FolderWork
    void SearchAllFiles(MainWindow& window) override;
    void ReplaceAllFiles(MainWindow& window) override;
    void BatchAllFiles(MainWindow& window) override;
    void RestoreFolder(MainWindow& window) override;
    bool SelectFileRow(MainWindow& window, const std::u16string& address) override;
    void showPicker(MainWindow& window) override;
    bool openFolder(MainWindow& window, const std::u16string& folder,
                    const std::u16string& pattern) override;
    void tableLoaded(MainWindow& window) override;
    void showSelectedRow(MainWindow& window) override;
    void setTicked(long long row, bool on) override;
    void stop() override { stop_.request(); }
    std::size_t tickedFiles() const override;
    // The folder's history still holds a run Restore can take back.
    bool stepsRemain() const;

  private:
    class TableSink;

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
    void endFailedRun();
    void setProgress(std::size_t done);
    // The last run in this folder was cut short: offers to restore its files and answers true,
    // so the new run does not start and overwrite that run's backups.
    bool unfinishedRunStands(bool backsUp);
    void startRestore();
    std::size_t cell(std::size_t row, std::size_t column) const {
        return row * kCellsPerRow + column;
    }
    // A row of a table shown in pieces, from its cells and tick as they are now.
    std::u16string piecedRow(std::size_t row) const;

    MainWindow& w_;
    Prompts& prompts_;
    WorkRunner& runner_;
    FolderDlg picker_;
    bool pickerLoaded_ = false;
    FileTable table_;
    std::u16string piecedBody_;  // set when the table is too long to be written whole
    // The pieces of the table may outlive this folder mode inside the pane's model.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::vector<bool> ticks_;  // position 0 unused, rows 1..N
    StopToken stop_;
    bool running_ = false;
    std::size_t filesDone_ = 0;  // the last row the current run reported
    std::size_t failedRow_ = 0;  // the row of an error entry not followed by its report
    std::optional<std::size_t> lastTotal_;
};

}  // namespace lodestar
