// SPDX-License-Identifier: MIT
#include "ClearFocusStyle.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace runtime {

namespace {

constexpr int RingWidth = 2;
constexpr double LeastContrast = 3.0;

double luminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

// The WCAG contrast ratio of two colours, from 1 (equal) to 21.
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

QColor ClearFocusStyle::ringColour(const QPalette &palette,
                                   std::initializer_list<QColor> backgrounds)
{
    const QColor highlight = palette.color(QPalette::Highlight);
    for (const QColor &background : backgrounds) {
        if (contrast(highlight, background) < LeastContrast)
            return palette.color(QPalette::WindowText);
    }
    return highlight;
}

void ClearFocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                    QPainter *painter, const QWidget *widget) const
{
    if (element != PE_FrameFocusRect) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!(option->state & State_KeyboardFocusChange))
        return;
    // The ring lies on what the widget shows behind its text: a tab or a
    // check box shows its window colour there.
    const QColor colour = ringColour(option->palette, {option->palette.color(QPalette::Window)});
    const QRect r = option->rect;
    if (r.width() < 2 * RingWidth || r.height() < 2 * RingWidth)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(QRect(r.left(), r.top(), r.width(), RingWidth), colour);
    painter->fillRect(QRect(r.left(), r.bottom() - RingWidth + 1, r.width(), RingWidth), colour);
    painter->fillRect(QRect(r.left(), r.top(), RingWidth, r.height()), colour);
    painter->fillRect(QRect(r.right() - RingWidth + 1, r.top(), RingWidth, r.height()), colour);
    painter->restore();
}

} // namespace runtime
