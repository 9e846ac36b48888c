#include "com/variant.h"
#include "com/dispatch.h"
#include "common/datenumber.h"
#include "common/datetext.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool isKnownBase(VARTYPE t)
{
    switch (t) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN: return true;
    default: return false;
    }
}

bool isValidVt(VARTYPE vt)
{
    if (vt & VT_BYREF) {
        VARTYPE base = vt & ~VT_BYREF;
        return base == VT_VARIANT || (isKnownBase(base) && base != VT_EMPTY && base != VT_NULL);
    }
    return isKnownBase(vt);
}

// A shallow view of src with one level of BYREF (or a BYREF variant) resolved. Nothing is owned.
// A BYREF variant may point at a plain value or a BYREF one, but not at another BYREF variant:
// that would let a chain (or a cycle) of references through.
HRESULT derefView(const VARIANT &src, VARIANT &view, int depth = 0)
{
    if (!(src.vt & VT_BYREF)) {
        view = src;
        return S_OK;
    }
    if (!isValidVt(src.vt))
        return DISP_E_BADVARTYPE;
    if (!src.byref)
        return E_INVALIDARG;
    VARTYPE base = src.vt & ~VT_BYREF;
    std::memset(&view, 0, sizeof view);
    view.vt = base;
    switch (base) {
    case VT_VARIANT:
        if (depth > 0)
            return E_INVALIDARG;
        return derefView(*src.pvarVal, view, depth + 1);
    case VT_I1:
    case VT_UI1: std::memcpy(&view.bVal, src.byref, 1); break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: std::memcpy(&view.iVal, src.byref, 2); break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR: std::memcpy(&view.lVal, src.byref, 4); break;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE: std::memcpy(&view.llVal, src.byref, 8); break;
    case VT_BSTR: view.bstrVal = *src.pbstrVal; break;
    case VT_DISPATCH:
    case VT_UNKNOWN: view.punkVal = *src.ppunkVal; break;
    default: return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

// ---- the numeric intermediate ----------------------------------------------------------------
// Every numeric conversion goes through one of three kinds, so that 64-bit integers keep all
// their digits (a double has 53 bits) and only reals are rounded on the way to an integer.
struct Num
{
    enum Kind { Int, UInt, Real } kind = Int;
    int64_t i = 0;
    uint64_t u = 0;
    double r = 0;
};

Num numFromInt(int64_t v)
{
    Num n;
    n.kind = Num::Int;
    n.i = v;
    return n;
}
Num numFromUInt(uint64_t v)
{
    Num n;
    n.kind = Num::UInt;
    n.u = v;
    return n;
}
Num numFromReal(double v)
{
    Num n;
    n.kind = Num::Real;
    n.r = v;
    return n;
}

double numAsDouble(const Num &n)
{
    switch (n.kind) {
    case Num::Int: return double(n.i);
    case Num::UInt: return double(n.u);
    default: return n.r;
    }
}

// Rounds half to even, as the platform's conversions do.
double bankersRound(double v)
{
    return std::nearbyint(v); // default rounding mode: to nearest, ties to even
}

// Integer value within [lo, hi], or DISP_E_OVERFLOW.
HRESULT numToInt(const Num &n, int64_t lo, int64_t hi, int64_t *out)
{
    switch (n.kind) {
    case Num::Int:
        if (n.i < lo || n.i > hi)
            return DISP_E_OVERFLOW;
        *out = n.i;
        return S_OK;
    case Num::UInt:
        if (n.u > uint64_t(hi))
            return DISP_E_OVERFLOW;
        *out = int64_t(n.u);
        return S_OK;
    default: {
        if (std::isnan(n.r))
            return DISP_E_OVERFLOW;
        double r = bankersRound(n.r);
        if (r < double(lo) || r > double(hi) || r >= 9223372036854775808.0)
            return DISP_E_OVERFLOW;
        *out = int64_t(r);
        return S_OK;
    }
    }
}

HRESULT numToUInt(const Num &n, uint64_t hi, uint64_t *out)
{
    switch (n.kind) {
    case Num::Int:
        if (n.i < 0 || uint64_t(n.i) > hi)
            return DISP_E_OVERFLOW;
        *out = uint64_t(n.i);
        return S_OK;
    case Num::UInt:
        if (n.u > hi)
            return DISP_E_OVERFLOW;
        *out = n.u;
        return S_OK;
    default: {
        if (std::isnan(n.r))
            return DISP_E_OVERFLOW;
        double r = bankersRound(n.r);
        if (r < 0 || r > double(hi) || r >= 18446744073709551616.0)
            return DISP_E_OVERFLOW;
        *out = uint64_t(r);
        return S_OK;
    }
    }
}

// ---- dates ------------------------------------------------------------------------------------

QString dateToText(DATE d)
{
    return datetext::dateTime(com::dateToDateTime(d), datetext::DayZero::TimeAlone);
}

bool textToDate(const QString &text, DATE *out)
{
    static const QRegularExpression german(
        QStringLiteral(R"(^(\d{1,2})\.(\d{1,2})\.(\d{4}|\d{2})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[T ](\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    static const QRegularExpression timeOnly(QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?$)"));
    QString s = text.trimmed();
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
    bool hasDate = true;
    if (auto g = german.match(s); g.hasMatch()) {
        d = g.captured(1).toInt();
        m = g.captured(2).toInt();
        y = g.captured(3).toInt();
        if (g.captured(3).size() == 2)
            y = datetext::fullYear(y);
        if (g.lastCapturedIndex() >= 5 && !g.captured(4).isEmpty()) {
            hh = g.captured(4).toInt();
            mm = g.captured(5).toInt();
            ss = g.captured(6).isEmpty() ? 0 : g.captured(6).toInt();
        }
    } else if (auto i = iso.match(s); i.hasMatch()) {
        y = i.captured(1).toInt();
        m = i.captured(2).toInt();
        d = i.captured(3).toInt();
        if (!i.captured(4).isEmpty()) {
            hh = i.captured(4).toInt();
            mm = i.captured(5).toInt();
            ss = i.captured(6).isEmpty() ? 0 : i.captured(6).toInt();
        }
    } else if (auto t = timeOnly.match(s); t.hasMatch()) {
        hasDate = false;
        hh = t.captured(1).toInt();
        mm = t.captured(2).toInt();
        ss = t.captured(3).isEmpty() ? 0 : t.captured(3).toInt();
    } else {
        return false;
    }
    QTime time(hh, mm, ss);
    if (!time.isValid())
        return false;
    if (!hasDate) {
        *out = time.msecsSinceStartOfDay() / 86400000.0;
        return true;
    }
    QDate date(y, m, d);
    if (!date.isValid())
        return false;
    DATE v = com::dateTimeToDate(QDateTime(date, time));
    if (!com::isValidDate(v))
        return false;
    *out = v;
    return true;
}

// ---- text -------------------------------------------------------------------------------------
QString realToText(double v, int digits)
{
    if (v == 0)
        return QStringLiteral("0");
    return QString::number(v, 'g', digits);
}

// Currency is a 64-bit count of ten-thousandths; its text shows up to four decimals, trailing
// zeros dropped ("1.5", "-0.0001").
QString cyToText(CY c)
{
    int64_t v = c.int64;
    bool neg = v < 0;
    // The magnitude without overflow, the most negative value included.
    uint64_t a = neg ? uint64_t(-(v + 1)) + 1 : uint64_t(v);
    QString s = QString::number(a / 10000);
    uint64_t frac = a % 10000;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return neg ? u'-' + s : s;
}

// Parses a number: optional sign, digits with '.' or ',' as decimal separator (when both occur,
// the later one is the decimal separator and the other is dropped as thousands separator),
// an exponent, or "&H" hexadecimal.
bool textToNum(const QString &text, Num *out)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return false;
    if (s.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        bool ok = false;
        qulonglong v = s.mid(2).toULongLong(&ok, 16);
        if (!ok)
            return false;
        *out = v <= 0x7FFFFFFFFFFFFFFFull ? numFromInt(int64_t(v)) : numFromUInt(v);
        return true;
    }
    int dot = int(s.lastIndexOf(u'.'));
    int comma = int(s.lastIndexOf(u','));
    if (dot >= 0 && comma >= 0) {
        if (comma > dot) {
            s.remove(u'.');
            s.replace(u',', u'.');
        } else
            s.remove(u',');
    } else if (comma >= 0) {
        if (s.count(u',') > 1)
            return false;
        s.replace(u',', u'.');
    }
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    if (!number.match(s).hasMatch())
        return false;
    bool ok = false;
    if (!s.contains(u'.') && !s.contains(u'e') && !s.contains(u'E')) {
        qlonglong v = s.toLongLong(&ok);
        if (ok) {
            *out = numFromInt(v);
            return true;
        }
        qulonglong u = s.toULongLong(&ok);
        if (ok) {
            *out = numFromUInt(u);
            return true;
        }
    }
    double d = s.toDouble(&ok);
    if (!ok || std::isinf(d))
        return false;
    *out = numFromReal(d);
    return true;
}

// ---- conversion ------------------------------------------------------------------------------
HRESULT sourceToNum(const VARIANT &v, Num *out, bool *isCy = nullptr)
{
    if (isCy)
        *isCy = false;
    switch (v.vt) {
    case VT_EMPTY: *out = numFromInt(0); return S_OK;
    case VT_I1: *out = numFromInt(v.cVal); return S_OK;
    case VT_UI1: *out = numFromInt(v.bVal); return S_OK;
    case VT_I2: *out = numFromInt(v.iVal); return S_OK;
    case VT_UI2: *out = numFromInt(v.uiVal); return S_OK;
    case VT_I4:
    case VT_INT: *out = numFromInt(v.lVal); return S_OK;
    case VT_UI4:
    case VT_UINT: *out = numFromInt(v.ulVal); return S_OK;
    case VT_I8: *out = numFromInt(v.llVal); return S_OK;
    case VT_UI8: *out = numFromUInt(v.ullVal); return S_OK;
    case VT_R4: *out = numFromReal(v.fltVal); return S_OK;
    case VT_R8: *out = numFromReal(v.dblVal); return S_OK;
    case VT_DATE: *out = numFromReal(v.date); return S_OK;
    case VT_CY:
        if (isCy)
            *isCy = true;
        *out = numFromReal(double(v.cyVal.int64) / 10000.0);
        return S_OK;
    case VT_BOOL: *out = numFromInt(v.boolVal ? -1 : 0); return S_OK;
    case VT_BSTR: return textToNum(com::toQString(v.bstrVal), out) ? S_OK : DISP_E_TYPEMISMATCH;
    default: return DISP_E_TYPEMISMATCH;
    }
}

// The scalar part of VariantChangeType, after references, Null and objects are dealt with; the
// rules are written at VariantChangeType in variant.h. Every type has a text except an error, so
// text is handled first; then errors, which convert to nothing else; booleans and dates, which
// read text their own way before falling back to numbers; and last the numbers, through Num.
// To VT_BSTR: the text of any scalar (an error code has none).
HRESULT changeToText(VARIANT &dest, const VARIANT &src, USHORT flags)
{
    QString s;
    switch (src.vt) {
    case VT_EMPTY: break;
    case VT_BSTR: s = com::toQString(src.bstrVal); break;
    case VT_BOOL:
        if (flags & VARIANT_ALPHABOOL)
            s = (flags & VARIANT_LOCALBOOL) ? (src.boolVal ? QStringLiteral("Wahr") : QStringLiteral("Falsch"))
                                            : (src.boolVal ? QStringLiteral("True") : QStringLiteral("False"));
        else
            s = src.boolVal ? QStringLiteral("-1") : QStringLiteral("0");
        break;
    case VT_R4: s = realToText(src.fltVal, 7); break;
    case VT_R8: s = realToText(src.dblVal, 15); break;
    case VT_CY: s = cyToText(src.cyVal); break;
    case VT_DATE:
        if (!com::isValidDate(src.date))
            return DISP_E_OVERFLOW;
        s = dateToText(src.date);
        break;
    case VT_ERROR: return DISP_E_TYPEMISMATCH;
    default: {
        Num n;
        HRESULT hr = sourceToNum(src, &n);
        if (FAILED(hr))
            return hr;
        s = n.kind == Num::UInt ? QString::number(n.u) : QString::number(n.i);
    }
    }
    BSTR b = com::allocBstr(s);
    if (!b)
        return E_OUTOFMEMORY;
    dest.vt = VT_BSTR;
    dest.bstrVal = b;
    return S_OK;
}

// To VT_BOOL: "True"/"Wahr", "False"/"Falsch" or any figure (not 0: true).
HRESULT changeToBool(VARIANT &dest, const VARIANT &src)
{
    bool value = false;
    if (src.vt == VT_BSTR) {
        QString s = com::toQString(src.bstrVal).trimmed();
        if (s.compare(u"True", Qt::CaseInsensitive) == 0 || s.compare(u"Wahr", Qt::CaseInsensitive) == 0)
            value = true;
        else if (s.compare(u"False", Qt::CaseInsensitive) == 0 || s.compare(u"Falsch", Qt::CaseInsensitive) == 0)
            value = false;
        else {
            Num n;
            if (!textToNum(s, &n))
                return DISP_E_TYPEMISMATCH;
            value = numAsDouble(n) != 0;
        }
    } else {
        Num n;
        HRESULT hr = sourceToNum(src, &n);
        if (FAILED(hr))
            return hr;
        value = n.kind == Num::Real ? n.r != 0 : (n.kind == Num::Int ? n.i != 0 : n.u != 0);
    }
    dest.vt = VT_BOOL;
    dest.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// To VT_DATE: a German or ISO date text, else a date number; outside the date range overflows.
HRESULT changeToDate(VARIANT &dest, const VARIANT &src)
{
    double d = 0;
    if (src.vt == VT_BSTR) {
        if (!textToDate(com::toQString(src.bstrVal), &d)) {
            Num n;
            if (!textToNum(com::toQString(src.bstrVal), &n))
                return DISP_E_TYPEMISMATCH;
            d = numAsDouble(n);
        }
    } else {
        Num n;
        HRESULT hr = sourceToNum(src, &n);
        if (FAILED(hr))
            return hr;
        d = numAsDouble(n);
    }
    if (!com::isValidDate(d))
        return DISP_E_OVERFLOW;
    dest.vt = VT_DATE;
    dest.date = d;
    return S_OK;
}

// To the integer, real and currency types: through the figure of the source, range-checked.
HRESULT changeToNumber(VARIANT &dest, const VARIANT &src, VARTYPE vt)
{
    bool srcIsCy = false;
    Num n;
    HRESULT hr = sourceToNum(src, &n, &srcIsCy);
    if (FAILED(hr))
        return hr;
    int64_t iv = 0;
    uint64_t uv = 0;
    switch (vt) {
    case VT_I1:
        if (FAILED(hr = numToInt(n, -128, 127, &iv)))
            return hr;
        dest.cVal = CHAR(iv);
        break;
    case VT_UI1:
        if (FAILED(hr = numToInt(n, 0, 255, &iv)))
            return hr;
        dest.bVal = BYTE(iv);
        break;
    case VT_I2:
        if (FAILED(hr = numToInt(n, -32768, 32767, &iv)))
            return hr;
        dest.iVal = SHORT(iv);
        break;
    case VT_UI2:
        if (FAILED(hr = numToInt(n, 0, 65535, &iv)))
            return hr;
        dest.uiVal = USHORT(iv);
        break;
    case VT_I4:
    case VT_INT:
        if (FAILED(hr = numToInt(n, INT32_MIN, INT32_MAX, &iv)))
            return hr;
        dest.lVal = LONG(iv);
        break;
    case VT_UI4:
    case VT_UINT:
        if (FAILED(hr = numToUInt(n, UINT32_MAX, &uv)))
            return hr;
        dest.ulVal = ULONG(uv);
        break;
    case VT_I8:
        if (FAILED(hr = numToInt(n, INT64_MIN, INT64_MAX, &iv)))
            return hr;
        dest.llVal = iv;
        break;
    case VT_UI8:
        if (FAILED(hr = numToUInt(n, UINT64_MAX, &uv)))
            return hr;
        dest.ullVal = uv;
        break;
    case VT_R4: {
        double d = numAsDouble(n);
        if (std::fabs(d) > FLT_MAX)
            return DISP_E_OVERFLOW;
        dest.fltVal = float(d);
        break;
    }
    case VT_R8: dest.dblVal = numAsDouble(n); break;
    case VT_CY: {
        // Currency to currency, and whole numbers, go exactly; only the rest through a double.
        if (srcIsCy) {
            dest.cyVal = src.cyVal;
            break;
        }
        if (n.kind == Num::Int && n.i > INT64_MIN / 10000 && n.i < INT64_MAX / 10000) {
            dest.cyVal.int64 = n.i * 10000;
            break;
        }
        double d = bankersRound(numAsDouble(n) * 10000.0);
        if (std::isnan(d) || d < -9.2233720368547758e18 || d >= 9.2233720368547758e18)
            return DISP_E_OVERFLOW;
        dest.cyVal.int64 = int64_t(d);
        break;
    }
    default: return DISP_E_BADVARTYPE;
    }
    dest.vt = vt;
    return S_OK;
}

HRESULT changeScalar(VARIANT &dest, const VARIANT &src, USHORT flags, VARTYPE vt)
{
    if (vt == VT_BSTR)
        return changeToText(dest, src, flags);
    // An error code converts to nothing but itself.
    if (src.vt == VT_ERROR) {
        if (vt != VT_ERROR)
            return DISP_E_TYPEMISMATCH;
        dest.vt = VT_ERROR;
        dest.scode = src.scode;
        return S_OK;
    }
    if (vt == VT_ERROR)
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_BOOL)
        return changeToBool(dest, src);
    if (vt == VT_DATE)
        return changeToDate(dest, src);
    return changeToNumber(dest, src, vt);
}

HRESULT changeType(VARIANT &dest, const VARIANT &srcIn, USHORT flags, VARTYPE vt, int depth)
{
    VARIANT src;
    HRESULT hr = derefView(srcIn, src);
    if (FAILED(hr))
        return hr;
    if (!isKnownBase(src.vt))
        return DISP_E_BADVARTYPE;

    if (vt == VT_EMPTY) {
        dest.vt = VT_EMPTY;
        return S_OK;
    }
    if (vt == VT_NULL) {
        if (src.vt != VT_NULL && src.vt != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        dest.vt = VT_NULL;
        return S_OK;
    }
    if (src.vt == VT_NULL)
        return DISP_E_TYPEMISMATCH;

    if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
        if (src.vt == VT_EMPTY) {
            dest.vt = vt;
            dest.punkVal = nullptr;
            return S_OK;
        }
        if (src.vt != VT_DISPATCH && src.vt != VT_UNKNOWN)
            return DISP_E_TYPEMISMATCH;
        if (!src.punkVal) {
            dest.vt = vt;
            dest.punkVal = nullptr;
            return S_OK;
        }
        if (vt == VT_UNKNOWN || src.vt == VT_DISPATCH) {
            src.punkVal->AddRef();
            dest.vt = vt;
            dest.punkVal = src.punkVal;
            return S_OK;
        }
        IDispatch *d = nullptr;
        if (FAILED(src.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&d))) || !d)
            return DISP_E_TYPEMISMATCH;
        dest.vt = VT_DISPATCH;
        dest.pdispVal = d;
        return S_OK;
    }

    // An object's value property may itself be an object: followed three deep at most, so an
    // object that answers with itself cannot loop.
    if (src.vt == VT_DISPATCH || src.vt == VT_UNKNOWN) {
        if ((flags & VARIANT_NOVALUEPROP) || !src.punkVal || depth > 3)
            return DISP_E_TYPEMISMATCH;
        com::ComPtr<IDispatch> disp;
        if (FAILED(src.punkVal->QueryInterface(IID_IDispatch, disp.putVoid())) || !disp)
            return DISP_E_TYPEMISMATCH;
        com::Variant value;
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        if (FAILED(disp->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                                nullptr, nullptr)))
            return DISP_E_TYPEMISMATCH;
        return changeType(dest, value, flags, vt, depth + 1);
    }
    return changeScalar(dest, src, flags, vt);
}

} // namespace

void VariantInit(VARIANTARG *pvarg)
{
    if (!pvarg)
        return;
    std::memset(pvarg, 0, sizeof *pvarg);
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG *pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    if (!isValidVt(pvarg->vt))
        return DISP_E_BADVARTYPE;
    if (!(pvarg->vt & VT_BYREF)) {
        if (pvarg->vt == VT_BSTR)
            SysFreeString(pvarg->bstrVal);
        else if ((pvarg->vt == VT_DISPATCH || pvarg->vt == VT_UNKNOWN) && pvarg->punkVal)
            pvarg->punkVal->Release();
    }
    std::memset(pvarg, 0, sizeof *pvarg);
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG *pvargDest, const VARIANTARG *pvargSrc)
{
    if (!pvargDest || !pvargSrc)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    if (!isValidVt(pvargSrc->vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy = *pvargSrc;
    if (!(copy.vt & VT_BYREF)) {
        if (copy.vt == VT_BSTR && copy.bstrVal) {
            copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((copy.vt == VT_DISPATCH || copy.vt == VT_UNKNOWN) && copy.punkVal) {
            copy.punkVal->AddRef();
        }
    }
    HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *pvargDest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT *pvarDest, const VARIANTARG *pvargSrc)
{
    if (!pvarDest || !pvargSrc)
        return E_INVALIDARG;
    VARIANT view;
    HRESULT hr = derefView(*pvargSrc, view);
    if (FAILED(hr))
        return hr;
    if (pvarDest == pvargSrc) {
        VARIANT tmp;
        VariantInit(&tmp);
        hr = VariantCopy(&tmp, &view);
        if (FAILED(hr))
            return hr;
        if (!(pvarDest->vt & VT_BYREF))
            VariantClear(pvarDest);
        *pvarDest = tmp;
        return S_OK;
    }
    return VariantCopy(pvarDest, &view);
}

HRESULT VariantChangeTypeEx(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, LCID, USHORT wFlags, VARTYPE vt)
{
    if (!pvargDest || !pvarSrc)
        return E_INVALIDARG;
    if (vt & (VT_BYREF | VT_ARRAY) || !isKnownBase(vt))
        return DISP_E_BADVARTYPE;
    if (!isValidVt(pvarSrc->vt))
        return DISP_E_BADVARTYPE;
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = changeType(result, *pvarSrc, wFlags, vt, 0);
    if (FAILED(hr))
        return hr;
    // dest may equal src: the result was built aside and owns its contents.
    if (pvargDest == pvarSrc && (pvargDest->vt & VT_BYREF))
        VariantInit(pvargDest);
    else
        VariantClear(pvargDest);
    *pvargDest = result;
    return S_OK;
}

HRESULT VariantChangeType(VARIANTARG *pvargDest, const VARIANTARG *pvarSrc, USHORT wFlags, VARTYPE vt)
{
    return VariantChangeTypeEx(pvargDest, pvarSrc, LOCALE_USER_DEFAULT, wFlags, vt);
}

namespace com {

Variant Variant::dispatch(IDispatch *p)
{
    Variant r;
    r.vt = VT_DISPATCH;
    r.pdispVal = p;
    if (p)
        p->AddRef();
    return r;
}

Variant Variant::unknown(IUnknown *p)
{
    Variant r;
    r.vt = VT_UNKNOWN;
    r.punkVal = p;
    if (p)
        p->AddRef();
    return r;
}

HRESULT Variant::changeType(VARTYPE type, Variant &out, USHORT flags) const
{
    out.clear();
    return VariantChangeType(&out, this, flags, type);
}

QDateTime dateToDateTime(DATE d)
{
    return oledate::toDateTime(d);
}

DATE dateTimeToDate(const QDateTime &dt)
{
    return oledate::fromDateTime(dt);
}

bool isValidDate(DATE d)
{
    return oledate::isValid(d);
}

QVariant toQVariant(const VARIANT &in)
{
    VARIANT v;
    if (FAILED(derefView(in, v)))
        return QVariant();
    switch (v.vt) {
    case VT_EMPTY: return QVariant();
    case VT_NULL: return QVariant::fromValue(nullptr);
    case VT_I1: return int(v.cVal);
    case VT_UI1: return int(v.bVal);
    case VT_I2: return int(v.iVal);
    case VT_UI2: return int(v.uiVal);
    case VT_I4:
    case VT_INT: return int(v.lVal);
    case VT_UI4:
    case VT_UINT: return uint(v.ulVal);
    case VT_I8: return qlonglong(v.llVal);
    case VT_UI8: return qulonglong(v.ullVal);
    case VT_R4: return double(v.fltVal);
    case VT_R8: return v.dblVal;
    case VT_CY: return double(v.cyVal.int64) / 10000.0;
    case VT_DATE: return dateToDateTime(v.date);
    case VT_BOOL: return v.boolVal != 0;
    case VT_BSTR: return toQString(v.bstrVal);
    case VT_ERROR: return int(v.scode);
    default: return QVariant();
    }
}

Variant fromQVariant(const QVariant &q)
{
    Variant r;
    if (!q.isValid())
        return r;
    switch (q.metaType().id()) {
    case QMetaType::Nullptr: r.vt = VT_NULL; break;
    case QMetaType::Bool: r = Variant::boolean(q.toBool()); break;
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::Int: r = Variant::i4(q.toInt()); break;
    case QMetaType::UInt:
        r.vt = VT_UI4;
        r.ulVal = q.toUInt();
        break;
    case QMetaType::LongLong:
        r.vt = VT_I8;
        r.llVal = q.toLongLong();
        break;
    case QMetaType::ULongLong:
        r.vt = VT_UI8;
        r.ullVal = q.toULongLong();
        break;
    case QMetaType::Float:
        r.vt = VT_R4;
        r.fltVal = q.toFloat();
        break;
    case QMetaType::Double: r = Variant::r8(q.toDouble()); break;
    case QMetaType::QDateTime: r = Variant::fromDate(dateTimeToDate(q.toDateTime())); break;
    case QMetaType::QDate: r = Variant::fromDate(dateTimeToDate(QDateTime(q.toDate(), QTime(0, 0)))); break;
    default: r = Variant::string(q.toString()); break;
    }
    return r;
}

LONG variantToInt(const VARIANT &v, LONG def)
{
    Variant out;
    return SUCCEEDED(VariantChangeType(&out, &v, 0, VT_I4)) ? out.lVal : def;
}

double variantToDouble(const VARIANT &v, double def)
{
    Variant out;
    return SUCCEEDED(VariantChangeType(&out, &v, 0, VT_R8)) ? out.dblVal : def;
}

bool variantToBool(const VARIANT &v, bool def)
{
    Variant out;
    return SUCCEEDED(VariantChangeType(&out, &v, 0, VT_BOOL)) ? out.boolVal != 0 : def;
}

QString variantToString(const VARIANT &v, const QString &def)
{
    Variant out;
    return SUCCEEDED(VariantChangeType(&out, &v, VARIANT_ALPHABOOL, VT_BSTR)) ? toQString(out.bstrVal) : def;
}

} // namespace com
