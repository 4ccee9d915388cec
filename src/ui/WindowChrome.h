#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace leafmill {

class GfuBut;

// The drawn title bar of a frameless window: the stretched background
// (tbk.gif), the icon (tit.gif), the title written twice for a shadowed look,
// and the minimise and close image buttons. The window drags by the
// background and the title text with the left button alone, one move for
// each press.
class WindowChrome : public QObject {
    Q_OBJECT
public:
    struct Layout {
        QRect background;  // Image1
        QRect icon;  // Image2
        QPoint upperTitle;  // Lab_Tit(1), black
        QPoint lowerTitle;  // Lab_Tit(2), white
        QRect minimise;  // min; empty for a window without one
        QRect close;  // iclose
    };

    // Builds the title bar on `window`, laid out for its present width, and
    // loads the skin pictures.
    WindowChrome(QWidget* window, const Layout& layout, const QString& imagesFolder);

    // Stretches the bar to a new window width: the buttons keep their
    // distance from the right edge.
    void fitWidth(int windowWidth);

    // The window's caption and both title labels.
    void setTitle(const QString& title);

    QLabel* background() const { return background_; }
    QLabel* upperTitle() const { return upperTitle_; }
    QLabel* lowerTitle() const { return lowerTitle_; }
    GfuBut* minimiseButton() const { return minimise_; }
    GfuBut* closeButton() const { return close_; }

signals:
    // Any mouse button released on iclose.
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* makeTitle(const QPoint& topLeft, const QString& name, Qt::GlobalColor colour);
    void drag(const QPoint& globalPos);

    QWidget* window_;
    Layout layout_;
    int layoutWidth_;  // the window width the layout is made for
    QLabel* background_;
    QLabel* icon_;
    QLabel* upperTitle_;
    QLabel* lowerTitle_;
    GfuBut* minimise_ = nullptr;
    GfuBut* close_;
    QPoint grabOffset_;  // pointer position in the window when the left button went down
    bool dragArmed_ = false;  // a left press on the bar that has not moved the window yet
    bool followingPointer_ = false;  // no system move: the window follows until release
};

}  // namespace leafmill
