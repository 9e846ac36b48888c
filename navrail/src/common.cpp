#include "common.h"

namespace navrail {

HRESULT handOutString(const QString &s, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = com::allocBstr(s);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT keepVariant(com::Variant &store, const VARIANT &value)
{
    com::Variant copy;
    HRESULT hr = VariantCopyInd(&copy, &value);
    if (FAILED(hr))
        return hr;
    store = std::move(copy);
    return S_OK;
}

HRESULT handOutVariant(const VARIANT &stored, VARIANT *out)
{
    if (!out)
        return E_POINTER;
    VariantInit(out);
    return VariantCopy(out, &stored);
}

HRESULT readIndex(const VARIANT &v, IndexArg *out)
{
    const VARIANT *p = &v;
    while (p->vt == (VT_BYREF | VT_VARIANT)) {
        if (!p->pvarVal)
            return DISP_E_TYPEMISMATCH;
        p = p->pvarVal;
    }
    const VARTYPE base = VARTYPE(p->vt & ~VT_BYREF);
    const bool byRef = (p->vt & VT_BYREF) != 0;
    if (byRef && !p->byref)
        return DISP_E_TYPEMISMATCH;
    *out = IndexArg{};
    switch (base) {
    case VT_I2: out->position = byRef ? *p->piVal : p->iVal; return S_OK;
    case VT_I4: out->position = byRef ? *p->plVal : p->lVal; return S_OK;
    case VT_BSTR:
        out->isKey = true;
        out->key = com::toQString(byRef ? *p->pbstrVal : p->bstrVal);
        return S_OK;
    default: {
        com::Variant converted;
        if (FAILED(VariantChangeType(&converted, p, 0, VT_I4)) || converted.vt != VT_I4)
            return DISP_E_TYPEMISMATCH;
        out->position = converted.lVal;
        return S_OK;
    }
    }
}

LONG imageListHandleOf(IDispatch *imageList)
{
    if (!imageList)
        return 0;
    com::Variant result;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT hr =
        imageList->Invoke(5, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    if (FAILED(hr))
        return 0;
    if (result.vt == VT_UI4 || result.vt == VT_UINT)
        return LONG(result.ulVal);
    com::Variant asLong;
    if (FAILED(VariantChangeType(&asLong, &result, 0, VT_I4)))
        return 0;
    return asLong.lVal;
}

} // namespace navrail
