// The program's help window: its own help pages in a web view with Back and Forward, so help
// needs no web browser or file launcher on the desktop. Links to web addresses leave the
// window for the desktop's browser.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/help_viewer.h"

class QWebEngineView;

namespace lodestar::ui {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    // `openWebPage` takes the addresses of links that are not help pages.
    HelpWindow(QWidget* owner, std::function<void(const std::u16string&)> openWebPage);

    // Shows a local page, "#anchor" allowed, and brings the window to the front.
    void showPage(const std::u16string& page);
    QWebEngineView* view() const { return view_; }

  private:
    QWebEngineView* view_ = nullptr;
};

// The help viewer of the main window: makes its help window on first use, then shows it again.
class QtHelpViewer : public QObject, public HelpViewer {
  public:
    QtHelpViewer(QWidget* owner, std::function<void(const std::u16string&)> openWebPage);
    void show(const std::u16string& page) override;
    HelpWindow* window() const { return window_; }

  private:
    QWidget* owner_;
    std::function<void(const std::u16string&)> openWebPage_;
    QPointer<HelpWindow> window_;
};

}  // namespace lodestar::ui
