// SPDX-License-Identifier: MIT
#include "AtSpiEvents.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace runtime::AtSpiEvents {

namespace {

// The name Qt gives its connection to the accessibility bus, where it serves
// interfaces (the prefix, then the interface's unique id) and its
// application's root.
const QString BridgeConnection = QStringLiteral("a11y");
const QString ObjectPathPrefix = QStringLiteral("/org/a11y/atspi/accessible/");
const QString RootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString ObjectEvents = QStringLiteral("org.a11y.atspi.Event.Object");

// An AT-SPI object reference: the connection's unique name and a path.
QVariant reference(const QDBusConnection &connection, const QString &path)
{
    QDBusArgument argument;
    argument.beginStructure();
    argument << connection.baseService() << QDBusObjectPath(path);
    argument.endStructure();
    return QVariant::fromValue(argument);
}

// Sends an event as the bridge does: kind, detail1, detail2, any_data and
// the application's root.
void send(QAccessibleInterface *source, const QString &member, const QString &kind,
          const QVariant &data)
{
    if (!source || !QAccessible::isActive())
        return;
    QDBusConnection bridge(BridgeConnection);
    if (!bridge.isConnected())
        return;
    const QString path = ObjectPathPrefix + QString::number(QAccessible::uniqueId(source));
    QDBusMessage signal = QDBusMessage::createSignal(path, ObjectEvents, member);
    signal.setArguments(
        {kind, 0, 0, QVariant::fromValue(QDBusVariant(data)), reference(bridge, RootPath)});
    bridge.send(signal);
}

} // namespace

void nameChanged(QAccessibleInterface *object)
{
    if (object)
        send(object, QStringLiteral("PropertyChange"), QStringLiteral("accessible-name"),
             object->text(QAccessible::Name));
}

void descriptionChanged(QAccessibleInterface *object)
{
    if (object)
        send(object, QStringLiteral("PropertyChange"), QStringLiteral("accessible-description"),
             object->text(QAccessible::Description));
}

void selectionChanged(QAccessibleInterface *container)
{
    send(container, QStringLiteral("SelectionChanged"), QString(), 0);
}

} // namespace runtime::AtSpiEvents
