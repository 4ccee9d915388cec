#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::test {

// How a child process is started.
struct ChildSetup {
    // Run as the unprivileged user "nobody" when started as root, so that
    // file permissions bind as they do for the person using the program.
    bool ordinaryUser = false;
    // RLIMIT_FSIZE in bytes (0: none), with SIGXFSZ ignored so that a write
    // past it fails with EFBIG instead of killing the child.
    std::size_t fileSizeLimit = 0;
    // Environment variables set in the child.
    std::vector<std::pair<std::string, std::string>> environment;
    // Called in the parent with the child's process id once it runs, before
    // its output is collected (to signal it mid-run, say).
    std::function<void(int)> meanwhile;
};

struct ChildResult {
    int exitStatus = -1;  // -1 when the child did not exit by itself
    int signal = 0;  // the signal that ended it, if one did
    std::string out;  // stdout of a program, or what a body returned
    std::string err;
};

// Makes the folder and everything in it the ordinary user's, readable and
// writable by everyone, as files of the person using the program are.
void handOver(const std::filesystem::path& folder);

// Runs a program with its stdout and stderr captured.
ChildResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const ChildSetup& setup = {});

// Runs `body` in a forked child; its returned text comes back in `out`.
ChildResult runInChild(const std::function<std::string()>& body, const ChildSetup& setup = {});

}  // namespace leafmill::test
