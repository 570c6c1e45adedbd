// SPDX-License-Identifier: MIT
#include "LabelRow.h"

#include "AccessibleFactory.h"
#include "AtSpiEvents.h"
#include "ClearFocusStyle.h"
#include "Label.h"
#include "LabelHost.h"
#include "LabelRowItemAccessible.h"
#include "Program.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace runtime {

namespace {

// The mark is a ring MarkWidth pixels wide, MarkGap pixels outside a label:
// clear of its border and of the next label.
constexpr int MarkGap = 2;
constexpr int MarkWidth = 2;
// The row reaches a pixel beyond the mark, for the rounding of fractional
// scales.
constexpr int RowReach = MarkGap + MarkWidth + 1;

// The device pixels that `rect` covers, rounded as the label's own fill
// rounds them.
QRect devicePixels(const QTransform &toDevice, const QRect &rect)
{
    const QRectF mapped = toDevice.mapRect(QRectF(rect));
    return QRect(
        QPoint(int(std::lround(mapped.left())), int(std::lround(mapped.top()))),
        QPoint(int(std::lround(mapped.right())) - 1, int(std::lround(mapped.bottom())) - 1));
}

int toDevicePixels(int logical, qreal ratio)
{
    return std::max(logical, int(std::lround(logical * ratio)));
}

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
    setGeometry(area.adjusted(-RowReach, -RowReach, RowReach, RowReach));
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

void LabelRow::moveMark(int index)
{
    update(markRect(m_current));
    m_current = index;
    update(markRect(m_current));
}

void LabelRow::setCurrent(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    moveMark(index);
    if (hasFocus())
        announceFocus(m_current);
}

void LabelRow::setSelected(int index)
{
    if (index < -1 || index >= count() || index == m_selected)
        return;
    const int previous = m_selected;
    m_selected = index;
    announceSelected(previous, false);
    announceSelected(m_selected, true);
    if (QAccessible::isActive())
        AtSpiEvents::selectionChanged(QAccessible::queryAccessibleInterface(this));
    setCurrent(index);
}

void LabelRow::pick(int index)
{
    if (index < 0 || index >= count())
        return;
    setCurrent(index);
    dispatch([this, index] { emit Pick(index); });
}

void LabelRow::announceFocus(int index)
{
    if (index < 0 || !QAccessible::isActive())
        return;
    QAccessibleEvent event(itemInterface(index), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void LabelRow::announceSelected(int index, bool selected)
{
    if (index < 0 || !QAccessible::isActive())
        return;
    QAccessibleInterface *item = itemInterface(index);
    // Qt's bridge reports these as the item's selected state changing.
    QAccessibleEvent selection(item,
                               selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    QAccessible::updateAccessibility(&selection);
    // A screen reader speaks the new description of the focused item: so a
    // pick by any key is heard.
    if (!m_selectionNote.isEmpty()) {
        QAccessibleEvent description(item, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
        AtSpiEvents::descriptionChanged(item);
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
    return label(index).pixelArea().translated(-pos()).adjusted(-RowReach, -RowReach, RowReach,
                                                                RowReach);
}

void LabelRow::paintEvent(QPaintEvent *)
{
    // Without the keyboard the row looks exactly as the labels alone do.
    if (!hasFocus() || count() == 0)
        return;
    QPainter painter(this);
    // On device pixels, round the ones the label fills, so that at any scale
    // the gap and the ring are whole pixels and never touch its border.
    const QTransform toDevice = painter.deviceTransform();
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    const QRect swatch = devicePixels(toDevice, label(m_current).pixelArea().translated(-pos()));
    const qreal ratio = devicePixelRatioF();
    const int gap = toDevicePixels(MarkGap, ratio);
    const int width = toDevicePixels(MarkWidth, ratio);
    const QRect ring = swatch.adjusted(-gap - width, -gap - width, gap + width, gap + width);
    // Clear of every background a page may have.
    const QPalette &p = palette();
    const QColor colour = ClearFocusStyle::ringColour(
        p, {p.color(QPalette::Window), p.color(QPalette::Base), p.color(QPalette::Button)});
    painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), width), colour);
    painter.fillRect(QRect(ring.left(), ring.bottom() - width + 1, ring.width(), width), colour);
    painter.fillRect(QRect(ring.left(), ring.top(), width, ring.height()), colour);
    painter.fillRect(QRect(ring.right() - width + 1, ring.top(), width, ring.height()), colour);
}

void LabelRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (m_selected >= 0 && m_selected != m_current)
        moveMark(m_selected);
    update();
    // Qt announces the list's own focus once this returns; the marked item's
    // comes after it, so that it is the item a screen reader presents.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                announceFocus(m_current);
        },
        Qt::QueuedConnection);
}

void LabelRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace runtime
