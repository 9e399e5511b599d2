// The work runner of the desktop program: one worker thread takes the runs in the order they
// were started, so a run started while another works waits in line and the user-interface
// thread never waits. Reports, questions and each run's finished call come back to the
// user-interface thread in order, taken from a queue a slice of time at a time: a work that
// reports faster than the window takes its reports never keeps the window from the user, the
// pages and the screen. Destroying the runner drops the runs that have not begun and whatever
// is still queued for the user-interface thread, and waits for the work in progress.
#pragma once

#include <QThreadPool>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/work_runner.h"

class QObject;

namespace lodestar::ui {

class QtWorkRunner : public WorkRunner {
  public:
    QtWorkRunner();
    ~QtWorkRunner() override;
    QtWorkRunner(const QtWorkRunner&) = delete;
    QtWorkRunner& operator=(const QtWorkRunner&) = delete;

    void start(std::function<void()> work, std::function<void()> finished) override;
    void post(std::function<void()> report) override;
    void ask(std::function<void()> question) override;
    // Drops the runs that have not begun and waits at most `ms` for the one in progress; true
    // when none is left.
    bool settle(int ms);

  private:
    // On the user-interface thread: runs the queued reports for a slice of time, and comes
    // back for the rest once the window has had its turn.
    void drain();

    QThreadPool pool_;       // one thread: runs never overlap
    QObject* receiver_;      // lives on the user-interface thread; its queued calls go with it
    std::mutex queueMutex_;  // guards the queue and drainDue_
    std::deque<std::function<void()>> queue_;
    bool drainDue_ = false;  // a drain is on its way
    std::mutex mutex_;       // guards the answers and closing_
    std::condition_variable answered_;
    bool closing_ = false;
};

}  // namespace lodestar::ui
