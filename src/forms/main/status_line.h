// The status line at the foot of the main window: fixed fields for the status, the file's
// encoding and line ends, the search total and the current file, laid out so that they never
// overlap, and the progress of a run ("file 12 of 400") shown in the status beside the bar.
#pragma once

#include <cstddef>
#include <string>

#include "forms/model/controls.h"

namespace lodestar {

class StatusLine {
  public:
    explicit StatusLine(ControlModel& controls) : c_(controls) {}

    // A status text. While a run goes on, a "Done." that is not the run's own end is held back,
    // and the text follows the run's "file N of M".
    void show(const std::u16string& message);
    // `done` of `total` on the bar; a folder run (`files`) also counts its files in the status.
    void progress(double done, double total, bool files);
    // A run starts, is asked to stop, or ends: its end says "Stopped." after Stop, else
    // "Done." unless an error is shown.
    void runStarted();
    void stopAsked() { stopped_ = running_; }
    void runEnded();
    // After a command or run: a total no standing search backs is cleared.
    void settle(bool searchStands);
    // Repaints of the status field (each show).
    int repaints() const { return repaints_; }

    // Places the fields in the status bar `width` twips wide: the fixed fields keep their
    // room, the status and the current file share the rest.
    static void arrange(ControlModel& controls, double width);

  private:
    void paint();

    ControlModel& c_;
    std::u16string message_;
    bool running_ = false;
    std::size_t filesDone_ = 0, files_ = 0;
    bool counting_ = false;  // the run counts its files
    bool stopped_ = false;
    int repaints_ = 0;
};

}  // namespace lodestar
