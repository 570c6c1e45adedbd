// SPDX-License-Identifier: MIT
#include "Launch.h"

#include "Bas_Comm.h"
#include "DesignedProperties.h"
#include "FileFollower.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "Log.h"
#include "MessageFile.h"
#include "Program.h"
#include "SessionEnd.h"
#include "SettingsFile.h"
#include "Startup.h"
#include "StoredFile.h"
#include "UserDirectory.h"

#include <QApplication>
#include <QDir>

#include "CurDir.h"

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

namespace {

// Moves to the directory the command line chose; false and `why` if it cannot.
bool enterDirectory(const CommandLine::Result &result, QString *why)
{
    QString directory = result.directory;
    if (result.user) {
        directory = UserDirectory::path();
        if (!UserDirectory::prepare(why))
            return false;
    }
    if (!directory.isEmpty() && !QDir::setCurrent(directory)) {
        *why = directory + QStringLiteral(": cannot enter the directory");
        return false;
    }
    return true;
}

// Why the message box would refuse `text`, in the words of a command line.
QString refusal(storage::MessageFile::Obstacle obstacle)
{
    using O = storage::MessageFile::Obstacle;
    switch (obstacle) {
    case O::DoubleQuote:
        return QStringLiteral("a double quote can be stored only without a comma, not first, and "
                              "with no blank at either end");
    case O::LineBreak:
        return QStringLiteral("the message is one line: it cannot hold a line break");
    case O::NoCp932Form:
        return QStringLiteral("it holds a character that Shift-JIS (code page 932) cannot store");
    case O::TooLong:
        return QStringLiteral("it is longer than the program reads back");
    case O::None:
        break;
    }
    return {};
}

} // namespace

int setMessage(const CommandLine::Result &result)
{
    QString why;
    const auto fail = [&](const QString &what) {
        std::fprintf(stderr, "velmora: cannot set the message: %s\n", qUtf8Printable(what));
        return 1;
    };
    if (!enterDirectory(result, &why))
        return fail(why);
    // The settings file says where the message file is.
    storage::SignSettingsRecord settings;
    const auto bytes = Bas_Comm::readSettings(&why);
    if (!bytes || !storage::SettingsFile::decode(*bytes, settings, storage::CurDir(), &why))
        return fail(bytes ? Bas_Comm::settingsPath() + QStringLiteral(": ") + why : why);
    const auto check = storage::MessageFile::storability(*result.message);
    if (check.obstacle != storage::MessageFile::Obstacle::None)
        return fail(refusal(check.obstacle));
    const QString path = Bas_Comm::messagePath(settings.DataDir);
    const auto encoded = storage::MessageFile::encode(check.stored, &why);
    if (!encoded || !storage::StoredFile::save(path, *encoded, &why))
        return fail(path + QStringLiteral(": ") + why);
    return 0;
}

int run(const CommandLine::Result &result)
{
    runtime::prepareApplication();
    QApplication::setWindowIcon(designed::programIcon());

    QString why;
    if (!enterDirectory(result, &why)) {
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
    const FileFollower follower;
    return QApplication::exec();
}

} // namespace Launch
