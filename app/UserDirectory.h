// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The user's own directory for the sign, $XDG_CONFIG_HOME/velmora
// (~/.config/velmora), where a sign started from the desktop's menu keeps its
// two files. The first time, when it holds neither file, it is created and
// given the installed example files; after that it is used as it is, so a
// missing or bad file there fails start-up as anywhere else.
class UserDirectory
{
public:
    static QString path();

    // Makes `path()` ready as described; false and `why` when it cannot.
    static bool prepare(QString *why);

    // Where the example files are installed (share/velmora beside the
    // program's prefix, or in the system's data directories); empty if none.
    static QString examples();
};
