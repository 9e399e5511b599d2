// The bridge object has no code of its own beyond its slots; this file anchors its moc output.
#include "ui/pane_bridge.h"
