// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

// The log of the program around the sign, "velmora.app".
Q_DECLARE_LOGGING_CATEGORY(lcApp)

namespace AppLog {

// Prints the messages of every category of the program ("velmora" and those
// below it: velmora.storage, velmora.ui, velmora.follow, velmora.app) on
// standard error as "velmora: what happened", one line each, whichever layer
// logged them; messages of any other category go to the handler that was in
// place before. Which categories and levels are on is still Qt's choice, so
// QT_LOGGING_RULES=velmora.follow.debug=true turns on the follower's debug
// lines alone.
void installOutput();

} // namespace AppLog
