#include "ChildProcess.h"

#include <exception>
#include <stdexcept>

#ifndef _WIN32
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace leafmill::test {

namespace fs = std::filesystem;

#ifdef _WIN32

void handOver(const fs::path&)
{
}
ChildResult runProgram(const std::string&, const std::vector<std::string>&, const ChildSetup&)
{
    return {};
}
ChildResult runInChild(const std::function<std::string()>&, const ChildSetup&)
{
    return {};
}

#else

namespace {

constexpr uid_t kNobody = 65534;

// Runs in the child before it does its work; exits on any failure, since
// the child would then test something else than asked.
void prepareChild(const ChildSetup& setup)
{
    for (const auto& [name, value] : setup.environment)
        setenv(name.c_str(), value.c_str(), 1);
    if (setup.fileSizeLimit > 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {static_cast<rlim_t>(setup.fileSizeLimit), static_cast<rlim_t>(setup.fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(120);
    }
    if (setup.ordinaryUser && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(121);
    }
}

// Forks a child that runs `work` and then ends; -1 when there is none.
pid_t forkChild(const std::function<void()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(125);
    }
    return child;
}

ChildResult waitFor(pid_t child)
{
    ChildResult result;
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return result;
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

}  // namespace

void handOver(const fs::path& folder)
{
    const auto give = [](const fs::path& path) {
        if (geteuid() == 0 && lchown(path.c_str(), kNobody, kNobody) != 0)
            throw std::runtime_error("cannot hand " + path.string() + " over to nobody");
    };
    give(folder);
    fs::permissions(folder, fs::perms::all);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        give(entry.path());
        if (!entry.is_symlink())
            fs::permissions(entry.path(), entry.is_directory() ? fs::perms::all : fs::perms(0666));
    }
}

ChildResult runProgram(const std::string& program, const std::vector<std::string>& arguments, const ChildSetup& setup)
{
    // Pipes, not files: a file-size limit of the child must not cut its messages.
    int out[2], err[2];
    if (pipe(out) != 0)
        return {};
    if (pipe(err) != 0) {
        close(out[0]);
        close(out[1]);
        return {};
    }
    const pid_t child = forkChild([&] {
        if (dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0)
            _exit(122);
        close(out[0]);
        close(err[0]);
        close(out[1]);
        close(err[1]);
        prepareChild(setup);
        std::vector<char*> argv {const_cast<char*>(program.c_str())};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(123);
    });
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
    int open = 2;
    while (open > 0 && poll(channels, 2, -1) > 0) {
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
    ChildResult result = waitFor(child);
    result.out = std::move(texts[0]);
    result.err = std::move(texts[1]);
    return result;
}

ChildResult runInChild(const std::function<std::string()>& body, const ChildSetup& setup)
{
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const pid_t child = forkChild([&] {
        close(channel[0]);
        prepareChild(setup);
        // Nothing may leave the child by an exception: it would return into
        // the test runner and run the remaining tests a second time.
        std::string text;
        try {
            text = body();
        } catch (const std::exception& error) {
            text = std::string("exception: ") + error.what();
        } catch (...) {
            text = "exception";
        }
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = write(channel[1], text.data() + done, text.size() - done);
            if (written <= 0)
                _exit(124);
            done += static_cast<std::size_t>(written);
        }
        _exit(0);
    });
    close(channel[1]);
    if (child < 0) {
        close(channel[0]);
        return {};
    }
    std::string text;
    char block[4096];
    for (ssize_t got; (got = read(channel[0], block, sizeof block)) > 0;)
        text.append(block, static_cast<std::size_t>(got));
    close(channel[0]);
    ChildResult result = waitFor(child);
    result.out = std::move(text);
    return result;
}

#endif

}  // namespace leafmill::test
