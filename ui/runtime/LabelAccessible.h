// SPDX-License-Identifier: MIT
#pragma once

#include "ChildlessAccessible.h"

namespace runtime {

class Label;

// What assistive tools see of a windowless label: static text (or the role
// the label is given) named as the label says (its caption unless given a
// name), at the label's place on the screen, a child of the widget that draws
// it, focused while it stands in for that widget's focus. It holds no state of
// its own and reports nothing by itself; the label owns it (registered with
// QAccessible) and removes it when it goes.
class LabelAccessible : public ChildlessAccessible
{
public:
    explicit LabelAccessible(const Label *label) : m_label(label) {}

    bool isValid() const override { return m_label != nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;

    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    const Label *label() const { return m_label; }

private:
    const Label *m_label;
};

} // namespace runtime
