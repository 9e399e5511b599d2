// What desktop users expect of the main window beyond its controls: files dropped on it open,
// Ctrl+Enter in the pattern box finds, the arrow keys step through the match list, the
// keyboard focus goes to the pattern box when a file opens, and the window comes back where
// and as large as it was. The decisions stay with the form; this only forwards.
#pragma once

#include <QObject>
#include <QRect>
#include <QStringList>
#include <string>

#include "forms/model/control_ids.h"

namespace lodestar::ui {

class SkinWindow;

class WindowHabits : public QObject {
    Q_OBJECT
  public:
    // Applies the remembered window frame and starts listening.
    explicit WindowHabits(SkinWindow& window);
    ~WindowHabits() override;

    // The window closes: its frame and the form's state go to the state file.
    void windowClosing();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool inWindow(QObject* watched) const;
    bool dragOrDrop(QEvent* event);
    bool keyPress(QObject* watched, QEvent* event);
    void trigger(ControlId action);
    void applyFrame();

    SkinWindow& window_;
    QRect bounded_;  // the frame the screen bounded at the start, if it did
};

// Where the folder picker starts: the folder it was in at the end of the last run when it
// still exists, else the working folder.
std::u16string pickerStartFolder(const std::u16string& stateFile);

// `lodestar FILE` and `lodestar FOLDER`: the first argument that is not an option opens, as a
// drop would (a relative path is taken from the working folder).
void openArguments(SkinWindow& window, const QStringList& arguments);

}  // namespace lodestar::ui
