#include "UiEnvironment.h"
#include "ui/Frm_Main.h"
#include "ui/Frm_Settings.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"

#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

// Dark pixels of `text` drawn black on white in `font`.
int inkOf(const QString& text, const QFont& font)
{
    QImage image(400, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(4, 28, text);
    painter.end();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

TEST(WindowFaceTest, BoldCaptionsAreBoldInBothScripts)
{
    // The face the program installs; one without a bold of its own (most CJK
    // faces) is emboldened.
    ui::installDefaultFont();
    for (const QString& text : {QStringLiteral("Cut-sensitive strings"), QStringLiteral("切分敏感字符串")}) {
        const int regular = inkOf(text, ui::windowFont(ui::kFont9pt));
        const int bold = inkOf(text, ui::windowFont(ui::kFont9pt, true));
        EXPECT_GT(bold, regular * 115 / 100) << text.toStdString() << ": " << regular << " vs " << bold;
    }
}

class LanguageLabelsTest : public ::testing::TestWithParam<const char*> { };

// Every label of the main window and the settings dialog shows its whole text
// inside its window, in every shipped language.
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
            const QString what
                = window->objectName() + QLatin1Char('/') + label->objectName() + QStringLiteral(": ") + label->text();
            EXPECT_GE(label->width(), label->sizeHint().width()) << what.toStdString();
            EXPECT_GE(label->height(), label->fontMetrics().height()) << what.toStdString();
            const QRect inWindow(label->mapTo(window, QPoint(0, 0)), label->size());
            EXPECT_TRUE(window->rect().contains(inWindow)) << what.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageLabelsTest, ::testing::Values("English", "SimplifiedChinese"));

}  // namespace
}  // namespace leafmill::test
