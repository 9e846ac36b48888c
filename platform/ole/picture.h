#pragma once
// The standard picture object: IPicture (vtable) and IPictureDisp (automation: Handle, hPal, Type,
// Width, Height), holding a bitmap. Width and Height are in HIMETRIC (pixels at 96 dpi).
// Render draws onto a QPainter passed as the HDC.
#include "com/dispatch.h"
#include "com/interfaces.h"

#include <QPixmap>

inline constexpr SHORT PICTYPE_UNINITIALIZED = -1;
inline constexpr SHORT PICTYPE_NONE = 0;
inline constexpr SHORT PICTYPE_BITMAP = 1;
inline constexpr SHORT PICTYPE_ICON = 3;

struct IPicture : IUnknown
{
    static constexpr IID iid = com::makeGuid("7BF80980-BF32-101A-8BBB-00AA00300CAB");
    using base_type = IUnknown;
    // A bitmap handle of the handle table (ole/handles.h) owned by the picture.
    virtual HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE *pHandle) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE *phPal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type(SHORT *pType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC *pWidth) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC *pHeight) = 0;
    // Draws the source rectangle (HIMETRIC, from the picture's top-left; a negative cySrc counts
    // from the bottom as on the original platform) into x, y, cx, cy of the QPainter hDC.
    virtual HRESULT STDMETHODCALLTYPE Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                             OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                             LPCRECT pRcWBounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE hPal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurDC(HDC *phDC) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectPicture(HDC hDCIn, HDC *phDCOut, OLE_HANDLE *phBmpOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL *pKeep) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL keep) = 0;
    virtual HRESULT STDMETHODCALLTYPE PictureChanged() = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveAsFile(IStream *pStream, BOOL fSaveMemCopy, LONG *pCbSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Attributes(DWORD *pDwAttr) = 0;
};
struct IPictureDisp : IDispatch
{
    static constexpr IID iid = com::makeGuid("7BF80981-BF32-101A-8BBB-00AA00300CAB");
    using base_type = IDispatch;
};
inline constexpr IID IID_IPicture = IPicture::iid;
inline constexpr IID IID_IPictureDisp = IPictureDisp::iid;
inline constexpr CLSID CLSID_StdPicture = com::makeGuid("0BE35204-8F91-11CE-9DE3-00AA004BB851");
inline constexpr DISPID DISPID_PICT_HANDLE = 0;
inline constexpr DISPID DISPID_PICT_HPAL = 2;
inline constexpr DISPID DISPID_PICT_TYPE = 3;
inline constexpr DISPID DISPID_PICT_WIDTH = 4;
inline constexpr DISPID DISPID_PICT_HEIGHT = 5;

namespace ole {

// A new picture holding the pixmap (a null pixmap gives PICTYPE_NONE).
com::ComPtr<IPictureDisp> createPicture(const QPixmap &pixmap);
// The pixmap of a picture object (any interface of it); a null pixmap when there is none.
QPixmap pixmapFromPicture(IUnknown *picture);

} // namespace ole
