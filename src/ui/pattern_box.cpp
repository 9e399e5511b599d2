// The pattern box's paste.
#include "ui/pattern_box.h"

#include <QMimeData>

namespace lodestar::ui {

PatternBox::PatternBox(QWidget* parent, std::function<QString(const QString&)> pasted)
    : QPlainTextEdit(parent), pasted_(std::move(pasted)) {}

void PatternBox::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText() || !pasted_) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertPlainText(pasted_(source->text()));
    ensureCursorVisible();
}

}  // namespace lodestar::ui
