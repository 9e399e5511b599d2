// Running folder work on a thread and bringing its reports back to the window.
#include "ui/qt_work_runner.h"

#include <QMetaObject>
#include <QThread>

namespace lodestar::ui {

QtWorkRunner::QtWorkRunner(QObject* parent) : QObject(parent) {}

QtWorkRunner::~QtWorkRunner() {
    wait();
    delete thread_.data();  // its finished call would come to an object that is gone
}

void QtWorkRunner::wait() {
    if (thread_) thread_->wait();
}

void QtWorkRunner::start(std::function<void()> work, std::function<void()> finished) {
    wait();  // one run at a time; the window allows no second one meanwhile
    QThread* thread = QThread::create(std::move(work));
    thread_ = thread;
    // Queued to this object after every report the work posted, so it runs last.
    connect(thread, &QThread::finished, this, [thread, finished = std::move(finished)] {
        thread->deleteLater();
        finished();
    });
    thread->start();
}

void QtWorkRunner::post(std::function<void()> report) {
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

void QtWorkRunner::ask(std::function<void()> question) {
    QMetaObject::invokeMethod(this, std::move(question), Qt::BlockingQueuedConnection);
}

}  // namespace lodestar::ui
