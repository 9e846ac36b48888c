#pragma once
// Popup menus passed between a control and its container by handle (ole/handles.h). As on the
// original platform, each entry of such a menu carries a command identifier: the control builds the
// menu with these helpers, a container's handler may add or remove entries by identifier, and
// tracking answers the identifier of the chosen entry.
#include "com/types.h"

#include <QString>

class QAction;
class QMenu;
class QPoint;

namespace ole {

// Appends an entry with a command identifier; an empty text appends a separator carrying it.
QAction *appendMenuItem(QMenu *menu, UINT id, const QString &text);
// The command identifier of an entry (0 for an entry added without one).
UINT menuItemId(const QAction *action);
// The first entry of a menu with that identifier, or nullptr.
QAction *findMenuItem(const QMenu *menu, UINT id);
// Removes (and deletes) the first entry with that identifier; false when there is none.
bool removeMenuItem(QMenu *menu, UINT id);
// Shows the menu at a global position and waits until an entry is chosen or the menu is dismissed.
// The chosen entry's identifier, 0 when none was chosen.
UINT trackPopupMenu(QMenu *menu, const QPoint &globalPos);

} // namespace ole
