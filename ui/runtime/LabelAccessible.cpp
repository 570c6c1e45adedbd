// SPDX-License-Identifier: MIT
#include "LabelAccessible.h"

#include "Label.h"
#include "LabelHost.h"

#include <QWidget>

namespace runtime {

QWindow *LabelAccessible::window() const
{
    return m_label->host()->window()->windowHandle();
}

QAccessibleInterface *LabelAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_label->host());
}

QString LabelAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? m_label->accessibleName() : QString();
}

QAccessible::Role LabelAccessible::role() const
{
    return m_label->accessibleRole();
}

QRect LabelAccessible::rect() const
{
    const QRect area = m_label->pixelArea();
    return QRect(m_label->host()->mapToGlobal(area.topLeft()), area.size());
}

QAccessible::State LabelAccessible::state() const
{
    QAccessible::State state;
    const LabelHost *host = m_label->host();
    state.invisible = !host->isVisible();
    state.offscreen = state.invisible || !host->rect().intersects(m_label->pixelArea());
    state.readOnly = true;
    state.focusable = m_label->isFocusStandIn();
    state.focused = m_label->hasAccessibleFocus();
    return state;
}

} // namespace runtime
