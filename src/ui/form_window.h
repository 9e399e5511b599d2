// The desktop window of a headless form: built once from the form's control catalogue by kind
// (button, check box, combo, list, text box, folder tree, label), kept equal to the controls
// through the form's change listener, and forwarding every user action to the form. It is a
// modeless window owned by the main window; closing it only hides it, as the form's hide does.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "forms/model/form.h"

class QFileSystemModel;

namespace lodestar::ui {

class FormWindow : public QWidget {
    Q_OBJECT
  public:
    // `toPixels` turns the catalogue's twips into pixels at the screen's dpi.
    FormWindow(Form& form, QWidget* owner, std::function<int(double)> toPixels);

    Form& form() { return form_; }
    QWidget* control(const std::string& name) const;
    // Puts the focus where the form wants it.
    void followFocus();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* create(const Control& c);
    void apply(const Control& c);
    void after();

    Form& form_;
    std::function<int(double)> toPixels_;
    std::map<std::string, QWidget*> widgets_;
    std::map<std::string, QFileSystemModel*> trees_;
    bool syncing_ = false;
    std::string editing_;  // the text box whose user input is being handed to the form
};

}  // namespace lodestar::ui
