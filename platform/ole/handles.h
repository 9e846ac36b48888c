#pragma once
// The handle table: windows, menus, image lists, fonts and bitmaps passed through interfaces as
// 32-bit handles. A handle names one object of one kind; it is never reused, and it resolves to
// null (never to a dangling pointer) once its object is gone or when asked for another kind.
// Handle 0 is no object.
#include "com/types.h"

#include <QFont>
#include <QPixmap>

class QWidget;
class QMenu;

namespace ole {

using Handle = OLE_HANDLE;

enum class HandleKind : uint8_t { None = 0, Window = 1, Menu = 2, ImageList = 3, Font = 4, Bitmap = 5 };

HandleKind handleKind(Handle h);

// Windows: the same widget always gets the same handle while it lives. The entry goes when the
// widget is destroyed.
Handle handleFromWidget(QWidget *w);
QWidget *widgetFromHandle(Handle h);

// Menus: as windows.
Handle handleFromMenu(QMenu *m);
QMenu *menuFromHandle(Handle h);

// Fonts and bitmaps are values kept by the table until released.
Handle createFontHandle(const QFont &f);
bool fontFromHandle(Handle h, QFont *out);
Handle createBitmapHandle(const QPixmap &p);
bool bitmapFromHandle(Handle h, QPixmap *out);
// Releases a font or bitmap handle; false when h is not such a live handle.
bool releaseHandle(Handle h);

} // namespace ole
