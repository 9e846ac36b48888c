#include "com/bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Layout: [uint32 byte count][UTF-16 characters][zero character]; the BSTR points at the characters.
BSTR allocBytes(const void *data, UINT bytes)
{
    if (bytes > std::numeric_limits<UINT>::max() - 8)
        return nullptr;
    auto *block = static_cast<unsigned char *>(std::malloc(sizeof(uint32_t) + bytes + 2));
    if (!block)
        return nullptr;
    uint32_t count = bytes;
    std::memcpy(block, &count, sizeof count);
    unsigned char *chars = block + sizeof(uint32_t);
    if (data)
        std::memcpy(chars, data, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[bytes] = 0;
    chars[bytes + 1] = 0;
    return reinterpret_cast<BSTR>(chars);
}

uint32_t byteCount(BSTR b)
{
    uint32_t n;
    std::memcpy(&n, reinterpret_cast<unsigned char *>(b) - sizeof(uint32_t), sizeof n);
    return n;
}

} // namespace

BSTR SysAllocString(const OLECHAR *psz)
{
    if (!psz)
        return nullptr;
    return SysAllocStringLen(psz, UINT(com::wideLength(psz)));
}

BSTR SysAllocStringLen(const OLECHAR *pch, UINT cch)
{
    if (cch > std::numeric_limits<UINT>::max() / 2 - 8)
        return nullptr;
    return allocBytes(pch, cch * 2);
}

BSTR SysAllocStringByteLen(const char *psz, UINT len)
{
    return allocBytes(psz, len);
}

BOOL SysReAllocString(BSTR *pbstr, const OLECHAR *psz)
{
    if (!pbstr)
        return FALSE;
    BSTR n = SysAllocString(psz);
    if (psz && !n)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = n;
    return TRUE;
}

BOOL SysReAllocStringLen(BSTR *pbstr, const OLECHAR *psz, UINT len)
{
    if (!pbstr)
        return FALSE;
    BSTR n = SysAllocStringLen(psz, len);
    if (!n)
        return FALSE;
    SysFreeString(*pbstr);
    *pbstr = n;
    return TRUE;
}

void SysFreeString(BSTR bstr)
{
    if (bstr)
        std::free(reinterpret_cast<unsigned char *>(bstr) - sizeof(uint32_t));
}

UINT SysStringLen(BSTR bstr)
{
    return bstr ? byteCount(bstr) / 2 : 0;
}

UINT SysStringByteLen(BSTR bstr)
{
    return bstr ? byteCount(bstr) : 0;
}

namespace com {

BSTR allocBstr(const QString &s)
{
    return SysAllocStringLen(reinterpret_cast<const OLECHAR *>(s.utf16()), UINT(s.size()));
}

QString toQString(BSTR b)
{
    if (!b)
        return QString();
    return QString::fromUtf16(b, qsizetype(SysStringLen(b)));
}

QString fromWide(const OLECHAR *s)
{
    if (!s)
        return QString();
    return QString::fromUtf16(s, qsizetype(wideLength(s)));
}

std::size_t wideLength(const OLECHAR *s)
{
    std::size_t n = 0;
    if (s)
        while (s[n])
            ++n;
    return n;
}

bool wideEqualsNoCase(const OLECHAR *a, const OLECHAR *b)
{
    return fromWide(a).compare(fromWide(b), Qt::CaseInsensitive) == 0;
}

} // namespace com
