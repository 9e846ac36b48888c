#pragma once
// OLE_COLOR: 0x00BBGGRR is a plain colour; 0x800000nn is system colour nn, taken from a fixed
// table (the platform's "classic" scheme) so that drawing does not depend on the desktop theme.
#include "com/types.h"

#include <QColor>

inline constexpr int COLOR_SCROLLBAR = 0;
inline constexpr int COLOR_BACKGROUND = 1;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_INACTIVECAPTION = 3;
inline constexpr int COLOR_MENU = 4;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_MENUTEXT = 7;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVEBORDER = 10;
inline constexpr int COLOR_INACTIVEBORDER = 11;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;
inline constexpr int COLOR_HOTLIGHT = 26;
inline constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
inline constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
inline constexpr int COLOR_MENUHILIGHT = 29;
inline constexpr int COLOR_MENUBAR = 30;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c)
{
    return BYTE(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return BYTE((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return BYTE((c >> 16) & 0xFF);
}

// The system colour nIndex (0..30) as COLORREF; 0 for an unknown index.
TV_COM_EXPORT DWORD GetSysColor(int nIndex);
// OLE_COLOR -> COLORREF. System colours resolve through the table; E_INVALIDARG for an unknown
// system colour index or an unknown high byte (only 0x00 and 0x80 are colours here).
TV_COM_EXPORT HRESULT OleTranslateColor(OLE_COLOR clr, HPALETTE hpal, COLORREF *lpcolorref);

namespace ole {

inline constexpr OLE_COLOR systemColor(int index)
{
    return 0x80000000u | OLE_COLOR(index);
}
inline constexpr bool isSystemColor(OLE_COLOR c)
{
    return (c & 0xFF000000u) == 0x80000000u;
}

QColor toQColor(COLORREF c);
COLORREF fromQColor(const QColor &c);
// OLE_COLOR -> QColor (system colours resolved); fallback for a colour that does not translate.
QColor colorFromOle(OLE_COLOR c, const QColor &fallback = Qt::black);
// QColor -> plain OLE_COLOR (never a system colour).
OLE_COLOR oleFromColor(const QColor &c);

} // namespace ole
