// The window's command table: every command with its button and menu entry, the question asked
// first about unsaved text, whether it stands down during a run and whether it runs while a file
// is opened or searched, each run by the part of the window that handles it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "forms/file/file_scope.h"
#include "forms/main/command_registry.h"
#include "forms/main/help_pages.h"
#include "forms/main/run_state.h"
#include "forms/main/scope_commands.h"
#include "forms/main/search_bar.h"
#include "forms/main/view_switches.h"

namespace lodestar {

// Who runs the commands.
struct CommandHandlers {
    FileScope& file;
    SearchBar& bar;
    ScopeCommands& scope;
    PaneSwitches& panes;
    RunState& run;
    HelpPages& help;
    std::function<void()> openFile;
    std::function<void()> openFolder;
    std::function<void()> exit;
    // Shows a secondary window by its form name.
    std::function<void(std::string_view form)> showForm;
};

void addWindowCommands(CommandRegistry& registry, CommandHandlers handlers);

}  // namespace lodestar
