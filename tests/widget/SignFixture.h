// SPDX-License-Identifier: MIT
#pragma once

// The sign window's widget tests: the two start-up files made from the golden
// samples, the sign loaded and shown the way the program does, and
// conversions between twips and pixels.

#include "ScratchSignFixture.h"
#include "Twips.h"

#include <QByteArray>

#include <cmath>

class SignFixture : public ScratchSignFixture
{
public:
    // The settings file and the message file in the scratch directory. Items
    // that `settings` leaves out are the sample's; `cp932` is the message as
    // the file stores it, without the quotes.
    void writeStartFiles(const QByteArray &cp932, const golden::Settings &settings = {})
    {
        writeFile(settingsPath(), settings.bytes());
        writeFile(messagePath(), golden::message(cp932));
    }

    // Both files, then the sign loaded and shown as the program starts it.
    Frm_Main &startSign(const QByteArray &cp932, const golden::Settings &settings = {})
    {
        writeStartFiles(cp932, settings);
        Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
        sign.Show();
        return sign;
    }

    // Twips per pixel, and a twip length as whole pixels when it is one.
    static double tpp() { return runtime::twipsPerPixel(); }
    static bool wholePixels(double twips)
    {
        const double pixels = twips / tpp();
        return std::abs(pixels - std::round(pixels)) < 1e-9;
    }
    static int toPixels(double twips) { return int(std::lround(twips / tpp())); }
};
