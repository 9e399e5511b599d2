// Running long work on a worker thread and bringing its reports back to the window.
#include "ui/qt_work_runner.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <memory>
#include <utility>

namespace lodestar::ui {

namespace {
// Reports are taken for this long at a time; then the window's own events (input, painting,
// the pages' answers) come first for a moment.
constexpr qint64 kSliceMs = 12;
constexpr int kPauseMs = 4;
}  // namespace

QtWorkRunner::QtWorkRunner() : receiver_(new QObject) {
    pool_.setMaxThreadCount(1);
}

QtWorkRunner::~QtWorkRunner() {
    pool_.clear();  // runs that have not begun
    {
        // A work waiting for an answer would otherwise wait for a thread that waits for it.
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    answered_.notify_all();
    pool_.waitForDone();
    delete receiver_;  // reports and finished calls still queued for it go with it
}

bool QtWorkRunner::settle(int ms) {
    pool_.clear();
    {
        std::lock_guard lock(mutex_);
        closing_ = true;  // a work waiting for an answer gets none
    }
    answered_.notify_all();
    return pool_.waitForDone(ms);
}

void QtWorkRunner::start(std::function<void()> work, std::function<void()> finished) {
    pool_.start([this, work = std::move(work), finished = std::move(finished)]() mutable {
        work();
        // Queued behind every report the work posted, so it runs last.
        post(std::move(finished));
    });
}

void QtWorkRunner::post(std::function<void()> report) {
    bool due = false;
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back(std::move(report));
        due = !std::exchange(drainDue_, true);
    }
    if (due)
        QMetaObject::invokeMethod(
            receiver_, [this] { drain(); }, Qt::QueuedConnection);
}

void QtWorkRunner::drain() {
    QElapsedTimer slice;
    slice.start();
    for (;;) {
        std::function<void()> report;
        {
            std::lock_guard lock(queueMutex_);
            if (queue_.empty()) {
                drainDue_ = false;
                return;
            }
            report = std::move(queue_.front());
            queue_.pop_front();
        }
        report();
        if (slice.elapsed() >= kSliceMs) {
            // A timer, not a posted call: posted calls would run before the window's events.
            QTimer::singleShot(kPauseMs, receiver_, [this] { drain(); });
            return;
        }
    }
}

void QtWorkRunner::ask(std::function<void()> question) {
    auto done = std::make_shared<bool>(false);
    post([this, done, question = std::move(question)] {
        question();
        {
            std::lock_guard lock(mutex_);
            *done = true;
        }
        answered_.notify_all();
    });
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return *done || closing_; });
}

}  // namespace lodestar::ui
