// The window's commands in one place: each has its id, the button and the menu entry that run
// it (twins share one enabled state, kept in step whichever of the two is set), the question
// asked first when the text shown is unsaved, whether it stands down while a run over the
// files goes on, and whether it may run while a file is being opened or searched. Captions and
// shortcuts stay with the controls' catalogue, read through the menu entry.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/model/control_ids.h"
#include "forms/model/controls.h"

namespace lodestar {

enum class WhileWorking { Waits, Runs, RunsInSingleFileMode };

struct WindowCommand {
    std::string id;
    std::string button;                         // empty: none
    std::string menu;                           // empty: none
    const char16_t* unsavedQuestion = nullptr;  // asked first about unsaved text
    bool standsDownDuringRun = false;           // disabled while a run goes on, as it was after
    WhileWorking whileWorking = WhileWorking::Waits;
    std::function<void()> handler;
};

class CommandRegistry {
  public:
    explicit CommandRegistry(ControlModel& controls);
    CommandRegistry(const CommandRegistry&) = delete;
    CommandRegistry& operator=(const CommandRegistry&) = delete;

    void add(WindowCommand command);
    // The command a button or menu entry runs; nullptr for any other control.
    const WindowCommand* byControl(std::string_view control) const;
    const WindowCommand* byId(const std::string& id) const;
    // Both twins of a command.
    void setEnabled(const std::string& id, bool on);
    bool enabled(const std::string& id) const;
    // The menu entry's shortcut, as the catalogue gives it.
    std::u16string shortcut(const std::string& id) const;
    // While a run goes on, the commands that stand down (and the extra controls named) are
    // disabled; afterwards each is as it was before.
    void standDown(bool on, const std::vector<ControlId>& alsoControls = {});

  private:
    void keepTwinsInStep(const Control& changed);

    ControlModel& controls_;
    std::vector<WindowCommand> commands_;
    std::vector<std::pair<std::string, bool>> enabledBeforeRun_;
};

}  // namespace lodestar
