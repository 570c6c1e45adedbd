// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

#include <initializer_list>

namespace runtime {

// The application's style with a focus frame that can be seen: where the
// style would draw its faint focus rectangle (around a check box's text),
// this draws a solid ring two pixels wide in the palette's highlight colour,
// or in the text colour when the highlight stands out less than 3:1 against
// the background the ring is drawn on. As the style does, it draws the ring
// only once the keyboard has moved the focus. It changes nothing else the
// style draws; its colour rule serves the other focus marks too.
class ClearFocusStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

    // A focus mark's colour: the palette's highlight where it stands out at
    // least 3:1 against every one of `backgrounds`, else its text colour.
    static QColor ringColour(const QPalette &palette, std::initializer_list<QColor> backgrounds);
};

} // namespace runtime
