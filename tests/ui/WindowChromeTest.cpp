// The main window's drawn title bar: its texts, dragging, minimise and close; the message boxes over it.
#include "UiEnvironment.h"
#include "controls/xpcmdbutton.h"
#include "lang/StringId.h"
#include "ui/QtPrompter.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

namespace leafmill::test {
namespace {

using MainWindowChromeTest = MainWindowTest;

void moveWithButton(QWidget* on, QPointF to, Qt::MouseButton held)
{
    QMouseEvent move(QEvent::MouseMove, to, on->mapToGlobal(to), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(on, &move);
}

TEST_F(MainWindowChromeTest, TheTitleAndCaptionsComeFromTheLanguageAndTheWindowGrowsAroundItsList)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Leafmill 1.60"));
    EXPECT_EQ(child<QLabel>("Lab_Tit(2)")->text(), window->windowTitle());
    EXPECT_EQ(child<xpcmdbutton>("Cmd_Output")->Caption(), env.text(StringId::OutputButton));
    EXPECT_EQ(child<xpcmdbutton>("Cmd_Output")->image().pixel(0, 0) & 0xFFFFFFu, 0xE0E0E0u);
    // Made larger, the window gives the room to the list; the title bar's buttons keep to its right.
    window->resize(582, 420);
    EXPECT_EQ(child("List1")->size(), QSize(536, 284));
    EXPECT_EQ(child("iclose")->x(), 562);
    EXPECT_EQ(child("Cmd_Output")->pos(), QPoint(338, 362));
    EXPECT_TRUE(child("Pic_MainFace")->rect().contains(child("SizeGrip")->geometry()));
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
    // A move still reporting the left button after the release (the window manager took it) drags no more.
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(43, 23));
    moveWithButton(bar, {90, 10}, Qt::LeftButton);
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));
}

// Saving the settings on close is the settings suite's; here a failed save is told.
TEST_F(MainWindowChromeTest, MinimiseOnAnyButtonDownCloseOnAnyButtonUpAndAFailedSaveIsTold)
{
    QTest::mousePress(child("min"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_TRUE(window->isMinimized());
    window->showNormal();

    std::filesystem::permissions(env.iniPath(), std::filesystem::perms(0444));
    child<QLineEdit>("Text1")->setText(QStringLiteral("Not to be saved"));
    QTest::mousePress(child("iclose"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_TRUE(window->isVisible());
    QTest::mouseRelease(child("iclose"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_FALSE(window->isVisible());
    const QStringList messages = env.prompter.textsOf(ScriptedPrompter::Kind::Message);
    ASSERT_EQ(env.prompter.prompts.size(), 1);
    EXPECT_TRUE(messages.value(0).contains(QStringLiteral("read-only"))) << messages.value(0).toStdString();
}

}  // namespace
}  // namespace leafmill::test

namespace leafmill::test {
namespace {

// Wherever the owner stands, the box opens centred over it, wide enough for its title beside a
// window manager's buttons; Escape answers No and Enter Yes.
TEST(QtPrompterTest, QuestionsOpenCentredOverTheirOwnerAndAnswerEscapeAndEnter)
{
    QWidget owner(nullptr, Qt::Window | Qt::FramelessWindowHint);
    owner.setGeometry(30, 40, 382, 320);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QtPrompter prompter;
    const QString title = QStringLiteral("Leafmill");
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        QRect box;
        QTimer::singleShot(0, [&] {
            QWidget* shownBox = QApplication::activeModalWidget();
            box = shownBox->geometry();
            QTest::keyClick(shownBox, key);
        });
        EXPECT_EQ(prompter.question(&owner, title, QStringLiteral("Stop?")), key == Qt::Key_Return);
        EXPECT_LE((box.center() - owner.geometry().center()).manhattanLength(), 2)
            << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
        EXPECT_GT(box.width(), owner.fontMetrics().horizontalAdvance(title) + 100);
    }
}

}  // namespace
}  // namespace leafmill::test
