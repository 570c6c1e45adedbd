// SPDX-License-Identifier: MIT
#include "FollowLog.h"

Q_LOGGING_CATEGORY(lcFollow, "velmora.follow", QtInfoMsg)
