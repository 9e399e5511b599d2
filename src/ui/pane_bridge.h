// The object a pane page reaches as "lodestarBridge" through QWebChannel.
#pragma once

#include <QObject>
#include <QString>

namespace lodestar::ui {

class PaneBridge : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  public slots:
    // The page would go to this address (a click on a match-list entry or a same-page link).
    void navigate(const QString& address) { emit navigateRequested(address); }
    // The user copied this selected text.
    void copied(const QString& text) { emit textCopied(text); }
    // The page shows a long document and wants these pieces of it: a JSON object with the
    // element id, the document's generation and the piece numbers.
    void wantPieces(const QString& request) { emit piecesWanted(request); }
    // Tick box `index` (0-based among the boxes named "chk") was ticked or unticked.
    void ticked(int index, bool checked) { emit tickChanged(index, checked); }

  signals:
    void navigateRequested(const QString& address);
    void textCopied(const QString& text);
    void piecesWanted(const QString& request);
    void tickChanged(int index, bool checked);
};

}  // namespace lodestar::ui
