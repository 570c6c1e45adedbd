// SPDX-License-Identifier: MIT
#include "CurDir.h"

#include <QDir>
#include <QStringBuilder>

namespace storage {

QString CurDir()
{
    return QDir::currentPath();
}

QString joinPath(const QString &directory, const QString &fileName)
{
    return directory % PathSeparator % fileName;
}

} // namespace storage
