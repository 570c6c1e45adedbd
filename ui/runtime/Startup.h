// SPDX-License-Identifier: MIT
#pragma once

namespace runtime {

// Before the application object exists: the sign places its own windows,
// which a Wayland compositor refuses, so under Wayland (unless a platform was
// chosen explicitly) the X11 platform is used through XWayland.
void preferPlacableWindows();

// After the application object exists: fonts, a focus ring that can be seen,
// and no quitting when the last window closes (the program ends only through
// End()).
void prepareApplication();

} // namespace runtime
