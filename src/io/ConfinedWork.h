#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace leafmill {

// What confined work may take before it is ended.
struct WorkLimits {
    std::uint64_t memoryBytes = 0;  // beyond what the program held when the work began; 0: no limit
    // Processor time; 0: no limit. The clock allows three times as much, for
    // work that waits, or a machine busy with other programs.
    std::chrono::milliseconds time {0};
};

enum class WorkEnd {
    Finished,  // the work ran to its end
    OverMemory,
    OverTime,
    Stopped,  // the stop flag was set
    Failed,  // it died of a signal or threw; `detail` says how
};

struct WorkOutcome {
    WorkEnd end = WorkEnd::Finished;
    std::string detail;
};

// How the work talks to the side that waits for it: messages of a kind and
// their bytes, received whole and in order.
class WorkChannel {
public:
    virtual ~WorkChannel() = default;
    virtual void send(char kind, std::string_view bytes) = 0;
};

using ConfinedWorkBody = std::function<void(WorkChannel&)>;
// Called on the waiting side for each message; the time it takes does not
// count against the work's time.
using MessageReceiver = std::function<void(char kind, std::string_view bytes)>;

// Runs `work` so that nothing it does can take the program down. On POSIX it
// runs in a child process held to the limits (its address space and its
// processor time by the system; the clock, its memory in use and the stop
// flag by this side, which looks at least every 50 ms): a crash, an
// allocation that fails, a signal such as SIGBUS from a file cut short under
// a mapping, or an endless loop end the child, and this side tells how. Under
// AddressSanitizer, which takes the address space up front, only this side's
// look at the memory in use holds it. Elsewhere the work runs in place and
// only what it throws is caught.
WorkOutcome runConfined(const ConfinedWorkBody& work, const WorkLimits& limits, const MessageReceiver& receive,
                        const std::atomic<bool>* stop);

}  // namespace leafmill
