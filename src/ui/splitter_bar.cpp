// Splitter bars.
#include "ui/splitter_bar.h"

#include <QMouseEvent>

namespace lodestar::ui {

SplitterBar::SplitterBar(const QString& name, Qt::Orientation axis, QWidget* parent)
    : QWidget(parent), axis_(axis) {
    setObjectName(name);
    // Vertical splitters move left and right, horizontal ones up and down.
    setCursor(axis == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor);
    setMouseTracking(false);
}

int SplitterBar::offsetOf(const QMouseEvent* event) const {
    const QPoint p = event->position().toPoint();
    return axis_ == Qt::Horizontal ? p.x() : p.y();
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    down_ = true;
    if (onDown) onDown();
    event->accept();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (down_ && onMove) onMove(offsetOf(event));
    event->accept();
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (!down_) return;
    down_ = false;
    if (onMove) onMove(offsetOf(event));
    if (onUp) onUp();
    event->accept();
}

}  // namespace lodestar::ui
