#include "ChildProcess.h"

#ifndef _WIN32

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace leafmill::test {

// Pipes, not files, so the child's file-size limit cannot cut its output.
ChildResult runProgram(const std::string& program, const std::vector<std::string>& arguments, const ChildSetup& setup)
{
    int out[2], err[2];
    if (pipe(out) != 0)
        return {};
    if (pipe(err) != 0) {
        close(out[0]);
        close(out[1]);
        return {};
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(setup.standardInput.empty() ? "/dev/null" : setup.standardInput.c_str(), O_RDONLY);
        if (in < 0 || dup2(in, 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0)
            _exit(122);
        for (int fd : {in, out[0], out[1], err[0], err[1]})
            close(fd);
        for (const auto& [name, value] : setup.environment)
            setenv(name.c_str(), value.c_str(), 1);
        if (setup.fileSizeLimit > 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {static_cast<rlim_t>(setup.fileSizeLimit), static_cast<rlim_t>(setup.fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(120);
        }
        std::vector<char*> argv {const_cast<char*>(program.c_str())};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(123);
    }
    close(out[1]);
    close(err[1]);
    if (child < 0) {
        close(out[0]);
        close(err[0]);
        return {};
    }
    if (setup.meanwhile)
        setup.meanwhile(child);
    std::string texts[2];
    pollfd channels[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    for (int open = 2; open > 0 && poll(channels, 2, -1) > 0;) {
        for (int i = 0; i < 2; ++i) {
            if (channels[i].fd < 0 || channels[i].revents == 0)
                continue;
            char block[4096];
            const ssize_t got = read(channels[i].fd, block, sizeof block);
            if (got > 0) {
                texts[i].append(block, static_cast<std::size_t>(got));
            } else {
                close(channels[i].fd);
                channels[i].fd = -1;
                --open;
            }
        }
    }
    ChildResult result;
    result.out = std::move(texts[0]);
    result.err = std::move(texts[1]);
    if (int status = 0; waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    return result;
}

}  // namespace leafmill::test

#endif
