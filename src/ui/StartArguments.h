#pragma once

#include <QString>
#include <QStringList>

namespace leafmill {

// What `leafmill` was started with, after the toolkit took its own options.
struct StartArguments {
    enum class Command { Window, Help, Version, Refused };
    Command command = Command::Window;
    QStringList paths;  // files and folders for the list, in their order
    QString refused;  // the option not understood
};

// Reads the arguments after the program's name. --help and --version win
// over anything else; "--" ends the options, so a file may begin with "-".
StartArguments readStartArguments(const QStringList& arguments);

// The text --help prints.
QString startUsage();

}  // namespace leafmill
