// The desktop window of a headless form: built once from the form's control catalogue by kind
// through the control binder, kept equal to the controls through the form's change listener,
// and forwarding every user action to the form. It is a modeless window owned by the main
// window; closing it only hides it, as the form's hide does.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "forms/model/form.h"

namespace lodestar::ui {

class ControlBinder;

class FormWindow : public QWidget {
    Q_OBJECT
  public:
    // Runs one call into the form; a failure inside it becomes an entry in the main window's log.
    using Guard = std::function<void(const std::function<void()>&)>;
    // `toPixels` turns the catalogue's twips into pixels at the screen's dpi.
    FormWindow(Form& form, QWidget* owner, std::function<int(double)> toPixels, Guard guard);

    Form& form() { return form_; }
    QWidget* control(std::string_view name) const;
    // Puts the focus where the form wants it.
    void followFocus();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter presses the form's default button (or the focused one), Esc its Cancel.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void apply(const Control& c);
    std::string focusedControl() const;

    Form& form_;
    std::function<int(double)> toPixels_;
    ControlBinder* binder_ = nullptr;
    Guard guard_;
};

}  // namespace lodestar::ui
