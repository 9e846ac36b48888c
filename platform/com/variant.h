#pragma once
// VARIANT with COM's tag-and-union layout (24 bytes on x86-64) and the variant API.
// Supported types: VT_EMPTY, VT_NULL, VT_I1, VT_I2, VT_I4, VT_I8, VT_UI1, VT_UI2, VT_UI4, VT_UI8,
// VT_INT, VT_UINT, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR, VT_DISPATCH, VT_ERROR, VT_BOOL,
// VT_UNKNOWN, and VT_BYREF with any of them or with VT_VARIANT. Arrays, records and decimals do not
// exist here (DISP_E_BADVARTYPE).
#include "com/bstr.h"
#include "com/unknown.h"

#include <QDateTime>
#include <QVariant>

struct IDispatch;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_USERDEFINED = 29,
    VT_RECORD = 36,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct VARIANT
{
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        CY cyVal;
        DATE date;
        BSTR bstrVal;
        IUnknown *punkVal;
        IDispatch *pdispVal;
        BYTE *pbVal;
        SHORT *piVal;
        LONG *plVal;
        LONGLONG *pllVal;
        FLOAT *pfltVal;
        DOUBLE *pdblVal;
        VARIANT_BOOL *pboolVal;
        SCODE *pscode;
        CY *pcyVal;
        DATE *pdate;
        BSTR *pbstrVal;
        IUnknown **ppunkVal;
        IDispatch **ppdispVal;
        VARIANT *pvarVal;
        PVOID byref;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        INT intVal;
        UINT uintVal;
        CHAR *pcVal;
        USHORT *puiVal;
        ULONG *pulVal;
        ULONGLONG *pullVal;
        INT *pintVal;
        UINT *puintVal;
        struct
        {
            PVOID pvRecord;
            PVOID pRecInfo;
        } brecVal;
    };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT *;
static_assert(sizeof(VARIANT) == 24, "VARIANT must keep COM's 64-bit layout");

// Flags of VariantChangeType.
inline constexpr USHORT VARIANT_NOVALUEPROP = 0x01; // do not ask an object for its value property
inline constexpr USHORT VARIANT_ALPHABOOL = 0x02;   // BOOL <-> BSTR as "True"/"False" (else "-1"/"0")
inline constexpr USHORT VARIANT_NOUSEROVERRIDE = 0x04;
inline constexpr USHORT VARIANT_LOCALBOOL = 0x10; // with ALPHABOOL: "Wahr"/"Falsch"

// The first and the last day the conversions accept (1 January 100 to 31 December 9999); the
// times of those days are dates too. Which numbers are dates is common/datenumber.h's rule.
inline constexpr DATE DATE_MIN = -657434.0;
inline constexpr DATE DATE_MAX = 2958465.99999999;

TV_COM_EXPORT void VariantInit(VARIANTARG *pvarg);
// Frees the contents (BSTR freed, interfaces released; BYREF targets untouched) and sets VT_EMPTY.
TV_COM_EXPORT HRESULT VariantClear(VARIANTARG *pvarg);
// Deep copy: clears dest first; BSTRs duplicated, interfaces AddRef'd; BYREF copied as a reference.
TV_COM_EXPORT HRESULT VariantCopy(VARIANTARG *pvargDest, const VARIANTARG *pvargSrc);
// Like VariantCopy, but a BYREF source is copied as the value it points to.
TV_COM_EXPORT HRESULT VariantCopyInd(VARIANT *pvarDest, const VARIANTARG *pvargSrc);
// Converts src into dest as type vt (dest may equal src; on failure dest is left as it was). A BYREF
// source is read through its reference. Numbers outside the target's range give DISP_E_OVERFLOW,
// impossible conversions DISP_E_TYPEMISMATCH, unsupported types DISP_E_BADVARTYPE.
//
// The rules, by what is converted:
// - VT_EMPTY is 0, "", false, the date 30.12.1899, a null object and Null. VT_NULL converts to
//   VT_NULL and VT_EMPTY only (every other target is a mismatch); every source converts to VT_EMPTY.
// - VT_ERROR converts to VT_ERROR only, and nothing else converts to VT_ERROR.
// - An object converts to other types through its value property (DISPID_VALUE, followed up to
//   three objects deep); with VARIANT_NOVALUEPROP, or for a null object, that is a mismatch.
//   To VT_DISPATCH or VT_UNKNOWN only objects convert (the same object, AddRef'd; VT_UNKNOWN to
//   VT_DISPATCH asks for IDispatch).
// - As a number, VT_BOOL is -1 or 0, VT_DATE its date number, VT_CY its value (1.5, not 15000).
// - Text read as a number is trimmed and may carry a sign, an exponent or "&H" for hexadecimal.
//   '.' and ',' both mark the decimals; when both occur, the later one does and the other is
//   dropped as a thousands separator ("1.234,5" and "1,234.5" are 1234.5; "1,2,3" is no number).
//   The system's locale plays no part, nor does the lcid of VariantChangeTypeEx.
// - Text to VT_BOOL: "True"/"Wahr" and "False"/"Falsch" in any case, else a number (not 0: true).
// - Text to VT_DATE: "d.M.yyyy" or "d.M.yy" (yy below 30 is 20yy, else 19yy), or "yyyy-M-d", each
//   with an optional time " H:mm[:ss]"; a time alone ("H:mm[:ss]") is that time on day 0; else
//   a number read as a date number. A date outside DATE_MIN .. DATE_MAX overflows, whether it
//   is converted to VT_DATE or a VT_DATE is converted to text.
// - To integers, reals and currency are rounded half to even (2.5 gives 2, 3.5 gives 4);
//   currency keeps four decimals, rounded the same way; VT_R4 overflows beyond FLT_MAX.
// - To VT_BSTR: booleans "-1"/"0" ("True"/"False" with VARIANT_ALPHABOOL, "Wahr"/"Falsch" with
//   VARIANT_LOCALBOOL as well); VT_R4 at 7 and VT_R8 at 15 significant digits and currency with
//   up to four decimals, all with '.' as the decimal point ("2.5", "1e+20"); dates "dd.MM.yyyy",
//   with " HH:mm:ss" when there is a time, and "HH:mm:ss" alone for a time on day 0.
TV_COM_EXPORT HRESULT VariantChangeType(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, USHORT wFlags, VARTYPE vt);
TV_COM_EXPORT HRESULT VariantChangeTypeEx(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, LCID lcid, USHORT wFlags,
                                          VARTYPE vt);

namespace com {

// Owning VARIANT: cleared on destruction. Layout-compatible with VARIANT.
class Variant : public VARIANT
{
public:
    Variant() { VariantInit(this); }
    Variant(const VARIANT &v)
    {
        VariantInit(this);
        VariantCopy(this, &v);
    }
    Variant(const Variant &v) : Variant(static_cast<const VARIANT &>(v)) {}
    Variant(Variant &&v) noexcept
    {
        static_cast<VARIANT &>(*this) = v;
        VariantInit(&v);
    }
    ~Variant() { VariantClear(this); }
    Variant &operator=(const VARIANT &v)
    {
        if (&v != this) {
            VariantClear(this);
            VariantCopy(this, &v);
        }
        return *this;
    }
    Variant &operator=(const Variant &v) { return *this = static_cast<const VARIANT &>(v); }
    Variant &operator=(Variant &&v) noexcept
    {
        if (&v != this) {
            VariantClear(this);
            static_cast<VARIANT &>(*this) = v;
            VariantInit(&v);
        }
        return *this;
    }

    static Variant i2(SHORT v)
    {
        Variant r;
        r.vt = VT_I2;
        r.iVal = v;
        return r;
    }
    static Variant i4(LONG v)
    {
        Variant r;
        r.vt = VT_I4;
        r.lVal = v;
        return r;
    }
    static Variant r8(DOUBLE v)
    {
        Variant r;
        r.vt = VT_R8;
        r.dblVal = v;
        return r;
    }
    static Variant fromDate(DATE v)
    {
        Variant r;
        r.vt = VT_DATE;
        r.date = v;
        return r;
    }
    static Variant boolean(bool v)
    {
        Variant r;
        r.vt = VT_BOOL;
        r.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
        return r;
    }
    static Variant string(const QString &s)
    {
        Variant r;
        r.vt = VT_BSTR;
        r.bstrVal = allocBstr(s);
        return r;
    }
    static Variant null()
    {
        Variant r;
        r.vt = VT_NULL;
        return r;
    }
    static Variant error(SCODE sc)
    {
        Variant r;
        r.vt = VT_ERROR;
        r.scode = sc;
        return r;
    }
    // VT_ERROR / DISP_E_PARAMNOTFOUND: how an omitted optional argument is passed.
    static Variant missing() { return error(DISP_E_PARAMNOTFOUND); }
    static Variant dispatch(IDispatch *p); // AddRefs p
    static Variant unknown(IUnknown *p);   // AddRefs p

    void clear() { VariantClear(this); }
    // Gives the contents away (this becomes VT_EMPTY); the caller owns the returned value.
    VARIANT detach()
    {
        VARIANT r = *this;
        VariantInit(this);
        return r;
    }
    VARIANT *put()
    {
        VariantClear(this);
        return this;
    }
    // Converted copy; on failure the HRESULT is returned and out is left VT_EMPTY.
    HRESULT changeType(VARTYPE type, Variant &out, USHORT flags = 0) const;
};

// Conversions to and from Qt values. toQVariant gives an invalid QVariant for VT_EMPTY, a null
// QVariant of type std::nullptr_t for VT_NULL, QDateTime for VT_DATE, QString for VT_BSTR, and for
// objects a QVariant holding nothing (objects stay in the COM world).
QVariant toQVariant(const VARIANT &v);
Variant fromQVariant(const QVariant &v);
// Convenience: the value converted to the type, or def when the conversion fails.
LONG variantToInt(const VARIANT &v, LONG def = 0);
double variantToDouble(const VARIANT &v, double def = 0.0);
bool variantToBool(const VARIANT &v, bool def = false);
QString variantToString(const VARIANT &v, const QString &def = QString());

// DATE <-> QDateTime (local time, no time zone), millisecond precision, by common/datenumber.h:
// the date is the whole part towards zero, the time the absolute fraction (-1.25 is
// 29 December 1899, 06:00); no date of the range gives an invalid QDateTime.
QDateTime dateToDateTime(DATE d);
DATE dateTimeToDate(const QDateTime &dt);
bool isValidDate(DATE d);

} // namespace com
