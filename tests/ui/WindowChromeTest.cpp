#include "UiEnvironment.h"
#include "app/SettingsStore.h"
#include "controls/GfuBut.h"
#include "controls/xpcmdbutton.h"
#include "lang/StringId.h"
#include "ui/Frm_Main.h"
#include "ui/UiContext.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

class MainWindowChromeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.load();
        window = std::make_unique<Frm_Main>(env.context());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T = QWidget> T* child(const char* name) const
    {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    UiEnvironment env;
    std::unique_ptr<Frm_Main> window;
};

TEST_F(MainWindowChromeTest, FaceShowsTheTitleTwiceAndPlacesTheBookNameBoxAfterThePrompt)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Leafmill 1.60"));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->size(), QSize(382, 320));

    auto* upper = child<QLabel>("Lab_Tit(1)");
    auto* lower = child<QLabel>("Lab_Tit(2)");
    EXPECT_EQ(upper->text(), window->windowTitle());
    EXPECT_EQ(lower->text(), window->windowTitle());
    EXPECT_EQ(upper->pos(), QPoint(24, 4));
    EXPECT_EQ(lower->pos(), QPoint(25, 5));
    EXPECT_EQ(upper->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(lower->palette().color(QPalette::WindowText), QColor(Qt::white));
    // Black above white: the upper label comes later among the siblings.
    const QObjectList& siblings = window->children();
    EXPECT_GT(siblings.indexOf(upper), siblings.indexOf(lower));
    EXPECT_GT(siblings.indexOf(lower), siblings.indexOf(child("Image2")));
    EXPECT_GT(siblings.indexOf(child("Image2")), siblings.indexOf(child("Image1")));
    EXPECT_FALSE(child<QLabel>("Image1")->pixmap().isNull());
    EXPECT_EQ(child("Image1")->geometry(), QRect(1, 0, 380, 21));
    EXPECT_EQ(child("min")->geometry(), QRect(344, 4, 16, 16));
    EXPECT_EQ(child("iclose")->geometry(), QRect(362, 4, 16, 16));

    auto* prompt = child<QLabel>("Label1");
    auto* bookName = child<QLineEdit>("Text1");
    EXPECT_EQ(prompt->text(), env.text(StringId::BookNamePrompt));
    EXPECT_EQ(bookName->geometry(), QRect(prompt->x() + prompt->width(), 8, 380 - 16 - prompt->width(), 21));
    EXPECT_EQ(bookName->geometry().right() + 1, 380 - 8);
    EXPECT_EQ(child("arrdown")->geometry(), QRect(346, 192, 31, 30));
    EXPECT_EQ(child<QListWidget>("List1")->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_FALSE(child("Pic_Make")->isVisible());
    auto* output = child<xpcmdbutton>("Cmd_Output");
    EXPECT_TRUE(output->captionFont().bold());
    EXPECT_EQ(output->ForeColor(), QColor(0xFF, 0x00, 0x00));
    EXPECT_FALSE(child<xpcmdbutton>("Cmd_Settings")->captionFont().bold());

    // The program icon in the three sizes the taskbar and switchers ask for.
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    for (int size : {16, 32, 48})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    // Every button's corners take the panel's colour, not the default white.
    for (const xpcmdbutton* button : window->findChildren<xpcmdbutton*>()) {
        if (!button->isVisible())
            continue;  // Stop Output is painted when its panel shows
        const QImage& face = button->image();
        EXPECT_EQ(face.pixel(0, 0) & 0xFFFFFFu, 0xE0E0E0u) << button->objectName().toStdString();
        EXPECT_EQ(face.pixel(face.width() - 1, face.height() - 1) & 0xFFFFFFu, 0xE0E0E0u);
    }
}

TEST_F(MainWindowChromeTest, OnlyTheLeftButtonAloneDragsByTheTitleBar)
{
    const QPoint start = window->pos();
    auto* bar = child("Image1");
    QTest::mouseMove(bar, QPoint(100, 10));
    EXPECT_EQ(window->pos(), start);

    QTest::mousePress(bar, Qt::RightButton, {}, QPoint(100, 10));
    QMouseEvent rightDrag(QEvent::MouseMove, QPointF(140, 30), bar->mapToGlobal(QPointF(140, 30)), Qt::NoButton,
                          Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &rightDrag);
    QTest::mouseRelease(bar, Qt::RightButton, {}, QPoint(140, 30));
    EXPECT_EQ(window->pos(), start);

    // By the title text as by the background: the window follows the pointer.
    auto* title = child("Lab_Tit(1)");
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(3, 3));
    QMouseEvent leftDrag(QEvent::MouseMove, QPointF(43, 23), title->mapToGlobal(QPointF(43, 23)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &leftDrag);
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));

    // After the release, a move that still reports the left button (the window
    // manager took the release) starts no second drag.
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(43, 23));
    QMouseEvent stale(QEvent::MouseMove, QPointF(90, 10), bar->mapToGlobal(QPointF(90, 10)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &stale);
    EXPECT_EQ(window->pos(), start + QPoint(40, 20));
}

TEST_F(MainWindowChromeTest, MinimiseOnAnyButtonDownAndCloseOnAnyButtonUp)
{
    QTest::mousePress(child("min"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_TRUE(window->isMinimized());
    window->showNormal();

    child<QLineEdit>("Text1")->setText(QStringLiteral("Closed by the right button"));
    QTest::mousePress(child("iclose"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_TRUE(window->isVisible());
    QTest::mouseRelease(child("iclose"), Qt::RightButton, {}, QPoint(8, 8));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(env.iniKey("UserSettings", "BookName"), "Closed by the right button");
}

TEST_F(MainWindowChromeTest, AFailedSaveIsToldWithItsReason)
{
    // A read-only main.ini is the user's decision: it is not replaced.
    std::filesystem::permissions(env.iniPath(), std::filesystem::perms(0444));
    const std::string before = readFile(env.iniPath());
    child<QLineEdit>("Text1")->setText(QStringLiteral("Not to be saved"));
    window->close();
    EXPECT_EQ(readFile(env.iniPath()), before);
    const QStringList messages = env.prompter.textsOf(ScriptedPrompter::Kind::Message);
    ASSERT_EQ(messages.size(), 1);
    QString expected = env.text(StringId::SettingsNotSaved);
    const QString head = expected.left(expected.indexOf(QStringLiteral("@File")));
    EXPECT_TRUE(messages[0].startsWith(head)) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(shown(env.iniPath()))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("read-only"))) << messages[0].toStdString();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace leafmill::test
