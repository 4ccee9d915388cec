#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::test {

struct ChildSetup {
    // RLIMIT_FSIZE (0: none) with SIGXFSZ ignored: writes past it fail as on a full disk.
    std::size_t fileSizeLimit = 0;
    std::vector<std::pair<std::string, std::string>> environment;
    // The file the child reads as its standard input (empty: /dev/null).
    std::string standardInput;
    // Called in the parent with the child's pid before its output is read (to signal it mid-run).
    std::function<void(int)> meanwhile;
};

struct ChildResult {
    int exitStatus = -1;  // -1 when the child did not exit by itself
    std::string out;
    std::string err;
};

// POSIX only. Runs a program with its stdout and stderr captured.
ChildResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const ChildSetup& setup = {});

}  // namespace leafmill::test
