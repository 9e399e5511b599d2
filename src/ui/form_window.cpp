// A form's window: its controls built and bound by the control binder, the form's caption and
// size on the window itself.
#include "ui/form_window.h"

#include <QCloseEvent>

#include "ui/control_binder.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

FormWindow::FormWindow(Form& form, QWidget* owner, std::function<int(double)> toPixels, Guard guard)
    : QWidget(owner, Qt::Window | Qt::Dialog), form_(form), toPixels_(std::move(toPixels)) {
    setObjectName(QString::fromStdString(form.name()));
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
    events.enter = [this, guard](const std::string& name) { guard([&] { form_.enter(name); }); };
    events.focusLost = [this, guard](const std::string& name) {
        guard([&] { form_.focusLost(name); });
    };
    events.settled = [this] { followFocus(); };
    binder_ = new ControlBinder(form_.controls(), ControlLook::Dialog, std::move(events), toPixels_,
                                this);
    binder_->buildAll(this, form_.name());
    form_.controls().onChange([this](const Control& c) { apply(c); });
    for (const std::string& name : form_.controls().names()) apply(form_.controls()[name]);
}

QWidget* FormWindow::control(const std::string& name) const {
    return binder_->widget(name);
}

void FormWindow::apply(const Control& c) {
    if (c.name == form_.name()) {
        setWindowTitle(toQ(c.text));
        resize(toPixels_(c.geometry.width), toPixels_(c.geometry.height));
        return;
    }
    binder_->apply(c);
}

void FormWindow::followFocus() {
    if (QWidget* w = control(form_.focus())) w->setFocus();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    form_.hide();  // the form's host hides this window; it is never destroyed before its owner
}

}  // namespace lodestar::ui
