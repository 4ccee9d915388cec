#pragma once

#include <QImage>

#include <array>

namespace leafmill {

// The progress bar's own pictures, drawn once in code from their key colours.
namespace BarImages {

inline constexpr int LookCount = 8;
inline constexpr int ChunkWidth = 8;
inline constexpr int ChunkHeight = 10;

// 59 x 13: outline 6B696B, sunken bevel (BDBEBD top and sides, EFEFEF bottom,
// 737573 corners), a ring of EFEFEF, white inside.
const QImage& frame();
// 8 x 10 plain white, wipes marquee strips.
const QImage& blank();
// The three chunk images of look 0..7 (green, blue, steel blue, gold, sage,
// grey, yellow-orange, salmon): 0 pale fade-in, 1 fading in from the left,
// 2 the full chunk. Each row is one colour in the full chunk.
const std::array<QImage, 3>& look(int number);

}  // namespace BarImages

}  // namespace leafmill
