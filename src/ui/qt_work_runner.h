// The work runner of the desktop program: the work runs on a thread of its own; reports and
// questions come back to the user-interface thread as queued calls, in order, and `finished`
// after them. Destroying the runner waits for the work to end.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "platform/work_runner.h"

class QThread;

namespace lodestar::ui {

class QtWorkRunner : public QObject, public WorkRunner {
    Q_OBJECT
  public:
    explicit QtWorkRunner(QObject* parent = nullptr);
    ~QtWorkRunner() override;

    void start(std::function<void()> work, std::function<void()> finished) override;
    void post(std::function<void()> report) override;
    void ask(std::function<void()> question) override;
    // Waits until the work of the current run has ended (its reports may still be queued).
    void wait();

  private:
    QPointer<QThread> thread_;
};

}  // namespace lodestar::ui
