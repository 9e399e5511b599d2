// Stepping through the matches of the last search: the current mark in the source view, the
// current entry in the match list, the counter box and the one-shot timer; and text taken from
// the source view into the pattern box.
#include <algorithm>
#include <string_view>

#include "core/text.h"
#include "forms/file/file_scope.h"
#include "forms/model/control_ids.h"

namespace lodestar {

namespace {
constexpr char16_t kCurrentMark[] = u"gold";
constexpr char16_t kCurrentEntry[] = u"rgb(230,230,230)";
constexpr char16_t kOtherEntry[] = u"white";
// How long Timer1 waits for the source page: this many ticks this far apart (30 seconds).
constexpr int kPageWaitTickMs = 50;
constexpr int kPageWaitTicks = 600;
}  // namespace

void FileScope::goToMatch(long long k) {
    // Moves only to a match of the last result; the marks of the page are the same matches.
    if (k < 1 || k > matchCount_) return;
    const std::size_t mark = static_cast<std::size_t>(k - 1);
    source().scrollTo({u"", u"em", mark});
    markListEntry(k);
    if (curMatch_ > 0) source().setMarkBackground(static_cast<std::size_t>(curMatch_ - 1), u"");
    source().setMarkBackground(mark, kCurrentMark);
    curMatch_ = k;
    controls().setText(main_ids::matchNo, decimal(k) + u"/" + decimal(matchCount_));
    if (scratchOpen_) tellScratch();  // the scratch pad selects the match
}

bool FileScope::matchListClicked(const std::u16string& address) {
    std::size_t hash = address.find(u'#');
    if (hash == std::u16string::npos) return false;
    const std::u16string_view move = std::u16string_view(address).substr(hash + 1);
    // The list's keys: moves as the buttons make them, the list following.
    if (move == u"next" || move == u"prev" || move == u"first" || move == u"last" ||
        move == u"current") {
        if (matchCount_ == 0) return true;
        if (move == u"next") {
            next();
            matchList().scrollTo({u"mlist", u"li", static_cast<std::size_t>(curMatch_ - 1)});
        } else if (move == u"prev") {
            prevMatch();
        } else {
            const long long k = move == u"first"  ? 1
                                : move == u"last" ? matchCount_
                                                  : std::max(curMatch_, 1LL);
            goToMatch(k);
            matchList().scrollTo({u"mlist", u"li", static_cast<std::size_t>(k - 1)});
        }
        controls().setEnabled(main_ids::btnPrev, true);
        return true;
    }
    long long k = 0;
    for (std::size_t i = hash + 1;
         i < address.size() && address[i] >= u'0' && address[i] <= u'9' && k < (1LL << 40); ++i)
        k = k * 10 + (address[i] - u'0');
    goToMatch(k);
    return true;
}

void FileScope::markListEntry(long long k) {
    if (!controls()[main_ids::MatchView].visible) return;
    if (curMatch_ > 0)
        matchList().setEntryBackground(static_cast<std::size_t>(curMatch_ - 1), kOtherEntry);
    matchList().setEntryBackground(static_cast<std::size_t>(k - 1), kCurrentEntry);
}

void FileScope::firstMatch() {
    curMatch_ = 0;  // the marks are collected anew from the page
    goToMatch(1);
}

void FileScope::nextMatch() {
    long long k = curMatch_ + 1;
    if (k > matchCount_) k = 1;
    goToMatch(k);
    matchList().scrollTo({u"mlist", u"li", static_cast<std::size_t>(k - 1)});
}

void FileScope::prevMatch() {
    long long k = curMatch_ - 1;
    if (k < 1) k = matchCount_;
    goToMatch(k);
    if (k >= 1) matchList().scrollTo({u"mlist", u"li", static_cast<std::size_t>(k - 1)});
}

void FileScope::next() {
    if (controls()[main_ids::btnPrev].enabled) {
        nextMatch();
    } else {
        firstMatch();
        controls().setEnabled(main_ids::btnPrev, true);
    }
}

void FileScope::onTimer1Tick() {
    if (scratchPending_) {
        timer_.stop();
        updateScratch();
        return;
    }
    if (source().busy()) {
        // The timer stays armed and ticks again, at a slower pace after the first wait, until
        // the page has had its time: a page that never finishes loading is reported once.
        if (++pageWaitTicks_ == 1) timer_.start(kPageWaitTickMs);
        if (pageWaitTicks_ < kPageWaitTicks) return;
        host_.logError(
            u"The source view did not finish loading.\r\nThe first match is not shown; "
            u"use \">\" to move to it.");
    } else if (searchDone_) {
        firstMatch();
        controls().setEnabled(main_ids::btnPrev, true);
    }
    pageWaitTicks_ = 0;
    timer_.stop();
}

void FileScope::onSourceCopied(const std::u16string& text) {
    sourceCopy_ = text;
    hasSourceCopy_ = true;
}

namespace {
// Line ends may change on their way through the clipboard; they do not tell two copies apart.
std::u16string withoutCarriageReturns(std::u16string text) {
    std::erase(text, u'\r');
    return text;
}

// Text of the source view as a one-line pattern: the marks of invisible characters become
// escapes, and the line breaks and tabs of the text itself are dropped.
std::u16string oneLinePattern(std::u16string text) {
    replaceAll(text, u"\u2193", u"\\r");
    replaceAll(text, u"\u300F", u"\\n");
    replaceAll(text, u"\u00B7", u" ");
    replaceAll(text, u"______ ", u"\\t");
    std::erase_if(text, [](char16_t c) { return c == u'\r' || c == u'\n' || c == u'\t'; });
    return text;
}

// A selection of the source view as a pattern that finds exactly that text: the characters
// with a meaning in a pattern are escaped, and line breaks and tabs become escapes, taken from
// the marks of invisible characters when the view shows them, else from the text itself.
std::u16string literalPattern(const std::u16string& selection, bool marksShown) {
    std::u16string pattern;
    for (const char16_t c : selection) {
        if (std::u16string_view(u"\\^$.|?*+()[]{}").find(c) != std::u16string_view::npos)
            pattern += u'\\';
        pattern += c;
    }
    if (marksShown) return oneLinePattern(std::move(pattern));
    replaceAll(pattern, u"\r", u"\\r");
    replaceAll(pattern, u"\n", u"\\n");
    replaceAll(pattern, u"\t", u"\\t");
    return pattern;
}
// How the text's lines end: a selection of the view has line feeds whatever the file holds.
enum class LineBreaks { LineFeed, CarriageReturnLineFeed, Mixed };

LineBreaks lineBreaksOf(const std::u16string& text) {
    bool pairs = false, lone = false;
    for (std::size_t at = text.find(u'\n'); at != std::u16string::npos && !(pairs && lone);
         at = text.find(u'\n', at + 1))
        (at > 0 && text[at - 1] == u'\r' ? pairs : lone) = true;
    if (pairs && lone) return LineBreaks::Mixed;
    return pairs ? LineBreaks::CarriageReturnLineFeed : LineBreaks::LineFeed;
}

// A selection of the view as a pattern whose line breaks are written as the text has them.
std::u16string patternWithTextLineBreaks(const std::u16string& selection, LineBreaks breaks) {
    const std::u16string lineBreak = breaks == LineBreaks::LineFeed ? u"\\n"
                                     : breaks == LineBreaks::Mixed  ? u"\\r?\\n"
                                                                    : u"\\r\\n";
    std::u16string pattern;
    std::size_t from = 0;
    for (;;) {
        std::size_t end = selection.find(u'\n', from);
        const std::size_t lineEnd =
            end != std::u16string::npos && end > from && selection[end - 1] == u'\r' ? end - 1
                                                                                     : end;
        pattern += literalPattern(selection.substr(from, lineEnd - from), false);
        if (end == std::u16string::npos) return pattern;
        pattern += lineBreak;
        from = end + 1;
    }
}
}  // namespace

std::u16string FileScope::patternPaste(const std::u16string& text) const {
    if (!hasSourceCopy_ || withoutCarriageReturns(text) != withoutCarriageReturns(sourceCopy_))
        return text;
    return oneLinePattern(text);
}

void FileScope::useSelectionAsPattern(const std::u16string& selection) {
    if (selection.empty() || !controls()[main_ids::inRepFrom].enabled) return;
    const std::u16string pattern =
        showInvisible_ ? literalPattern(selection, true)
                       : patternWithTextLineBreaks(selection, lineBreaksOf(doc_.text.str()));
    controls().setText(main_ids::inRepFrom, pattern);
    controls().setTextSelection(main_ids::inRepFrom, pattern.size(), 0);
}

}  // namespace lodestar
