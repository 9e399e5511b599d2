// What every secondary window is made of: a headless form with a name, a control model and
// the prompts it asks through. Events come in as calls (a click, typed text, a selection, Enter
// or focus loss in a text box); the form changes its controls, and a skin that listens to
// them mirrors each change. Forms are shown and hidden through a FormHost: the desktop skin
// creates each form's window once, on first use, owned by the main window, and afterwards only
// hides and shows it, so the form keeps its state between openings.
#pragma once

#include <string>

#include "forms/model/control_ids.h"
#include "forms/model/controls.h"
#include "platform/prompts.h"

namespace lodestar {

class Form;

class FormHost {
  public:
    virtual ~FormHost() = default;
    virtual void showForm(Form& form) = 0;
    virtual void hideForm(Form& form) = 0;
};

class Form {
  public:
    // `name` is the form's own name ("FolderDlg"); the form's caption lives in the control of
    // that name, which every form's catalogue adds first.
    Form(std::string name, Prompts& prompts) : name_(std::move(name)), prompts_(prompts) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    ControlModel& controls() { return controls_; }
    const ControlModel& controls() const { return controls_; }

    void setHost(FormHost* host) { host_ = host; }
    FormHost* host() const { return host_; }
    // The control the form puts the focus into (empty: the skin's choice); the skin moves the
    // focus there after each event.
    const std::string& focus() const { return focus_; }
    // True from a focus request until the skin has followed it (`focusFollowed`), so a request
    // moves the focus once and the user's own clicks and typing are left where they are.
    bool focusPending() const { return focusPending_; }
    void focusFollowed() { focusPending_ = false; }
    bool shown() const { return shown_; }
    void show();
    void hide();

    // ---- Events from the skin (a disabled or unknown control ignores them) ------------------
    void click(const std::string& control);
    void typeText(const std::string& control, const std::u16string& text);
    void select(const std::string& control, int index);
    // The user moved the caret or the selection in a text box.
    void selectText(const std::string& control, std::size_t start, std::size_t length);
    void enter(const std::string& control);      // Enter in a text box
    void focusLost(const std::string& control);  // a text box lost the focus

    // ---- Keys of the whole window -------------------------------------------------------------
    // The button Enter presses and the one Esc presses (empty: none).
    const std::string& defaultButton() const { return defaultButton_; }
    const std::string& cancelButton() const { return cancelButton_; }
    // Enter with the focus on `focused`: a focused button is pressed; in a text box the box
    // hears it first (`enter`), then the default button is pressed unless the box keeps Enter
    // for itself (`keepsEnter`); anywhere else the default button is pressed.
    void pressEnter(const std::string& focused);
    void pressEscape();
    // Whether the user may resize the window: the form then arranges its controls for the
    // window's inner size (twips), which never goes below the designed size.
    bool resizable() const { return resizable_; }
    void resize(double width, double height) { onResize(width, height); }

  protected:
    Prompts& prompts() { return prompts_; }
    void setFocus(ControlId control) {
        focus_ = control;
        focusPending_ = true;
    }
    void setResizable(bool on) { resizable_ = on; }
    void setKeyButtons(ControlId defaultButton, ControlId cancelButton) {
        defaultButton_ = defaultButton;
        cancelButton_ = cancelButton;
    }

    // What each form does with the events; the defaults do nothing beyond the control change.
    virtual void onClick(const std::string&) {}
    virtual void onTextChanged(const std::string&) {}
    virtual void onSelect(const std::string&) {}
    virtual void onTextSelected(const std::string&) {}
    virtual void onEnter(const std::string&) {}
    virtual void onFocusLost(const std::string&) {}
    virtual void onResize(double, double) {}
    virtual bool keepsEnter(const std::string&) const { return false; }

  private:
    bool accepts(const std::string& control) const;

    std::string name_;
    Prompts& prompts_;
    ControlModel controls_;
    FormHost* host_ = nullptr;
    bool shown_ = false;
    std::string focus_;
    bool focusPending_ = false;
    bool resizable_ = false;
    std::string defaultButton_;
    std::string cancelButton_;
};

}  // namespace lodestar
