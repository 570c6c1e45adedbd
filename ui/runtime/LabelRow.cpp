// SPDX-License-Identifier: MIT
#include "LabelRow.h"

#include "AccessibleFactory.h"
#include "Label.h"
#include "LabelHost.h"
#include "LabelRowItemAccessible.h"
#include "Program.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace runtime {

namespace {
// The mark lies this many pixels outside a label, one pixel wide, clear of
// its border and of the next label.
constexpr int MarkGap = 2;
constexpr int MarkReach = MarkGap + 1;
} // namespace

LabelRow::LabelRow(LabelHost *host, std::vector<const Label *> labels)
    : QWidget(host), m_labels(std::move(labels)), m_itemIds(m_labels.size(), 0)
{
    installAccessibleFactory();
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::StrongFocus);
    QRect area;
    for (const Label *label : m_labels)
        area = area.united(label->pixelArea());
    setGeometry(area.adjusted(-MarkReach, -MarkReach, MarkReach, MarkReach));
}

LabelRow::~LabelRow()
{
    for (unsigned id : m_itemIds) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

QAccessibleInterface *LabelRow::itemInterface(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    unsigned &id = m_itemIds[std::size_t(index)];
    if (!id)
        id = QAccessible::registerAccessibleInterface(new LabelRowItemAccessible(this, index));
    return QAccessible::accessibleInterface(id);
}

void LabelRow::setCurrent(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    update(markRect(m_current));
    m_current = index;
    update(markRect(m_current));
    if (hasFocus())
        announce(m_current, true, false);
}

void LabelRow::setSelected(int index)
{
    if (index < -1 || index >= count() || index == m_selected)
        return;
    const int previous = m_selected;
    m_selected = index;
    announce(previous, false, true);
    announce(m_selected, false, true);
    setCurrent(index);
}

void LabelRow::pick(int index)
{
    if (index < 0 || index >= count())
        return;
    setCurrent(index);
    if (Pick)
        dispatch([this, index] { Pick(index); });
}

void LabelRow::announce(int index, bool focus, bool selection)
{
    if (index < 0 || !QAccessible::isActive())
        return;
    QAccessibleInterface *item = itemInterface(index);
    if (focus) {
        QAccessibleEvent event(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
    if (selection) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(item, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void LabelRow::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrent(std::max(0, m_current - 1));
        break;
    case Qt::Key_Right:
        setCurrent(std::min(count() - 1, m_current + 1));
        break;
    case Qt::Key_Home:
        setCurrent(0);
        break;
    case Qt::Key_End:
        setCurrent(count() - 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pick(m_current);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

QRect LabelRow::markRect(int index) const
{
    return label(index).pixelArea().translated(-pos()).adjusted(-MarkReach, -MarkReach, MarkReach,
                                                                MarkReach);
}

void LabelRow::paintEvent(QPaintEvent *)
{
    // Without the keyboard the row looks exactly as the labels alone do.
    if (!hasFocus() || count() == 0)
        return;
    QPainter painter(this);
    const QRect mark = markRect(m_current);
    const QColor colour = palette().color(QPalette::Highlight);
    painter.fillRect(QRect(mark.left(), mark.top(), mark.width(), 1), colour);
    painter.fillRect(QRect(mark.left(), mark.bottom(), mark.width(), 1), colour);
    painter.fillRect(QRect(mark.left(), mark.top(), 1, mark.height()), colour);
    painter.fillRect(QRect(mark.right(), mark.top(), 1, mark.height()), colour);
}

void LabelRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (m_selected >= 0)
        setCurrent(m_selected);
    update();
    announce(m_current, true, false);
}

void LabelRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace runtime
