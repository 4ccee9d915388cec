#pragma once

#include "convert/EndMessage.h"
#include "convert/OutputRun.h"
#include "targets/ChosenTarget.h"

#include <functional>
#include <string>
#include <vector>

namespace leafmill::test {

// Records what a run reports and answers the stop question as told.
class RecordingListener : public RunListener {
public:
    void sourceStarted(std::size_t index, const std::string& path) override
    {
        started.push_back(path);
        if (onSourceStarted)
            onSourceStarted(index);
    }
    void runProgress(int value) override
    {
        runValues.push_back(value);
        if (onRunProgress)
            onRunProgress(value);
    }
    void sourceProgress(int value) override { sourceValues.push_back(value); }
    bool confirmStop() override
    {
        ++questions;
        return answer;
    }

    std::vector<std::string> started;
    std::vector<int> runValues;
    std::vector<int> sourceValues;
    std::function<void(std::size_t)> onSourceStarted;
    std::function<void(int)> onRunProgress;
    bool answer = true;
    int questions = 0;
};

// A run's result with the words the front ends give it.
struct WordedResult : RunResult {
    std::string message;  // all the end tells
    std::string summary;
};

// Runs a book of the target given, else of the one the settings choose, and
// words its end.
inline WordedResult runWorded(const Settings& settings, std::shared_ptr<const CodePage> codePage,
                              std::shared_ptr<const LanguageTable> language, const DispatchTable& dispatch,
                              const std::function<RunResult(OutputRun&)>& run,
                              std::unique_ptr<OutputTarget> target = nullptr)
{
    OutputRun outputRun(settings, codePage, target ? std::move(target) : chosenTarget(settings, codePage, language),
                        dispatch);
    WordedResult result {run(outputRun), {}, {}};
    result.message = runMessage(*language, result, outputRun.target());
    result.summary = endSummary(*language, result);
    return result;
}

}  // namespace leafmill::test
