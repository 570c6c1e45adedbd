// SPDX-License-Identifier: MIT
#include "LabelHost.h"

#include "AccessibleFactory.h"
#include "Colors.h"
#include "Label.h"
#include "Program.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace runtime {

LabelHost::LabelHost(QWidget *parent) : QWidget(parent)
{
    installAccessibleFactory();
}

void LabelHost::setBackColor(std::int32_t color)
{
    m_backColor = color;
    m_hasBackColor = true;
    update();
}

void LabelHost::addLabel(Label *label)
{
    m_labels.push_back(label);
}

void LabelHost::removeLabel(Label *label)
{
    std::erase(m_labels, label);
    if (m_pressed == label)
        m_pressed = nullptr;
}

void LabelHost::hostMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {}

void LabelHost::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintBackground(painter, event->rect());
    paintLabels(painter, event->rect());
}

void LabelHost::paintBackground(QPainter &painter, const QRect &area) const
{
    if (!m_hasBackColor)
        return;
    // What opaque labels cover is painted once, by them.
    QRegion uncovered(area);
    for (const Label *label : m_labels)
        uncovered -= label->opaqueArea();
    const QColor back = resolveColor(m_backColor);
    for (const QRect &rect : uncovered)
        painter.fillRect(rect, back);
}

void LabelHost::paintLabels(QPainter &painter, const QRect &area) const
{
    for (const Label *label : m_labels)
        label->paint(painter, area);
}

Label *LabelHost::labelAt(QPointF position) const
{
    // The label created last lies on top.
    for (auto it = m_labels.rbegin(); it != m_labels.rend(); ++it) {
        if ((*it)->pixelRect().contains(position))
            return *it;
    }
    return nullptr;
}

void LabelHost::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() == event->button()) {
        m_pressed = labelAt(event->position());
        m_pressedOnHost = m_pressed == nullptr;
    }
    event->accept();
}

void LabelHost::mouseReleaseEvent(QMouseEvent *event)
{
    Label *target = m_pressed;
    const bool onHost = m_pressedOnHost;
    if (event->buttons() == Qt::NoButton) {
        m_pressed = nullptr;
        m_pressedOnHost = false;
    }
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const QPointF at = event->position() * twipsPerPixel();
    event->accept();

    if (target) {
        const bool clicked =
            button == Qt::LeftButton && target->pixelRect().contains(event->position());
        dispatch([&] { target->mouseUp(button, modifiers, at); });
        if (clicked && target->Click)
            dispatch([&] { target->Click(); });
    } else if (onHost) {
        dispatch([&] { hostMouseUp(button, modifiers, at); });
    }
}

} // namespace runtime
