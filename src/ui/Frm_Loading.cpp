#include "ui/Frm_Loading.h"

#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "ui/UiStyle.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QUrl>

namespace leafmill {

namespace {

// Names reserved for examples (RFC 2606, RFC 6761) are no address to visit.
bool isPlaceholderAddress(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    const QString host = url.host().toLower();
    for (const char* reserved : {"example", "example.com", "example.net", "example.org", "invalid", "test"}) {
        const QString name = QString::fromLatin1(reserved);
        if (host == name || host.endsWith(QLatin1Char('.') + name))
            return true;
    }
    return false;
}

}  // namespace

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
    const QString homePage = ui::fromUtf8(language.HomePage);
    const QString version = ui::fromUtf8(language.text(StringId::SplashVersion))
                                .replace(QStringLiteral("@Version"), ui::fromUtf8(language.SoftVersion));
    Label1->setText((isPlaceholderAddress(homePage) ? QString() : homePage) + QLatin1Char('\n') + version);
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
