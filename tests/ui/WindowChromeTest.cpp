// The main window's drawn title bar: its texts, dragging, minimise and close.
#include "MainWindowTest.h"
#include "controls/xpcmdbutton.h"
#include "lang/StringId.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

class MainWindowChromeTest : public MainWindowTest {
protected:
    void moveWithButton(QWidget* on, QPointF to, Qt::MouseButton held)
    {
        QMouseEvent move(QEvent::MouseMove, to, on->mapToGlobal(to), Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(on, &move);
    }
};

TEST_F(MainWindowChromeTest, TheTitleAndCaptionsComeFromTheLanguageAndTheButtonsSitOnThePanelColour)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Leafmill 1.60"));
    EXPECT_EQ(child<QLabel>("Lab_Tit(1)")->text(), window->windowTitle());
    EXPECT_EQ(child<QLabel>("Lab_Tit(2)")->text(), window->windowTitle());
    EXPECT_EQ(child<QLabel>("Label1")->text(), env.text(StringId::BookNamePrompt));
    EXPECT_EQ(child<xpcmdbutton>("Cmd_Output")->Caption(), env.text(StringId::OutputButton));
    for (const xpcmdbutton* button : window->findChildren<xpcmdbutton*>()) {
        if (!button->isVisible())
            continue;  // Stop Output is painted when its panel shows
        const QImage& face = button->image();
        EXPECT_EQ(face.pixel(0, 0) & 0xFFFFFFu, 0xE0E0E0u) << button->objectName().toStdString();
        EXPECT_EQ(face.pixel(face.width() - 1, face.height() - 1) & 0xFFFFFFu, 0xE0E0E0u);
    }
}

TEST_F(MainWindowChromeTest, OnlyTheLeftButtonDragsByTheTitleBar)
{
    const QPoint start = window->pos();
    auto* bar = child("Image1");
    QTest::mousePress(bar, Qt::RightButton, {}, QPoint(100, 10));
    moveWithButton(bar, {140, 30}, Qt::RightButton);
    QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(140, 30));
    EXPECT_EQ(window->pos(), start);

    // By the title text as by the background: the window follows the pointer.
    auto* title = child("Lab_Tit(1)");
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(3, 3));
    moveWithButton(title, {43, 23}, Qt::LeftButton);
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));

    // After the release, a move that still reports the left button (the window
    // manager took the release) starts no second drag.
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(43, 23));
    moveWithButton(bar, {90, 10}, Qt::LeftButton);
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));
}

TEST_F(MainWindowChromeTest, MinimiseOnAnyButtonDownCloseOnAnyButtonUpAndTheBookNameIsKept)
{
    QTest::mousePress(child("min"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_TRUE(window->isMinimized());
    window->showNormal();

    window->fileList().addUnique(QStringLiteral("not kept.txt"));
    child<QLineEdit>("Text1")->setText(QStringLiteral("Closed by the right button"));
    QTest::mousePress(child("iclose"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_TRUE(window->isVisible());
    QTest::mouseRelease(child("iclose"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(env.prompter.prompts.empty());

    // The next start shows the saved name, and an empty list.
    window.reset();
    env.load();
    Frm_Main next(env.context());
    EXPECT_EQ(next.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(),
              QStringLiteral("Closed by the right button"));
    EXPECT_TRUE(next.fileList().paths().isEmpty());
}

TEST_F(MainWindowChromeTest, AFailedSaveIsToldWithItsReason)
{
    std::filesystem::permissions(env.iniPath(), std::filesystem::perms(0444));
    child<QLineEdit>("Text1")->setText(QStringLiteral("Not to be saved"));
    window->close();
    const QStringList messages = env.prompter.textsOf(ScriptedPrompter::Kind::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(shown(env.iniPath()))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("read-only"))) << messages[0].toStdString();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace leafmill::test
