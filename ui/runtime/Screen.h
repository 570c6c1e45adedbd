#pragma once

namespace runtime {

// The primary screen's width and height in twips.
float screenWidth();
float screenHeight();

} // namespace runtime
