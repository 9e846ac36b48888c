#include "ole/persist.h"
#include "com/activation.h"
#include "ole/font.h"

#include <cstring>

namespace ole {

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

HRESULT writeI2(IStream *s, SHORT v) { return writeBytes(s, &v, 2); }
HRESULT writeI4(IStream *s, LONG v) { return writeBytes(s, &v, 4); }
HRESULT writeU4(IStream *s, ULONG v) { return writeBytes(s, &v, 4); }
HRESULT writeR8(IStream *s, DOUBLE v) { return writeBytes(s, &v, 8); }
HRESULT readI2(IStream *s, SHORT *v) { return v ? readExact(s, v, 2) : E_POINTER; }
HRESULT readI4(IStream *s, LONG *v) { return v ? readExact(s, v, 4) : E_POINTER; }
HRESULT readU4(IStream *s, ULONG *v) { return v ? readExact(s, v, 4) : E_POINTER; }
HRESULT readR8(IStream *s, DOUBLE *v) { return v ? readExact(s, v, 8) : E_POINTER; }

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
    if (count > maxChars)
        return E_FAIL;
    QString r(qsizetype(count), Qt::Uninitialized);
    hr = readExact(s, r.data(), count * 2);
    if (FAILED(hr))
        return hr;
    *v = r;
    return S_OK;
}

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

HRESULT writeTypedValue(IStream *s, const VARIANT &in)
{
    com::Variant v;
    HRESULT hr = VariantCopyInd(&v, &in);
    if (FAILED(hr))
        return hr;
    VARTYPE vt = v.vt;
    switch (vt) {
    case VT_EMPTY: case VT_NULL:
        return writeBytes(s, &vt, 2);
    case VT_I1: case VT_UI1:
        if (FAILED(hr = writeBytes(s, &vt, 2))) return hr;
        return writeBytes(s, &v.bVal, 1);
    case VT_I2: case VT_UI2: case VT_BOOL:
        if (FAILED(hr = writeBytes(s, &vt, 2))) return hr;
        return writeBytes(s, &v.iVal, 2);
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR:
        if (FAILED(hr = writeBytes(s, &vt, 2))) return hr;
        return writeBytes(s, &v.lVal, 4);
    case VT_R8: case VT_CY: case VT_DATE: case VT_I8: case VT_UI8:
        if (FAILED(hr = writeBytes(s, &vt, 2))) return hr;
        return writeBytes(s, &v.llVal, 8);
    case VT_DISPATCH: case VT_UNKNOWN:
        if (FAILED(hr = writeBytes(s, &vt, 2))) return hr;
        return writeObject(s, v.punkVal);
    default: {
        com::Variant text;
        if (vt != VT_BSTR) {
            if (FAILED(hr = VariantChangeType(&text, &v, 0, VT_BSTR))) return hr;
        } else {
            text = v;
        }
        VARTYPE tag = VT_BSTR;
        if (FAILED(hr = writeBytes(s, &tag, 2))) return hr;
        if (!text.bstrVal) return writeU4(s, 0);
        ULONG chars = SysStringLen(text.bstrVal);
        if (FAILED(hr = writeU4(s, (chars + 1) * 2))) return hr;
        return writeBytes(s, text.bstrVal, (chars + 1) * 2);   // the terminator follows the characters
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
    case VT_EMPTY: case VT_NULL:
        break;
    case VT_I1: case VT_UI1:
        hr = readExact(s, &v.bVal, 1);
        break;
    case VT_I2: case VT_UI2: case VT_BOOL:
        hr = readExact(s, &v.iVal, 2);
        break;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR:
        hr = readExact(s, &v.lVal, 4);
        break;
    case VT_R8: case VT_CY: case VT_DATE: case VT_I8: case VT_UI8:
        hr = readExact(s, &v.llVal, 8);
        break;
    case VT_DISPATCH: case VT_UNKNOWN:
        hr = readObject(s, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, reinterpret_cast<void **>(&v.punkVal),
                        allowed);
        break;
    case VT_BSTR: {
        ULONG bytes = 0;
        if (FAILED(hr = readU4(s, &bytes))) return hr;
        if (bytes == 0) { v.bstrVal = nullptr; break; }
        if (bytes % 2 || bytes < 2 || bytes / 2 - 1 > maxChars) return E_FAIL;
        ULONG chars = bytes / 2 - 1;
        com::Bstr b = com::Bstr::adopt(SysAllocStringLen(nullptr, chars));
        if (!b.get()) return E_OUTOFMEMORY;
        if (FAILED(hr = readExact(s, b.get(), chars * 2))) return hr;
        OLECHAR term = 1;
        if (FAILED(hr = readExact(s, &term, 2))) return hr;
        if (term != 0) return E_FAIL;
        v.bstrVal = b.detach();
        break;
    }
    default:
        return E_FAIL;
    }
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
    VARIANT copy = value;   // Write does not take ownership
    return bag->Write(n.c_str(), &copy);
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
    if (SUCCEEDED(hr) && !*ppvObj)
        return REGDB_E_CLASSNOTREG;
    return hr;
}
