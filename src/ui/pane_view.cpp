// Loading pane pages, mirroring model changes into them, and reporting the user's actions.
#include "ui/pane_view.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineScript>
#include <chrono>
#include <memory>
#include <utility>

#include <signal.h>

#include "ui/pane_bridge.h"
#include "ui/pane_page.h"
#include "ui/pane_script.h"
#include "ui/qt_services.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

namespace {

QUrl urlOf(const std::u16string& address) {
    const QString a = toQ(address);
    if (a.startsWith(u'/')) {
        const qsizetype hash = a.indexOf(u'#');
        QUrl url = paneUrl(hash < 0 ? a : a.left(hash));
        if (hash >= 0) url.setFragment(a.mid(hash + 1));
        return url;
    }
    return QUrl(a);
}

// Stands in for a page template that is missing, so the pane still shows something useful.
QUrl fallbackFor(const QString& path) {
    const QString name = QFileInfo(path).fileName().toLower();
    if (name == u"ml.tmp") return QUrl(QStringLiteral("qrc:/lodestar/fallback/ml.htm"));
    if (name == u"src.tmp") return QUrl(QStringLiteral("qrc:/lodestar/fallback/src.htm"));
    return QUrl(QStringLiteral("qrc:/lodestar/fallback/missing.htm"));
}

RendererWatchdog::Timing& watchdogTiming() {
    static RendererWatchdog::Timing timing;
    return timing;
}

long long monotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

PaneView::PaneView(const QString& name, bool contextMenu, QWidget* parent)
    : QWebEngineView(parent) {
    setObjectName(name);
    page_ = new PanePage(this);
    setPage(page_);
    bridge_ = new PaneBridge(this);
    channel_ = new QWebChannel(this);
    channel_->registerObject(QStringLiteral("lodestarBridge"), bridge_);
    page_->setWebChannel(channel_, QWebEngineScript::MainWorld);
    if (!contextMenu) setContextMenuPolicy(Qt::NoContextMenu);

    page_->beforeNavigate = [this](const QUrl& url) {
        return onBeforeNavigate && onBeforeNavigate(addressOf(url));
    };
    page_->openExternally = [this](const QUrl& url) {
        if (onExternalLink) onExternalLink(fromQ(url.toString()));
    };
    connect(bridge_, &PaneBridge::navigateRequested, this, [this](const QString& address) {
        if (onBeforeNavigate) onBeforeNavigate(addressOf(QUrl(address)));
    });
    connect(bridge_, &PaneBridge::textCopied, this, [this](const QString& text) {
        if (onCopied) onCopied(fromQ(text));
    });
    connect(bridge_, &PaneBridge::piecesWanted, this, &PaneView::piecesWantedSlot);
    watchTimer_ = std::make_unique<QtOneShotTimer>([this] { watchdog_->tick(); });
    watchdog_ = std::make_unique<RendererWatchdog>(
        *watchTimer_, monotonicMs,
        [this](std::function<void()> answer) {
            page_->runJavaScript(QStringLiteral("1"), QWebEngineScript::ApplicationWorld,
                                 [answer = std::move(answer)](const QVariant&) { answer(); });
        },
        watchdogTiming());
    watchdog_->onHung = [this] { rendererHung(); };
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                const bool hung = std::exchange(endedHung_, false);
                if (status == QWebEnginePage::NormalTerminationStatus && !hung) return;
                rendererLost(hung);
            });
    connect(bridge_, &PaneBridge::tickChanged, this, [this](int index, bool checked) {
        if (onTicked) onTicked(index, checked);
    });
    connect(this, &QWebEngineView::loadFinished, this, &PaneView::loadFinishedSlot);
    connect(qApp, &QApplication::focusChanged, this, &PaneView::focusChangedSlot);
}

PaneView::~PaneView() = default;

void PaneView::setWatchdogTiming(RendererWatchdog::Timing timing) {
    watchdogTiming() = timing;
}

void PaneView::rendererHung() {
    // A hung renderer would not run a new load either: it is ended, and the page comes back
    // the way it does after a crash.
    const qint64 pid = page_->renderProcessPid();
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), SIGKILL) == 0) {
        endedHung_ = true;
        return;
    }
    rendererLost(true);
}

// The page comes back with the current document once the program reloads it.
void PaneView::rendererLost(bool hung) {
    watchdog_->stop();
    loading_ = false;
    recovering_ = true;
    if (onRendererGone) onRendererGone(hung);
}

std::u16string PaneView::addressOf(const QUrl& url) {
    QString address;
    if (url.scheme() == u"lodestar")
        address = url.path();
    else if (url.isLocalFile())
        address = url.toLocalFile();
    else
        return fromQ(url.toString());
    if (url.hasFragment()) address += u'#' + url.fragment(QUrl::FullyDecoded);
    return fromQ(address);
}

void PaneView::navigate(const std::u16string& address) {
    address_ = address;
    loading_ = true;
    pendingCells_.clear();  // changes to the page that is going
    // Watching goes on while the page loads: a hung renderer would never finish the load.
    if (!watchdog_->watching()) watchdog_->start();
    QUrl url = urlOf(address);
    if (url.scheme() == u"lodestar" && !QFileInfo(url.path()).isFile())
        url = fallbackFor(url.path());
    expectedUrl_ = url;
    page_->expect(url);
    load(url);
}

void PaneView::loadFinishedSlot(bool ok) {
    // A load that the program's next navigation interrupted is not the one it waits for.
    if (!loading_ ||
        url().adjusted(QUrl::RemoveFragment) != expectedUrl_.adjusted(QUrl::RemoveFragment))
        return;
    loading_ = false;
    watchdog_->start();
    if (recovering_) {
        // A page loaded in a new renderer may lack the scripts the profile installs.
        recovering_ = false;
        page_->runJavaScript(
            QStringLiteral("if (!window.__lodestarPane) {") + paneApiScript() + u'}',
            QWebEngineScript::ApplicationWorld);
        page_->runJavaScript(
            QStringLiteral("if (!window.lodestarBridge) {") + paneBridgeScript() + u'}',
            QWebEngineScript::MainWorld);
    }
    if (onLoaded) onLoaded(address_, ok && expectedUrl_.scheme() != u"qrc");
}

void PaneView::call(const char* function, const QVariantList& arguments) {
    // While a page loads, the model's document is the page about to arrive; what was written
    // into the old one is gone with it, here as there.
    if (loading_) return;
    flushCells();  // every change reaches the page in the order it was made
    page_->runJavaScript(paneCall(function, arguments), QWebEngineScript::ApplicationWorld);
}

void PaneView::flushCells() {
    cellsFlushQueued_ = false;
    if (pendingCells_.empty() || loading_) return;
    page_->runJavaScript(pendingCells_.takeCall(), QWebEngineScript::ApplicationWorld);
}

void PaneView::setBodyHtml(const std::u16string& html) {
    call("setBody", {toQ(html)});
}

void PaneView::setElementHtml(const std::u16string& id, const std::u16string& html) {
    call("setElement", {toQ(id), toQ(html)});
}

void PaneView::setBackground(const std::u16string& withinId, const std::u16string& tagName,
                             std::size_t index, const std::u16string& colour) {
    call("setBackground",
         {toQ(withinId), toQ(tagName), static_cast<qulonglong>(index), toQ(colour)});
}

void PaneView::scrollToElement(const std::u16string& withinId, const std::u16string& tagName,
                               std::size_t index, int marginPixels) {
    call("scrollTo", {toQ(withinId), toQ(tagName), static_cast<qulonglong>(index), marginPixels});
}

void PaneView::setStyle(const std::u16string& id, const std::u16string& property,
                        const std::u16string& value) {
    call("setStyle", {toQ(id), toQ(property), toQ(value)});
}

void PaneView::setCell(const std::u16string& tableId, std::size_t index,
                       const std::u16string& content, bool html) {
    if (loading_) return;
    // A folder run changes a cell or two for each of thousands of files: the changes go to the
    // page together, a little later (or once a few thousand wait), so the page keeps up and a
    // scroll is not queued behind them.
    constexpr std::size_t kMostWaiting = 16384;
    pendingCells_.add(tableId, index, content, html);
    if (pendingCells_.size() >= kMostWaiting) {
        flushCells();
    } else if (!cellsFlushQueued_) {
        cellsFlushQueued_ = true;
        // At most ten calls a second: each call repaints the page, which costs about as much as its
        // changes.
        QTimer::singleShot(100, this, [this] { flushCells(); });
    }
}

void PaneView::clearSelection() {
    call("clearSelection", {});
}

void PaneView::setPieces(const std::u16string& withinId, long long generation,
                         const std::vector<PieceOutline>& outline) {
    // One flat list of numbers, three per piece: tens of thousands of pieces travel cheaply.
    QVariantList sizes;
    sizes.reserve(static_cast<qsizetype>(3 * outline.size()));
    for (const PieceOutline& o : outline) {
        sizes.append(static_cast<qulonglong>(o.lines));
        sizes.append(static_cast<qulonglong>(o.characters));
        sizes.append(static_cast<qulonglong>(o.first));
    }
    call("setPieces", {toQ(withinId), static_cast<qlonglong>(generation), sizes});
}

void PaneView::putPiece(const std::u16string& withinId, long long generation, std::size_t index,
                        const std::u16string& html) {
    call("putPiece", {toQ(withinId), static_cast<qlonglong>(generation),
                      static_cast<qulonglong>(index), toQ(html)});
}

void PaneView::piecesWantedSlot(const QString& request) {
    const QJsonObject o = QJsonDocument::fromJson(request.toUtf8()).object();
    std::vector<std::size_t> pieces;
    for (const QJsonValue& v : o.value(u"pieces").toArray())
        if (v.toDouble() >= 0) pieces.push_back(static_cast<std::size_t>(v.toDouble()));
    if (onPiecesWanted)
        onPiecesWanted(fromQ(o.value(u"id").toString()),
                       static_cast<long long>(o.value(u"generation").toDouble()), pieces);
}

QVariant PaneView::evaluate(const QString& script, int timeoutMs, bool mainWorld) {
    // The answer may come after the wait gave up, so it lands in shared state.
    struct Answer {
        QVariant value;
        bool done = false;
        QPointer<QEventLoop> loop;
    };
    auto answer = std::make_shared<Answer>();
    flushCells();
    QEventLoop loop;
    answer->loop = &loop;
    const quint32 world =
        mainWorld ? QWebEngineScript::MainWorld : QWebEngineScript::ApplicationWorld;
    page_->runJavaScript(script, world, [answer](const QVariant& v) {
        answer->value = v;
        answer->done = true;
        if (answer->loop) answer->loop->quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!answer->done) loop.exec();
    return answer->value;
}

bool PaneView::owns(const QWidget* w) const {
    return w && (w == this || isAncestorOf(w));
}

void PaneView::focusChangedSlot(QWidget* old, QWidget* now) {
    if (owns(old) && !owns(now) && onFocusLost) onFocusLost();
}

}  // namespace lodestar::ui
