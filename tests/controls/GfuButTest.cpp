// The image button with real picture files in a temporary folder and real mouse events.
#include "PixelCheck.h"
#include "TestSupport.h"

#include "controls/GfuBut.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

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
        const fs::path from = assetsDir() / "images" / skinName;
        EXPECT_TRUE(fs::exists(from)) << from;
        fs::copy_file(from, images / asName, fs::copy_options::overwrite_existing);
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
    QPoint onHost(QPoint buttonPoint) const { return button->mapTo(&host, buttonPoint); }
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
    EXPECT_EQ(button->pictureState(), 0);
    EXPECT_EQ(button->picture(), gif);
    const QImage screen = shown();
    EXPECT_EQ(rgbAt(screen, 8, 8), gif.pixel(8, 8) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(screen, 20, 20), 0x000000u) << "black where the 16-pixel picture does not reach";
}

TEST_F(ImageButtonTest, HoverShowsTheSecondPictureAJpegWhenThereIsNoGif)
{
    const QImage normal = copySkin("arrup0.gif", "arrup0.gif");
    const QImage hover = writeJpeg("arrup1.jpg", QColor(40, 120, 200));
    show();
    QTest::mouseMove(&host, onHost({10, 10}));
    EXPECT_EQ(button->picture(), hover);
    EXPECT_EQ(button->pictureState(), 1);
    QTest::mouseMove(&host, onHost({60, 60}));
    EXPECT_EQ(button->picture(), normal);
    // While a button is held the moves keep coming, and the far edges still count as over it.
    QTest::mousePress(&host, Qt::RightButton, {}, onHost({10, 10}));
    QTest::mouseMove(&host, onHost({31, 30}));
    EXPECT_EQ(button->picture(), hover);
    QTest::mouseMove(&host, onHost({32, 30}));
    EXPECT_EQ(button->picture(), normal);
    QTest::mouseRelease(&host, Qt::RightButton, {}, onHost({32, 30}));
    EXPECT_EQ(rgbAt(shown(), 15, 15), normal.pixel(15, 15) & 0xFFFFFFu);
}

TEST_F(ImageButtonTest, MissingOrUnreadablePicturesKeepWhatIsShown)
{
    show();
    QTest::mouseMove(&host, onHost({10, 10}));
    EXPECT_TRUE(button->picture().isNull());
    EXPECT_EQ(button->pictureState(), -1);
    EXPECT_TRUE(allPixels(shown(), QRect(0, 0, 31, 30), 0x000000)) << "only the black background";

    const QImage normal = copySkin("arrdown0.gif", "arrup0.gif");
    writeFile(images / "arrup1.gif", "GIF89a but not really a picture");
    QTest::mouseMove(&host, onHost({60, 60}));
    EXPECT_EQ(button->picture(), normal);
    QTest::mouseMove(&host, onHost({10, 10}));
    EXPECT_EQ(button->picture(), normal) << "an unreadable hover picture leaves the normal one";

    fs::remove(images / "arrup0.gif");
    QTest::mouseMove(&host, onHost({60, 60}));
    EXPECT_EQ(button->picture(), normal) << "a picture removed meanwhile leaves the last one";
}

TEST_F(ImageButtonTest, PressedButtonsShowTheNormalPictureExceptTheRightOneMoving)
{
    const QImage normal = copySkin("arrup0.gif", "arrup0.gif");
    const QImage hover = copySkin("arrup1.gif", "arrup1.gif");
    show();
    QTest::mouseMove(&host, onHost({10, 10}));
    QTest::mousePress(&host, Qt::LeftButton, {}, onHost({10, 10}));
    EXPECT_EQ(button->picture(), normal);
    QTest::mouseMove(&host, onHost({12, 10}));
    EXPECT_EQ(button->picture(), normal) << "left button held";
    QTest::mouseRelease(&host, Qt::LeftButton, {}, onHost({12, 10}));
    EXPECT_EQ(button->picture(), normal);
    QTest::mousePress(&host, Qt::RightButton, {}, onHost({12, 10}));
    QTest::mouseMove(&host, onHost({14, 10}));
    EXPECT_EQ(button->picture(), hover) << "right button held";
    QTest::mouseMove(&host, onHost({14, 50}));
    EXPECT_EQ(button->picture(), normal) << "the move that leaves still reaches the button";
    QTest::mouseRelease(&host, Qt::RightButton, {}, onHost({14, 50}));
}

TEST_F(ImageButtonTest, MouseEventsArePassedOnInTheirOrderWithTheirArguments)
{
    copySkin("arrup0.gif", "arrup0.gif");
    copySkin("arrup1.gif", "arrup1.gif");
    show();
    QStringList log;
    auto record = [&](const char* name) {
        return [&log, this, name](int b, int shift, float x, float y) {
            log << QStringLiteral("%1 %2 %3 %4,%5 picture %6")
                       .arg(name)
                       .arg(b)
                       .arg(shift)
                       .arg(double(x))
                       .arg(double(y))
                       .arg(button->pictureState());
        };
    };
    QObject::connect(button, &GfuBut::MouseDown, record("down"));
    QObject::connect(button, &GfuBut::MouseMove, record("move"));
    QObject::connect(button, &GfuBut::MouseUp, record("up"));

    QTest::mouseMove(&host, onHost({5, 6}));
    QTest::mousePress(&host, Qt::RightButton, Qt::ControlModifier, onHost({5, 6}));
    QTest::mouseRelease(&host, Qt::RightButton, Qt::ShiftModifier, onHost({5, 6}));
    QTest::mousePress(&host, Qt::LeftButton, Qt::AltModifier, onHost({7, 8}));
    QTest::mouseMove(&host, onHost({31, 8}));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, onHost({31, 8}));
    const QStringList expected {
        "move 0 0 5,6 picture 1",  // the hover picture is chosen before the move is passed on
        "down 2 2 5,6 picture 1",  // MouseDown first, then the normal picture
        "up 2 1 5,6 picture 0",  // the normal picture first, then MouseUp
        "move 0 4 7,8 picture 1",  // the pointer moved before the press
        "down 1 4 7,8 picture 1", "move 1 0 31,8 picture 0", "up 1 0 31,8 picture 0",
    };
    EXPECT_EQ(log, expected);
}

}  // namespace
}  // namespace leafmill::test
