// Building a form's window from its catalogue and binding each widget to its control.
#include "ui/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileSystemModel>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "ui/qt_text.h"

namespace lodestar::ui {

FormWindow::FormWindow(Form& form, QWidget* owner, std::function<int(double)> toPixels)
    : QWidget(owner, Qt::Window | Qt::Dialog), form_(form), toPixels_(std::move(toPixels)) {
    setObjectName(QString::fromStdString(form.name()));
    const ControlModel& model = form_.controls();
    for (const std::string& name : model.names()) {
        const Control& c = model[name];
        if (name == form_.name()) continue;
        if (QWidget* w = create(c)) {
            // A control inside a frame is placed in the frame's group box.
            if (QWidget* frame = control(c.container)) w->setParent(frame);
            w->setObjectName(QString::fromStdString(name));
            widgets_[name] = w;
        }
    }
    form_.controls().onChange([this](const Control& c) { apply(c); });
    for (const std::string& name : model.names()) apply(model[name]);
}

QWidget* FormWindow::control(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

QWidget* FormWindow::create(const Control& c) {
    const std::string name = c.name;
    switch (c.kind) {
        case ControlKind::Button: {
            auto* b = new QPushButton(this);
            connect(b, &QPushButton::clicked, this, [this, name] {
                form_.click(name);
                after();
            });
            return b;
        }
        case ControlKind::CheckBox: {
            auto* b = new QCheckBox(this);
            connect(b, &QCheckBox::clicked, this, [this, name] {
                form_.click(name);
                after();
            });
            return b;
        }
        case ControlKind::Combo: {
            auto* box = new QComboBox(this);
            connect(box, &QComboBox::activated, this, [this, name](int index) {
                if (syncing_) return;
                form_.select(name, index);
                after();
            });
            return box;
        }
        case ControlKind::List: {
            auto* list = new QListWidget(this);
            connect(list, &QListWidget::currentRowChanged, this, [this, name](int row) {
                if (syncing_) return;
                form_.select(name, row);
                after();
            });
            return list;
        }
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(this);
            // Typing sends the text and then the caret, so the form sees them in that order.
            // While the box reports what the user did, the form's echo of it does not move
            // the caret back (the text arrives before the caret that goes with it).
            auto sendSelection = [this, name, edit] {
                if (syncing_) return;
                editing_ = name;
                const bool any = edit->hasSelectedText();
                form_.selectText(name, any ? edit->selectionStart() : edit->cursorPosition(),
                                 any ? edit->selectedText().size() : 0);
                editing_.clear();
            };
            connect(edit, &QLineEdit::textEdited, this,
                    [this, name, sendSelection](const QString& text) {
                        if (syncing_) return;
                        editing_ = name;
                        form_.typeText(name, fromQ(text));
                        sendSelection();
                    });
            connect(edit, &QLineEdit::selectionChanged, this, sendSelection);
            connect(edit, &QLineEdit::cursorPositionChanged, this, sendSelection);
            connect(edit, &QLineEdit::returnPressed, this, [this, name] {
                form_.enter(name);
                after();
            });
            edit->installEventFilter(this);
            return edit;
        }
        case ControlKind::Tree: {
            // The folders of the machine; the chosen one is the control's text.
            auto* model = new QFileSystemModel(this);
            model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
            model->setRootPath(QStringLiteral("/"));
            auto* tree = new QTreeView(this);
            tree->setModel(model);
            for (int column = 1; column < model->columnCount(); ++column) tree->hideColumn(column);
            tree->header()->hide();
            trees_[name] = model;
            // The model reads folders in the background: the chosen one shows once it is read.
            connect(model, &QFileSystemModel::directoryLoaded, this, [this, name, model, tree] {
                const QModelIndex chosen = model->index(toQ(form_.controls()[name].text));
                if (tree->currentIndex() != chosen) apply(form_.controls()[name]);
            });
            connect(tree, &QTreeView::clicked, this, [this, name, model](const QModelIndex& i) {
                if (syncing_) return;
                form_.typeText(name, fromQ(model->filePath(i)));
                after();
            });
            return tree;
        }
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(this);
            return frame;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        default:
            return nullptr;
    }
}

void FormWindow::apply(const Control& c) {
    if (c.name == form_.name()) {
        setWindowTitle(toQ(c.text));
        resize(toPixels_(c.geometry.width), toPixels_(c.geometry.height));
        return;
    }
    QWidget* w = control(c.name);
    if (!w) return;
    const bool wasSyncing = syncing_;
    syncing_ = true;
    w->setEnabled(c.enabled);
    w->setToolTip(toQ(c.tooltip));
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        b->setText(toQ(c.text));
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        box->setText(toQ(c.text));
        box->setChecked(c.checked);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(toQ(c.text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const bool newText = edit->text() != toQ(c.text);
        if (newText) edit->setText(toQ(c.text));
        const int start = static_cast<int>(c.selStart), length = static_cast<int>(c.selLength);
        if (!newText && c.name == editing_) {
            // the box already shows what the user did
        } else if (length > 0) {
            edit->setSelection(start, length);
        } else if (edit->hasSelectedText() || edit->cursorPosition() != start) {
            edit->setCursorPosition(start);
        }
    } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        frame->setTitle(toQ(c.text));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setPlaceholderText(toQ(c.text));
        QStringList items;
        for (const auto& item : c.items) items << toQ(item);
        QStringList now;
        for (int i = 0; i < combo->count(); ++i) now << combo->itemText(i);
        if (now != items) {
            combo->clear();
            combo->addItems(items);
        }
        combo->setCurrentIndex(c.selected);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        list->clear();
        for (const auto& item : c.items) list->addItem(toQ(item));
        list->setCurrentRow(c.selected);
    } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
        QFileSystemModel* model = trees_.at(c.name);
        const QModelIndex index = model->index(toQ(c.text));
        if (index.isValid()) {
            for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree->expand(up);
            tree->setCurrentIndex(index);
            tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
        }
    }
    if (!c.fontName.empty()) {
        QFont font(toQ(c.fontName));
        if (c.fontSize > 0) font.setPointSizeF(c.fontSize);
        w->setFont(font);
    }
    const Rect& r = c.geometry;
    w->setGeometry(toPixels_(r.left), toPixels_(r.top), toPixels_(r.width), toPixels_(r.height));
    w->setVisible(c.visible);
    syncing_ = wasSyncing;
}

void FormWindow::after() {
    followFocus();
}

void FormWindow::followFocus() {
    if (QWidget* w = control(form_.focus())) w->setFocus();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    form_.hide();  // the form's host hides this window; it is never destroyed before its owner
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    // A click into a text box is a click on that control too (the export file box opens its
    // dialog); it runs once the press has been handled.
    if (event->type() == QEvent::MouseButtonPress && !syncing_) {
        for (const auto& [name, w] : widgets_)
            if (w == watched && w->isEnabled())
                QTimer::singleShot(0, this, [this, control = name] {
                    form_.click(control);
                    after();
                });
    }
    if (event->type() == QEvent::FocusOut && !syncing_) {
        for (const auto& [name, w] : widgets_)
            if (w == watched) {
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                    reason == Qt::MouseFocusReason)
                    form_.focusLost(name);
            }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace lodestar::ui
