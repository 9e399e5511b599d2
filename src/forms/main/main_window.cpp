// The main window's life cycle, its shared services (log, status line, confirmation, the
// enabling of command twins), the two working modes, and the dispatch of clicks by name.
#include "forms/main/main_window.h"

#include "core/text.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "forms/main/command_table.h"
#include "forms/main/control_catalog.h"
#include "forms/main/startup_files.h"
#include "forms/main/window_title.h"

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
    addWindowCommands(commands_, {file_, bar_, scopeCommands_, views_, run_, help_,
                                  [this] { opening_.openFileDialog(); },
                                  [this] { openFolderCommand(); }, [this] { terminate(); },
                                  [this](std::string_view form) {
                                      if (showForm_) showForm_(std::string(form));
                                  }});
    controls_.onChange([this](const Control& c) {
        if (c.name != main_ids::MainWindow) refreshTitle();
        // The counter takes a match number while there are matches to step through.
        if (c.name == main_ids::btnNext && controls_[main_ids::matchNo].enabled != c.enabled)
            controls_.setEnabled(main_ids::matchNo, c.enabled);
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
    // The pattern and the replacement look alike.
    for (ControlId box : {main_ids::inRepFrom, main_ids::inRepWith})
        controls_.setFont(box, options_.patternFontName, options_.patternFontSize);
    file_.loadSyntaxTable(programFolder_);

    layout_.initialGeometry();
    pane(Pane::SuperMonitor).navigate(programFolder_ + u"help/default.htm");
    scope_.reset();
    controls_.setText(main_ids::MainWindow, u"Lodestar 1.4");
    views_.show(Pane::ListView, false);
    pane(Pane::MatchView).navigate(programFolder_ + u"lib/ml.tmp");
    pane(Pane::SuperMonitor).navigate(programFolder_ + u"lib/src.tmp");
    controls_.setChecked(main_ids::mLine, false);
    file_.showViewTicks();
    file_.showStartHints();
    for (const std::u16string& missing : missingDataFiles(programFolder_)) logError(missing);
    bar_.start();
    remembered_.apply();
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
    controls_.setText(main_ids::logger, controls_[main_ids::logger].text + u"* " + message + kCrLf);
}

// An error entry also shows its first line in the status line, so no step that failed is left
// saying "Done." (the skin scrolls the log to every new entry).
void MainWindow::logError(const std::u16string& message) {
    controls_.setText(main_ids::logger,
                      controls_[main_ids::logger].text + u"Err:" + message + kCrLf);
    std::u16string shortForm = message.substr(0, message.find(u'\r'));
    while (!shortForm.empty() && shortForm.back() == u' ') shortForm.pop_back();
    showStatus(shortForm);
}

void MainWindow::reportFailure(const std::u16string& reason) {
    logError(u"The last action failed.\r\n" + reason);
}

void MainWindow::showStatus(const std::u16string& message) {
    status_.show(message);
}

bool MainWindow::confirm(const std::u16string& question) {
    return services_.prompts.okCancel(question, kConfirmCaption);
}

void MainWindow::showProgress(double done, double total) {
    status_.progress(done, total, run_.running());
}

// The title: the file or folder, "*" while the text is unsaved.
void MainWindow::refreshTitle() {
    const std::u16string title =
        MultiMode() ? windowTitle(openPath(), false)
                    : windowTitle(currentFile(), controls_[main_ids::btnSave].enabled);
    if (controls_[main_ids::MainWindow].text != title)
        controls_.setText(main_ids::MainWindow, title);
}

const std::u16string& MainWindow::openPath() const {
    static const std::u16string none;
    if (!MultiMode()) return file_.document().path;
    return folderWork_ ? folderWork_->folder() : none;
}

void MainWindow::restorePathBox() {
    controls_.setText(main_ids::inputPath, openPath());
}

void MainWindow::showSourcePane() {
    if (!pane(Pane::SuperMonitor).visible()) OpenMonitor();
}

FolderFiles MainWindow::exportTargets() const {
    if (MultiMode()) return folderWork_ ? folderWork_->listed() : FolderFiles{};
    FolderFiles source;
    if (!currentFile().empty()) source.files.push_back({currentFile(), true});
    return source;
}

PatternFont MainWindow::patternFont() const {
    const Control& box = controls_[main_ids::inRepFrom];
    return {box.fontName, box.fontSize};
}

// The two pattern boxes look alike; the source view takes its font at once, and its
// highlighting once shown again.
void MainWindow::applyOptions(const Options& changed) {
    const bool hadSyntax = options_.showSyntax;
    options_ = changed;
    if (pane(Pane::SuperMonitor).hasCode())
        pane(Pane::SuperMonitor).setCodeFont(sourceFontFamily(options_));
    for (ControlId box : {main_ids::inRepFrom, main_ids::inRepWith})
        controls_.setFont(box, options_.patternFontName, options_.patternFontSize);
    if (controls_[main_ids::SuperMonitor].visible && options_.showSyntax != hadSyntax)
        file_.reShow();
}

std::vector<std::u16string> MainWindow::fontFamilies() const {
    std::vector<std::u16string> families;
    if (fonts_) families = fonts_->families();
    if (families.empty()) families = {u"monospace", u"sans-serif", u"serif"};
    return families;
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

// ---- Input ----------------------------------------------------------------------------------

void MainWindow::click(std::string_view name) {
    if (closed_ || !controls_.has(name) || !controls_[name].enabled) return;
    const WindowCommand* command = commands_.byControl(name);
    if (jobs_.working() && !run_.allowedWhileWorking(command))
        return;                                           // the file being opened comes first
    if (controls_[name].kind == ControlKind::CheckBox) {  // the four switches
        controls_.setChecked(name, !controls_[name].checked);
        bar_.onSwitch(name);
        return;
    }
    if (const std::optional<std::size_t> i = main_ids::mRegs.indexOf(name)) {
        bar_.pickUsedRegexp(*i);
        return;
    }
    if (const std::optional<std::size_t> i = main_ids::mRecentFolder.indexOf(name)) {
        opening_.pickRecentFolder(*i);
        return;
    }
    if (const std::optional<std::size_t> i = main_ids::mRecentFile.indexOf(name)) {
        opening_.pickRecentFile(*i);
        return;
    }
    if (controls_[name].container == main_ids::mEncoding) {
        file_.reopenWithEncoding(name);
        status_.settle(file_.searchDone() || file_.scratchOpen());
        return;
    }
    if (!command) return;
    if (command->unsavedQuestion && !settleUnsaved(command->unsavedQuestion)) return;
    command->handler();
    status_.settle(file_.searchDone() || file_.scratchOpen());
}

void MainWindow::typeText(std::string_view name, const std::u16string& text) {
    controls_.setText(name, text);
}

void MainWindow::enterText(std::string_view name) {
    if (!closed_ && name == main_ids::matchNo && controls_[name].enabled && !jobs_.working())
        return counterEntered();
    if (closed_ || name != main_ids::inputPath || !controls_[name].enabled) return;
    OpenPath(trimSpaces(controls_[name].text));
}

void MainWindow::textFocusLost(std::string_view name) {
    if (closed_ || name != main_ids::inputPath || !controls_[name].enabled) return;
    const std::u16string text = trimSpaces(controls_[name].text);
    // Leaving the box that shows the open folder or file keeps them as they are; Enter there
    // reads the file again.
    if (text.empty() || text == openPath()) return;
    OpenPath(text);
}

void MainWindow::onFileTicked(long long row, bool on) {
    if (folderWork_) folderWork_->setTicked(row, on);
}

void MainWindow::resize(const WindowSize& size) {
    layout_.setSize(size);
    layout_.resize();
}

// ---- Opening ----------------------------------------------------------------------------------

bool MainWindow::settleUnsaved(const std::u16string& question) {
    if (MultiMode() || !controls_[main_ids::btnSave].enabled) return true;
    switch (services_.prompts.saveDiscardCancel(question, u" Please confirm")) {
        case SaveChoice::Save:
            file_.saveFile(currentFile());
            return !controls_[main_ids::btnSave]
                        .enabled;  // a failed or refused save keeps the text
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

void MainWindow::openRequested(const std::u16string& path) {
    if (closed_ || jobs_.working() || running()) return;
    const std::u16string clean = trimSpaces(path);
    if (!clean.empty()) OpenPath(clean);
}

// The picker asks about unsaved text when its folder is chosen, whichever way it was opened.
void MainWindow::openFolderCommand() {
    if (folderWork_)
        folderWork_->showPicker();
    else if (showForm_)
        showForm_(folder_ids::FolderDlg.str());
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
    if (which == Pane::SuperMonitor) return scopeCommands_.previewClicked(address);
    if (which == Pane::ListView && folderWork_ &&
        address.find(u"list.tmp#") != std::u16string::npos)
        return folderWork_->selectFileRow(address);
    return false;
}

}  // namespace lodestar
