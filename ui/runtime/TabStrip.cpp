// SPDX-License-Identifier: MIT
#include "TabStrip.h"

#include "ClearFocusStyle.h"

#include <QPainter>

namespace runtime {

namespace {

// The application's style with narrower margins beside a tab's caption (and
// the application's clear focus ring, which a style of its own would lose).
class NarrowTabMargins : public ClearFocusStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        const int value = ClearFocusStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(value, 10) : value;
    }
};

} // namespace

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent)
{
    auto *style = new NarrowTabMargins;
    style->setParent(this);
    setStyle(style);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

} // namespace runtime

namespace runtime {

void TabStrip::paintEvent(QPaintEvent *event)
{
    QTabBar::paintEvent(event);
    if (!hasFocus() || currentIndex() < 0 || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    // Inside the tab's own one-pixel border, clear of its caption.
    const QRect ring = tabRect(currentIndex()).adjusted(2, 2, -2, -1);
    const QColor colour =
        ClearFocusStyle::ringColour(palette(), {palette().color(QPalette::Window)});
    QPainter painter(this);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(ring.adjusted(1, 1, -1, -1));
}

} // namespace runtime
