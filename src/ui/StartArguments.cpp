#include "ui/StartArguments.h"

namespace leafmill {

StartArguments readStartArguments(const QStringList& arguments)
{
    StartArguments read;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QStringLiteral("--")) {
            options = false;
        } else if (options && (argument == QStringLiteral("-h") || argument == QStringLiteral("--help"))) {
            return {StartArguments::Command::Help, {}, {}};
        } else if (options && argument == QStringLiteral("--version")) {
            return {StartArguments::Command::Version, {}, {}};
        } else if (options && argument.size() > 1 && argument.startsWith(u'-')) {
            if (read.refused.isEmpty())
                read.refused = argument;
        } else {
            read.paths << argument;
        }
    }
    if (!read.refused.isEmpty())
        read.command = StartArguments::Command::Refused;
    return read;
}

QString startUsage()
{
    return QStringLiteral("Usage: leafmill [FILE | FOLDER]...\n"
                          "Opens the Leafmill window with the files, and the documents in the folders\n"
                          "that Leafmill reads, in its list.\n"
                          "\n"
                          "  -h, --help     show this help and end\n"
                          "      --version  show the version and end\n"
                          "\n"
                          "The window toolkit's own options (-platform NAME, -style NAME, ...) are taken\n"
                          "too. leafmill-cli makes books without a window.\n");
}

}  // namespace leafmill
