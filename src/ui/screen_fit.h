// A window never opens larger than the screen it is on: with a large scale factor the designed
// size and the smallest usable size may both exceed the screen's room.
#pragma once

class QWidget;
class QRect;

namespace lodestar::ui {

// Bounds the window's smallest size and its size to the available room of its screen; true
// when it had to be made smaller than asked.
bool fitToScreen(QWidget& window);

// The screen's available room for the window (the primary screen's before it is placed).
QRect screenRoom(const QWidget& window);

}  // namespace lodestar::ui
