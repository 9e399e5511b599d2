// The browser behind one pane. A form keeps its own model of every pane document (what it reads
// back never comes from the browser); each change to the model is pushed here, and the skin
// mirrors it into the page, typically as a line of script. All calls are fire-and-forget.
// What the user does inside the page comes back as events on the form.
#pragma once

#include <cstddef>
#include <string>

namespace lodestar {

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
    virtual void setVisible(bool visible) = 0;
};

}  // namespace lodestar
