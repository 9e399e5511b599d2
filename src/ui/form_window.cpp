// A form's window: its controls built and bound by the control binder, the form's caption and
// size on the window itself.
#include "ui/form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

#include "ui/control_binder.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

FormWindow::FormWindow(Form& form, QWidget* owner, std::function<int(double)> toPixels, Guard guard)
    : QWidget(owner, Qt::Window | Qt::Dialog),
      form_(form),
      toPixels_(std::move(toPixels)),
      guard_(guard) {
    setObjectName(QString::fromStdString(form.name()));
    // The main window's font, whose size follows the screen's dpi as the twips do.
    QFont f = font();
    f.setPixelSize(std::max(11, toPixels_(165)));
    setFont(f);
    ControlEvents events;
    events.click = [this, guard](const std::string& name) { guard([&] { form_.click(name); }); };
    events.pressInBox = events.click;
    events.typeText = [this, guard](const std::string& name, const std::u16string& text) {
        guard([&] { form_.typeText(name, text); });
    };
    events.select = [this, guard](const std::string& name, int index) {
        guard([&] { form_.select(name, index); });
    };
    events.selectText = [this, guard](const std::string& name, std::size_t start,
                                      std::size_t length) {
        guard([&] { form_.selectText(name, start, length); });
    };
    // Enter in a box reaches the window as a key (`keyPressEvent`), which hands it to the form.
    events.focusLost = [this, guard](const std::string& name) {
        guard([&] { form_.focusLost(name); });
    };
    events.settled = [this] { followFocus(); };
    binder_ = new ControlBinder(form_.controls(), ControlLook::Dialog, std::move(events), toPixels_,
                                this);
    binder_->buildAll(this, form_.name());
    form_.controls().onChange([this](const Control& c) { apply(c); });
    for (const std::string& name : form_.controls().names()) apply(form_.controls()[name]);
    if (auto* button = qobject_cast<QPushButton*>(control(form_.defaultButton())))
        button->setDefault(true);
}

std::string FormWindow::focusedControl() const {
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
        for (const std::string& name : form_.controls().names())
            if (control(name) == w) return name;
    return {};
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        const std::string focused = focusedControl();
        guard_([&] { form_.pressEnter(focused); });
        followFocus();
    } else if (plain && event->key() == Qt::Key_Escape) {
        guard_([&] { form_.pressEscape(); });
    } else {
        QWidget::keyPressEvent(event);
    }
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!form_.resizable()) return;
    const double twipsPerPixel = 1440.0 / std::max(1, toPixels_(1440));
    guard_([&] {
        form_.resize(event->size().width() * twipsPerPixel, event->size().height() * twipsPerPixel);
    });
}

void FormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A folder tree scrolls to its folder once it can be laid out.
    for (const std::string& name : form_.controls().names())
        if (form_.controls()[name].kind == ControlKind::Tree)
            binder_->apply(form_.controls()[name]);
}

QWidget* FormWindow::control(std::string_view name) const {
    return binder_->widget(name);
}

void FormWindow::apply(const Control& c) {
    if (c.name == form_.name()) {
        setWindowTitle(toQ(c.text));
        const QSize designed(toPixels_(c.geometry.width), toPixels_(c.geometry.height));
        if (form_.resizable()) {
            setMinimumSize(designed);
            resize(designed.expandedTo(size()));
        } else {
            setFixedSize(designed);
        }
        return;
    }
    binder_->apply(c);
}

void FormWindow::followFocus() {
    if (!form_.focusPending()) return;
    form_.focusFollowed();
    if (QWidget* w = control(form_.focus())) w->setFocus();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    form_.hide();  // the form's host hides this window; it is never destroyed before its owner
}

}  // namespace lodestar::ui
