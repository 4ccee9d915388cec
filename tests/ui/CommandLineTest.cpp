// How the program is opened with documents: its command line and the desktop entry that file
// managers use for "Open with".
#include "TestSupport.h"
#include "extract/Formats.h"
#include "ui/StartArguments.h"

#include <QMimeDatabase>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

using Command = StartArguments::Command;

TEST(StartArgumentsTest, PathsForTheListHelpAndVersionFirstAndUnknownOptionsRefused)
{
    const struct {
        QStringList arguments;
        Command command;
        QStringList paths;
    } cases[] = {
        {{}, Command::Window, {}},
        {{"a.txt", "Books"}, Command::Window, {"a.txt", "Books"}},
        {{"a.txt", "--bogus", "--help"}, Command::Help, {}},
        {{"-h"}, Command::Help, {}},
        {{"--version", "a.txt"}, Command::Version, {}},
        {{"--", "-h", "-"}, Command::Window, {"-h", "-"}},
        {{"a.txt", "-x", "b.txt"}, Command::Refused, {"a.txt", "b.txt"}},
    };
    for (const auto& c : cases) {
        const StartArguments read = readStartArguments(c.arguments);
        EXPECT_EQ(read.command, c.command) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(read.paths, c.paths) << c.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(readStartArguments({"-x", "-y"}).refused, QStringLiteral("-x"));
}

// Every kind the program reads is offered to file managers, by the type the system gives such a
// file (shared-mime-info: the name's ending, else the content), and the files chosen are passed on.
TEST(DesktopEntryTest, OpensEveryKindOfDocumentTheProgramReads)
{
    const QString entry = QString::fromStdString(readFile(assetsDir() / "leafmill.desktop"));
    EXPECT_TRUE(
        entry.contains(QRegularExpression(QStringLiteral("^Exec=leafmill %F$"), QRegularExpression::MultilineOption)));
    const QRegularExpressionMatch line
        = QRegularExpression(QStringLiteral("^MimeType=(.*)$"), QRegularExpression::MultilineOption).match(entry);
    const QStringList offered = line.captured(1).split(u';', Qt::SkipEmptyParts);
    QMimeDatabase types;
    TempDir dir;
    for (const SourceKind& kind : defaultDispatchTable())
        for (std::string_view ending : kind.endings) {
            const std::string name = "x" + dottedEnding(ending);
            writeFile(dir / name, "plain text\n");
            const QMimeType type = types.mimeTypeForFile(QString::fromStdString((dir / name).string()));
            const QStringList names = QStringList {type.name()} + type.aliases();
            EXPECT_TRUE(
                std::any_of(names.begin(), names.end(), [&](const QString& known) { return offered.contains(known); }))
                << name << " is " << names.join(' ').toStdString();
        }
}

}  // namespace
}  // namespace leafmill::test
