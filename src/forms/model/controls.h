// The state of every named control and menu entry of a form: enabled, checked, visible, text
// (caption or box content), tooltip, caption font strike-through and geometry in twips. A skin
// binds each widget to its entry by name and listens for changes; tests read entries by name.
// A control is named by its typed id (control_ids.h) or by its name as text.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// A rectangle in twips relative to the control's container. A line (the progress bar) keeps
// its first end in left/top and its second end at left + width, top + height.
struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool operator==(const Rect&) const = default;
};

// What a control is, so a skin can build the right widget for it from the catalogue.
enum class ControlKind {
    Frame,     // a window or a group of controls
    Label,     // fixed text
    Button,    // a push button (a picture button when it has no caption)
    CheckBox,  // a check box or a toggle
    Combo,     // a drop-down list: `items`, `selected`
    List,      // a list of `items`, `selected`
    TextBox,   // text the user types
    Tree,      // a folder tree: `text` is the chosen path
    Pane,      // a browser pane
    Line,      // a drawn line (the progress bar)
    Splitter,  // a draggable bar
    Menu,      // a menu or menu entry
};

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Frame;
    std::string container;  // name of the containing control or menu; empty for the window
    bool enabled = true;
    bool checked = false;
    bool visible = true;
    bool struckThrough = false;  // caption font of the view switches
    std::u16string text;
    std::u16string tooltip;
    std::u16string shortcut;  // menu entries: "Ctrl+O", "F3", ...
    std::u16string fontName;  // text boxes whose font the options set
    double fontSize = 0;      // points
    Rect geometry;
    std::vector<std::u16string> items;  // lists and drop-down boxes
    int selected = -1;                  // index into items; -1 for none
    // Text boxes: the selected stretch of the text, or the caret alone when its length is 0.
    std::size_t selStart = 0;
    std::size_t selLength = 0;
};

// A control of a form's catalogue: name, kind, caption or text, geometry in twips relative to
// its container, and the name of that container (empty for the window itself).
Control makeControl(std::string name, ControlKind kind, std::u16string text, Rect geometry,
                    std::string container);

class ControlModel {
  public:
    using Listener = std::function<void(const Control&)>;

    // Adds a control; a later add of the same name replaces it.
    Control& add(Control control);
    void remove(std::string_view name);
    bool has(std::string_view name) const;

    // Throws std::out_of_range for an unknown name: a misspelt name is a defect.
    const Control& operator[](std::string_view name) const;

    void setEnabled(std::string_view name, bool on);
    void setChecked(std::string_view name, bool on);
    void setVisible(std::string_view name, bool on);
    void setStruckThrough(std::string_view name, bool on);
    void setText(std::string_view name, const std::u16string& text);
    void setTooltip(std::string_view name, const std::u16string& text);
    void setGeometry(std::string_view name, const Rect& geometry);
    void setFont(std::string_view name, const std::u16string& family, double size);
    void setItems(std::string_view name, const std::vector<std::u16string>& items);
    void setSelected(std::string_view name, int index);
    void setTextSelection(std::string_view name, std::size_t start, std::size_t length);

    // Geometry shortcuts for the layout code.
    void setLeft(std::string_view name, double v);
    void setTop(std::string_view name, double v);
    void setWidth(std::string_view name, double v);
    void setHeight(std::string_view name, double v);

    // Names in the order they were added.
    const std::vector<std::string>& names() const { return order_; }

    // Called after every change that alters a control (not for writes of the same value).
    void onChange(Listener listener) { listeners_.push_back(std::move(listener)); }

  private:
    Control& at(std::string_view name);
    void changed(const Control& control);

    std::map<std::string, Control, std::less<>> controls_;
    std::vector<std::string> order_;
    std::vector<Listener> listeners_;
};

}  // namespace lodestar
