// The help window and the viewer that opens it.
#include "ui/help_window.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "ui/qt_text.h"
#include "ui/screen_fit.h"

namespace lodestar::ui {

namespace {

// Help pages and their anchors open in the window; a click on any other address goes to the
// browser, and nothing else (scripts, redirects) may take the window elsewhere.
class HelpPage : public QWebEnginePage {
  public:
    HelpPage(QWebEngineProfile* profile, QObject* parent,
             std::function<void(const std::u16string&)> openWebPage)
        : QWebEnginePage(profile, parent), openWebPage_(std::move(openWebPage)) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool mainFrame) override {
        if (url.isLocalFile() || url.scheme() == QStringLiteral("data") || !mainFrame) return true;
        if (type == NavigationTypeLinkClicked && openWebPage_) openWebPage_(fromQ(url.toString()));
        return false;
    }

  private:
    std::function<void(const std::u16string&)> openWebPage_;
};

}  // namespace

HelpWindow::HelpWindow(QWidget* owner, std::function<void(const std::u16string&)> openWebPage)
    : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Lodestar Help"));
    view_ = new QWebEngineView(this);
    // An off-the-record profile, made after the view so it is released after the view's page:
    // the help writes nothing to disk.
    auto* profile = new QWebEngineProfile(this);
    view_->setObjectName(QStringLiteral("helpView"));
    view_->setPage(new HelpPage(profile, view_, std::move(openWebPage)));

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("helpBar"));
    QAction* back = view_->pageAction(QWebEnginePage::Back);
    QAction* forward = view_->pageAction(QWebEnginePage::Forward);
    back->setObjectName(QStringLiteral("helpBack"));
    forward->setObjectName(QStringLiteral("helpForward"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    bar->addAction(back);
    bar->addAction(forward);
    connect(view_, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        setWindowTitle(title.isEmpty() ? QStringLiteral("Lodestar Help") : title);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view_, 1);
    resize(860, 640);
    fitToScreen(*this);
}

void HelpWindow::showPage(const std::u16string& page) {
    const QString text = toQ(page);
    const qsizetype hash = text.indexOf(u'#');
    QUrl url = QUrl::fromLocalFile(hash < 0 ? text : text.left(hash));
    if (hash >= 0) url.setFragment(text.mid(hash + 1));
    view_->load(url);
    show();
    raise();
    activateWindow();
}

QtHelpViewer::QtHelpViewer(QWidget* owner, std::function<void(const std::u16string&)> openWebPage)
    : QObject(owner), owner_(owner), openWebPage_(std::move(openWebPage)) {}

void QtHelpViewer::show(const std::u16string& page) {
    if (!window_) window_ = new HelpWindow(owner_, openWebPage_);
    window_->showPage(page);
}

}  // namespace lodestar::ui
