#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace leafmill {

// A small picture button: shows <imagesFolder>/<instanceName>0 and swaps to
// <instanceName>1 while the pointer rests over it. It has no click of its own;
// the host acts on the mouse events it passes on, and on KeyActivated. It
// takes the focus by Tab only (a click leaves it where it was) and shows it
// with a dotted frame; hosts that keep it out of the Tab chain say NoFocus.
class GfuBut : public QWidget {
    Q_OBJECT
public:
    // Pictures: <imagesFolder>/<instanceName><state>.gif, else .jpg.
    GfuBut(const QString& instanceName, const QString& imagesFolder, QWidget* parent = nullptr);

    // The picture shown now; null before the first successful load.
    const QImage& picture() const;
    // The look of the last load that found a readable picture (0 normal, 1 hover), -1 before.
    int pictureState() const;

signals:
    // Button: mask of the mouse buttons (1 left, 2 right, 4 middle); Shift: 1 Shift, 2 Ctrl, 4 Alt.
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    // Space or Enter while it has the focus.
    void KeyActivated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LoadStateImage(int state);

    QString instanceName_;
    QString imagesFolder_;
    QImage picture_;
    int pictureState_ = -1;
};

}  // namespace leafmill
