#pragma once

// The sign window's widget tests: start-up files written from a geometry, a
// speed and two colours, the sign loaded and shown the way the program does,
// and conversions between twips and pixels.

#include "ScratchSignFixture.h"
#include "Twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

struct SignGeometry
{
    int top = 300;
    int left = 600;
    int width = 4500; // twips: 300 pixels at 96 dpi
    int height = 375; // twips: 25 pixels at 96 dpi
};

class SignFixture : public ScratchSignFixture
{
public:
    // The settings file in the scratch directory, message file beside it.
    void writeSettings(const SignGeometry &g, int speed, std::int32_t fore, std::int32_t back)
    {
        const QList<QByteArray> items{QByteArray::number(g.top),   QByteArray::number(g.left),
                                      QByteArray::number(g.width), QByteArray::number(g.height),
                                      QByteArray::number(speed),   QByteArray::number(fore),
                                      QByteArray::number(back),    QByteArrayLiteral("\"CurDir\"")};
        writeFile(path(Bas_Comm::SettingsFileName), items.join("\r\n") + "\r\n");
    }

    // `cp932` is the message as the file stores it, without the quotes.
    void writeMessage(const QByteArray &cp932)
    {
        writeFile(path(Bas_Comm::MessageFileName), '"' + cp932 + "\"\r\n");
    }

    // Both files, then the sign loaded and shown as the program starts it.
    Frm_Main &startSign(const QByteArray &message, int speed = 0, std::int32_t fore = 0x00FF00,
                        std::int32_t back = 0x000000, const SignGeometry &g = {})
    {
        writeSettings(g, speed, fore, back);
        writeMessage(message);
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
