// SPDX-License-Identifier: MIT
#include "Startup.h"

#include "ClearFocusStyle.h"
#include "Fonts.h"

#include <QApplication>

namespace runtime {

void preferPlacableWindows()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void prepareApplication()
{
    installFontSubstitutions();
    QApplication::setStyle(new ClearFocusStyle);
    QApplication::setQuitOnLastWindowClosed(false);
}

} // namespace runtime
