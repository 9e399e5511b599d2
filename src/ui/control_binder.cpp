// Building widgets by control kind, binding the user's actions to the form and bringing each
// widget up to its control after every change.
#include "ui/control_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileSystemModel>
#include <QFocusEvent>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

#include "ui/qt_text.h"

namespace lodestar::ui {

namespace {

// Many-line boxes hold CR LF line ends as the forms expect; the widgets show plain line feeds.
QString shown(const std::u16string& text) {
    return toQ(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
std::u16string typed(const QString& text) {
    QString t = text;
    return fromQ(t.replace(u'\n', QStringLiteral("\r\n")));
}

QWidget* makeButton(const Control& c, ControlLook look, QWidget* parent) {
    if (look == ControlLook::Dialog) return new QPushButton(parent);
    auto* b = new QToolButton(parent);
    b->setFocusPolicy(Qt::TabFocus);
    if (c.text.empty()) {
        b->setAutoRaise(true);  // a picture button: the window gives its picture
    } else {
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(false);
    }
    return b;
}

// A caption with its access key marked for Qt: "&" before the key's first letter, any "&" of
// the caption itself doubled.
QString captionOf(const Control& c) {
    QString text = toQ(c.text);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (c.accessKey == 0) return text;
    const int at = text.indexOf(QChar(c.accessKey), 0, Qt::CaseInsensitive);
    if (at >= 0) text.insert(at, QLatin1Char('&'));
    return text;
}

// The tree's item of a folder; the model knows no path with a separator at its end.
QModelIndex folderIndex(const QFileSystemModel& folders, const std::u16string& path) {
    QString folder = toQ(path);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folders.index(folder);
}

QWidget* makeFrame(ControlLook look, QWidget* parent) {
    if (look == ControlLook::Dialog) return new QGroupBox(parent);
    auto* panel = new QWidget(parent);
    panel->setAttribute(Qt::WA_StyledBackground, true);
    return panel;
}

}  // namespace

ControlBinder::ControlBinder(ControlModel& model, ControlLook look, ControlEvents events,
                             std::function<int(double)> toPixels, QObject* parent)
    : QObject(parent),
      model_(model),
      look_(look),
      events_(std::move(events)),
      toPixels_(std::move(toPixels)) {}

void ControlBinder::buildAll(QWidget* client, std::string_view windowName) {
    for (const std::string& name : model_.names()) {
        const Control& c = model_[name];
        if (name == windowName || c.kind == ControlKind::Menu) continue;
        QWidget* parent = widget(c.container);
        QWidget* w = special ? special(c, parent ? parent : client) : nullptr;
        if (!w) w = build(c, parent ? parent : client);
        if (!w) continue;
        w->setObjectName(QString::fromStdString(name));
        widgets_[name] = w;
        if (dress) dress(c, w);
        bind(name, w);
    }
}

QWidget* ControlBinder::widget(std::string_view name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

void ControlBinder::quietly(const std::function<void()>& change) {
    const bool was = syncing_;
    syncing_ = true;
    change();
    syncing_ = was;
}

QWidget* ControlBinder::build(const Control& c, QWidget* parent) {
    switch (c.kind) {
        case ControlKind::Frame:
            return makeFrame(look_, parent);
        case ControlKind::Button:
            return makeButton(c, look_, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(parent);
        case ControlKind::Combo:
            return new QComboBox(parent);
        case ControlKind::List:
            return new QListWidget(parent);
        case ControlKind::TextBox:
            return new QLineEdit(parent);
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            // A label designed taller than two lines holds a text that wraps.
            if (c.geometry.height >= 480) {
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            }
            return label;
        }
        case ControlKind::Line: {
            auto* line = new QWidget(parent);  // the window gives its colour
            line->setAttribute(Qt::WA_StyledBackground, true);
            return line;
        }
        case ControlKind::Tree: {
            // The folders of the machine; the chosen one is the control's text.
            auto* folders = new QFileSystemModel(this);
            folders->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
            folders->setRootPath(QStringLiteral("/"));
            auto* tree = new QTreeView(parent);
            tree->setModel(folders);
            for (int column = 1; column < folders->columnCount(); ++column)
                tree->hideColumn(column);
            tree->header()->hide();
            trees_[c.name] = folders;
            // The model reads folders in the background: the chosen one is chosen and scrolled
            // to once it and the folders on its way are read (not when the user opens others).
            connect(folders, &QFileSystemModel::directoryLoaded, this,
                    [this, name = c.name, folders, tree](const QString& loaded) {
                        const std::u16string& path = model_[name].text;
                        const QModelIndex chosen = folderIndex(*folders, path);
                        if (tree->currentIndex() != chosen || toQ(path).startsWith(loaded))
                            apply(model_[name]);
                    });
            // Folders are sorted a moment after they are read: the chosen one is kept in view
            // while the user is not in the tree.
            connect(folders, &QFileSystemModel::layoutChanged, tree, [tree] {
                if (!tree->hasFocus() && tree->currentIndex().isValid())
                    tree->scrollTo(tree->currentIndex(), QAbstractItemView::PositionAtCenter);
            });
            return tree;
        }
        case ControlKind::Pane:
        case ControlKind::Splitter:
        case ControlKind::Menu:
            return nullptr;  // only the window knows how to make these
    }
    return nullptr;
}

void ControlBinder::clicked(const std::string& name) {
    if (!events_.click) return;
    events_.click(name);
    settled();
}

void ControlBinder::settled() {
    if (events_.settled) events_.settled();
}

void ControlBinder::bind(const std::string& name, QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, name] { clicked(name); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->isReadOnly()) return;
        // Typing sends the text and then the caret, so the form sees them in that order.
        // While the box reports what the user did, the form's echo of it does not move the
        // caret back (the text arrives before the caret that goes with it).
        auto sendSelection = [this, name, edit] {
            if (syncing_ || !events_.selectText) return;
            editing_ = name;
            const bool any = edit->hasSelectedText();
            events_.selectText(name, any ? edit->selectionStart() : edit->cursorPosition(),
                               any ? edit->selectedText().size() : 0);
            editing_.clear();
        };
        connect(edit, &QLineEdit::textEdited, this,
                [this, name, sendSelection](const QString& text) {
                    if (syncing_ || !events_.typeText) return;
                    editing_ = name;
                    events_.typeText(name, fromQ(text));
                    editing_.clear();
                    sendSelection();
                });
        connect(edit, &QLineEdit::selectionChanged, this, sendSelection);
        connect(edit, &QLineEdit::cursorPositionChanged, this, sendSelection);
        connect(edit, &QLineEdit::returnPressed, this, [this, name] {
            if (syncing_ || !events_.enter) return;
            events_.enter(name);
            settled();
        });
        if (events_.pressInBox || events_.focusLost) edit->installEventFilter(this);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        if (box->isReadOnly()) return;
        box->setTabChangesFocus(true);
        connect(box, &QPlainTextEdit::textChanged, this, [this, name, box] {
            if (!syncing_ && events_.typeText) events_.typeText(name, typed(box->toPlainText()));
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::activated, this, [this, name](int index) {
            if (syncing_ || !events_.select) return;
            events_.select(name, index);
            settled();
        });
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        connect(list, &QListWidget::currentRowChanged, this, [this, name](int row) {
            if (syncing_ || !events_.select) return;
            events_.select(name, row);
            settled();
        });
    } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
        // The chosen folder follows the current item, whether the mouse or the keys moved it.
        QFileSystemModel* folders = trees_.at(name);
        connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this, name, folders](const QModelIndex& i) {
                    if (syncing_ || !events_.typeText || !i.isValid()) return;
                    events_.typeText(name, fromQ(folders->filePath(i)));
                    settled();
                });
    }
}

bool ControlBinder::apply(const Control& c) {
    QWidget* w = widget(c.name);
    if (!w) return false;
    quietly([&] {
        w->setEnabled(c.enabled);
        w->setToolTip(toQ(c.tooltip));
        applyContent(c, w);
        if (!c.fontName.empty()) {
            QFont font(toQ(c.fontName));
            if (c.fontSize > 0) font.setPointSizeF(c.fontSize);
            font.setStyleHint(QFont::TypeWriter);  // a missing family falls back to fixed pitch
            w->setFont(font);
        }
        applyGeometry(c, w);
        if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
    });
    return true;
}

void ControlBinder::applyContent(const Control& c, QWidget* w) {
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        box->setText(c.accessKey ? captionOf(c) : toQ(c.text));
        box->setChecked(c.checked);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(c.accessKey ? captionOf(c) : toQ(c.text));
        if (button->isCheckable()) button->setChecked(c.checked);
        if (button->font().strikeOut() != c.struckThrough) {
            QFont f = button->font();
            f.setStrikeOut(c.struckThrough);
            button->setFont(f);
        }
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(toQ(c.text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const bool newText = edit->text() != toQ(c.text);
        if (newText) edit->setText(toQ(c.text));
        if (!events_.selectText || (!newText && c.name == editing_)) return;
        // The caret the form keeps: the box already shows what the user is doing.
        const int start = static_cast<int>(c.selStart), length = static_cast<int>(c.selLength);
        if (length > 0) {
            edit->setSelection(start, length);
        } else if (edit->hasSelectedText() || edit->cursorPosition() != start) {
            edit->setCursorPosition(start);
        }
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        const QString now = shown(c.text);
        const QString before = box->toPlainText();
        if (now == before) return;
        // A read-only box is a log: new entries are added at its end, scrolled into view and
        // painted at once, an error above all.
        if (box->isReadOnly() && now.startsWith(before) && !before.isEmpty()) {
            QTextCursor end(box->document());
            end.movePosition(QTextCursor::End);
            end.insertText(now.mid(before.size()));
        } else {
            box->setPlainText(now);
        }
        if (box->isReadOnly()) {
            box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
            box->repaint();
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
        // One insertion for the whole list: a tree's listing may hold 100,000 names.
        QStringList items;
        items.reserve(static_cast<qsizetype>(c.items.size()));
        for (const auto& item : c.items) items << toQ(item);
        list->clear();
        list->addItems(items);
        list->setCurrentRow(c.selected);
    } else if (auto* tree = qobject_cast<QTreeView*>(w)) {
        QFileSystemModel* folders = trees_.at(c.name);
        const QModelIndex index = folderIndex(*folders, c.text);
        if (index.isValid()) {
            for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree->expand(up);
            tree->setCurrentIndex(index);
            tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
        }
    }
}

void ControlBinder::applyGeometry(const Control& c, QWidget* w) {
    const Rect& r = c.geometry;
    if (c.kind == ControlKind::Line) {
        // A line: its ends are (left, top) and (left + width, top + height).
        const int x1 = toPixels_(r.left), x2 = toPixels_(r.left + r.width);
        w->setGeometry(x1, toPixels_(r.top) - 1, std::max(0, x2 - x1), 3);
        return;
    }
    QRect g(toPixels_(r.left), toPixels_(r.top), std::max(0, toPixels_(r.width)),
            std::max(0, toPixels_(r.height)));
    if ((qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w)) && growsToCaption &&
        growsToCaption(c))
        g.setWidth(std::max(g.width(), w->sizeHint().width()));
    // A dialog's box, list or check box is never lower than its text needs, whatever the font.
    if (look_ == ControlLook::Dialog && !qobject_cast<QLabel*>(w) && c.kind != ControlKind::Frame)
        g.setHeight(std::max(g.height(), w->minimumSizeHint().height()));
    w->setGeometry(g);
}

const std::string* ControlBinder::nameOf(const QObject* w) const {
    for (const auto& [name, widget] : widgets_)
        if (widget == w) return &name;
    return nullptr;
}

bool ControlBinder::eventFilter(QObject* watched, QEvent* event) {
    const std::string* name = syncing_ ? nullptr : nameOf(watched);
    if (!name) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress && events_.pressInBox &&
        static_cast<QWidget*>(watched)->isEnabled()) {
        // A click into a text box is a click on its control too; it runs once the press has
        // been handled.
        QTimer::singleShot(0, this, [this, control = *name] {
            events_.pressInBox(control);
            settled();
        });
    } else if (event->type() == QEvent::FocusOut && events_.focusLost) {
        // Only the user moving on counts: not a message box or menu taking the focus.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason)
            events_.focusLost(*name);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lodestar::ui
