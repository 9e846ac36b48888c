#pragma once
// The standard font object: IFont (vtable), IFontDisp (automation), IPersistStream, and an
// IPropertyNotifySink connection point that reports every change (DISPID_FONT_*).
//
// Persistent form of a font (IPersistStream::Save/Load, all little-endian):
//   BYTE   version = 1
//   USHORT charset
//   BYTE   flags: 0x02 italic, 0x04 underline, 0x08 strikethrough (other bits must be 0)
//   USHORT weight (0..1000)
//   ULONG  size in 1/10000 point (CY units; above 0, at most 16383 points)
//   BYTE   name length n in UTF-16 code units (1..64)
//   n x USHORT name (UTF-16LE, no terminator)
// Load rejects other versions, unknown flag bits, out-of-range values and short data with
// E_FAIL / STG_E_READFAULT and leaves the font unchanged. Written after the class identifier
// (ole/persist.h) wherever a font is stored as an object.
//
// Defaults of a new font: "MS Sans Serif", 8 points, weight 400, charset 0, no style.
#include "com/dispatch.h"
#include "com/interfaces.h"

#include <QFont>

struct TEXTMETRICOLE
{
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

struct IFont : IUnknown
{
    static constexpr IID iid = com::makeGuid("BEF6E002-A874-101A-8BBA-00AA00300CAB");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR *pName) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Name(BSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Size(CY *pSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Size(CY size) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bold(BOOL *pBold) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bold(BOOL bold) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Italic(BOOL *pItalic) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Italic(BOOL italic) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Underline(BOOL *pUnderline) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Underline(BOOL underline) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Strikethrough(BOOL *pStrikethrough) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Strikethrough(BOOL strikethrough) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Weight(SHORT *pWeight) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Weight(SHORT weight) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Charset(SHORT *pCharset) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Charset(SHORT charset) = 0;
    // A font handle of the handle table (ole/handles.h) owned by the font object; valid until the
    // font changes or goes.
    virtual HRESULT STDMETHODCALLTYPE get_hFont(HFONT *phFont) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IFont **ppFont) = 0;
    // S_OK when both describe the same font, S_FALSE otherwise.
    virtual HRESULT STDMETHODCALLTYPE IsEqual(IFont *pFontOther) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRatio(LONG cyLogical, LONG cyHimetric) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryTextMetrics(TEXTMETRICOLE *pTM) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddRefHfont(HFONT hFont) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReleaseHfont(HFONT hFont) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHdc(HDC hDC) = 0;
};
// Automation face of the font: properties Name, Size, Bold, Italic, Underline, Strikethrough,
// Weight, Charset under the DISPID_FONT_* numbers.
struct IFontDisp : IDispatch
{
    static constexpr IID iid = com::makeGuid("BEF6E003-A874-101A-8BBA-00AA00300CAB");
    using base_type = IDispatch;
};
using LPFONTDISP = IFontDisp *;
inline constexpr IID IID_IFont = IFont::iid;
inline constexpr IID IID_IFontDisp = IFontDisp::iid;
inline constexpr CLSID CLSID_StdFont = com::makeGuid("0BE35203-8F91-11CE-9DE3-00AA004BB851");

inline constexpr DISPID DISPID_FONT_NAME = 0;
inline constexpr DISPID DISPID_FONT_SIZE = 2;
inline constexpr DISPID DISPID_FONT_BOLD = 3;
inline constexpr DISPID DISPID_FONT_ITALIC = 4;
inline constexpr DISPID DISPID_FONT_UNDER = 5;
inline constexpr DISPID DISPID_FONT_STRIKE = 6;
inline constexpr DISPID DISPID_FONT_WEIGHT = 7;
inline constexpr DISPID DISPID_FONT_CHARSET = 8;
inline constexpr DISPID DISPID_FONT_CHANGED = 9;

inline constexpr SHORT FW_NORMAL = 400;
inline constexpr SHORT FW_BOLD = 700;

struct FONTDESC
{
    UINT cbSizeofstruct;
    LPOLESTR lpstrName;
    CY cySize;
    SHORT sWeight;
    SHORT sCharset;
    BOOL fItalic;
    BOOL fUnderline;
    BOOL fStrikethrough;
};

// A new font object from the description (null description: the defaults), queried for riid.
TV_COM_EXPORT HRESULT OleCreateFontIndirect(FONTDESC *lpFontDesc, REFIID riid, LPVOID *lplpvObj);

namespace ole {

// The default description: "MS Sans Serif", 8 pt, weight 400, charset 0, no style.
FONTDESC defaultFontDesc();
// A new font object (IFontDisp) from a description or from a QFont.
com::ComPtr<IFontDisp> createFont(const FONTDESC &desc);
com::ComPtr<IFontDisp> createFont(const QFont &font);
// The QFont for a font object (any interface of it); the application font when p is null or no font.
QFont toQFont(IUnknown *p);
// Point size <-> CY.
inline CY pointsToCy(double points)
{
    return CY{LONGLONG(points * 10000.0 + (points >= 0 ? 0.5 : -0.5))};
}
inline double cyToPoints(CY cy)
{
    return double(cy.int64) / 10000.0;
}

} // namespace ole
