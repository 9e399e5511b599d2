// The browser behind one pane. A form keeps its own model of every pane document (what it reads
// back never comes from the browser); each change to the model is pushed here, and the skin
// mirrors it into the page, typically as a line of script. All calls are fire-and-forget.
// What the user does inside the page comes back as events on the form.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lodestar {

// The size of one piece of a long document, which the page makes room for until it
// asks for the piece; `first` counts the items (elements with a data-k attribute: marks or list
// entries) that start in earlier pieces.
struct PieceOutline {
    std::size_t lines = 0;
    std::size_t characters = 0;
    std::size_t first = 0;
};

class PaneHost {
  public:
    virtual ~PaneHost() = default;

    // Loads the file or web address; the skin reports completion to the form.
    virtual void navigate(const std::u16string& address) = 0;
    // Replaces the inner HTML of the body.
    virtual void setBodyHtml(const std::u16string& html) = 0;
    // Replaces the inner HTML of the element with this id.
    virtual void setElementHtml(const std::u16string& id, const std::u16string& html) = 0;
    // Background colour of the index-th (0-based) element with this tag name, inside the element
    // with id `withinId` (empty: the whole document). An empty colour drops the inline style.
    virtual void setBackground(const std::u16string& withinId, const std::u16string& tagName,
                               std::size_t index, const std::u16string& colour) = 0;
    // Scrolls the page so that the index-th element with this tag name (inside `withinId`)
    // stands `marginPixels` below the top edge, at horizontal position 0.
    virtual void scrollToElement(const std::u16string& withinId, const std::u16string& tagName,
                                 std::size_t index, int marginPixels) = 0;
    // Sets one style property of the element with this id (CSS name, such as "word-wrap").
    virtual void setStyle(const std::u16string& id, const std::u16string& property,
                          const std::u16string& value) = 0;
    // Sets cell `index` of the table with this id, cells counted across every row in order from
    // 0: as inner HTML when `html`, else as plain text.
    virtual void setCell(const std::u16string& tableId, std::size_t index,
                         const std::u16string& content, bool html) = 0;
    virtual void clearSelection() = 0;
    // Replaces the content of the element `withinId` (empty: the body, as a new "code" element)
    // with room for the pieces, sized from the outline. The page asks for the pieces near its
    // viewport (the form answers with putPiece for the same generation) and drops those far out of
    // view. The item lookups of setBackground and scrollToElement then go by data-k inside that
    // element.
    virtual void setPieces(const std::u16string& withinId, long long generation,
                           const std::vector<PieceOutline>& outline) {
        (void)withinId, (void)generation, (void)outline;
    }
    virtual void putPiece(const std::u16string& withinId, long long generation, std::size_t index,
                          const std::u16string& html) {
        (void)withinId, (void)generation, (void)index, (void)html;
    }
    virtual void setVisible(bool visible) = 0;
};

}  // namespace lodestar
