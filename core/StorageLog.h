// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

// The storage core's log, "velmora.storage". Each layer logs under a category
// of its own below "velmora", its debug lines off until a rule turns them on
// (QT_LOGGING_RULES=velmora.storage.debug=true); the program prints all of
// them as "velmora: what happened".
Q_DECLARE_LOGGING_CATEGORY(lcStorage)
