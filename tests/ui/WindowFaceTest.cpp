// Every label of the main window and settings shows its whole text in every shipped language, a
// mnemonic's "&" underlines its letter, and the toolkit's own buttons speak the language too.
#include "CaseName.h"
#include "UiEnvironment.h"
#include "ui/Frm_Settings.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRegularExpression>

namespace leafmill::test {
namespace {

class LanguageLabelsTest : public ::testing::TestWithParam<const char*> { };

TEST_P(LanguageLabelsTest, ShowTheirWholeText)
{
    UiEnvironment env;
    env.setIniKey("UserSettings", "MyLagIndex", GetParam());
    env.load();
    Frm_Main main(env.context());
    Frm_Settings settings(env.context(), [] {});
    for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&settings)}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || !label->isVisible())
                continue;
            SCOPED_TRACE((window->objectName() + '/' + label->objectName() + ": " + label->text()).toStdString());
            EXPECT_GE(label->width(), label->sizeHint().width());
            EXPECT_GE(label->height(), label->fontMetrics().height());
            EXPECT_TRUE(window->rect().contains(QRect(label->mapTo(window, QPoint(0, 0)), label->size())));
            if (label->text().contains(u'&')) {
                EXPECT_NE(label->buddy(), nullptr) << "an \"&\" shown as it is";
            }
        }
        // A title drops the mnemonic marker, with the brackets a letter was added in.
        EXPECT_FALSE(window->windowTitle().contains(QRegularExpression(QStringLiteral("[&()]"))))
            << window->windowTitle().toStdString();
    }
    const bool english = std::string(GetParam()) == "English";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes") == QStringLiteral("&Yes"), english);
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageLabelsTest, ::testing::Values("English", "SimplifiedChinese"),
                         NamedByValue());

}  // namespace
}  // namespace leafmill::test
