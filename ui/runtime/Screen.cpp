// SPDX-License-Identifier: MIT
#include "Screen.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace runtime {

float screenWidth()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? float(screen->geometry().width() * twipsPerPixel()) : 0.0f;
}

} // namespace runtime
