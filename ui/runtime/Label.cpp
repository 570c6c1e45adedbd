// SPDX-License-Identifier: MIT
#include "Label.h"

#include "AtSpiEvents.h"
#include "Colors.h"
#include "LabelAccessible.h"
#include "LabelHost.h"
#include "MouseCodes.h"
#include "Twips.h"

#include <QAccessible>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace runtime {

namespace {

// A pixel coordinate as an int: a label far wider than any screen (a long
// message in a tall window) reaches beyond what an int holds, and nothing out
// there is ever painted.
int onPixel(double coordinate)
{
    constexpr double Far = 1 << 30;
    return int(std::round(std::clamp(coordinate, -Far, Far)));
}

QRect onPixels(const QRectF &rect)
{
    return QRect(QPoint(onPixel(rect.left()), onPixel(rect.top())),
                 QPoint(onPixel(rect.right()) - 1, onPixel(rect.bottom()) - 1));
}

// Makes the painter's coordinates the device's own pixels, whatever scale and
// offset the widget's painter carries, and returns the map from the
// painter's former coordinates to them.
QTransform paintInDevicePixels(QPainter &painter)
{
    const QTransform toDevice = painter.deviceTransform();
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    return toDevice;
}

// The device pixels that `rect` covers, rounded as the device's own fills
// round them.
QRect devicePixels(const QTransform &toDevice, const QRect &rect)
{
    return onPixels(toDevice.mapRect(QRectF(rect)));
}

// The outermost ring of device pixels of `rect`, one pixel wide.
void paintRing(QPainter &painter, const QRect &rect, const QColor &color)
{
    if (rect.isEmpty())
        return;
    const int w = rect.width(), h = rect.height();
    painter.fillRect(QRect(rect.left(), rect.top(), w, 1), color);
    painter.fillRect(QRect(rect.left(), rect.bottom(), w, 1), color);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, h), color);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, h), color);
}

} // namespace

Label::Label(LabelHost *host) : m_host(host)
{
    m_host->addLabel(this);
    m_strip.measured = [this] { captionMeasured(); };
}

Label::~Label()
{
    if (m_accessibleId)
        QAccessible::deleteAccessibleInterface(m_accessibleId);
    m_host->removeLabel(this);
}

QAccessibleInterface *Label::accessibleInterface() const
{
    if (!m_accessibleId)
        m_accessibleId = QAccessible::registerAccessibleInterface(new LabelAccessible(this));
    return QAccessible::accessibleInterface(m_accessibleId);
}

QString Label::accessibleName() const
{
    return m_accessibleName.isEmpty() ? Caption() : m_accessibleName;
}

void Label::setAccessibleName(const QString &name)
{
    const QString before = accessibleName();
    m_accessibleName = name;
    announceName(before);
}

bool Label::hasAccessibleFocus() const
{
    return m_focusStandIn && !m_accessibleHidden && m_host->hasFocus();
}

void Label::announceFocus() const
{
    if (!hasAccessibleFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent event(accessibleInterface(), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void Label::announceName(const QString &before) const
{
    // Only a tool that has asked for the label hears that its name changed.
    if (accessibleName() != before && m_accessibleId && QAccessible::isActive()) {
        QAccessibleEvent event(accessibleInterface(), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
        AtSpiEvents::nameChanged(accessibleInterface());
    }
}

void Label::setCaption(const QString &caption)
{
    const QRectF before = drawnRect();
    const QString name = accessibleName();
    m_strip.setText(caption);
    m_fitPending = m_autoSize;
    changed(before);
    announceName(name);
}

void Label::setFontSize(double points)
{
    QFont font = m_font;
    font.setPointSizeF(points);
    setFont(font);
}

void Label::setFont(const QFont &font)
{
    const QRectF before = drawnRect();
    m_font = font;
    m_strip.setFont(font);
    m_fitPending = m_autoSize;
    changed(before);
}

void Label::setAutoSize(bool autoSize)
{
    const QRectF before = drawnRect();
    m_autoSize = autoSize;
    m_fitPending = autoSize;
    changed(before);
}

void Label::fitIfPending() const
{
    if (!m_fitPending)
        return;
    const double tpp = twipsPerPixel();
    // A caption still being measured is laid out at least as far as may come
    // into view before the next read, with room for the longest step a tick
    // can take; so its end is laid out, and the width exact, before the
    // caption could have left the host. It is fitted again at every read,
    // and once more when its measurement lands.
    if (!m_strip.isMeasured()) {
        constexpr double Reach = 2 * TextStrip::TileWidth;
        m_strip.layOutTo(m_host->width() - m_left / tpp + Reach);
    }
    m_fitPending = !m_strip.isMeasured();
    // Whole pixels, rounded up, so that the caption always fits.
    m_width = std::ceil(m_strip.width() - 1e-6) * tpp;
    m_height = std::ceil(m_strip.height() - 1e-6) * tpp;
}

void Label::captionMeasured()
{
    if (!m_fitPending)
        return;
    const double tpp = twipsPerPixel();
    const QRectF before(m_left / tpp, m_top / tpp, m_width / tpp, m_height / tpp);
    fitIfPending();
    changed(before);
}

QRectF Label::drawnRect() const
{
    // Until fitted, the whole host: fitting needs the font, and nothing is
    // drawn before the host is shown.
    return m_fitPending ? QRectF(m_host->rect()) : pixelRect();
}

double Label::devicePixel(double left) const
{
    return std::round((left + m_drawOffset) / twipsPerPixel() * m_host->devicePixelRatioF());
}

void Label::setLeft(double twips)
{
    const bool moves = devicePixel(twips) != devicePixel(m_left);
    const QRectF before = drawnRect();
    m_left = twips;
    if (moves && !m_holding)
        changed(before);
}

void Label::setDrawOffset(double twips)
{
    const double before = devicePixel(m_left);
    const QRectF area = drawnRect();
    m_drawOffset = twips;
    if (devicePixel(m_left) != before && !m_holding)
        changed(area);
}

void Label::holdRepaints()
{
    m_holding = true;
    m_heldRect = drawnRect();
    m_heldPixel = devicePixel(m_left);
}

void Label::releaseRepaints()
{
    m_holding = false;
    if (devicePixel(m_left) != m_heldPixel)
        changed(m_heldRect);
}

void Label::setTop(double twips)
{
    const QRectF before = drawnRect();
    m_top = twips;
    changed(before);
}

double Label::Width() const
{
    fitIfPending();
    return m_width;
}

void Label::setWidth(double twips)
{
    const QRectF before = drawnRect();
    m_fitPending = false;
    m_width = twips;
    changed(before);
}

double Label::Height() const
{
    fitIfPending();
    return m_height;
}

void Label::setHeight(double twips)
{
    const QRectF before = drawnRect();
    m_fitPending = false;
    m_height = twips;
    changed(before);
}

void Label::setGeometry(double left, double top, double width, double height)
{
    const QRectF before = drawnRect();
    m_left = left;
    m_top = top;
    m_fitPending = false;
    m_width = width;
    m_height = height;
    changed(before);
}

void Label::setForeColor(std::int32_t color)
{
    m_foreColor = color;
    changed(drawnRect());
}

void Label::setBackColor(std::int32_t color)
{
    m_backColor = color;
    changed(drawnRect());
}

void Label::setOpaque(bool opaque)
{
    m_opaque = opaque;
    changed(drawnRect());
}

void Label::setBorder(bool border)
{
    m_border = border;
    changed(drawnRect());
}

void Label::mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) const
{
    if (MouseUp)
        MouseUp(buttonCode(button), shiftCode(modifiers), float(at.x() - m_left),
                float(at.y() - m_top));
}

QRectF Label::pixelRect() const
{
    const double tpp = twipsPerPixel();
    return QRectF((m_left + m_drawOffset) / tpp, m_top / tpp, Width() / tpp, Height() / tpp);
}

QRect Label::pixelArea() const
{
    return onPixels(pixelRect());
}

QRect Label::opaqueArea() const
{
    return m_opaque ? pixelArea() : QRect();
}

void Label::changed(const QRectF &before)
{
    m_host->update(onPixels(before).united(onPixels(drawnRect())));
}

void Label::paint(QPainter &painter, const QRect &clip) const
{
    const QRectF exact = pixelRect();
    const QRect area = onPixels(exact);
    const QRect visible = area.intersected(clip);
    if (visible.isEmpty())
        return;

    const QColor back = resolveColor(m_backColor);
    // Opaque tiles carry the background themselves; fill only what they leave.
    // On whole device pixels: at a scale above 1 a smooth step of one device
    // pixel is drawn as such.
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPointF origin(std::round(exact.left() * dpr) / dpr, std::round(exact.top() * dpr) / dpr);
    const QRectF textArea(origin, QSizeF(std::ceil(m_strip.width()), std::ceil(m_strip.height())));
    if (m_opaque && !textArea.contains(QRectF(visible))) {
        painter.save();
        const QTransform toDevice = paintInDevicePixels(painter);
        const QRect reach = devicePixels(toDevice, visible).adjusted(-1, -1, 1, 1);
        painter.fillRect(devicePixels(toDevice, area).intersected(reach), back);
        painter.restore();
    }
    if (!m_strip.text().isEmpty()) {
        painter.save();
        painter.setClipRect(visible);
        m_strip.setBackground(m_opaque ? back : QColor());
        m_strip.setColor(resolveColor(m_foreColor));
        m_strip.paint(painter, origin, visible);
        painter.restore();
    }
    if (m_border) {
        // On the fill's own device pixels: drawn one host pixel in from the
        // edge, it left a stripe of the fill outside it at fractional scales.
        painter.save();
        const QTransform toDevice = paintInDevicePixels(painter);
        paintRing(painter, devicePixels(toDevice, area), resolveColor(SystemColor::WindowFrame));
        painter.restore();
    }
}

} // namespace runtime
