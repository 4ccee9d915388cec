#include "controls/ColourRamp.h"

#include <cmath>

namespace leafmill {

QRgb blendColour(QRgb from, QRgb to, double t)
{
    auto channel = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return qRgb(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)), channel(qBlue(from), qBlue(to)));
}

std::vector<QRgb> colourRamp(std::initializer_list<std::pair<int, QRgb>> keys, int rows)
{
    std::vector<QRgb> out(static_cast<size_t>(rows));
    const std::vector<std::pair<int, QRgb>> points(keys);
    for (int row = 0; row < rows; ++row) {
        QRgb colour = points.front().second;
        for (size_t i = 0; i < points.size(); ++i) {
            const auto& [keyRow, keyColour] = points[i];
            if (row >= keyRow)
                colour = keyColour;
            if (i + 1 < points.size() && row > keyRow && row < points[i + 1].first) {
                const double t = double(row - keyRow) / double(points[i + 1].first - keyRow);
                colour = blendColour(keyColour, points[i + 1].second, t);
            }
        }
        out[static_cast<size_t>(row)] = colour;
    }
    return out;
}

}  // namespace leafmill
