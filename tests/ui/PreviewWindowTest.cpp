// The preview window's keys reach the reader's view; reading itself is the reader view suite's.
#include "ui/PreviewWindow.h"
#include "TestSupport.h"
#include "text/PageEncoder.h"

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
    PreviewWindow preview(QString::fromStdString((dir / "Book").string()), PageEncoder::open("Latin-1", nullptr),
                          QStringLiteral("Check"));
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_EQ(preview.screenLines(), (QStringList {"Book - 1/2", "Book - 2/2"}));
    QTest::keyClick(&preview, Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book - 1/2"));
    EXPECT_EQ(preview.screenLines(), (QStringList {QString::fromUtf8("caf\xc3\xa9"), "Next"}));
    QTest::keyClick(&preview, Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book - 2/2"));
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book"));
    QTest::keyClick(&preview, Qt::Key_Down);
    EXPECT_EQ(preview.selection(), QStringLiteral("Book - 2/2"));
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

}  // namespace
}  // namespace leafmill::test
