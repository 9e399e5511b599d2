// A splitter of the main window: a thin bar with a sizing pointer that reports presses, moves
// and releases with the pointer's offset within the bar, in pixels along its axis.
#pragma once

#include <QWidget>
#include <functional>

namespace lodestar::ui {

class SplitterBar : public QWidget {
    Q_OBJECT
  public:
    SplitterBar(const QString& name, Qt::Orientation axis, QWidget* parent);

    std::function<void()> onDown;
    std::function<void(int offsetPixels)> onMove;
    std::function<void()> onUp;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int offsetOf(const QMouseEvent* event) const;
    Qt::Orientation axis_;
    bool down_ = false;
};

}  // namespace lodestar::ui
