// Every control and menu entry of the main window with its designed state: captions,
// tooltips, shortcuts, which start disabled, checked or hidden, and the geometry in twips.
#pragma once

#include "forms/model/app_title.h"
#include "forms/model/controls.h"

namespace lodestar {

void addMainWindowControls(ControlModel& controls);

}  // namespace lodestar
