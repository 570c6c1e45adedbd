// SPDX-License-Identifier: MIT
#pragma once

#include "Colors.h"
#include "TextStrip.h"

#include <QAccessible>
#include <QFont>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <functional>

class QPainter;

namespace runtime {

class LabelHost;

// A windowless label: a caption drawn by the widget that holds it, with
// geometry in twips. Left keeps exactly the value last written, in double
// precision, so that code moving the label reads back what it wrote and a
// hundredth of a twip still counts far into the longest message; drawing maps
// it to whole device pixels. Setting AutoSize to true (again or not) fits the
// label to its caption on one line in its current font. A long caption is
// measured aside (see TextStrip): until then the fitted width is an estimate
// no smaller than the part laid out, which always reaches past what is in
// view, so that a label moved across its host has its exact width before its
// end could come into view or leave it.
//
// A label takes no keyboard focus. It reports mouse releases and clicks to its
// handlers; it does not interpret "&" in its caption. Assistive tools see it
// as static text named by its caption or by the name it is given (unless
// hidden from them), through an interface made on first request; a new name
// is announced, moving it announces nothing. A label may stand in for its
// host's keyboard focus: assistive tools then see it as the focused object
// while the host has the focus, so that a screen reader speaks its caption.
//
// Fill and border are drawn on whole device pixels, so that at any scale the
// border is the outermost ring of the fill.
class Label
{
public:
    explicit Label(LabelHost *host);
    Label(const Label &) = delete;
    Label &operator=(const Label &) = delete;
    ~Label();

    QString Caption() const { return m_strip.text(); }
    void setCaption(const QString &caption);

    double FontSize() const { return m_font.pointSizeF(); }
    void setFontSize(double points);
    QFont font() const { return m_font; }
    void setFont(const QFont &font);

    void setAutoSize(bool autoSize);

    double Left() const { return m_left; }
    void setLeft(double twips);
    // A shift, in twips, of where the label is drawn, apart from Left: smooth
    // motion draws the message between two of the ticker's positions without
    // changing the position the ticker reads back. Repaints only when the
    // label's drawn device pixel changes.
    void setDrawOffset(double twips);
    double drawOffset() const { return m_drawOffset; }
    // Between these two, moves repaint nothing; the second repaints once if
    // the label is then drawn elsewhere than before the first. For a move
    // made in several steps (ticks, then a draw offset) that may come back
    // to where it was.
    void holdRepaints();
    void releaseRepaints();
    double Top() const { return m_top; }
    void setTop(double twips);
    double Width() const;
    void setWidth(double twips);
    double Height() const;
    void setHeight(double twips);
    void setGeometry(double left, double top, double width, double height);

    std::int32_t ForeColor() const { return m_foreColor; }
    void setForeColor(std::int32_t color);
    std::int32_t BackColor() const { return m_backColor; }
    void setBackColor(std::int32_t color);

    // Opaque labels fill their area with BackColor; transparent ones do not.
    void setOpaque(bool opaque);
    // A single-line frame around the label.
    void setBorder(bool border);
    // The designed events: MouseUp with the button and Shift codes and the
    // position in twips relative to the label; Click after a left click.
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseUp;
    std::function<void()> Click;

    // A release over the label, with the position in the host's twips.
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) const;

    // Hidden labels (swatches shown through another control, colour bars
    // without text) are left out of what assistive tools see.
    void setAccessibleHidden(bool hidden) { m_accessibleHidden = hidden; }
    bool isAccessibleHidden() const { return m_accessibleHidden; }
    // The name assistive tools read: the caption, unless a name is given (a
    // bar without text names what it shows). An empty name gives the caption
    // back.
    QString accessibleName() const;
    void setAccessibleName(const QString &name);
    // While the host has the keyboard focus, assistive tools see this label
    // as the focused object in it, named by its caption.
    void setFocusStandIn(bool standIn) { m_focusStandIn = standIn; }
    // Static text unless told otherwise.
    QAccessible::Role accessibleRole() const { return m_accessibleRole; }
    void setAccessibleRole(QAccessible::Role role) { m_accessibleRole = role; }
    bool isFocusStandIn() const { return m_focusStandIn; }
    bool hasAccessibleFocus() const;
    // Tells assistive tools that the label has the focus, if it has; for the
    // host to call once its own focus has been announced.
    void announceFocus() const;
    // The label's interface for assistive tools, made and registered on first
    // call and kept until the label goes.
    QAccessibleInterface *accessibleInterface() const;
    LabelHost *host() const { return m_host; }

    // The label's area in the host's pixels.
    QRectF pixelRect() const;
    // The whole host pixels it covers.
    QRect pixelArea() const;

    // The pixels this label paints over completely (none when transparent).
    QRect opaqueArea() const;
    void paint(QPainter &painter, const QRect &clip) const;
    const TextStrip &strip() const { return m_strip; }

private:
    void fitIfPending() const;
    void captionMeasured();
    QRectF drawnRect() const;
    void changed(const QRectF &before);
    void announceName(const QString &before) const;
    // The device pixel the label's left edge is drawn on, at `left` twips.
    double devicePixel(double left) const;

    LabelHost *m_host;
    mutable TextStrip m_strip;
    QFont m_font;
    bool m_autoSize = false;
    mutable bool m_fitPending = false;
    double m_left = 0;
    double m_drawOffset = 0;
    bool m_holding = false;
    QRectF m_heldRect;
    double m_heldPixel = 0;
    double m_top = 0;
    mutable double m_width = 0;
    mutable double m_height = 0;
    std::int32_t m_foreColor = 0x000000;
    std::int32_t m_backColor = SystemColor::ButtonFace;
    bool m_opaque = true;
    bool m_border = false;
    bool m_accessibleHidden = false;
    bool m_focusStandIn = false;
    QAccessible::Role m_accessibleRole = QAccessible::StaticText;
    QString m_accessibleName;
    mutable unsigned m_accessibleId = 0;
};

} // namespace runtime
