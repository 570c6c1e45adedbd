// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleInterface>

namespace runtime {

class Label;

// What assistive tools see of a windowless label: static text named by its
// caption, at the label's place on the screen, a child of the widget that
// draws it. It holds no state of its own and reports nothing by itself; the
// label owns it (registered with QAccessible) and removes it when it goes.
class LabelAccessible : public QAccessibleInterface
{
public:
    explicit LabelAccessible(const Label *label) : m_label(label) {}

    bool isValid() const override { return m_label != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;

    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;

    const Label *label() const { return m_label; }

private:
    const Label *m_label;
};

} // namespace runtime
