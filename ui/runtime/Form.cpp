// SPDX-License-Identifier: MIT
#include "Form.h"

#include "MouseCodes.h"
#include "Program.h"
#include "RuntimeError.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace runtime {

namespace {

int toPixels(double twips)
{
    return int(std::lround(twips / twipsPerPixel()));
}

float toTwips(int pixels)
{
    return float(pixels * twipsPerPixel());
}

// The largest outer extent, in pixels, that still fits in 32767 twips.
int largestOuterPixels()
{
    return int(std::floor(32767.0 / twipsPerPixel()));
}

} // namespace

Form::Form(QWidget *parent) : LabelHost(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleRole(QAccessible::Window);
    updateMaximumSize();
}

void Form::Load()
{
    m_loading = true;
    dispatch([this] { Form_Load(); });
    m_loading = false;
    m_laidOutClient = size();
}

QMargins Form::frameMargins() const
{
    // A hidden window keeps the frame it had when it was last shown.
    const QWindow *window = windowHandle();
    if (window && isVisible() && !window->frameMargins().isNull())
        m_knownMargins = window->frameMargins();
    return m_knownMargins;
}

bool Form::frameKnown() const
{
    return !frameMargins().isNull();
}

int Form::roundingSlack() const
{
    // Qt keeps geometry in logical pixels and converts it to device pixels and
    // back by rounding, the client area and the frame margins each on its
    // own. So a window that stands exactly where it was put can read back one
    // logical pixel off: at 1.5 a frame top set to 81 px stands at 121.5 ->
    // 122 device px, its client at 142, read back as 95 (94.67) minus a
    // margin of 13 (20 / 1.5) = 82; at 2 a frame left set to -30 px has its
    // client at -59 device px, read back as -30 (-29.5, rounded away from
    // zero) minus a margin of 1 (0.5) = -31. The window manager's answer to a
    // size can also come back one device pixel short (302 px at 1.5: 453
    // asked, 452 given, read as 301). At scale 1 every conversion is exact.
    return devicePixelRatioF() == 1.0 ? 0 : 1;
}

int Form::placedOr(std::optional<int> placed, int actual) const
{
    if (placed && std::abs(actual - *placed) <= roundingSlack())
        return *placed;
    return actual;
}

bool Form::sameSize(QSize a, QSize b) const
{
    const int slack = roundingSlack();
    return std::abs(a.width() - b.width()) <= slack && std::abs(a.height() - b.height()) <= slack;
}

float Form::Top() const
{
    return toTwips(placedOr(m_placedTop, pos().y()));
}

void Form::setTop(float twips)
{
    m_placedTop = toPixels(twips);
    move(placedOr(m_placedLeft, pos().x()), *m_placedTop);
}

float Form::Left() const
{
    return toTwips(placedOr(m_placedLeft, pos().x()));
}

void Form::setLeft(float twips)
{
    m_placedLeft = toPixels(twips);
    move(*m_placedLeft, placedOr(m_placedTop, pos().y()));
}

float Form::Width() const
{
    if (m_wantedOuter)
        return toTwips(m_wantedOuter->width());
    const QMargins m = frameMargins();
    return toTwips(placedOr(m_placedWidth, width() + m.left() + m.right()));
}

float Form::Height() const
{
    if (m_wantedOuter)
        return toTwips(m_wantedOuter->height());
    const QMargins m = frameMargins();
    return toTwips(placedOr(m_placedHeight, height() + m.top() + m.bottom()));
}

void Form::setWidth(float twips)
{
    if (!(twips >= 0))
        throw RuntimeError("a window width must not be negative");
    const QSize outer(toPixels(twips), toPixels(Height()));
    m_wantedOuter = outer;
    m_placedWidth = outer.width();
    applyOuterSize();
}

void Form::setHeight(float twips)
{
    if (!(twips >= 0))
        throw RuntimeError("a window height must not be negative");
    const QSize outer(toPixels(Width()), toPixels(twips));
    m_wantedOuter = outer;
    m_placedHeight = outer.height();
    applyOuterSize();
}

float Form::ScaleWidth() const
{
    return toTwips(width());
}

float Form::ScaleHeight() const
{
    return toTwips(height());
}

void Form::setClientSize(float widthTwips, float heightTwips)
{
    m_wantedOuter.reset();
    m_placedWidth.reset();
    m_placedHeight.reset();
    resize(toPixels(widthTwips), toPixels(heightTwips));
}

void Form::setFixedBorder()
{
    setFixedSize(size());
    // A plain window, not a dialog: window managers keep dialogs on the
    // screen, and a form must open exactly where its Top and Left put it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void Form::applyOuterSize()
{
    if (!m_wantedOuter)
        return;
    const QMargins m = frameMargins();
    const QSize client(std::max(1, m_wantedOuter->width() - m.left() - m.right()),
                       std::max(1, m_wantedOuter->height() - m.top() - m.bottom()));
    if (!m.isNull()) {
        // The frame is known: from now on the window itself tells the outer size.
        m_wantedOuter.reset();
        updateMaximumSize();
    }
    m_appliedClient = client;
    resize(client);
}

void Form::updateMaximumSize()
{
    if (minimumSize() == maximumSize() && minimumSize() != QSize(0, 0))
        return; // a fixed border keeps its own size
    const QMargins m = frameMargins();
    const int largest = largestOuterPixels();
    setMaximumSize(largest - m.left() - m.right(), largest - m.top() - m.bottom());
}

void Form::Show()
{
    if (hasEnded())
        return;
    const bool wasVisible = isVisible();
    show();
    // Styles draw the focus frame only once the keyboard has moved the focus
    // (showing a window forgets that); a user who opened the form by the
    // keyboard must see at once where it is.
    setAttribute(Qt::WA_KeyboardFocusChange);
    raise();
    activateWindow();
    if (!wasVisible) {
        // The window manager frames the window shortly after it is mapped;
        // these catch the frame if no event of ours does.
        for (int delay : {50, 250, 1000})
            QTimer::singleShot(delay, this, [this] {
                applyOuterSize();
                updateMaximumSize();
            });
    }
}

void Form::Unload()
{
    m_unloading = true;
    close();
    if (m_unloadHook)
        std::exchange(m_unloadHook, {})();
    deleteLater();
}

bool Form::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::WindowActivate:
    case QEvent::UpdateRequest:
        if (m_wantedOuter && frameKnown())
            applyOuterSize();
        break;
    default:
        break;
    }
    return LabelHost::event(event);
}

void Form::resizeEvent(QResizeEvent *event)
{
    LabelHost::resizeEvent(event);
    if (m_wantedOuter && !sameSize(event->size(), m_appliedClient))
        m_wantedOuter.reset(); // resized by someone else: the window tells its size
    if (m_wantedOuter && frameKnown())
        applyOuterSize();
    if (m_loading || event->size() == m_laidOutClient)
        return;
    m_laidOutClient = event->size();
    dispatch([this] { Form_Resize(); });
}

void Form::changeEvent(QEvent *event)
{
    LabelHost::changeEvent(event);
    // Minimising or restoring changes no widget size under X11, but counts as
    // a resize all the same.
    if (event->type() == QEvent::WindowStateChange && !m_loading) {
        m_laidOutClient = size();
        dispatch([this] { Form_Resize(); });
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_unloading || hasEnded()) {
        event->accept();
        return;
    }
    event->ignore();
    // A disabled window cannot be closed from its title bar either.
    if (isEnabled())
        dispatch([this] { closeRequested(); });
}

void Form::hostMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips)
{
    Form_MouseUp(buttonCode(button), shiftCode(modifiers), float(twips.x()), float(twips.y()));
}

} // namespace runtime
