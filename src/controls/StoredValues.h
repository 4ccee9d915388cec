#pragma once

#include <QColor>
#include <QFont>
#include <QVariant>

namespace leafmill {

// Colours and fonts as a host's stored design data holds them.

// The system window colour (stored value 80000005): the palette's base colour.
QColor systemWindowColour();

// A stored colour: a QColor, or a 32-bit value 00BBGGRR where a set top bit
// names a system colour by its number (5 window, 8 window text, 15 button
// face, 18 button text); anything else gives `fallback`.
QColor storedColour(const QVariant& stored, const QColor& fallback);

// A stored font: a QFont or its QFont::toString() text; anything else gives `fallback`.
QFont storedFont(const QVariant& stored, const QFont& fallback);

}  // namespace leafmill
