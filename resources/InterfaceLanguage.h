// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace designed {

// Chooses the language the windows speak and installs its translations into
// the application; called once the application object exists and before any
// window is made. The first of `uiLanguages` (the user's languages, most
// wanted first, as QLocale::uiLanguages() lists them) that the program can
// speak wins: Japanese (ja, ja-JP, …) and the C locale (a list that starts
// with "C": C, C.UTF-8, POSIX or no locale at all) speak the designed texts;
// another language speaks its translation if the program has one. When none
// matches, the interface is English. Qt's own texts (the text box's context
// menu, the message box's button) follow, from Qt's translations for that
// language where they are installed.
//
// Returns the language chosen: "ja" for the designed texts, otherwise the
// language of the translation installed ("en").
QString installTranslations(const QStringList &uiLanguages);

// The same for the system's languages (QLocale::system().uiLanguages(),
// which reads LANGUAGE, then LC_ALL, LC_MESSAGES and LANG).
QString installTranslations();

} // namespace designed
