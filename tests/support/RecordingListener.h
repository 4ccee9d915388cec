#pragma once

#include "convert/OutputRun.h"

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

}  // namespace leafmill::test
