#include "controls/StoredValues.h"

#include <QGuiApplication>
#include <QPalette>

namespace leafmill {

namespace {

constexpr quint32 SystemColourBit = 0x80000000u;

QColor systemColour(quint32 number, const QColor& fallback)
{
    const QPalette palette = QGuiApplication::palette();
    switch (number) {
    case 5:
        return palette.color(QPalette::Base);
    case 8:
        return palette.color(QPalette::Text);
    case 15:
        return palette.color(QPalette::Button);
    case 18:
        return palette.color(QPalette::ButtonText);
    default:
        return fallback;
    }
}

}  // namespace

QColor systemWindowColour()
{
    return QGuiApplication::palette().color(QPalette::Base);
}

QColor storedColour(const QVariant& stored, const QColor& fallback)
{
    if (stored.metaType().id() == QMetaType::QColor)
        return stored.value<QColor>();
    bool isNumber = false;
    const quint32 number = stored.toUInt(&isNumber);
    if (!isNumber)
        return fallback;
    if (number & SystemColourBit)
        return systemColour(number & ~SystemColourBit, fallback);
    return QColor(int(number & 0xFF), int((number >> 8) & 0xFF), int((number >> 16) & 0xFF));
}

QFont storedFont(const QVariant& stored, const QFont& fallback)
{
    if (stored.metaType().id() == QMetaType::QFont)
        return stored.value<QFont>();
    QFont font;
    if (stored.metaType().id() == QMetaType::QString && font.fromString(stored.toString()))
        return font;
    return fallback;
}

}  // namespace leafmill
