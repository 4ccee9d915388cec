#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

namespace leafmill {

class LanguageTable;

// The splash: the loading picture with the home page (unless it is a
// reserved example address) and the version, topmost, without a taskbar
// button. 1.8 seconds after it was made it closes
// and shows the main window.
class Frm_Loading : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowTime = 1800;  // milliseconds

    Frm_Loading(const LanguageTable& language, const QString& imagesFolder, QWidget* parent = nullptr);

    // The window the timer shows once the splash has gone.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }

    QTimer* timer() const { return Timer1; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Timer1_Timer();

    QPointer<QWidget> mainWindow_;
    QLabel* picture_;
    QLabel* Label1;
    QTimer* Timer1;
    bool centred_ = false;
};

}  // namespace leafmill
