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

// Parses against a chosen current directory, as the dialog leaves it.
class SelectedFilesTest : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(saved_); }
    SelectedFiles parseIn(const QString& current, const QString& result)
    {
        EXPECT_TRUE(QDir::setCurrent(current));
        return GetDlgSelectFileInfo(result, prompter, nullptr);
    }

    const QString saved_ = QDir::currentPath();
    TempDir dir;
    const QString folder = QDir::toNativeSeparators(QDir(QString::fromStdString(dir.path().string())).canonicalPath());
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    ScriptedPrompter prompter;
};

TEST_F(SelectedFilesTest, OneOrSeveralFilesGiveTheFolderWithOneSeparatorAndTheNamesInOrder)
{
    const struct {
        QString current, result, folderPath;
        QStringList names;  // after the empty first entry
    } cases[] = {
        {folder, folder + kSep + "Alice.txt", folder + kSep, {"Alice.txt"}},
        {root, root + "book.txt", root, {"book.txt"}},
        {folder,
         folder + kNul + "b.rtf" + kNul + "a.txt" + kNul + "c d.doc",
         folder + kSep,
         {"b.rtf", "a.txt", "c d.doc"}},
        {folder, folder + kNul + "a.txt" + kNul, folder + kSep, {"a.txt", ""}},  // a NUL at the end: one more, empty
    };
    for (const auto& c : cases) {
        const SelectedFiles selected = parseIn(c.current, c.result);
        EXPECT_EQ(selected.FileCount, c.names.size()) << c.result.toStdString();
        EXPECT_EQ(selected.FolderPath, c.folderPath) << c.result.toStdString();
        EXPECT_EQ(selected.FileNames, QStringList {QString()} + c.names) << c.result.toStdString();
    }
    EXPECT_TRUE(prompter.prompts.empty());

    // What the platform dialog's files become: one file's path, or the folder and the names.
    const QString a = folder + kSep + "a.txt";
    EXPECT_EQ(platformDialogResult({a}), a);
    EXPECT_EQ(platformDialogResult({a, folder + kSep + "b.txt"}), folder + kNul + "a.txt" + kNul + "b.txt");
    EXPECT_TRUE(platformDialogResult({}).isEmpty());
}

TEST_F(SelectedFilesTest, MalformedResultsShowTheFixedErrorAndGiveNothing)
{
    const QString outside = root + "elsewhere" + kSep + "deeper" + kSep + "x.txt";
    const QString longerName = folder + "X" + kSep + "a.txt";
    for (const QString& result : {QStringLiteral("a"), folder, outside, longerName}) {
        prompter.prompts.clear();
        EXPECT_EQ(parseIn(folder, result).FileCount, 0) << result.toStdString();
        ASSERT_EQ(prompter.prompts.size(), 1u) << result.toStdString();
        EXPECT_EQ(prompter.prompts[0].kind, ScriptedPrompter::Kind::Critical);
        EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("GetDlgSelectFileInfo函数执行错误！"));
        EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("自定义函数错误"));
    }
}

}  // namespace
}  // namespace leafmill::test
