#include "ole/picture.h"
#include "../com/internal_p.h"
#include "com/dispimpl.h"
#include "com/object.h"
#include "ole/handles.h"

#include <QPainter>

namespace {

constexpr LONG pixelsToHimetric(int px)
{
    return LONG((px * 2540 + 48) / 96);
}
constexpr int himetricToPixels(LONG hm)
{
    return int((hm * 96 + 1270) / 2540);
}

class StdPicture final : public com::ComObject<IPictureDisp, IPicture>
{
public:
    explicit StdPicture(const QPixmap &p = QPixmap()) : pixmap_(p) {}
    ~StdPicture() override
    {
        if (handle_)
            ole::releaseHandle(handle_);
    }

    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<StdPicture>;
        static const com::DispatchTable t(IID_IPictureDisp, u"Picture",
                                          {
                                              B::get<&StdPicture::get_Handle>(DISPID_PICT_HANDLE, u"Handle"),
                                              B::get<&StdPicture::get_hPal>(DISPID_PICT_HPAL, u"hPal"),
                                              B::get<&StdPicture::get_Type>(DISPID_PICT_TYPE, u"Type"),
                                              B::get<&StdPicture::get_Width>(DISPID_PICT_WIDTH, u"Width"),
                                              B::get<&StdPicture::get_Height>(DISPID_PICT_HEIGHT, u"Height"),
                                          });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())

    HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE *p) override
    {
        if (!p)
            return E_POINTER;
        if (!handle_ && !pixmap_.isNull())
            handle_ = ole::createBitmapHandle(pixmap_);
        *p = handle_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE *p) override
    {
        if (!p)
            return E_POINTER;
        *p = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Type(SHORT *p) override
    {
        if (!p)
            return E_POINTER;
        *p = pixmap_.isNull() ? PICTYPE_NONE : PICTYPE_BITMAP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC *p) override
    {
        if (!p)
            return E_POINTER;
        *p = pixelsToHimetric(pixmap_.width());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC *p) override
    {
        if (!p)
            return E_POINTER;
        *p = pixelsToHimetric(pixmap_.height());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                     OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                     LPCRECT) override
    {
        if (!hdc)
            return E_INVALIDARG;
        if (pixmap_.isNull())
            return S_OK;
        auto *painter = static_cast<QPainter *>(hdc);
        int sx = himetricToPixels(xSrc);
        int sy = himetricToPixels(ySrc);
        int sw = himetricToPixels(cxSrc);
        int sh = himetricToPixels(cySrc);
        if (sh < 0) { // counted from the bottom
            sh = -sh;
            sy = pixmap_.height() - sy;
        }
        painter->drawPixmap(QRect(x, y, cx, cy), pixmap_, QRect(sx, sy, sw, sh));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_CurDC(HDC *p) override
    {
        if (!p)
            return E_POINTER;
        *p = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SelectPicture(HDC, HDC *, OLE_HANDLE *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL *p) override
    {
        if (!p)
            return E_POINTER;
        *p = keep_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL k) override
    {
        keep_ = k;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PictureChanged() override
    {
        if (handle_) {
            QPixmap p;
            if (ole::bitmapFromHandle(handle_, &p))
                pixmap_ = p;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SaveAsFile(IStream *, BOOL, LONG *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Attributes(DWORD *p) override
    {
        if (!p)
            return E_POINTER;
        *p = 0;
        return S_OK;
    }

    const QPixmap &pixmap() const { return pixmap_; }

protected:
    void *findInterface(REFIID riid) override
    {
        // Lets the runtime find the pixmap without a handle round trip.
        return riid == kSelf ? static_cast<IPicture *>(this) : nullptr;
    }

public:
    static constexpr IID kSelf = com::makeGuid("6E3A1C2F-5B7D-4F0E-9C41-2A8D7F3B6E01");

private:
    QPixmap pixmap_;
    OLE_HANDLE handle_ = 0;
    BOOL keep_ = TRUE;
};

} // namespace

namespace com::internal {
HRESULT createStdPicture(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<StdPicture>(outer, riid, ppv);
}
} // namespace com::internal

namespace ole {

com::ComPtr<IPictureDisp> createPicture(const QPixmap &pixmap)
{
    return com::ComPtr<IPictureDisp>(new StdPicture(pixmap));
}

QPixmap pixmapFromPicture(IUnknown *picture)
{
    if (!picture)
        return QPixmap();
    com::ComPtr<IPicture> own;
    if (SUCCEEDED(picture->QueryInterface(StdPicture::kSelf, own.putVoid())) && own)
        return static_cast<StdPicture *>(own.get())->pixmap();
    com::ComPtr<IPicture> pic;
    if (FAILED(picture->QueryInterface(IID_IPicture, pic.putVoid())) || !pic)
        return QPixmap();
    OLE_HANDLE h = 0;
    QPixmap p;
    if (SUCCEEDED(pic->get_Handle(&h)) && bitmapFromHandle(h, &p))
        return p;
    return QPixmap();
}

} // namespace ole
