// The menu bar and the "Used Regexps" pop-up, built from the form's menu entries: captions with
// their access keys, shortcuts, ticks, enabled and visible states, and separators.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <set>
#include <string_view>

#include "forms/model/control_ids.h"
#include "ui/control_binder.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"

namespace lodestar::ui {

namespace {
// Entries that carry a tick (now or after a switch).
const std::set<std::string_view, std::less<>> kTickable = {
    main_ids::mFsrc,    main_ids::mMlist,      main_ids::mViewIn,     main_ids::mWrap,
    main_ids::mIgnore,  main_ids::mGlobal,     main_ids::mDot,        main_ids::mLine,
    main_ids::mEncUtf8, main_ids::mEncUtf16le, main_ids::mEncUtf16be, main_ids::mEnc1252};
// Menus whose entries change: built each time they open.
const std::set<std::string_view, std::less<>> kRecentMenus = {main_ids::mRecent,
                                                              main_ids::mRecentDir};
}  // namespace

void SkinWindow::buildMenus() {
    const ControlModel& model = form_->controls();
    auto hasEntries = [&](const std::string& name) {
        for (const std::string& other : model.names())
            if (model[other].container == name) return true;
        return false;
    };
    for (const std::string& name : model.names()) {
        const Control& c = model[name];
        if (name == main_ids::MainWindow) continue;
        if (c.container.empty()) {
            QMenu* menu = nullptr;
            if (name == main_ids::mPopups) {
                menu = new QMenu(this);  // holds the pop-up; never on the menu bar
            } else {
                menu = menuBar()->addMenu(toQ(c.text));
            }
            menu->setObjectName(QString::fromStdString(name));
            menus_[name] = menu;
            actions_[name] = menu->menuAction();
            continue;
        }
        auto parent = menus_.find(c.container);
        if (parent == menus_.end()) continue;  // a window control
        if (name == main_ids::mRegHis) {
            usedRegexps_ = new QMenu(toQ(c.text), this);
            usedRegexps_->setObjectName(QString::fromStdString(name));
            menus_[name] = usedRegexps_;
            continue;
        }
        if (c.container == main_ids::mRegHis || kRecentMenus.count(c.container))
            continue;  // entries that change: built each time their menu opens
        QAction* action = nullptr;
        if (kRecentMenus.count(name)) {
            QMenu* sub = parent->second->addMenu(toQ(c.text));
            sub->setObjectName(QString::fromStdString(name));
            sub->setToolTipsVisible(true);
            connect(sub, &QMenu::aboutToShow, this, [this, sub, name] { fillMenu(sub, name); });
            menus_[name] = sub;
            action = sub->menuAction();
        } else if (c.text == u"-") {
            action = parent->second->addSeparator();
        } else if (hasEntries(name)) {
            QMenu* sub = parent->second->addMenu(toQ(c.text));
            sub->setObjectName(QString::fromStdString(name));
            menus_[name] = sub;
            action = sub->menuAction();
        } else {
            action = parent->second->addAction(toQ(c.text));
            if (!c.shortcut.empty()) action->setShortcut(QKeySequence(toQ(c.shortcut)));
            action->setCheckable(kTickable.count(name) != 0);
            connect(action, &QAction::triggered, this, [this, name] { command(name); });
        }
        action->setObjectName(QString::fromStdString(name));
        actions_[name] = action;
    }
    // Each menu entry follows its control from now on.
    for (const auto& [name, action] : actions_) applyMenu(model[name]);
}

void SkinWindow::applyMenu(const Control& c) {
    auto it = actions_.find(c.name);
    if (it == actions_.end() || !binder_) return;  // pop-up entries are read when it opens
    QAction* action = it->second;
    binder_->quietly([&] {
        if (!action->isSeparator()) action->setText(toQ(c.text));
        action->setEnabled(c.enabled);
        action->setVisible(c.visible);
        if (action->isCheckable()) action->setChecked(c.checked);
    });
}

void SkinWindow::fillUsedRegexpMenu() {
    fillMenu(usedRegexps_, main_ids::mRegHis);
}

void SkinWindow::fillMenu(QMenu* menu, std::string_view container) {
    menu->clear();
    const ControlModel& model = form_->controls();
    for (const std::string& name : model.names()) {
        const Control& c = model[name];
        if (c.container != container || !c.visible) continue;
        QAction* a = menu->addAction(toQ(c.text));
        a->setObjectName(QString::fromStdString(name));
        a->setToolTip(toQ(c.tooltip));
        a->setEnabled(c.enabled);
        connect(a, &QAction::triggered, this, [this, name] { command(name); });
    }
}

QAction* SkinWindow::action(std::string_view name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

}  // namespace lodestar::ui
