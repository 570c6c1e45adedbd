// SPDX-License-Identifier: MIT
#include "Log.h"

Q_LOGGING_CATEGORY(lcVelmora, "velmora")
