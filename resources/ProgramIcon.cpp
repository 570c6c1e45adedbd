// SPDX-License-Identifier: MIT
#include "DesignedProperties.h"

namespace designed {

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/velmora/velmora.xpm"));
}

} // namespace designed
