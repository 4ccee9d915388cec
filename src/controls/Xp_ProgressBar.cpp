#include "controls/Xp_ProgressBar.h"

#include <QPainter>

namespace leafmill {

Xp_ProgressBar::Xp_ProgressBar(QWidget* parent) : QWidget(parent) {}
int Xp_ProgressBar::value() const { return value_; }
void Xp_ProgressBar::setValue(int New_Value) { value_ = New_Value; }
int Xp_ProgressBar::minimum() const { return min_; }
void Xp_ProgressBar::setMinimum(int New_Min) { min_ = New_Min; }
int Xp_ProgressBar::maximum() const { return max_; }
void Xp_ProgressBar::setMaximum(int New_Max) { max_ = New_Max; }
int Xp_ProgressBar::barStyle() const { return style_; }
void Xp_ProgressBar::setBarStyle(int New_Style) { style_ = New_Style; }
int Xp_ProgressBar::ProgressLook() const { return look_; }
void Xp_ProgressBar::setProgressLook(int New_ProgressLook) { look_ = New_ProgressLook; }
void Xp_ProgressBar::ReadProperties(const PropertyBag&) {}
void Xp_ProgressBar::WriteProperties(PropertyBag&) const {}
const QImage& Xp_ProgressBar::image() const { return image_; }
QSize Xp_ProgressBar::sizeHint() const { return {293, 17}; }
void Xp_ProgressBar::paintEvent(QPaintEvent*) {}
void Xp_ProgressBar::resizeEvent(QResizeEvent*) {}
void Xp_ProgressBar::resizeBar() {}
void Xp_ProgressBar::ResetBar() {}
void Xp_ProgressBar::PaintChunks() {}
void Xp_ProgressBar::PaintMarquee() {}
void Xp_ProgressBar::ApplyLook() {}

}  // namespace leafmill
