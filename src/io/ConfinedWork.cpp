#include "io/ConfinedWork.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#endif

#if defined(__SANITIZE_ADDRESS__)
#define LEAFMILL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEAFMILL_ADDRESS_SANITIZER 1
#endif
#endif

namespace leafmill {

namespace {

class InPlaceChannel : public WorkChannel {
public:
    explicit InPlaceChannel(const MessageReceiver& receive)
        : receive_(receive)
    {
    }
    void send(char kind, std::string_view bytes) override { receive_(kind, bytes); }

private:
    const MessageReceiver& receive_;
};

WorkOutcome runInPlace(const ConfinedWorkBody& work, const MessageReceiver& receive)
{
    InPlaceChannel channel(receive);
    try {
        work(channel);
        return {};
    } catch (const std::bad_alloc&) {
        return {WorkEnd::OverMemory, {}};
    } catch (const std::exception& error) {
        return {WorkEnd::Failed, error.what()};
    }
}

#ifndef _WIN32

using Clock = std::chrono::steady_clock;

// What the work threw, sent before the child ends.
constexpr char kThrown = '\0';
constexpr int kFinishedExit = 0;
constexpr int kOverMemoryExit = 70;
constexpr int kThrewExit = 71;
constexpr int kWatchMilliseconds = 50;
constexpr int kClockPerProcessorTime = 3;
// A frame: the kind, the length of the bytes, the bytes.
constexpr std::size_t kFrameHead = 1 + sizeof(std::uint64_t);

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

class PipeChannel : public WorkChannel {
public:
    explicit PipeChannel(int fd)
        : fd_(fd)
    {
    }
    void send(char kind, std::string_view bytes) override
    {
        char head[kFrameHead];
        head[0] = kind;
        const std::uint64_t size = bytes.size();
        std::memcpy(head + 1, &size, sizeof size);
        // Nobody waits for the rest when the other side has gone.
        if (!writeAll(fd_, head, sizeof head) || !writeAll(fd_, bytes.data(), bytes.size()))
            _exit(kThrewExit);
    }

private:
    int fd_;
};

// Pages of the process at the path's statm field (0: its size, 1: resident).
std::uint64_t statmBytes(const char* path, int field)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[128] = {};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got <= 0)
        return 0;
    const char* at = text;
    for (int i = 0; i < field && at; ++i)
        if ((at = std::strchr(at, ' ')))
            ++at;
    return at ? std::strtoull(at, nullptr, 10) * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) : 0;
}

std::uint64_t residentBytes(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/statm";
    return statmBytes(path.c_str(), 1);
}

[[noreturn]] void overMemory()
{
    _exit(kOverMemoryExit);
}

[[noreturn]] void runChild(const ConfinedWorkBody& work, const WorkLimits& limits, int fd, pid_t parent)
{
#ifdef __linux__
    // The child goes with the program, whatever ends it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if (::getppid() != parent)
        _exit(kThrewExit);
    // Ctrl-C reaches the whole process group; the waiting side decides.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGPIPE, SIG_DFL);
    if (limits.time.count() > 0) {
        const auto seconds = static_cast<rlim_t>((limits.time.count() + 999) / 1000);
        const rlimit cpu {seconds, seconds + 1};
        ::setrlimit(RLIMIT_CPU, &cpu);
    }
#ifndef LEAFMILL_ADDRESS_SANITIZER
    // The limit is on top of the address space the child starts with (where
    // the system tells it; elsewhere the watcher's look holds it).
    if (const std::uint64_t held = statmBytes("/proc/self/statm", 0); limits.memoryBytes > 0 && held > 0) {
        const auto space = static_cast<rlim_t>(held + limits.memoryBytes);
        const rlimit memory {space, space};
        ::setrlimit(RLIMIT_AS, &memory);
    }
#endif
    std::set_new_handler(&overMemory);
    PipeChannel channel(fd);
    try {
        work(channel);
    } catch (const std::bad_alloc&) {
        _exit(kOverMemoryExit);
    } catch (const std::exception& error) {
        channel.send(kThrown, error.what());
        _exit(kThrewExit);
    }
    _exit(kFinishedExit);
}

// Reads the child's frames as they come and hands on each whole one.
class FrameReader {
public:
    FrameReader(int fd, const MessageReceiver& receive)
        : fd_(fd)
        , receive_(receive)
    {
    }

    // False once the child has closed its end.
    bool readSome()
    {
        char block[1 << 16];
        const ssize_t got = ::read(fd_, block, sizeof block);
        if (got < 0)
            return errno == EINTR || errno == EAGAIN;
        if (got == 0)
            return false;
        pending_.append(block, static_cast<std::size_t>(got));
        deliver();
        return true;
    }

    const std::string& thrown() const { return thrown_; }

private:
    void deliver()
    {
        std::size_t at = 0;
        while (pending_.size() - at >= kFrameHead) {
            std::uint64_t size = 0;
            std::memcpy(&size, pending_.data() + at + 1, sizeof size);
            if (pending_.size() - at - kFrameHead < size)
                break;
            const char kind = pending_[at];
            const std::string_view bytes(pending_.data() + at + kFrameHead, static_cast<std::size_t>(size));
            if (kind == kThrown)
                thrown_ = bytes;
            else
                receive_(kind, bytes);
            at += kFrameHead + static_cast<std::size_t>(size);
        }
        pending_.erase(0, at);
    }

    int fd_;
    const MessageReceiver& receive_;
    std::string pending_;
    std::string thrown_;
};

std::string signalName(int number)
{
    const char* name = ::strsignal(number);
    return "signal " + std::to_string(number) + (name ? std::string(" (") + name + ")" : std::string());
}

WorkOutcome endOf(int status, const rusage& usage, const std::string& thrown, const WorkLimits& limits,
                  std::uint64_t residentAtStart)
{
    if (WIFEXITED(status)) {
        switch (WEXITSTATUS(status)) {
        case kFinishedExit:
            return {};
        case kOverMemoryExit:
            return {WorkEnd::OverMemory, {}};
        default:
            return {WorkEnd::Failed,
                    thrown.empty() ? "it ended with status " + std::to_string(WEXITSTATUS(status)) : thrown};
        }
    }
    const int number = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (number == SIGXCPU)
        return {WorkEnd::OverTime, {}};
#ifdef LEAFMILL_ADDRESS_SANITIZER
    constexpr bool allocationsFailAtTheLimit = false;
#else
    constexpr bool allocationsFailAtTheLimit = true;
#endif
    // Libraries that abort when an allocation fails die of SIGABRT or SIGSEGV
    // near the limit. Under the address sanitizer no allocation fails at a
    // limit, and its own mappings make the child's peak no measure of it.
    const auto peak = static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
    if (allocationsFailAtTheLimit && limits.memoryBytes > 0
        && (number == SIGABRT || number == SIGSEGV || number == SIGKILL)
        && peak > residentAtStart + limits.memoryBytes / 2)
        return {WorkEnd::OverMemory, {}};
    return {WorkEnd::Failed, signalName(number)};
}

#endif

}  // namespace

WorkOutcome runConfined(const ConfinedWorkBody& work, const WorkLimits& limits, const MessageReceiver& receive,
                        const std::atomic<bool>* stop)
{
#ifdef _WIN32
    (void)limits;
    (void)stop;
    return runInPlace(work, receive);
#else
    int channel[2];
    if (::pipe(channel) != 0)
        return runInPlace(work, receive);
    // Other programs the process starts meanwhile get no end of it.
    for (const int end : channel)
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        runChild(work, limits, channel[1], parent);
    }
    ::close(channel[1]);
    if (child < 0) {
        ::close(channel[0]);
        return runInPlace(work, receive);
    }
    // What the child holds as it begins, its share of this side's memory (not
    // all of it: mappings the sanitizers keep to themselves stay here).
    const std::uint64_t residentAtStart = residentBytes(child);

    Clock::time_point deadline = Clock::now() + kClockPerProcessorTime * limits.time;
    // Time spent on this side with the messages is not the work's.
    const MessageReceiver timedReceive = [&](char kind, std::string_view bytes) {
        const Clock::time_point before = Clock::now();
        receive(kind, bytes);
        deadline += Clock::now() - before;
    };
    FrameReader reader(channel[0], timedReceive);
    WorkOutcome ended;
    bool killed = false;
    pollfd watched {channel[0], POLLIN, 0};
    for (bool open = true; open;) {
        if (::poll(&watched, 1, kWatchMilliseconds) > 0)
            open = reader.readSome();
        if (!open)
            break;
        if (stop && stop->load())
            ended = {WorkEnd::Stopped, {}};
        else if (limits.time.count() > 0 && Clock::now() > deadline)
            ended = {WorkEnd::OverTime, {}};
        else if (limits.memoryBytes > 0 && residentBytes(child) > residentAtStart + limits.memoryBytes)
            ended = {WorkEnd::OverMemory, {}};
        else
            continue;
        ::kill(child, SIGKILL);
        killed = true;
        break;
    }
    ::close(channel[0]);
    int status = 0;
    rusage usage {};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) { }
    if (killed)
        return ended;
    return endOf(status, usage, reader.thrown(), limits, residentAtStart);
#endif
}

}  // namespace leafmill
