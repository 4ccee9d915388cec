#include "controls/Xp_ProgressBar.h"

#include "controls/BarImages.h"
#include "controls/NineSlice.h"

#include <QPainter>
#include <QResizeEvent>

namespace leafmill {

namespace {

constexpr int FirstChunkX = 4;
constexpr int ChunkPitch = 10;
constexpr int StripWidth = BarImages::ChunkWidth / 2;
constexpr int MarqueeStep = 5;
constexpr int MarqueeRestart = 2;

// The frame's pieces in painting order, with their places in the frame image.
constexpr SlicePiece FramePieces[] = {
    {SliceArea::TopLeft, {0, 0, 3, 3}},       {SliceArea::TopRight, {56, 0, 3, 3}},
    {SliceArea::BottomRight, {56, 10, 3, 3}}, {SliceArea::BottomLeft, {0, 10, 3, 3}},
    {SliceArea::Top, {3, 0, 12, 3}},          {SliceArea::Right, {56, 3, 3, 3}},
    {SliceArea::Bottom, {3, 10, 1, 3}},       {SliceArea::Left, {0, 3, 3, 3}},
    {SliceArea::Centre, {3, 3, 53, 7}},  // the white interior only, so no ring row is scaled in
};

// Scales `picture` onto `target`; a bar too small for it gets nothing.
void paintScaled(QPainter& painter, const QRect& target, const QImage& picture)
{
    if (target.width() > 0 && target.height() > 0)
        painter.drawImage(target, picture);
}

}  // namespace

Xp_ProgressBar::Xp_ProgressBar(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A bar made without stored data gets look 0 at once, so its chunks show.
    ApplyLook();
}

int Xp_ProgressBar::value() const
{
    return value_;
}
int Xp_ProgressBar::minimum() const
{
    return min_;
}
int Xp_ProgressBar::maximum() const
{
    return max_;
}
int Xp_ProgressBar::barStyle() const
{
    return style_;
}
int Xp_ProgressBar::ProgressLook() const
{
    return look_;
}
const QImage& Xp_ProgressBar::image() const
{
    return image_;
}
QSize Xp_ProgressBar::sizeHint() const
{
    return {293, 17};
}

void Xp_ProgressBar::setValue(int New_Value)
{
    if (New_Value == value_ || New_Value > max_ || New_Value < min_)
        return;
    // A hidden bar gets its resize only when shown; paint on an image of its size already.
    if (image_.size() != size())
        resizeBar();
    value_ = New_Value;
    emit PropertyChanged(QStringLiteral("Value"));
    if (style_ == 0) {
        PaintChunks();
    } else if (value_ == max_) {
        resizeBar();
    } else {
        PaintMarquee();
    }
}

void Xp_ProgressBar::setMinimum(int New_Min)
{
    if (New_Min > max_ || New_Min < 0)
        return;
    min_ = New_Min;
    emit PropertyChanged(QStringLiteral("Min"));
}

void Xp_ProgressBar::setMaximum(int New_Max)
{
    if (New_Max < min_)
        return;
    max_ = New_Max;
    emit PropertyChanged(QStringLiteral("Max"));
}

void Xp_ProgressBar::setBarStyle(int New_Style)
{
    style_ = New_Style;
    emit PropertyChanged(QStringLiteral("Style"));
}

void Xp_ProgressBar::setProgressLook(int New_ProgressLook)
{
    look_ = New_ProgressLook;
    emit PropertyChanged(QStringLiteral("ProgressLook"));
    // Chunks already painted keep their colours; only new ones use the look.
    ApplyLook();
}

void Xp_ProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void Xp_ProgressBar::resizeEvent(QResizeEvent*)
{
    // The pending resize of a bar painted while hidden brings no new size.
    if (image_.size() != size())
        resizeBar();
}

void Xp_ProgressBar::resizeBar()
{
    image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    if (!image_.isNull()) {
        QPainter painter(&image_);
        paintNineSlice(painter, BarImages::frame(), size(), 3, FramePieces);
    }
    marqueePos_ = FirstChunkX;
    ResetBar();
}

void Xp_ProgressBar::ResetBar()
{
    chunkX_ = FirstChunkX;
    barFull_ = false;
    paintedValue_ = value_;
    update();
}

void Xp_ProgressBar::PaintChunks()
{
    if (value_ <= min_ || value_ < paintedValue_)
        resizeBar();
    const int w = width();
    const int h = height();
    // In floating point: a wide range must not overflow, an empty one gives no chunks.
    const double target = w * (double(value_) - min_) / (double(max_) - min_);
    bool painted = false;
    if (!image_.isNull()) {
        QPainter painter(&image_);
        // Once the cut last chunk is on, increases paint nothing until a reset.
        while (!barFull_ && chunkX_ < target) {
            if (chunkX_ + ChunkPitch >= w) {
                if (w - 3 - chunkX_ > 0) {
                    paintScaled(painter, QRect(chunkX_, 3, w - 3 - chunkX_, h - 6), pc_[2]);
                    painted = true;
                }
                barFull_ = true;
                break;
            }
            paintScaled(painter, QRect(chunkX_, 3, BarImages::ChunkWidth, h - 6), pc_[2]);
            painted = true;
            chunkX_ += ChunkPitch;
        }
    }
    paintedValue_ = value_;
    if (painted)
        update();
}

void Xp_ProgressBar::PaintMarquee()
{
    const int w = width();
    const int stripHeight = height() - 6;
    const int s = marqueePos_;
    if (image_.isNull())
        return;
    {
        QPainter painter(&image_);
        // The restart at x = 2 and the strips that wipe behind the block stay off the frame.
        painter.setClipRect(QRect(3, 3, w - 6, stripHeight));
        auto strip = [&](int x, const QImage& picture) {
            paintScaled(painter, QRect(x, 3, StripWidth, stripHeight), picture);
        };
        if (s != MarqueeRestart && s != FirstChunkX)
            strip(s - MarqueeStep, BarImages::blank());  // the strip left behind
        if (s + 20 < w)
            strip(s + 10, pc_[2]);
        if (s + 10 < w)
            strip(s + 5, pc_[1]);
        if (s + 5 < w)
            strip(s, pc_[0]);
        if (s + 5 >= w) {
            const int rest = w - 3 - s;
            if (rest > 0)
                paintScaled(painter, QRect(s, 3, rest, stripHeight), BarImages::blank());
            marqueePos_ = MarqueeRestart;
        } else {
            marqueePos_ = s + MarqueeStep;
        }
    }
    update();
}

void Xp_ProgressBar::ApplyLook()
{
    if (look_ < 0 || look_ >= BarImages::LookCount)
        return;
    pc_ = BarImages::look(look_);
}

}  // namespace leafmill
