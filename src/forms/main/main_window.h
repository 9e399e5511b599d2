// The main window as a plain C++ form: the working state of single-file and folder work, the
// control and pane models, and the behaviour of every command and event. It reaches the
// outside only through the platform interfaces; a desktop skin binds widgets to the controls
// by name, forwards user events to the methods below and implements the interfaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/stop_token.h"
#include "files/file_identity.h"
#include "files/text_encoding.h"
#include "forms/main/command_registry.h"
#include "forms/main/help_pages.h"
#include "forms/main/layout.h"
#include "forms/main/recent_files.h"
#include "forms/main/result_pieces.h"
#include "forms/main/window_jobs.h"
#include "forms/model/controls.h"
#include "forms/model/pane_model.h"
#include "forms/ports/export_port.h"
#include "forms/ports/options_port.h"
#include "forms/ports/pattern_box.h"
#include "forms/scope/document.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"
#include "platform/clipboard.h"
#include "platform/one_shot_timer.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/work_runner.h"
#include "replace/command_file.h"
#include "search/regexp.h"
#include "search/search_request.h"
#include "settings/options.h"
#include "settings/options_location.h"
#include "settings/used_patterns.h"
#include "settings/window_state.h"
#include "syntax/syntax_table.h"

namespace lodestar {

struct RenderedBody;

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
    PaneModel& pane(Pane which) override;
    const PaneModel& pane(Pane which) const;
    WindowLayout& layout() { return layout_; }
    // Secondary windows ("FolderDlg", "frmExport", "OptionSetting", "RegAssist", "About") are
    // shown through this callback, set by whoever owns them.
    std::function<void(const std::string& form)> showForm;
    void setFolderWork(FolderWork* work) { folderWork_ = work; }
    // Where opening and searching a file run; without one they run at once on the caller's
    // thread. While such work runs, commands other than Help and Exit wait.
    void setWorkRunner(WorkRunner* runner) { jobs_.setRunner(runner); }
    bool working() const { return jobs_.working(); }
    // Esc: the running open or search is told to stop and its result is dropped; the window
    // keeps its previous state.
    void cancelWork();
    // The Help menu's pages; the about box opens the home page through it too.
    HelpPages& help() { return help_; }

    // ---- User input ---------------------------------------------------------------------------
    // A click on a button, check box or menu entry, by control name. A check box changes its
    // tick first, as a click does. A disabled control ignores the click.
    void click(const std::string& name);
    // The user edits a text box ("inRepFrom", "inRepWith", "inputPath").
    void typeText(const std::string& name, const std::u16string& text);
    // Enter in a text box, and a text box losing the focus ("inputPath" opens what it names).
    void enterText(const std::string& name);
    void textFocusLost(const std::string& name);
    // The user ticked or unticked row `row` of the file table.
    void onFileTicked(long long row, bool on);
    // Picking element i of the "Used Regexps" menu ("mRegs(i)").
    void pickUsedRegexp(std::size_t index);
    void resize(const WindowSize& size);

    // ---- Pane and timer events ----------------------------------------------------------------
    // A pane finished loading `address`; the model reads the page from disk when it is a file.
    void onNavigateComplete(Pane which, const std::u16string& address);
    // Before a pane navigates; true cancels the navigation.
    bool onBeforeNavigate(Pane which, const std::u16string& address);
    // The user copied this text from the source view.
    void onSourceCopied(const std::u16string& text);
    // What pasting `text` into the pattern box inserts: text copied from the source view
    // becomes a one-line pattern (marks of invisible characters as \r, \n, \t; line breaks
    // dropped); anything else is inserted as it is. The clipboard itself is never rewritten.
    std::u16string patternPaste(const std::u16string& text) const;
    // The source view's "Use selection as pattern": the pattern box gets a pattern that finds
    // exactly the selected text.
    void useSelectionAsPattern(const std::u16string& selection);
    // The page shows a long document a piece at a time and asks for these pieces of it.
    void onPiecesWanted(Pane which, const std::u16string& withinId, long long generation,
                        const std::vector<std::size_t>& pieces);
    // The browser process behind a pane's page ended or stopped answering: the pane loads its
    // page again and shows the document the program holds for it.
    void onRendererGone(Pane which, bool stoppedAnswering = false);
    void onTimer1Tick();

    // ---- Services other parts of the window use ---------------------------------------------
    void logLine(const std::u16string& message) override;
    void logError(const std::u16string& message) override;
    void showStatus(const std::u16string& message) override;
    bool confirm(const std::u16string& question) override;
    void showProgress(double done, double total) override;
    void EnableBtn(bool on);
    void setSaveEnabled(bool on);
    void setRestoreEnabled(bool on) override;
    void enableSourceTools();
    void disableSourceTools();
    // A call into the form failed with this reason: logged, and the window goes on.
    void reportFailure(const std::u16string& reason);

    // ---- Modes ----------------------------------------------------------------------------------
    void doSingle();
    void doMulti();
    void closeSingleFile();
    void clearFolderState();
    void resetMatchState();
    // Opens what the path box names: a file, a folder, or a folder and "/*.ext".
    void OpenPath(const std::u16string& text);
    // While a run over the files goes on, commands that would conflict are disabled and Stop
    // is offered; afterwards every command is as it was before the run.
    // `stop` is what Stop does while it runs; without one Stop tells the folder run.
    void setRunning(bool on, std::function<void()> stop = {}) override;
    bool running() const override { return running_; }

    // ---- Search ---------------------------------------------------------------------------------
    // The request the pattern and replacement boxes and the switches make now: the cleaned
    // pattern goes back into the box and into the history. Nothing when the box is empty (the
    // user is told) and the command must stop.
    std::optional<SearchRequest> readRequest() override;
    // The last request read, under the switches as they are ticked now.
    const SearchRequest& request() const { return request_; }
    void searchText(bool interactive);
    void buildMatchList();
    void renderSource(const SharedText& text);
    void OpenFile(const std::u16string& path);
    // Reads curFileName again in a job and shows it once read: searched for the last pattern
    // when `search`, else the text alone. Should Esc drop the job, `undo` puts back the pick of
    // the file still shown; a pick made while another is read keeps the undo of the first.
    void readPickedFile(bool search, std::function<void()> undo = {}) override;
    void reloadCurrentFile() { readPickedFile(false); }

    // ---- Navigation -----------------------------------------------------------------------------
    void goToMatch(long long k);
    void firstMatch();
    void nextMatch();
    void prevMatch();
    void markListEntry(long long k);

    // ---- Replace, save, restore, batch ------------------------------------------------------
    void SingleReplace();
    // Saves the text to the file it was read from, or to another file (Save As). The file it
    // was read from is written only while it is as it was read; otherwise the user chooses.
    void SaveFile(const std::u16string& path);
    void RestoreSingleFile();

    // ---- Desktop habits (window_title.cpp, open_requests.cpp, recent_files.cpp,
    // remembered_state.cpp) ---------------------------------------------------------------------
    // The title: the file or folder, "*" while the text is unsaved.
    void refreshTitle();
    // The one guard before the text shown is replaced by another (open, open folder, the path
    // box, Recent Files, a drop, Instant Test, reload, quit): unsaved text is asked about first,
    // Save, Discard or Cancel. True when the caller may go on (saved or discarded); a failed
    // save answers false.
    bool settleUnsaved(const std::u16string& question) override;
    // A path named on the command line or dropped on the window: a file opens, a folder opens
    // in folder mode; unsaved text is asked about first.
    void openRequested(const std::u16string& path);
    void pickRecentFile(std::size_t index);  // "mRecent(i)", 1 = newest
    // The state file (empty: nothing is remembered). load() applies it; the skin calls
    // saveRememberedState() when the window closes, after setWindowFrame.
    std::u16string stateFile;
    const WindowState& remembered() const { return remembered_; }
    void setWindowFrame(const WindowFrame& frame) { remembered_.frame = frame; }
    // Where the folder picker is, kept for the next start (set by whoever owns the picker).
    std::function<std::u16string()> pickerFolder;
    bool saveRememberedState();
    // Moves the keyboard focus to a control (set by the skin).
    std::function<void(const std::string& control)> moveFocus;
    RecentFiles recentFiles;
    std::u16string lastOpenFolder;  // where the open dialog starts

    // ---- Shell ----------------------------------------------------------------------------------
    void OpenMonitor();
    void reShow();
    void arrangePanes() { layout_.arrangePanes(); }

    // ---- Working state (names as the window's design has them) ------------------------------
    bool MultiMode = false;
    const Document& document() const { return doc_; }
    std::u16string renderedSource;
    bool SearchDone = false;
    bool matchListBuilt = false;
    long long matchCount = 0;
    long long curMatch = 0;
    bool dotAll = false;
    bool showInvisible = false;
    bool wrapLines = true;       // the source view wraps long lines (its page's own default)
    std::u16string renderRules;  // the render-rules file picked for the current file
    TextReading reading;         // the user's "encoding" setting

    SharedSpans lastMatches;        // the match positions of the last search; null: none
    std::vector<Command> commands;  // the command list of the last parsed command file
    Options options;
    // The user's options file: read before the program folder's copy, written by the options
    // dialog.
    std::u16string userOptions = userOptionsFile();
    SyntaxTable syntaxTable;
    UsedPatterns usedPatterns;
    std::size_t usedRegexpCount() const { return usedPatterns.count(); }

    const std::u16string& programFolder() const override { return programFolder_; }

    // ---- ScopeHost ------------------------------------------------------------------------------
    const Options& currentOptions() const override { return options; }
    const TextReading& textReading() const override { return reading; }
    void restorePathBox() override;
    void enterFolderMode() override { doMulti(); }
    void showSourcePane() override;
    const std::u16string& currentFile() const override { return doc_.path; }
    void setCurrentFile(const std::u16string& path) override;
    bool searchDone() const override { return SearchDone; }
    void folderSearchDone(std::size_t total) override;

    // ---- The dialogs' ports ---------------------------------------------------------------------
    FolderFiles exportTargets() const override;
    PatternFont patternFont() const override;
    const std::u16string& optionsFile() const override { return userOptions; }
    void applyOptions(const Options& options) override;
    const std::u16string& patternText() const override { return controls_["inRepFrom"].text; }
    void typePattern(const std::u16string& text) override { typeText("inRepFrom", text); }
    // How often the status label was repainted at once (each showStatus).
    int statusRepaints() const { return statusRepaints_; }

  private:
    // What the path box shows: the open folder in folder mode, else the open file.
    const std::u16string& openPath() const;
    void reportMissingDataFiles();
    void fileOpened();
    void rebuildRecentMenu();
    void applyRememberedState();
    void onSwitch(const std::string& name);
    void setCheckFromMenu(const std::string& box, bool value);
    void addUsedRegexp(const std::u16string& pattern);
    void rebuildHistoryMenu();
    void setPaneVisible(Pane which, bool on);
    void writeMatchList(const std::u16string& html);
    void renderBody(const SharedText& text, SharedSpans spans);
    void showUnmarkedBody(RenderedBody body);
    void showBody(RenderedBody body);
    // The source view's document when it shows a text in pieces.
    std::shared_ptr<const SourcePieceDocument> shownPieces() const;
    using JobProgress = WindowJobs::Progress;
    void showJobProgress(int percent);
    void showSearchResult(bool interactive, SharedSpans matches, std::size_t emptyMatches,
                          RenderedBody body, std::shared_ptr<const PieceDocument> list);
    // The current file in another encoding, and the question when a new text does not fit.
    void showEncoding();
    void reopenWithEncoding(const std::string& entry);
    bool encodingHolds(const std::u16string& newText);
    // False when the engine rejects the request's pattern (the user is told why).
    bool patternIsValid(const SearchRequest& request);
    SearchSwitches tickedSwitches() const;
    void clearSearchResult();
    // The view switches' ticks and toggle buttons from what the view shows.
    void showViewTicks();
    // The source view's page wraps its lines or not, as `wrapLines` says.
    void applyWordWrap();
    // What the empty panes show until a file or folder is opened.
    void showStartHints();
    bool reloadText(SharedText& text);

    void find();
    void next();
    void replaceCommand();
    void saveCommand();
    void saveAsCommand();
    // Writes the text to `path`; `expected`: the stamp the file must still have.
    bool writeDocument(const std::u16string& path, std::optional<FileStamp> expected);
    // Another program changed the file since it was read: overwrite, reload, save as or cancel.
    void saveOverChangedFile(const std::u16string& path);
    void restoreCommand();
    void actionCommand();
    void openFileCommand();
    void openFolderCommand();
    void viewSource();
    void viewMatchList();
    void viewInvisible();
    void wordWrap();
    void clearHistory();
    void stopCommand();
    void exportCommand();
    void optionsCommand();
    void assistantCommand();
    void aboutCommand();
    void contentsCommand();
    void webCommand();
    void examplesCommand();
    bool allowedWhileWorking(const WindowCommand* command) const;
    // Every command with its twins, guard and handler (commands.cpp).
    void registerCommands();
    void offerStop();

    std::u16string programFolder_;
    WindowServices services_;
    HelpPages help_;
    ControlModel controls_;
    WindowLayout layout_;
    CommandRegistry commands_{controls_};
    PaneModel listView_{u"ListView"};
    PaneModel superMonitor_{u"SuperMonitor"};
    PaneModel matchView_{u"MatchView"};
    FolderWork* folderWork_ = nullptr;
    WindowJobs jobs_{[this] { offerStop(); }, [this](int percent) { showJobProgress(percent); }};
    bool running_ = false;
    std::function<void()> stopRun_;  // Stop of the run going on, when it is not a folder run
    std::u16string sourceCopy_;
    bool hasSourceCopy_ = false;
    SearchRequest request_;    // the last request read, under the ticked switches
    bool marksShown_ = false;  // the source view shows the marks of a result
    Document doc_;             // the file shown: its text, what the file holds, format and stamp
    int pageWaitTicks_ = 0;    // Timer1 ticks spent waiting for the source page
    bool closed_ = false;
    int statusRepaints_ = 0;
    WindowState remembered_;
};

}  // namespace lodestar
