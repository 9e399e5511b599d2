// Windows bounded by their screen.
#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace lodestar::ui {

QRect screenRoom(const QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool fitToScreen(QWidget& window) {
    const QRect room = screenRoom(window);
    if (room.isEmpty()) return false;
    window.setMinimumSize(window.minimumSize().boundedTo(room.size()));
    if (window.size().width() <= room.width() && window.size().height() <= room.height())
        return false;
    window.resize(window.size().boundedTo(room.size()));
    if (!room.contains(window.geometry())) window.move(room.topLeft());
    return true;
}

}  // namespace lodestar::ui
