// SPDX-License-Identifier: MIT
#include "Autostart.h"

#include "CurDir.h"
#include "StoredFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// An argument of Exec=: quoted where it holds a space or a character the
// desktop entry rules reserve, with ", `, $ and \ escaped inside the quotes;
// then every backslash doubled, as in any string value, and % doubled.
QString execArgument(const QString &argument)
{
    static const QString Reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    if (argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                          [](QChar c) { return Reserved.contains(c); })) {
        quoted.clear();
        for (QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted = u'"' + quoted + u'"';
    }
    return quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
}

} // namespace

QString Autostart::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/io.github.velmora.Velmora.desktop");
}

bool Autostart::isEnabled()
{
    return QFileInfo::exists(entryPath());
}

QStringList Autostart::command()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString directory = storage::CurDir();
    const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                        QStringLiteral("/velmora");
    if (QFileInfo(directory).canonicalFilePath() == QFileInfo(own).canonicalFilePath())
        return {program, QStringLiteral("--user")};
    return {program, QStringLiteral("-C"), directory};
}

QByteArray Autostart::entry(const QStringList &command)
{
    QStringList exec;
    for (const QString &argument : command)
        exec << execArgument(argument);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Velmora\n"
                          "Name[ja]=Velmora\n"
                          "Comment=Scrolling message sign\n"
                          "Exec=%1\n"
                          "Icon=velmora\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec.join(u' '))
        .toUtf8();
}

bool Autostart::setEnabled(bool enabled, QString *why)
{
    const QString path = entryPath();
    if (!enabled) {
        if (QFile::remove(path) || !QFileInfo::exists(path))
            return true;
        *why = storage::shownPath(path) + QStringLiteral(": cannot remove the autostart entry");
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).path())) {
        *why = storage::shownPath(QFileInfo(path).path()) +
               QStringLiteral(": cannot create the directory");
        return false;
    }
    QString reason;
    if (!storage::StoredFile::save(path, entry(command()), &reason)) {
        *why = storage::shownPath(path) + QStringLiteral(": ") + reason;
        return false;
    }
    return true;
}
