// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

#include <cstdint>

namespace runtime {

// Twips per device-independent pixel: 1440 divided by the primary screen's
// logical DPI (15 at 96 dpi).
double twipsPerPixel();

// Converts a floating-point property value to an integer field: nearest
// integer, a half going to the even neighbour. Throws RuntimeError when the
// rounded value lies outside the integer's range (or is not a number).
std::int16_t toInt16(double value);
std::int64_t toInt64(double value);

// A rectangle given in twips, on whole pixels (each edge rounded).
QRect pixelRect(double left, double top, double width, double height);

} // namespace runtime
