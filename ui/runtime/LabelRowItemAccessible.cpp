// SPDX-License-Identifier: MIT
#include "LabelRowItemAccessible.h"

#include "Label.h"
#include "LabelRow.h"

namespace runtime {

QWindow *LabelRowItemAccessible::window() const
{
    return m_row->window()->windowHandle();
}

QAccessibleInterface *LabelRowItemAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_row);
}

QString LabelRowItemAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return m_row->itemName(m_index);
    case QAccessible::Description:
        return m_row->itemDescription(m_index);
    default:
        return {};
    }
}

QRect LabelRowItemAccessible::rect() const
{
    const QRect area = m_row->label(m_index).pixelArea();
    return QRect(m_row->parentWidget()->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::State LabelRowItemAccessible::state() const
{
    QAccessible::State state;
    state.invisible = !m_row->isVisible();
    state.offscreen = state.invisible;
    state.focusable = m_row->focusPolicy() & Qt::TabFocus;
    state.focused = m_row->hasFocus() && m_row->current() == m_index;
    state.selectable = true;
    state.selected = m_row->selected() == m_index;
    return state;
}

void *LabelRowItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList LabelRowItemAccessible::actionNames() const
{
    return {pressAction()};
}

void LabelRowItemAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        m_row->pick(m_index);
}

} // namespace runtime
