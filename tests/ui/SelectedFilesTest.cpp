#include "ui/SelectedFiles.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

const QChar kNul(u'\0');

// Parses against a chosen current directory, as the dialog leaves it.
class SelectedFilesTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = QDir::currentPath(); }
    void TearDown() override { QDir::setCurrent(saved_); }

    SelectedFiles parseIn(const QString& folder, const QString& result)
    {
        EXPECT_TRUE(QDir::setCurrent(folder));
        return GetDlgSelectFileInfo(result, prompter, nullptr);
    }
    QString folderOf(const TempDir& dir)
    {
        return QDir::toNativeSeparators(QDir(QString::fromStdString(dir.path().string())).canonicalPath());
    }

    ScriptedPrompter prompter;
    QString saved_;
};

TEST_F(SelectedFilesTest, OneFileGivesTheFolderWithOneSeparatorAndTheName)
{
    TempDir dir;
    const QString folder = folderOf(dir);
    const SelectedFiles selected = parseIn(folder, folder + QDir::separator() + QStringLiteral("Alice.txt"));
    EXPECT_EQ(selected.FileCount, 1);
    EXPECT_EQ(selected.FolderPath, folder + QDir::separator());
    ASSERT_EQ(selected.FileNames.size(), 2);
    EXPECT_TRUE(selected.FileNames[0].isEmpty());
    EXPECT_EQ(selected.FileNames[1], QStringLiteral("Alice.txt"));
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(SelectedFilesTest, SeveralFilesKeepTheDialogsOrder)
{
    TempDir dir;
    const QString folder = folderOf(dir);
    const QString result
        = folder + kNul + QStringLiteral("b.rtf") + kNul + QStringLiteral("a.txt") + kNul + QStringLiteral("c d.doc");
    const SelectedFiles selected = parseIn(folder, result);
    EXPECT_EQ(selected.FileCount, 3);
    EXPECT_EQ(selected.FolderPath, folder + QDir::separator());
    EXPECT_EQ(selected.FileNames.mid(1),
              (QStringList {QStringLiteral("b.rtf"), QStringLiteral("a.txt"), QStringLiteral("c d.doc")}));

    // A NUL at the end starts one more, empty name.
    const SelectedFiles trailing = parseIn(folder, folder + kNul + QStringLiteral("a.txt") + kNul);
    EXPECT_EQ(trailing.FileCount, 2);
    EXPECT_TRUE(trailing.FileNames[2].isEmpty());
}

TEST_F(SelectedFilesTest, AFileInTheRootKeepsASingleSeparator)
{
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    const SelectedFiles selected = parseIn(root, root + QStringLiteral("book.txt"));
    EXPECT_EQ(selected.FileCount, 1);
    EXPECT_EQ(selected.FolderPath, root);
    EXPECT_EQ(selected.FileNames[1], QStringLiteral("book.txt"));
    EXPECT_EQ(selected.FolderPath + selected.FileNames[1], root + QStringLiteral("book.txt"));
}

TEST_F(SelectedFilesTest, MalformedResultsShowTheFixedErrorAndGiveNothing)
{
    TempDir dir;
    const QString folder = folderOf(dir);
    const QString outside = QDir::toNativeSeparators(QDir::rootPath()) + QStringLiteral("elsewhere") + QDir::separator()
        + QStringLiteral("deeper") + QDir::separator() + QStringLiteral("x.txt");
    const QString longerName = folder + QStringLiteral("X") + QDir::separator() + QStringLiteral("a.txt");
    for (const QString& result : {QStringLiteral("a"), folder, outside, longerName}) {
        prompter.prompts.clear();
        const SelectedFiles selected = parseIn(folder, result);
        EXPECT_EQ(selected.FileCount, 0) << result.toStdString();
        ASSERT_EQ(prompter.prompts.size(), 1u) << result.toStdString();
        EXPECT_EQ(prompter.prompts[0].kind, ScriptedPrompter::Kind::Critical);
        EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("GetDlgSelectFileInfo函数执行错误！"));
        EXPECT_EQ(prompter.prompts[0].caption, QStringLiteral("自定义函数错误"));
    }
}

TEST(PlatformDialogResult, OneFileIsItsPathSeveralAreFolderAndNames)
{
    const QString folder = QDir::toNativeSeparators(QDir::rootPath()) + QStringLiteral("books");
    const QString a = folder + QDir::separator() + QStringLiteral("a.txt");
    const QString b = folder + QDir::separator() + QStringLiteral("b.txt");
    EXPECT_EQ(platformDialogResult({a}), a);
    EXPECT_EQ(platformDialogResult({a, b}), folder + kNul + QStringLiteral("a.txt") + kNul + QStringLiteral("b.txt"));
    EXPECT_TRUE(platformDialogResult({}).isEmpty());
}

}  // namespace
}  // namespace leafmill::test
