// The command button rendered and clicked for real: faces per state, caption, mouse rules, stored values.
#include "PixelCheck.h"

#include "controls/StoredValues.h"
#include "controls/xpcmdbutton.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

// The colour the 111 x 25 face shows at its centre: row 10 of the face picture.
constexpr unsigned NormalMiddle = 0xFFFFFF;
constexpr unsigned PressedMiddle = 0x60BAFF;
constexpr unsigned DisabledMiddle = 0xECECEC;
constexpr unsigned HoverMiddle = 0x92C6FF;

// A host panel with one button placed on it, as the windows do.
class CommandButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(300, 120);
        QFont ambient(QStringLiteral("Tahoma"), 9);
        host.setFont(ambient);
        button = new xpcmdbutton(QStringLiteral("Cmd_AddFiles"), &host);
        button->setGeometry(20, 30, 111, 25);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    unsigned centre() const { return rgbAt(button->image(), 55, 12); }
    QLabel* label() const { return button->findChild<QLabel*>(); }
    QPoint onHost(QPoint buttonPoint) const { return button->mapTo(&host, buttonPoint); }
    void expectCornersIn(const QColor& colour) const
    {
        const QImage& face = button->image();
        const int right = face.width() - 1;
        const int bottom = face.height() - 1;
        for (auto [x, y] : {std::pair {0, 0}, {right, 0}, {0, bottom}, {right, bottom}})
            EXPECT_EQ(rgbAt(face, x, y), colour.rgb() & 0xFFFFFFu) << x << "," << y;
    }
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

TEST_F(CommandButtonTest, TheNormalFaceIsStretchedWithCornersInTheBackColour)
{
    EXPECT_EQ(button->image().size(), QSize(111, 25));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Normal);
    EXPECT_EQ(centre(), NormalMiddle);
    EXPECT_EQ(rgbAt(button->image(), 55, 0), 0x9A9A9Au);
    EXPECT_EQ(rgbAt(button->image(), 55, 24), 0xBFBFBFu);
    expectCornersIn(systemWindowColour());
    EXPECT_NE(rgbAt(button->image(), 1, 0), systemWindowColour().rgb() & 0xFFFFFFu);

    // A new BackColor reaches the corners at the next painting of the face.
    button->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    expectCornersIn(systemWindowColour());
    button->resize(120, 25);
    expectCornersIn(QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(rgbAt(button->image(), 119, 24), 0xE0E0E0u);
}

TEST_F(CommandButtonTest, TheCaptionIsCentredAndColouredByTheEnabledState)
{
    EXPECT_EQ(button->Caption(), "Cmd_AddFiles");
    EXPECT_EQ(button->captionFont(), host.font()) << "the ambient font";
    button->setCaption(QStringLiteral("Add files"));
    const QRect text = label()->geometry();
    EXPECT_EQ(text.left(), (111 - text.width()) / 2);
    EXPECT_EQ(text.top(), (25 - text.height()) / 2);
    EXPECT_TRUE(captionShows(QColor(0, 0, 0)));

    button->setForeColor(QColor(0xFF, 0, 0));
    EXPECT_TRUE(captionShows(QColor(0xFF, 0, 0)));
    button->setEnabled(false);
    EXPECT_EQ(button->faceState(), xpcmdbutton::Disabled);
    EXPECT_EQ(centre(), DisabledMiddle);
    EXPECT_EQ(button->ForeColor(), QColor(0xA1, 0xA1, 0x92)) << "the disabled colour overrides ForeColor";
    EXPECT_TRUE(captionShows(QColor(0xA1, 0xA1, 0x92)));
    button->setEnabled(true);
    EXPECT_EQ(centre(), NormalMiddle);
    EXPECT_EQ(button->ForeColor(), QColor(0, 0, 0));

    // A disabled host greys the face and caption for a while, then gives the host's colour back.
    button->setForeColor(QColor(0xFF, 0, 0));
    host.setEnabled(false);
    EXPECT_EQ(centre(), DisabledMiddle);
    EXPECT_TRUE(captionShows(QColor(0xA1, 0xA1, 0x92)));
    host.setEnabled(true);
    EXPECT_EQ(centre(), NormalMiddle);
    EXPECT_EQ(button->ForeColor(), QColor(0xFF, 0, 0));
    EXPECT_TRUE(captionShows(QColor(0xFF, 0, 0)));
    button->setForeColor(QColor(0, 0, 0));

    button->resize(200, 40);
    const QRect moved = label()->geometry();
    EXPECT_EQ(moved.left(), (200 - moved.width()) / 2);
    EXPECT_EQ(moved.top(), (40 - moved.height()) / 2);
    EXPECT_TRUE(allPixels(button->image(), QRect(3, 3, 194, 1), rgbAt(button->image(), 100, 3)));
}

TEST_F(CommandButtonTest, HoverPressAndLeaveChangeTheFace)
{
    QTest::mouseMove(&host, onHost({50, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Hover);
    EXPECT_EQ(centre(), HoverMiddle);
    expectCornersIn(systemWindowColour());

    QTest::mouseMove(&host, onHost({50, 60}));  // off the button, onto the host
    EXPECT_EQ(button->faceState(), xpcmdbutton::Normal);
    EXPECT_EQ(centre(), NormalMiddle);

    QTest::mouseMove(&host, onHost({50, 12}));
    QTest::mousePress(&host, Qt::LeftButton, {}, onHost({50, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Pressed);
    EXPECT_EQ(centre(), PressedMiddle);
    // With the left button held the button keeps seeing the pointer: pressed
    // inside, where the far edges still count, normal outside.
    QTest::mouseMove(&host, onHost({111, 25}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Pressed);
    QTest::mouseMove(&host, onHost({112, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Normal);
    QTest::mouseMove(&host, onHost({30, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Pressed);
    QTest::mouseRelease(&host, Qt::LeftButton, {}, onHost({30, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Normal) << "released over the button: normal face";
    QTest::mouseMove(&host, onHost({31, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Hover);

    QTest::mousePress(&host, Qt::RightButton, {}, onHost({31, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Pressed);
    QTest::mouseMove(&host, onHost({40, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Hover) << "any other button held shows hover";
    QTest::mouseRelease(&host, Qt::RightButton, {}, onHost({40, 12}));
    EXPECT_EQ(button->faceState(), xpcmdbutton::Normal);
}

TEST_F(CommandButtonTest, ClickComesOnALeftPressAndReleaseOverTheButton)
{
    QSignalSpy clicks(button, &xpcmdbutton::Click);
    int faceAtClick = -1;
    QObject::connect(button, &xpcmdbutton::Click, [&] { faceAtClick = button->faceState(); });
    QTest::mouseClick(&host, Qt::LeftButton, {}, onHost({50, 12}));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(faceAtClick, xpcmdbutton::Normal) << "the face is restored before Click";

    QTest::mouseClick(&host, Qt::RightButton, {}, onHost({50, 12}));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mousePress(&host, Qt::LeftButton, {}, onHost({50, 12}));
    QTest::mouseMove(&host, onHost({50, 80}));
    QTest::mouseRelease(&host, Qt::LeftButton, {}, onHost({50, 80}));
    EXPECT_EQ(clicks.count(), 1) << "released off the button";

    button->setEnabled(false);
    QTest::mouseClick(&host, Qt::LeftButton, {}, onHost({50, 12}));
    QTest::mouseMove(&host, onHost({52, 12}));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button->faceState(), xpcmdbutton::Disabled) << "a disabled button takes no mouse input";
}

TEST_F(CommandButtonTest, TheFaceIsRepaintedOnlyWhenItChanges)
{
    QTest::mouseMove(&host, onHost({50, 12}));
    QCoreApplication::processEvents();
    const qint64 key = button->image().cacheKey();
    QTest::mouseMove(&host, onHost({51, 12}));
    QTest::mouseMove(&host, onHost({52, 13}));
    EXPECT_EQ(button->image().cacheKey(), key) << "a move in the same state leaves the face alone";
    QTest::mousePress(&host, Qt::LeftButton, {}, onHost({52, 13}));
    EXPECT_NE(button->image().cacheKey(), key);
    QTest::mouseRelease(&host, Qt::LeftButton, {}, onHost({52, 13}));
}

TEST(CommandButtonProperties, LoadingWithoutDataGivesTheStoredDefaults)
{
    QWidget host;
    xpcmdbutton button(QStringLiteral("Command1"), &host);
    button.resize(111, 25);
    QSignalSpy changed(&button, &xpcmdbutton::PropertyChanged);
    button.ReadProperties(PropertyBag());
    EXPECT_TRUE(button.isEnabled());
    EXPECT_EQ(button.Caption(), "xpcmdbutton");
    EXPECT_EQ(button.ForeColor(), QColor(0, 0, 0));
    EXPECT_EQ(button.BackColor(), systemWindowColour());
    QStringList names;
    for (const auto& call : changed)
        names << call.at(0).toString();
    EXPECT_EQ(names, (QStringList {"Enabled", "Caption", "Font"}));
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(rgbAt(button.image(), 0, 0), systemWindowColour().rgb() & 0xFFFFFFu);
}

TEST(CommandButtonProperties, StoredValuesLoadInOrderAndSaveWithoutDefaults)
{
    QWidget host;
    host.setFont(QFont(QStringLiteral("Tahoma"), 9));
    QFont bold(QStringLiteral("Tahoma"), 9);
    bold.setBold(true);
    PropertyBag stored;  // the hosts spell the keys in lower case
    stored.write("enabled", false, true);
    stored.write("caption", QStringLiteral("Output"), QString());
    stored.write("font", bold, QFont());
    stored.write("backcolor", 0xE0E0E0, 0);
    stored.write("forecolor", 0x0000FF, 0);
    xpcmdbutton button(QStringLiteral("Cmd_Output"), &host);
    button.resize(132, 25);
    button.ReadProperties(stored);
    EXPECT_FALSE(button.isEnabled());
    EXPECT_EQ(button.Caption(), "Output");
    EXPECT_TRUE(button.captionFont().bold());
    EXPECT_EQ(button.BackColor(), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(button.ForeColor(), QColor(0xFF, 0, 0)) << "a stored ForeColor wins over the disabled colour";

    PropertyBag saved;
    button.WriteProperties(saved);
    EXPECT_EQ(saved.names(), (QStringList {"Enabled", "Caption", "BackColor", "Font", "ForeColor"}));
    EXPECT_EQ(saved.read("Caption", QString()).toString(), "Output");

    // A button left as it was made stores only its caption, once, so that it
    // comes back with its own name rather than the control's.
    xpcmdbutton fresh(QStringLiteral("Cmd_Settings"), &host);
    PropertyBag plain;
    fresh.WriteProperties(plain);
    EXPECT_EQ(plain.names(), QStringList {"Caption"});
    xpcmdbutton reloaded(QStringLiteral("Cmd_Settings"), &host);
    reloaded.ReadProperties(plain);
    EXPECT_EQ(reloaded.Caption(), "Cmd_Settings");
    EXPECT_TRUE(reloaded.isEnabled());
}

}  // namespace
}  // namespace leafmill::test
