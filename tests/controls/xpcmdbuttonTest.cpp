// The command button rendered and clicked for real: faces per state, caption and mouse rules.
#include "controls/xpcmdbutton.h"
#include "PixelCheck.h"

#include <QGuiApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace leafmill::test {
namespace {

// A host panel with one button placed on it, as the windows do.
class CommandButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(300, 120);
        host.setFont(QFont(QStringLiteral("Tahoma"), 9));
        button = new xpcmdbutton(QStringLiteral("Cmd_AddFiles"), &host);
        button->setGeometry(20, 30, 111, 25);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    // The system's window colour, which the corners show by default.
    static unsigned windowColour() { return QGuiApplication::palette().color(QPalette::Base).rgb() & 0xFFFFFFu; }
    // The face's centre shows row 10 of the face picture.
    unsigned centre() const { return rgbAt(button->image(), 55, 12); }
    QPoint onHost(QPoint buttonPoint) const { return button->mapTo(&host, buttonPoint); }
    unsigned corner() const { return rgbAt(button->image(), button->width() - 1, button->height() - 1); }
    // Whether the rendered caption has a pixel of exactly this colour.
    bool captionShows(const QColor& colour) const
    {
        const QImage shot = button->grab().toImage();
        const QRect text = button->findChild<QLabel*>()->geometry();
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x)
                if (rgbAt(shot, x, y) == (colour.rgb() & 0xFFFFFFu))
                    return true;
        return false;
    }

    QWidget host;
    xpcmdbutton* button = nullptr;
};

TEST_F(CommandButtonTest, TheFaceIsStretchedWithCornersInTheBackColourAndTheCaptionCentred)
{
    EXPECT_EQ(button->image().size(), QSize(111, 25));
    EXPECT_EQ(centre(), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(button->image(), 55, 24), 0xBFBFBFu);
    EXPECT_EQ(corner(), windowColour());
    EXPECT_EQ(button->captionFont(), host.font()) << "the ambient font";
    button->setCaption(QStringLiteral("Add files"));
    EXPECT_TRUE(captionShows(QColor(0, 0, 0)));
    // A new BackColor reaches the corners at the next painting of the face.
    button->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(corner(), windowColour());
    button->resize(200, 40);
    EXPECT_EQ(corner(), 0xE0E0E0u);
    EXPECT_EQ(button->findChild<QLabel*>()->geometry().center().x(), QRect(0, 0, 200, 40).center().x())
        << "the caption centred";
    EXPECT_TRUE(allPixels(button->image(), QRect(3, 3, 194, 1), rgbAt(button->image(), 100, 3)));
    // The focus shows as a dotted frame inside the rim, on the face's white.
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    button->setFocus();
    const QImage focused = button->grab().toImage();
    const unsigned dot = rgbAt(focused, 3, 12), gap = rgbAt(focused, 3, 13);
    EXPECT_EQ(std::min(dot, gap), 0x000000u);
    EXPECT_EQ(std::max(dot, gap), rgbAt(button->image(), 3, 12));
}

TEST_F(CommandButtonTest, DisabledButtonOrHostGreyTheFaceAndCaption)
{
    const QColor red(0xFF, 0, 0);
    for (QWidget* disabled : {static_cast<QWidget*>(button), &host}) {
        button->setForeColor(red);
        disabled->setEnabled(false);
        EXPECT_EQ(button->faceState(), xpcmdbutton::Disabled);
        EXPECT_EQ(centre(), 0xECECECu);
        EXPECT_TRUE(captionShows(QColor(0xA1, 0xA1, 0x92)));
        disabled->setEnabled(true);
        EXPECT_EQ(centre(), 0xFFFFFFu);
        // The button's own disabling resets the caption to black; a disabled host gives it back.
        EXPECT_EQ(button->ForeColor(), disabled == button ? QColor(0, 0, 0) : red);
    }
    EXPECT_TRUE(captionShows(red));
}

TEST_F(CommandButtonTest, ThePointerAndTheButtonsHeldChooseTheFaceAndALeftClickInsideClicks)
{
    QSignalSpy clicks(button, &xpcmdbutton::Click);
    int faceAtClick = -1;
    QObject::connect(button, &xpcmdbutton::Click, [&] { faceAtClick = button->faceState(); });
    const struct {
        QTest::MouseAction step;
        Qt::MouseButton button;
        QPoint at;
        int face;
    } steps[] = {
        {QTest::MouseMove, Qt::NoButton, {50, 12}, xpcmdbutton::Hover},
        {QTest::MouseMove, Qt::NoButton, {50, 60}, xpcmdbutton::Normal},  // off the button, onto the host
        {QTest::MouseMove, Qt::NoButton, {50, 12}, xpcmdbutton::Hover},
        {QTest::MousePress, Qt::LeftButton, {50, 12}, xpcmdbutton::Pressed},
        // With the left button held: pressed inside, where the far edges still count, normal outside.
        {QTest::MouseMove, Qt::NoButton, {111, 25}, xpcmdbutton::Pressed},
        {QTest::MouseMove, Qt::NoButton, {112, 12}, xpcmdbutton::Normal},
        {QTest::MouseMove, Qt::NoButton, {30, 12}, xpcmdbutton::Pressed},
        {QTest::MouseRelease, Qt::LeftButton, {30, 12}, xpcmdbutton::Normal},
        {QTest::MouseMove, Qt::NoButton, {31, 12}, xpcmdbutton::Hover},
        {QTest::MousePress, Qt::RightButton, {31, 12}, xpcmdbutton::Pressed},
        {QTest::MouseMove, Qt::NoButton, {40, 12}, xpcmdbutton::Hover},  // any other button held shows hover
        {QTest::MouseRelease, Qt::RightButton, {40, 12}, xpcmdbutton::Normal},
    };
    int n = 0;
    for (const auto& s : steps) {
        QTest::mouseEvent(s.step, &host, s.button, {}, onHost(s.at));
        EXPECT_EQ(button->faceState(), s.face) << "step " << n++;
    }
    EXPECT_EQ(clicks.count(), 1) << "the left release inside, not the right one";
    EXPECT_EQ(faceAtClick, xpcmdbutton::Normal) << "the face is restored before Click";
    button->setEnabled(false);
    QTest::mouseClick(&host, Qt::LeftButton, {}, onHost({50, 12}));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button->faceState(), xpcmdbutton::Disabled) << "a disabled button takes no mouse input";
}

}  // namespace
}  // namespace leafmill::test
