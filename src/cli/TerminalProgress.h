#pragma once

#include "convert/OutputRun.h"

#include <cstdio>
#include <string>

namespace leafmill::cli {

// Shows a run's progress as one live line on a terminal; draws nothing when
// the stream is not a terminal, so logs and pipes get no progress noise.
class TerminalProgress : public RunListener {
public:
    TerminalProgress(std::FILE* stream, std::size_t sourceCount);

    void sourceStarted(std::size_t index, const std::string& path) override;
    void runProgress(int value) override;
    void sourceProgress(int value) override;
    // Nothing asks for a stop here; should one come, it is meant.
    bool confirmStop() override { return true; }

    // Ends the live line.
    void finish();

    // The line drawn for the given state, fitted into `columns` terminal
    // columns less one (a line that fills the last column makes some
    // terminals wrap): the bar narrows first, then the name loses its middle.
    static std::string fittedLine(int columns, int runPercent, std::size_t number, std::size_t count,
                                  const std::string& name, int sourcePercent);

private:
    void draw();

    std::FILE* stream_;
    bool live_;
    std::size_t sourceCount_;
    std::size_t index_ = 0;
    std::string name_;
    int run_ = 0;
    int source_ = 0;
    bool drawn_ = false;
};

}  // namespace leafmill::cli
