// SPDX-License-Identifier: MIT
#include "Launch.h"

#include "Bas_Comm.h"
#include "DesignedProperties.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "Log.h"
#include "Program.h"
#include "SessionEnd.h"
#include "Startup.h"
#include "UserDirectory.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace Launch {

QStringList arguments(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

int answer(const CommandLine::Result &result)
{
    if (!result.output.isEmpty())
        std::fputs(qPrintable(result.output), stdout);
    if (!result.error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
    return result.exitStatus.value_or(0);
}

int run(const CommandLine::Result &result)
{
    runtime::prepareApplication();
    QApplication::setWindowIcon(designed::programIcon());

    QString directory = result.directory;
    QString why;
    if (result.user) {
        directory = UserDirectory::path();
        if (!UserDirectory::prepare(&why))
            directory.clear();
    }
    if ((result.user || !directory.isEmpty()) && why.isEmpty() && !QDir::setCurrent(directory))
        why = directory + QStringLiteral(": cannot enter the directory");
    if (!why.isEmpty()) {
        qCWarning(lcVelmora, "cannot start: %s", qUtf8Printable(why));
        Bas_Comm::ErrorBox(QStringLiteral("起動することができません"), why);
        return 1;
    }

    // Logging out, or being told to stop, acts as 終了: the window's place
    // is saved and the program ends.
    SessionEnd sessionEnd([] {
        runtime::dispatch([] {
            if (Frm_Main *sign = runtime::FormInstance<Frm_Main>::loaded())
                sign->MenuEnd_Click();
        });
    });

    Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
    if (runtime::hasEnded())
        return 1;
    sign.Show();
    return QApplication::exec();
}

} // namespace Launch
