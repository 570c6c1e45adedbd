// SPDX-License-Identifier: MIT
#include "Program.h"

#include <QApplication>
#include <QWidget>

#include "UiLog.h"

#include <exception>

namespace runtime {

namespace {
bool ended = false;
bool quitOnEnd = true;

void stopEverything(int status)
{
    ended = true;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    if (quitOnEnd)
        QCoreApplication::exit(status);
}
} // namespace

void End()
{
    stopEverything(0);
    throw ProgramEnded{};
}

bool hasEnded()
{
    return ended;
}

void dispatch(const std::function<void()> &handler)
{
    if (ended)
        return;
    try {
        handler();
    } catch (const ProgramEnded &) {
    } catch (const std::exception &error) {
        qCWarning(lcUi, "unexpected error: %s", error.what());
        stopEverything(1);
    }
}

void setQuitOnEnd(bool quit)
{
    quitOnEnd = quit;
}

void resetEndForTesting()
{
    ended = false;
}

} // namespace runtime
