// The diff's pieces: rows of headings and changes, their outlines counted once.
#include "forms/preview/review_pieces.h"

#include <algorithm>

#include "core/markup_escape.h"
#include "core/text.h"

namespace lodestar {

namespace {

constexpr std::u16string_view kRemoved = u"background:#fde4e4";
constexpr std::u16string_view kAdded = u"background:#e2f5e2";
constexpr std::u16string_view kRemovedPart = u"background:#f19c9c";
constexpr std::u16string_view kAddedPart = u"background:#8fd88f";

std::u16string number(std::size_t n) {
    return decimal(static_cast<long long>(n));
}

std::size_t linesIn(std::u16string_view text) {
    if (text.empty()) return 0;
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n')) +
           (text.back() == u'\n' ? 0 : 1);
}

std::size_t shownLines(std::size_t lines) {
    return lines > ReviewPieces::kShownLines ? ReviewPieces::kShownLines + 1 : lines;
}

std::u16string_view beforeOf(const FileChanges& file, const TextChange& c) {
    return std::u16string_view(*file.before).substr(c.beforeStart, c.beforeEnd - c.beforeStart);
}
std::u16string_view afterOf(const FileChanges& file, const TextChange& c) {
    return std::u16string_view(*file.after).substr(c.afterStart, c.afterEnd - c.afterStart);
}

// One side of a change, a line after the other behind its sign, the part [markFrom, markTo)
// marked; at most kShownLines lines.
void appendSide(std::u16string& html, std::u16string_view text, std::size_t markFrom,
                std::size_t markTo, char16_t sign, std::u16string_view lineStyle,
                std::u16string_view partStyle) {
    std::size_t at = 0, shown = 0;
    while (at < text.size()) {
        std::size_t end = text.find(u'\n', at);
        end = end == std::u16string_view::npos ? text.size() : end + 1;
        if (shown == ReviewPieces::kShownLines) {
            html += u"<span style='color:#666'>  \u2026 " + number(linesIn(text.substr(at))) +
                    u" more lines</span>\n";
            return;
        }
        std::size_t visibleEnd = end;
        while (visibleEnd > at && (text[visibleEnd - 1] == u'\n' || text[visibleEnd - 1] == u'\r'))
            --visibleEnd;
        html += u"<span style='";
        html += lineStyle;
        html += u"'>";
        html += sign;
        html += u' ';
        const std::size_t from = std::clamp(markFrom, at, visibleEnd);
        const std::size_t to = std::clamp(markTo, from, visibleEnd);
        html += escapeMarkup(text.substr(at, from - at));
        if (to > from) {
            html += u"<span style='";
            html += partStyle;
            html += u"'>" + escapeMarkup(text.substr(from, to - from)) + u"</span>";
        }
        html += escapeMarkup(text.substr(to, visibleEnd - to));
        html += u"</span>\n";
        at = end;
        ++shown;
    }
}

// A file in the folder by its path from there, any other by its whole path.
std::u16string_view shownName(const ReviewState& state, std::u16string_view path) {
    if (!state.folder.empty() && path.size() > state.folder.size() &&
        path.substr(0, state.folder.size()) == state.folder) {
        std::u16string_view rest = path.substr(state.folder.size());
        if (rest.front() == u'/') rest.remove_prefix(1);
        if (!rest.empty()) return rest;
    }
    return path;
}

}  // namespace

std::u16string fileTickId(std::size_t file) {
    return u"pf" + number(file);
}
std::u16string changeTickId(std::size_t file, std::size_t change) {
    return u"pc" + number(file) + u"_" + number(change);
}
std::u16string fileCountId(std::size_t file) {
    return u"pn" + number(file);
}
std::u16string tickMark(bool on) {
    return on ? u"\u2611" : u"\u2610";
}

std::u16string tickedCountText(const ReviewState& state, std::size_t file) {
    if (!state.fileTicked[file]) return u"not ticked";
    const FileChanges& changes = state.files[file];
    return number(changes.tickedCount()) + u" of " + number(changes.changes.size()) +
           u" changes ticked";
}

ReviewPieces::ReviewPieces(std::shared_ptr<const ReviewState> state) : state_(std::move(state)) {
    const auto& rows = state_->rows;
    for (std::size_t from = 0; from < rows.size(); from += kRowsPerPiece) {
        PieceOutline outline{0, 0, from};
        for (std::size_t r = from; r < std::min(rows.size(), from + kRowsPerPiece); ++r) {
            const FileChanges& file = state_->files[rows[r].first];
            if (rows[r].second == 0) {
                outline.lines += 1;
                outline.characters += file.path.size() + 30;
                continue;
            }
            const TextChange& c = file.changes[rows[r].second - 1];
            outline.lines +=
                1 + shownLines(linesIn(beforeOf(file, c))) + shownLines(linesIn(afterOf(file, c)));
            outline.characters += (c.beforeEnd - c.beforeStart) + (c.afterEnd - c.afterStart) + 20;
        }
        outlines_.push_back(outline);
    }
}

std::u16string ReviewPieces::html(std::size_t piece) const {
    std::u16string html;
    const auto& rows = state_->rows;
    const std::size_t from = piece * kRowsPerPiece;
    for (std::size_t r = from; r < std::min(rows.size(), from + kRowsPerPiece); ++r) {
        const std::size_t f = rows[r].first;
        const FileChanges& file = state_->files[f];
        html += u"<div data-k='" + number(r) + u"'>";
        if (rows[r].second == 0) {
            html += u"<div style='background:#e4eaf4;font-weight:bold;margin-top:6px'><a id='" +
                    fileTickId(f) + u"' href='#" + fileTickId(f) +
                    u"' style='text-decoration:none'>" + tickMark(state_->fileTicked[f]) +
                    u"</a> " + escapeMarkup(shownName(*state_, file.path)) + u"  <span id='" +
                    fileCountId(f) + u"' style='font-weight:normal'>" +
                    tickedCountText(*state_, f) + u"</span></div></div>";
            continue;
        }
        const std::size_t k = rows[r].second - 1;
        const TextChange& c = file.changes[k];
        html += u"<a id='" + changeTickId(f, k) + u"' href='#" + changeTickId(f, k) +
                u"' style='text-decoration:none'>" + tickMark(file.ticked[k]) +
                u"</a> <span style='color:#555'>line " + number(c.beforeLine);
        if (c.afterLine != c.beforeLine) html += u" \u2192 " + number(c.afterLine);
        html += u"</span>\n";
        const std::u16string_view before = beforeOf(file, c), after = afterOf(file, c);
        appendSide(html, before, c.sameHead, before.size() - c.sameTail, u'-', kRemoved,
                   kRemovedPart);
        appendSide(html, after, c.sameHead, after.size() - c.sameTail, u'+', kAdded, kAddedPart);
        html += u"</div>";
    }
    return html;
}

}  // namespace lodestar
