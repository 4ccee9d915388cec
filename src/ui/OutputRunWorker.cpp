#include "ui/OutputRunWorker.h"

#include <QThread>

namespace leafmill {

OutputRunWorker::OutputRunWorker(std::unique_ptr<OutputRun> run, QObject* parent)
    : QObject(parent)
    , run_(std::move(run))
{
}

OutputRunWorker::~OutputRunWorker()
{
    if (!thread_)
        return;
    // Nobody will answer the run's calls any more: release a waiting one and
    // let the run end.
    stopWithoutAsking();
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    answered_.notify_all();
    thread_->wait();
    delete thread_;
}

void OutputRunWorker::start(std::string bookName, std::vector<std::string> sources, std::string outputFolder)
{
    thread_ = QThread::create(
        [this, bookName = std::move(bookName), sources = std::move(sources), outputFolder = std::move(outputFolder)] {
            result_ = run_->run(bookName, sources, outputFolder, *this);
        });
    connect(thread_, &QThread::finished, this, &OutputRunWorker::finished);
    thread_->start();
}

void OutputRunWorker::stopWithoutAsking()
{
    stopConfirmed_.store(true);
    run_->requestAbort();
}

void OutputRunWorker::hold()
{
    std::lock_guard lock(mutex_);
    held_ = true;
}

void OutputRunWorker::release()
{
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    answered_.notify_all();
}

void OutputRunWorker::waitWhileHeld()
{
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [this] { return !held_ || abandoned_; });
}

bool OutputRunWorker::onWindowThread(std::function<bool()> call, bool abandoned)
{
    struct Answer {
        bool given = false;
        bool value = false;
    };
    auto answer = std::make_shared<Answer>();
    QMetaObject::invokeMethod(
        this,
        [this, answer, call = std::move(call)] {
            const bool value = call();
            std::lock_guard lock(mutex_);
            answer->value = value;
            answer->given = true;
            answered_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return answer->given || abandoned_; });
    return answer->given ? answer->value : abandoned;
}

void OutputRunWorker::sourceStarted(std::size_t index, const std::string& path)
{
    waitWhileHeld();
    if (stopConfirmed_.load())
        return;
    const QString shown = QString::fromStdString(path);
    onWindowThread(
        [this, index, shown] {
            if (!stopConfirmed_.load())
                emit sourceShown(static_cast<int>(index), shown);
            return true;
        },
        true);
}

void OutputRunWorker::runProgress(int value)
{
    waitWhileHeld();
    emit runProgressChanged(value);
}

void OutputRunWorker::sourceProgress(int value)
{
    waitWhileHeld();
    emit sourceProgressChanged(value);
}

// Only a confirmed stop reaches the run.
bool OutputRunWorker::confirmStop()
{
    return true;
}

}  // namespace leafmill
