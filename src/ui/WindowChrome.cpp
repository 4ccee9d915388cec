#include "ui/WindowChrome.h"

#include "controls/GfuBut.h"
#include "controls/Mnemonic.h"
#include "ui/PointerButtons.h"
#include "ui/UiStyle.h"

#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

namespace leafmill {

static QLabel* makePicture(QWidget* window, const QString& name, const QRect& geometry, const QString& file,
                           bool stretched)
{
    auto* picture = new QLabel(window);
    picture->setObjectName(name);
    picture->setGeometry(geometry);
    picture->setScaledContents(stretched);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A missing picture leaves the bar black rather than stopping the window.
    picture->setPixmap(QPixmap(file));
    return picture;
}

WindowChrome::WindowChrome(QWidget* window, const Layout& layout, const QString& imagesFolder)
    : QObject(window)
    , window_(window)
    , layout_(layout)
    , layoutWidth_(window->width())
{
    const QDir images(imagesFolder);
    background_ = makePicture(window, QStringLiteral("Image1"), layout.background,
                              images.filePath(QStringLiteral("tbk.gif")), true);
    icon_
        = makePicture(window, QStringLiteral("Image2"), layout.icon, images.filePath(QStringLiteral("tit.gif")), false);
    lowerTitle_ = makeTitle(layout.lowerTitle, QStringLiteral("Lab_Tit(2)"), Qt::white);
    upperTitle_ = makeTitle(layout.upperTitle, QStringLiteral("Lab_Tit(1)"), Qt::black);

    if (!layout.minimise.isEmpty()) {
        minimise_ = new GfuBut(QStringLiteral("min"), imagesFolder, window);
        minimise_->setObjectName(QStringLiteral("min"));
        minimise_->setGeometry(layout.minimise);
        // The title bar's buttons stay out of the Tab chain; the keyboard has
        // its own ways to close and minimise a window.
        minimise_->setFocusPolicy(Qt::NoFocus);
        connect(minimise_, &GfuBut::MouseDown, window, [window](int, int, float, float) { window->showMinimized(); });
    }
    close_ = new GfuBut(QStringLiteral("iclose"), imagesFolder, window);
    close_->setObjectName(QStringLiteral("iclose"));
    close_->setGeometry(layout.close);
    close_->setFocusPolicy(Qt::NoFocus);
    connect(close_, &GfuBut::MouseUp, this, [this](int, int, float, float) { emit closeRequested(); });

    for (QWidget* handle :
         {static_cast<QWidget*>(background_), static_cast<QWidget*>(upperTitle_), static_cast<QWidget*>(lowerTitle_)}) {
        handle->setMouseTracking(true);
        handle->installEventFilter(this);
    }
}

void WindowChrome::fitWidth(int windowWidth)
{
    const int grown = windowWidth - layoutWidth_;
    background_->resize(layout_.background.width() + grown, layout_.background.height());
    if (minimise_)
        minimise_->move(layout_.minimise.topLeft() + QPoint(grown, 0));
    close_->move(layout_.close.topLeft() + QPoint(grown, 0));
}

QLabel* WindowChrome::makeTitle(const QPoint& topLeft, const QString& name, Qt::GlobalColor colour)
{
    QLabel* label = ui::makeLabel(window_, name, topLeft);
    label->setFont(ui::windowFont());
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

void WindowChrome::setTitle(const QString& title)
{
    // A button's caption may serve as a title; its mnemonic marker does not.
    const QString shown = withoutMnemonic(title);
    window_->setWindowTitle(shown);
    for (QLabel* label : {upperTitle_, lowerTitle_}) {
        label->setText(shown);
        ui::fitLabel(label);
    }
}

bool WindowChrome::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // One move per press: a window manager that takes the move may swallow
        // the release, and later plain moves must not start another.
        dragArmed_ = mouse->button() == Qt::LeftButton && mouse->buttons() == Qt::LeftButton;
        if (dragArmed_)
            grabOffset_ = mouse->globalPosition().toPoint() - window_->frameGeometry().topLeft();
        break;
    }
    case QEvent::MouseButtonRelease:
        dragArmed_ = false;
        followingPointer_ = false;
        break;
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!dragArmed_ || mouse->buttons() != Qt::LeftButton) {
            dragArmed_ = false;
            followingPointer_ = false;
            break;
        }
        drag(mouse->globalPosition().toPoint());
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowChrome::drag(const QPoint& globalPos)
{
    // The platform's own caption move where it has one, started once; its
    // loop ends the drag. Else the window follows the pointer until release.
    if (!followingPointer_) {
        const ui::WindowManagerMove move = ui::startWindowManagerMove(window_);
        if (move != ui::WindowManagerMove::Unavailable) {
            dragArmed_ = false;
            return;
        }
        QWindow* handle = window_->windowHandle();
        if (handle && handle->startSystemMove()) {
            dragArmed_ = false;
            return;
        }
        followingPointer_ = true;
    }
    window_->move(globalPos - grabOffset_);
}

}  // namespace leafmill
