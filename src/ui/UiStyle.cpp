#include "ui/UiStyle.h"

#include "controls/xpcmdbutton.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace leafmill::ui {

static QString& defaultFamily()
{
#ifdef _WIN32
    static QString family = QStringLiteral("Tahoma");
#else
    static QString family = QStringLiteral("DejaVu Sans Condensed");
#endif
    return family;
}

void installDefaultFont()
{
    if (!QFontDatabase::families().contains(defaultFamily(), Qt::CaseInsensitive))
        defaultFamily() = QStringLiteral("DejaVu Sans");
    QApplication::setFont(windowFont());
}

QFont windowFont(int pixelSize, bool bold)
{
    QFont font(defaultFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/leafmill-%1.png").arg(size), QSize(size, size));
    return icon;
}

QWidget* makePanel(QWidget* parent, const QString& name, const QRect& geometry, const QColor& colour)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    return panel;
}

xpcmdbutton* makeButton(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* button = new xpcmdbutton(name, parent);
    button->setObjectName(name);
    // The corner pixels take the host's colour, so the corners look round on it.
    button->setBackColor(parent->palette().color(QPalette::Window));
    button->setGeometry(geometry);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QPoint& topLeft)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->move(topLeft);
    return label;
}

void fitLabel(QLabel* label)
{
    label->resize(label->sizeHint());
}

void fitRightAlignedLabel(QLabel* label)
{
    const QSize needed = label->sizeHint().expandedTo(label->size());
    const int right = label->geometry().right();
    label->setGeometry(right + 1 - needed.width(), label->y(), needed.width(), needed.height());
}

QString fromPath(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

std::filesystem::path toPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

void centreOnScreenOnce(QWidget* window, bool& centred)
{
    if (centred)
        return;
    centred = true;
    if (QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void paintBlack(QWidget* window)
{
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::black);
    window->setPalette(palette);
}

}  // namespace leafmill::ui
