#include "com/dispimpl.h"

#include <cmath>
#include <cstring>

namespace com {

DispMember describeMember(DISPID dispid, const OLECHAR *name, DispKind kind, std::initializer_list<VARTYPE> params,
                          VARTYPE result)
{
    DispMember m;
    m.name = name;
    m.dispid = dispid;
    m.kind = kind;
    m.paramCount = uint8_t(std::min<std::size_t>(params.size(), kMaxDispParams));
    std::size_t i = 0;
    for (VARTYPE t : params)
        if (i < kMaxDispParams)
            m.paramTypes[i++] = t;
    m.resultType = result;
    return m;
}

DispatchTable::DispatchTable(const IID &iid, const OLECHAR *interfaceName, std::initializer_list<DispMember> members)
    : iid_(iid), name_(interfaceName), members_(members)
{}

DispatchTable::~DispatchTable() = default;

QString DispatchTable::name() const
{
    return fromWide(name_);
}

const DispMember *DispatchTable::find(DISPID dispid, DispKind kind) const
{
    for (const DispMember &m : members_)
        if (m.dispid == dispid && m.kind == kind)
            return &m;
    if (dispid == DISPID_VALUE)
        for (const DispMember &m : members_)
            if (m.isDefault && m.kind == kind)
                return &m;
    return nullptr;
}

DISPID DispatchTable::idOfName(const QString &name) const
{
    for (const DispMember &m : members_)
        if (fromWide(m.name).compare(name, Qt::CaseInsensitive) == 0)
            return m.dispid;
    return DISPID_UNKNOWN;
}

HRESULT DispatchTable::getTypeInfoCount(UINT *pctinfo) const
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 1;
    return S_OK;
}

HRESULT DispatchTable::getIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID, DISPID *ids) const
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!ids || (count && !names))
        return E_POINTER;
    if (count == 0)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    ids[0] = idOfName(fromWide(names[0]));
    if (ids[0] == DISPID_UNKNOWN)
        hr = DISP_E_UNKNOWNNAME;
    // Parameter names are not described: each further name is unknown.
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

namespace {

bool isMissing(const VARIANT &v)
{
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

// Converts one argument to its declared type into out (VT_EMPTY on entry).
HRESULT convertArg(const VARIANT &in, VARTYPE declared, VARIANT &out)
{
    if (declared == VT_VARIANT)
        return VariantCopyInd(&out, &in);
    // An argument that already has the parameter's type reaches the member as it is: coercion is
    // only for arguments of another type (a date the conversion would refuse is the member's to judge).
    if ((in.vt & ~VT_BYREF) == declared && (!(in.vt & VT_BYREF) || in.byref))
        return VariantCopyInd(&out, &in);
    if (declared == VT_UI4) {
        // unsigned 32-bit values (colours) also come as signed 32-bit integers with the same bits
        VARIANT view = in;
        if ((in.vt & VT_BYREF) && in.byref) {
            VARTYPE b = in.vt & ~VT_BYREF;
            if (b == VT_I4 || b == VT_INT) {
                view.vt = VT_I4;
                view.lVal = *in.plVal;
            }
        }
        if (view.vt == VT_I4 || view.vt == VT_INT) {
            out.vt = VT_UI4;
            out.ulVal = ULONG(view.lVal);
            return S_OK;
        }
    }
    return VariantChangeType(&out, &in, 0, declared);
}

// The member a call with these flags means: a put by reference takes the PropPutRef member before
// the PropPut one, a plain put the PropPut member before the PropPutRef one; a call as method and
// as property get takes the method first.
const DispMember *memberFor(const DispatchTable &table, DISPID dispid, WORD flags, bool isPut)
{
    const DispMember *m = nullptr;
    if (isPut) {
        if (flags & DISPATCH_PROPERTYPUTREF)
            m = table.find(dispid, DispKind::PropPutRef);
        if (!m)
            m = table.find(dispid, DispKind::PropPut);
        if (!m && (flags & DISPATCH_PROPERTYPUT))
            m = table.find(dispid, DispKind::PropPutRef);
    } else {
        if (flags & DISPATCH_METHOD)
            m = table.find(dispid, DispKind::Method);
        if (!m && (flags & DISPATCH_PROPERTYGET))
            m = table.find(dispid, DispKind::PropGet);
    }
    return m;
}

// Places the arguments: slot[i] becomes the rgvarg index of parameter i, or -1 when none was given.
// A put's value is the last parameter; named arguments go to their parameter, positional ones
// fill the parameters from the first. A name out of range or given twice, too many arguments or a
// required parameter left out fail as IDispatch::Invoke does.
HRESULT placeArguments(const DispMember &m, const DISPPARAMS &params, bool isPut, int (&slot)[kMaxDispParams],
                       UINT *argErr)
{
    const UINT n = m.paramCount;
    for (UINT i = 0; i < kMaxDispParams; ++i)
        slot[i] = -1;
    const UINT named = params.cNamedArgs;
    const UINT positional = params.cArgs - named;
    if (isPut) {
        if (named < 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
        if (n == 0)
            return DISP_E_BADPARAMCOUNT;
        slot[n - 1] = 0;
    }
    for (UINT k = isPut ? 1 : 0; k < named; ++k) {
        DISPID id = params.rgdispidNamedArgs[k];
        UINT limit = isPut ? n - 1 : n;
        if (id < 0 || UINT(id) >= limit || slot[id] != -1) {
            if (argErr)
                *argErr = k;
            return DISP_E_PARAMNOTFOUND;
        }
        slot[id] = int(k);
    }
    const UINT inputs = isPut ? n - 1 : n;
    if (positional > inputs)
        return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < positional; ++i) {
        if (slot[i] != -1)
            return DISP_E_PARAMNOTFOUND; // given both by position and by name
        slot[i] = int(params.cArgs - 1 - i);
    }
    const UINT required = n - std::min<UINT>(m.optionalCount, inputs);
    for (UINT i = 0; i < n; ++i) {
        bool missing = slot[i] == -1 || isMissing(params.rgvarg[slot[i]]);
        if (missing && i < required) {
            if (slot[i] == -1)
                return DISP_E_BADPARAMCOUNT;
            if (argErr)
                *argErr = UINT(slot[i]);
            return DISP_E_PARAMNOTOPTIONAL;
        }
    }
    return S_OK;
}

// The arguments of one call in their declared types, cleared when the call is over. A BYREF
// parameter points into the caller's argument when that has the same type (so the member writes
// back to the caller), else into a holder of its own; a missing optional one is VT_ERROR
// DISP_E_PARAMNOTFOUND for a VARIANT, else the empty value of its type.
class CallArguments
{
public:
    explicit CallArguments(UINT n) : n_(n)
    {
        for (UINT i = 0; i < n_; ++i)
            VariantInit(&args_[i]);
    }
    ~CallArguments()
    {
        for (UINT i = 0; i < n_; ++i) {
            if (holders_[i]) {
                VariantClear(holders_[i]);
                delete holders_[i];
            } else if (!(args_[i].vt & VT_BYREF)) {
                VariantClear(&args_[i]);
            }
        }
    }
    CallArguments(const CallArguments &) = delete;
    CallArguments &operator=(const CallArguments &) = delete;

    HRESULT convert(const DispMember &m, const DISPPARAMS &params, const int (&slot)[kMaxDispParams], UINT *argErr)
    {
        for (UINT i = 0; i < n_; ++i) {
            const VARTYPE t = m.paramTypes[i];
            const bool missing = slot[i] == -1 || isMissing(params.rgvarg[slot[i]]);
            HRESULT hr = S_OK;
            if (t & VT_BYREF)
                hr = byReference(i, t, missing ? nullptr : &params.rgvarg[slot[i]]);
            else if (missing)
                leftOut(i, t);
            else
                hr = convertArg(params.rgvarg[slot[i]], t, args_[i]);
            if (FAILED(hr)) {
                if (argErr && !missing)
                    *argErr = UINT(slot[i]);
                return hr;
            }
        }
        return S_OK;
    }

    VARIANT *data() { return args_; }

private:
    HRESULT byReference(UINT i, VARTYPE t, const VARIANT *given)
    {
        const VARTYPE base = t & ~VT_BYREF;
        args_[i].vt = t;
        if (given && given->vt == t && given->byref) {
            args_[i].byref = given->byref;
            return S_OK;
        }
        holders_[i] = new (std::nothrow) VARIANT;
        if (!holders_[i])
            return E_OUTOFMEMORY;
        VariantInit(holders_[i]);
        HRESULT hr = S_OK;
        if (base == VT_VARIANT) {
            if (given)
                hr = VariantCopyInd(holders_[i], given);
        } else {
            VARIANT empty;
            VariantInit(&empty);
            hr = VariantChangeType(holders_[i], given ? given : &empty, 0, base);
        }
        if (FAILED(hr))
            return hr;
        args_[i].byref =
            base == VT_VARIANT ? static_cast<void *>(holders_[i]) : static_cast<void *>(&holders_[i]->llVal);
        return S_OK;
    }

    void leftOut(UINT i, VARTYPE t)
    {
        if (t == VT_VARIANT) {
            args_[i].vt = VT_ERROR;
            args_[i].scode = DISP_E_PARAMNOTFOUND;
        } else {
            VARIANT empty;
            VariantInit(&empty);
            VariantChangeType(&args_[i], &empty, 0, t);
        }
    }

    UINT n_;
    VARIANT args_[kMaxDispParams];
    VARIANT *holders_[kMaxDispParams] = {};
};

} // namespace

HRESULT DispatchTable::invoke(void *self, DISPID dispid, REFIID riid, LCID, WORD flags, DISPPARAMS *params,
                              VARIANT *result, EXCEPINFO *excep, UINT *argErr) const
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!params)
        return E_INVALIDARG;
    if (params->cArgs && !params->rgvarg)
        return E_INVALIDARG;
    if (params->cNamedArgs > params->cArgs || (params->cNamedArgs && !params->rgdispidNamedArgs))
        return E_INVALIDARG;

    const bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const DispMember *m = memberFor(*this, dispid, flags, isPut);
    if (!m || !m->thunk)
        return DISP_E_MEMBERNOTFOUND;
    if (m->kind == DispKind::PropGet && !(flags & DISPATCH_METHOD) && !result)
        return E_POINTER;

    int slot[kMaxDispParams];
    if (HRESULT hr = placeArguments(*m, *params, isPut, slot, argErr); FAILED(hr))
        return hr;

    VARIANT out;
    VariantInit(&out);
    HRESULT hr = S_OK;
    {
        CallArguments args(m->paramCount);
        hr = args.convert(*m, *params, slot, argErr);
        if (FAILED(hr))
            return hr;
        SetErrorInfo(0, nullptr);
        hr = m->thunk(self, *m, args.data(), &out);
    }
    if (FAILED(hr)) {
        VariantClear(&out);
        if (excep) {
            fillExcepInfo(excep, hr, name());
            return DISP_E_EXCEPTION;
        }
        return hr;
    }
    if (result) {
        VariantClear(result);
        *result = out;
    } else {
        VariantClear(&out);
    }
    return S_OK;
}

namespace detail {

namespace {
template <class T>
HRESULT readInt(const VARIANT &v, T &out)
{
    switch (v.vt) {
    case VT_I1: out = T(v.cVal); return S_OK;
    case VT_UI1: out = T(v.bVal); return S_OK;
    case VT_I2:
    case VT_BOOL: out = T(v.iVal); return S_OK;
    case VT_UI2: out = T(v.uiVal); return S_OK;
    case VT_I4:
    case VT_INT: out = T(v.lVal); return S_OK;
    case VT_UI4:
    case VT_UINT: out = T(v.ulVal); return S_OK;
    case VT_I8: out = T(v.llVal); return S_OK;
    case VT_UI8: out = T(v.ullVal); return S_OK;
    case VT_R4: out = T(v.fltVal); return S_OK;
    case VT_R8: out = T(v.dblVal); return S_OK;
    case VT_DATE: out = T(v.date); return S_OK;
    case VT_CY: out = T(double(v.cyVal.int64) / 10000.0); return S_OK;
    case VT_EMPTY: out = T(0); return S_OK;
    default: return DISP_E_TYPEMISMATCH;
    }
}
} // namespace

HRESULT readArg(const VARIANT &v, SHORT &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, USHORT &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, LONG &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, ULONG &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, BYTE &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, LONGLONG &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, ULONGLONG &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, FLOAT &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, DOUBLE &out)
{
    return readInt(v, out);
}
HRESULT readArg(const VARIANT &v, CY &out)
{
    if (v.vt == VT_CY) {
        out = v.cyVal;
        return S_OK;
    }
    Variant c;
    HRESULT hr = VariantChangeType(&c, &v, 0, VT_CY);
    if (SUCCEEDED(hr))
        out = c.cyVal;
    return hr;
}

HRESULT readInterfaceArg(const VARIANT &v, REFIID iid, IUnknown **out)
{
    *out = nullptr;
    if (v.vt == VT_EMPTY)
        return S_OK;
    if (v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN)
        return DISP_E_TYPEMISMATCH;
    if (!v.punkVal)
        return S_OK;
    HRESULT hr = v.punkVal->QueryInterface(iid, reinterpret_cast<void **>(out));
    return SUCCEEDED(hr) ? S_OK : DISP_E_TYPEMISMATCH;
}

void storeResult(VARIANT *out, VARTYPE declared, LONGLONG value)
{
    VariantInit(out);
    switch (declared) {
    case VT_BOOL: out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_I1: out->cVal = CHAR(value); break;
    case VT_UI1: out->bVal = BYTE(value); break;
    case VT_I2: out->iVal = SHORT(value); break;
    case VT_UI2: out->uiVal = USHORT(value); break;
    case VT_I4:
    case VT_INT: out->lVal = LONG(value); break;
    case VT_UI4:
    case VT_UINT: out->ulVal = ULONG(value); break;
    case VT_UI8: out->ullVal = ULONGLONG(value); break;
    case VT_R4: out->fltVal = FLOAT(value); break;
    case VT_R8: out->dblVal = DOUBLE(value); break;
    case VT_DATE: out->date = DATE(value); break;
    case VT_CY: out->cyVal.int64 = value * 10000; break;
    case VT_ERROR: out->scode = SCODE(value); break;
    default:
        declared = VT_I8;
        out->llVal = value;
        break;
    }
    out->vt = declared;
}

void storeResult(VARIANT *out, VARTYPE declared, ULONGLONG value)
{
    if (declared == VT_UI8) {
        VariantInit(out);
        out->vt = VT_UI8;
        out->ullVal = value;
        return;
    }
    storeResult(out, declared, LONGLONG(value));
}

void storeResult(VARIANT *out, VARTYPE declared, DOUBLE value)
{
    VariantInit(out);
    switch (declared) {
    case VT_R4: out->fltVal = FLOAT(value); break;
    case VT_DATE: out->date = value; break;
    case VT_CY: out->cyVal.int64 = LONGLONG(std::nearbyint(value * 10000.0)); break;
    default:
        declared = VT_R8;
        out->dblVal = value;
        break;
    }
    out->vt = declared;
}

void storeResult(VARIANT *out, VARTYPE declared, CY value)
{
    VariantInit(out);
    if (declared == VT_R8) {
        out->vt = VT_R8;
        out->dblVal = double(value.int64) / 10000.0;
        return;
    }
    out->vt = VT_CY;
    out->cyVal = value;
}

} // namespace detail

// ---- clients ----------------------------------------------------------------------------------

HRESULT dispIdOfName(IDispatch *disp, const QString &name, DISPID *id)
{
    if (!disp || !id)
        return E_POINTER;
    std::u16string n = name.toStdU16String();
    LPOLESTR names[1] = {n.data()};
    return disp->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

namespace {
HRESULT invokeWith(IDispatch *disp, DISPID dispid, WORD flags, const VARIANT *natural, UINT count, bool put,
                   VARIANT *result, EXCEPINFO *excep)
{
    if (!disp)
        return E_POINTER;
    std::vector<VARIANT> rev(count);
    for (UINT i = 0; i < count; ++i)
        rev[count - 1 - i] = natural[i]; // shallow: the callee does not own arguments
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS p{rev.empty() ? nullptr : rev.data(), put ? &putId : nullptr, count, put ? 1u : 0u};
    UINT argErr = 0;
    return disp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, result, excep, &argErr);
}
} // namespace

HRESULT dispInvoke(IDispatch *disp, DISPID dispid, WORD flags, std::initializer_list<VARIANT> args, VARIANT *result,
                   EXCEPINFO *excep)
{
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    return invokeWith(disp, dispid, flags, args.begin(), UINT(args.size()), put, result, excep);
}

HRESULT dispGet(IDispatch *disp, DISPID dispid, VARIANT *result, std::initializer_list<VARIANT> indexes)
{
    return invokeWith(disp, dispid, DISPATCH_PROPERTYGET | DISPATCH_METHOD, indexes.begin(), UINT(indexes.size()),
                      false, result, nullptr);
}

HRESULT dispPut(IDispatch *disp, DISPID dispid, const VARIANT &value, std::initializer_list<VARIANT> indexes)
{
    std::vector<VARIANT> all(indexes.begin(), indexes.end());
    all.push_back(value);
    // the value is the named argument, which Invoke expects first in rgvarg
    std::vector<VARIANT> rev(all.rbegin(), all.rend());
    if (!disp)
        return E_POINTER;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS p{rev.data(), &putId, UINT(rev.size()), 1};
    UINT argErr = 0;
    return disp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, &argErr);
}

HRESULT dispPutRef(IDispatch *disp, DISPID dispid, const VARIANT &value)
{
    return invokeWith(disp, dispid, DISPATCH_PROPERTYPUTREF, &value, 1, true, nullptr, nullptr);
}

HRESULT dispCall(IDispatch *disp, DISPID dispid, std::initializer_list<VARIANT> args, VARIANT *result)
{
    return invokeWith(disp, dispid, DISPATCH_METHOD, args.begin(), UINT(args.size()), false, result, nullptr);
}

HRESULT dispGet(IDispatch *disp, const QString &name, VARIANT *result)
{
    DISPID id;
    HRESULT hr = dispIdOfName(disp, name, &id);
    return FAILED(hr) ? hr : dispGet(disp, id, result);
}

HRESULT dispPut(IDispatch *disp, const QString &name, const VARIANT &value)
{
    DISPID id;
    HRESULT hr = dispIdOfName(disp, name, &id);
    return FAILED(hr) ? hr : dispPut(disp, id, value);
}

} // namespace com
