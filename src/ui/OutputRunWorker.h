#pragma once

#include "convert/OutputRun.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QThread;

namespace leafmill {

// Runs one output run on a thread of its own and reports to the window's
// thread: progress through queued signals, the start of each source as a call
// the run waits for, so the window shows it before the run goes on. The
// window asks before it stops a run, so a stop that reaches the run ends it.
class OutputRunWorker : public QObject, private RunListener {
    Q_OBJECT
public:
    explicit OutputRunWorker(std::unique_ptr<OutputRun> run, QObject* parent = nullptr);
    // Stops the run and waits for it.
    ~OutputRunWorker() override;

    void start(std::string bookName, std::vector<std::string> sources, std::string outputFolder);

    // A stop the user has confirmed: it ends the run at once, a reader at work
    // included, after the page being written.
    void stopWithoutAsking();
    // While held, the run waits at its next page or source, so that a question
    // asked meanwhile is answered before the book grows.
    void hold();
    void release();

    // Valid once finished() was emitted.
    const RunResult& result() const { return result_; }
    // The kind of book the run makes, which words the target's part of the end.
    const OutputTarget& target() const { return run_->target(); }

signals:
    // On the window's thread, before the source is converted.
    void sourceShown(int index, const QString& path);
    void runProgressChanged(int value);
    void sourceProgressChanged(int value);
    void finished();

private:
    void sourceStarted(std::size_t index, const std::string& path) override;
    void runProgress(int value) override;
    void sourceProgress(int value) override;
    bool confirmStop() override;
    // Runs `call` on the window's thread and waits for its answer; gives
    // `abandoned` when the worker is destroyed meanwhile.
    bool onWindowThread(std::function<bool()> call, bool abandoned);
    void waitWhileHeld();

    std::unique_ptr<OutputRun> run_;
    QThread* thread_ = nullptr;
    std::atomic<bool> stopConfirmed_ {false};
    std::mutex mutex_;
    std::condition_variable answered_;
    bool abandoned_ = false;  // guarded by mutex_
    bool held_ = false;  // guarded by mutex_
    RunResult result_;
};

}  // namespace leafmill
