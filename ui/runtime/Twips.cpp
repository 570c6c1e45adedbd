// SPDX-License-Identifier: MIT
#include "Twips.h"

#include "RuntimeError.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

namespace runtime {

namespace {

template <typename Int> Int roundToInteger(double value)
{
    // nearbyint rounds in the current mode, which is round-half-to-even unless
    // someone changed it; nothing in this program does.
    const double rounded = std::nearbyint(value);
    // The bounds are powers of two, exact as doubles: min and -min = max + 1.
    constexpr double lowest = double(std::numeric_limits<Int>::min());
    if (!(rounded >= lowest && rounded < -lowest))
        throw RuntimeError("overflow");
    return static_cast<Int>(rounded);
}

} // namespace

double twipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

std::int16_t toInt16(double value)
{
    return roundToInteger<std::int16_t>(value);
}

std::int64_t toInt64(double value)
{
    return roundToInteger<std::int64_t>(value);
}

QRect pixelRect(double left, double top, double width, double height)
{
    const double tpp = twipsPerPixel();
    const int x = int(std::lround(left / tpp));
    const int y = int(std::lround(top / tpp));
    return QRect(x, y, int(std::lround((left + width) / tpp)) - x,
                 int(std::lround((top + height) / tpp)) - y);
}

} // namespace runtime
