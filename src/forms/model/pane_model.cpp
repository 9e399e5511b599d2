// The pane document model and its pushes to the pane host.
#include "forms/model/pane_model.h"

#include "forms/model/html_text.h"

namespace lodestar {

namespace {
constexpr char16_t kListId[] = u"mlist";
}

void PaneModel::resetDocumentState() {
    elements_.clear();
    markBackgrounds_.assign(countElements(body_, u"em"), u"");
    entryBackgrounds_.clear();
    tables_.clear();
    lastScroll_.reset();
    codeFont_.clear();
    codeWordWrap_.clear();
}

void PaneModel::navigate(const std::u16string& address) {
    address_ = address;
    busy_ = true;
    body_.clear();
    resetDocumentState();
    if (host_) host_->navigate(address);
}

void PaneModel::loaded(const std::u16string& address, const std::u16string& pageSource) {
    address_ = address;
    busy_ = false;
    body_ = bodyOf(pageSource);
    resetDocumentState();
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
    it->second.cells[index] = escapeHtml(text);
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
    resetDocumentState();
    if (host_) host_->setBodyHtml(html);
}

std::u16string PaneModel::bodyText() const {
    return innerTextOf(body_);
}

void PaneModel::clearSelection() {
    ++selectionClears_;
    if (host_) host_->clearSelection();
}

bool PaneModel::hasElement(const std::u16string& id) const {
    return elements_.count(id) != 0 || hasElementId(body_, id);
}

void PaneModel::setElementHtml(const std::u16string& id, const std::u16string& html) {
    elements_[id] = html;
    if (id == kListId) entryBackgrounds_.assign(countElements(html, u"li"), u"");
    if (host_) host_->setElementHtml(id, html);
}

std::u16string PaneModel::elementHtml(const std::u16string& id) const {
    auto it = elements_.find(id);
    return it == elements_.end() ? std::u16string() : it->second;
}

void PaneModel::setMarkBackground(std::size_t index, const std::u16string& colour) {
    if (index >= markBackgrounds_.size()) return;
    markBackgrounds_[index] = colour;
    if (host_) host_->setBackground(u"", u"em", index, colour);
}

std::u16string PaneModel::markBackground(std::size_t index) const {
    return index < markBackgrounds_.size() ? markBackgrounds_[index] : std::u16string();
}

void PaneModel::setEntryBackground(std::size_t index, const std::u16string& colour) {
    if (index >= entryBackgrounds_.size()) return;
    entryBackgrounds_[index] = colour;
    if (host_) host_->setBackground(kListId, u"li", index, colour);
}

std::u16string PaneModel::entryBackground(std::size_t index) const {
    return index < entryBackgrounds_.size() ? entryBackgrounds_[index] : std::u16string();
}

bool PaneModel::scrollTo(const ScrollTarget& target) {
    std::size_t available =
        target.withinId == kListId && target.tagName == u"li" ? entryBackgrounds_.size()
        : target.withinId.empty() && target.tagName == u"em"  ? markBackgrounds_.size()
                                                              : 0;
    if (target.index >= available) return false;
    lastScroll_ = target;
    if (host_) host_->scrollToElement(target.withinId, target.tagName, target.index, 20);
    return true;
}

void PaneModel::setCodeFont(const std::u16string& family) {
    if (!hasCode()) return;
    codeFont_ = family;
    if (host_) host_->setStyle(u"code", u"font-family", family);
}

void PaneModel::setCodeWordWrap(const std::u16string& value) {
    if (!hasCode()) return;
    codeWordWrap_ = value;
    if (host_) host_->setStyle(u"code", u"word-wrap", value);
}

}  // namespace lodestar
