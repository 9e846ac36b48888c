#include "com/activation.h"
#include "com/bstr.h"

#include <cstdlib>
#include <cstring>

namespace com {

QString guidToString(const GUID &g)
{
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                             g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                             g.Data4[7]);
}

bool guidFromString(const QString &text, GUID *out)
{
    QString s = text.trimmed();
    if (s.size() == 38 && s.front() == u'{' && s.back() == u'}')
        s = s.mid(1, 36);
    if (s.size() != 36 || s[8] != u'-' || s[13] != u'-' || s[18] != u'-' || s[23] != u'-')
        return false;
    auto hex = [&](int pos, int n, bool *ok) -> uint32_t {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            char16_t c = s[pos + i].unicode();
            int d = (c >= u'0' && c <= u'9')   ? c - u'0'
                    : (c >= u'a' && c <= u'f') ? c - u'a' + 10
                    : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                               : -1;
            if (d < 0) {
                *ok = false;
                return 0;
            }
            v = v * 16 + uint32_t(d);
        }
        return v;
    };
    bool ok = true;
    GUID g{};
    g.Data1 = hex(0, 8, &ok);
    g.Data2 = uint16_t(hex(9, 4, &ok));
    g.Data3 = uint16_t(hex(14, 4, &ok));
    g.Data4[0] = uint8_t(hex(19, 2, &ok));
    g.Data4[1] = uint8_t(hex(21, 2, &ok));
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = uint8_t(hex(24 + 2 * i, 2, &ok));
    if (!ok)
        return false;
    if (out)
        *out = g;
    return true;
}

} // namespace com

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax)
{
    if (!lpsz || cchMax < 39)
        return 0;
    QString s = com::guidToString(rguid);
    std::memcpy(lpsz, s.utf16(), 38 * sizeof(OLECHAR));
    lpsz[38] = 0;
    return 39;
}

static HRESULT allocGuidString(REFGUID g, LPOLESTR *out)
{
    if (!out)
        return E_INVALIDARG;
    *out = static_cast<LPOLESTR>(CoTaskMemAlloc(39 * sizeof(OLECHAR)));
    if (!*out)
        return E_OUTOFMEMORY;
    StringFromGUID2(g, *out, 39);
    return S_OK;
}

HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR *lplpsz)
{
    return allocGuidString(rclsid, lplpsz);
}
HRESULT StringFromIID(REFIID riid, LPOLESTR *lplpsz)
{
    return allocGuidString(riid, lplpsz);
}

HRESULT IIDFromString(LPCOLESTR lpsz, IID *lpiid)
{
    if (!lpsz || !lpiid)
        return E_INVALIDARG;
    QString s = com::fromWide(lpsz);
    if (!s.startsWith(u'{') || !com::guidFromString(s, lpiid)) {
        *lpiid = GUID_NULL;
        return CO_E_CLASSSTRING;
    }
    return S_OK;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid)
{
    if (!lpsz || !pclsid)
        return E_INVALIDARG;
    QString s = com::fromWide(lpsz);
    if (s.startsWith(u'{')) {
        if (com::guidFromString(s, pclsid))
            return S_OK;
        *pclsid = GUID_NULL;
        return CO_E_CLASSSTRING;
    }
    HRESULT hr = CLSIDFromProgID(lpsz, pclsid);
    if (FAILED(hr)) {
        *pclsid = GUID_NULL;
        return CO_E_CLASSSTRING;
    }
    return hr;
}

LPVOID CoTaskMemAlloc(std::size_t cb)
{
    return std::malloc(cb ? cb : 1);
}

LPVOID CoTaskMemRealloc(LPVOID pv, std::size_t cb)
{
    return std::realloc(pv, cb ? cb : 1);
}

void CoTaskMemFree(LPVOID pv)
{
    std::free(pv);
}
