// The command button rendered and clicked for real: faces per state, caption and mouse rules.
#include "controls/xpcmdbutton.h"
#include "PixelCheck.h"
#include "controls/StoredValues.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

// The colour the 111 x 25 face shows at its centre: row 10 of the face picture.
constexpr unsigned NormalMiddle = 0xFFFFFF;
constexpr unsigned DisabledMiddle = 0xECECEC;
const QColor Grey(0xA1, 0xA1, 0x92);  // the disabled caption

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

    unsigned centre() const { return rgbAt(button->image(), 55, 12); }
    QLabel* label() const { return button->findChild<QLabel*>(); }
    QPoint onHost(QPoint buttonPoint) const { return button->mapTo(&host, buttonPoint); }
    unsigned corner() const { return rgbAt(button->image(), button->width() - 1, button->height() - 1); }
    // Whether the rendered caption has a pixel of exactly this colour.
    bool captionShows(const QColor& colour) const
    {
        const QImage shot = button->grab().toImage();
        const QRect text = label()->geometry();
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
    EXPECT_EQ(centre(), NormalMiddle);
    EXPECT_EQ(rgbAt(button->image(), 55, 24), 0xBFBFBFu);
    EXPECT_EQ(corner(), systemWindowColour().rgb() & 0xFFFFFFu);
    EXPECT_EQ(button->captionFont(), host.font()) << "the ambient font";
    button->setCaption(QStringLiteral("Add files"));
    EXPECT_TRUE(captionShows(QColor(0, 0, 0)));
    // A new BackColor reaches the corners at the next painting of the face.
    button->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(corner(), systemWindowColour().rgb() & 0xFFFFFFu);
    button->resize(200, 40);
    EXPECT_EQ(corner(), 0xE0E0E0u);
    const QRect text = label()->geometry();
    EXPECT_EQ(text.center().x(), QRect(0, 0, 200, 40).center().x()) << "the caption centred";
    EXPECT_TRUE(allPixels(button->image(), QRect(3, 3, 194, 1), rgbAt(button->image(), 100, 3)));
}

TEST_F(CommandButtonTest, DisabledButtonOrHostGreyTheFaceAndCaption)
{
    const QColor red(0xFF, 0, 0);
    for (QWidget* disabled : {static_cast<QWidget*>(button), &host}) {
        button->setForeColor(red);
        disabled->setEnabled(false);
        EXPECT_EQ(button->faceState(), xpcmdbutton::Disabled);
        EXPECT_EQ(centre(), DisabledMiddle);
        EXPECT_TRUE(captionShows(Grey));
        disabled->setEnabled(true);
        EXPECT_EQ(centre(), NormalMiddle);
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
    enum Step { Move, Press, Release };
    const struct {
        Step step;
        Qt::MouseButton button;
        QPoint at;
        int face;
    } steps[] = {
        {Move, Qt::NoButton, {50, 12}, xpcmdbutton::Hover},
        {Move, Qt::NoButton, {50, 60}, xpcmdbutton::Normal},  // off the button, onto the host
        {Move, Qt::NoButton, {50, 12}, xpcmdbutton::Hover},
        {Press, Qt::LeftButton, {50, 12}, xpcmdbutton::Pressed},
        // With the left button held: pressed inside, where the far edges still count, normal outside.
        {Move, Qt::NoButton, {111, 25}, xpcmdbutton::Pressed},
        {Move, Qt::NoButton, {112, 12}, xpcmdbutton::Normal},
        {Move, Qt::NoButton, {30, 12}, xpcmdbutton::Pressed},
        {Release, Qt::LeftButton, {30, 12}, xpcmdbutton::Normal},
        {Move, Qt::NoButton, {31, 12}, xpcmdbutton::Hover},
        {Press, Qt::RightButton, {31, 12}, xpcmdbutton::Pressed},
        {Move, Qt::NoButton, {40, 12}, xpcmdbutton::Hover},  // any other button held shows hover
        {Release, Qt::RightButton, {40, 12}, xpcmdbutton::Normal},
    };
    int n = 0;
    for (const auto& s : steps) {
        if (s.step == Move)
            QTest::mouseMove(&host, onHost(s.at));
        else if (s.step == Press)
            QTest::mousePress(&host, s.button, {}, onHost(s.at));
        else
            QTest::mouseRelease(&host, s.button, {}, onHost(s.at));
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
