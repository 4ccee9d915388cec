// The add-files dialog's result read into a folder and names.
#include "ui/SelectedFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

const QChar kNul(u'\0');
const QChar kSep = QDir::separator();

TEST(SelectedFilesTest, OneOrSeveralFilesGiveTheFolderWithOneSeparatorAndTheNamesInOrder)
{
    const QString saved = QDir::currentPath();
    TempDir dir;
    const QString folder = QDir::toNativeSeparators(QDir(QString::fromStdString(dir.path().string())).canonicalPath());
    ASSERT_TRUE(QDir::setCurrent(folder));  // where the dialog leaves it
    ScriptedPrompter prompter;
    const struct {
        QString result;
        QStringList names;  // after the empty first entry
    } cases[] = {
        {folder + kSep + "Alice.txt", {"Alice.txt"}},
        {folder + kNul + "b.rtf" + kNul + "a.txt" + kNul + "c d.doc", {"b.rtf", "a.txt", "c d.doc"}},
        {folder + kNul + "a.txt" + kNul, {"a.txt", ""}},  // a NUL at the end: one more, empty
    };
    for (const auto& c : cases) {
        const SelectedFiles selected = GetDlgSelectFileInfo(c.result, prompter, nullptr);
        EXPECT_EQ(selected.FileCount, c.names.size()) << c.result.toStdString();
        EXPECT_EQ(selected.FolderPath, folder + kSep) << c.result.toStdString();
        EXPECT_EQ(selected.FileNames, QStringList {QString()} + c.names) << c.result.toStdString();
    }
    QDir::setCurrent(saved);
    EXPECT_TRUE(prompter.prompts.empty());
    // What the platform dialog's files become: one file's path, or the folder and the names.
    const QString a = folder + kSep + "a.txt";
    EXPECT_EQ(platformDialogResult({a}), a);
    EXPECT_EQ(platformDialogResult({a, folder + kSep + "b.txt"}), folder + kNul + "a.txt" + kNul + "b.txt");
    EXPECT_TRUE(platformDialogResult({}).isEmpty());
}

}  // namespace
}  // namespace leafmill::test
