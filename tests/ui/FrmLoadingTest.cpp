// The splash: the home page and version of the language in use, then the
// main window after the splash's time.
#include "UiEnvironment.h"
#include "lang/LanguageTable.h"
#include "ui/Frm_Loading.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

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
    static QLabel* label(const Frm_Loading& splash) { return splash.findChild<QLabel*>(QStringLiteral("Label1")); }

    UiEnvironment env;
};

TEST_F(FrmLoadingTest, ShowsThePictureAndTheHomePageAndVersionRightAlignedThenTheMainWindow)
{
    auto splash = splashWith("leafmill.example.org");
    EXPECT_FALSE(splash->findChild<QLabel*>(QStringLiteral("Picture"))->pixmap().isNull());
    EXPECT_EQ(label(*splash)->text(), QStringLiteral("leafmill.example.org\nVer: 1.60"));
    // A longer home page widens the label to the left.
    auto longer = splashWith("https://a-much-longer-home-page.example.org/leafmill");
    EXPECT_GT(label(*longer)->width(), label(*splash)->width());
    EXPECT_EQ(label(*longer)->geometry().right(), label(*splash)->geometry().right());
    EXPECT_EQ(label(*splashWith(""))->text(), QStringLiteral("\nVer: 1.60"));

    // After its time the splash goes and the main window shows.
    QWidget mainWindow;
    QElapsedTimer clock;
    clock.start();
    splash->setMainWindow(&mainWindow);
    splash->show();
    QTest::qWait(200);
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(splash->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindow.isVisible(); }, 60000));
    EXPECT_GE(clock.elapsed(), 1800);
    EXPECT_FALSE(splash->isVisible());
}

}  // namespace
}  // namespace leafmill::test
