// The main window's widgets: built through the control binder by kind, with the window's own
// widgets for its panes, splitters and many-line boxes, and its own touches (pictures,
// borders, colours) chosen from small tables; kept equal to the form's controls.
#include <QCheckBox>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <set>
#include <string_view>

#include "forms/model/control_ids.h"
#include "ui/control_binder.h"
#include "ui/form_guard.h"
#include "ui/pane_view.h"
#include "ui/pattern_box.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"
#include "ui/splitter_bar.h"

namespace lodestar::ui {

namespace {

// The picture of each picture button.
const std::map<std::string_view, QString, std::less<>> kPictures = {
    {main_ids::selFile, QStringLiteral("open-file")},
    {main_ids::btnOpenFolder, QStringLiteral("open-folder")},
    {main_ids::btnViewIn, QStringLiteral("invisible")},
    {main_ids::btnWrap, QStringLiteral("wrap")},
    {main_ids::View_ML, QStringLiteral("match-list")},
    {main_ids::btnRestore, QStringLiteral("restore")},
    {main_ids::btnSave, QStringLiteral("save")},
    {main_ids::btnRegaid, QStringLiteral("assistant")},
    {main_ids::btnRegHis, QStringLiteral("history")},
};
// The captioned buttons' pictures, shown instead of their captions in a narrow window.
const std::map<std::string_view, QString, std::less<>> kCaptioned = {
    {main_ids::btnFind, QStringLiteral("find")},
    {main_ids::btnExp, QStringLiteral("export")},
    {main_ids::btnReplace, QStringLiteral("replace")},
    {main_ids::btnAction, QStringLiteral("action")},
    {main_ids::btnPreview, QStringLiteral("preview")},
    {main_ids::btnApply, QStringLiteral("apply")},
};
// Buttons that show whether they are on.
const std::set<std::string_view, std::less<>> kToggles = {main_ids::btnViewIn, main_ids::btnWrap};
// Borders of the tool strip and status bar, the colours of the progress bar and the drag
// shadows.
const std::map<std::string_view, QString, std::less<>> kStyles = {
    {main_ids::ToolBar, QStringLiteral("#ToolBar { border-bottom: 1px solid #b8b8b8; }")},
    {main_ids::statusbar, QStringLiteral("#statusbar { border-top: 1px solid #c8c8c8; }")},
    {main_ids::pgBarBack, QStringLiteral("background: #d0d0d0;")},
    {main_ids::pgBarFore, QStringLiteral("background: #2a6fdb;")},
    {main_ids::splitshad, QStringLiteral("background: rgb(128, 128, 128);")},
    {main_ids::splitshad2, QStringLiteral("background: rgb(128, 128, 128);")},
    {main_ids::splitShad3, QStringLiteral("background: rgb(128, 128, 128);")},
};
// The splitters' drag shadows: grey bars that show where a splitter goes while it is dragged.
const std::set<std::string_view, std::less<>> kShadows = {main_ids::splitshad, main_ids::splitshad2,
                                                          main_ids::splitShad3};
// The status line's fields keep to their room: a text too long for it is shortened in the
// middle ("/home/ann/…/notes.txt") and shows whole in its tooltip.
const std::set<std::string_view, std::less<>> kStatusFields = {
    main_ids::Label1, main_ids::lblStatus, main_ids::lblEncoding, main_ids::lblLineEnds,
    main_ids::Label4, main_ids::lblTotal,  main_ids::Label5,      main_ids::LblCurName};

// The text boxes that are not plain one-line boxes.
enum class Box { Counter, Pattern, ManyLines, Log };
const std::map<std::string_view, Box, std::less<>> kBoxes = {
    {main_ids::matchNo, Box::Counter},
    {main_ids::inRepFrom, Box::Pattern},
    {main_ids::inRepWith, Box::ManyLines},
    {main_ids::logger, Box::Log},
};

QIcon picture(const QString& name) {
    return QIcon(QStringLiteral(":/lodestar/icons/") + name + QStringLiteral(".svg"));
}

Pane paneOf(const std::string& name) {
    return name == main_ids::ListView       ? Pane::ListView
           : name == main_ids::SuperMonitor ? Pane::SuperMonitor
                                            : Pane::MatchView;
}

}  // namespace

// The tool strip's command group: the form leaves the widths within its group to the skin.
double SkinWindow::layoutToolStrip(bool compact) {
    struct Slot {
        ControlId name;
        double width;
        double gapBefore;
    };
    const Slot strip[] = {
        {main_ids::btnViewIn, 330, 0},  {main_ids::btnWrap, 330, 15},
        {main_ids::View_FS, 330, 15},   {main_ids::View_ML, 330, 15},
        {main_ids::btnFind, 705, 75},   {main_ids::btnPrev, 330, 15},
        {main_ids::btnNext, 330, 15},   {main_ids::matchNo, 780, 15},
        {main_ids::btnExp, 405, 15},    {main_ids::btnReplace, 810, 75},
        {main_ids::btnAction, 735, 15}, {main_ids::btnPreview, 735, 15},
        {main_ids::btnApply, 600, 15},  {main_ids::btnRestore, 330, 75},
        {main_ids::btnSave, 330, 15},
    };
    ControlModel& model = form_->controls();
    // The counter box holds the largest counts in the window's font; the group grows for it.
    const double counter = std::max(
        780.0,
        toTwips(client_->fontMetrics().horizontalAdvance(QStringLiteral("0000000/0000000")) + 16));
    double x = 0;
    for (const Slot& s : strip) {
        const bool captioned = kCaptioned.count(s.name) != 0;
        x += compact ? std::min(s.gapBefore, 45.0) : s.gapBefore;
        Rect r = model[s.name].geometry;
        r.left = x;
        r.width = s.name == main_ids::matchNo ? std::ceil(counter)
                  : compact && captioned      ? 330
                                              : s.width;
        model.setGeometry(s.name, r);
        x += r.width;
    }
    model.setWidth(main_ids::Frame3, x);
    return x;
}

void SkinWindow::fitToolStrip(double outerWidth) {
    constexpr double kPathLeft = 720;      // after the open buttons
    constexpr double kPathMinimum = 1500;  // room for a folder name or two
    constexpr double kMargins = 200;       // before the group and after it
    const bool compact = outerWidth < kPathLeft + kPathMinimum + kMargins + captionedStripWidth_;
    if (compact == compactStrip_) return;
    compactStrip_ = compact;
    layoutToolStrip(compact);
    for (const auto& [name, icon] : kCaptioned)
        if (auto* button = qobject_cast<QToolButton*>(control(name)))
            dressCaptioned(button, form_->controls()[name]);
}

void SkinWindow::dressCaptioned(QToolButton* button, const Control& c) {
    button->setToolButtonStyle(compactStrip_ ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
    // The caption that the picture stands for is read in its tooltip.
    if (compactStrip_ && c.tooltip.empty()) button->setToolTip(toQ(c.text));
}

void SkinWindow::buildControls() {
    ControlEvents events;
    events.click = [this](const std::string& name) { command(name); };
    events.typeText = [this](const std::string& name, const std::u16string& text) {
        guarded(*form_, [&] { form_->typeText(name, text); });
    };
    events.enter = [this](const std::string& name) {
        guarded(*form_, [&] { form_->enterText(name); });
    };
    // Moving on from the path box opens the path, once the focus has settled.
    events.focusLost = [this](const std::string& name) {
        if (form_->closed()) return;
        QTimer::singleShot(0, this, [this, name] {
            if (!form_->closed()) guarded(*form_, [&] { form_->textFocusLost(name); });
        });
    };
    binder_ = new ControlBinder(
        form_->controls(), ControlLook::Main, std::move(events),
        [this](double twips) { return toPixels(twips); }, this);
    binder_->special = [this](const Control& c, QWidget* parent) {
        return specialControl(c, parent);
    };
    binder_->dress = [this](const Control& c, QWidget* w) { dressControl(c, w); };
    // The progress bar is drawn by its width alone.
    binder_->growsToCaption = [](const Control& c) {
        return !kStatusFields.count(c.name) && c.name != main_ids::pgBarBack &&
               c.name != main_ids::pgBarFore;
    };
    binder_->buildAll(client_, main_ids::MainWindow);
    // Drag shadows lie above everything they cross.
    for (const std::string_view shadow : kShadows)
        if (QWidget* w = control(shadow)) w->raise();
}

QWidget* SkinWindow::specialControl(const Control& c, QWidget* parent) {
    const std::string name = c.name;
    if (c.kind == ControlKind::Pane) {
        auto* view =
            new PaneView(QString::fromStdString(name), name == main_ids::SuperMonitor, parent);
        panes_[static_cast<int>(paneOf(name))] = view;
        return view;
    }
    if (c.kind == ControlKind::Splitter) {
        if (kShadows.count(name)) {
            auto* shadow = new QWidget(parent);
            shadow->setAttribute(Qt::WA_StyledBackground, true);
            shadow->setAttribute(Qt::WA_TransparentForMouseEvents, true);
            return shadow;
        }
        // A tall bar moves left and right, a wide one up and down.
        const Qt::Orientation axis =
            c.geometry.height > c.geometry.width ? Qt::Horizontal : Qt::Vertical;
        auto* bar = new SplitterBar(QString::fromStdString(name), axis, parent);
        bar->onDown = [this, name] {
            guarded(*form_, [&] { form_->layout().splitterDown(name); });
        };
        bar->onMove = [this, name](int offset) {
            guarded(*form_, [&] { form_->layout().splitterMove(name, toTwips(offset)); });
        };
        bar->onUp = [this, name] { guarded(*form_, [&] { form_->layout().splitterUp(name); }); };
        return bar;
    }
    auto box = kBoxes.find(name);
    if (c.kind != ControlKind::TextBox || box == kBoxes.end()) return nullptr;
    switch (box->second) {
        case Box::Counter: {
            // A match number typed here and Enter move to that match.
            auto* edit = new QLineEdit(parent);
            edit->setAlignment(Qt::AlignCenter);
            edit->setFocusPolicy(Qt::StrongFocus);
            // A counter of a finished search is read, not greyed out like a dead command.
            QPalette p = edit->palette();
            for (auto role : {QPalette::Text, QPalette::Base})
                p.setColor(QPalette::Disabled, role, p.color(QPalette::Active, role));
            edit->setPalette(p);
            return edit;
        }
        case Box::Pattern:
            return new PatternBox(parent, [this](const QString& text) {
                return toQ(form_->file().patternPaste(fromQ(text)));
            });
        case Box::ManyLines:
            return new QPlainTextEdit(parent);
        case Box::Log: {
            auto* log = new QPlainTextEdit(parent);
            log->setReadOnly(true);
            log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            return log;
        }
    }
    return nullptr;
}

void SkinWindow::dressControl(const Control& c, QWidget* w) {
    if (auto style = kStyles.find(c.name); style != kStyles.end()) w->setStyleSheet(style->second);
    if (auto* button = qobject_cast<QToolButton*>(w)) {
        if (auto it = kPictures.find(c.name); it != kPictures.end())
            button->setIcon(picture(it->second));
        if (auto it = kCaptioned.find(c.name); it != kCaptioned.end())
            button->setIcon(picture(it->second));
        button->setCheckable(kToggles.count(c.name) != 0);
        if (c.name == main_ids::btnRegHis)
            button->installEventFilter(this);  // any press: the pop-up
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QFont f = box->font();
        f.setPixelSize(std::max(10, toPixels(150)));  // the four switches share a narrow row
        box->setFont(f);
    } else if (auto* label = qobject_cast<QLabel*>(w); label && c.name == main_ids::LblCurName) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the path can be copied
    }
}

// The status is painted at once, so it shows even while the window's own thread works. A run on
// a worker sends its texts faster than paints are worth (each paint flushes the whole window):
// within a short time of the last one, the next paint of the window takes the latest text.
void SkinWindow::paintStatus(QWidget* status) {
    constexpr qint64 kPaintGapMs = 100;
    if (statusPainted_.isValid() && statusPainted_.elapsed() < kPaintGapMs) {
        status->update();
        return;
    }
    status->repaint();
    statusPainted_.start();
}

void SkinWindow::applyControl(const Control& c) {
    if (actions_.count(c.name) || menus_.count(c.name) || main_ids::mRegs.indexOf(c.name)) {
        applyMenu(c);
        return;
    }
    if (c.name == main_ids::MainWindow) {
        setWindowTitle(toQ(c.text));
        return;
    }
    if (!binder_ || !binder_->apply(c)) return;
    QWidget* w = control(c.name);
    if (c.name == main_ids::logger)
        static_cast<QPlainTextEdit*>(w)->document()->setDocumentMargin(
            form_->layout().loggerMargin());
    if (kStatusFields.count(c.name)) {
        auto* label = static_cast<QLabel*>(w);
        const QString full = toQ(c.text);
        const QString shown =
            label->fontMetrics().elidedText(full, Qt::ElideMiddle, std::max(0, label->width()));
        label->setText(shown);
        label->setToolTip(shown == full ? QString() : full);
    }
    if (kCaptioned.count(c.name)) dressCaptioned(static_cast<QToolButton*>(w), c);
    if (c.name == main_ids::lblStatus) paintStatus(w);
    if (c.name == main_ids::View_ML)
        static_cast<QToolButton*>(w)->setIcon(picture(
            c.struckThrough ? QStringLiteral("match-list-off") : QStringLiteral("match-list")));
    if (c.name == main_ids::btnStop) showBusy(c.enabled);
    if (c.visible && kShadows.count(c.name)) w->raise();
}

QWidget* SkinWindow::control(std::string_view name) const {
    return binder_ ? binder_->widget(name) : nullptr;
}

bool SkinWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        sendSize();
    } else if (watched == control(main_ids::btnRegHis) &&
               event->type() == QEvent::MouseButtonPress) {
        QWidget* button = control(main_ids::btnRegHis);
        if (button->isEnabled()) {
            fillUsedRegexpMenu();
            usedRegexps_->popup(button->mapToGlobal(QPoint(0, button->height())));
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace lodestar::ui
