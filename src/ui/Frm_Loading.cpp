#include "ui/Frm_Loading.h"

#include "lang/LanguageTable.h"
#include "ui/UiStyle.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace leafmill {

Frm_Loading::Frm_Loading(const LanguageTable& language, const QString& imagesFolder, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Frm_Loading"));
    setFixedSize(212, 356);
    setFont(ui::windowFont());
    setAutoFillBackground(true);
    // Closing the splash must not end the program while the main window is
    // still hidden.
    setAttribute(Qt::WA_QuitOnClose, false);

    // Drawn at the top left without stretching; a missing picture leaves the
    // plain background.
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Picture"));
    const QPixmap pixmap(QDir(imagesFolder).filePath(QStringLiteral("loading.jpg")));
    picture_->setPixmap(pixmap);
    picture_->setGeometry(0, 0, pixmap.width(), pixmap.height());

    Label1 = ui::makeLabel(this, QStringLiteral("Label1"), {0, 10});
    Label1->setFont(ui::windowFont(ui::kFont7_5pt, true));
    Label1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label1->setText(ui::fromUtf8(language.HomePage) + QStringLiteral("\nVer: ") + ui::fromUtf8(language.SoftVersion));
    ui::fitLabel(Label1);
    // Its right edge stays 8 pixels from the window's edge, however long the text.
    Label1->move(width() - Label1->width() - 8, 10);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    // Never earlier than its time, as a coarse timer may be.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(kShowTime);
    connect(Timer1, &QTimer::timeout, this, &Frm_Loading::Timer1_Timer);
    Timer1->start();
}

void Frm_Loading::showEvent(QShowEvent* event)
{
    ui::centreOnScreenOnce(this, centred_);
    QWidget::showEvent(event);
}

void Frm_Loading::Timer1_Timer()
{
    close();
    if (mainWindow_)
        mainWindow_->show();
}

}  // namespace leafmill
