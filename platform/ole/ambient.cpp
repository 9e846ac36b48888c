#include "ole/ambient.h"

namespace ole {

HRESULT ambientProperty(IControlSite *site, DISPID dispid, VARIANT *value)
{
    if (!value)
        return E_POINTER;
    VariantClear(value);
    if (!site)
        return DISP_E_MEMBERNOTFOUND;
    return site->GetAmbientProperty(dispid, value);
}

bool ambientUserMode(IControlSite *site, bool def)
{
    com::Variant v;
    if (FAILED(ambientProperty(site, DISPID_AMBIENT_USERMODE, &v)))
        return def;
    return com::variantToBool(v, def);
}

namespace {
OLE_COLOR colour(IControlSite *site, DISPID id, OLE_COLOR def)
{
    com::Variant v;
    if (FAILED(ambientProperty(site, id, &v)))
        return def;
    com::Variant i4;
    if (FAILED(VariantChangeType(&i4, &v, 0, VT_I4))) {
        if (FAILED(VariantChangeType(&i4, &v, 0, VT_UI4)))
            return def;
        return i4.ulVal;
    }
    return OLE_COLOR(i4.lVal);
}
} // namespace

OLE_COLOR ambientBackColor(IControlSite *site, OLE_COLOR def)
{
    return colour(site, DISPID_AMBIENT_BACKCOLOR, def);
}
OLE_COLOR ambientForeColor(IControlSite *site, OLE_COLOR def)
{
    return colour(site, DISPID_AMBIENT_FORECOLOR, def);
}

LCID ambientLocaleId(IControlSite *site, LCID def)
{
    com::Variant v;
    if (FAILED(ambientProperty(site, DISPID_AMBIENT_LOCALEID, &v)))
        return def;
    return LCID(com::variantToInt(v, LONG(def)));
}

com::ComPtr<IFontDisp> ambientFont(IControlSite *site)
{
    com::Variant v;
    if (FAILED(ambientProperty(site, DISPID_AMBIENT_FONT, &v)))
        return {};
    if ((v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) || !v.punkVal)
        return {};
    com::ComPtr<IFontDisp> f;
    v.punkVal->QueryInterface(IID_IFontDisp, f.putVoid());
    return f;
}

QString ambientDisplayName(IControlSite *site, const QString &def)
{
    com::Variant v;
    if (FAILED(ambientProperty(site, DISPID_AMBIENT_DISPLAYNAME, &v)))
        return def;
    return com::variantToString(v, def);
}

} // namespace ole
