// The preview window's keys reach the reader's view; reading itself is the reader view suite's.
#include "ui/PreviewWindow.h"
#include "TestSupport.h"
#include "text/PageEncoder.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

TEST(PreviewWindowTest, TheKeysBrowseTheBookAndMenuAtTheTopCloses)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "Book");
    writeFile(dir / "Book" / "Book0000.txt",
              "<TITLE>Book - 1/2</TITLE>caf\xe9\r\n<A HREF=\"Book0001.txt\" NOPUSH>Next</A>\r\n");
    writeFile(dir / "Book" / "Book0001.txt", "<TITLE>Book - 2/2</TITLE>The end.\r\n");
    writeFile(dir / "Book" / ".leafmill.txt", "Leafmill book record 1\r\n");
    PreviewWindow preview(QString::fromStdString((dir / "Book").string()), PageEncoder::open("Latin-1", nullptr),
                          QStringLiteral("Check"));
    preview.show();
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    // The keys go where the window puts them: the book, not its Check button.
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    EXPECT_EQ(preview.screenLines(), (QStringList {".leafmill.txt", "Book - 1/2", "Book - 2/2"}));
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book - 1/2"));
    EXPECT_EQ(preview.screenLines(), (QStringList {QString::fromUtf8("caf\xc3\xa9"), "Next"}));
    press(Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book - 2/2"));
    press(Qt::Key_Escape);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book"));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(preview.selection(), QStringLiteral("Book - 2/2"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

}  // namespace
}  // namespace leafmill::test

namespace leafmill::test {
namespace {

TEST(PreviewWindowTest, TheMenuScrollsToKeepTheSelectedNoteInSight)
{
    TempDir dir;
    for (int i = 10; i < 40; ++i)
        writeFile(dir / ("n" + std::to_string(i) + ".txt"), "text\r\n");
    PreviewWindow preview(QString::fromStdString(dir.path().string()), PageEncoder::open("Latin-1", nullptr),
                          QStringLiteral("Check"));
    const qsizetype rows = preview.screenLines().size();
    ASSERT_LT(rows, 30);
    for (int i = 10; i < 39; ++i)
        QTest::keyClick(&preview, Qt::Key_Down);
    EXPECT_EQ(preview.selection(), QStringLiteral("n39.txt"));
    EXPECT_EQ(preview.screenLines().size(), rows);
    EXPECT_EQ(preview.screenLines().last(), QStringLiteral("n39.txt"));
    QTest::keyClick(&preview, Qt::Key_Up);
    EXPECT_EQ(preview.screenLines().last(), QStringLiteral("n39.txt")) << "no scrolling while it is in sight";
}

}  // namespace
}  // namespace leafmill::test
