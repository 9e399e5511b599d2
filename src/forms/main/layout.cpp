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
    c_.setHeight("inRepFrom", 1700);
    const Rect logger = c_["logger"].geometry;
    for (const char* bar : {"pgBarBack", "pgBarFore"}) {
        Rect r = c_[bar].geometry;
        r.left = logger.left + 50;
        r.width = bar == std::string("pgBarBack") ? logger.width - 100 : 0;
        r.height = kBarHeight;
        c_.setGeometry(bar, r);
    }
    StatusLine::arrange(c_, c_["statusbar"].geometry.width);
}

void WindowLayout::resize() {
    const double S = size_.innerHeight;
    const double W = size_.innerWidth;
    const double OW = size_.outerWidth;
    auto setHeightIfSound = [&](const char* name, double h) {
        if (h >= 0) c_.setHeight(name, h);
    };

    if (get("SuperMonitor", &Rect::top) + 400 < S) {
        c_.setHeight("Frame1", S - 700);
        c_.setHeight("Frame2", S - 700);
        setHeightIfSound("inRepFrom", (get("Frame1", &Rect::height) - 2100) * 0.3);
        const Rect from = c_["inRepFrom"].geometry;
        c_.setTop("inRepWith", from.bottom() + 300);
        setHeightIfSound("inRepWith", from.height);
        const Rect with = c_["inRepWith"].geometry;
        c_.setTop("logtitle", with.bottom() + 50);
        c_.setTop("logger", with.bottom() + 300);
        // The progress bar lies under the log, inside the panel, where it can be seen.
        setHeightIfSound("logger",
                         get("Frame1", &Rect::height) - kProgressRoom - get("logger", &Rect::top));
        const double barY = c_["logger"].geometry.bottom() + 80;
        for (const char* bar : {"pgBarBack", "pgBarFore"}) {
            c_.setTop(bar, barY);
            c_.setHeight(bar, kBarHeight);
        }
        c_.setTop("Label2", with.top - 265);  // just above its box
        arrangePanes();
        c_.setHeight("splitter", S);
        c_.setHeight("splitshad", S);
    }
    if (W > 5000) {
        const double width = W - 50 - get("Frame2", &Rect::left);
        c_.setWidth("Frame2", width);
        for (const char* pane : {"SuperMonitor", "MatchView", "ListView"}) c_.setWidth(pane, width);
        for (const char* s : {"splitter2", "splitshad2", "splitter3", "splitShad3"})
            c_.setWidth(s, get("Frame2", &Rect::width));
        c_.setWidth("ToolBar", OW - 100);
        c_.setLeft("Frame3", get("ToolBar", &Rect::width) - get("Frame3", &Rect::width));
        const double pathLeft = get("inputPath", &Rect::left);
        const double groupLeft = get("Frame3", &Rect::left);
        if (pathLeft + 100 < groupLeft) c_.setWidth("inputPath", groupLeft - pathLeft - 100);
    }
    applyLeftShare();
    // All of the status bar inside the window, its fields side by side.
    c_.setLeft("statusbar", 0);
    c_.setWidth("statusbar", W);
    c_.setTop("statusbar", S - get("statusbar", &Rect::height));
    StatusLine::arrange(c_, W);
    widenLoggerMargins();
}

void WindowLayout::arrangePanes() {
    const long long S = std::llround(size_.innerHeight);
    const double half = double(S / 2);
    const double third = double(S / 3);
    const double H = get("Frame2", &Rect::height);
    const bool list = c_["ListView"].visible;
    const bool source = c_["SuperMonitor"].visible;
    const bool matches = c_["MatchView"].visible;
    if (!list && !source) return;

    auto place = [&](const char* pane, double top, double height) {
        c_.setTop(pane, top);
        if (height >= 0) c_.setHeight(pane, height);
    };
    auto bottom = [&](const char* pane) { return c_[pane].geometry.bottom(); };

    if (list && source && matches) {
        place("ListView", kPaneTop, third);
        place("SuperMonitor", bottom("ListView") + kPaneGap, third);
        const double top = bottom("SuperMonitor") + kPaneGap;
        place("MatchView", top, H - top);
    } else if (list && source) {
        place("ListView", kPaneTop, half - 50);
        const double top = bottom("ListView") + kPaneGap;
        place("SuperMonitor", top, H - top - 50);
    } else if (list && matches) {
        place("ListView", kPaneTop, half - 50);
        place("MatchView", half + kPaneTop, H - (half + kPaneTop));
    } else if (list) {
        place("ListView", kPaneTop, H - kPaneTop);
    } else if (matches) {
        place("SuperMonitor", kPaneTop, half - 50);
        const double top = bottom("SuperMonitor") + kPaneGap;
        place("MatchView", top, H - top);
    } else {
        place("SuperMonitor", kPaneTop, H - kPaneTop);
    }
    if (list) c_.setTop("splitter2", bottom("ListView"));
    if (source) c_.setTop("splitter3", bottom("SuperMonitor"));
    applyPaneShares();
}

void WindowLayout::sizeControls(double& x) {
    const double OW = size_.outerWidth;
    if (x > OW - 6000) x = OW - 6000;
    if (x < 2800) x = 2800;  // checked last: the minimum wins in a narrow window
    const double d = std::round(x - get("Frame1", &Rect::width));
    c_.setWidth("Frame1", x);
    for (const char* box : {"inRepFrom", "inRepWith", "logger", "pgBarBack"})
        c_.setWidth(box, get(box, &Rect::width) + d);
    widenLoggerMargins();
    c_.setLeft("splitter", get("splitter", &Rect::left) + d);
    c_.setLeft("Frame2", get("Frame2", &Rect::left) + d);
    c_.setWidth("Frame2", get("Frame2", &Rect::width) - d);
    c_.setWidth("SuperMonitor", get("SuperMonitor", &Rect::width) - d);
    const double width = get("SuperMonitor", &Rect::width);
    for (const char* name :
         {"ListView", "MatchView", "splitter2", "splitshad2", "splitter3", "splitShad3"})
        c_.setWidth(name, width);
}

void WindowLayout::sizeControls2(double& y) {
    if (y < 1000) y = 1000;
    if (y > get("splitter3", &Rect::top) - 1000) y = get("splitter3", &Rect::top) - 1000;
    const double d = y - get("ListView", &Rect::height);
    c_.setHeight("ListView", y);
    c_.setTop("splitter2", get("splitter2", &Rect::top) + d);
    const char* below = c_["SuperMonitor"].visible ? "SuperMonitor" : "MatchView";
    c_.setTop(below, get(below, &Rect::top) + d);
    c_.setHeight(below, get(below, &Rect::height) - d);
}

void WindowLayout::sizeControls3(double& y) {
    const double sourceTop = get("SuperMonitor", &Rect::top);
    if (y < sourceTop + 1000) y = sourceTop + 1000;
    if (y > size_.outerHeight - 2000) y = size_.outerHeight - 2000;
    const double d = y - get("splitter3", &Rect::top);
    c_.setHeight("SuperMonitor", y - sourceTop);
    c_.setTop("splitter3", get("splitter3", &Rect::top) + d);
    c_.setTop("MatchView", get("MatchView", &Rect::top) + d);
    c_.setHeight("MatchView", get("MatchView", &Rect::height) - d);
}

std::string WindowLayout::shadowOf(const std::string& splitter) {
    if (splitter == "splitter") return "splitshad";
    if (splitter == "splitter2") return "splitshad2";
    return "splitShad3";
}

void WindowLayout::splitterDown(const std::string& splitter) {
    const Rect s = c_[splitter].geometry;
    Rect shadow{s.left, s.top, 0, 0};
    if (splitter == "splitter") {
        shadow.width = std::floor(s.width / 2);
        shadow.height = s.height - 20;
    } else {
        shadow.width = s.width - 50;
        shadow.height = std::floor(s.height / 2);
    }
    const std::string name = shadowOf(splitter);
    c_.setGeometry(name, shadow);
    c_.setVisible(name, true);
    splitDragging_ = true;
}

void WindowLayout::splitterMove(const std::string& splitter, double offset) {
    if (!splitDragging_) return;
    const std::string shadow = shadowOf(splitter);
    if (splitter == "splitter") {
        const double p = get(splitter, &Rect::left) + offset;
        c_.setLeft(shadow, p < 500 ? 500 : std::min(p, size_.outerWidth - 500));
    } else {
        // Kept inside the right panel; the release clamps the position again.
        const double p = get(splitter, &Rect::top) + offset;
        const double lowest = get("Frame2", &Rect::height) - get(shadow, &Rect::height);
        c_.setTop(shadow, p < 500 ? 500 : std::max(500.0, std::min(p, lowest)));
    }
}

void WindowLayout::splitterUp(const std::string& splitter) {
    const std::string shadow = shadowOf(splitter);
    if (splitter == "splitter") {
        double x = get(shadow, &Rect::left);
        sizeControls(x);
    } else {
        double y = get(shadow, &Rect::top);
        if (splitter == "splitter2")
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
