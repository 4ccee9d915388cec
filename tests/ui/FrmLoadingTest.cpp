#include "UiEnvironment.h"
#include "lang/LanguageTable.h"
#include "ui/Frm_Loading.h"
#include "ui/UiContext.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

class FrmLoadingTest : public ::testing::Test {
protected:
    void SetUp() override { env.load(); }
    std::unique_ptr<Frm_Loading> splashWith(const std::string& homePage)
    {
        LanguageTable language = *env.context().language();
        language.HomePage = homePage;
        return std::make_unique<Frm_Loading>(language, env.context().imagesFolder());
    }

    UiEnvironment env;
};

TEST_F(FrmLoadingTest, ShowsThePictureAndTheRightAlignedHomePageAndVersion)
{
    auto splash = splashWith("leafmill.example.org");
    EXPECT_EQ(splash->size(), QSize(212, 356));
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->windowType(), Qt::SplashScreen);  // no taskbar button
    auto* picture = splash->findChild<QLabel*>(QStringLiteral("Picture"));
    ASSERT_FALSE(picture->pixmap().isNull());
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 212, 356));

    auto* label = splash->findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_EQ(label->text(), QStringLiteral("leafmill.example.org\nVer: 1.60"));
    EXPECT_EQ(label->y(), 10);
    EXPECT_EQ(label->geometry().right() + 1, 212 - 8);
    EXPECT_TRUE(label->font().bold());
    const int shortWidth = label->width();

    // A longer home page widens the label to the left; an empty one leaves the
    // first line empty.
    auto longer = splashWith("https://a-much-longer-home-page.example.org/leafmill");
    auto* longLabel = longer->findChild<QLabel*>(QStringLiteral("Label1"));
    EXPECT_GT(longLabel->width(), shortWidth);
    EXPECT_EQ(longLabel->geometry().right() + 1, 212 - 8);
    auto empty = splashWith("");
    EXPECT_EQ(empty->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("\nVer: 1.60"));
}

TEST_F(FrmLoadingTest, AfterItsTimeTheSplashGoesAndTheMainWindowShows)
{
    QWidget mainWindow;
    QElapsedTimer clock;
    clock.start();
    auto splash = splashWith("leafmill.example.org");
    splash->setMainWindow(&mainWindow);
    splash->show();
    ASSERT_TRUE(splash->timer()->isActive());
    EXPECT_EQ(splash->timer()->interval(), 1800);
    QTest::qWait(200);
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(splash->isVisible());

    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindow.isVisible(); }, 30000));
    EXPECT_GE(clock.elapsed(), 1800);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(splash->timer()->isActive());
}

}  // namespace
}  // namespace leafmill::test
