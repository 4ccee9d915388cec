#include "controls/GfuBut.h"

namespace leafmill {

GfuBut::GfuBut(const QString& instanceName, const QString& imagesFolder, QWidget* parent)
    : QWidget(parent), instanceName_(instanceName), imagesFolder_(imagesFolder) {}
const QImage& GfuBut::picture() const { return picture_; }
int GfuBut::pictureState() const { return pictureState_; }
void GfuBut::paintEvent(QPaintEvent*) {}
void GfuBut::showEvent(QShowEvent*) {}
void GfuBut::mousePressEvent(QMouseEvent*) {}
void GfuBut::mouseMoveEvent(QMouseEvent*) {}
void GfuBut::mouseReleaseEvent(QMouseEvent*) {}
void GfuBut::leaveEvent(QEvent*) {}
void GfuBut::LoadStateImage(int) {}

}  // namespace leafmill
