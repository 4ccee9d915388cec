#include "TestSupport.h"
#include "text/CodePage.h"
#include "ui/PreviewWindow.h"

#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;

// A book of linked pages as the run writes them.
void writeBook(const fs::path& folder)
{
    fs::create_directories(folder);
    writeFile(folder / "00 Contents.txt",
        "<TITLE>Contents</TITLE><A HREF=\"Book0001.txt\" NOPUSH>Chapter 2</A>\r\n<A HREF=\"gone.txt\">Gone</A>\r\n");
    writeFile(folder / "Book0000.txt",
        "<TITLE>Book - 1/2</TITLE>\xc3\xbc" "berall &lt;b&gt;\r\n<A HREF=\"Book0001.txt\" NOPUSH>Next</A>\r\n");
    writeFile(folder / "Book0001.txt",
        "<TITLE>Book - 2/2</TITLE><A HREF=\"Book0000.txt\" NOPUSH>Previous</A>\r\nThe end.\r\n");
}

TEST(PreviewWindowTest, ShowsTheBookAsTheReaderDoesAndFollowsItsLinks)
{
    TempDir dir;
    writeBook(dir / "Book");
    PreviewWindow preview(QString::fromStdString((dir / "Book").string()), CodePage::open("ISO-8859-1"));
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_EQ(preview.size(), QSize(320, 240));
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book"));
    EXPECT_EQ(preview.screenLines(), (QStringList { "Contents", "Book - 1/2", "Book - 2/2" }));

    const auto press = [&](Qt::Key key) { QTest::keyClick(&preview, key); };
    press(Qt::Key_Down);
    EXPECT_EQ(preview.selection(), QStringLiteral("Book - 1/2"));
    press(Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book - 1/2"));
    // UTF-8 bytes read as Latin-1, as the iPod would show them; tags written as text.
    EXPECT_EQ(preview.screenLines(), (QStringList { QString::fromUtf8("\xc3\x83\xc2\xbc" "berall <b>"), "Next" }));
    EXPECT_EQ(preview.selection(), QStringLiteral("Next"));
    press(Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book - 2/2"));
    EXPECT_EQ(preview.selection(), QStringLiteral("Previous"));
    // Paging went without the history: Menu leads back to the folder.
    press(Qt::Key_Escape);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Book"));

    press(Qt::Key_Up);
    press(Qt::Key_Return);
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Contents"));
    press(Qt::Key_Down);
    EXPECT_EQ(preview.selection(), QStringLiteral("Gone"));
    press(Qt::Key_Return); // a dead link goes nowhere
    EXPECT_EQ(preview.screenTitle(), QStringLiteral("Contents"));
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
}

} // namespace
} // namespace leafmill::test
