// SPDX-License-Identifier: MIT
#pragma once

class QAccessibleInterface;

namespace runtime {

// AT-SPI events that Qt 6.4's accessibility bridge leaves out or sends in a
// form a screen reader cannot speak, emitted by hand on the bridge's own
// D-Bus connection, from the object path the bridge serves the interface at
// and in the bridge's signal layout. Qt 6.4 sends a name or description
// change with a reference to the object where the new text belongs, which
// Orca 43 cannot speak; these carry the text itself. Nothing is sent while
// the bridge has not joined an accessibility bus. It serves nothing: the
// objects' properties and methods stay the bridge's, and callers still raise
// Qt's own event for every other listener.
namespace AtSpiEvents {

// object:property-change:accessible-name with the interface's new name.
void nameChanged(QAccessibleInterface *object);
// object:property-change:accessible-description with its new description.
void descriptionChanged(QAccessibleInterface *object);
// object:selection-changed on a container whose selected child changed.
void selectionChanged(QAccessibleInterface *container);

} // namespace AtSpiEvents

} // namespace runtime
