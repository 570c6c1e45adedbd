#include "LabelHost.h"

#include "Colors.h"
#include "Label.h"
#include "Program.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace runtime {

namespace {

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace

LabelHost::LabelHost(QWidget *parent) : QWidget(parent) {}

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

void LabelHost::hostMouseUp(int, int, float, float) {}

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
        if ((*it)->Visible() && (*it)->pixelRect().contains(position))
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
    const int button = buttonCode(event->button());
    const int shift = shiftCode(event->modifiers());
    const double tpp = twipsPerPixel();
    const QPointF at = event->position() * tpp;
    event->accept();

    if (target) {
        const bool clicked = button == 1 && target->pixelRect().contains(event->position());
        dispatch([&] {
            if (target->MouseUp)
                target->MouseUp(button, shift, float(at.x() - target->Left()),
                                float(at.y() - target->Top()));
        });
        if (clicked && target->Click)
            dispatch([&] { target->Click(); });
    } else if (onHost) {
        dispatch([&] { hostMouseUp(button, shift, float(at.x()), float(at.y())); });
    }
}

} // namespace runtime
