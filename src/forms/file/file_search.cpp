// Find, the single-text search with its match list, and the source view: rendering, opening a
// file and reloading it.
#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <tuple>
#include <utility>

#include "core/reason.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "files/text_file.h"
#include "forms/file/file_scope.h"
#include "forms/file/large_file.h"
#include "forms/file/result_pieces.h"
#include "forms/model/control_ids.h"
#include "forms/model/progress_bar.h"
#include "render/match_list.h"
#include "render/source_body.h"
#include "search/pattern.h"

namespace lodestar {

namespace {

// Below this size no file is asked about, whatever the free memory.
constexpr std::uint64_t kQuestionFreeBytes = 16u << 20;
// A longer match list is shown a piece at a time.
constexpr std::size_t kMaxInlineEntries = 1000;

// Every match of `search` in `text` as positions, with how many of them are empty; `reached`
// hears where each match ends, for the progress bar. Throws SearchStopped once stopped.
std::pair<std::shared_ptr<std::vector<MatchSpan>>, std::size_t> collectMatches(
    const RegExp& search, const std::u16string& text, const StopToken& stop,
    const std::function<void(std::size_t end)>& reached) {
    auto spans = std::make_shared<std::vector<MatchSpan>>();
    std::size_t empty = 0;
    search.forEachMatch(
        text,
        [&](const MatchSpan& m) {
            spans->push_back(m);
            if (m.length == 0) ++empty;
            reached(m.index + m.length);
        },
        &stop);
    spans->shrink_to_fit();
    return {spans, empty};
}

// The long match list, built on the worker; none for a list short enough to write whole.
std::shared_ptr<const PieceDocument> longMatchList(
    const std::shared_ptr<const std::u16string>& text, const SharedSpans& spans) {
    if (spans->size() <= kMaxInlineEntries) return nullptr;
    return std::make_shared<MatchListPieceDocument>(text, spans);
}

}  // namespace

// A pattern the engine rejects ends the command before it touches anything: the status says
// so, the log gives the engine's reason with its position (in the pattern as typed when that
// alone is already wrong), and the previous result is cleared.
bool FileScope::patternIsValid(const SearchRequest& request) {
    const std::optional<std::u16string> reason = request.error();
    if (!reason) return true;
    clearSearchResult();
    host_.logError(u"Invalid pattern.\r\n" + *reason);
    host_.showStatus(u"Invalid pattern.");
    return false;
}

// As if the result had been reset: no marks, no total, nothing to step through.
void FileScope::clearSearchResult() {
    timer_.stop();
    lastMatches_.reset();
    matchCount_ = 0;
    curMatch_ = 0;
    resetMatchState();
    controls().setText(main_ids::lblTotal, u"");
}

// The text of the current file read again; false (and the reason logged) when it cannot be.
bool FileScope::reloadText(SharedText& text) {
    try {
        doc_.stamp = stampOf(doc_.path);  // taken before the read: a later change shows
        DecodedText file = loadTextFile(doc_.path, host_.textReading());
        text = std::move(file.text);
        doc_.format = doc_.loadedFormat = file.format;
        showEncoding();
        return true;
    } catch (const std::exception& e) {
        host_.logError(u"Can't open the file.\r\n" + reasonOf(e));
        return false;
    }
}

// In folder mode a refresh reads the picked file again, since runs change the files on disk; in
// single-file mode the text in memory is searched, unsaved changes and all.
void FileScope::searchText(bool interactive) {
    if (!interactive && host_.inFolderMode()) {
        if (!doc_.path.empty()) {
            readPicked(true);
            return;
        }
        doc_.text = source().bodyText();
    }
    if (host_.request().searchPattern().empty() || doc_.text.empty()) return;
    host_.showStatus(u"Searching matches");
    // The search and the rendering of the marks run on the worker thread; the text is shared,
    // never copied, and the window keeps its own reference should it change meanwhile.
    struct Result {
        SharedSpans matches;
        std::size_t empty = 0;
        RenderedBody body;
        std::shared_ptr<const PieceDocument> list;  // a long match list, built here too
        std::optional<std::u16string> failure;
    };
    auto result = std::make_shared<Result>();
    jobs_.start(
        [result, text = doc_.text.shared(), search = host_.request().expression(),
         invisible = showInvisible_,
         shown = shownPieces()](const StopToken& stop, const JobProgress& progress) {
            try {
                auto [spans, empty] = collectMatches(
                    search, *text, stop, [&](std::size_t end) { progress(end, text->size()); });
                result->matches = spans;
                result->empty = empty;
                if (spans->empty() || stop.requested()) return;
                // The marks go exactly where the search found the matches.
                result->body = prepareBody(text, spans, invisible, shown);
                if (!stop.requested()) result->list = longMatchList(text, spans);
            } catch (const SearchStopped&) {
                // Nobody waits for this result any more.
            } catch (const std::exception& e) {
                result->failure = reasonOf(e);
            }
        },
        [this, result, interactive] {
            if (result->failure) {
                clearSearchResult();
                host_.logError(u"Error in Search.\r\n" + *result->failure);
                return;
            }
            showSearchResult(interactive, std::move(result->matches), result->empty,
                             std::move(result->body), std::move(result->list));
        });
}

void FileScope::showSearchResult(bool interactive, SharedSpans matches, std::size_t emptyMatches,
                                 RenderedBody body, std::shared_ptr<const PieceDocument> list) {
    try {
        lastMatches_ = std::move(matches);
        const long long n = lastMatches_ ? static_cast<long long>(lastMatches_->size()) : 0;
        if (n == 0) {
            // In folder mode the folder's search still stands (its total, Export) when the
            // picked file has nothing to mark.
            const bool folderResultStands = host_.inFolderMode() && !interactive && searchDone_;
            const std::u16string folderTotal = controls()[main_ids::lblTotal].text;
            clearSearchResult();
            if (folderResultStands) {
                searchDone_ = true;
                controls().setText(main_ids::lblTotal, folderTotal);
                controls().setEnabled(main_ids::btnExp, true);
                controls().setEnabled(main_ids::mExp, true);
            }
            if (interactive) host_.logLine(u"0 item found!");
            host_.showStatus(u"Done.");
            writeMatchList(u" No result found.");
            return;
        }
        if (!controls()[main_ids::MatchView].visible) {
            matchListBuilt_ = false;
        } else if (list) {
            matchList().setElementPieces(u"mlist", std::move(list));
            matchListBuilt_ = true;
        } else {
            buildMatchList();
        }
        if (interactive) {
            host_.logLine(u"Search " + host_.request().typedPattern() + u"\r\n" + decimal(n) +
                          u" items found.");
            if (emptyMatches > 0)
                host_.logLine(decimal(static_cast<long long>(emptyMatches)) + u" of them empty.");
        }
        // A re-search in single-file mode may count differently (the switches changed since):
        // the total follows. In folder mode it keeps the folder's total.
        if (interactive || !host_.inFolderMode())
            controls().setText(main_ids::lblTotal, decimal(n));
        controls().setEnabled(main_ids::btnNext, true);
        controls().setEnabled(main_ids::btnPrev, false);
        controls().setEnabled(main_ids::btnExp, true);
        controls().setEnabled(main_ids::mExp, true);
        matchCount_ = n;
        curMatch_ = 0;  // no match of the new result is current yet
        controls().setText(main_ids::matchNo, u"0/" + decimal(n));
        pageWaitTicks_ = 0;
        timer_.start(1);
        host_.showStatus(u"Rendering source code");
        renderRules_ = pickRenderRules(syntaxTable_, doc_.path, options().showSyntax);
        showBody(std::move(body));
        marksShown_ = true;
        host_.showStatus(u"Done.");
        if (!controls()[main_ids::btnViewIn].enabled) host_.setSourceTools(true);
        searchDone_ = true;
    } catch (const std::exception& e) {
        clearSearchResult();
        host_.logError(u"Error in Search.\r\n" + reasonOf(e));
    }
}

// The list of the last result, which searched the text the window holds now.
void FileScope::buildMatchList() {
    const std::size_t n = lastMatches_ ? lastMatches_->size() : 0;
    if (n > kMaxInlineEntries) {
        matchList().setElementPieces(
            u"mlist", std::make_shared<MatchListPieceDocument>(doc_.text.shared(), lastMatches_));
    } else if (lastMatches_) {
        writeMatchList(matchListHtml(doc_.text.str(), *lastMatches_));
    }
    matchListBuilt_ = true;
}

void FileScope::renderSource(const SharedText& text) {
    renderBody(text, nullptr);
}

void FileScope::renderBody(const SharedText& text, SharedSpans spans) {
    host_.showStatus(u"Rendering source code");
    renderRules_ = pickRenderRules(syntaxTable_, doc_.path, options().showSyntax);
    marksShown_ = spans && !spans->empty();
    if (!spans) spans = std::make_shared<const std::vector<MatchSpan>>();
    RenderedBody body = prepareBody(text.shared(), spans, showInvisible_, shownPieces());
    host_.showStatus(u"Done.");
    showBody(std::move(body));
}

std::shared_ptr<const SourcePieceDocument> FileScope::shownPieces() const {
    return std::dynamic_pointer_cast<const SourcePieceDocument>(source().sharedBodyPieces());
}

// A body read from the file and prepared on the worker, without marks.
void FileScope::showUnmarkedBody(RenderedBody body) {
    leaveScratch();  // a file is shown in its place
    marksShown_ = false;
    host_.showStatus(u"Rendering source code");
    renderRules_ = pickRenderRules(syntaxTable_, doc_.path, options().showSyntax);
    showBody(std::move(body));
    host_.showStatus(u"Done.");
}

void FileScope::showBody(RenderedBody body) {
    source().clearSelection();
    if (body.pieces) {
        // The page asks for the pieces it shows; the program keeps the whole body.
        renderedSource_.clear();
        source().setBodyPieces(std::move(body.pieces));
    } else {
        renderedSource_ = std::move(body.inlineBody);
        source().setBodyHtml(renderedSource_);
    }
    applyCodeFont();
    applyWordWrap();
}

void FileScope::applyCodeFont() {
    source().setCodeFont(sourceFontFamily(options()));
    source().setCodeSyntax(options().showSyntax);
}

void FileScope::open(const std::u16string& path) {
    std::u16string clean = path;
    std::erase(clean, u'\0');
    if (!fileExists(clean)) return;
    try {
        const std::uint64_t bytes = fileSize(clean);
        const std::optional<std::uint64_t> free =
            bytes > kQuestionFreeBytes ? freeMemoryBytes() : std::optional<std::uint64_t>();
        if (!windowCanCarry(bytes, free) &&
            !prompts_.okCancel(largeFileQuestion(bytes, free), u"Warning"))
            return;
    } catch (const Error& e) {
        host_.logError(u"Can't open the file.\r\n" + fromUtf8(e.what()));
        return;
    }
    host_.showStatus(u"Loading file source code, please wait...");
    // Reading and rendering run on the file's own copy; the window takes them over when done.
    struct Loaded {
        std::optional<FileStamp> stamp;
        DecodedText file;
        SharedText text;
        RenderedBody body;
        std::u16string error;
    };
    auto loaded = std::make_shared<Loaded>();
    jobs_.start(
        [loaded, clean, reading = host_.textReading(), invisible = showInvisible_](
            const StopToken& stop, const JobProgress& progress) {
            try {
                // Taken before the read: a change made while it reads shows at the save.
                loaded->stamp = stampOf(clean);
                loaded->file = loadTextFile(clean, reading, ReadWatch{&stop, progress});
                loaded->text = std::move(loaded->file.text);
                if (stop.requested()) return;
                loaded->body =
                    prepareBody(loaded->text.shared(),
                                std::make_shared<const std::vector<MatchSpan>>(), invisible);
            } catch (const ReadStopped&) {
                // Nobody waits for this file any more.
            } catch (const Error& e) {
                loaded->error = fromUtf8(e.what());
            } catch (const std::bad_alloc&) {
                loaded->error = u"Not enough memory to show " + clean;
            }
        },
        [this, loaded, clean, path] {
            if (!loaded->error.empty()) {
                host_.logError(u"Can't open the file.\r\n" + loaded->error);
                host_.showStatus(u"Done.");
                return;
            }
            if (loaded->file.binary &&
                !prompts_.okCancel(u"This file looks binary (it holds NUL bytes). Open it anyway?",
                                   u" Warning")) {
                host_.showStatus(u"Done.");
                return;
            }
            doc_.format = doc_.loadedFormat = loaded->file.format;
            doc_.path = clean;
            controls().setText(main_ids::LblCurName, doc_.path);
            controls().setText(main_ids::lblTotal, u"");
            doc_.loaded = loaded->text;  // one buffer until the text is changed
            doc_.stamp = loaded->stamp;
            doc_.text = loaded->text;
            showUnmarkedBody(std::move(loaded->body));
            showEncoding();
            controls().setEnabled(main_ids::mEncoding, true);
            host_.logLine(u"Open file " + path);
            host_.enterSingleFileMode();
        });
}

void FileScope::readPicked(bool search, std::function<void()> undo) {
    if (doc_.path.empty()) return;
    search = search && !host_.request().searchPattern().empty();
    host_.showStatus(u"Loading file source code, please wait...");
    struct Picked {
        TextFormat format;
        SharedText text;
        SharedSpans matches;
        std::size_t empty = 0;
        RenderedBody body;
        std::shared_ptr<const PieceDocument> list;
        std::optional<std::u16string> readFailure, searchFailure;
    };
    auto picked = std::make_shared<Picked>();
    // Reading and searching run on the worker, each half of the bar when both; the window takes
    // over the text only once it is read and its body prepared.
    auto work = [picked, path = doc_.path, reading = host_.textReading(),
                 expr = search ? std::optional<RegExp>(host_.request().expression()) : std::nullopt,
                 invisible = showInvisible_](const StopToken& stop, const JobProgress& progress) {
        const std::uint64_t halves = expr ? 2 : 1;
        try {
            DecodedText file = loadTextFile(
                path, reading, ReadWatch{&stop, [&](std::uint64_t done, std::uint64_t total) {
                                             progress(done, total * halves);
                                         }});
            picked->format = file.format;
            picked->text = std::move(file.text);
            if (stop.requested()) return;
            const auto& text = picked->text.shared();
            auto spans = std::make_shared<std::vector<MatchSpan>>();
            if (expr) {
                try {
                    std::tie(spans, picked->empty) = collectMatches(
                        *expr, *text, stop,
                        [&](std::size_t end) { progress(text->size() + end, 2 * text->size()); });
                } catch (const SearchStopped&) {
                    return;
                } catch (const std::exception& e) {
                    // The file is shown all the same, without marks.
                    picked->searchFailure = reasonOf(e);
                }
                picked->matches = spans;
            }
            if (stop.requested()) return;
            picked->body = prepareBody(text, spans, invisible);
            if (!stop.requested()) picked->list = longMatchList(text, spans);
        } catch (const ReadStopped&) {
            // Nobody waits for this file any more.
        } catch (const std::exception& e) {
            picked->readFailure = reasonOf(e);
        }
    };
    auto done = [this, picked, search] {
        if (picked->readFailure) {
            host_.logError(u"Can't open the file.\r\n" + *picked->readFailure);
            return;
        }
        doc_.text = picked->text;
        doc_.format = doc_.loadedFormat = picked->format;
        showEncoding();
        const bool marked = search && picked->matches && !picked->matches->empty();
        if (marked) {
            showSearchResult(false, std::move(picked->matches), picked->empty,
                             std::move(picked->body), std::move(picked->list));
            return;
        }
        // The new text is shown even where it has nothing to mark.
        showUnmarkedBody(std::move(picked->body));
        host_.setSourceTools(true);
        showViewTicks();
        if (picked->searchFailure) {
            clearSearchResult();
            host_.logError(u"Error in Search.\r\n" + *picked->searchFailure);
        } else if (search) {
            showSearchResult(false, std::move(picked->matches), 0, {}, nullptr);
        } else {
            writeMatchList(u"");
        }
    };
    // A pick made while another is still read goes back, on Esc, to the file shown before both.
    jobs_.start(std::move(work), std::move(done), jobs_.undo() ? jobs_.undo() : std::move(undo));
}

}  // namespace lodestar
