// Window geometry. Heights that would come out negative in a very small window leave their
// control at its previous size instead.
#include "forms/main/layout.h"

#include "forms/main/status_line.h"

#include <algorithm>
#include <cmath>

namespace lodestar {

namespace {
constexpr double kPaneGap = 50;
constexpr double kPaneTop = 90;
constexpr double kProgressRoom = 260;  // below the log: the progress bar and a margin
constexpr double kBarHeight = 120;
}  // namespace

void WindowLayout::initialGeometry() {
    c_.setHeight(main_ids::inRepFrom, 1700);
    const Rect logger = c_[main_ids::logger].geometry;
    for (ControlId bar : {main_ids::pgBarBack, main_ids::pgBarFore}) {
        Rect r = c_[bar].geometry;
        r.left = logger.left + 50;
        r.width = bar == main_ids::pgBarBack ? logger.width - 100 : 0;
        r.height = kBarHeight;
        c_.setGeometry(bar, r);
    }
    StatusLine::arrange(c_, c_[main_ids::statusbar].geometry.width);
}

void WindowLayout::resize() {
    const double S = size_.innerHeight;
    const double W = size_.innerWidth;
    const double OW = size_.outerWidth;
    auto setHeightIfSound = [&](ControlId name, double h) {
        if (h >= 0) c_.setHeight(name, h);
    };

    if (get(main_ids::SuperMonitor, &Rect::top) + 400 < S) {
        c_.setHeight(main_ids::Frame1, S - 700);
        c_.setHeight(main_ids::Frame2, S - 700);
        setHeightIfSound(main_ids::inRepFrom, (get(main_ids::Frame1, &Rect::height) - 2100) * 0.3);
        const Rect from = c_[main_ids::inRepFrom].geometry;
        c_.setTop(main_ids::inRepWith, from.bottom() + 300);
        setHeightIfSound(main_ids::inRepWith, from.height);
        const Rect with = c_[main_ids::inRepWith].geometry;
        c_.setTop(main_ids::logtitle, with.bottom() + 50);
        c_.setTop(main_ids::logger, with.bottom() + 300);
        // The progress bar lies under the log, inside the panel, where it can be seen.
        setHeightIfSound(main_ids::logger, get(main_ids::Frame1, &Rect::height) - kProgressRoom -
                                               get(main_ids::logger, &Rect::top));
        const double barY = c_[main_ids::logger].geometry.bottom() + 80;
        for (ControlId bar : {main_ids::pgBarBack, main_ids::pgBarFore}) {
            c_.setTop(bar, barY);
            c_.setHeight(bar, kBarHeight);
        }
        c_.setTop(main_ids::Label2, with.top - 265);  // just above its box
        arrangePanes();
        c_.setHeight(main_ids::splitter, S);
        c_.setHeight(main_ids::splitshad, S);
    }
    if (W > 5000) {
        const double width = W - 50 - get(main_ids::Frame2, &Rect::left);
        c_.setWidth(main_ids::Frame2, width);
        for (ControlId pane : {main_ids::SuperMonitor, main_ids::MatchView, main_ids::ListView})
            c_.setWidth(pane, width);
        for (ControlId s :
             {main_ids::splitter2, main_ids::splitshad2, main_ids::splitter3, main_ids::splitShad3})
            c_.setWidth(s, get(main_ids::Frame2, &Rect::width));
        c_.setWidth(main_ids::ToolBar, OW - 100);
        c_.setLeft(main_ids::Frame3,
                   get(main_ids::ToolBar, &Rect::width) - get(main_ids::Frame3, &Rect::width));
        const double pathLeft = get(main_ids::inputPath, &Rect::left);
        const double groupLeft = get(main_ids::Frame3, &Rect::left);
        // The path box takes the room the group leaves, however little.
        c_.setWidth(main_ids::inputPath, std::max(0.0, groupLeft - pathLeft - 100));
    }
    applyLeftShare();
    // All of the status bar inside the window, its fields side by side.
    c_.setLeft(main_ids::statusbar, 0);
    c_.setWidth(main_ids::statusbar, W);
    c_.setTop(main_ids::statusbar, S - get(main_ids::statusbar, &Rect::height));
    StatusLine::arrange(c_, W);
    widenLoggerMargins();
}

void WindowLayout::arrangePanes() {
    const long long S = std::llround(size_.innerHeight);
    const double half = double(S / 2);
    const double third = double(S / 3);
    const double H = get(main_ids::Frame2, &Rect::height);
    const bool list = c_[main_ids::ListView].visible;
    const bool source = c_[main_ids::SuperMonitor].visible;
    const bool matches = c_[main_ids::MatchView].visible;
    if (!list && !source) return;

    auto place = [&](ControlId pane, double top, double height) {
        c_.setTop(pane, top);
        if (height >= 0) c_.setHeight(pane, height);
    };
    auto bottom = [&](ControlId pane) { return c_[pane].geometry.bottom(); };

    if (list && source && matches) {
        place(main_ids::ListView, kPaneTop, third);
        place(main_ids::SuperMonitor, bottom(main_ids::ListView) + kPaneGap, third);
        const double top = bottom(main_ids::SuperMonitor) + kPaneGap;
        place(main_ids::MatchView, top, H - top);
    } else if (list && source) {
        place(main_ids::ListView, kPaneTop, half - 50);
        const double top = bottom(main_ids::ListView) + kPaneGap;
        place(main_ids::SuperMonitor, top, H - top - 50);
    } else if (list && matches) {
        place(main_ids::ListView, kPaneTop, half - 50);
        place(main_ids::MatchView, half + kPaneTop, H - (half + kPaneTop));
    } else if (list) {
        place(main_ids::ListView, kPaneTop, H - kPaneTop);
    } else if (matches) {
        place(main_ids::SuperMonitor, kPaneTop, half - 50);
        const double top = bottom(main_ids::SuperMonitor) + kPaneGap;
        place(main_ids::MatchView, top, H - top);
    } else {
        place(main_ids::SuperMonitor, kPaneTop, H - kPaneTop);
    }
    if (list) c_.setTop(main_ids::splitter2, bottom(main_ids::ListView));
    if (source) c_.setTop(main_ids::splitter3, bottom(main_ids::SuperMonitor));
    applyPaneShares();
}

void WindowLayout::sizeControls(double& x) {
    const double OW = size_.outerWidth;
    if (x > OW - 6000) x = OW - 6000;
    if (x < 2800) x = 2800;  // checked last: the minimum wins in a narrow window
    const double d = std::round(x - get(main_ids::Frame1, &Rect::width));
    c_.setWidth(main_ids::Frame1, x);
    for (ControlId box :
         {main_ids::inRepFrom, main_ids::inRepWith, main_ids::logger, main_ids::pgBarBack})
        c_.setWidth(box, get(box, &Rect::width) + d);
    widenLoggerMargins();
    c_.setLeft(main_ids::splitter, get(main_ids::splitter, &Rect::left) + d);
    c_.setLeft(main_ids::Frame2, get(main_ids::Frame2, &Rect::left) + d);
    c_.setWidth(main_ids::Frame2, get(main_ids::Frame2, &Rect::width) - d);
    c_.setWidth(main_ids::SuperMonitor, get(main_ids::SuperMonitor, &Rect::width) - d);
    const double width = get(main_ids::SuperMonitor, &Rect::width);
    for (ControlId name : {main_ids::ListView, main_ids::MatchView, main_ids::splitter2,
                           main_ids::splitshad2, main_ids::splitter3, main_ids::splitShad3})
        c_.setWidth(name, width);
}

void WindowLayout::sizeControls2(double& y) {
    if (y < 1000) y = 1000;
    if (y > get(main_ids::splitter3, &Rect::top) - 1000)
        y = get(main_ids::splitter3, &Rect::top) - 1000;
    const double d = y - get(main_ids::ListView, &Rect::height);
    c_.setHeight(main_ids::ListView, y);
    c_.setTop(main_ids::splitter2, get(main_ids::splitter2, &Rect::top) + d);
    const ControlId below =
        c_[main_ids::SuperMonitor].visible ? main_ids::SuperMonitor : main_ids::MatchView;
    c_.setTop(below, get(below, &Rect::top) + d);
    c_.setHeight(below, get(below, &Rect::height) - d);
}

void WindowLayout::sizeControls3(double& y) {
    const double sourceTop = get(main_ids::SuperMonitor, &Rect::top);
    if (y < sourceTop + 1000) y = sourceTop + 1000;
    if (y > size_.outerHeight - 2000) y = size_.outerHeight - 2000;
    const double d = y - get(main_ids::splitter3, &Rect::top);
    c_.setHeight(main_ids::SuperMonitor, y - sourceTop);
    c_.setTop(main_ids::splitter3, get(main_ids::splitter3, &Rect::top) + d);
    c_.setTop(main_ids::MatchView, get(main_ids::MatchView, &Rect::top) + d);
    c_.setHeight(main_ids::MatchView, get(main_ids::MatchView, &Rect::height) - d);
}

ControlId WindowLayout::shadowOf(std::string_view splitter) {
    if (splitter == main_ids::splitter) return main_ids::splitshad;
    if (splitter == main_ids::splitter2) return main_ids::splitshad2;
    return main_ids::splitShad3;
}

void WindowLayout::splitterDown(std::string_view splitter) {
    const Rect s = c_[splitter].geometry;
    Rect shadow{s.left, s.top, 0, 0};
    if (splitter == main_ids::splitter) {
        shadow.width = std::floor(s.width / 2);
        shadow.height = s.height - 20;
    } else {
        shadow.width = s.width - 50;
        shadow.height = std::floor(s.height / 2);
    }
    const ControlId name = shadowOf(splitter);
    c_.setGeometry(name, shadow);
    c_.setVisible(name, true);
    splitDragging_ = true;
}

void WindowLayout::splitterMove(std::string_view splitter, double offset) {
    if (!splitDragging_) return;
    const ControlId shadow = shadowOf(splitter);
    if (splitter == main_ids::splitter) {
        const double p = get(splitter, &Rect::left) + offset;
        c_.setLeft(shadow, p < 500 ? 500 : std::min(p, size_.outerWidth - 500));
    } else {
        // Kept inside the right panel; the release clamps the position again.
        const double p = get(splitter, &Rect::top) + offset;
        const double lowest = get(main_ids::Frame2, &Rect::height) - get(shadow, &Rect::height);
        c_.setTop(shadow, p < 500 ? 500 : std::max(500.0, std::min(p, lowest)));
    }
}

void WindowLayout::splitterUp(std::string_view splitter) {
    const ControlId shadow = shadowOf(splitter);
    if (splitter == main_ids::splitter) {
        double x = get(shadow, &Rect::left);
        sizeControls(x);
    } else {
        double y = get(shadow, &Rect::top);
        if (splitter == main_ids::splitter2)
            sizeControls2(y);
        else
            sizeControls3(y);
    }
    c_.setVisible(shadow, false);
    splitDragging_ = false;
    noteSplitShare(splitter);
}

void WindowLayout::widenLoggerMargins() {
    if (loggerMargin_ >= 4) return;
    loggerMargin_ += 2;
}

}  // namespace lodestar
