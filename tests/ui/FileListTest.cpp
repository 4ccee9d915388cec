#include "UiEnvironment.h"
#include "app/SettingsStore.h"
#include "controls/GfuBut.h"
#include "controls/xpcmdbutton.h"
#include "lang/StringId.h"
#include "ui/Frm_Main.h"
#include "ui/UiContext.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

using Kind = ScriptedPrompter::Kind;

class FileListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedDir_ = QDir::currentPath();
        env.load();
        window = std::make_unique<Frm_Main>(env.context());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        list = window->findChild<QListWidget*>(QStringLiteral("List1"));
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(savedDir_);
    }

    void fill(const QStringList& entries, const QList<int>& selected)
    {
        list->clear();
        for (const QString& entry : entries)
            window->fileList().addUnique(entry);
        for (int row : selected)
            list->item(row)->setSelected(true);
    }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->isSelected())
                rows << i;
        }
        return rows;
    }
    void click(const char* name, Qt::MouseButton button = Qt::LeftButton)
    {
        auto* target = window->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(target, nullptr) << name;
        QTest::mouseClick(target, button, {}, QPoint(5, 5));
    }
    // A real file in a folder of its own.
    QString makeFile(const TempDir& dir, const char* name)
    {
        writeFile(dir / name, "text\r\n");
        return shown(dir / name);
    }

    UiEnvironment env;
    std::unique_ptr<Frm_Main> window;
    QListWidget* list = nullptr;
    QString savedDir_;
};

const QStringList kABCD {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};

TEST_F(FileListTest, MoveUpMovesSelectedEntriesPastUnselectedNeighbours)
{
    fill(kABCD, {1, 3});
    click("arrup");
    EXPECT_EQ(window->fileList().paths(),
              (QStringList {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("D"), QStringLiteral("C")}));
    EXPECT_EQ(selectedRows(), (QList<int> {0, 2}));

    // A block that reaches the top stays, whichever mouse button is used.
    fill(kABCD, {0, 1});
    click("arrup", Qt::RightButton);
    EXPECT_EQ(window->fileList().paths(), kABCD);
    EXPECT_EQ(selectedRows(), (QList<int> {0, 1}));

    // A block lower down moves up as a whole.
    fill(kABCD, {2, 3});
    click("arrup");
    EXPECT_EQ(window->fileList().paths(),
              (QStringList {QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("B")}));
    EXPECT_EQ(selectedRows(), (QList<int> {1, 2}));
}

TEST_F(FileListTest, MoveDownIsTheMirrorImage)
{
    fill(kABCD, {0, 1});
    click("arrdown");
    EXPECT_EQ(window->fileList().paths(),
              (QStringList {QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("D")}));
    EXPECT_EQ(selectedRows(), (QList<int> {1, 2}));

    fill(kABCD, {3});
    click("arrdown", Qt::MiddleButton);
    EXPECT_EQ(window->fileList().paths(), kABCD);

    fill({QStringLiteral("only")}, {0});
    click("arrdown");
    EXPECT_EQ(window->fileList().paths(), QStringList {QStringLiteral("only")});
}

TEST_F(FileListTest, ShiftArrowsMoveEntriesFromAnyControlAndShiftKeysAreSwallowedInTheList)
{
    auto* bookName = window->findChild<QLineEdit*>(QStringLiteral("Text1"));
    fill(kABCD, {2});
    bookName->setFocus();
    QTest::keyClick(bookName, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(window->fileList().paths(),
              (QStringList {QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("D")}));
    QTest::keyClick(bookName, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(bookName, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(window->fileList().paths(),
              (QStringList {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("D"), QStringLiteral("C")}));
    EXPECT_EQ(selectedRows(), QList<int> {3});
    // Ctrl+Shift is not Shift alone: the book-name box keeps it.
    QTest::keyClick(bookName, Qt::Key_Up, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(selectedRows(), QList<int> {3});

    // In the list Shift+Up moves the entry instead of extending the
    // selection, and Shift+Home does nothing.
    fill(kABCD, {});
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(window->fileList().paths(),
              (QStringList {QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("D")}));
    EXPECT_EQ(selectedRows(), QList<int> {1});
    // The focus frame went with the entry, up and down again.
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("C"));
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list->currentRow(), 2);
    QTest::keyClick(list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(list->currentRow(), 1);
    const int current = list->currentRow();
    QTest::keyClick(list, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(list->currentRow(), current);
    EXPECT_EQ(selectedRows(), QList<int> {1});

    // A character typed with Shift still reaches the list (it searches).
    QTest::keyClick(list, Qt::Key_D, Qt::ShiftModifier);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("D"));
}

TEST_F(FileListTest, DeleteAsksAndRemovesExactlyTheSelectedEntries)
{
    fill(kABCD, {1, 3});
    env.prompter.answers = {false};
    click("Cmd_DelFiles");
    EXPECT_EQ(window->fileList().paths(), kABCD);
    ASSERT_EQ(env.prompter.textsOf(Kind::Question), QStringList {env.text(StringId::AskDeleteFiles)});
    EXPECT_EQ(env.prompter.of(Kind::Question)[0].caption, QStringLiteral("Leafmill"));

    env.prompter.answers = {true};
    click("Cmd_DelFiles");
    EXPECT_EQ(window->fileList().paths(), (QStringList {QStringLiteral("A"), QStringLiteral("C")}));

    // Nothing selected: no question.
    list->clearSelection();
    click("Cmd_DelFiles");
    EXPECT_EQ(env.prompter.of(Kind::Question).size(), 2u);
    EXPECT_EQ(list->count(), 2);
}

TEST_F(FileListTest, ClearAsksOnlyWhenThereIsSomethingToClear)
{
    click("Cmd_ClearList");
    EXPECT_TRUE(env.prompter.prompts.empty());

    fill(kABCD, {});
    env.prompter.answers = {false, true};
    click("Cmd_ClearList");
    EXPECT_EQ(list->count(), 4);
    click("Cmd_ClearList");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(env.prompter.textsOf(Kind::Question),
              (QStringList {env.text(StringId::AskClearList), env.text(StringId::AskClearList)}));
}

TEST_F(FileListTest, AddFilesListsTheSelectionOnceAndRemembersFolderAndFilter)
{
    TempDir sources;
    const QString a = makeFile(sources, "a.txt");
    const QString b = makeFile(sources, "b.rtf");
    const QString upper = makeFile(sources, "A.TXT");
    env.store().record().InPutDir = "/start/here";
    env.store().record().OpenFilesFilterIndex = 2;

    env.prompter.fileAnswers = {OpenFilesAnswer {{b, a}, 3}};
    click("Cmd_AddFiles");
    const OpenFilesRequest& request = env.prompter.lastOpenRequest;
    EXPECT_EQ(request.title, env.text(StringId::AddFilesTitle));
    EXPECT_EQ(request.filter, QString::fromStdString(env.store().record().Filter));
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(request.initialFolder, QStringLiteral("/start/here"));
    EXPECT_EQ(window->fileList().paths(), (QStringList {b, a}));
    // A multiple selection leaves its folder (the part before the first NUL).
    EXPECT_EQ(QString::fromStdString(env.store().record().InPutDir), shown(sources.path()));
    EXPECT_EQ(env.store().record().OpenFilesFilterIndex, 3);
    EXPECT_EQ(QDir::toNativeSeparators(QDir::currentPath()), shown(sources.path()));

    // A path already listed is not added again; another letter case is.
    env.prompter.fileAnswers = {OpenFilesAnswer {{a, upper}, 3}};
    click("Cmd_AddFiles");
    EXPECT_EQ(window->fileList().paths(), (QStringList {b, a, upper}));

    // One file: InPutDir takes its full path.
    env.prompter.fileAnswers = {OpenFilesAnswer {{a}, 1}};
    click("Cmd_AddFiles");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(QString::fromStdString(env.store().record().InPutDir), a);
    EXPECT_EQ(env.store().record().OpenFilesFilterIndex, 1);

    // Cancel changes nothing.
    env.prompter.fileAnswers = {OpenFilesAnswer {{}, 4}};
    click("Cmd_AddFiles");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(QString::fromStdString(env.store().record().InPutDir), a);
    EXPECT_EQ(env.store().record().OpenFilesFilterIndex, 1);
    EXPECT_TRUE(env.prompter.of(Kind::Critical).empty());
}

TEST_F(FileListTest, ClosingSavesTheBookNameButNotTheList)
{
    fill(kABCD, {});
    auto* bookName = window->findChild<QLineEdit*>(QStringLiteral("Text1"));
    bookName->setText(QStringLiteral("Alice in Wonderland"));
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(env.iniKey("UserSettings", "BookName"), "Alice in Wonderland");
    EXPECT_TRUE(env.prompter.prompts.empty());

    // The next start shows the saved name in the box.
    SettingsStore again(env.iniPath());
    std::string error;
    ASSERT_TRUE(again.LoadSettings(&error)) << error;
    UiContext context(again, env.context().language(), env.prompter, portableLayout(env.programFolder()));
    Frm_Main next(context);
    EXPECT_EQ(next.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), QStringLiteral("Alice in Wonderland"));
}

}  // namespace
}  // namespace leafmill::test
