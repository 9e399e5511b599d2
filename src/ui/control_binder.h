// Builds a window's widgets from its control catalogue by kind and keeps each widget equal to
// its control: text, tooltip, enabled, checked, visible, caption strike-through, items, the
// caret, font and geometry in twips. What the user does to a widget goes to the window's form
// through the window's event handlers. The main window and every dialog are built this way;
// a window may build its own widget for a control (the main window's panes, splitters and
// many-line boxes) and add its own touches (pictures, borders) once a widget is made.
#pragma once

#include <QObject>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "forms/model/controls.h"

class QFileSystemModel;
class QWidget;

namespace lodestar::ui {

// What the user does to the controls, handed to the form. A handler left empty is not
// listened for.
struct ControlEvents {
    std::function<void(const std::string&)> click;  // a button or check box
    // A mouse press into a text box (a dialog's file box opens its file dialog on it).
    std::function<void(const std::string&)> pressInBox;
    // Text typed into a box, or the folder picked in a tree.
    std::function<void(const std::string&, const std::u16string&)> typeText;
    std::function<void(const std::string&, int)> select;  // a list or drop-down choice
    // The caret or the selection moved in a one-line box.
    std::function<void(const std::string&, std::size_t, std::size_t)> selectText;
    std::function<void(const std::string&)> enter;      // Enter in a one-line box
    std::function<void(const std::string&)> focusLost;  // the user moved on from a text box
    // After a click, a choice or Enter: the window puts the focus where its form wants it.
    std::function<void()> settled;
};

// How the plain kinds are drawn: a dialog's push buttons and titled group boxes, or the main
// window's tool-strip buttons (flat pictures when they have no caption) and bare panels.
enum class ControlLook { Dialog, Main };

class ControlBinder : public QObject {
    Q_OBJECT
  public:
    // The window's own widget for a control, or nullptr to leave it to the control's kind.
    using Special = std::function<QWidget*(const Control&, QWidget* parent)>;
    // The window's touches on a widget just made, before it is bound.
    using Dress = std::function<void(const Control&, QWidget*)>;

    // `toPixels` turns the catalogue's twips into pixels at the screen's dpi.
    ControlBinder(ControlModel& model, ControlLook look, ControlEvents events,
                  std::function<int(double)> toPixels, QObject* parent);

    Special special;
    Dress dress;
    // Captions (labels, check boxes) that may run past their designed box rather than be
    // clipped; none when empty.
    std::function<bool(const Control&)> growsToCaption;

    // Builds a widget for every control but the window's own and the menus, in the
    // catalogue's order, each inside its container's widget, or else in `client`.
    void buildAll(QWidget* client, std::string_view windowName);
    // Brings the control's widget up to the control; false when no widget shows the control.
    bool apply(const Control& c);

    QWidget* widget(std::string_view name) const;
    // True while the widgets are being brought up to their controls: their own signals are
    // echoes, not the user.
    bool syncing() const { return syncing_; }
    void quietly(const std::function<void()>& change);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* build(const Control& c, QWidget* parent);
    void bind(const std::string& name, QWidget* w);
    void applyContent(const Control& c, QWidget* w);
    void applyGeometry(const Control& c, QWidget* w);
    void clicked(const std::string& name);
    void settled();
    const std::string* nameOf(const QObject* w) const;

    ControlModel& model_;
    ControlLook look_;
    ControlEvents events_;
    std::function<int(double)> toPixels_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, QFileSystemModel*> trees_;
    bool syncing_ = false;
    std::string editing_;  // the one-line box whose user input is being handed to the form
};

}  // namespace lodestar::ui
