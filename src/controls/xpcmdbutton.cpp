#include "controls/xpcmdbutton.h"

#include "controls/ButtonFaces.h"
#include "controls/Mnemonic.h"
#include "controls/MouseArguments.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

namespace leafmill {

namespace {

const QColor EnabledCaption(0x00, 0x00, 0x00);
const QColor DisabledCaption(0xA1, 0xA1, 0x92);

// The face's corners show the system's window colour until a host sets its own.
QColor systemWindowColour()
{
    return QGuiApplication::palette().color(QPalette::Base);
}

}  // namespace

xpcmdbutton::xpcmdbutton(const QString& instanceName, QWidget* parent)
    : QWidget(parent)
    , backColor_(systemWindowColour())
    , lbl_(new QLabel(this))
    , mnemonic_(new QShortcut(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // hover without a button held
    setFocusPolicy(Qt::StrongFocus);
    mnemonic_->setContext(Qt::WindowShortcut);
    connect(mnemonic_, &QShortcut::activated, this, &xpcmdbutton::clickByShortcut);
    // The caption lies on the face; every mouse event over it belongs to the button.
    lbl_->setAttribute(Qt::WA_TransparentForMouseEvents);
    lbl_->setAutoFillBackground(false);
    lbl_->setAlignment(Qt::AlignCenter);
    RefreshFace();
    // A new instance: enabled, captioned with its name, in the host's font.
    showCaption(instanceName);
    lbl_->setFont(ambientFont());
    showCaptionColour();
    centreLabel();
}

QString xpcmdbutton::Caption() const
{
    return caption_;
}
QFont xpcmdbutton::captionFont() const
{
    return lbl_->font();
}
QColor xpcmdbutton::BackColor() const
{
    return backColor_;
}
QColor xpcmdbutton::ForeColor() const
{
    return foreColor_;
}
const QImage& xpcmdbutton::image() const
{
    return picture2_;
}
xpcmdbutton::FaceState xpcmdbutton::faceState() const
{
    return faceState_;
}
QSize xpcmdbutton::sizeHint() const
{
    return {111, 25};
}

void xpcmdbutton::setCaption(const QString& New_Caption)
{
    showCaption(New_Caption);
    centreLabel();  // hosts set captions after placing the buttons; keep them centred
}

void xpcmdbutton::showCaption(const QString& caption)
{
    caption_ = caption;
    mnemonic_->setKey(QKeySequence::mnemonic(caption));
    const QString marked = mnemonicRichText(caption);
    lbl_->setTextFormat(marked.isEmpty() ? Qt::PlainText : Qt::RichText);
    lbl_->setText(marked.isEmpty() ? caption : marked);
}

void xpcmdbutton::clickByShortcut()
{
    // A shortcut of a hidden or disabled button is not offered; the check
    // keeps a click from a host that is being disabled.
    if (!isEnabled() || !isVisible())
        return;
    setFocus(Qt::ShortcutFocusReason);
    emit Click();
}

void xpcmdbutton::setCaptionFont(const QFont& New_Font)
{
    lbl_->setFont(New_Font);
    centreLabel();
}

void xpcmdbutton::setBackColor(const QColor& New_BackColor)
{
    // Reaches the corner pixels at the next face painting.
    backColor_ = New_BackColor;
}

void xpcmdbutton::setForeColor(const QColor& New_ForeColor)
{
    foreColor_ = New_ForeColor;
    showCaptionColour();
}

void xpcmdbutton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture2_);
    if (hasFocus()) {
        // The focus frame: dotted, inside the face's rim.
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void xpcmdbutton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void xpcmdbutton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A Space held while the focus leaves clicks nothing.
    if (spacePressed_) {
        spacePressed_ = false;
        RefreshFace();
    }
    update();
}

void xpcmdbutton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        // As a mouse button: pressed while held, the click on release.
        if (!event->isAutoRepeat()) {
            spacePressed_ = true;
            PaintFace(Pressed);
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void xpcmdbutton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !spacePressed_) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    spacePressed_ = false;
    RefreshFace();
    emit Click();
}

void xpcmdbutton::resizeEvent(QResizeEvent*)
{
    centreLabel();
    RefreshFace();
}

void xpcmdbutton::showEvent(QShowEvent*)
{
    RefreshFace();
}

void xpcmdbutton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        enabledChanged();
}

void xpcmdbutton::enabledChanged()
{
    // Only the button's own Enabled recolours the caption; a disabled host
    // greys it for a while and gives the host's colour back afterwards.
    const bool ownEnabled = !testAttribute(Qt::WA_ForceDisabled);
    if (ownEnabled != ownEnabled_) {
        ownEnabledSet();
        return;
    }
    RefreshFace();
    showCaptionColour();
}

void xpcmdbutton::ownEnabledSet()
{
    ownEnabled_ = !testAttribute(Qt::WA_ForceDisabled);
    RefreshFace();
    foreColor_ = ownEnabled_ ? EnabledCaption : DisabledCaption;
    showCaptionColour();
}

void xpcmdbutton::mousePressEvent(QMouseEvent* event)
{
    PaintFace(Pressed);
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
}

void xpcmdbutton::mouseMoveEvent(QMouseEvent* event)
{
    // Qt keeps sending moves while a button is held (the implicit grab), so
    // the move that leaves the button arrives here and restores the face.
    if (!pointerInside(event->position(), size()))
        PaintFace(Normal);
    else if (event->buttons() == Qt::LeftButton)
        PaintFace(Pressed);
    else
        PaintFace(Hover);
}

void xpcmdbutton::mouseReleaseEvent(QMouseEvent* event)
{
    RefreshFace();
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = leftPressed_ && rect().contains(event->position().toPoint());
    leftPressed_ = false;
    if (click)
        emit Click();
}

void xpcmdbutton::leaveEvent(QEvent*)
{
    // Without a button held, leaving is the move that takes the pointer out.
    if (isEnabled())
        PaintFace(Normal);
}

void xpcmdbutton::PaintFace(FaceState state)
{
    if (state == faceState_ && picture2_.size() == size() && paintedBackColor_ == backColor_)
        return;  // the image would come out the same
    faceState_ = state;
    paintedBackColor_ = backColor_;
    if (picture2_.size() != size())
        picture2_ = QImage(size(), QImage::Format_RGB32);
    if (picture2_.isNull())
        return;
    picture2_.fill(backColor_);
    QPainter painter(&picture2_);
    ButtonFaces::paint(painter, ButtonFaces::face(state), size(), backColor_);
    update();
}

void xpcmdbutton::RefreshFace()
{
    PaintFace(isEnabled() ? Normal : Disabled);
}

void xpcmdbutton::centreLabel()
{
    lbl_->adjustSize();
    lbl_->move((width() - lbl_->width()) / 2, (height() - lbl_->height()) / 2);
}

void xpcmdbutton::showCaptionColour()
{
    const bool hostDisabled = !isEnabled() && !testAttribute(Qt::WA_ForceDisabled);
    QPalette palette = lbl_->palette();
    // The same colour in every group: a disabled label must not fall back to the palette's grey.
    palette.setColor(QPalette::WindowText, hostDisabled ? DisabledCaption : foreColor_);
    lbl_->setPalette(palette);
}

QFont xpcmdbutton::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

}  // namespace leafmill
