// Drops, keys, focus and the window frame between runs.
#include "ui/window_habits.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

#include "files/paths.h"
#include "forms/model/control_ids.h"
#include "settings/window_state.h"
#include "ui/form_guard.h"
#include "ui/pane_view.h"
#include "ui/qt_text.h"
#include "ui/screen_fit.h"
#include "ui/skin_window.h"

namespace lodestar::ui {

namespace {

// The first local file or folder a drag carries; empty when it carries none.
QString droppedPath(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

WindowHabits::WindowHabits(SkinWindow& window) : QObject(&window), window_(window) {
    MainWindow& form = window_.form();
    form.setMoveFocus([this](ControlId name) {
        if (QWidget* w = window_.control(name)) w->setFocus(Qt::OtherFocusReason);
    });
    form.setPickerFolder([this] { return window_.folderMode().picker().folder(); });
    window_.setAcceptDrops(true);
    qApp->installEventFilter(this);
    applyFrame();
}

WindowHabits::~WindowHabits() {
    qApp->removeEventFilter(this);
    window_.form().setMoveFocus(nullptr);
    window_.form().setPickerFolder(nullptr);
}

// The frame is kept in device pixels, so a start at another scale factor opens the window as
// large on the screen as it was. A frame the screen cannot hold at this scale is bounded by
// it, and that bounded frame is not what the next start takes over unless the user changed it.
void WindowHabits::applyFrame() {
    const auto& frame = window_.form().remembered().frame;
    if (frame) {
        const qreal scale = window_.devicePixelRatioF();
        const QRect rect(qRound(frame->x / scale), qRound(frame->y / scale),
                         qRound(frame->width / scale), qRound(frame->height / scale));
        // A frame on a screen that is no longer there keeps only its size.
        if (QScreen* screen = QGuiApplication::screenAt(rect.center()))
            window_.setGeometry(rect.intersected(screen->availableGeometry()));
        else
            window_.resize(rect.size());
        if (frame->maximized) window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
    }
    if (fitToScreen(window_)) bounded_ = window_.geometry();
}

void WindowHabits::windowClosing() {
    const QRect r = window_.isMaximized() ? window_.normalGeometry() : window_.geometry();
    MainWindow& form = window_.form();
    const qreal scale = window_.devicePixelRatioF();
    if (r.size() != bounded_.size() || window_.isMaximized())
        form.setWindowFrame({qRound(r.x() * scale), qRound(r.y() * scale),
                             qRound(r.width() * scale), qRound(r.height() * scale),
                             window_.isMaximized()});
    guarded(form, [&] { form.saveRememberedState(); });
}

bool WindowHabits::inWindow(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == &window_;
}

void WindowHabits::trigger(ControlId name) {
    if (QAction* a = window_.action(name); a && a->isEnabled()) a->trigger();
}

bool WindowHabits::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (inWindow(watched)) return dragOrDrop(event);
            break;
        case QEvent::KeyPress:
            if (inWindow(watched)) return keyPress(watched, event);
            break;
        default:
            break;
    }
    return false;
}

// A file or folder dragged over any part of the window opens when it is dropped, the panes
// included (the web pages would show the file instead).
bool WindowHabits::dragOrDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = droppedPath(drop->mimeData());
    if (path.isEmpty()) return false;  // text dragged between the boxes goes on as usual
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) {
        MainWindow& form = window_.form();
        guarded(form, [&] { form.openRequested(fromQ(path)); });
    }
    return true;
}

bool WindowHabits::keyPress(QObject* watched, QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && key->modifiers() == Qt::ControlModifier &&
        watched == window_.control(main_ids::inRepFrom)) {
        trigger(main_ids::mFind);
        return true;
    }
    // The match list's page has the focus: up and down move to the previous and next match.
    PaneView* list = window_.paneView(Pane::MatchView);
    auto* widget = static_cast<QWidget*>(watched);
    if (list && (widget == list || list->isAncestorOf(widget)) &&
        key->modifiers() == Qt::NoModifier &&
        (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
        trigger(key->key() == Qt::Key_Down ? main_ids::mNext : main_ids::mPrev);
        return true;
    }
    return false;
}

std::u16string pickerStartFolder(const std::u16string& stateFile) {
    const std::u16string remembered = loadWindowState(stateFile).pickerFolder;
    if (!remembered.empty() && folderExists(remembered)) return remembered;
    return fromQ(QDir::currentPath());
}

void openArguments(SkinWindow& window, const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1Char('-'))) continue;
        MainWindow& form = window.form();
        const std::u16string path = fromQ(QFileInfo(arguments[i]).absoluteFilePath());
        guarded(form, [&] { form.openRequested(path); });
        return;
    }
}

}  // namespace lodestar::ui
