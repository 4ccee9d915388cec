#include "controls/xpcmdbutton.h"

#include <QLabel>

namespace leafmill {

xpcmdbutton::xpcmdbutton(const QString& instanceName, QWidget* parent)
    : QWidget(parent), instanceName_(instanceName), lbl_(new QLabel(instanceName, this)) {}
QString xpcmdbutton::Caption() const { return lbl_->text(); }
void xpcmdbutton::setCaption(const QString& New_Caption) { lbl_->setText(New_Caption); }
QFont xpcmdbutton::captionFont() const { return lbl_->font(); }
void xpcmdbutton::setCaptionFont(const QFont& New_Font) { lbl_->setFont(New_Font); }
QColor xpcmdbutton::BackColor() const { return backColor_; }
void xpcmdbutton::setBackColor(const QColor& New_BackColor) { backColor_ = New_BackColor; }
QColor xpcmdbutton::ForeColor() const { return {}; }
void xpcmdbutton::setForeColor(const QColor&) {}
void xpcmdbutton::ReadProperties(const PropertyBag&) {}
void xpcmdbutton::WriteProperties(PropertyBag&) const {}
const QImage& xpcmdbutton::image() const { return picture2_; }
xpcmdbutton::FaceState xpcmdbutton::faceState() const { return faceState_; }
QSize xpcmdbutton::sizeHint() const { return {111, 25}; }
void xpcmdbutton::paintEvent(QPaintEvent*) {}
void xpcmdbutton::resizeEvent(QResizeEvent*) {}
void xpcmdbutton::showEvent(QShowEvent*) {}
void xpcmdbutton::changeEvent(QEvent*) {}
void xpcmdbutton::mousePressEvent(QMouseEvent*) {}
void xpcmdbutton::mouseMoveEvent(QMouseEvent*) {}
void xpcmdbutton::mouseReleaseEvent(QMouseEvent*) {}
void xpcmdbutton::leaveEvent(QEvent*) {}
void xpcmdbutton::PaintFace(FaceState) {}
void xpcmdbutton::RefreshFace() {}
void xpcmdbutton::centreLabel() {}
void xpcmdbutton::applyEnabledColour() {}
QFont xpcmdbutton::ambientFont() const { return {}; }

}  // namespace leafmill
