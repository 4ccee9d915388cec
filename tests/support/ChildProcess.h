#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::test {

// How a child process is started.
struct ChildSetup {
    // RLIMIT_FSIZE in bytes (0: none), with SIGXFSZ ignored, so that a write
    // past it fails with EFBIG the way a full disk stops it half-way.
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

// POSIX only: the callers' tests are left out on Windows.

// Runs a program with its stdout and stderr captured.
ChildResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const ChildSetup& setup = {});

// Runs `body` in a forked child (limits set there bind the child alone); the
// text it returns comes back in `out`, an exception's message too.
ChildResult runInChild(const std::function<std::string()>& body, const ChildSetup& setup = {});

}  // namespace leafmill::test
