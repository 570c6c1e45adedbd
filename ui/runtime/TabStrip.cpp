// SPDX-License-Identifier: MIT
#include "TabStrip.h"

#include <QProxyStyle>

namespace runtime {

namespace {

// The application's style with narrower margins beside a tab's caption.
class NarrowTabMargins : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
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
