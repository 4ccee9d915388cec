#include "FileSizeLimit.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace leafmill::test {

ChildOutcome runWithFileSizeLimit(std::size_t limitBytes, const std::function<bool()>& body)
{
#ifdef _WIN32
    (void)limitBytes;
    (void)body;
    return ChildOutcome::Unsupported;
#else
    const pid_t child = fork();
    if (child < 0)
        return ChildOutcome::Unsupported;
    if (child == 0) {
        // Past the limit a write fails with EFBIG instead of killing the child.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(3);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return ChildOutcome::Crashed;
    return WEXITSTATUS(status) == 0 ? ChildOutcome::ReturnedTrue : ChildOutcome::ReturnedFalse;
#endif
}

}  // namespace leafmill::test
