// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessible>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace runtime {

class Label;

// A widget that draws the windowless labels placed on it and delivers the
// mouse to them: a release goes to the label (or the widget itself) on which
// the button was pressed, with the position in twips relative to that target;
// a left click on a label raises its Click.
//
// It paints its own background only when it has a BackColor; it lays nothing
// out itself. Assistive tools see it in the role it is given (a plain client
// area unless told otherwise), with its child widgets and then its labels as
// children.
class LabelHost : public QWidget
{
    Q_OBJECT

public:
    explicit LabelHost(QWidget *parent = nullptr);

    // Filling the background; without one the parent shows through.
    std::int32_t BackColor() const { return m_backColor; }
    void setBackColor(std::int32_t color);

    void addLabel(Label *label);
    void removeLabel(Label *label);
    // In the order they were created, the last one on top.
    const std::vector<Label *> &labels() const { return m_labels; }

    QAccessible::Role accessibleRole() const { return m_accessibleRole; }
    void setAccessibleRole(QAccessible::Role role) { m_accessibleRole = role; }

protected:
    // A mouse release over the widget itself, outside every label.
    virtual void hostMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                             QPointF twips);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void paintBackground(QPainter &painter, const QRect &area) const;
    void paintLabels(QPainter &painter, const QRect &area) const;
    Label *labelAt(QPointF position) const;

    std::vector<Label *> m_labels;
    std::int32_t m_backColor = 0;
    bool m_hasBackColor = false;
    Label *m_pressed = nullptr;
    bool m_pressedOnHost = false;
    QAccessible::Role m_accessibleRole = QAccessible::Client;
};

} // namespace runtime
