// leafmill-cli: the output run of the program, for scripts.
#include "cli/CliOptions.h"
#include "cli/Commands.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace leafmill::cli;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CliOptions options;
    std::string error;
    if (!parseCommandLine(arguments, &options, &error)) {
        std::fprintf(stderr, "leafmill-cli: %s\nTry 'leafmill-cli --help' for more information.\n", error.c_str());
        return kExitCannotStart;
    }
    switch (options.command) {
    case CliOptions::Command::Help:
        std::fputs(usageText().c_str(), stdout);
        return kExitDone;
    case CliOptions::Command::Version:
        std::puts("leafmill-cli " LEAFMILL_VERSION_TEXT);
        return kExitDone;
    case CliOptions::Command::Text:
        return runTextCommand(options);
    case CliOptions::Command::Check:
        return runCheckCommand(options);
    case CliOptions::Command::IPods:
    case CliOptions::Command::Send:
    case CliOptions::Command::Remove:
    case CliOptions::Command::NextVolume:
        return runIPodCommand(options);
    case CliOptions::Command::Book:
        break;
    }
    return runBookCommand(options);
}
