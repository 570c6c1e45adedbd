// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Starting the sign at login: the desktop's own XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/io.github.velmora.Velmora.desktop, which runs
// this sign's command (the program with --user for the user's own sign, or
// -C and the sign's directory). Whether the sign starts at login is whether
// the entry exists; nothing else remembers it.
class Autostart
{
public:
    static QString entryPath();
    static bool isEnabled();

    // Writes or removes the entry; false and `why` when that fails.
    static bool setEnabled(bool enabled, QString *why);

    // The command that starts the sign in the current directory.
    static QStringList command();
    // The entry's text for `command`, its arguments quoted as desktop
    // entries quote them.
    static QByteArray entry(const QStringList &command);
};
