// The web page of one pane and the profile all panes share. The profile is off the record and
// refuses every request that is not for a local resource, so the panes never reach the
// network; it installs the page functions and the bridge script in every page.
#pragma once

#include <QUrl>
#include <QWebEnginePage>
#include <functional>

class QWebEngineProfile;

namespace lodestar::ui {

// The shared profile, created on first use and owned by the application object.
QWebEngineProfile* paneProfile();

// True for the schemes a pane may load: the panes' own, file, qrc, data, blob and about.
bool isLocalScheme(const QUrl& url);

// Pane pages are local files served through the scheme "lodestar" ("lodestar:/path/ml.tmp"),
// which gives each file its type by extension: the page templates end in ".tmp", which a
// browser would otherwise show as plain text. Must run before the application object exists.
void registerPaneScheme();
QUrl paneUrl(const QString& localPath);

class PanePage : public QWebEnginePage {
    Q_OBJECT
  public:
    explicit PanePage(QObject* parent);

    // The address the program is loading; its navigation is let through without asking.
    void expect(const QUrl& url) { expected_ = url; }
    // Asked for every other navigation of the main frame with the address the page would go
    // to; true cancels it.
    std::function<bool(const QUrl&)> beforeNavigate;
    // A link to a web page: handed to the desktop's browser instead.
    std::function<void(const QUrl&)> openExternally;

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Pages show no dialogs of their own and write nothing to the terminal.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }

  private:
    QUrl expected_;
};

}  // namespace lodestar::ui
