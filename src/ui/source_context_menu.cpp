// The source view's context menu.
#include "ui/source_context_menu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "ui/qt_text.h"

namespace lodestar::ui {

namespace {

// Copy and Select All work on the document itself: the page's own commands go to its focused
// frame, and are lost while the focus is still on its way back from the menu.
void copySelection(QWebEngineView* view, const std::function<void(const std::u16string&)>& copied) {
    view->page()->runJavaScript(QStringLiteral("String(window.getSelection())"),
                                QWebEngineScript::ApplicationWorld,
                                [copied](const QVariant& selection) {
                                    const QString text = selection.toString();
                                    if (text.isEmpty()) return;
                                    QGuiApplication::clipboard()->setText(text);
                                    if (copied) copied(fromQ(text));
                                });
}

void selectAll(QWebEngineView* view) {
    view->page()->runJavaScript(
        QStringLiteral("if (document.body) window.getSelection().selectAllChildren(document.body)"),
        QWebEngineScript::ApplicationWorld);
}

}  // namespace

void attachSourceContextMenu(QWebEngineView* view,
                             std::function<void(const std::u16string& selection)> useAsPattern,
                             std::function<void(const std::u16string& text)> copied) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        view, &QWidget::customContextMenuRequested, view,
        [view, useAsPattern = std::move(useAsPattern),
         copied = std::move(copied)](const QPoint& at) {
            auto* menu = new QMenu(view);
            menu->setObjectName(QStringLiteral("sourceContextMenu"));
            menu->setAttribute(Qt::WA_DeleteOnClose);
            const bool selected = view->hasSelection();
            QAction* copy = menu->addAction(QStringLiteral("&Copy"), view,
                                            [view, copied] { copySelection(view, copied); });
            copy->setObjectName(QStringLiteral("sourceCopy"));
            copy->setEnabled(selected);
            menu->addAction(QStringLiteral("Select &All"), view, [view] { selectAll(view); })
                ->setObjectName(QStringLiteral("sourceSelectAll"));
            menu->addSeparator();
            QAction* use = menu->addAction(
                QStringLiteral("&Use selection as pattern"), view,
                [view, useAsPattern] { useAsPattern(fromQ(view->selectedText())); });
            use->setObjectName(QStringLiteral("sourceUseAsPattern"));
            use->setEnabled(selected);
            menu->popup(view->mapToGlobal(at));
        });
}

}  // namespace lodestar::ui
