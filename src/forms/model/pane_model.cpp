// The pane document model, its pushes to the pane host, and the document kept while a page
// loads.
#include "forms/model/pane_model.h"

#include "core/markup_escape.h"

#include "forms/model/html_text.h"

namespace lodestar {

namespace {
constexpr char16_t kListId[] = u"mlist";
constexpr char16_t kMarkTag[] = u"em";
constexpr char16_t kEntryTag[] = u"li";

std::u16string backgroundOf(const std::map<std::size_t, std::u16string>& backgrounds,
                            std::size_t index) {
    auto it = backgrounds.find(index);
    return it == backgrounds.end() ? std::u16string() : it->second;
}

void storeBackground(std::map<std::size_t, std::u16string>& backgrounds, std::size_t index,
                     const std::u16string& colour) {
    if (colour.empty())
        backgrounds.erase(index);
    else
        backgrounds[index] = colour;
}
}  // namespace

void PaneModel::resetDocumentState() {
    elements_.clear();
    markCount_ = bodyPieces_ ? bodyPieces_->itemCount() : countElements(body_, kMarkTag);
    markBackgrounds_.clear();
    entryCount_ = 0;
    entryBackgrounds_.clear();
    tables_.clear();
    lastScroll_.reset();
    codeFont_.clear();
    codeWordWrap_.clear();
    codeSyntax_.clear();
}

void PaneModel::navigate(const std::u16string& address) {
    address_ = address;
    busy_ = true;
    keepDocument_ = false;
    body_.clear();
    bodyPieces_.reset();
    bodyWritten_ = false;
    resetDocumentState();
    if (host_) host_->navigate(address);
}

void PaneModel::loaded(const std::u16string& address, const std::u16string& pageSource) {
    address_ = address;
    busy_ = false;
    if (!bodyWritten_) {
        body_ = bodyOf(pageSource);
        if (keepDocument_)
            markCount_ = countElements(body_, kMarkTag);
        else
            resetDocumentState();
    }
    if (keepDocument_) {
        keepDocument_ = false;
        pushDocument();
    }
}

void PaneModel::reload() {
    busy_ = true;
    keepDocument_ = true;
    if (host_) host_->navigate(address_);
}

void PaneModel::setTable(const std::u16string& tableId, std::vector<std::u16string> cellsHtml,
                         std::vector<std::u16string> rowBackgrounds) {
    tables_[tableId] = {std::move(cellsHtml), std::move(rowBackgrounds)};
}

std::size_t PaneModel::cellCount(const std::u16string& tableId) const {
    auto it = tables_.find(tableId);
    return it == tables_.end() ? 0 : it->second.cells.size();
}

std::u16string PaneModel::cellHtml(const std::u16string& tableId, std::size_t index) const {
    auto it = tables_.find(tableId);
    if (it == tables_.end() || index >= it->second.cells.size()) return {};
    return it->second.cells[index];
}

std::u16string PaneModel::cellText(const std::u16string& tableId, std::size_t index) const {
    return innerTextOf(cellHtml(tableId, index));
}

void PaneModel::setCellHtml(const std::u16string& tableId, std::size_t index,
                            const std::u16string& html) {
    auto it = tables_.find(tableId);
    if (it == tables_.end() || index >= it->second.cells.size()) return;
    it->second.cells[index] = html;
    if (host_) host_->setCell(tableId, index, html, true);
}

void PaneModel::setCellText(const std::u16string& tableId, std::size_t index,
                            const std::u16string& text) {
    auto it = tables_.find(tableId);
    if (it == tables_.end() || index >= it->second.cells.size()) return;
    it->second.cells[index] = escapeMarkup(text);
    if (host_) host_->setCell(tableId, index, text, false);
}

std::size_t PaneModel::rowCount(const std::u16string& tableId) const {
    auto it = tables_.find(tableId);
    return it == tables_.end() ? 0 : it->second.rows.size();
}

std::u16string PaneModel::rowBackground(const std::u16string& tableId, std::size_t row) const {
    auto it = tables_.find(tableId);
    if (it == tables_.end() || row >= it->second.rows.size()) return {};
    return it->second.rows[row];
}

void PaneModel::setRowBackground(const std::u16string& tableId, std::size_t row,
                                 const std::u16string& colour) {
    auto it = tables_.find(tableId);
    if (it == tables_.end() || row >= it->second.rows.size()) return;
    it->second.rows[row] = colour;
    if (host_) host_->setBackground(tableId, u"tr", row, colour);
}

void PaneModel::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    if (host_) host_->setVisible(on);
}

void PaneModel::setBodyHtml(const std::u16string& html) {
    body_ = html;
    bodyPieces_.reset();
    bodyWritten_ = true;
    keepDocument_ = keepDocument_ || busy_;
    resetDocumentState();
    if (PaneHost* h = live()) h->setBodyHtml(html);
}

void PaneModel::setBodyPieces(std::shared_ptr<const PieceDocument> pieces) {
    body_.clear();
    bodyPieces_ = std::move(pieces);
    bodyGeneration_ = ++generation_;
    bodyWritten_ = true;
    keepDocument_ = keepDocument_ || busy_;
    resetDocumentState();
    if (live() && bodyPieces_) pushPieces(u"", *bodyPieces_);
}

std::u16string PaneModel::bodyText() const {
    if (!bodyPieces_) return innerTextOf(body_);
    std::u16string text;
    for (std::size_t i = 0; i < bodyPieces_->pieceCount(); ++i)
        text += innerTextOf(bodyPieces_->html(i));
    return text;
}

void PaneModel::clearSelection() {
    ++selectionClears_;
    if (PaneHost* h = live()) h->clearSelection();
}

bool PaneModel::hasElement(const std::u16string& id) const {
    return elements_.count(id) != 0 || hasElementId(body_, id);
}

void PaneModel::setElementHtml(const std::u16string& id, const std::u16string& html) {
    elements_[id] = {html, nullptr, 0};
    if (id == kListId) {
        entryCount_ = countElements(html, kEntryTag);
        entryBackgrounds_.clear();
    }
    keepDocument_ = keepDocument_ || busy_;
    if (PaneHost* h = live()) h->setElementHtml(id, html);
}

void PaneModel::setElementPieces(const std::u16string& id,
                                 std::shared_ptr<const PieceDocument> pieces) {
    if (!pieces) return;
    const PieceDocument& doc = *pieces;
    elements_[id] = {u"", std::move(pieces), ++generation_};
    if (id == kListId) {
        entryCount_ = doc.itemCount();
        entryBackgrounds_.clear();
    }
    keepDocument_ = keepDocument_ || busy_;
    if (live()) pushPieces(id, doc);
}

std::u16string PaneModel::elementHtml(const std::u16string& id) const {
    auto it = elements_.find(id);
    return it == elements_.end() ? std::u16string() : it->second.html;
}

const PieceDocument* PaneModel::piecesOf(const std::u16string& withinId,
                                         long long* generation) const {
    if (withinId.empty()) {
        *generation = bodyGeneration_;
        return bodyPieces_.get();
    }
    auto it = elements_.find(withinId);
    if (it == elements_.end() || !it->second.pieces) return nullptr;
    *generation = it->second.generation;
    return it->second.pieces.get();
}

long long PaneModel::generation(const std::u16string& withinId) const {
    long long g = 0;
    return piecesOf(withinId, &g) ? g : 0;
}

void PaneModel::pushPieces(const std::u16string& withinId, const PieceDocument& pieces) {
    long long g = 0;
    if (!piecesOf(withinId, &g)) return;
    std::vector<PieceOutline> outline;
    outline.reserve(pieces.pieceCount());
    for (std::size_t i = 0; i < pieces.pieceCount(); ++i) outline.push_back(pieces.outline(i));
    host_->setPieces(withinId, g, outline);
}

void PaneModel::servePieces(const std::u16string& withinId, long long generation,
                            const std::vector<std::size_t>& indices) {
    long long current = 0;
    const PieceDocument* doc = piecesOf(withinId, &current);
    PaneHost* h = live();
    if (!doc || !h || generation != current) return;
    for (std::size_t i : indices)
        if (i < doc->pieceCount()) h->putPiece(withinId, generation, i, doc->html(i));
}

// The whole document the program wrote, for a page that has just (re)loaded.
void PaneModel::pushDocument() {
    if (!host_) return;
    if (bodyWritten_) {
        if (bodyPieces_)
            pushPieces(u"", *bodyPieces_);
        else
            host_->setBodyHtml(body_);
    }
    for (const auto& [id, element] : elements_) {
        if (element.pieces)
            pushPieces(id, *element.pieces);
        else
            host_->setElementHtml(id, element.html);
    }
    for (const auto& [index, colour] : markBackgrounds_)
        host_->setBackground(u"", kMarkTag, index, colour);
    for (const auto& [index, colour] : entryBackgrounds_)
        host_->setBackground(kListId, kEntryTag, index, colour);
    if (!codeFont_.empty()) host_->setStyle(u"code", u"font-family", codeFont_);
    if (!codeWordWrap_.empty()) host_->setStyle(u"code", u"word-wrap", codeWordWrap_);
    if (!codeSyntax_.empty()) host_->setStyle(u"code", u"--syntax", codeSyntax_);
    if (lastScroll_)
        host_->scrollToElement(lastScroll_->withinId, lastScroll_->tagName, lastScroll_->index, 20);
}

void PaneModel::setMarkBackground(std::size_t index, const std::u16string& colour) {
    if (index >= markCount_) return;
    storeBackground(markBackgrounds_, index, colour);
    if (PaneHost* h = live()) h->setBackground(u"", kMarkTag, index, colour);
}

std::u16string PaneModel::markBackground(std::size_t index) const {
    return backgroundOf(markBackgrounds_, index);
}

void PaneModel::setEntryBackground(std::size_t index, const std::u16string& colour) {
    if (index >= entryCount_) return;
    entryBackgrounds_[index] = colour;
    if (PaneHost* h = live()) h->setBackground(kListId, kEntryTag, index, colour);
}

std::u16string PaneModel::entryBackground(std::size_t index) const {
    return backgroundOf(entryBackgrounds_, index);
}

bool PaneModel::scrollTo(const ScrollTarget& target) {
    std::size_t available = target.withinId == kListId && target.tagName == kEntryTag ? entryCount_
                            : target.withinId.empty() && target.tagName == kMarkTag   ? markCount_
                                                                                      : 0;
    if (target.index >= available) return false;
    lastScroll_ = target;
    PaneHost* h = live();
    if (!h) return true;
    // The piece holding the item goes with the scroll, so the page need not ask for it first.
    long long g = 0;
    if (const PieceDocument* doc = piecesOf(target.withinId, &g); doc && doc->pieceCount() > 0) {
        const std::size_t piece = doc->pieceOfItem(target.index);
        h->putPiece(target.withinId, g, piece, doc->html(piece));
    }
    h->scrollToElement(target.withinId, target.tagName, target.index, 20);
    return true;
}

void PaneModel::setCodeFont(const std::u16string& family) {
    if (!hasCode()) return;
    codeFont_ = family;
    if (PaneHost* h = live()) h->setStyle(u"code", u"font-family", family);
}

void PaneModel::setCodeWordWrap(const std::u16string& value) {
    if (!hasCode()) return;
    codeWordWrap_ = value;
    if (PaneHost* h = live()) h->setStyle(u"code", u"word-wrap", value);
}

void PaneModel::setCodeSyntax(bool on) {
    if (!hasCode()) return;
    codeSyntax_ = on ? u"on" : u"off";
    if (PaneHost* h = live()) h->setStyle(u"code", u"--syntax", codeSyntax_);
}

}  // namespace lodestar
