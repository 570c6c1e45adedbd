// SPDX-License-Identifier: MIT
#include "LabelHostAccessible.h"

#include "Label.h"
#include "LabelAccessible.h"
#include "LabelHost.h"

namespace runtime {

LabelHostAccessible::LabelHostAccessible(LabelHost *host) : QAccessibleWidget(host) {}

LabelHost *LabelHostAccessible::host() const
{
    return static_cast<LabelHost *>(widget());
}

std::vector<Label *> LabelHostAccessible::shownLabels() const
{
    std::vector<Label *> shown;
    for (Label *label : host()->labels()) {
        if (!label->isAccessibleHidden())
            shown.push_back(label);
    }
    return shown;
}

QAccessible::Role LabelHostAccessible::role() const
{
    return host()->accessibleRole();
}

int LabelHostAccessible::childCount() const
{
    return QAccessibleWidget::childCount() + int(shownLabels().size());
}

QAccessibleInterface *LabelHostAccessible::child(int index) const
{
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets)
        return QAccessibleWidget::child(index);
    const std::vector<Label *> labels = shownLabels();
    const auto i = std::size_t(index - widgets);
    return i < labels.size() ? labels[i]->accessibleInterface() : nullptr;
}

int LabelHostAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->object())
        return QAccessibleWidget::indexOfChild(child);
    const std::vector<Label *> labels = shownLabels();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i]->accessibleInterface() == child)
            return QAccessibleWidget::childCount() + int(i);
    }
    return -1;
}

QAccessibleInterface *LabelHostAccessible::childAt(int x, int y) const
{
    if (QAccessibleInterface *found = QAccessibleWidget::childAt(x, y))
        return found;
    const QPoint at = host()->mapFromGlobal(QPoint(x, y));
    const std::vector<Label *> labels = shownLabels();
    for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
        if ((*it)->pixelArea().contains(at))
            return (*it)->accessibleInterface();
    }
    return nullptr;
}

QAccessible::State LabelHostAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    for (Label *label : shownLabels()) {
        if (label->hasAccessibleFocus())
            state.focused = false;
    }
    return state;
}

QAccessibleInterface *LabelHostAccessible::focusChild() const
{
    for (Label *label : shownLabels()) {
        if (label->hasAccessibleFocus())
            return label->accessibleInterface();
    }
    return QAccessibleWidget::focusChild();
}

} // namespace runtime
