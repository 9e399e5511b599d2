// The program's model of one browser pane's document. Everything the program reads back from
// a pane comes from here: the address, whether it is still loading, the body's inner HTML and
// text, the "em" marks and the "mlist" entries with their backgrounds, the last scroll target,
// and the "code" element's font family and wrap style. Each change is also pushed to the
// attached PaneHost so the real browser shows the same.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/pane_host.h"

namespace lodestar {

struct ScrollTarget {
    std::u16string withinId;  // element id the tag is looked up in; empty: the whole document
    std::u16string tagName;
    std::size_t index = 0;  // 0-based among the elements with that tag name
};

class PaneModel {
  public:
    explicit PaneModel(std::u16string name) : name_(std::move(name)) {}

    const std::u16string& name() const { return name_; }
    void attach(PaneHost* host) { host_ = host; }

    // Starts loading: the document is empty and the pane busy until `loaded`.
    void navigate(const std::u16string& address);
    // The page at the address has loaded with this whole-page source.
    void loaded(const std::u16string& address, const std::u16string& pageSource);
    const std::u16string& address() const { return address_; }
    bool busy() const { return busy_; }

    bool visible() const { return visible_; }
    void setVisible(bool on);

    void setBodyHtml(const std::u16string& html);
    const std::u16string& bodyHtml() const { return body_; }
    std::u16string bodyText() const;
    void clearSelection();
    int selectionClears() const { return selectionClears_; }

    // Elements with an id. The body is searched for ids; an element written through
    // setElementHtml keeps the inner HTML written last.
    bool hasElement(const std::u16string& id) const;
    void setElementHtml(const std::u16string& id, const std::u16string& html);
    std::u16string elementHtml(const std::u16string& id) const;

    // The "em" elements of the body, in document order, and their inline backgrounds.
    std::size_t markCount() const { return markBackgrounds_.size(); }
    void setMarkBackground(std::size_t index, const std::u16string& colour);
    std::u16string markBackground(std::size_t index) const;

    // The "li" entries of the element "mlist", in order, and their inline backgrounds.
    std::size_t entryCount() const { return entryBackgrounds_.size(); }
    void setEntryBackground(std::size_t index, const std::u16string& colour);
    std::u16string entryBackground(std::size_t index) const;

    // Scrolls to the element if it exists; answers whether it did.
    bool scrollTo(const ScrollTarget& target);
    const std::optional<ScrollTarget>& lastScroll() const { return lastScroll_; }

    // The cells of a table (by its id), counted across every row from 0, as inner HTML, and
    // the inline backgrounds of its rows. `setTable` records what the body just written holds;
    // the setters change one cell or row and push the change.
    void setTable(const std::u16string& tableId, std::vector<std::u16string> cellsHtml,
                  std::vector<std::u16string> rowBackgrounds);
    std::size_t cellCount(const std::u16string& tableId) const;
    std::u16string cellHtml(const std::u16string& tableId, std::size_t index) const;
    std::u16string cellText(const std::u16string& tableId, std::size_t index) const;
    void setCellHtml(const std::u16string& tableId, std::size_t index, const std::u16string& html);
    void setCellText(const std::u16string& tableId, std::size_t index, const std::u16string& text);
    std::size_t rowCount(const std::u16string& tableId) const;
    std::u16string rowBackground(const std::u16string& tableId, std::size_t row) const;
    void setRowBackground(const std::u16string& tableId, std::size_t row,
                          const std::u16string& colour);

    // The "code" element's inline style; empty when not set since the element was written.
    bool hasCode() const { return hasElement(u"code"); }
    void setCodeFont(const std::u16string& family);
    const std::u16string& codeFont() const { return codeFont_; }
    void setCodeWordWrap(const std::u16string& value);
    const std::u16string& codeWordWrap() const { return codeWordWrap_; }

  private:
    void resetDocumentState();

    std::u16string name_;
    PaneHost* host_ = nullptr;
    std::u16string address_;
    bool busy_ = false;
    bool visible_ = true;
    std::u16string body_;
    std::map<std::u16string, std::u16string> elements_;
    std::vector<std::u16string> markBackgrounds_;
    std::vector<std::u16string> entryBackgrounds_;
    std::optional<ScrollTarget> lastScroll_;
    struct Table {
        std::vector<std::u16string> cells;
        std::vector<std::u16string> rows;
    };
    std::map<std::u16string, Table> tables_;
    std::u16string codeFont_;
    std::u16string codeWordWrap_;
    int selectionClears_ = 0;
};

}  // namespace lodestar
