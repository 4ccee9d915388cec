// The image button with real picture files in a temporary folder and real mouse events.
#include "controls/GfuBut.h"
#include "PixelCheck.h"
#include "TestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;

QString qPath(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

// A host panel with an `arrup` button over a folder of pictures that each test fills.
class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(200, 120);
        button = new GfuBut(QStringLiteral("arrup"), qPath(images.path()), &host);
        button->setGeometry(40, 30, 31, 30);
    }

    // Copies one of the program's own skin pictures under a new name.
    QImage copySkin(const char* skinName, const char* asName)
    {
        fs::copy_file(assetsDir() / "images" / skinName, images / asName, fs::copy_options::overwrite_existing);
        return QImage(qPath(images / asName));
    }
    QImage writeJpeg(const char* name, QColor colour)
    {
        QImage picture(31, 30, QImage::Format_RGB32);
        picture.fill(colour);
        EXPECT_TRUE(picture.save(qPath(images / name), "JPG"));
        return QImage(qPath(images / name));
    }
    void show()
    {
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    void moveTo(QPoint buttonPoint) { QTest::mouseMove(&host, button->mapTo(&host, buttonPoint)); }
    void press(Qt::MouseButton which, QPoint at) { QTest::mousePress(&host, which, {}, button->mapTo(&host, at)); }
    QImage shown() const { return button->grab().toImage(); }

    TempDir images;
    QWidget host;
    GfuBut* button = nullptr;
};

TEST_F(ImageButtonTest, TheGifComesBeforeTheJpegAndIsShownAtItsOwnSize)
{
    const QImage gif = copySkin("min0.gif", "arrup0.gif");
    writeJpeg("arrup0.jpg", Qt::red);
    EXPECT_TRUE(button->picture().isNull()) << "no picture before the first showing";
    show();
    EXPECT_EQ(button->picture(), gif);
    EXPECT_EQ(rgbAt(shown(), 8, 8), gif.pixel(8, 8) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(shown(), 20, 20), 0x000000u) << "black where the 16-pixel picture does not reach";
}

TEST_F(ImageButtonTest, HoverShowsTheSecondPictureAndPressedButtonsTheFirstExceptTheRightOneMoving)
{
    const QImage normal = copySkin("arrup0.gif", "arrup0.gif");
    const QImage hover = writeJpeg("arrup1.jpg", QColor(40, 120, 200));  // a JPEG when there is no GIF
    show();
    moveTo({10, 10});
    EXPECT_EQ(button->picture(), hover);
    moveTo({60, 60});
    EXPECT_EQ(button->picture(), normal);
    moveTo({10, 10});
    press(Qt::LeftButton, {10, 10});
    EXPECT_EQ(button->picture(), normal);
    QTest::mouseRelease(&host, Qt::LeftButton, {}, button->mapTo(&host, QPoint(10, 10)));
    // While the right button is held the moves keep coming, and the far edges still count as over it.
    press(Qt::RightButton, {12, 10});
    moveTo({31, 30});
    EXPECT_EQ(button->picture(), hover);
    moveTo({32, 30});
    QTest::mouseRelease(&host, Qt::RightButton, {}, button->mapTo(&host, QPoint(32, 30)));
    EXPECT_EQ(rgbAt(shown(), 15, 15), normal.pixel(15, 15) & 0xFFFFFFu);
}

TEST_F(ImageButtonTest, MissingOrUnreadablePicturesKeepWhatIsShown)
{
    show();
    moveTo({10, 10});
    EXPECT_TRUE(button->picture().isNull());
    EXPECT_TRUE(allPixels(shown(), QRect(0, 0, 31, 30), 0x000000)) << "only the black background";

    const QImage normal = copySkin("arrdown0.gif", "arrup0.gif");
    writeFile(images / "arrup1.gif", "GIF89a but not really a picture");
    moveTo({60, 60});
    moveTo({10, 10});
    EXPECT_EQ(button->picture(), normal) << "an unreadable hover picture leaves the normal one";
    fs::remove(images / "arrup0.gif");
    moveTo({60, 60});
    EXPECT_EQ(button->picture(), normal) << "a picture removed meanwhile leaves the last one";
}

}  // namespace
}  // namespace leafmill::test
