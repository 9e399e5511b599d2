// The source view's context menu.
#include "ui/source_context_menu.h"

#include <QAction>
#include <QMenu>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "ui/qt_text.h"

namespace lodestar::ui {

void attachSourceContextMenu(QWebEngineView* view,
                             std::function<void(const std::u16string& selection)> useAsPattern) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, view,
                     [view, useAsPattern = std::move(useAsPattern)](const QPoint& at) {
                         auto* menu = new QMenu(view);
                         menu->setObjectName(QStringLiteral("sourceContextMenu"));
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         const bool selected = view->hasSelection();
                         QAction* copy = menu->addAction(QStringLiteral("&Copy"), view, [view] {
                             view->triggerPageAction(QWebEnginePage::Copy);
                         });
                         copy->setObjectName(QStringLiteral("sourceCopy"));
                         copy->setEnabled(selected);
                         menu->addAction(
                                 QStringLiteral("Select &All"), view,
                                 [view] { view->triggerPageAction(QWebEnginePage::SelectAll); })
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
