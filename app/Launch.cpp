// SPDX-License-Identifier: MIT
#include "Launch.h"

#include "AppLog.h"
#include "Bas_Comm.h"
#include "DesignedProperties.h"
#include "FileFollower.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "Frm_Setup.h"
#include "Frm_Version.h"
#include "InterfaceLanguage.h"
#include "MessageFile.h"
#include "Program.h"
#include "SessionEnd.h"
#include "SettingsFile.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "StoredFile.h"
#include "UserDirectory.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "CurDir.h"

#include <cstdio>
#include <optional>

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
        *why = storage::shownPath(directory) + QStringLiteral(": cannot enter the directory");
        return false;
    }
    return true;
}

// The message given as "-": standard input, up to what the message file can
// hold, with its one trailing line end dropped.
std::optional<QString> messageFromInput(QString *why)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read standard input");
        return std::nullopt;
    }
    QByteArray bytes = input.read(storage::MessageFile::MaxBytes + 1);
    if (bytes.size() > storage::MessageFile::MaxBytes) {
        *why = QStringLiteral("it is longer than the program reads back");
        return std::nullopt;
    }
    if (bytes.endsWith('\n'))
        bytes.chop(bytes.endsWith("\r\n") ? 2 : 1);
    return QString::fromLocal8Bit(bytes);
}

// Brings the running sign to the front, restored if it was minimised. While
// the setup dialog is open the sign stays hidden and the dialog comes
// forward instead; the version dialog stays above the sign it disables.
void comeForward(Frm_Main &sign)
{
    const auto front = [](runtime::Form &form) {
        form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
        form.Show();
        form.raise();
        form.activateWindow();
    };
    Frm_Setup *setup = runtime::FormInstance<Frm_Setup>::loaded();
    if (setup && setup->isVisible()) {
        front(*setup);
        return;
    }
    front(sign);
    Frm_Version *version = runtime::FormInstance<Frm_Version>::loaded();
    if (version && version->isVisible())
        front(*version);
}

} // namespace

bool displayAvailable(const CommandLine::Result &result)
{
    return result.platformChosen || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int noDisplay()
{
    qCWarning(lcApp, "cannot start: there is no display to show the sign on (neither DISPLAY "
                     "nor WAYLAND_DISPLAY is set)");
    return 1;
}

int setMessage(const CommandLine::Result &result)
{
    QString why;
    const auto fail = [&](const QString &what) {
        std::fprintf(stderr, "velmora: cannot set the message: %s\n", qUtf8Printable(what));
        return 1;
    };
    if (!enterDirectory(result, &why))
        return fail(why);
    const auto text = *result.message == u"-" ? messageFromInput(&why) : result.message;
    if (!text)
        return fail(why);
    // The settings file says where the message file is.
    if (!Bas_Comm::Ini_Read())
        return fail(Bas_Comm::lastFileError());
    if (!Bas_Comm::storeMessage(*text, &why))
        return fail(why);
    return 0;
}

int run(const CommandLine::Result &result)
{
    // Before any window or box: every text they show is translated as it is made.
    designed::installTranslations();
    runtime::prepareApplication();
    QApplication::setWindowIcon(designed::programIcon());

    QString why;
    if (!enterDirectory(result, &why)) {
        Bas_Comm::reportFailure(
            "cannot start", QCoreApplication::translate("Launch", "起動することができません"), why);
        return 1;
    }

    // One sign per directory: a later start asks the running one to come
    // forward and ends, opening no window.
    SingleInstance instance(QDir::currentPath());
    switch (instance.claim(&why)) {
    case SingleInstance::Claim::Ours:
        break;
    case SingleInstance::Claim::Forwarded:
        return 0;
    case SingleInstance::Claim::NoAnswer:
        Bas_Comm::reportFailure(
            "cannot start", QCoreApplication::translate("Launch", "起動することができません"), why);
        return 1;
    case SingleInstance::Claim::Unguarded:
        qCWarning(lcApp, "%s", qUtf8Printable(why));
        break;
    }

    // Once the sign has started, logging out or being told to stop acts as
    // 終了: the window's place is saved and the program ends. Before that the
    // files are not the program's to write (they may be the reason start-up
    // failed, or not read yet): the program ends with status 1 and leaves
    // them as they are.
    bool started = false;
    SessionEnd sessionEnd([&started] {
        runtime::dispatch([&started] {
            if (!started)
                runtime::End();
            if (Frm_Main *sign = runtime::FormInstance<Frm_Main>::loaded())
                sign->MenuEnd_Click();
        });
    });

    // Only a sign that has started comes forward: until then it may be
    // failing, its error box up.
    QObject::connect(&instance, &SingleInstance::comeForwardRequested, &instance, [&started] {
        runtime::dispatch([&started] {
            if (Frm_Main *sign = runtime::FormInstance<Frm_Main>::loaded(); sign && started)
                comeForward(*sign);
        });
    });

    Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
    if (runtime::hasEnded() || sessionEnd.arrived())
        return 1;
    started = true;
    sign.Show();
    const FileFollower follower;
    return QApplication::exec();
}

} // namespace Launch
