#pragma once
// Basic types of the component runtime: integer types with COM's widths, HRESULT and its codes,
// GUID with its text form. Layouts follow COM's binary rules (x86-64, one calling convention).
#include <cstddef>
#include <cstdint>
#include <functional>

#define STDMETHODCALLTYPE
#define STDAPICALLTYPE
// Marks a function exported with C linkage from a component library or from the runtime.
#define TV_COM_EXPORT extern "C" __attribute__((visibility("default")))

using HRESULT = int32_t;
using SCODE = int32_t;
using ULONG = uint32_t;
using LONG = int32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using UINT = uint32_t;
using INT = int32_t;
using BOOL = int32_t;
using CHAR = char;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using FLOAT = float;
using DOUBLE = double;
using DATE = double;          // days since 30 December 1899, fraction = time of day
using VARIANT_BOOL = int16_t; // VARIANT_TRUE (-1) / VARIANT_FALSE (0)
using VARTYPE = uint16_t;
using LCID = uint32_t;
using DISPID = int32_t;
using MEMBERID = DISPID;
using OLECHAR = char16_t; // wide strings are UTF-16
using WCHAR = char16_t;
using LPOLESTR = OLECHAR *;
using LPCOLESTR = const OLECHAR *;
using LPWSTR = WCHAR *;
using LPCWSTR = const WCHAR *;
using BSTR = OLECHAR *; // see com/bstr.h
using LPVOID = void *;
using PVOID = void *;
using ULONG_PTR = uintptr_t;

// Colours and handles passed through interfaces as 32-bit values (see ole/handles.h).
using OLE_COLOR = uint32_t;
using COLORREF = uint32_t; // 0x00BBGGRR
using OLE_HANDLE = uint32_t;
using HWND = OLE_HANDLE; // a window handle from the handle table (ole/handles.h)
using HFONT = OLE_HANDLE;
using HPALETTE = OLE_HANDLE;
using HDC = void *; // a QPainter* where a drawing surface is passed
using OLE_XPOS_PIXELS = LONG;
using OLE_YPOS_PIXELS = LONG;
using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;
using OLE_XPOS_HIMETRIC = LONG;
using OLE_YPOS_HIMETRIC = LONG;

struct CY
{
    LONGLONG int64;
}; // currency: value * 10000
struct LARGE_INTEGER
{
    LONGLONG QuadPart;
};
struct ULARGE_INTEGER
{
    ULONGLONG QuadPart;
};
struct FILETIME
{
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct RECTL
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
struct POINT
{
    LONG x;
    LONG y;
};
struct SIZE
{
    LONG cx;
    LONG cy;
};
using SIZEL = SIZE;
using LPRECT = RECT *;
using LPCRECT = const RECT *;
using LPCRECTL = const RECTL *;
struct MSG; // opaque: keyboard messages are not passed through interfaces here

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_GERMAN = 0x0407;

// ---- HRESULT ----------------------------------------------------------------------------------
constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
constexpr HRESULT MAKE_HRESULT(unsigned sev, unsigned fac, unsigned code)
{
    return HRESULT((uint32_t(sev) << 31) | (uint32_t(fac) << 16) | uint32_t(code));
}
constexpr HRESULT HRESULT_FROM_WIN32(LONG err)
{
    return err <= 0 ? HRESULT(err) : HRESULT((uint32_t(err) & 0xFFFF) | 0x80070000u);
}
#define TV_HR(x) HRESULT(uint32_t(x))

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT NOERROR = 0;
inline constexpr HRESULT E_NOTIMPL = TV_HR(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = TV_HR(0x80004002);
inline constexpr HRESULT E_POINTER = TV_HR(0x80004003);
inline constexpr HRESULT E_ABORT = TV_HR(0x80004004);
inline constexpr HRESULT E_FAIL = TV_HR(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = TV_HR(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = TV_HR(0x80070005);
inline constexpr HRESULT E_HANDLE = TV_HR(0x80070006);
inline constexpr HRESULT E_OUTOFMEMORY = TV_HR(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = TV_HR(0x80070057);

inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = TV_HR(0x80040003);
inline constexpr HRESULT OLE_E_NOCONNECTION = TV_HR(0x80040004);
inline constexpr HRESULT OLE_E_NOTRUNNING = TV_HR(0x80040005);
inline constexpr HRESULT OLE_E_BLANK = TV_HR(0x80040007);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = TV_HR(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = TV_HR(0x80040111);
inline constexpr HRESULT CLASS_E_NOTLICENSED = TV_HR(0x80040112);
inline constexpr HRESULT REGDB_E_READREGDB = TV_HR(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = TV_HR(0x80040151);
inline constexpr HRESULT REGDB_E_KEYMISSING = TV_HR(0x80040152);
inline constexpr HRESULT REGDB_E_INVALIDVALUE = TV_HR(0x80040153);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = TV_HR(0x80040154);
inline constexpr HRESULT REGDB_E_IIDNOTREG = TV_HR(0x80040155);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = TV_HR(0x80040200);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = TV_HR(0x80040201);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = TV_HR(0x80040202);
inline constexpr HRESULT CONNECT_E_OVERRIDDEN = TV_HR(0x80040203);
inline constexpr HRESULT SELFREG_E_TYPELIB = TV_HR(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = TV_HR(0x80040201);
inline constexpr HRESULT CO_E_NOTINITIALIZED = TV_HR(0x800401F0);
inline constexpr HRESULT CO_E_CLASSSTRING = TV_HR(0x800401F3);
inline constexpr HRESULT CO_E_APPNOTFOUND = TV_HR(0x800401F5);
inline constexpr HRESULT CO_E_DLLNOTFOUND = TV_HR(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = TV_HR(0x800401F9);
inline constexpr HRESULT CO_E_BAD_PATH = TV_HR(0x80080004);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = TV_HR(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = TV_HR(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = TV_HR(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = TV_HR(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = TV_HR(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = TV_HR(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = TV_HR(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = TV_HR(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = TV_HR(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = TV_HR(0x8002000B);
inline constexpr HRESULT DISP_E_UNKNOWNLCID = TV_HR(0x8002000C);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = TV_HR(0x8002000D);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = TV_HR(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = TV_HR(0x8002000F);
inline constexpr HRESULT DISP_E_BADCALLEE = TV_HR(0x80020010);
inline constexpr HRESULT DISP_E_NOTACOLLECTION = TV_HR(0x80020011);
inline constexpr HRESULT DISP_E_DIVBYZERO = TV_HR(0x80020012);
inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = TV_HR(0x8002801D);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = TV_HR(0x8002802B);

inline constexpr HRESULT STG_E_INVALIDFUNCTION = TV_HR(0x80030001);
inline constexpr HRESULT STG_E_FILENOTFOUND = TV_HR(0x80030002);
inline constexpr HRESULT STG_E_ACCESSDENIED = TV_HR(0x80030005);
inline constexpr HRESULT STG_E_INSUFFICIENTMEMORY = TV_HR(0x80030008);
inline constexpr HRESULT STG_E_INVALIDPOINTER = TV_HR(0x80030009);
inline constexpr HRESULT STG_E_WRITEFAULT = TV_HR(0x8003001D);
inline constexpr HRESULT STG_E_READFAULT = TV_HR(0x8003001E);
inline constexpr HRESULT STG_E_FILEALREADYEXISTS = TV_HR(0x80030050);
inline constexpr HRESULT STG_E_INVALIDPARAMETER = TV_HR(0x80030057);
inline constexpr HRESULT STG_E_MEDIUMFULL = TV_HR(0x80030070);
inline constexpr HRESULT STG_E_INVALIDHEADER = TV_HR(0x800300FB);
inline constexpr HRESULT STG_E_INVALIDNAME = TV_HR(0x800300FC);
inline constexpr HRESULT STG_E_UNKNOWN = TV_HR(0x800300FD);
inline constexpr HRESULT STG_E_REVERTED = TV_HR(0x80030102);
inline constexpr HRESULT STG_E_DOCFILECORRUPT = TV_HR(0x80030109);

// Errors of the control framework (a property that cannot be read or set, a bad value).
inline constexpr HRESULT CTL_E_INVALIDPROPERTYVALUE = TV_HR(0x800A017C);
inline constexpr HRESULT CTL_E_SETNOTSUPPORTEDATRUNTIME = TV_HR(0x800A0181);
inline constexpr HRESULT CTL_E_SETNOTSUPPORTED = TV_HR(0x800A017F);
inline constexpr HRESULT CTL_E_GETNOTSUPPORTED = TV_HR(0x800A018A);

// ---- GUID -------------------------------------------------------------------------------------
struct GUID
{
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using CATID = GUID;
using REFGUID = const GUID &;
using REFIID = const IID &;
using REFCLSID = const CLSID &;
using LPCLSID = CLSID *;
using LPGUID = GUID *;

constexpr bool operator==(const GUID &a, const GUID &b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
constexpr bool operator!=(const GUID &a, const GUID &b)
{
    return !(a == b);
}
constexpr bool operator<(const GUID &a, const GUID &b)
{
    if (a.Data1 != b.Data1)
        return a.Data1 < b.Data1;
    if (a.Data2 != b.Data2)
        return a.Data2 < b.Data2;
    if (a.Data3 != b.Data3)
        return a.Data3 < b.Data3;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return a.Data4[i] < b.Data4[i];
    return false;
}
inline bool IsEqualGUID(REFGUID a, REFGUID b)
{
    return a == b;
}
inline bool IsEqualIID(REFIID a, REFIID b)
{
    return a == b;
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b)
{
    return a == b;
}

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;

namespace com {

namespace detail {
constexpr int hexDigit(char c)
{
    return (c >= '0' && c <= '9')   ? c - '0'
           : (c >= 'a' && c <= 'f') ? c - 'a' + 10
           : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                    : throw "bad hex digit in GUID literal";
}
constexpr uint32_t hexValue(const char *s, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 16 + uint32_t(hexDigit(s[i]));
    return v;
}
} // namespace detail

// Compile-time GUID from "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (braces optional).
template <std::size_t N>
constexpr GUID makeGuid(const char (&text)[N])
{
    const char *s = text;
    std::size_t len = N - 1;
    if (len == 38 && s[0] == '{' && s[37] == '}') {
        ++s;
        len -= 2;
    }
    if (len != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-')
        throw "GUID literal must look like XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
    GUID g{};
    g.Data1 = detail::hexValue(s, 8);
    g.Data2 = uint16_t(detail::hexValue(s + 9, 4));
    g.Data3 = uint16_t(detail::hexValue(s + 14, 4));
    g.Data4[0] = uint8_t(detail::hexValue(s + 19, 2));
    g.Data4[1] = uint8_t(detail::hexValue(s + 21, 2));
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = uint8_t(detail::hexValue(s + 24 + 2 * i, 2));
    return g;
}

} // namespace com

template <>
struct std::hash<GUID>
{
    std::size_t operator()(const GUID &g) const noexcept
    {
        uint64_t a = (uint64_t(g.Data1) << 32) | (uint64_t(g.Data2) << 16) | g.Data3;
        uint64_t b = 0;
        for (int i = 0; i < 8; ++i)
            b = (b << 8) | g.Data4[i];
        return std::hash<uint64_t>()(a ^ (b * 0x9E3779B97F4A7C15ull));
    }
};
