#pragma once
// The property frame: a modal dialog with one tab per property page (IPropertyPage), OK, Cancel
// and Apply. Pages are created by CLSID; a page that cannot be created is left out.
#include "com/interfaces.h"

// hwndOwner: a window handle of the handle table (0: no owner). x, y, lcid and the reserved
// arguments are accepted and ignored. E_INVALIDARG without objects or pages; S_OK when the dialog
// ran (whatever button closed it).
TV_COM_EXPORT HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption, ULONG cObjects,
                                             IUnknown **ppUnk, ULONG cPages, const CLSID *pPageClsID, LCID lcid,
                                             DWORD dwReserved, LPVOID pvReserved);
