// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

// The file follower's log, "velmora.follow": what keeps the running sign in
// step with its files, apart from the rest so that it can be turned on alone
// (QT_LOGGING_RULES=velmora.follow.debug=true).
Q_DECLARE_LOGGING_CATEGORY(lcFollow)
