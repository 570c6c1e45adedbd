// SPDX-License-Identifier: MIT
#include "IbusCaret.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QVersionNumber>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace runtime {

namespace {

template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// Where the window's client area starts on the screen, in device pixels.
QPoint deviceOrigin(QWindow *window)
{
    // Only the xcb platform: the offscreen one offers the same interface
    // without a connection of its own.
    auto *x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    if (xcb_connection_t *connection = x11 ? x11->connection() : nullptr) {
        const auto id = xcb_window_t(window->winId());
        const XcbReply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr),
            &std::free);
        if (geometry) {
            const XcbReply<xcb_translate_coordinates_reply_t> origin(
                xcb_translate_coordinates_reply(
                    connection, xcb_translate_coordinates(connection, id, geometry->root, 0, 0),
                    nullptr),
                &std::free);
            if (origin)
                return {origin->dst_x, origin->dst_y};
        }
    }
    // Other platforms place the window where Qt asked: its logical position
    // scaled about the screen's corner.
    const QPoint corner = window->screen()->geometry().topLeft();
    return (window->mapToGlobal(QPoint(0, 0)) - corner) * window->devicePixelRatio() + corner;
}

} // namespace

bool IbusCaret::sendsLogicalPixels(const QString &imModule, const QString &platform,
                                   const QVersionNumber &qt)
{
    // Qt chooses the module by the name before the first colon, in any case.
    const bool ibus =
        imModule.section(u':', 0, 0).compare(QLatin1String("ibus"), Qt::CaseInsensitive) == 0;
    return ibus && !platform.startsWith(QLatin1String("wayland")) && qt.majorVersion() == 6 &&
           qt.minorVersion() <= 4;
}

bool IbusCaret::inUse()
{
    static const bool used =
        sendsLogicalPixels(qEnvironmentVariable("QT_IM_MODULE"), QGuiApplication::platformName(),
                           QLibraryInfo::version());
    return used;
}

QRect IbusCaret::answer(const QWidget *widget, const QRect &caret)
{
    const QWidget *top = widget->window();
    QWindow *window = top->windowHandle();
    if (!caret.isValid() || !window || !window->screen() || window->devicePixelRatio() == 1)
        return caret;
    const qreal scale = window->devicePixelRatio();

    // The device pixels the caret covers: both edges of the logical rectangle
    // scaled from the window's corner, and the window's corner on the screen.
    const QPoint start = widget->mapTo(top, caret.topLeft());
    const QPoint end = start + QPoint(caret.width(), caret.height());
    const QPoint origin = deviceOrigin(window);
    const QPoint span = end * scale - start * scale;
    const QRect device(origin + start * scale, QSize(span.x(), span.y()));

    // The plugin adds the box's offset in the window and the window's logical
    // position to what the box answers: take both off in advance, so that
    // what it sends is `device`.
    return device.translated(caret.topLeft() - window->mapToGlobal(start));
}

} // namespace runtime
