// Building the main window's widgets from the form's controls and keeping each widget equal
// to its control: text, tooltip, enabled, checked, visible, caption strike-through, font and
// geometry in twips.
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <set>

#include "ui/form_guard.h"
#include "ui/pane_view.h"
#include "ui/pattern_box.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"
#include "ui/splitter_bar.h"

namespace lodestar::ui {

namespace {

const std::map<std::string, QString> kPictures = {
    {"selFile", QStringLiteral("open-file")},   {"btnOpenFolder", QStringLiteral("open-folder")},
    {"btnViewIn", QStringLiteral("invisible")}, {"btnWrap", QStringLiteral("wrap")},
    {"View_ML", QStringLiteral("match-list")},  {"btnRestore", QStringLiteral("restore")},
    {"btnSave", QStringLiteral("save")},        {"btnRegaid", QStringLiteral("assistant")},
    {"btnRegHis", QStringLiteral("history")},
};

const std::set<std::string> kTextButtons = {"View_FS", "btnFind",    "btnPrev",   "btnNext",
                                            "btnExp",  "btnReplace", "btnAction", "btnStop"};
const std::set<std::string> kFrames = {"ToolBar", "Frame3", "Frame1", "Frame2", "statusbar"};
const std::set<std::string> kMultiLine = {"inRepFrom", "inRepWith", "logger"};

QIcon picture(const QString& name) {
    return QIcon(QStringLiteral(":/lodestar/icons/") + name + QStringLiteral(".svg"));
}

// Text boxes hold CR LF line ends as the form expects; the widgets show plain line feeds.
QString shown(const std::u16string& text) {
    return toQ(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
std::u16string typed(const QString& text) {
    QString t = text;
    return fromQ(t.replace(u'\n', QStringLiteral("\r\n")));
}

bool isPane(const std::string& name) {
    return name == "ListView" || name == "SuperMonitor" || name == "MatchView";
}

}  // namespace

// The tool strip's command group: the form leaves the widths within its 6450 twips to the skin.
void SkinWindow::layoutToolStrip() {
    struct Slot {
        const char* name;
        double width;
        double gapBefore;
    };
    const Slot strip[] = {
        {"btnViewIn", 330, 0},   {"btnWrap", 330, 15},   {"View_FS", 330, 15},
        {"View_ML", 330, 15},    {"btnFind", 705, 75},   {"btnPrev", 330, 15},
        {"btnNext", 330, 15},    {"matchNo", 780, 15},   {"btnExp", 405, 15},
        {"btnReplace", 810, 75}, {"btnAction", 735, 15}, {"btnRestore", 330, 75},
        {"btnSave", 330, 15},
    };
    ControlModel& model = form_->controls();
    // The counter box holds the largest counts in the window's font; the group grows for it.
    const double counter = std::max(
        780.0,
        toTwips(client_->fontMetrics().horizontalAdvance(QStringLiteral("999999/999999")) + 12));
    double x = 0;
    for (const Slot& s : strip) {
        x += s.gapBefore;
        Rect r = model[s.name].geometry;
        r.left = x;
        r.width = std::string(s.name) == "matchNo" ? std::ceil(counter) : s.width;
        model.setGeometry(s.name, r);
        x += r.width;
    }
    if (x > model["Frame3"].geometry.width) model.setWidth("Frame3", x);
}

void SkinWindow::buildControls() {
    const ControlModel& model = form_->controls();
    for (const std::string& name : model.names()) {
        const Control& c = model[name];
        if (name == "MainWindow" || c.container.empty() || actions_.count(name)) continue;
        QWidget* parent = c.container == "MainWindow" ? client_ : control(c.container);
        if (!parent) continue;  // a menu entry: built with the menus
        if (QWidget* w = createControl(c, parent)) {
            w->setObjectName(QString::fromStdString(name));
            widgets_[name] = w;
        }
    }
    // Drag shadows lie above everything they cross.
    for (const char* shadow : {"splitshad", "splitshad2", "splitShad3"})
        if (QWidget* w = control(shadow)) w->raise();
}

QWidget* SkinWindow::createControl(const Control& c, QWidget* parent) {
    const std::string& name = c.name;
    if (kFrames.count(name)) {
        auto* frame = new QWidget(parent);
        if (name == "ToolBar")
            frame->setStyleSheet(QStringLiteral("#ToolBar { border-bottom: 1px solid #b8b8b8; }"));
        if (name == "statusbar")
            frame->setStyleSheet(QStringLiteral("#statusbar { border-top: 1px solid #c8c8c8; }"));
        frame->setAttribute(Qt::WA_StyledBackground, true);
        return frame;
    }
    if (isPane(name)) {
        auto* view = new PaneView(QString::fromStdString(name), name == "SuperMonitor", parent);
        const Pane which = name == "ListView"       ? Pane::ListView
                           : name == "SuperMonitor" ? Pane::SuperMonitor
                                                    : Pane::MatchView;
        panes_[static_cast<int>(which)] = view;
        return view;
    }
    if (auto it = kPictures.find(name); it != kPictures.end()) {
        auto* b = new QToolButton(parent);
        b->setIcon(picture(it->second));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::TabFocus);
        b->setCheckable(name == "btnViewIn" || name == "btnWrap");  // they show on or off
        if (name == "btnRegHis") {
            b->installEventFilter(this);  // any mouse press opens the pop-up
        } else {
            connect(b, &QToolButton::clicked, this, [this, name] { command(name); });
        }
        return b;
    }
    if (kTextButtons.count(name)) {
        auto* b = new QToolButton(parent);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QToolButton::clicked, this, [this, name] { command(name); });
        return b;
    }
    if (name.rfind("chk", 0) == 0) {
        auto* box = new QCheckBox(parent);
        QFont f = box->font();
        f.setPixelSize(std::max(10, toPixels(150)));  // the four switches share a narrow row
        box->setFont(f);
        connect(box, &QCheckBox::clicked, this, [this, name] { command(name); });
        return box;
    }
    if (name == "inputPath" || name == "matchNo") {
        auto* edit = new QLineEdit(parent);
        if (name == "matchNo") {
            edit->setReadOnly(true);
            edit->setAlignment(Qt::AlignCenter);
            edit->setFocusPolicy(Qt::NoFocus);
            // A counter of a finished search is read, not greyed out like a dead command.
            QPalette p = edit->palette();
            for (auto role : {QPalette::Text, QPalette::Base})
                p.setColor(QPalette::Disabled, role, p.color(QPalette::Active, role));
            edit->setPalette(p);
        } else {
            connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
                if (!syncing_) guarded(*form_, [&] { form_->typeText(name, fromQ(text)); });
            });
            connect(edit, &QLineEdit::returnPressed, this, [this, name] {
                if (!syncing_) guarded(*form_, [&] { form_->enterText(name); });
            });
            edit->installEventFilter(this);  // losing the focus opens the path too
        }
        return edit;
    }
    if (kMultiLine.count(name)) {
        auto* edit = name != "inRepFrom" ? new QPlainTextEdit(parent)
                                         : new PatternBox(parent, [this](const QString& text) {
                                               return toQ(form_->patternPaste(fromQ(text)));
                                           });
        if (name == "logger") {
            edit->setReadOnly(true);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        } else {
            edit->setTabChangesFocus(true);
            connect(edit, &QPlainTextEdit::textChanged, this, [this, name, edit] {
                if (!syncing_)
                    guarded(*form_, [&] { form_->typeText(name, typed(edit->toPlainText())); });
            });
        }
        return edit;
    }
    if (name == "splitter" || name == "splitter2" || name == "splitter3") {
        auto* bar = new SplitterBar(QString::fromStdString(name),
                                    name == "splitter" ? Qt::Horizontal : Qt::Vertical, parent);
        bar->onDown = [this, name] {
            guarded(*form_, [&] { form_->layout().splitterDown(name); });
        };
        bar->onMove = [this, name](int offset) {
            guarded(*form_, [&] { form_->layout().splitterMove(name, toTwips(offset)); });
        };
        bar->onUp = [this, name] { guarded(*form_, [&] { form_->layout().splitterUp(name); }); };
        return bar;
    }
    if (name == "splitshad" || name == "splitshad2" || name == "splitShad3") {
        auto* shadow = new QWidget(parent);
        shadow->setAttribute(Qt::WA_StyledBackground, true);
        shadow->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        shadow->setStyleSheet(QStringLiteral("background: rgb(128, 128, 128);"));
        return shadow;
    }
    if (name == "pgBarBack" || name == "pgBarFore") {
        auto* line = new QWidget(parent);
        line->setAttribute(Qt::WA_StyledBackground, true);
        line->setStyleSheet(name == "pgBarBack" ? QStringLiteral("background: #d0d0d0;")
                                                : QStringLiteral("background: #2a6fdb;"));
        return line;
    }
    auto* label = new QLabel(parent);  // every other control is a caption
    label->setTextFormat(Qt::PlainText);
    if (name == "LblCurName") label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void SkinWindow::applyGeometry(const Control& c, QWidget* w) {
    const Rect& r = c.geometry;
    if (c.name == "pgBarBack" || c.name == "pgBarFore") {
        // A line: its ends are (left, top) and (left + width, top + height).
        const int x1 = toPixels(r.left), x2 = toPixels(r.left + r.width);
        w->setGeometry(x1, toPixels(r.top) - 1, std::max(0, x2 - x1), 3);
        return;
    }
    QRect g(toPixels(r.left), toPixels(r.top), std::max(0, toPixels(r.width)),
            std::max(0, toPixels(r.height)));
    if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w)) {
        // A caption needs no clipping: it may run past its designed box.
        if (c.name != "LblCurName" && c.name != "lblStatus")
            g.setWidth(std::max(g.width(), w->sizeHint().width()));
    }
    w->setGeometry(g);
}

void SkinWindow::applyControl(const Control& c) {
    if (actions_.count(c.name) || menus_.count(c.name) || c.name.rfind("mRegs(", 0) == 0) {
        applyMenu(c);
        return;
    }
    if (c.name == "MainWindow") {
        setWindowTitle(toQ(c.text));
        return;
    }
    QWidget* w = control(c.name);
    if (!w) return;
    const bool wasSyncing = syncing_;
    syncing_ = true;
    w->setEnabled(c.enabled);
    if (!kFrames.count(c.name)) w->setToolTip(toQ(c.tooltip));
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        box->setText(toQ(c.text));
        box->setChecked(c.checked);
    } else if (auto* button = qobject_cast<QToolButton*>(w)) {
        if (kTextButtons.count(c.name)) button->setText(toQ(c.text));
        if (button->isCheckable()) button->setChecked(c.checked);
        QFont f = button->font();
        f.setStrikeOut(c.struckThrough);
        button->setFont(f);
        if (c.name == "View_ML")
            button->setIcon(picture(c.struckThrough ? QStringLiteral("match-list-off")
                                                    : QStringLiteral("match-list")));
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (line->text() != toQ(c.text)) line->setText(toQ(c.text));
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        const QString now = shown(c.text);
        const QString before = edit->toPlainText();
        if (now != before) {
            if (c.name == "logger" && now.startsWith(before) && !before.isEmpty()) {
                QTextCursor end(edit->document());
                end.movePosition(QTextCursor::End);
                end.insertText(now.mid(before.size()));
            } else {
                edit->setPlainText(now);
            }
            if (c.name == "logger") {
                // Every new entry, an error above all, is scrolled into view, then painted.
                edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
                edit->repaint();
            }
        }
        if (c.name == "logger") edit->document()->setDocumentMargin(form_->layout().loggerMargin());
        if (!c.fontName.empty() && c.fontSize > 0) {
            QFont f(toQ(c.fontName));
            f.setPointSizeF(c.fontSize);
            f.setStyleHint(QFont::TypeWriter);
            edit->setFont(f);
        }
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(toQ(c.text));
        if (c.name == "lblStatus") label->repaint();  // shown at once during long work
    }
    if (c.name == "btnStop") showBusy(c.enabled);
    applyGeometry(c, w);
    if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
    if (c.visible && (c.name == "splitshad" || c.name == "splitshad2" || c.name == "splitShad3"))
        w->raise();
    syncing_ = wasSyncing;
}

QWidget* SkinWindow::control(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

bool SkinWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        sendSize();
    } else if (watched == control("inputPath") && event->type() == QEvent::FocusOut) {
        // Only the user moving on opens the path: not a message box or menu taking the focus.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (!syncing_ && !form_->closed() &&
            (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
             reason == Qt::MouseFocusReason))
            QTimer::singleShot(0, this, [this] {
                if (!form_->closed())
                    guarded(*form_, [this] { form_->textFocusLost("inputPath"); });
            });
    } else if (watched == control("btnRegHis") && event->type() == QEvent::MouseButtonPress) {
        QWidget* button = control("btnRegHis");
        if (button->isEnabled()) {
            fillUsedRegexpMenu();
            usedRegexps_->popup(button->mapToGlobal(QPoint(0, button->height())));
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace lodestar::ui
