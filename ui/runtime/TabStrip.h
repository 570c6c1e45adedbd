// SPDX-License-Identifier: MIT
#pragma once

#include <QTabBar>

namespace runtime {

// The tab control's strip of tabs: a QTabBar whose tabs keep narrow margins
// around their captions, so that longer captions in another language still
// fit the designed width side by side, with no scroll buttons, as the
// designed tab control shows them. Where there is room the tabs still
// stretch to fill the strip, which then looks as before. While it has the
// keyboard focus (after the keyboard moved it), the current tab carries a
// ring two pixels wide that stands out at least 3:1 against the tab, where
// the style's own mark is a faint tint.
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace runtime
