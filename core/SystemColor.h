// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The references to colours of the system's scheme that the program uses,
// as the colour fields and the settings file hold them (0x800000nn). The
// forms runtime resolves them whenever it draws.
namespace SystemColor {
inline constexpr std::int32_t WindowBackground = std::int32_t(0x80000005);
inline constexpr std::int32_t WindowFrame = std::int32_t(0x80000006);
inline constexpr std::int32_t ButtonFace = std::int32_t(0x8000000F);
inline constexpr std::int32_t ButtonText = std::int32_t(0x80000012);
} // namespace SystemColor
