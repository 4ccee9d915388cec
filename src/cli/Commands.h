#pragma once

#include "cli/CliOptions.h"

namespace leafmill::cli {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitSourceFailed = 1;
inline constexpr int kExitCannotStart = 2;

// One output run; the end message on stdout, failures on stderr.
int runBookCommand(const CliOptions& options);

// The plain text of one source on stdout.
int runTextCommand(const CliOptions& options);

// What the Notes reader finds in a folder, on stdout; 1 when it finds anything.
int runCheckCommand(const CliOptions& options);

// The connected iPods and their books, or a change to the books on one.
int runIPodCommand(const CliOptions& options);

}  // namespace leafmill::cli
