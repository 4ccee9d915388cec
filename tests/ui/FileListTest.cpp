// The main window's file list: buttons, keys, questions, drops and the add-files answer.
#include "UiEnvironment.h"
#include "extract/Formats.h"
#include "lang/StringId.h"
#include "ui/SourceEntryDelegate.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

namespace leafmill::test {
namespace {

class FileListTest : public MainWindowTest {
protected:
    void TearDown() override { QDir::setCurrent(savedDir_); }

    // Lists one entry per letter and selects the rows given.
    void fill(const QString& entries, const QList<int>& selected = {})
    {
        list()->clear();
        for (const QChar entry : entries)
            window->fileList().addUnique(QString(entry));
        for (int row : selected)
            list()->item(row)->setSelected(true);
    }
    QListWidget* list() const { return child<QListWidget>("List1"); }
    QString order() const { return window->fileList().paths().join(QString()); }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (int i = 0; i < list()->count(); ++i)
            if (list()->item(i)->isSelected())
                rows << i;
        return rows;
    }

    const QString savedDir_ = QDir::currentPath();
};

TEST_F(FileListTest, TheArrowButtonsAndShiftArrowsMoveTheSelectedEntriesPastTheirNeighbours)
{
    const struct {
        QList<int> selected;
        const char* button;
        Qt::MouseButton mouse;
        const char* order;
        QList<int> selectedAfter;
    } cases[] = {
        {{1, 3}, "arrup", Qt::LeftButton, "BADC", {0, 2}},
        {{0, 1}, "arrup", Qt::RightButton, "ABCD", {0, 1}},  // a block at the top stays
        {{2, 3}, "arrup", Qt::LeftButton, "ACDB", {1, 2}},  // and one lower down moves whole
        {{0, 1}, "arrdown", Qt::LeftButton, "CABD", {1, 2}},
        {{3}, "arrdown", Qt::MiddleButton, "ABCD", {3}},
    };
    for (const auto& c : cases) {
        fill(QStringLiteral("ABCD"), c.selected);
        click(c.button, c.mouse);
        EXPECT_EQ(order(), QString::fromLatin1(c.order)) << c.button << " " << c.order;
        EXPECT_EQ(selectedRows(), c.selectedAfter) << c.button << " " << c.order;
    }
    // Shift+Up and Shift+Down from any control.
    fill(QStringLiteral("ABCD"), {2});
    auto* bookName = child<QLineEdit>("Text1");
    bookName->setFocus();
    for (auto [key, after] : {std::pair {Qt::Key_Up, "ACBD"}, {Qt::Key_Down, "ABCD"}, {Qt::Key_Down, "ABDC"}}) {
        QTest::keyClick(bookName, key, Qt::ShiftModifier);
        EXPECT_EQ(order(), QString::fromLatin1(after));
    }
    // In the list Shift+Up moves the entry and its focus frame instead of extending the selection.
    fill(QStringLiteral("ABCD"));
    list()->setFocus();
    list()->setCurrentRow(2);
    QTest::keyClick(list(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(order(), QStringLiteral("ACBD"));
    EXPECT_EQ(selectedRows(), QList<int> {1});
    EXPECT_EQ(list()->currentRow(), 1);
}

// Tab goes through the window as it is laid out; the buttons answer the mouse, Space, Enter and Alt
// with their letter, Delete in the list is the Delete Files button; both ask only when there is
// something to remove.
TEST_F(FileListTest, TabFollowsTheLayoutAndDeleteAndClearAskFirstFromMouseAndKeys)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QStringList chain;
    child("Text1")->setFocus();
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        chain << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(chain.join(' '),
              QStringLiteral("List1 arrup arrdown Cmd_AddFiles Cmd_DelFiles Cmd_ClearList "
                             "Cmd_Preview Cmd_IPod Cmd_Settings Cmd_Output Text1"));
    click("Cmd_ClearList");
    fill(QStringLiteral("ABCD"), {1, 3});
    env.prompter.answers = {false, true, false, false, true};
    click("Cmd_DelFiles");
    EXPECT_EQ(order(), QStringLiteral("ABCD"));
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(order(), QStringLiteral("AC"));
    click("Cmd_DelFiles");
    list()->item(1)->setSelected(true);
    QTest::keyClick(child("arrup"), Qt::Key_Space);
    EXPECT_EQ(order(), QStringLiteral("CA"));
    QTest::keyClick(child("Cmd_DelFiles"), Qt::Key_Return);
    QTest::keyClick(child("Cmd_ClearList"), Qt::Key_Space);
    EXPECT_EQ(order(), QStringLiteral("CA"));
    QTest::keyClick(child("Text1"), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), child("Cmd_ClearList")) << "the mnemonic takes the focus to its button";
    EXPECT_EQ(list()->count(), 0);
    click("Cmd_ClearList");
    const QString del = env.text(StringId::AskDeleteFiles), clear = env.text(StringId::AskClearList);
    EXPECT_EQ(env.prompter.textsOf(ScriptedPrompter::Kind::Question), (QStringList {del, del, del, clear, clear}));
}

// A folder gives its documents of a readable kind in the order of their names; a file is added as
// it is; the drop is taken as a copy, so the sender never deletes what it sent.
TEST_F(FileListTest, FilesAndFoldersDroppedOnTheListAreAddedAsCopies)
{
    TempDir dir;
    const std::filesystem::path folder = dir / "A folder whose long name the list cannot show";
    std::filesystem::create_directories(folder / "sub");
    for (const char* name :
         {"Chapter 10.txt", "Chapter 2.HTM", "chapter 1.pdf", "cover.png", "sub/deep.txt", "README", "Notes.fb2.zip"})
        writeFile(folder / name, "text\r\n");
    // Without an ending the content tells.
    writeFile(folder / "photo", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    writeFile(dir / "notes.xyz", "text\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(shown(dir / "notes.xyz")), QUrl::fromLocalFile(shown(folder))});
    QWidget* viewport = list()->viewport();
    QDragEnterEvent enter({20, 20}, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    const QStringList expected {shown(dir / "notes.xyz"),        shown(folder / "chapter 1.pdf"),
                                shown(folder / "Chapter 2.HTM"), shown(folder / "Chapter 10.txt"),
                                shown(folder / "Notes.fb2.zip"), shown(folder / "README")};
    EXPECT_EQ(window->fileList().paths(), expected);
    EXPECT_EQ(list()->item(3)->toolTip(), expected[3]);
    // The name comes first and whole; the folder gives way in its middle.
    const QString entry = SourceEntryDelegate::entryText(expected[3], list()->fontMetrics(), 240);
    EXPECT_TRUE(entry.startsWith(QStringLiteral("Chapter 10.txt "))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QChar(0x2026)) && entry.endsWith(QStringLiteral("show")));
    EXPECT_LE(list()->fontMetrics().horizontalAdvance(entry), 240);
}

TEST_F(FileListTest, AddFilesListsTheSelectionOnceAndRemembersFolderAndFilter)
{
    TempDir sources;
    for (const char* name : {"a.txt", "b.rtf", "A.TXT"})
        writeFile(sources / name, "text\r\n");
    const QString a = shown(sources / "a.txt"), b = shown(sources / "b.rtf"), upper = shown(sources / "A.TXT");
    Settings& settings = env.store().record();
    settings.InPutDir = "/start/here";
    settings.OpenFilesFilterIndex = 2;
    // Without a filter of main.ini's, the dialog offers the kinds the program reads.
    settings.Filter.clear();
    // A listed path is not added again, another case is; one file leaves its path; cancel, nothing;
    // a file gone since it was chosen is named, not listed.
    const QString gone = shown(sources / "gone.txt");
    env.prompter.fileAnswers = {{{b, a}, 3}, {{a, upper}, 3}, {{a}, 1}, {{}, 4}, {{gone, a}, 2}};
    click("Cmd_AddFiles");
    EXPECT_EQ(env.prompter.lastOpenRequest.filter.toStdString(), fileDialogFilter(defaultDispatchTable()));
    EXPECT_EQ(env.prompter.lastOpenRequest.filterIndex, 2);
    EXPECT_EQ(env.prompter.lastOpenRequest.initialFolder, QStringLiteral("/start/here"));
    EXPECT_EQ(window->fileList().paths(), (QStringList {b, a}));
    EXPECT_EQ(QString::fromStdString(settings.InPutDir), shown(sources.path()));
    EXPECT_EQ(settings.OpenFilesFilterIndex, 3);
    settings.Filter = "Texts|*.txt";
    for (int i = 0; i < 3; ++i)
        click("Cmd_AddFiles");
    EXPECT_EQ(env.prompter.lastOpenRequest.filter, QStringLiteral("Texts|*.txt"));
    EXPECT_EQ(window->fileList().paths(), (QStringList {b, a, upper}));
    EXPECT_EQ(QString::fromStdString(settings.InPutDir), a);
    EXPECT_EQ(settings.OpenFilesFilterIndex, 1);
    EXPECT_TRUE(env.prompter.textsOf(ScriptedPrompter::Kind::Message).isEmpty());
    click("Cmd_AddFiles");
    EXPECT_EQ(window->fileList().paths(), (QStringList {b, a, upper}));
    EXPECT_EQ(env.prompter.textsOf(ScriptedPrompter::Kind::Message),
              QStringList {"These chosen files are no longer there and were not added:\n" + gone});
}

}  // namespace
}  // namespace leafmill::test
