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
    void SetUp() override { saved_ = QDir::currentPath(); }
    void TearDown() override { QDir::setCurrent(saved_); }

    SelectedFiles parseIn(const QString& current, const QString& result)
    {
        EXPECT_TRUE(QDir::setCurrent(current));
        return GetDlgSelectFileInfo(result, prompter, nullptr);
    }

    TempDir dir;
    const QString folder = QDir::toNativeSeparators(QDir(QString::fromStdString(dir.path().string())).canonicalPath());
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    ScriptedPrompter prompter;
    QString saved_;
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

TEST(PlatformDialogResult, OneFileIsItsPathSeveralAreFolderAndNames)
{
    const QString folder = QDir::toNativeSeparators(QDir::rootPath()) + QStringLiteral("books");
    const QString a = folder + kSep + QStringLiteral("a.txt");
    const QString b = folder + kSep + QStringLiteral("b.txt");
    EXPECT_EQ(platformDialogResult({a}), a);
    EXPECT_EQ(platformDialogResult({a, b}), folder + kNul + QStringLiteral("a.txt") + kNul + QStringLiteral("b.txt"));
    EXPECT_TRUE(platformDialogResult({}).isEmpty());
}

}  // namespace
}  // namespace leafmill::test
