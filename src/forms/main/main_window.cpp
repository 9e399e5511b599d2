// The main window's life cycle, its shared services (log, status line, confirmation, the
// enabling of command twins), the two working modes, and the dispatch of clicks by name.
#include "forms/main/main_window.h"

#include "backups/backup.h"
#include "core/text.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "forms/main/control_catalog.h"
#include "forms/main/startup_files.h"
#include "forms/main/window_title.h"
#include "forms/model/progress_bar.h"

namespace lodestar {

namespace {
constexpr char16_t kConfirmCaption[] = u" Please confirm";
constexpr char16_t kCrLf[] = u"\r\n";

// The program folder always ends in "/", so paths are built by appending.
std::u16string withSlash(std::u16string folder) {
    if (!folder.empty() && folder.back() != u'/') folder += u'/';
    return folder;
}
}  // namespace

MainWindow::MainWindow(std::u16string programFolder, WindowServices services)
    : programFolder_(withSlash(std::move(programFolder))),
      services_(services),
      help_(programFolder_, services.shell, services.prompts),
      layout_(controls_) {
    addMainWindowControls(controls_);
    registerCommands();
    controls_.onChange([this](const Control& c) {
        if (c.name != "MainWindow") refreshTitle();
    });
}

MainWindow::~MainWindow() {
    jobs_.stop();
}

// ---- Life cycle -----------------------------------------------------------------------------

void MainWindow::load() {
    StartupSettings start = readStartupSettings(programFolder_, userOptions_);
    options_ = std::move(start.options);
    reading_ = start.reading;
    for (const std::u16string& note : start.notes) logLine(note);
    for (const char* box : {"inRepFrom", "inRepWith"})  // pattern and replacement look alike
        controls_.setFont(box, options_.patternFontName, options_.patternFontSize);
    file_.loadSyntaxTable(programFolder_);

    layout_.initialGeometry();
    pane(Pane::SuperMonitor).navigate(programFolder_ + u"help/default.htm");
    multiMode_ = false;
    controls_.setText("MainWindow", u" Lodestar 1.4");
    setPaneVisible(Pane::ListView, false);
    pane(Pane::MatchView).navigate(programFolder_ + u"lib/ml.tmp");
    pane(Pane::SuperMonitor).navigate(programFolder_ + u"lib/src.tmp");
    controls_.setChecked("mLine", false);
    controls_.setEnabled("mSubMatch", false);
    file_.showViewTicks();
    file_.showStartHints();
    for (const std::u16string& missing : missingDataFiles(programFolder_)) logError(missing);
    bar_.start();
    applyRememberedState();
}

bool MainWindow::queryUnload() {
    return settleUnsaved(u"File not saved, save it before exit?");
}

void MainWindow::terminate() {
    file_.forgetCurrentMatch();  // the collected marks are dropped with the window
    services_.timer.stop();
    jobs_.stop();  // a file still being read or searched is of no use any more
    closed_ = true;
}

// ---- Services -------------------------------------------------------------------------------

void MainWindow::logLine(const std::u16string& message) {
    controls_.setText("logger", controls_["logger"].text + u"* " + message + kCrLf);
}

// An error entry also shows its first line in the status line, so no step that failed is left
// saying "Done." (the skin scrolls the log to every new entry).
void MainWindow::logError(const std::u16string& message) {
    controls_.setText("logger", controls_["logger"].text + u"Err:" + message + kCrLf);
    std::u16string shortForm = message.substr(0, message.find(u'\r'));
    while (!shortForm.empty() && shortForm.back() == u' ') shortForm.pop_back();
    showStatus(shortForm);
}

void MainWindow::reportFailure(const std::u16string& reason) {
    logError(u"The last action failed.\r\n" + reason);
}

void MainWindow::showStatus(const std::u16string& message) {
    controls_.setText("lblStatus", message);
    ++statusRepaints_;
}

bool MainWindow::confirm(const std::u16string& question) {
    return services_.prompts.okCancel(question, kConfirmCaption);
}

void MainWindow::showProgress(double done, double total) {
    lodestar::showProgress(controls_, done, total);
}

// The title: the file or folder, "*" while the text is unsaved.
void MainWindow::refreshTitle() {
    const std::u16string title = multiMode_
                                     ? windowTitle(openPath(), false)
                                     : windowTitle(currentFile(), controls_["btnSave"].enabled);
    if (controls_["MainWindow"].text != title) controls_.setText("MainWindow", title);
}

const std::u16string& MainWindow::openPath() const {
    static const std::u16string none;
    if (!multiMode_) return file_.document().path;
    return folderWork_ ? folderWork_->folder() : none;
}

void MainWindow::restorePathBox() {
    controls_.setText("inputPath", openPath());
}

void MainWindow::showSourcePane() {
    if (!pane(Pane::SuperMonitor).visible()) OpenMonitor();
}

FolderFiles MainWindow::exportTargets() const {
    if (multiMode_) return folderWork_ ? folderWork_->listed() : FolderFiles{};
    FolderFiles source;
    if (!currentFile().empty()) source.files.push_back({currentFile(), true});
    return source;
}

PatternFont MainWindow::patternFont() const {
    const Control& box = controls_["inRepFrom"];
    return {box.fontName, box.fontSize};
}

// The two pattern boxes look alike; the source view takes its font at once, and its
// highlighting once shown again.
void MainWindow::applyOptions(const Options& changed) {
    const bool hadSyntax = options_.showSyntax;
    options_ = changed;
    if (pane(Pane::SuperMonitor).hasCode())
        pane(Pane::SuperMonitor)
            .setCodeFont(fontList().at(options_.sourceFontIndex % fontList().size()));
    for (const char* box : {"inRepFrom", "inRepWith"})
        controls_.setFont(box, options_.patternFontName, options_.patternFontSize);
    if (controls_["SuperMonitor"].visible && options_.showSyntax != hadSyntax) file_.reShow();
}

void MainWindow::setScopeCommands(bool on) {
    for (const char* id : {"find", "replace", "action", "preview", "previewAction"})
        commands_.setEnabled(id, on);
}

void MainWindow::setSaveEnabled(bool on) {
    commands_.setEnabled("save", on);
}

void MainWindow::setRestoreEnabled(bool on) {
    commands_.setEnabled("restore", on);
}

void MainWindow::setSourceTools(bool on) {
    for (const char* id : {"invisible", "wrap"}) commands_.setEnabled(id, on);
}

void MainWindow::setPaneVisible(Pane which, bool on) {
    controls_.setVisible(toUtf8(pane(which).name()), on);
    pane(which).setVisible(on);
}

// ---- Modes ----------------------------------------------------------------------------------

void MainWindow::doSingle() {
    multiMode_ = false;
    if (folderWork_) folderWork_->close();
    setRestoreEnabled(false);
    setScopeCommands(false);
    setPaneVisible(Pane::SuperMonitor, true);
    setPaneVisible(Pane::ListView, false);
    file_.writeMatchList(u"");
    controls_.setTooltip("selFile", u"Select File");
    controls_.setText("inputPath", currentFile());
    setScopeCommands(true);
    // The file's history of saves outlives the window: Restore takes back its newest step.
    setRestoreEnabled(!savedSteps(currentFile()).empty());
    setSaveEnabled(false);
    controls_.setEnabled("mClose", true);
    controls_.setEnabled("mSaveAs", true);
    setSourceTools(true);
    controls_.setTop("SuperMonitor", 90);
    layout_.arrangePanes();
    controls_.setEnabled("View_FS", false);
    controls_.setEnabled("mFsrc", false);
    controls_.setStruckThrough("View_FS", false);
    controls_.setChecked("mFsrc", true);
    file_.resetMatchState();
    fileOpened();
}

void MainWindow::doMulti() {
    multiMode_ = true;
    file_.close();
    setScopeCommands(true);
    setRestoreEnabled(false);
    setSaveEnabled(false);
    controls_.setEnabled("btnFind", true);
    controls_.setEnabled("mFind", true);
    setSourceTools(false);
    file_.clearForFolder();
    controls_.setEnabled("View_FS", true);
    controls_.setEnabled("mFsrc", true);
    controls_.setText("matchNo", u"0/0");
    setPaneVisible(Pane::ListView, true);
    layout_.arrangePanes();
}

// ---- Input ----------------------------------------------------------------------------------

void MainWindow::click(const std::string& name) {
    if (closed_ || !controls_.has(name) || !controls_[name].enabled) return;
    const WindowCommand* command = commands_.byControl(name);
    if (jobs_.working() && !allowedWhileWorking(command))
        return;  // the file being opened comes first
    if (name.rfind("chk", 0) == 0) {
        controls_.setChecked(name, !controls_[name].checked);
        bar_.onSwitch(name);
        return;
    }
    if (name.rfind("mRegs(", 0) == 0) {
        bar_.pickUsedRegexp(std::stoul(name.substr(6)));
        return;
    }
    if (name.rfind("mRecent(", 0) == 0) {
        pickRecentFile(std::stoul(name.substr(8)));
        return;
    }
    if (name.rfind("mEnc", 0) == 0 && name != "mEncoding") {
        file_.reopenWithEncoding(name);
        return;
    }
    if (!command) return;
    if (command->unsavedQuestion && !settleUnsaved(command->unsavedQuestion)) return;
    command->handler();
}

void MainWindow::typeText(const std::string& name, const std::u16string& text) {
    controls_.setText(name, text);
}

void MainWindow::enterText(const std::string& name) {
    if (closed_ || name != "inputPath" || !controls_[name].enabled) return;
    OpenPath(trimSpaces(controls_[name].text));
}

void MainWindow::textFocusLost(const std::string& name) {
    if (closed_ || name != "inputPath" || !controls_[name].enabled) return;
    const std::u16string text = trimSpaces(controls_[name].text);
    // Leaving the box that shows the open folder or file keeps them as they are; Enter there
    // reads the file again.
    if (text.empty() || text == openPath()) return;
    OpenPath(text);
}

void MainWindow::onFileTicked(long long row, bool on) {
    if (folderWork_) folderWork_->setTicked(row, on);
}

// While a file is opened or searched: Stop, Help and Exit; in single-file mode also Find, which
// stops the search before it and starts its own.
bool MainWindow::allowedWhileWorking(const WindowCommand* command) const {
    if (!command) return false;
    return command->whileWorking == WhileWorking::Runs ||
           (command->whileWorking == WhileWorking::RunsInSingleFileMode && !multiMode_);
}

void MainWindow::stopCommand() {
    if (jobs_.working()) cancelWork();
    if (!running_) return;
    if (stopRun_)
        stopRun_();
    else if (folderWork_)
        folderWork_->stop();
}

// Stop is offered while a folder run or the open or search of a file goes on.
void MainWindow::offerStop() {
    const bool on = running_ || jobs_.working();
    commands_.setEnabled("stop", on);
    controls_.setVisible("btnStop", on);
}

void MainWindow::setRunning(bool on, std::function<void()> stop) {
    if (on == running_) return;
    running_ = on;
    stopRun_ = on ? std::move(stop) : nullptr;
    commands_.standDown(on, {"inputPath"});
    offerStop();
}

// The bar belongs to a folder run while one goes on.
void MainWindow::showJobProgress(int percent) {
    if (!running_) showProgress(percent, 100);
}

void MainWindow::cancelWork() {
    if (!jobs_.working()) return;
    const std::function<void()> undo = jobs_.cancel();
    services_.timer.stop();
    if (undo) undo();
    showStatus(u"Stopped.");
}

void MainWindow::resize(const WindowSize& size) {
    layout_.setSize(size);
    layout_.resize();
}

// ---- Opening ----------------------------------------------------------------------------------

void MainWindow::openFileCommand() {
    std::u16string path =
        trimSpaces(services_.prompts.openFile(u"Any file|*.*|HTML file(*.htm;*.html)|*.htm;*.html|"
                                              u"text file(*.txt;*.csv)|*.txt;*.csv|"
                                              u"XML file(*.xml)|*.xml",
                                              lastOpenFolder_));
    if (path.empty()) return;
    file_.open(path);
}

// The picker asks about unsaved text when its folder is chosen, whichever way it was opened.
void MainWindow::openFolderCommand() {
    if (folderWork_)
        folderWork_->showPicker();
    else if (showForm_)
        showForm_("FolderDlg");
}

// ---- Panes ------------------------------------------------------------------------------------

void MainWindow::onNavigateComplete(Pane which, const std::u16string& address) {
    if (closed_) return;  // the window has shut down: late pages change nothing
    PaneModel& p = pane(which);
    std::u16string file = address.substr(0, address.find(u'#'));
    std::u16string source;
    if (fileExists(file)) {
        try {
            source = LoadFileText(file);
        } catch (const Error&) {
        }
    }
    const bool restored = p.restoring();
    p.loaded(address, source);
    if (which == Pane::ListView && folderWork_ && address.find(u"list.tmp") != std::u16string::npos)
        folderWork_->tableLoaded();
    if (which == Pane::SuperMonitor && !restored) file_.sourcePageLoaded();
}

void MainWindow::useSelectionAsPattern(const std::u16string& selection) {
    if (!closed_) file_.useSelectionAsPattern(selection);
}

void MainWindow::onTimer1Tick() {
    if (!closed_) file_.onTimer1Tick();
}

void MainWindow::onPiecesWanted(Pane which, const std::u16string& withinId, long long generation,
                                const std::vector<std::size_t>& pieces) {
    pane(which).servePieces(withinId, generation, pieces);
}

void MainWindow::onRendererGone(Pane which, bool stoppedAnswering) {
    if (closed_) return;
    logError(u"The page of the pane " + pane(which).name() +
             (stoppedAnswering ? u" stopped answering" : u" stopped working") +
             u"; it is shown again.");
    pane(which).reload();
}

bool MainWindow::onBeforeNavigate(Pane which, const std::u16string& address) {
    if (closed_) return which == Pane::MatchView;
    if (which == Pane::MatchView) return file_.matchListClicked(address);
    if (which == Pane::SuperMonitor) return previewClicked(address);
    if (which == Pane::ListView && folderWork_ &&
        address.find(u"list.tmp#") != std::u16string::npos)
        return folderWork_->selectFileRow(address);
    return false;
}

}  // namespace lodestar
