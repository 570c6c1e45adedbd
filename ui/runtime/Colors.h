// SPDX-License-Identifier: MIT
#pragma once

#include "SystemColor.h"

#include <QColor>

#include <cstdint>

namespace runtime {

// Resolves a stored colour: a plain 0x00BBGGRR value, or a reference
// 0x800000nn to colour nn of the system's scheme, taken from the application
// palette at the moment of drawing.
QColor resolveColor(std::int32_t value);

} // namespace runtime
