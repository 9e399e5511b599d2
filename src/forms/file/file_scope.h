// The single-file scope: the file the source view shows (its Document), the search of its text
// with the match list and the marks, the moves between matches, and Replace, Save, Save As,
// Restore, Action and another encoding on it. In folder mode it shows the file picked in the
// table. It talks to the window only through its ScopeHost.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_identity.h"
#include "forms/file/result_pieces.h"
#include "forms/file/window_jobs.h"
#include "forms/preview/change_review.h"
#include "forms/scope/document.h"
#include "forms/scope/scope_host.h"
#include "platform/one_shot_timer.h"
#include "platform/prompts.h"
#include "replace/command_file.h"
#include "search/regexp.h"
#include "search/search_request.h"
#include "syntax/syntax_table.h"

namespace lodestar {

// A command file read under the last request: its commands and the expression they leave.
struct CommandFileRun {
    std::u16string path;
    std::vector<Command> commands;
    RegExp expression;
};

class FileScope {
  public:
    FileScope(ScopeHost& host, Prompts& prompts, OneShotTimer& timer, WindowJobs& jobs);

    // ---- What the window, the skin and the tests read ------------------------------------------
    const Document& document() const { return doc_; }
    bool searchDone() const { return searchDone_; }
    long long matchCount() const { return matchCount_; }
    long long curMatch() const { return curMatch_; }  // 0: none yet
    bool matchListBuilt() const { return matchListBuilt_; }
    // The source view's body when the page holds it whole; empty when shown in pieces.
    const std::u16string& renderedSource() const { return renderedSource_; }
    // The match positions of the last search; null: none.
    const SharedSpans& lastMatches() const { return lastMatches_; }
    bool showInvisible() const { return showInvisible_; }
    bool wrapLines() const { return wrapLines_; }  // the source view wraps long lines

    void loadSyntaxTable(const std::u16string& programFolder);

    // ---- The file
    // ---------------------------------------------------------------------------------
    void open(const std::u16string& path);
    // Reads the current file again in a job and shows it once read: searched for the last
    // request when `search`, else the text alone. Should Esc drop the job, `undo` puts back the
    // pick of the file still shown; a pick made while another is read keeps the undo of the
    // first.
    void readPicked(bool search, std::function<void()> undo = {});
    void setCurrentFile(const std::u16string& path);
    void close();        // no file, an empty text
    void instantTest();  // closes the file and opens the scratch pad
    // Folder mode begins: no file is shown until one is picked.
    void clearForFolder();
    // What the empty panes show until a file or folder is opened.
    void showStartHints();

    // ---- Search
    // ------------------------------------------------------------------------------------- False
    // when the engine rejects the request's pattern (the user is told why).
    bool patternIsValid(const SearchRequest& request);
    void searchText(bool interactive);
    void buildMatchList();
    void renderSource(const SharedText& text);
    // The source view again: searched anew when a result stands, else the text alone.
    void reShow();
    void resetMatchState();
    // A search over the folder's files has ended with this total.
    void folderSearchDone(std::size_t total);

    // ---- Navigation -----------------------------------------------------------------------------
    void goToMatch(long long k);
    // A click on a match list entry, "...#k": the view moves to match k. False when the address
    // names no entry (the navigation goes on).
    bool matchListClicked(const std::u16string& address);
    void nextMatch();
    void prevMatch();
    void next();  // the first match at first, then the next one
    void onTimer1Tick();
    // The source page has loaded: its font and wrap, and the first match when a result waits.
    void sourcePageLoaded();
    void forgetCurrentMatch() { curMatch_ = 0; }

    // ---- Replace, save, restore, action --------------------------------------------------------
    void replace(const SearchRequest& request);  // asks first
    void singleReplace(const SearchRequest& request);
    // Saves the text to the file it was read from, or to another file (Save As). The file it
    // was read from is written only while it is as it was read; otherwise the user chooses.
    void saveFile(const std::u16string& path);
    void saveAs();
    void restore();
    // The command file the user picks (`inFolder`: the dialog starts nowhere in particular);
    // nothing when none is picked or it cannot be read, the log says why.
    std::optional<CommandFileRun> readCommandFile(bool inFolder);
    void runCommands(CommandFileRun run);  // on the text, asked first
    // The replace or the commands computed without changing the text, shown with a tick per
    // change; Apply puts the ticked ones into the text (file_preview.cpp).
    void previewReplace(const SearchRequest& request);
    void previewCommands(CommandFileRun run);
    void applyPreview();
    bool previewClicked(const std::u16string& address);
    const ChangeReview& review() const { return review_; }

    // ---- The scratch pad (Instant Test) -------------------------------------------------------
    // An editable text in place of the source view: while the user types it, or a pattern, a
    // replacement or a switch, the marks, the match list and the replacement's result follow
    // (debounced on Timer1). The text is kept in the user's state folder, and only there.
    struct PatternProblem {
        std::size_t position = 0;  // in the pattern box's text
        std::u16string reason;
    };
    static constexpr int kScratchDelayMs = 120;
    bool scratchOpen() const { return scratchOpen_; }
    // A change waits for the pause before the result follows it.
    bool scratchPending() const { return scratchPending_; }
    const std::u16string& scratchText() const { return doc_.text.str(); }
    // What the replacement makes of the text; nothing while the replacement box is empty.
    const std::optional<std::u16string>& scratchResult() const { return scratchResult_; }
    // Why the pattern box's pattern does not compile, and where; nothing while it does.
    const std::optional<PatternProblem>& patternProblem() const { return patternProblem_; }
    // Told when the scratch pad opens or closes and whenever its marks or result change.
    void setScratchListener(std::function<void()> listener) {
        scratchListener_ = std::move(listener);
    }
    // Where the text is kept (by default in the user's state folder).
    void setScratchFile(std::u16string path) { scratchFile_ = std::move(path); }
    void openScratch();
    void scratchEdited(const std::u16string& text);
    // The pattern, the replacement or a switch changed: the scratch pad's result follows.
    void scratchInputChanged();
    void updateScratch();
    // Keeps the text typed since it was last kept, now (the window closes before the pause ends).
    void keepScratchText() { saveScratch(); }

    // ---- Encoding and view
    // ------------------------------------------------------------------------
    void reopenWithEncoding(std::string_view entry);
    void viewInvisible();
    void wordWrap();
    void applyWordWrap();
    // The view switches' ticks and toggle buttons from what the view shows.
    void showViewTicks();
    // The view switches as the last run left them, before any file is shown.
    void recallViewSwitches(bool invisible, bool wrap) {
        showInvisible_ = invisible;
        wrapLines_ = wrap;
        showViewTicks();
    }
    void writeMatchList(const std::u16string& html);

    // ---- Text taken from the source view into the pattern box ---------------------------------
    void onSourceCopied(const std::u16string& text);
    std::u16string patternPaste(const std::u16string& text) const;
    void useSelectionAsPattern(const std::u16string& selection);

  private:
    using JobProgress = WindowJobs::Progress;
    ControlModel& controls() const { return host_.controls(); }
    PaneModel& source() const { return host_.pane(Pane::SuperMonitor); }
    PaneModel& matchList() const { return host_.pane(Pane::MatchView); }
    const Options& options() const { return host_.currentOptions(); }
    void applyCodeFont();
    void firstMatch();
    void markListEntry(long long k);
    void clearSearchResult();
    void renderBody(const SharedText& text, SharedSpans spans);
    void showUnmarkedBody(RenderedBody body);
    void showBody(RenderedBody body);
    // The source view's document when it shows a text in pieces.
    std::shared_ptr<const SourcePieceDocument> shownPieces() const;
    void showSearchResult(bool interactive, SharedSpans matches, std::size_t emptyMatches,
                          RenderedBody body, std::shared_ptr<const PieceDocument> list);
    bool reloadText(SharedText& text);
    void showEncoding();
    bool encodingHolds(const std::u16string& newText);
    void startReview(FileRun kind, std::function<std::u16string(std::u16string_view)> make);
    void endReview();
    // Writes the text to `path`; `expected`: the stamp the file must still have.
    bool writeDocument(const std::u16string& path, std::optional<FileStamp> expected);
    // Another program changed the file since it was read: overwrite, reload, save as or cancel.
    void saveOverChangedFile(const std::u16string& path);

    ScopeHost& host_;
    Prompts& prompts_;
    OneShotTimer& timer_;  // Timer1
    WindowJobs& jobs_;
    SyntaxTable syntaxTable_;
    Document doc_;  // the file shown: its text, what the file holds, format and stamp
    std::u16string renderedSource_;
    std::u16string renderRules_;  // the render-rules file picked for the current file
    SharedSpans lastMatches_;
    bool searchDone_ = false;
    bool matchListBuilt_ = false;
    long long matchCount_ = 0;
    long long curMatch_ = 0;
    bool showInvisible_ = false;
    bool wrapLines_ = true;    // the source page's own default
    bool marksShown_ = false;  // the source view shows the marks of a result
    int pageWaitTicks_ = 0;    // Timer1 ticks spent waiting for the source page
    std::u16string sourceCopy_;
    ChangeReview review_;  // the preview shown in the source view, until Apply
    bool hasSourceCopy_ = false;
    void leaveScratch();
    void saveScratch();
    void tellScratch() {
        if (scratchListener_) scratchListener_();
    }
    bool scratchOpen_ = false;
    bool scratchPending_ = false;  // an update waits for Timer1
    bool scratchUnsaved_ = false;  // typed since it was last kept
    bool scratchSaveFailed_ = false;
    bool watchingInput_ = false;
    std::u16string scratchFile_;
    std::optional<std::u16string> scratchResult_;
    std::optional<PatternProblem> patternProblem_;
    std::function<void()> scratchListener_;
};

// The line-end style of a text as the status line shows it: "CRLF", "LF", "CR", "Mixed", or
// empty for a text without a line break.
std::u16string lineEndLabel(const std::u16string& text);

}  // namespace lodestar
