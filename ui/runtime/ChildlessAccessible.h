// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleInterface>

namespace runtime {

// The part that every windowless leaf seen by assistive tools shares: it has
// no children and no focus child, stands for no QObject and takes no text
// from a tool. Name, role, state, place and parent are the subclass's.
class ChildlessAccessible : public QAccessibleInterface
{
public:
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}
};

} // namespace runtime
