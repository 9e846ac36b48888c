#pragma once
// The property frame: a modal dialog with one tab per property page (IPropertyPage), OK, Cancel
// and Apply. Pages are created by CLSID; a page that cannot be created is left out.
#include "com/interfaces.h"

class QWidget;

// hwndOwner: a window handle of the handle table (0: no owner). x, y, lcid and the reserved
// arguments are accepted and ignored. E_INVALIDARG without objects or pages; S_OK when the dialog
// ran (whatever button closed it).
TV_COM_EXPORT HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption, ULONG cObjects,
                                             IUnknown **ppUnk, ULONG cPages, const CLSID *pPageClsID, LCID lcid,
                                             DWORD dwReserved, LPVOID pvReserved);

namespace ole {

// Makes a property page's widget at least as large as its layout asks for, so that no text of the
// page is cut whatever the font, and lets the window holding it (the frame's tab) keep that room.
// A page calls it when it has built its controls in Activate.
void fitPropertyPage(QWidget *page);

} // namespace ole
