#pragma once

#include <QRgb>

#include <initializer_list>
#include <utility>
#include <vector>

namespace leafmill {

// A vertical colour run: `rows` colours through the given (row, colour) key
// points, straight blends between them. Key rows must rise; rows before the
// first key take its colour, rows after the last key take the last.
std::vector<QRgb> colourRamp(std::initializer_list<std::pair<int, QRgb>> keys, int rows);

// `from` moved towards `to` by t (0 keeps from, 1 gives to).
QRgb blendColour(QRgb from, QRgb to, double t);

}  // namespace leafmill
