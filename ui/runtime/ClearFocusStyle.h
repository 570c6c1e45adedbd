// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace runtime {

// The application's style with a focus frame that can be seen: where the
// style would draw its faint focus rectangle (around a tab's caption, a check
// box's text), this draws a solid ring two pixels wide in the palette's
// highlight colour, or in the text colour when the highlight stands out less
// than 3:1 against the background the ring is drawn on. As the style does, it
// draws the ring only once the keyboard has moved the focus. It changes
// nothing else the style draws.
class ClearFocusStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

    // The WCAG contrast ratio of two colours, from 1 (equal) to 21.
    static double contrast(const QColor &a, const QColor &b);
    // The ring's colour against `background`.
    static QColor ringColour(const QPalette &palette, const QColor &background);
};

} // namespace runtime
