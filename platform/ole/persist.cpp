#include "ole/persist.h"
#include "com/activation.h"
#include "ole/font.h"

#include <cstring>

namespace ole {

// A stream that takes fewer bytes than given fails the save: a control's data cut short would
// load as other properties.
HRESULT writeBytes(IStream *s, const void *data, ULONG size)
{
    if (!s)
        return E_POINTER;
    ULONG written = 0;
    HRESULT hr = s->Write(data, size, &written);
    if (FAILED(hr))
        return hr;
    return written == size ? S_OK : STG_E_WRITEFAULT;
}

// Loaders treat every stream as untrusted: data that ends early is an error, never zeroes.
HRESULT readExact(IStream *s, void *data, ULONG size)
{
    if (!s)
        return E_POINTER;
    if (size == 0)
        return S_OK;
    ULONG got = 0;
    HRESULT hr = s->Read(data, size, &got);
    if (FAILED(hr))
        return hr;
    return got == size ? S_OK : STG_E_READFAULT;
}

// Figures are written as the host lays them out, little-endian on the machines we build for: the
// byte order of the stored layouts.
HRESULT writeI2(IStream *s, SHORT v)
{
    return writeBytes(s, &v, 2);
}
HRESULT writeI4(IStream *s, LONG v)
{
    return writeBytes(s, &v, 4);
}
HRESULT writeU4(IStream *s, ULONG v)
{
    return writeBytes(s, &v, 4);
}
HRESULT writeR8(IStream *s, DOUBLE v)
{
    return writeBytes(s, &v, 8);
}
HRESULT readI2(IStream *s, SHORT *v)
{
    return v ? readExact(s, v, 2) : E_POINTER;
}
HRESULT readI4(IStream *s, LONG *v)
{
    return v ? readExact(s, v, 4) : E_POINTER;
}
HRESULT readU4(IStream *s, ULONG *v)
{
    return v ? readExact(s, v, 4) : E_POINTER;
}
HRESULT readR8(IStream *s, DOUBLE *v)
{
    return v ? readExact(s, v, 8) : E_POINTER;
}

// The length in characters, then the UTF-16 characters without a terminator.
HRESULT writeString(IStream *s, const QString &v)
{
    HRESULT hr = writeU4(s, ULONG(v.size()));
    if (FAILED(hr))
        return hr;
    return writeBytes(s, v.utf16(), ULONG(v.size()) * 2);
}

HRESULT readString(IStream *s, QString *v, ULONG maxChars)
{
    if (!v)
        return E_POINTER;
    ULONG count = 0;
    HRESULT hr = readU4(s, &count);
    if (FAILED(hr))
        return hr;
    // Refused before anything is allocated: a length read from untrusted data.
    if (count > maxChars)
        return E_FAIL;
    QString r(qsizetype(count), Qt::Uninitialized);
    hr = readExact(s, r.data(), count * 2);
    if (FAILED(hr))
        return hr;
    *v = r;
    return S_OK;
}

// The class identifier, then the object's own data; GUID_NULL alone stands for no object.
HRESULT writeObject(IStream *s, IUnknown *object)
{
    if (!object)
        return writeBytes(s, &GUID_NULL, sizeof(GUID));
    com::ComPtr<IPersistStream> ps;
    if (FAILED(object->QueryInterface(IID_IPersistStream, ps.putVoid())) || !ps)
        return E_NOINTERFACE;
    return OleSaveToStream(ps.get(), s);
}

HRESULT readObject(IStream *s, REFIID riid, void **ppv, std::span<const CLSID> allowed)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    GUID clsid;
    HRESULT hr = readExact(s, &clsid, sizeof clsid);
    if (FAILED(hr))
        return hr;
    if (clsid == GUID_NULL)
        return S_OK;
    // Only the classes the caller expects: a stream must not make us load any registered library.
    if (std::find(allowed.begin(), allowed.end(), clsid) == allowed.end())
        return REGDB_E_CLASSNOTREG;
    com::ComPtr<IPersistStream> ps;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream, ps.putVoid());
    if (FAILED(hr))
        return hr;
    hr = ps->Load(s);
    if (FAILED(hr))
        return hr;
    return ps->QueryInterface(riid, ppv);
}

HRESULT readObject(IStream *s, REFIID riid, void **ppv)
{
    static const CLSID fontOnly[] = {CLSID_StdFont};
    return readObject(s, riid, ppv, fontOnly);
}

// The type tag (2 bytes), then the value in its natural size; objects as writeObject does; a
// reference is written as the value it points to; any other type as its text, tagged VT_BSTR.
HRESULT writeTypedValue(IStream *s, const VARIANT &in)
{
    com::Variant v;
    HRESULT hr = VariantCopyInd(&v, &in);
    if (FAILED(hr))
        return hr;
    VARTYPE vt = v.vt;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL: return writeBytes(s, &vt, 2);
    case VT_I1:
    case VT_UI1:
        if (FAILED(hr = writeBytes(s, &vt, 2)))
            return hr;
        return writeBytes(s, &v.bVal, 1);
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        if (FAILED(hr = writeBytes(s, &vt, 2)))
            return hr;
        return writeBytes(s, &v.iVal, 2);
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        if (FAILED(hr = writeBytes(s, &vt, 2)))
            return hr;
        return writeBytes(s, &v.lVal, 4);
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_I8:
    case VT_UI8:
        if (FAILED(hr = writeBytes(s, &vt, 2)))
            return hr;
        return writeBytes(s, &v.llVal, 8);
    case VT_DISPATCH:
    case VT_UNKNOWN:
        if (FAILED(hr = writeBytes(s, &vt, 2)))
            return hr;
        return writeObject(s, v.punkVal);
    default: {
        com::Variant text;
        if (vt != VT_BSTR) {
            if (FAILED(hr = VariantChangeType(&text, &v, 0, VT_BSTR)))
                return hr;
        } else {
            text = v;
        }
        // The byte count includes the terminator; a null BSTR is count 0, so that it loads as
        // null and not as an empty text.
        VARTYPE tag = VT_BSTR;
        if (FAILED(hr = writeBytes(s, &tag, 2)))
            return hr;
        if (!text.bstrVal)
            return writeU4(s, 0);
        ULONG chars = SysStringLen(text.bstrVal);
        if (FAILED(hr = writeU4(s, (chars + 1) * 2)))
            return hr;
        return writeBytes(s, text.bstrVal, (chars + 1) * 2); // the terminator follows the characters
    }
    }
}

HRESULT readTypedValue(IStream *s, VARIANT *out, std::span<const CLSID> allowed, ULONG maxChars)
{
    if (!out)
        return E_POINTER;
    VariantClear(out);
    VARTYPE vt = 0;
    HRESULT hr = readExact(s, &vt, 2);
    if (FAILED(hr))
        return hr;
    VARIANT v;
    VariantInit(&v);
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL: break;
    case VT_I1:
    case VT_UI1: hr = readExact(s, &v.bVal, 1); break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: hr = readExact(s, &v.iVal, 2); break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR: hr = readExact(s, &v.lVal, 4); break;
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_I8:
    case VT_UI8: hr = readExact(s, &v.llVal, 8); break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        hr = readObject(s, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, reinterpret_cast<void **>(&v.punkVal),
                        allowed);
        break;
    case VT_BSTR: {
        ULONG bytes = 0;
        if (FAILED(hr = readU4(s, &bytes)))
            return hr;
        if (bytes == 0) {
            v.bstrVal = nullptr;
            break;
        }
        // Whole characters with their terminator, and no more than the caller takes.
        if (bytes % 2 || bytes < 2 || bytes / 2 - 1 > maxChars)
            return E_FAIL;
        ULONG chars = bytes / 2 - 1;
        com::Bstr b = com::Bstr::adopt(SysAllocStringLen(nullptr, chars));
        if (!b.get())
            return E_OUTOFMEMORY;
        if (FAILED(hr = readExact(s, b.get(), chars * 2)))
            return hr;
        OLECHAR term = 1;
        if (FAILED(hr = readExact(s, &term, 2)))
            return hr;
        if (term != 0)
            return E_FAIL;
        v.bstrVal = b.detach();
        break;
    }
    default: return E_FAIL;
    }
    // A failed read owns nothing (readObject hands out no object on failure): out stays empty.
    if (FAILED(hr)) {
        VariantInit(&v);
        return hr;
    }
    v.vt = vt;
    *out = v;
    return S_OK;
}

HRESULT readTypedValue(IStream *s, VARIANT *out)
{
    static const CLSID fontOnly[] = {CLSID_StdFont};
    return readTypedValue(s, out, fontOnly, kDefaultMaxStringChars);
}

HRESULT bagRead(IPropertyBag *bag, const QString &name, VARTYPE type, VARIANT *out, IErrorLog *log)
{
    if (!bag || !out)
        return E_POINTER;
    VariantClear(out);
    // The type asked for, which the bag converts to; VT_EMPTY takes the value as it is stored.
    out->vt = type;
    std::u16string n = name.toStdU16String();
    HRESULT hr = bag->Read(n.c_str(), out, log);
    if (FAILED(hr)) {
        VariantInit(out);
        return hr;
    }
    return S_OK;
}

HRESULT bagWrite(IPropertyBag *bag, const QString &name, const VARIANT &value)
{
    if (!bag)
        return E_POINTER;
    std::u16string n = name.toStdU16String();
    VARIANT copy = value; // Write does not take ownership
    return bag->Write(n.c_str(), &copy);
}

HRESULT writeControlVersion(IStream *s, ULONG version)
{
    return writeU4(s, version);
}
HRESULT readControlVersion(IStream *s, ULONG *version)
{
    return readU4(s, version);
}

HRESULT writeControlExtent(IStream *s, LONG cx, LONG cy)
{
    HRESULT hr = writeI4(s, cx);
    return FAILED(hr) ? hr : writeI4(s, cy);
}

HRESULT readControlExtent(IStream *s, LONG *cx, LONG *cy)
{
    if (!cx || !cy)
        return E_POINTER;
    LONG x = 0, y = 0;
    HRESULT hr = readI4(s, &x);
    if (FAILED(hr) || FAILED(hr = readI4(s, &y)))
        return hr;
    *cx = x;
    *cy = y;
    return S_OK;
}

HRESULT writeBool(IStream *s, bool v)
{
    return writeI2(s, v ? 1 : 0);
}

HRESULT readBool(IStream *s, bool *v)
{
    if (!v)
        return E_POINTER;
    SHORT raw = 0;
    const HRESULT hr = readI2(s, &raw);
    if (SUCCEEDED(hr))
        *v = raw != 0;
    return hr;
}

HRESULT writeColor(IStream *s, OLE_COLOR v)
{
    return writeU4(s, v);
}

HRESULT readColor(IStream *s, OLE_COLOR *v)
{
    if (!v)
        return E_POINTER;
    ULONG raw = 0;
    const HRESULT hr = readU4(s, &raw);
    if (SUCCEEDED(hr))
        *v = raw;
    return hr;
}

HRESULT bagWriteControlVersion(IPropertyBag *bag, ULONG version)
{
    return bagWrite(bag, QString::fromUtf16(kBagVersionKey), com::Variant::i4(LONG(version)));
}

HRESULT bagReadControlVersion(IPropertyBag *bag, ULONG *version, IErrorLog *log)
{
    if (!version)
        return E_POINTER;
    com::Variant x;
    const HRESULT hr = bagRead(bag, QString::fromUtf16(kBagVersionKey), VT_I4, &x, log);
    if (SUCCEEDED(hr))
        *version = ULONG(x.lVal);
    return hr;
}

HRESULT bagWriteControlExtent(IPropertyBag *bag, LONG cx, LONG cy)
{
    HRESULT hr = bagWrite(bag, QString::fromUtf16(kBagExtentXKey), com::Variant::i4(cx));
    return FAILED(hr) ? hr : bagWrite(bag, QString::fromUtf16(kBagExtentYKey), com::Variant::i4(cy));
}

HRESULT bagReadControlExtent(IPropertyBag *bag, LONG *cx, LONG *cy, IErrorLog *log)
{
    if (!cx || !cy)
        return E_POINTER;
    // A bag without the extent keeps the size the control has.
    com::Variant x;
    if (SUCCEEDED(bagRead(bag, QString::fromUtf16(kBagExtentXKey), VT_I4, &x, log)))
        *cx = x.lVal;
    if (SUCCEEDED(bagRead(bag, QString::fromUtf16(kBagExtentYKey), VT_I4, &x, log)))
        *cy = x.lVal;
    return S_OK;
}

HRESULT bagWriteBool(IPropertyBag *bag, const QString &name, bool v)
{
    return bagWrite(bag, name, com::Variant::boolean(v));
}

HRESULT bagReadBool(IPropertyBag *bag, const QString &name, bool *v, IErrorLog *log)
{
    if (!v)
        return E_POINTER;
    com::Variant x;
    const HRESULT hr = bagRead(bag, name, VT_BOOL, &x, log);
    if (SUCCEEDED(hr))
        *v = x.boolVal != VARIANT_FALSE;
    return hr;
}

HRESULT bagWriteColor(IPropertyBag *bag, const QString &name, OLE_COLOR v)
{
    return bagWrite(bag, name, com::Variant::i4(LONG(v)));
}

HRESULT bagReadColor(IPropertyBag *bag, const QString &name, OLE_COLOR *v, IErrorLog *log)
{
    if (!v)
        return E_POINTER;
    com::Variant x;
    if (SUCCEEDED(bagRead(bag, name, VT_I4, &x, log))) {
        *v = OLE_COLOR(x.lVal);
        return S_OK;
    }
    // System colours (high bit set) do not fit VT_I4 when a bag keeps them unsigned.
    const HRESULT hr = bagRead(bag, name, VT_UI4, &x, log);
    if (SUCCEEDED(hr))
        *v = x.ulVal;
    return hr;
}

HRESULT bagWriteFont(IPropertyBag *bag, const QString &name, IFontDisp *font)
{
    return bagWrite(bag, name, com::Variant::dispatch(font));
}

HRESULT bagReadFont(IPropertyBag *bag, const QString &name, IFontDisp **font, IErrorLog *log)
{
    if (!font)
        return E_POINTER;
    *font = nullptr;
    // No font stored: S_FALSE, and the control keeps its own.
    com::Variant x;
    if (FAILED(bagRead(bag, name, VT_EMPTY, &x, log)) || x.vt == VT_EMPTY || x.vt == VT_NULL)
        return S_FALSE;
    if ((x.vt != VT_DISPATCH && x.vt != VT_UNKNOWN) || !x.punkVal)
        return E_FAIL;
    com::ComPtr<IFont> stored;
    if (FAILED(x.punkVal->QueryInterface(IID_IFont, stored.putVoid())) || !stored)
        return E_FAIL;
    // A copy, so that the loading control owns its font.
    com::ComPtr<IFont> copy;
    if (FAILED(stored->Clone(copy.put())) || !copy)
        return E_FAIL;
    com::ComPtr<IFontDisp> disp = copy.as<IFontDisp>();
    if (!disp)
        return E_FAIL;
    *font = disp.detach();
    return S_OK;
}

} // namespace ole

HRESULT OleSaveToStream(IPersistStream *pPStm, IStream *pStm)
{
    if (!pStm)
        return E_INVALIDARG;
    if (!pPStm)
        return ole::writeBytes(pStm, &GUID_NULL, sizeof(GUID));
    CLSID clsid;
    HRESULT hr = pPStm->GetClassID(&clsid);
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = ole::writeBytes(pStm, &clsid, sizeof clsid)))
        return hr;
    return pPStm->Save(pStm, TRUE);
}

HRESULT OleLoadFromStream(IStream *pStm, REFIID iidInterface, LPVOID *ppvObj)
{
    if (!ppvObj)
        return E_INVALIDARG;
    HRESULT hr = ole::readObject(pStm, iidInterface, ppvObj);
    // GUID_NULL, no object: the caller asked for one, so there is no class to load.
    if (SUCCEEDED(hr) && !*ppvObj)
        return REGDB_E_CLASSNOTREG;
    return hr;
}
