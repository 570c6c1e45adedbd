// SPDX-License-Identifier: MIT
#include "CurDir.h"

#include <QDir>
#include <QStringBuilder>

namespace storage {

QString CurDir()
{
    static QString known;
    const QString current = QDir::currentPath();
    if (!current.isEmpty())
        known = current;
    return known;
}

QString joinPath(const QString &directory, const QString &fileName)
{
    return directory % PathSeparator % fileName;
}

QString shownPath(const QString &path)
{
    constexpr qsizetype Longest = 80;
    const auto cut = [](const QString &part) {
        return part.size() > Longest ? part.left(Longest) % u'…' : part;
    };
    const qsizetype name = path.lastIndexOf(PathSeparator);
    return name < 0 ? cut(path) : cut(path.left(name)) % cut(path.mid(name));
}

} // namespace storage
