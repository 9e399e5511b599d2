// The program's model of one browser pane's document. Everything the program reads back from
// a pane comes from here: the address, whether it is still loading, the body's inner HTML and
// text, the "em" marks and the "mlist" entries with their backgrounds, the last scroll target,
// and the "code" element's font family and wrap style. Each change is also pushed to the
// attached PaneHost so the real browser shows the same.
//
// While a page loads, changes are kept here and not pushed: when it has loaded, the latest
// document (never an older one) is pushed whole. A long body or list is kept as a
// PieceDocument, which the page asks for a piece at a time.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/model/piece_document.h"
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
    // The page at the address has loaded with this whole-page source. When the program wrote
    // the document while it loaded (or the page is being reloaded), the written document stays
    // and is pushed to the page instead.
    void loaded(const std::u16string& address, const std::u16string& pageSource);
    // Loads the page again, keeping the document, which is pushed once it has loaded (after the
    // page's renderer was lost).
    void reload();
    bool restoring() const { return busy_ && keepDocument_; }
    const std::u16string& address() const { return address_; }
    bool busy() const { return busy_; }

    bool visible() const { return visible_; }
    void setVisible(bool on);

    void setBodyHtml(const std::u16string& html);
    // A long body, shown a piece at a time inside the element "code".
    void setBodyPieces(std::shared_ptr<const PieceDocument> pieces);
    const std::u16string& bodyHtml() const { return body_; }
    const PieceDocument* bodyPieces() const { return bodyPieces_.get(); }
    const std::shared_ptr<const PieceDocument>& sharedBodyPieces() const { return bodyPieces_; }
    std::u16string bodyText() const;
    void clearSelection();
    int selectionClears() const { return selectionClears_; }

    // Elements with an id. The body is searched for ids; an element written through
    // setElementHtml keeps the inner HTML written last.
    bool hasElement(const std::u16string& id) const;
    void setElementHtml(const std::u16string& id, const std::u16string& html);
    std::u16string elementHtml(const std::u16string& id) const;
    // A long content of an element ("mlist"), shown a piece at a time.
    void setElementPieces(const std::u16string& id, std::shared_ptr<const PieceDocument> pieces);

    // The page asks for pieces of the document of `withinId` (empty: the body) it named by
    // generation; pieces of an older document are not sent.
    void servePieces(const std::u16string& withinId, long long generation,
                     const std::vector<std::size_t>& indices);
    // The generation of the piece document of `withinId` (empty: the body); 0 when none.
    long long generation(const std::u16string& withinId) const;

    // The "em" elements of the body, in document order (the marks, each once however many
    // pieces it spans), and their inline backgrounds.
    std::size_t markCount() const { return markCount_; }
    void setMarkBackground(std::size_t index, const std::u16string& colour);
    std::u16string markBackground(std::size_t index) const;

    // The "li" entries of the element "mlist", in order, and their inline backgrounds.
    std::size_t entryCount() const { return entryCount_; }
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
    bool hasCode() const { return bodyPieces_ != nullptr || hasElement(u"code"); }
    void setCodeFont(const std::u16string& family);
    const std::u16string& codeFont() const { return codeFont_; }
    void setCodeWordWrap(const std::u16string& value);
    const std::u16string& codeWordWrap() const { return codeWordWrap_; }
    // The highlighting of markup in the code element: "on" or "off" (its "--syntax" style).
    void setCodeSyntax(bool on);
    const std::u16string& codeSyntax() const { return codeSyntax_; }

  private:
    struct Element {
        std::u16string html;
        std::shared_ptr<const PieceDocument> pieces;
        long long generation = 0;
    };

    void resetDocumentState();
    // Host calls go out only while the page is there to take them.
    PaneHost* live() const { return busy_ ? nullptr : host_; }
    void pushDocument();
    void pushPieces(const std::u16string& withinId, const PieceDocument& pieces);
    // The piece document of the body (empty id) or of an element, or nullptr.
    const PieceDocument* piecesOf(const std::u16string& withinId, long long* generation) const;

    std::u16string name_;
    PaneHost* host_ = nullptr;
    std::u16string address_;
    bool busy_ = false;
    bool keepDocument_ = false;  // written while loading: keep and push on load
    bool visible_ = true;
    std::u16string body_;
    std::shared_ptr<const PieceDocument> bodyPieces_;
    long long bodyGeneration_ = 0;
    bool bodyWritten_ = false;  // the body is the program's, not the page file's
    std::map<std::u16string, Element> elements_;
    std::size_t markCount_ = 0;
    std::size_t entryCount_ = 0;
    // Only the items with a background are kept: a result may have millions.
    std::map<std::size_t, std::u16string> markBackgrounds_;
    std::map<std::size_t, std::u16string> entryBackgrounds_;
    std::optional<ScrollTarget> lastScroll_;
    struct Table {
        std::vector<std::u16string> cells;
        std::vector<std::u16string> rows;
    };
    std::map<std::u16string, Table> tables_;
    std::u16string codeFont_;
    std::u16string codeWordWrap_;
    std::u16string codeSyntax_;
    int selectionClears_ = 0;
    long long generation_ = 0;
};

}  // namespace lodestar
