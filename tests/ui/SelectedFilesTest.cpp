// The add-files dialog's filters, and its result read into a folder and names.
#include "ui/SelectedFiles.h"
#include "UiEnvironment.h"
#include "ui/FileDialogFilter.h"

#include <QDir>

namespace leafmill::test {
namespace {

TEST(FileDialogFilter, TurnsCommonDialogPairsIntoQtFilters)
{
    const struct {
        const char* filter;
        QStringList expected;
    } cases[] = {
        // "*.*" also matches names without a dot, as in the common dialog.
        {"Text|*.txt|Web pages|*.htm;*.html|All files|*.*",
         {"Text (*.txt)", "Web pages (*.htm *.html)", "All files (*)"}},
        {"", {}},
        {"Text|*.txt|Dangling", {"Text (*.txt)"}},
        {"Text| *.txt ; ;*.text", {"Text (*.txt *.text)"}},
        {"|*.rtf", {"*.rtf (*.rtf)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qtNameFilters(QString::fromLatin1(c.filter)), c.expected) << c.filter;
}

TEST(SelectedFilesTest, OneOrSeveralFilesGiveTheFolderWithOneSeparatorAndTheNamesInOrder)
{
    const QString saved = QDir::currentPath(), nul(QChar(u'\0')), sep(QDir::separator());
    TempDir dir;
    const QString folder = QDir::toNativeSeparators(QDir(shown(dir.path())).canonicalPath());
    ASSERT_TRUE(QDir::setCurrent(folder));  // where the dialog leaves it
    ScriptedPrompter prompter;
    const struct {
        QString result;
        QStringList names;  // after the empty first entry
    } cases[] = {
        {folder + sep + "Alice.txt", {"Alice.txt"}},
        {folder + nul + "b.rtf" + nul + "a.txt" + nul + "c d.doc", {"b.rtf", "a.txt", "c d.doc"}},
        {folder + nul + "a.txt" + nul, {"a.txt", ""}},  // a NUL at the end: one more, empty
    };
    for (const auto& c : cases) {
        const SelectedFiles selected = GetDlgSelectFileInfo(c.result, prompter, nullptr);
        EXPECT_EQ(selected.FileCount, c.names.size()) << c.result.toStdString();
        EXPECT_EQ(selected.FolderPath, folder + sep) << c.result.toStdString();
        EXPECT_EQ(selected.FileNames, QStringList {QString()} + c.names) << c.result.toStdString();
    }
    QDir::setCurrent(saved);
    EXPECT_TRUE(prompter.prompts.empty());
    // What the platform dialog's files become: one file's path, or the folder and the names.
    EXPECT_EQ(platformDialogResult({folder + sep + "a.txt", folder + sep + "b.txt"}),
              folder + nul + "a.txt" + nul + "b.txt");
    EXPECT_TRUE(platformDialogResult({}).isEmpty());
}

}  // namespace
}  // namespace leafmill::test
