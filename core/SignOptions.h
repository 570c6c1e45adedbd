// SPDX-License-Identifier: MIT
#pragma once

// The sign's own options beyond the designed settings, kept per sign in
// "velmora.conf" beside "Velmora.ini" (see OptionsFile), and whether the
// desktop starts it at login. All are off unless the user turns them on.
struct SignOptions
{
    // The message glides at the display's frame rate instead of stepping ten
    // times a second; its pace stays the designed one.
    bool smoothMotion = false;
    // The sign stays above other windows.
    bool stayOnTop = false;
    // The sign starts when the user logs in. Not kept in the options file:
    // it is the desktop's own autostart entry, which exists or not.
    bool startAtLogin = false;

    bool operator==(const SignOptions &) const = default;
};
