#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;
class QShortcut;

namespace leafmill {

// The program's push button: a glossy face drawn from one of four small
// images (normal, pressed, disabled, hover) with a centred caption. Raises
// Click on a left press and release over it, on Space and Enter while it has
// the focus (shown by a dotted frame), and on Alt with the caption's
// mnemonic letter ("&Add Files").
class xpcmdbutton : public QWidget {
    Q_OBJECT
public:
    enum FaceState { Normal = 0, Pressed = 1, Disabled = 2, Hover = 3 };

    // A new instance: Caption = instanceName, caption font = the parent's font (the ambient font).
    explicit xpcmdbutton(const QString& instanceName, QWidget* parent = nullptr);

    QString Caption() const;
    void setCaption(const QString& New_Caption);
    QFont captionFont() const;
    void setCaptionFont(const QFont& New_Font);
    QColor BackColor() const;
    void setBackColor(const QColor& New_BackColor);
    QColor ForeColor() const;
    void setForeColor(const QColor& New_ForeColor);

    // Picture2: the face as last painted, without the caption.
    const QImage& image() const;
    // The face state of the last PaintFace.
    FaceState faceState() const;

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void PaintFace(FaceState state);
    void RefreshFace();
    void enabledChanged();
    void ownEnabledSet();
    void centreLabel();
    void showCaptionColour();
    void showCaption(const QString& caption);
    void clickByShortcut();
    QFont ambientFont() const;

    QImage picture2_;
    QColor backColor_;
    QLabel* lbl_;
    QString caption_;  // as set, with its "&" mnemonic marker
    QShortcut* mnemonic_;
    QColor foreColor_ {0x00, 0x00, 0x00};  // ForeColor: the caption's colour while the host is enabled
    bool ownEnabled_ = true;  // the button's own Enabled, apart from its host's
    FaceState faceState_ = Normal;
    QColor paintedBackColor_;  // invalid until the first face is painted
    bool leftPressed_ = false;
    bool spacePressed_ = false;
};

}  // namespace leafmill
