// SPDX-License-Identifier: MIT
#include "AccessibleFactory.h"

#include "LabelHost.h"
#include "LabelHostAccessible.h"
#include "LabelRow.h"
#include "LabelRowAccessible.h"

#include <QAccessible>

namespace runtime {

namespace {

QAccessibleInterface *runtimeInterface(const QString &, QObject *object)
{
    if (auto *host = qobject_cast<LabelHost *>(object))
        return new LabelHostAccessible(host);
    if (auto *row = qobject_cast<LabelRow *>(object))
        return new LabelRowAccessible(row);
    return nullptr;
}

} // namespace

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(runtimeInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace runtime
