// The status line's fields and texts.
#include "forms/main/status_line.h"

#include <algorithm>
#include <cmath>

#include "core/text.h"
#include "forms/model/control_ids.h"
#include "forms/model/progress_bar.h"

namespace lodestar {

namespace {

constexpr double kGap = 60;
constexpr double kLeft = 45;
constexpr double kTop = 30;
constexpr double kHeight = 240;

// The fields from left to right; a width of 0 shares the room left over by `share`.
struct Field {
    ControlId name;
    double width;
    double share;
};
constexpr Field kFields[] = {
    {main_ids::Label1, 720, 0},        // "Status:"
    {main_ids::lblStatus, 0, 0.45},    //
    {main_ids::lblEncoding, 1650, 0},  // "UTF-8 with BOM"
    {main_ids::lblLineEnds, 720, 0},   // "Mixed"
    {main_ids::Label4, 600, 0},        // "Total:"
    {main_ids::lblTotal, 1080, 0},     // ten digits
    {main_ids::Label5, 1200, 0},       // "Current File:"
    {main_ids::LblCurName, 0, 0.55},   //
};

// A text that says work goes on ("Searching a.txt ...").
bool inProgress(std::u16string_view text) {
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    return text.ends_with(u"...");
}

}  // namespace

void StatusLine::show(const std::u16string& message) {
    if (running_ && message == u"Done.") return;  // the run has not ended yet
    message_ = message;
    paint();
}

void StatusLine::progress(double done, double total, bool files) {
    showProgress(c_, done, total);
    counting_ = running_ && files && total > 0;
    if (!counting_) return;
    const auto whole = [](double n) { return static_cast<std::size_t>(std::max(0.0, n)); };
    if (whole(done) == filesDone_ && whole(total) == files_) return;
    filesDone_ = whole(done);
    files_ = whole(total);
    paint();
}

void StatusLine::runStarted() {
    running_ = true;
    counting_ = stopped_ = false;
    filesDone_ = files_ = 0;
    message_.clear();
}

void StatusLine::runEnded() {
    if (!running_) return;
    running_ = counting_ = false;
    if (stopped_)
        message_ = u"Stopped.";
    else if (message_.empty() || inProgress(message_))
        message_ = u"Done.";
    paint();
}

void StatusLine::settle(bool searchStands) {
    if (!searchStands && !c_[main_ids::lblTotal].text.empty()) c_.setText(main_ids::lblTotal, u"");
}

void StatusLine::paint() {
    std::u16string text = message_;
    if (counting_) {
        std::u16string count =
            u"file " +
            decimal(static_cast<long long>(filesDone_ + 1 > files_ ? files_ : filesDone_ + 1)) +
            u" of " + decimal(static_cast<long long>(files_));
        text = message_.empty() ? count : count + u" \u00b7 " + message_;
    }
    c_.setText(main_ids::lblStatus, text);
    ++repaints_;
}

void StatusLine::arrange(ControlModel& c, double width) {
    double fixed = kLeft;
    for (const Field& f : kFields) fixed += f.width + kGap;
    const double room = std::max(0.0, width - fixed);
    double x = kLeft;
    for (const Field& f : kFields) {
        const double w = f.width > 0 ? f.width : std::floor(room * f.share);
        c.setGeometry(f.name, {x, kTop, w, kHeight});
        x += w + kGap;
    }
    // Stop stands over the encoding while a run goes on.
    Rect stop = c[main_ids::lblEncoding].geometry;
    stop.top = 0;
    stop.height = kHeight + kTop;
    c.setGeometry(main_ids::btnStop, stop);
}

}  // namespace lodestar
