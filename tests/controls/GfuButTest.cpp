// The image button with real picture files in a temporary folder and real mouse events.
#include "controls/GfuBut.h"
#include "PixelCheck.h"
#include "TestSupport.h"

#include <QTest>

namespace leafmill::test {
namespace {

namespace fs = std::filesystem;

// A host panel with an `arrup` button over a folder of pictures that each test fills.
class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(200, 120);
        button = new GfuBut(QStringLiteral("arrup"), QString::fromStdString(images.path().string()), &host);
        button->setGeometry(40, 30, 31, 30);
    }

    QString path(const char* name) const { return QString::fromStdString((images / name).string()); }
    // One of the program's own skin pictures under a new name, or a plain JPEG without a skin name.
    QImage picture(const char* asName, const char* skinName = nullptr, QColor colour = Qt::red)
    {
        if (skinName) {
            fs::copy_file(assetsDir() / "images" / skinName, images / asName, fs::copy_options::overwrite_existing);
        } else {
            QImage plain(31, 30, QImage::Format_RGB32);
            plain.fill(colour);
            EXPECT_TRUE(plain.save(path(asName), "JPG"));
        }
        return QImage(path(asName));
    }
    void show()
    {
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    void mouse(QTest::MouseAction action, QPoint at, Qt::MouseButton which = Qt::NoButton)
    {
        QTest::mouseEvent(action, &host, which, {}, button->mapTo(&host, at));
    }
    unsigned shownAt(int x, int y) const { return rgbAt(button->grab().toImage(), x, y); }

    TempDir images;
    QWidget host;
    GfuBut* button = nullptr;
};

TEST_F(ImageButtonTest, TheGifComesBeforeTheJpegIsShownAtItsOwnSizeAndStaysWhenItsFilesGo)
{
    const QImage gif = picture("arrup0.gif", "min0.gif");
    picture("arrup0.jpg");
    writeFile(images / "arrup1.gif", "GIF89a but not really a picture");
    EXPECT_TRUE(button->picture().isNull()) << "no picture before the first showing";
    show();
    EXPECT_EQ(button->picture(), gif);
    EXPECT_EQ(shownAt(8, 8), gif.pixel(8, 8) & 0xFFFFFFu);
    EXPECT_EQ(shownAt(20, 20), 0x000000u) << "black where the 16-pixel picture does not reach";
    mouse(QTest::MouseMove, {10, 10});
    EXPECT_EQ(button->picture(), gif) << "an unreadable hover picture leaves the normal one";
    fs::remove(images / "arrup0.gif");
    fs::remove(images / "arrup0.jpg");
    mouse(QTest::MouseMove, {60, 60});
    EXPECT_EQ(button->picture(), gif) << "a picture removed meanwhile leaves the last one";
}

TEST_F(ImageButtonTest, HoverShowsTheSecondPictureAndPressedButtonsTheFirstExceptTheRightOneMoving)
{
    const QImage normal = picture("arrup0.gif", "arrup0.gif");
    const QImage hover = picture("arrup1.jpg", nullptr, QColor(40, 120, 200));  // a JPEG when there is no GIF
    show();
    mouse(QTest::MouseMove, {10, 10});
    EXPECT_EQ(button->picture(), hover);
    mouse(QTest::MouseMove, {60, 60});
    EXPECT_EQ(button->picture(), normal);
    mouse(QTest::MouseMove, {10, 10});
    mouse(QTest::MousePress, {10, 10}, Qt::LeftButton);
    EXPECT_EQ(button->picture(), normal);
    mouse(QTest::MouseRelease, {10, 10}, Qt::LeftButton);
    // While the right button is held the moves keep coming, and the far edges still count as over it.
    mouse(QTest::MousePress, {12, 10}, Qt::RightButton);
    mouse(QTest::MouseMove, {31, 30});
    EXPECT_EQ(button->picture(), hover);
    mouse(QTest::MouseMove, {32, 30});
    mouse(QTest::MouseRelease, {32, 30}, Qt::RightButton);
    EXPECT_EQ(shownAt(15, 15), normal.pixel(15, 15) & 0xFFFFFFu);
}

}  // namespace
}  // namespace leafmill::test
