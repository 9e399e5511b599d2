// Find, the single-text search with its match list, and the source view: rendering, opening a
// file and reloading it.
#include <exception>
#include <new>
#include <optional>

#include "core/reason.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "forms/main/control_catalog.h"
#include "forms/main/main_window.h"
#include "search/match_list.h"
#include "search/pattern.h"
#include "search/source_body.h"

namespace lodestar {

namespace {

constexpr std::uint64_t kLargeFileBytes = 256000;

// The generated page is written in the code page; characters beyond Latin-1 are written as
// character references so that any text the source view shows can be saved there.
std::u16string asciiSafeHtml(std::u16string_view html) {
    std::u16string out;
    out.reserve(html.size());
    for (std::size_t i = 0; i < html.size(); ++i) {
        char16_t c = html[i];
        if (c < 0x80) {
            out.push_back(c);
            continue;
        }
        unsigned long cp = c;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < html.size() && html[i + 1] >= 0xDC00 &&
            html[i + 1] < 0xE000) {
            cp = 0x10000 + ((c - 0xD800UL) << 10) + (html[i + 1] - 0xDC00UL);
            ++i;
        }
        out += u"&#" + decimal(static_cast<long long>(cp)) + u";";
    }
    return out;
}

// Why the engine rejects the pattern, or nothing when it compiles: an empty text is enough to
// compile it without searching.
std::optional<std::u16string> patternError(RegExp probe, const std::u16string& pattern) {
    try {
        probe.setPattern(pattern);
        (void)probe.count(u"");
    } catch (const RegExpError& e) {
        return fromUtf8(e.what());
    }
    return std::nullopt;
}

}  // namespace

// The engine takes the switches as the boxes show them, whatever a command file left behind.
void MainWindow::applySwitchTicks() {
    expression.setIgnoreCase(controls_["chkIgnoreCase"].checked);
    expression.setGlobal(controls_["chkGlobal"].checked);
    expression.setMultiline(controls_["chkLine"].checked);
}

bool MainWindow::getRepParam() {
    const std::u16string typed = controls_["inRepFrom"].text;
    if (typed.empty()) {
        services_.prompts.message(u"Please input what you want to find", kAppTitle);
        return false;
    }
    BuiltPattern built =
        buildPattern(typed, controls_["inRepWith"].text, dotAll, options.escapeSupport);
    controls_.setText("inRepFrom", built.cleaned);
    addUsedRegexp(built.cleaned);
    typedPattern_ = built.cleaned;
    searchPattern = built.searchPattern;
    replaceText = built.replaceText;
    applySwitchTicks();
    expression.setPattern(searchPattern);
    return true;
}

// A pattern the engine rejects ends the command before it touches anything: the status says
// so, the log gives the engine's reason with its position (in the pattern as typed when that
// alone is already wrong), and the previous result is cleared.
bool MainWindow::patternIsValid() {
    std::optional<std::u16string> reason = patternError(expression, searchPattern);
    if (!reason) return true;
    if (std::optional<std::u16string> typed = patternError(expression, typedPattern_))
        reason = typed;
    clearSearchResult();
    logError(u"Invalid pattern.\r\n" + *reason);
    showStatus(u"Invalid pattern.");
    return false;
}

// As if the result had been reset: no marks, no total, nothing to step through.
void MainWindow::clearSearchResult() {
    services_.timer.stop();
    lastMatches.clear();
    matchCount = 0;
    curMatch = 0;
    resetMatchState();
    controls_.setText("lblTotal", u"");
}

// The text of the current file read again; false (and the reason logged) when it cannot be.
bool MainWindow::reloadText(std::u16string& text) {
    try {
        DecodedText file = loadTextFile(curFileName, reading);
        text = std::move(file.text);
        curFormat = loadedFormat = file.format;
        showEncoding();
        return true;
    } catch (const std::exception& e) {
        logError(u"Can't open the file.\r\n" + reasonOf(e));
        return false;
    }
}

void MainWindow::find() {
    if (!getRepParam() || searchPattern.empty() || !patternIsValid()) return;
    if (MultiMode) {
        if (folderWork_ && folderWork_->SearchAllFiles(*this)) searchText(false);
    } else {
        searchText(true);
    }
}

// In folder mode a refresh reads the picked file again, since runs change the files on disk; in
// single-file mode the text in memory is searched, unsaved changes and all.
void MainWindow::searchText(bool interactive) {
    if (!interactive && MultiMode) {
        if (curFileName.empty())
            txtDoc = superMonitor_.bodyText();
        else if (!reloadText(txtDoc))
            return;
    }
    if (searchPattern.empty() || txtDoc.empty()) return;
    expression.setPattern(searchPattern);
    showStatus(u"Searching matches");
    try {
        lastMatches = expression.execute(txtDoc);
        const long long n = static_cast<long long>(lastMatches.size());
        if (n == 0) {
            clearSearchResult();
            if (interactive) logLine(u"0 item found!");
            showStatus(u"Done.");
            writeMatchList(u" No result found.");
            return;
        }
        if (controls_["MatchView"].visible)
            buildMatchList();
        else
            matchListBuilt = false;
        // The marks go exactly where the execute found the matches.
        std::vector<MatchSpan> spans;
        spans.reserve(lastMatches.size());
        for (const Match& m : lastMatches) spans.push_back({m.index, m.value.size()});
        if (interactive)
            logLine(u"Search " + controls_["inRepFrom"].text + u"\r\n" + decimal(n) +
                    u" items found.");
        // A re-search in single-file mode may count differently (the switches changed since):
        // the total follows. In folder mode it keeps the folder's total.
        if (interactive || !MultiMode) controls_.setText("lblTotal", decimal(n));
        controls_.setEnabled("btnNext", true);
        controls_.setEnabled("btnPrev", false);
        controls_.setEnabled("btnExp", true);
        controls_.setEnabled("mExp", true);
        matchCount = n;
        curMatch = 0;  // no match of the new result is current yet
        controls_.setText("matchNo", u"0/" + decimal(n));
        pageWaitTicks_ = 0;
        services_.timer.start(1);
        renderBody(txtDoc, spans);
        if (!controls_["btnViewIn"].enabled) enableSourceTools();
        SearchDone = true;
    } catch (const std::exception& e) {
        clearSearchResult();
        logError(u"Error in Search.\r\n" + reasonOf(e));
    }
}

void MainWindow::buildMatchList() {
    std::vector<std::u16string> values;
    values.reserve(lastMatches.size());
    for (const Match& m : lastMatches) values.push_back(m.value);
    writeMatchList(matchListFragment(values));
    matchListBuilt = true;
}

void MainWindow::renderSource(const std::u16string& text) {
    renderBody(text, {});
}

void MainWindow::renderBody(const std::u16string& text, const std::vector<MatchSpan>& spans) {
    showStatus(u"Rendering source code");
    renderRules = pickRenderRules(syntaxTable, curFileName, options.showSyntax);
    std::u16string body = renderSourceBody(text, spans, showInvisible);
    marksShown_ = !spans.empty();
    renderedSource = body;
    showStatus(u"Done.");
    // While the pane still loads a generated page, a body put into the page now would be lost
    // when that page arrives: the newer text goes the same road and supersedes it.
    if (fitsLoadedPage(body) && !superMonitor_.busy()) {
        renderedSource = wrapShortBody(body);
        superMonitor_.clearSelection();
        superMonitor_.setBodyHtml(renderedSource);
        superMonitor_.setCodeFont(fontList().at(options.sourceFontIndex % fontList().size()));
    } else {
        const std::u16string header = LoadFileText(programFolder_ + u"lib/srcHead.tmp");
        const std::u16string page = programFolder_ + u"tmp.htm";
        // The page closes what the header opened, so the line end the print adds lies outside
        // the body and the page shows exactly the text.
        PrintTextFile(page, asciiSafeHtml(header + body) + u"</pre></body></html>");
        superMonitor_.navigate(page);
    }
}

void MainWindow::OpenFile(const std::u16string& path) {
    std::u16string clean = path;
    std::erase(clean, u'\0');
    if (!fileExists(clean)) return;
    try {
        if (fileSize(clean) > kLargeFileBytes &&
            !services_.prompts.okCancel(u"We recommend you to open file bigger than 256k in "
                                        u"folder mode,\r\nor the speed of showing source code "
                                        u"may be very slow,are you sure to open it?",
                                        u" Warning"))
            return;
        showStatus(u"Loading file source code, please wait...");
        DecodedText file = loadTextFile(clean, reading);
        if (file.binary &&
            !services_.prompts.okCancel(
                u"This file looks binary (it holds NUL bytes). Open it anyway?", u" Warning")) {
            showStatus(u"Done.");
            return;
        }
        std::u16string text = std::move(file.text);
        curFormat = loadedFormat = file.format;
        curFileName = clean;
        controls_.setText("LblCurName", curFileName);
        controls_.setText("lblTotal", u"");
        FileList = {u"", curFileName};
        LoadedText = text;
        backupSaved_ = false;
        txtDoc = text;
        renderSource(txtDoc);
        showEncoding();
        controls_.setEnabled("mEncoding", true);
    } catch (const Error& e) {
        logError(u"Can't open the file.\r\n" + fromUtf8(e.what()));
        return;
    }
    logLine(u"Open file " + path);
    doSingle();
}

void MainWindow::reloadCurrentFile() {
    if (!reloadText(txtDoc)) return;
    renderSource(txtDoc);
    writeMatchList(u"");
    enableSourceTools();
    controls_.setEnabled("mViewIn", true);
    controls_.setChecked("mViewIn", false);
    controls_.setEnabled("mWrap", true);
    controls_.setChecked("mWrap", true);
}

}  // namespace lodestar
