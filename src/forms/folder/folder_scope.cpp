// The folder scope: the picker's result, the file table, row selection and the four runs.
#include "forms/folder/folder_scope.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

#include "backups/backup.h"
#include "backups/run_journal.h"
#include "core/markup_escape.h"
#include "core/text.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "forms/folder/ask_on_ui.h"
#include "forms/folder/file_table_pieces.h"
#include "forms/folder/folder_info.h"
#include "forms/model/app_title.h"
#include "forms/model/control_ids.h"
#include "forms/model/file_cells.h"
#include "forms/model/progress_bar.h"
#include "forms/preview/run_questions.h"
#include "runs/batch_files.h"
#include "runs/multi_replace.h"
#include "runs/multi_search.h"

namespace lodestar {

namespace {

constexpr char16_t kSelected[] = u"yellow";

}  // namespace

// Carries every report of a run to the user-interface thread, in order.
class FolderScope::TableSink : public FileSink {
  public:
    TableSink(FolderScope& mode, bool cellsAsHtml) : mode_(mode), cellsAsHtml_(cellsAsHtml) {}
    // Whether an error entry names a failing file (off while backups are taken, say).
    bool rowFailures = true;

    // The reports of files that follow one another reach the window's thread together: one
    // hand-over per file would keep that thread from the page and the user for a run of
    // thousands of small files. Any other report closes the batch, so the order holds.
    void fileDone(const FileOutcome& outcome) override {
        std::shared_ptr<std::vector<FileOutcome>> fresh;
        {
            std::lock_guard lock(batches_->mutex);
            if (!batches_->open)
                fresh = batches_->open = std::make_shared<std::vector<FileOutcome>>();
            batches_->open->push_back(outcome);
        }
        // Posted outside the lock: a runner may run the report at once, on this thread.
        if (fresh)
            mode_.runner_.post(
                [m = &mode_, batches = batches_, batch = fresh, html = cellsAsHtml_] {
                    std::vector<FileOutcome> outcomes;
                    {
                        std::lock_guard lock(batches->mutex);
                        if (batches->open == batch) batches->open.reset();
                        outcomes.swap(*batch);
                    }
                    for (const FileOutcome& outcome : outcomes) m->fileDone(outcome, html);
                    m->moveProgress();
                });
    }
    void logLine(std::u16string_view message) override {
        flushStatus();
        mode_.runner_.post([m = &mode_, text = std::u16string(message)] { m->w_.logLine(text); });
    }
    void logError(std::u16string_view message, std::u16string_view cause) override {
        flushStatus();
        mode_.runner_.post([m = &mode_, text = std::u16string(message), why = std::u16string(cause),
                            mark = rowFailures] { m->runFailed(text, why, mark); });
    }
    // The window repaints its status at once: one status per file would hold a tree of
    // thousands of files up for minutes. A status follows the one before by at least
    // kStatusInterval, and the latest held back still shows before the next log entry and at
    // the end of the run (`flushStatus`), so the texts that stay are those of every report.
    void showStatus(std::u16string_view message) override {
        held_ = message;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastStatus_ >= kStatusInterval) flushStatus();
    }
    void flushStatus() {
        closeBatch();
        if (!held_) return;
        lastStatus_ = std::chrono::steady_clock::now();
        mode_.runner_.post([m = &mode_, text = std::move(*held_)] { m->w_.showStatus(text); });
        held_.reset();
    }

  private:
    void closeBatch() {
        std::lock_guard lock(batches_->mutex);
        batches_->open.reset();
    }
    struct Batches {
        std::mutex mutex;
        std::shared_ptr<std::vector<FileOutcome>> open;  // posted, still taking reports
    };

    static constexpr std::chrono::milliseconds kStatusInterval{50};
    std::shared_ptr<Batches> batches_ = std::make_shared<Batches>();
    FolderScope& mode_;
    bool cellsAsHtml_;
    std::optional<std::u16string> held_;
    std::chrono::steady_clock::time_point lastStatus_{};
};

FolderScope::FolderScope(ScopeHost& host, Prompts& prompts, WorkRunner& runner,
                         std::u16string startFolder, std::vector<std::u16string> drives)
    : w_(host),
      prompts_(prompts),
      runner_(runner),
      picker_(prompts, runner, std::move(startFolder), std::move(drives)) {
    picker_.pathChanged = [this](const std::u16string& path) {
        w_.controls().setText(main_ids::inputPath, path);
    };
    picker_.cancelled = [this] { w_.restorePathBox(); };
    picker_.busy = [this] { return w_.running(); };
    picker_.chosen = [this](const std::u16string& folder, const std::vector<std::u16string>& files,
                            const std::vector<std::uint64_t>& sizes) {
        if (!w_.settleUnsaved(u"Your file not saved, save it before opening the folder " + folder +
                              u"?")) {
            w_.restorePathBox();
            return;
        }
        folder_ = folder;
        type_ = picker_.typeShown();
        fileList_.assign(1, u"");
        fileList_.insert(fileList_.end(), files.begin(), files.end());
        fileSizes_.assign(1, 0);
        fileSizes_.insert(fileSizes_.end(), sizes.begin(), sizes.end());
        for (const std::u16string& note : picker_.notes()) w_.logLine(note);
        initFileInfoShow();
        // Opened without the picker shown: the type it listed is said, as the picker shows it.
        if (sayType_)
            w_.logLine(u"Listed the files of type " +
                       (type_ == u"*.*" ? std::u16string(u"All files") : type_) +
                       u"; Open Folder chooses another type.");
    };
    // The picker's walk holds the window's commands as a run does; Stop ends it.
    picker_.walkStarted = [this] {
        sayType_ = openingUnshown_;
        w_.setRunning(true, [this] { picker_.stopWalk(); });
        w_.showStatus(u"Listing files ...");
    };
    picker_.walkFound = [this](std::size_t files) {
        w_.showStatus(u"Listing files: " + digitGroups(files) + u" found ...");
    };
    picker_.walkEnded = [this] { w_.setRunning(false); };
}

FolderScope::~FolderScope() = default;

void FolderScope::close() {
    folder_.clear();
    selectedRow_ = 0;
}

void FolderScope::ensurePickerLoaded() {
    picker_.backupFolderName = w_.currentOptions().backupFolder;
    if (pickerLoaded_) return;
    pickerLoaded_ = true;
    picker_.load();
}

void FolderScope::showPicker() {
    ensurePickerLoaded();
    picker_.open();
}

bool FolderScope::openFolder(const std::u16string& folder, const std::u16string& pattern) {
    if (!folderExists(folder)) return false;
    ensurePickerLoaded();
    if (!pattern.empty()) picker_.setPattern(pattern);
    picker_.setFolder(folder);
    openingUnshown_ = true;
    picker_.ok();
    openingUnshown_ = false;
    return true;
}

std::size_t FolderScope::fileCount() const {
    return fileList_.empty() ? 0 : fileList_.size() - 1;
}

bool FolderScope::initFileInfoShow() {
    const std::size_t n = fileCount();
    if (n < 1) {
        w_.logError(u"There's no specified files in this folder.");
        return false;
    }
    w_.controls().setText(main_ids::inputPath, folder_);
    std::u16string templateHtml;
    try {
        templateHtml = LoadFileText(w_.programFolder() + u"lib/tbl.tmp");
    } catch (const Error& e) {
        w_.logError(u"Can't show the file table.\r\n" + fromUtf8(e.what()));
        return false;
    }
    // A long table's rows come from the cells, a piece at a time: its whole HTML is never made.
    const bool pieced = n > kPiecedTableRows;
    table_ = buildFileTable(pieced ? u"" : templateHtml, fileList_, folder_, fileSizes_, !pieced);
    piecedBody_ = pieced ? piecedTableBody(templateHtml) : u"";
    ticks_.assign(n + 1, true);
    ticked_ = n;
    w_.pane(Pane::ListView).navigate(w_.programFolder() + u"lib/list.tmp");
    w_.logLine(u"Open files in folder " + folder_);
    selectedRow_ = 0;
    w_.enterFolderMode();
    // The folder's history outlives the window: Restore takes back its newest run.
    w_.setRestoreEnabled(stepsRemain());
    return true;
}

void FolderScope::tableLoaded() {
    PaneModel& list = w_.pane(Pane::ListView);
    const std::u16string info =
        folderInfoHtml(folderInfoText(folder_, type_, fileCount(), ticked_));
    if (piecedBody_.empty()) {
        list.setBodyHtml(info + table_.html);
    } else {
        list.setBodyHtml(info + piecedBody_);
        list.setElementPieces(
            kFileTableId,
            std::make_shared<FileTablePieces>(
                fileCount(),
                [this, alive = std::weak_ptr<int>(alive_)](std::size_t row) -> std::u16string {
                    return alive.expired() ? u"" : piecedRow(row);
                }));
    }
    list.setTable(kFileTableId, table_.cells, table_.rowColours);
}

std::u16string FolderScope::piecedRow(std::size_t row) const {
    const PaneModel& list = w_.pane(Pane::ListView);
    std::u16string cells[kCellsPerRow];
    for (std::size_t k = 0; k < kCellsPerRow; ++k)
        cells[k] = list.cellHtml(kFileTableId, cell(row, k));
    return piecedRowHtml(row, list.rowBackground(kFileTableId, row), cells, kCellsPerRow,
                         IsFileChecked(static_cast<long long>(row)));
}

bool FolderScope::IsFileChecked(long long row) const {
    return row >= 1 && static_cast<std::size_t>(row) < ticks_.size() && ticks_[row];
}

void FolderScope::setTicked(long long row, bool on) {
    if (row < 1 || static_cast<std::size_t>(row) >= ticks_.size() || ticks_[row] == on) return;
    ticks_[row] = on;
    on ? ++ticked_ : --ticked_;
    w_.pane(Pane::ListView)
        .setElementHtml(kFolderInfoId,
                        escapeMarkup(folderInfoText(folder_, type_, fileCount(), ticked_)));
}

std::size_t FolderScope::tickedFiles() const {
    std::size_t n = 0;
    for (std::size_t i = 1; i <= fileCount(); ++i) n += IsFileChecked(static_cast<long long>(i));
    return n;
}

std::vector<FileItem> FolderScope::listedFiles() const {
    std::vector<FileItem> files;
    for (std::size_t i = 1; i <= fileCount(); ++i)
        files.push_back({fileList_[i], IsFileChecked(static_cast<long long>(i))});
    return files;
}

// ---- Selecting a file -----------------------------------------------------------------------

bool FolderScope::selectFileRow(const std::u16string& address) {
    // During a run the current file stays as it is.
    if (running_) return true;
    const std::size_t hash = address.rfind(u'#');
    long long n = 0;
    for (std::size_t i = hash + 1;
         i < address.size() && address[i] >= u'0' && address[i] <= u'9' && n < (1LL << 40); ++i)
        n = n * 10 + (address[i] - u'0');
    if (n == selectedRow_ || !IsFileChecked(n)) return true;
    endPreview();  // the source view shows the file in its place
    w_.showSourcePane();
    // The row and the name follow the pick at once; the file is shown once it is read, and Esc
    // before that goes back to the row of the file still shown.
    auto undo = [this, alive = std::weak_ptr<int>(alive_), row = selectedRow_,
                 name = w_.currentFile()] {
        if (alive.expired()) return;
        w_.setCurrentFile(name);
        selectedRow_ = row;
        showSelectedRow();
    };
    w_.setCurrentFile(fileList_[n]);
    selectedRow_ = n;
    showSelectedRow();
    const std::u16string count =
        w_.pane(Pane::ListView)
            .cellText(kFileTableId, cell(static_cast<std::size_t>(n), kMatchesColumn));
    w_.readPickedFile(w_.searchDone() && !count.empty() && count != u"-" && count != u"0",
                      std::move(undo));
    return true;
}

void FolderScope::showSelectedRow() {
    PaneModel& list = w_.pane(Pane::ListView);
    for (std::size_t r = 1; r < list.rowCount(kFileTableId); ++r)
        if (list.rowBackground(kFileTableId, r) == kSelected)
            list.setRowBackground(kFileTableId, r, rowColour(r));
    if (selectedRow_ > 0)
        list.setRowBackground(kFileTableId, static_cast<std::size_t>(selectedRow_), kSelected);
}

// ---- Runs -----------------------------------------------------------------------------------

void FolderScope::startRun(RunKind kind, std::function<void(FileSink&, const StopToken&)> work,
                           std::function<void()> after) {
    const bool cellsAsHtml = kind == RunKind::Search;
    findCounts_ = false;
    endPreview();
    stop_.reset();
    running_ = true;
    filesDone_ = 0;
    failedRow_ = 0;
    progressMoved_ = {};
    w_.setRunning(true);
    setProgress(0);
    auto sink = std::make_shared<TableSink>(*this, cellsAsHtml);
    runner_.start(
        [sink, work = std::move(work), this] {
            try {
                work(*sink, stop_);
            } catch (const std::bad_alloc&) {
                // The files done before stay done; the one at hand is left as it was.
                sink->logError(u"Not enough memory: the run stopped.",
                               u"Files finished before it stay as they are.");
            }
            sink->flushStatus();
        },
        [this, sink, kind, after = std::move(after)] {
            const std::size_t n = fileCount();
            endFailedRun();
            // A restore is one step: Stop does not apply to it.
            if (kind != RunKind::Restore && stop_.requested() && filesDone_ < n)
                w_.logLine(u"Stopped: " + decimal(static_cast<long long>(filesDone_)) + u" of " +
                           decimal(static_cast<long long>(n)) + u" files done.");
            running_ = false;
            setProgress(0);
            w_.setRunning(false);
            after();
        });
}

// The bar and the status's count move at most ten times a second: each move repaints the
// window, and batches of small files come far more often.
void FolderScope::moveProgress() {
    constexpr std::chrono::milliseconds kProgressInterval{100};
    const auto now = std::chrono::steady_clock::now();
    if (now - progressMoved_ < kProgressInterval) return;
    progressMoved_ = now;
    setProgress(filesDone_);
}

void FolderScope::setProgress(std::size_t done) {
    w_.showProgress(static_cast<double>(done), static_cast<double>(fileCount()));
}

void FolderScope::fileDone(const FileOutcome& outcome, bool cellsAsHtml) {
    PaneModel& list = w_.pane(Pane::ListView);
    const std::size_t matches = cell(outcome.row, kMatchesColumn);
    const std::size_t status = cell(outcome.row, kStatusColumn);
    const FileCells cells = fileTableCells(outcome);
    // An empty status that stays empty is not sent: the page of a long table has a cell
    // change to take for every file as it is.
    const bool sameStatus = cells.status.empty() && list.cellHtml(kFileTableId, status).empty();
    if (cellsAsHtml) {
        list.setCellHtml(kFileTableId, matches, cells.matches);
        if (!sameStatus) list.setCellHtml(kFileTableId, status, cells.status);
    } else {
        list.setCellText(kFileTableId, matches, cells.matches);
        if (!sameStatus) list.setCellText(kFileTableId, status, cells.status);
    }
    filesDone_ = outcome.row;
    failedRow_ = 0;  // an error entry before this report did not end the run
}

// An error entry. When no report of its file follows, that file ended the run (see
// `endFailedRun`).
void FolderScope::runFailed(const std::u16string& message, const std::u16string& cause,
                            bool markRow) {
    w_.logError(cause.empty() ? message : message + u"\r\n" + cause);
    if (markRow && filesDone_ < fileCount()) failedRow_ = filesDone_ + 1;
}

// The file that ended the run says so in its row; the log says how many files were done.
void FolderScope::endFailedRun() {
    if (failedRow_ == 0) return;
    w_.pane(Pane::ListView).setCellText(kFileTableId, cell(failedRow_, kStatusColumn), u" Failed");
    w_.logLine(decimal(static_cast<long long>(filesDone_)) + u" of " +
               decimal(static_cast<long long>(fileCount())) + u" files done.");
    failedRow_ = 0;
}

void FolderScope::find(SearchRequest request) {
    auto summary = std::make_shared<SearchSummary>();
    startRun(
        RunKind::Search,
        [summary, request = std::move(request), reading = w_.textReading(), files = listedFiles()](
            FileSink& sink, const StopToken& stop) {
            *summary = SearchAllFiles(request.expression(), request.typedPattern(), files, sink,
                                      reading, &stop);
        },
        [this, summary] {
            if (!summary->ok) return;
            findCounts_ = true;
            lastTotal_ = summary->total;
            w_.folderSearchDone(summary->total);
        });
}

bool FolderScope::unfinishedRunStands(bool backsUp) {
    bool unfinished = false;
    try {
        unfinished = backsUp && lastRunUnfinished(folder_, w_.currentOptions().backupFolder);
    } catch (const Error&) {
        return false;  // a refused backup folder name: the run itself reports it
    }
    if (!unfinished) return false;
    if (w_.confirm(u"The last run in this folder did not finish; its backups hold the "
                   u"originals.\r\nRestore the folder from them first?"))
        startRestore();
    else
        w_.logError(std::u16string(kUnfinishedRunMessage));
    return true;
}

void FolderScope::replace(SearchRequest request) {
    const Options& options = w_.currentOptions();
    if (unfinishedRunStands(options.backupOnReplace)) return;
    RunSettings settings;
    settings.backup = options.backupOnReplace;
    settings.currentFolder = folder_;
    settings.backupFolderName = options.backupFolder;
    settings.reading = w_.textReading();
    settings.followLinks = picker_.followLinks();
    settings.keepSteps = options.keptSteps;
    auto summary = std::make_shared<RunSummary>();
    startRun(
        RunKind::Replace,
        [this, summary, settings,
         transform = ReplaceTransform(request.expression(), request.replacement(),
                                      !options.noCountOnReplace),
         files = listedFiles()](FileSink& sink, const StopToken& stop) {
            AskOnUi question(runner_, prompts_);
            *summary = runFolder(files, transform, settings, sink, &question, &stop);
        },
        [this, summary] {
            // Files already rewritten have their backups, so they can be restored.
            if (summary->ok || summary->written > 0) w_.setRestoreEnabled(true);
            w_.readPickedFile(false);
        });
}

void FolderScope::runCommands(std::vector<Command> commands, SearchRequest request) {
    if (unfinishedRunStands(true)) return;
    auto backedUp = std::make_shared<bool>(false);
    RunSettings settings;
    settings.currentFolder = folder_;
    settings.backupFolderName = w_.currentOptions().backupFolder;
    settings.reading = w_.textReading();
    settings.followLinks = picker_.followLinks();
    settings.keepSteps = w_.currentOptions().keptSteps;
    startRun(
        RunKind::Batch,
        [backedUp, settings, transform = CommandTransform(commands, request.expression()),
         files = listedFiles()](FileSink& sink, const StopToken& stop) {
            const RunSummary summary = runFolder(files, transform, settings, sink, nullptr, &stop);
            *backedUp = !summary.busy && !summary.unfinishedRun;
        },
        [this, backedUp] {
            if (*backedUp) w_.setRestoreEnabled(true);
            w_.readPickedFile(false);
        });
}

bool FolderScope::stepsRemain() const {
    try {
        return !runSteps(folder_, w_.currentOptions().backupFolder).empty();
    } catch (const Error&) {
        return false;
    }
}

// The question says which run Restore takes back and how many earlier ones remain.
void FolderScope::restore() {
    std::u16string question;
    try {
        question = folderRestoreQuestion(folder_, w_.currentOptions().backupFolder);
    } catch (const Error&) {
        // A refused backup folder name: the restore itself says so.
    }
    if (w_.confirm(question.empty() ? u"Are you sure to restore files from backups?" : question))
        startRestore();
}

void FolderScope::startRestore() {
    auto restored = std::make_shared<bool>(false);
    startRun(
        RunKind::Restore,
        [restored, folder = folder_, name = w_.currentOptions().backupFolder](FileSink& sink,
                                                                              const StopToken&) {
            static_cast<TableSink&>(sink).rowFailures = false;
            *restored = RestoreFolder(folder, name, sink);
        },
        [this, restored] {
            if (!*restored) return;
            w_.setRestoreEnabled(stepsRemain());
            PaneModel& list = w_.pane(Pane::ListView);
            for (std::size_t i = 1; i <= fileCount(); ++i) {
                list.setCellText(kFileTableId, cell(i, kMatchesColumn), u"");
                list.setCellText(kFileTableId, cell(i, kStatusColumn), u"");
            }
            w_.readPickedFile(false);
        });
}

}  // namespace lodestar
