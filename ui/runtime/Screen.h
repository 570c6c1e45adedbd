// SPDX-License-Identifier: MIT
#pragma once

namespace runtime {

// The primary screen's width in twips.
float screenWidth();

} // namespace runtime
