#include "controls/GfuBut.h"

#include "controls/MouseArguments.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace leafmill {

GfuBut::GfuBut(const QString& instanceName, const QString& imagesFolder, QWidget* parent)
    : QWidget(parent)
    , instanceName_(instanceName)
    , imagesFolder_(imagesFolder)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // hover without a button held
    setFocusPolicy(Qt::TabFocus);
}

const QImage& GfuBut::picture() const
{
    return picture_;
}
int GfuBut::pictureState() const
{
    return pictureState_;
}

void GfuBut::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, picture_);  // at its own size; the background shows around it
    if (hasFocus()) {
        // White under black dots, so that the frame shows on any picture.
        const QRect frame = rect().adjusted(1, 1, -2, -2);
        painter.setPen(Qt::white);
        painter.drawRect(frame);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(frame);
    }
}

void GfuBut::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void GfuBut::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void GfuBut::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Held down, the key repeats the step, as holding the arrow keys does.
    emit KeyActivated();
}

void GfuBut::showEvent(QShowEvent*)
{
    LoadStateImage(0);
}

void GfuBut::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(mouseButtonMask(event->button()), shiftMask(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
    LoadStateImage(0);
}

void GfuBut::mouseMoveEvent(QMouseEvent* event)
{
    // While a button is held Qt keeps sending moves here (the implicit grab),
    // so the move that leaves the button restores the normal picture.
    const bool inside = pointerInside(event->position(), size());
    LoadStateImage(inside && event->buttons() != Qt::LeftButton ? 1 : 0);
    emit MouseMove(mouseButtonMask(event->buttons()), shiftMask(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
}

void GfuBut::mouseReleaseEvent(QMouseEvent* event)
{
    LoadStateImage(0);
    emit MouseUp(mouseButtonMask(event->button()), shiftMask(event->modifiers()), float(event->position().x()),
                 float(event->position().y()));
}

void GfuBut::leaveEvent(QEvent*)
{
    // Without a button held Qt reports no move outside, only the leaving:
    // it restores the normal picture; there is no position to pass on.
    if (isEnabled())
        LoadStateImage(0);
}

void GfuBut::LoadStateImage(int state)
{
    // Read from disk each time, so pictures replaced while running show at once.
    const QString stem = imagesFolder_ + QLatin1Char('/') + instanceName_ + QString::number(state);
    const QString gif = stem + QStringLiteral(".gif");
    QImage loaded;
    // A missing or unreadable file keeps the picture the button had.
    if (!loaded.load(QFileInfo::exists(gif) ? gif : stem + QStringLiteral(".jpg")))
        return;
    pictureState_ = state;
    if (loaded == picture_)
        return;
    picture_ = loaded;
    update();
}

}  // namespace leafmill
