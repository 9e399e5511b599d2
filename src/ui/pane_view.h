// One browser pane: a QWebEngineView that is the PaneHost of a pane model. Model changes
// become calls of the page functions with JSON-encoded data; what the user does in the page
// (clicks on list entries and links, copies, leaving the pane) comes back through callbacks.
#pragma once

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWebEngineView>
#include <functional>
#include <memory>
#include <vector>

#include "forms/model/renderer_watchdog.h"
#include "platform/pane_host.h"
#include "ui/cell_batch.h"

class QWebChannel;

namespace lodestar::ui {

class PaneBridge;
class PanePage;
class QtOneShotTimer;

class PaneView : public QWebEngineView, public PaneHost {
    Q_OBJECT
  public:
    PaneView(const QString& name, bool contextMenu, QWidget* parent);
    ~PaneView() override;

    // The page at the address the program asked for has loaded (or failed to: the address is
    // reported all the same, and `ok` tells which).
    std::function<void(const std::u16string& address, bool ok)> onLoaded;
    // Before the page goes to an address (path of a local file with "#..." kept); true cancels.
    std::function<bool(const std::u16string& address)> onBeforeNavigate;
    std::function<void(const std::u16string& text)> onCopied;
    std::function<void()> onFocusLost;
    // The user ticked or unticked tick box `index` (0-based) of the page.
    std::function<void(int index, bool checked)> onTicked;
    std::function<void(const std::u16string& address)> onExternalLink;
    // The page wants pieces of the long document in the element `withinId` (empty: the body).
    std::function<void(const std::u16string& withinId, long long generation,
                       const std::vector<std::size_t>& pieces)>
        onPiecesWanted;
    // The browser process showing the page ended (crashed, killed, out of memory), or it stopped
    // answering and was ended for that.
    std::function<void(bool stoppedAnswering)> onRendererGone;
    // How often panes made from now on ask their page for a sign of life, and how long they wait.
    static void setWatchdogTiming(RendererWatchdog::Timing timing);

    // PaneHost
    void navigate(const std::u16string& address) override;
    void setBodyHtml(const std::u16string& html) override;
    void setElementHtml(const std::u16string& id, const std::u16string& html) override;
    void setBackground(const std::u16string& withinId, const std::u16string& tagName,
                       std::size_t index, const std::u16string& colour) override;
    void scrollToElement(const std::u16string& withinId, const std::u16string& tagName,
                         std::size_t index, int marginPixels) override;
    void setStyle(const std::u16string& id, const std::u16string& property,
                  const std::u16string& value) override;
    void setCell(const std::u16string& tableId, std::size_t index, const std::u16string& content,
                 bool html) override;
    void clearSelection() override;
    void setPieces(const std::u16string& withinId, long long generation,
                   const std::vector<PieceOutline>& outline) override;
    void putPiece(const std::u16string& withinId, long long generation, std::size_t index,
                  const std::u16string& html) override;
    void setVisible(bool visible) override { QWebEngineView::setVisible(visible); }

    bool loading() const { return loading_; }
    // Runs a script in the page's isolated world (or its main world) and waits for its result
    // (tests and diagnostics only; the program itself never reads from the page).
    QVariant evaluate(const QString& script, int timeoutMs = 5000, bool mainWorld = false);
    // The address the pane would report for a URL: a local path, "#..." kept.
    static std::u16string addressOf(const QUrl& url);

  private:
    void call(const char* function, const QVariantList& arguments);
    // Sends the cell changes setCell holds back, in one call.
    void flushCells();
    void loadFinishedSlot(bool ok);
    void piecesWantedSlot(const QString& request);
    void focusChangedSlot(QWidget* old, QWidget* now);
    bool owns(const QWidget* w) const;
    void rendererHung();
    void rendererLost(bool hung);

    PanePage* page_ = nullptr;
    QWebChannel* channel_ = nullptr;
    PaneBridge* bridge_ = nullptr;
    std::u16string address_;
    QUrl expectedUrl_;
    bool loading_ = false;
    bool recovering_ = false;  // the renderer was lost; the page is being loaded again
    bool endedHung_ = false;   // the renderer was ended because it stopped answering
    std::unique_ptr<QtOneShotTimer> watchTimer_;
    std::unique_ptr<RendererWatchdog> watchdog_;
    CellBatch pendingCells_;
    bool cellsFlushQueued_ = false;
};

}  // namespace lodestar::ui
