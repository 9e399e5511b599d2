// The scratch pad's widgets and their binding to the form.
#include "ui/scratch_pad.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "forms/main/main_window.h"
#include "ui/form_guard.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

namespace {

QTextEdit::ExtraSelection markAt(QPlainTextEdit* edit, int from, int length, const QColor& fill) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(edit->document());
    mark.cursor.setPosition(from);
    mark.cursor.setPosition(from + length, QTextCursor::KeepAnchor);
    mark.format.setBackground(fill);
    return mark;
}

}  // namespace

ScratchPad::ScratchPad(MainWindow& form, QWidget* sourceView, QPlainTextEdit* patternBox)
    : QWidget(sourceView), form_(form), sourceView_(sourceView), patternBox_(patternBox) {
    setObjectName(QStringLiteral("ScratchPad"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    split_ = new QSplitter(Qt::Vertical, this);
    editor_ = new QPlainTextEdit(split_);
    editor_->setObjectName(QStringLiteral("ScratchText"));
    editor_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor_->setFont(QFont(QStringLiteral("Monospace"), 10));
    result_ = new QPlainTextEdit(split_);
    result_->setObjectName(QStringLiteral("ScratchResult"));
    result_->setReadOnly(true);
    result_->setFont(editor_->font());
    result_->setPlaceholderText(QStringLiteral("The replaced text shows here."));
    result_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #f4f7f4; }"));
    split_->addWidget(editor_);
    split_->addWidget(result_);
    split_->setStretchFactor(0, 3);
    split_->setStretchFactor(1, 2);
    layout->addWidget(split_);
    connect(editor_, &QPlainTextEdit::textChanged, this, &ScratchPad::edited);
    sourceView_->installEventFilter(this);
    form_.file().setScratchListener([this] { refresh(); });
    hide();
}

ScratchPad::~ScratchPad() {
    form_.file().setScratchListener(nullptr);
    // The window closes: what was typed since the last pause is kept all the same.
    guarded(form_, [&] { form_.file().keepScratchText(); });
}

bool ScratchPad::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sourceView_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        setGeometry(sourceView_->rect());
    return QWidget::eventFilter(watched, event);
}

void ScratchPad::edited() {
    if (filling_) return;
    guarded(form_, [&] { form_.file().scratchEdited(fromQ(editor_->toPlainText())); });
}

void ScratchPad::refresh() {
    const FileScope& file = form_.file();
    if (!file.scratchOpen()) {
        hide();
        showPatternProblem();
        return;
    }
    const QString text = toQ(file.scratchText());
    if (editor_->toPlainText() != text) {
        filling_ = true;
        editor_->setPlainText(text);
        filling_ = false;
        // The editor keeps line breaks as line feeds: the form works on what it shows.
        if (editor_->toPlainText() != text) edited();
    }
    if (isHidden()) {
        setGeometry(sourceView_->rect());
        show();
        raise();
    }
    showMarks();
    const std::optional<std::u16string>& replaced = file.scratchResult();
    result_->setVisible(replaced.has_value());
    if (replaced && result_->toPlainText() != toQ(*replaced)) result_->setPlainText(toQ(*replaced));
    showPatternProblem();
}

void ScratchPad::showMarks() {
    const FileScope& file = form_.file();
    QList<QTextEdit::ExtraSelection> marks;
    const int length = editor_->document()->characterCount() - 1;
    if (const SharedSpans& spans = file.lastMatches()) {
        const long long current = file.curMatch();
        for (std::size_t k = 0; k < spans->size() && marks.size() < kMostMarks; ++k) {
            const MatchSpan& m = (*spans)[k];
            const int from = static_cast<int>(std::min<std::size_t>(m.index, length));
            const int to = static_cast<int>(std::min<std::size_t>(m.index + m.length, length));
            // An empty match shows as a thin mark on the character it stands before.
            const bool empty = to == from;
            QTextEdit::ExtraSelection mark =
                markAt(editor_, empty && from == length ? std::max(0, from - 1) : from,
                       empty ? (length > 0 ? 1 : 0) : to - from,
                       static_cast<long long>(k + 1) == current ? QColor(255, 200, 0)
                       : empty                                  ? QColor(255, 236, 200)
                                                                : QColor(255, 243, 160));
            if (empty) mark.format.setFontUnderline(true);
            marks.append(mark);
            if (static_cast<long long>(k + 1) == current) {
                QTextCursor at(editor_->document());
                at.setPosition(from);
                editor_->setTextCursor(at);
                editor_->ensureCursorVisible();
            }
        }
    }
    editor_->setExtraSelections(marks);
}

void ScratchPad::showPatternProblem() {
    if (!patternBox_) return;
    const std::optional<FileScope::PatternProblem>& problem = form_.file().patternProblem();
    QList<QTextEdit::ExtraSelection> marks;
    if (problem && form_.file().scratchOpen()) {
        const int length = patternBox_->document()->characterCount() - 1;
        const int at = static_cast<int>(std::min<std::size_t>(problem->position, length));
        // The character where the pattern goes wrong, or the last one when it ends too early.
        QTextEdit::ExtraSelection mark =
            markAt(patternBox_, at < length ? at : std::max(0, length - 1), length > 0 ? 1 : 0,
                   QColor(255, 190, 190));
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(Qt::red);
        marks.append(mark);
        patternBox_->setToolTip(toQ(problem->reason));
    } else {
        patternBox_->setToolTip(QString());
    }
    patternBox_->setExtraSelections(marks);
}

int ScratchPad::markCount() const {
    return static_cast<int>(editor_->extraSelections().size());
}

}  // namespace lodestar::ui
