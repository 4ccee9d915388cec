#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QString>

#include <filesystem>
#include <string>

class QLabel;
class QWidget;

namespace leafmill {

class xpcmdbutton;

// Colours and fonts shared by the windows. The layouts are in pixels made for
// 96 dpi, so the fonts are sized in pixels too (9 pt = 12 px, 7.5 pt = 10 px)
// and text fits the same boxes whatever the screen reports.
namespace ui {

inline const QColor kPanelColour {0xE0, 0xE0, 0xE0};
constexpr int kFont9pt = 12;
constexpr int kFont7_5pt = 10;

// Makes the window face at 9 pt the application's font: Tahoma on Windows;
// elsewhere DejaVu Sans Condensed (fonts-dejavu-extra), whose widths come
// within a few pixels of Tahoma's and which has a true bold; DejaVu Sans when
// it is missing. Faces without a bold (most CJK faces) are emboldened.
void installDefaultFont();

// The default face at a pixel size.
QFont windowFont(int pixelSize = kFont9pt, bool bold = false);

// The program's icon, at 16, 32 and 48 pixels.
QIcon programIcon();

// A plain panel of the given colour.
QWidget* makePanel(QWidget* parent, const QString& name, const QRect& geometry, const QColor& colour);

// A command button captioned and named after `name`, its corners in the
// parent's colour.
xpcmdbutton* makeButton(QWidget* parent, const QString& name, const QRect& geometry);

// A label (transparent: it fills no background) whose size follows its text (call fitLabel after a
// change of text).
QLabel* makeLabel(QWidget* parent, const QString& name, const QPoint& topLeft);
void fitLabel(QLabel* label);
// For a right-aligned label: at least the width and height its text needs,
// growing to the left so that its right edge stays at the box beside it.
void fitRightAlignedLabel(QLabel* label);

// Centres a window on its screen the first time it is shown.
void centreOnScreenOnce(QWidget* window, bool& centred);

// A black window background.
void paintBlack(QWidget* window);

inline QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}
inline std::string toUtf8(const QString& text)
{
    return text.toStdString();
}
// A path as the user sees it, with the platform's separators.
QString fromPath(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& path);

}  // namespace ui
}  // namespace leafmill
