// SPDX-License-Identifier: MIT
#include "AppLog.h"
#include "Launch.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    AppLog::installOutput();
    const CommandLine::Result options = CommandLine::parse(Launch::arguments(argc, argv));
    if (options.exitStatus)
        return Launch::answer(options);
    if (options.message)
        return Launch::setMessage(options);
    // Qt aborts when it finds no display; the user is told in one line instead.
    if (!Launch::displayAvailable(options))
        return Launch::noDisplay();
    runtime::preferPlacableWindows();
    QApplication app(argc, argv);
    return Launch::run(options);
}
