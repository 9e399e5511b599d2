// The scratch pad of Instant Test: an editable text searched live while the user types.
#include <algorithm>
#include <exception>

#include "core/markup_escape.h"
#include "core/reason.h"
#include "core/text.h"
#include "forms/file/file_scope.h"
#include "forms/model/control_ids.h"
#include "search/expression_ops.h"
#include "settings/scratch_text.h"

namespace lodestar {

namespace {

// The text the scratch pad starts with the first time: something to try patterns on.
constexpr char16_t kSampleText[] =
    u"Paste or type your own text here; the marks follow the pattern as you type it.\n"
    u"\n"
    u"Order 1042 shipped 2024-03-18 to anna.berg@example.org (total: 58.90 EUR)\n"
    u"Order 1043 shipped 2024-03-21 to j.ortiz@example.com  (total: 7.25 EUR)\n"
    u"<a href=\"https://example.org/docs\" class=\"reference\">Docs</a>\n"
    u"TODO: check the invoices; todo: write the report\n";

}  // namespace

void FileScope::openScratch() {
    if (scratchFile_.empty()) scratchFile_ = userScratchFile();
    const std::optional<std::u16string> kept = loadScratchText(scratchFile_);
    doc_.text = SharedText(kept ? *kept : std::u16string(kSampleText));
    doc_.loaded = doc_.text;  // kept in the state folder: nothing for Save to ask about
    scratchOpen_ = true;
    scratchUnsaved_ = false;
    if (!watchingInput_) {
        // The boxes and switches the live result depends on.
        watchingInput_ = true;
        controls().onChange([this](const Control& changed) {
            static constexpr ControlId kInputs[] = {main_ids::inRepFrom,     main_ids::inRepWith,
                                                    main_ids::chkIgnoreCase, main_ids::chkGlobal,
                                                    main_ids::chkMultiline,  main_ids::chkLine};
            for (const ControlId name : kInputs)
                if (changed.name == name) scratchInputChanged();
        });
    }
    renderSource(doc_.text);
    scratchSaveFailed_ = false;
    host_.setSourceTools(false);
    host_.showStatus(u"Instant Test: type a pattern, or paste your own text.");
    updateScratch();
}

void FileScope::leaveScratch() {
    if (!scratchOpen_) return;
    saveScratch();
    scratchOpen_ = false;
    scratchPending_ = false;
    scratchResult_.reset();
    patternProblem_.reset();
    tellScratch();
}

void FileScope::scratchEdited(const std::u16string& text) {
    if (!scratchOpen_ || text == doc_.text.str()) return;
    doc_.text = SharedText(text);
    doc_.loaded = doc_.text;
    scratchUnsaved_ = true;
    scratchInputChanged();
}

void FileScope::scratchInputChanged() {
    if (!scratchOpen_) return;
    scratchPending_ = true;
    timer_.start(kScratchDelayMs);
}

// The text is kept whenever the result follows it; a failed write is told once and the text
// stays in the window, to be kept at the next change.
void FileScope::saveScratch() {
    if (!scratchUnsaved_) return;
    try {
        saveScratchText(scratchFile_, doc_.text.str());
        scratchUnsaved_ = false;
        scratchSaveFailed_ = false;
    } catch (const std::exception& e) {
        if (!scratchSaveFailed_)
            host_.logError(u"The scratch text could not be kept.\r\n" + reasonOf(e));
        scratchSaveFailed_ = true;
    }
}

void FileScope::updateScratch() {
    if (!scratchOpen_) return;
    scratchPending_ = false;
    const ControlModel& c = controls();
    const std::u16string typed = c[main_ids::inRepFrom].text;
    const std::u16string& text = doc_.text.str();
    auto spans = std::make_shared<std::vector<MatchSpan>>();
    patternProblem_.reset();
    scratchResult_.reset();
    if (!typed.empty()) {
        const SearchRequest request = SearchRequest::build(
            typed, c[main_ids::inRepWith].text,
            {c[main_ids::chkIgnoreCase].checked, c[main_ids::chkGlobal].checked,
             c[main_ids::chkMultiline].checked, c[main_ids::chkLine].checked},
            options().escapeSupport);
        if (std::optional<std::u16string> reason = request.error()) {
            patternProblem_ = PatternProblem{
                std::min(request.errorPosition().value_or(typed.size()), typed.size()), *reason};
        } else {
            try {
                request.expression().forEachMatch(text,
                                                  [&](const MatchSpan& m) { spans->push_back(m); });
                if (!c[main_ids::inRepWith].text.empty())
                    scratchResult_ = replaceIn(request.expression(), text, request.replacement());
            } catch (const std::exception& e) {
                // Too complex for this text: told as the pattern's problem, at its end.
                spans->clear();
                patternProblem_ = PatternProblem{typed.size(), reasonOf(e)};
            }
        }
    }
    lastMatches_ = spans;
    const long long n = static_cast<long long>(spans->size());
    matchCount_ = n;
    curMatch_ = 0;
    searchDone_ = n > 0;
    controls().setText(main_ids::lblTotal, typed.empty() || patternProblem_ ? u"" : decimal(n));
    controls().setText(main_ids::matchNo, u"0/" + decimal(n));
    for (const ControlId name : {main_ids::btnNext, main_ids::btnPrev, main_ids::matchNo})
        controls().setEnabled(name, n > 0);
    if (n > 0)
        buildMatchList();
    else if (patternProblem_)
        // The reason, where the list would be: the box marks where the pattern goes wrong.
        writeMatchList(u"<div class=problem>Invalid pattern. " +
                       escapeMarkup(patternProblem_->reason) + u"</div>");
    else
        writeMatchList(typed.empty() ? u"" : u" No result found.");
    host_.showStatus(patternProblem_ ? u"Invalid pattern." : u"Done.");
    saveScratch();
    tellScratch();
}

}  // namespace lodestar
