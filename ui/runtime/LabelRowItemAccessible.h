// SPDX-License-Identifier: MIT
#pragma once

#include "ChildlessAccessible.h"

namespace runtime {

class LabelRow;

// One label of a LabelRow as assistive tools see it: a selectable list item
// with the row's name for it, selected (and described as such, if the row
// gives words for it) while it is the picked label, focused
// while the row has the keyboard and marks it; its one action, press, picks
// it as Space or a click does. It keeps no state: everything is read from
// the row, which owns it.
class LabelRowItemAccessible : public ChildlessAccessible, public QAccessibleActionInterface
{
public:
    LabelRowItemAccessible(LabelRow *row, int index) : m_row(row), m_index(index) {}

    bool isValid() const override { return m_row != nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;

    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    LabelRow *m_row;
    int m_index;
};

} // namespace runtime
