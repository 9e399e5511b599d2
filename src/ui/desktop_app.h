// Starting the desktop program: the display check, the web engine's settings, the application
// object and the main window.
#pragma once

#include <string>
#include <string_view>

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

// True when an OpenGL renderer's name is that of a rasterizer on the processor (Mesa's
// llvmpipe, softpipe or swrast).
bool softwareRasterizer(std::string_view rendererName);

// Called once the application object exists, before the first window. Where OpenGL is only a
// rasterizer on the processor (a virtual machine, a remote or virtual display), composing the
// web panes through it costs several times what painting them directly does, and every paint
// of the window waits for it: the panes are then painted in software. A choice the user made
// (QT_QUICK_BACKEND, QSG_RHI_BACKEND) stands.
void chooseSceneGraph();

// The whole program: returns the exit status.
int runDesktop(int argc, char** argv);

}  // namespace lodestar::ui
