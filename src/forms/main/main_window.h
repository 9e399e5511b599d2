// The main window as a plain C++ form: its life cycle, the control and pane models, the log and
// the status line, and the dispatch of every command and event to the current scope -- the
// single file (FileScope) or the folder (FolderWork); MultiMode is the choice between them. It
// reaches the outside only through the platform interfaces; a desktop skin binds widgets to the
// controls by name, forwards user events to the methods below and implements the interfaces.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/file/file_scope.h"
#include "forms/file/window_jobs.h"
#include "forms/main/command_registry.h"
#include "forms/main/help_pages.h"
#include "forms/main/layout.h"
#include "forms/main/open_requests.h"
#include "forms/main/recent_files.h"
#include "forms/main/remembered_state.h"
#include "forms/main/run_state.h"
#include "forms/main/scope_commands.h"
#include "forms/main/scope_switch.h"
#include "forms/main/search_bar.h"
#include "forms/main/status_line.h"
#include "forms/main/view_switches.h"
#include "forms/model/control_ids.h"
#include "forms/model/controls.h"
#include "forms/model/pane_model.h"
#include "forms/ports/export_port.h"
#include "forms/ports/options_port.h"
#include "forms/ports/pattern_box.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"
#include "platform/clipboard.h"
#include "platform/font_families.h"
#include "platform/one_shot_timer.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/work_runner.h"
#include "search/search_request.h"
#include "settings/options.h"
#include "settings/options_location.h"
#include "settings/used_patterns.h"
#include "settings/window_state.h"

namespace lodestar {

struct WindowServices {
    Prompts& prompts;
    Clipboard& clipboard;
    OneShotTimer& timer;  // Timer1
    Shell& shell;
};

class MainWindow : public ScopeHost, public ExportPort, public OptionsPort, public PatternBox {
  public:
    MainWindow(std::u16string programFolder, WindowServices services);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // ---- Life cycle -------------------------------------------------------------------------
    void load();         // window load: settings, syntax table, panes, initial states
    bool queryUnload();  // the quit check; false keeps the window open
    void terminate();    // shut-down
    bool closed() const { return closed_; }

    // ---- What the skin binds to and tests read ---------------------------------------------
    ControlModel& controls() override { return controls_; }
    const ControlModel& controls() const { return controls_; }
    PaneModel& pane(Pane which) override { return panes_[static_cast<std::size_t>(which)]; }
    const PaneModel& pane(Pane which) const { return panes_[static_cast<std::size_t>(which)]; }
    WindowLayout& layout() { return layout_; }
    // The single-file scope: the file shown in the source view, its result and its commands.
    FileScope& file() { return file_; }
    const FileScope& file() const { return file_; }
    const Document& document() const { return file_.document(); }
    // Which scope is current: the folder (true) or the single file.
    bool MultiMode() const { return scope_.folderMode(); }
    bool dotAll() const { return bar_.dotAll(); }
    const UsedPatterns& usedPatterns() const { return bar_.usedPatterns(); }
    const RecentFiles& recentFiles() const { return opening_.recentFiles(); }
    const RecentFiles& recentFolders() const { return opening_.recentFolders(); }
    // Secondary windows ("FolderDlg", "frmExport", "OptionSetting", "RegAssist", "About") are
    // shown through this, set by whoever owns them.
    void setShowForm(std::function<void(const std::string& form)> show) {
        showForm_ = std::move(show);
    }
    void setFolderWork(FolderWork* work) { folderWork_ = work; }
    // Where opening and searching a file run; without one they run at once on the caller's
    // thread. While such work runs, commands other than Help and Exit wait.
    void setWorkRunner(WorkRunner* runner) { jobs_.setRunner(runner); }
    bool working() const { return jobs_.working(); }
    // Esc: the running open or search is told to stop and its result is dropped; the window
    // keeps its previous state.
    void cancelWork() { run_.cancelWork(); }
    // The Help menu's pages; the about box opens the home page through it too.
    HelpPages& help() { return help_; }

    // ---- User input ---------------------------------------------------------------------------
    // A click on a button, check box or menu entry, by control id or name. A check box changes
    // its tick first, as a click does. A disabled control ignores the click.
    void click(std::string_view name);
    // The user edits a text box ("inRepFrom", "inRepWith", "inputPath").
    void typeText(std::string_view name, const std::u16string& text);
    // Enter in a text box, and a text box losing the focus ("inputPath" opens what it names,
    // "matchNo" moves to the match it names).
    void enterText(std::string_view name);
    void textFocusLost(std::string_view name);
    // The user ticked or unticked row `row` of the file table.
    void onFileTicked(long long row, bool on);
    void resize(const WindowSize& size);

    // ---- Pane and timer events ----------------------------------------------------------------
    // A pane finished loading `address`; the model reads the page from disk when it is a file.
    void onNavigateComplete(Pane which, const std::u16string& address);
    // Before a pane navigates; true cancels the navigation.
    bool onBeforeNavigate(Pane which, const std::u16string& address);
    // The source view's "Use selection as pattern" (see FileScope).
    void useSelectionAsPattern(const std::u16string& selection);
    // The page shows a long document a piece at a time and asks for these pieces of it.
    void onPiecesWanted(Pane which, const std::u16string& withinId, long long generation,
                        const std::vector<std::size_t>& pieces);
    // The browser process behind a pane's page ended or stopped answering: the pane loads its
    // page again and shows the document the program holds for it.
    void onRendererGone(Pane which, bool stoppedAnswering = false);
    void onTimer1Tick();

    // ---- ScopeHost: what the scopes ask of the window (documented there) ----------------------
    void logLine(const std::u16string& message) override;
    void logError(const std::u16string& message) override;
    void showStatus(const std::u16string& message) override;
    bool confirm(const std::u16string& question) override;
    void showProgress(double done, double total) override;
    void setScopeCommands(bool on) override;
    void setSaveEnabled(bool on) override;
    void setRestoreEnabled(bool on) override;
    void setSourceTools(bool on) override;
    // A call into the form failed with this reason: logged, and the window goes on.
    void reportFailure(const std::u16string& reason);
    void setRunning(bool on, std::function<void()> stop = {}) override {
        run_.setRunning(on, std::move(stop));
    }
    bool running() const override { return run_.running(); }
    bool inFolderMode() const override { return scope_.folderMode(); }
    const Options& currentOptions() const override { return options_; }
    const TextReading& textReading() const override { return reading_; }
    const std::u16string& programFolder() const override { return programFolder_; }
    void restorePathBox() override;
    void enterFolderMode() override { doMulti(); }
    void enterSingleFileMode() override { scope_.enterSingleFile(); }
    void fileOpened() override { opening_.fileOpened(); }
    void showSourcePane() override;
    const std::u16string& currentFile() const override { return file_.document().path; }
    void setCurrentFile(const std::u16string& path) override { file_.setCurrentFile(path); }
    void readPickedFile(bool search, std::function<void()> undo = {}) override {
        file_.readPicked(search, std::move(undo));
    }
    bool searchDone() const override { return file_.searchDone(); }
    void folderSearchDone(std::size_t total) override { file_.folderSearchDone(total); }

    // ---- Modes, opening -------------------------------------------------------------------------
    void doSingle() { scope_.enterSingleFile(); }
    void doMulti() {
        scope_.enterFolder();
        opening_.folderEntered();
    }
    // Opens what the path box names: a file, a folder, or a folder and "/*.ext".
    void OpenPath(const std::u16string& text) { opening_.openPath(text); }
    void OpenFile(const std::u16string& path) { file_.open(path); }
    void OpenMonitor() { views_.openMonitor(); }

    // The request the boxes and switches make now (see SearchBar).
    std::optional<SearchRequest> readRequest() override {
        return bar_.readRequest(options_.escapeSupport);
    }
    const SearchRequest& request() const override { return bar_.request(); }
    // The one guard before the text shown is replaced by another (open, open folder, the path
    // box, Recent Files, a drop, Instant Test, reload, quit); a failed save answers false.
    bool settleUnsaved(const std::u16string& question) override;

    // ---- Desktop habits (OpenRequests, RememberedState) ---------------------------------------
    // The title: the file or folder, "*" while the text is unsaved.
    void refreshTitle();
    // A path named on the command line or dropped on the window: a file opens, a folder opens
    // in folder mode; unsaved text is asked about first.
    void openRequested(const std::u16string& path);
    // The state file (empty: nothing is remembered). load() applies it; the skin calls
    // saveRememberedState() when the window closes, after setWindowFrame.
    void setStateFile(std::u16string file) { remembered_.setFile(std::move(file)); }
    const WindowState& remembered() const { return remembered_.state(); }
    void setWindowFrame(const WindowFrame& frame) { remembered_.setWindowFrame(frame); }
    // Where the folder picker is, kept for the next start (set by whoever owns the picker).
    void setPickerFolder(std::function<std::u16string()> f) {
        remembered_.setPickerFolder(std::move(f));
    }
    bool saveRememberedState() { return remembered_.save(); }
    // Moves the keyboard focus to a control (set by the skin).
    void setMoveFocus(std::function<void(ControlId)> f) { opening_.setMoveFocus(std::move(f)); }

    // ---- The dialogs' ports ---------------------------------------------------------------------
    FolderFiles exportTargets() const override;
    PatternFont patternFont() const override;
    const std::u16string& optionsFile() const override { return userOptions_; }
    // The installed fonts come from `fonts` (set by the skin); without it the desktop's
    // generic families are offered.
    void setFontFamilies(const FontFamilies* fonts) { fonts_ = fonts; }
    std::vector<std::u16string> fontFamilies() const override;
    void applyOptions(const Options& options) override;
    const std::u16string& patternText() const override {
        return controls_[main_ids::inRepFrom].text;
    }
    void typePattern(const std::u16string& text) override { typeText(main_ids::inRepFrom, text); }
    // How often the status label was repainted at once (each showStatus).
    int statusRepaints() const { return status_.repaints(); }

  private:
    // What the path box shows: the open folder in folder mode, else the open file.
    const std::u16string& openPath() const;
    void counterEntered();  // match_counter.cpp
    void openFolderCommand();

    std::u16string programFolder_;
    WindowServices services_;
    HelpPages help_;
    ControlModel controls_;
    WindowLayout layout_;
    CommandRegistry commands_{controls_};
    // By Pane: ListView, SuperMonitor, MatchView.
    std::array<PaneModel, 3> panes_{PaneModel{u"ListView"}, PaneModel{u"SuperMonitor"},
                                    PaneModel{u"MatchView"}};
    FolderWork* folderWork_ = nullptr;
    WindowJobs jobs_{[this] { run_.jobsChanged(); },
                     [this](int percent) { run_.jobProgress(percent); }};
    FileScope file_{*this, services_.prompts, services_.timer, jobs_};
    SearchBar bar_{controls_, services_.prompts};
    StatusLine status_{controls_};
    RunState run_{*this, commands_, jobs_, services_.timer, folderWork_, status_};
    PaneSwitches views_{*this, file_, layout_};
    ScopeSwitch scope_{*this, file_, folderWork_, views_, layout_};
    ScopeCommands scopeCommands_{*this, file_, bar_, folderWork_};
    OpenRequests opening_{*this, file_, folderWork_, services_.prompts, run_};
    RememberedState remembered_{*this, bar_, opening_, layout_, file_, views_};
    Options options_;
    // The user's options file: read before the program folder's copy, written by the options
    // dialog.
    std::u16string userOptions_ = userOptionsFile();
    TextReading reading_;  // the user's "encoding" setting
    std::function<void(const std::string& form)> showForm_;
    const FontFamilies* fonts_ = nullptr;
    bool closed_ = false;
};

}  // namespace lodestar
