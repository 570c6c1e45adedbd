// SPDX-License-Identifier: MIT
#include "LabelRowAccessible.h"

#include "Label.h"
#include "LabelRow.h"

namespace runtime {

LabelRowAccessible::LabelRowAccessible(LabelRow *row) : QAccessibleWidget(row, QAccessible::List) {}

LabelRow *LabelRowAccessible::row() const
{
    return static_cast<LabelRow *>(widget());
}

int LabelRowAccessible::childCount() const
{
    return row()->count();
}

QAccessibleInterface *LabelRowAccessible::child(int index) const
{
    return row()->itemInterface(index);
}

int LabelRowAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (int i = 0; i < row()->count(); ++i) {
        if (row()->itemInterface(i) == child)
            return i;
    }
    return -1;
}

QAccessibleInterface *LabelRowAccessible::childAt(int x, int y) const
{
    const QPoint at = row()->parentWidget()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < row()->count(); ++i) {
        if (row()->label(i).pixelArea().contains(at))
            return row()->itemInterface(i);
    }
    return nullptr;
}

QAccessibleInterface *LabelRowAccessible::focusChild() const
{
    return row()->hasFocus() ? row()->itemInterface(row()->current()) : nullptr;
}

} // namespace runtime
