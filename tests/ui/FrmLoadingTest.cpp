// The splash: the language's home page and version, then the main window.
#include "UiEnvironment.h"
#include "ui/Frm_Loading.h"

#include <QElapsedTimer>
#include <QLabel>

namespace leafmill::test {
namespace {

TEST(FrmLoadingTest, ShowsThePictureAndTheHomePageAndVersionRightAlignedThenTheMainWindow)
{
    UiEnvironment env;
    env.load();
    LanguageTable language = *env.context().language();
    language.HomePage = "leafmill.org";
    // The splash's time runs from its making.
    QElapsedTimer clock;
    clock.start();
    Frm_Loading splash(language, env.context().imagesFolder());
    language.HomePage = "https://a-much-longer-home-page.org/leafmill";
    Frm_Loading longer(language, env.context().imagesFolder());
    language.HomePage = "https://leafmill.example.org";  // a reserved example, no address to visit
    Frm_Loading placeholder(language, env.context().imagesFolder());
    const auto label = [](const Frm_Loading& s) { return s.findChild<QLabel*>(QStringLiteral("Label1")); };
    EXPECT_FALSE(splash.findChild<QLabel*>(QStringLiteral("Picture"))->pixmap().isNull());
    EXPECT_EQ(label(splash)->text(), QStringLiteral("leafmill.org\nVer: 1.60"));
    EXPECT_EQ(label(placeholder)->text(), QStringLiteral("\nVer: 1.60"));
    // A longer home page widens the label to the left.
    EXPECT_GT(label(longer)->width(), label(splash)->width());
    EXPECT_EQ(label(longer)->geometry().right(), label(splash)->geometry().right());
    // After its time the splash goes and the main window shows.
    QWidget mainWindow;
    splash.setMainWindow(&mainWindow);
    splash.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindow.isVisible(); }, 60000));
    EXPECT_GE(clock.elapsed(), 1800);
    EXPECT_FALSE(splash.isVisible());
}

}  // namespace
}  // namespace leafmill::test
