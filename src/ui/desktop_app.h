// Starting the desktop program: the display check, the web engine's settings, the application
// object and the main window.
#pragma once

#include <string>

namespace lodestar::ui {

// True when a window can be shown: an X or Wayland display is named, or Qt's platform is chosen
// explicitly (for example "offscreen").
bool displayAvailable(const char* display, const char* waylandDisplay, const char* qpaPlatform);

// The folder that holds the running program.
std::u16string executableFolder();

// Sets what the web engine needs before the application object exists: no sandbox when run by
// root (it cannot start there otherwise), and the panes' URL scheme. Leaves values the user
// set alone.
void prepareWebEngineEnvironment();

// The whole program: returns the exit status.
int runDesktop(int argc, char** argv);

}  // namespace lodestar::ui
