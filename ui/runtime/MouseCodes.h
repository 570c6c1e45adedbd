// SPDX-License-Identifier: MIT
#pragma once

#include <Qt>

#include <cstdint>

namespace runtime {

// The codes the forms' MouseUp handlers receive: Button 1 left, 2 right,
// 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt. Qt's enums are used everywhere else
// and converted here, where a designed handler is called.
inline constexpr std::int16_t vbLeftButton = 1;
inline constexpr std::int16_t vbRightButton = 2;
inline constexpr std::int16_t vbMiddleButton = 4;

inline std::int16_t buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return vbLeftButton;
    case Qt::RightButton:
        return vbRightButton;
    case Qt::MiddleButton:
        return vbMiddleButton;
    default:
        return 0;
    }
}

inline std::int16_t shiftCode(Qt::KeyboardModifiers modifiers)
{
    return std::int16_t((modifiers & Qt::ShiftModifier ? 1 : 0) |
                        (modifiers & Qt::ControlModifier ? 2 : 0) |
                        (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace runtime
