// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>

#include <vector>

namespace runtime {

class Label;
class LabelHost;

// What assistive tools see of a LabelHost: the widget in the role the host
// was given, whose children are its child widgets followed by the labels it
// draws (those not hidden from assistive tools), so that text that is not a
// widget is read too; a label that stands in for the host's focus is its
// focus child while the host has the focus, and then the one object focused
// (the host is not). It adds nothing else to QAccessibleWidget.
class LabelHostAccessible : public QAccessibleWidget
{
public:
    explicit LabelHostAccessible(LabelHost *host);

    QAccessible::Role role() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    QAccessible::State state() const override;

private:
    LabelHost *host() const;
    std::vector<Label *> shownLabels() const;
};

} // namespace runtime
