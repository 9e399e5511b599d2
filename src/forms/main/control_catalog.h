// Every control and menu entry of the main window with its designed state: captions,
// tooltips, shortcuts, which start disabled, checked or hidden, and the geometry in twips.
#pragma once

#include "forms/model/controls.h"

namespace lodestar {

void addMainWindowControls(ControlModel& controls);

// The caption of message boxes that carry the program's title.
inline constexpr char16_t kAppTitle[] = u"Lodestar";

}  // namespace lodestar
