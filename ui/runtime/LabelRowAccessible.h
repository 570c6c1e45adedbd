// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>

namespace runtime {

class LabelRow;

// What assistive tools see of a LabelRow: a list, named as the widget is,
// whose children are the row's items and whose focus child is the marked
// item while the row has the keyboard. The items' state and actions are
// theirs (LabelRowItemAccessible); this adds nothing else.
class LabelRowAccessible : public QAccessibleWidget
{
public:
    explicit LabelRowAccessible(LabelRow *row);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    LabelRow *row() const;
};

} // namespace runtime
