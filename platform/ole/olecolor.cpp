#include "ole/olecolor.h"

namespace {

// The fixed system colours (indexes 0..30).
constexpr COLORREF kSysColors[31] = {
    RGB(192, 192, 192), // 0 scroll bar
    RGB(0, 128, 128),   // 1 desktop
    RGB(0, 0, 128),     // 2 active caption
    RGB(128, 128, 128), // 3 inactive caption
    RGB(192, 192, 192), // 4 menu
    RGB(255, 255, 255), // 5 window
    RGB(0, 0, 0),       // 6 window frame
    RGB(0, 0, 0),       // 7 menu text
    RGB(0, 0, 0),       // 8 window text
    RGB(255, 255, 255), // 9 caption text
    RGB(192, 192, 192), // 10 active border
    RGB(192, 192, 192), // 11 inactive border
    RGB(128, 128, 128), // 12 application workspace
    RGB(0, 0, 128),     // 13 highlight
    RGB(255, 255, 255), // 14 highlight text
    RGB(192, 192, 192), // 15 button face
    RGB(128, 128, 128), // 16 button shadow
    RGB(128, 128, 128), // 17 grey text
    RGB(0, 0, 0),       // 18 button text
    RGB(192, 192, 192), // 19 inactive caption text
    RGB(255, 255, 255), // 20 button highlight
    RGB(0, 0, 0),       // 21 3D dark shadow
    RGB(223, 223, 223), // 22 3D light
    RGB(0, 0, 0),       // 23 tooltip text
    RGB(255, 255, 225), // 24 tooltip background
    RGB(181, 181, 181), // 25 (unused)
    RGB(0, 0, 255),     // 26 hot-tracked item
    RGB(16, 132, 208),  // 27 gradient active caption
    RGB(181, 181, 181), // 28 gradient inactive caption
    RGB(0, 0, 128),     // 29 menu highlight
    RGB(192, 192, 192), // 30 menu bar
};

} // namespace

DWORD GetSysColor(int nIndex)
{
    if (nIndex < 0 || nIndex > 30)
        return 0;
    return kSysColors[nIndex];
}

HRESULT OleTranslateColor(OLE_COLOR clr, HPALETTE, COLORREF *lpcolorref)
{
    COLORREF result;
    switch (clr >> 24) {
    case 0x00: result = clr & 0xFFFFFF; break;
    case 0x80: {
        OLE_COLOR index = clr & 0xFFFFFF;
        if (index > 30)
            return E_INVALIDARG;
        result = kSysColors[index];
        break;
    }
    default: return E_INVALIDARG;
    }
    if (lpcolorref)
        *lpcolorref = result;
    return S_OK;
}

namespace ole {

QColor toQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF fromQColor(const QColor &c)
{
    return RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue()));
}

QColor colorFromOle(OLE_COLOR c, const QColor &fallback)
{
    COLORREF ref;
    if (FAILED(OleTranslateColor(c, 0, &ref)))
        return fallback;
    return toQColor(ref);
}

OLE_COLOR oleFromColor(const QColor &c)
{
    return fromQColor(c);
}

} // namespace ole
