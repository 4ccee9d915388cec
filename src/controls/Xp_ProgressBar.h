#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>

namespace leafmill {

// The program's progress bar: a sunken frame with a row of chunks (style 0) or
// a creeping block (any other style), in one of eight colour looks. What is
// drawn stays on a persistent image; a change of value adds only the new
// chunks, the bar is cleared and repainted from the left only on a reset.
class Xp_ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit Xp_ProgressBar(QWidget* parent = nullptr);

    int value() const;
    void setValue(int New_Value);
    int minimum() const;
    void setMinimum(int New_Min);
    int maximum() const;
    void setMaximum(int New_Max);
    // 0 chunk style, anything else marquee style.
    int barStyle() const;
    void setBarStyle(int New_Style);
    int ProgressLook() const;
    void setProgressLook(int New_ProgressLook);

    const QImage& image() const;

    QSize sizeHint() const override;

signals:
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void resizeBar();
    void ResetBar();
    void PaintChunks();
    void PaintMarquee();
    void ApplyLook();

    int value_ = 0;
    int min_ = 0;
    int max_ = 100;
    int style_ = 0;
    int look_ = 0;

    QImage image_;
    std::array<QImage, 3> pc_;
    int chunkX_ = 4;
    bool barFull_ = false;
    int paintedValue_ = 0;
    int marqueePos_ = 4;
};

}  // namespace leafmill
