#include "ole/font.h"
#include "../com/internal_p.h"
#include "com/connpt.h"
#include "com/dispimpl.h"
#include "com/object.h"
#include "ole/handles.h"
#include "ole/persist.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

namespace {

constexpr LONGLONG kMaxSize = 16383LL * 10000;
constexpr int kMaxName = 64;

struct Desc
{
    QString name = QStringLiteral("MS Sans Serif");
    CY size{80000};
    SHORT weight = FW_NORMAL;
    SHORT charset = 0;
    bool italic = false, underline = false, strike = false;
    bool operator==(const Desc &o) const
    {
        return name.compare(o.name, Qt::CaseInsensitive) == 0 && size.int64 == o.size.int64 && weight == o.weight &&
               charset == o.charset && italic == o.italic && underline == o.underline && strike == o.strike;
    }
};

QFont qfontOf(const Desc &d)
{
    QFont f(d.name);
    f.setPointSizeF(std::max(0.5, double(d.size.int64) / 10000.0));
    f.setWeight(QFont::Weight(std::clamp<int>(d.weight ? d.weight : FW_NORMAL, 1, 1000)));
    f.setItalic(d.italic);
    f.setUnderline(d.underline);
    f.setStrikeOut(d.strike);
    return f;
}

class StdFont final : public com::ComObject<IFontDisp, IFont, IPersistStream, IConnectionPointContainer>
{
public:
    explicit StdFont(const Desc &d = Desc()) : desc_(d) {}
    ~StdFont() override
    {
        points_.clearAll();
        if (hfont_)
            ole::releaseHandle(hfont_);
    }

    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<StdFont>;
        static const com::DispatchTable t(
            IID_IFontDisp, u"Font",
            {
                B::get<&StdFont::get_Name>(DISPID_FONT_NAME, u"Name"),
                B::put<&StdFont::put_Name>(DISPID_FONT_NAME, u"Name"),
                B::get<&StdFont::get_Size>(DISPID_FONT_SIZE, u"Size"),
                B::put<&StdFont::put_Size>(DISPID_FONT_SIZE, u"Size"),
                B::get<&StdFont::get_Bold>(DISPID_FONT_BOLD, u"Bold", {VT_BOOL}),
                B::put<&StdFont::put_Bold>(DISPID_FONT_BOLD, u"Bold", {VT_BOOL}),
                B::get<&StdFont::get_Italic>(DISPID_FONT_ITALIC, u"Italic", {VT_BOOL}),
                B::put<&StdFont::put_Italic>(DISPID_FONT_ITALIC, u"Italic", {VT_BOOL}),
                B::get<&StdFont::get_Underline>(DISPID_FONT_UNDER, u"Underline", {VT_BOOL}),
                B::put<&StdFont::put_Underline>(DISPID_FONT_UNDER, u"Underline", {VT_BOOL}),
                B::get<&StdFont::get_Strikethrough>(DISPID_FONT_STRIKE, u"Strikethrough", {VT_BOOL}),
                B::put<&StdFont::put_Strikethrough>(DISPID_FONT_STRIKE, u"Strikethrough", {VT_BOOL}),
                B::get<&StdFont::get_Weight>(DISPID_FONT_WEIGHT, u"Weight"),
                B::put<&StdFont::put_Weight>(DISPID_FONT_WEIGHT, u"Weight"),
                B::get<&StdFont::get_Charset>(DISPID_FONT_CHARSET, u"Charset"),
                B::put<&StdFont::put_Charset>(DISPID_FONT_CHARSET, u"Charset"),
            });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())

    // IFont
    HRESULT STDMETHODCALLTYPE get_Name(BSTR *p) override
    {
        if (!p)
            return E_POINTER;
        *p = com::allocBstr(desc_.name);
        return *p ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE put_Name(BSTR name) override
    {
        QString n = com::toQString(name);
        if (n.isEmpty() || n.size() > kMaxName)
            return CTL_E_INVALIDPROPERTYVALUE;
        desc_.name = n;
        return changed(DISPID_FONT_NAME);
    }
    HRESULT STDMETHODCALLTYPE get_Size(CY *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Size(CY size) override
    {
        if (size.int64 <= 0 || size.int64 > kMaxSize)
            return CTL_E_INVALIDPROPERTYVALUE;
        desc_.size = size;
        return changed(DISPID_FONT_SIZE);
    }
    HRESULT STDMETHODCALLTYPE get_Bold(BOOL *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.weight >= 600;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Bold(BOOL b) override
    {
        desc_.weight = b ? FW_BOLD : FW_NORMAL;
        return changed(DISPID_FONT_BOLD);
    }
    HRESULT STDMETHODCALLTYPE get_Italic(BOOL *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.italic;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Italic(BOOL b) override
    {
        desc_.italic = b;
        return changed(DISPID_FONT_ITALIC);
    }
    HRESULT STDMETHODCALLTYPE get_Underline(BOOL *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.underline;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Underline(BOOL b) override
    {
        desc_.underline = b;
        return changed(DISPID_FONT_UNDER);
    }
    HRESULT STDMETHODCALLTYPE get_Strikethrough(BOOL *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.strike;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Strikethrough(BOOL b) override
    {
        desc_.strike = b;
        return changed(DISPID_FONT_STRIKE);
    }
    HRESULT STDMETHODCALLTYPE get_Weight(SHORT *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.weight;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Weight(SHORT w) override
    {
        if (w < 0 || w > 1000)
            return CTL_E_INVALIDPROPERTYVALUE;
        desc_.weight = w;
        return changed(DISPID_FONT_WEIGHT);
    }
    HRESULT STDMETHODCALLTYPE get_Charset(SHORT *p) override
    {
        if (!p)
            return E_POINTER;
        *p = desc_.charset;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Charset(SHORT c) override
    {
        if (c < 0 || c > 255)
            return CTL_E_INVALIDPROPERTYVALUE;
        desc_.charset = c;
        return changed(DISPID_FONT_CHARSET);
    }
    HRESULT STDMETHODCALLTYPE get_hFont(HFONT *p) override
    {
        if (!p)
            return E_POINTER;
        if (!hfont_)
            hfont_ = ole::createFontHandle(qfont());
        *p = hfont_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IFont **pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        auto *f = new (std::nothrow) StdFont(desc_);
        if (!f)
            return E_OUTOFMEMORY;
        f->AddRef();
        *pp = static_cast<IFont *>(f);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsEqual(IFont *other) override
    {
        if (!other)
            return E_POINTER;
        Desc d;
        com::Bstr name;
        BOOL b = FALSE;
        other->get_Name(name.put());
        d.name = name.toString();
        other->get_Size(&d.size);
        other->get_Weight(&d.weight);
        other->get_Charset(&d.charset);
        other->get_Italic(&b);
        d.italic = b;
        other->get_Underline(&b);
        d.underline = b;
        other->get_Strikethrough(&b);
        d.strike = b;
        return d == desc_ ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE SetRatio(LONG cyLogical, LONG cyHimetric) override
    {
        if (cyLogical == 0 || cyHimetric == 0)
            return E_FAIL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryTextMetrics(TEXTMETRICOLE *tm) override
    {
        if (!tm)
            return E_POINTER;
        QFont f = qfont();
        QFontMetrics fm(f);
        std::memset(tm, 0, sizeof *tm);
        tm->tmHeight = fm.height();
        tm->tmAscent = fm.ascent();
        tm->tmDescent = fm.descent();
        tm->tmInternalLeading = std::max(0, fm.ascent() + fm.descent() - QFontInfo(f).pixelSize());
        tm->tmExternalLeading = fm.leading();
        tm->tmAveCharWidth = fm.averageCharWidth();
        tm->tmMaxCharWidth = fm.maxWidth();
        tm->tmWeight = desc_.weight;
        tm->tmDigitizedAspectX = 96;
        tm->tmDigitizedAspectY = 96;
        tm->tmFirstChar = 0x20;
        tm->tmLastChar = 0xFFFC;
        tm->tmDefaultChar = u'?';
        tm->tmBreakChar = 0x20;
        tm->tmItalic = desc_.italic;
        tm->tmUnderlined = desc_.underline;
        tm->tmStruckOut = desc_.strike;
        tm->tmPitchAndFamily = f.fixedPitch() ? 0 : 1;
        tm->tmCharSet = BYTE(desc_.charset);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddRefHfont(HFONT h) override { return h && h == hfont_ ? S_OK : E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE ReleaseHfont(HFONT h) override { return h && h == hfont_ ? S_OK : E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE SetHdc(HDC) override { return S_OK; }

    // IPersistStream
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *p) override
    {
        if (!p)
            return E_POINTER;
        *p = CLSID_StdFont;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream *s) override
    {
        if (!s)
            return E_POINTER;
        BYTE version = 0, flags = 0, nameLen = 0;
        USHORT charset = 0, weight = 0;
        ULONG size = 0;
        HRESULT hr;
        if (FAILED(hr = ole::readExact(s, &version, 1)))
            return hr;
        if (version != 1)
            return E_FAIL;
        if (FAILED(hr = ole::readExact(s, &charset, 2)))
            return hr;
        if (FAILED(hr = ole::readExact(s, &flags, 1)))
            return hr;
        if (FAILED(hr = ole::readExact(s, &weight, 2)))
            return hr;
        if (FAILED(hr = ole::readExact(s, &size, 4)))
            return hr;
        if (FAILED(hr = ole::readExact(s, &nameLen, 1)))
            return hr;
        if ((flags & ~0x0E) || charset > 255 || weight > 1000 || size == 0 || LONGLONG(size) > kMaxSize ||
            nameLen == 0 || nameLen > kMaxName)
            return E_FAIL;
        char16_t name[kMaxName];
        if (FAILED(hr = ole::readExact(s, name, ULONG(nameLen) * 2)))
            return hr;
        Desc d;
        d.name = QString::fromUtf16(name, nameLen);
        d.charset = SHORT(charset);
        d.weight = SHORT(weight);
        d.size.int64 = size;
        d.italic = flags & 0x02;
        d.underline = flags & 0x04;
        d.strike = flags & 0x08;
        desc_ = d;
        dirty_ = false;
        return changed(DISPID_UNKNOWN, false);
    }
    HRESULT STDMETHODCALLTYPE Save(IStream *s, BOOL clearDirty) override
    {
        if (!s)
            return E_POINTER;
        BYTE version = 1;
        USHORT charset = USHORT(desc_.charset);
        BYTE flags = BYTE((desc_.italic ? 0x02 : 0) | (desc_.underline ? 0x04 : 0) | (desc_.strike ? 0x08 : 0));
        USHORT weight = USHORT(desc_.weight);
        ULONG size = ULONG(desc_.size.int64);
        BYTE nameLen = BYTE(desc_.name.size());
        HRESULT hr;
        if (FAILED(hr = ole::writeBytes(s, &version, 1)))
            return hr;
        if (FAILED(hr = ole::writeBytes(s, &charset, 2)))
            return hr;
        if (FAILED(hr = ole::writeBytes(s, &flags, 1)))
            return hr;
        if (FAILED(hr = ole::writeBytes(s, &weight, 2)))
            return hr;
        if (FAILED(hr = ole::writeBytes(s, &size, 4)))
            return hr;
        if (FAILED(hr = ole::writeBytes(s, &nameLen, 1)))
            return hr;
        if (FAILED(hr = ole::writeBytes(s, desc_.name.utf16(), ULONG(nameLen) * 2)))
            return hr;
        if (clearDirty)
            dirty_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *p) override
    {
        if (!p)
            return E_POINTER;
        p->QuadPart = 11 + 2 * kMaxName;
        return S_OK;
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **pp) override
    {
        return points_.enumConnectionPoints(pp);
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **pp) override
    {
        return points_.findConnectionPoint(riid, pp);
    }

    QFont qfont() const { return qfontOf(desc_); }

private:
    HRESULT changed(DISPID dispid, bool markDirty = true)
    {
        if (markDirty)
            dirty_ = true;
        if (hfont_) {
            ole::releaseHandle(hfont_);
            hfont_ = 0;
        }
        notify_.notifyChanged(dispid);
        return S_OK;
    }

    Desc desc_;
    HFONT hfont_ = 0;
    bool dirty_ = false;
    com::ConnectionPoint notify_{identity(), IID_IPropertyNotifySink};
    com::ConnectionPoints points_{this, {&notify_}};
};

Desc descFrom(const FONTDESC &fd)
{
    Desc d;
    QString name = com::fromWide(fd.lpstrName);
    if (!name.isEmpty() && name.size() <= kMaxName)
        d.name = name;
    if (fd.cySize.int64 > 0 && fd.cySize.int64 <= kMaxSize)
        d.size = fd.cySize;
    if (fd.sWeight > 0 && fd.sWeight <= 1000)
        d.weight = fd.sWeight;
    if (fd.sCharset >= 0 && fd.sCharset <= 255)
        d.charset = fd.sCharset;
    d.italic = fd.fItalic;
    d.underline = fd.fUnderline;
    d.strike = fd.fStrikethrough;
    return d;
}

} // namespace

HRESULT OleCreateFontIndirect(FONTDESC *lpFontDesc, REFIID riid, LPVOID *lplpvObj)
{
    if (!lplpvObj)
        return E_POINTER;
    *lplpvObj = nullptr;
    auto *f = new (std::nothrow) StdFont(lpFontDesc ? descFrom(*lpFontDesc) : Desc());
    if (!f)
        return E_OUTOFMEMORY;
    f->AddRef();
    HRESULT hr = f->QueryInterface(riid, lplpvObj);
    f->Release();
    return hr;
}

namespace com::internal {
HRESULT createStdFont(IUnknown *outer, REFIID riid, void **ppv)
{
    return com::createInstance<StdFont>(outer, riid, ppv);
}
} // namespace com::internal

namespace ole {

FONTDESC defaultFontDesc()
{
    static char16_t name[] = u"MS Sans Serif";
    FONTDESC d{};
    d.cbSizeofstruct = sizeof(FONTDESC);
    d.lpstrName = name;
    d.cySize = CY{80000};
    d.sWeight = FW_NORMAL;
    d.sCharset = 0;
    return d;
}

com::ComPtr<IFontDisp> createFont(const FONTDESC &desc)
{
    com::ComPtr<IFontDisp> f;
    FONTDESC copy = desc;
    OleCreateFontIndirect(&copy, IID_IFontDisp, f.putVoid());
    return f;
}

com::ComPtr<IFontDisp> createFont(const QFont &font)
{
    std::u16string name = font.family().left(kMaxName).toStdU16String();
    FONTDESC d{};
    d.cbSizeofstruct = sizeof d;
    d.lpstrName = name.data();
    double pts = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    d.cySize = pointsToCy(pts > 0 ? pts : 8.0);
    d.sWeight = SHORT(font.weight());
    d.sCharset = 0;
    d.fItalic = font.italic();
    d.fUnderline = font.underline();
    d.fStrikethrough = font.strikeOut();
    return createFont(d);
}

QFont toQFont(IUnknown *p)
{
    com::ComPtr<IFont> f;
    if (!p || FAILED(p->QueryInterface(IID_IFont, f.putVoid())) || !f)
        return QGuiApplication::font();
    Desc d;
    com::Bstr name;
    BOOL b = FALSE;
    f->get_Name(name.put());
    d.name = name.toString();
    f->get_Size(&d.size);
    f->get_Weight(&d.weight);
    f->get_Italic(&b);
    d.italic = b;
    f->get_Underline(&b);
    d.underline = b;
    f->get_Strikethrough(&b);
    d.strike = b;
    return qfontOf(d);
}

} // namespace ole
