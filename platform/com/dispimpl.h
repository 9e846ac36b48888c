#pragma once
// Table-driven IDispatch.
//
// A class lists its automation members once, in a DispatchTable built with DispBuilder<Class>:
//
//   using B = com::DispBuilder<Bar>;
//   static const com::DispatchTable table(IID_IBar, u"IBar", {
//       B::get<&Bar::get_BackColor>(1, u"BackColor"),
//       B::put<&Bar::put_BackColor>(1, u"BackColor"),
//       B::get<&Bar::get_SoundEffects>(7, u"SoundEffects", {VT_BOOL}),   // VARIANT_BOOL is a short
//       B::get<&Bar::get_Value>(19, u"Value", {VT_DATE}),                // DATE is a double
//       B::methodRet<&Bar::ItemFromKey>(32, u"ItemFromKey"),
//       B::get<&Bar::Item>(0, u"Item").optional(0),
//   });
//   // in the class body:  TV_IMPLEMENT_IDISPATCH(table)
//
// Parameter and result types are deduced from the member function: SHORT -> VT_I2, USHORT -> VT_UI2,
// LONG/INT -> VT_I4, ULONG/DWORD/OLE_COLOR -> VT_UI4 (accepts VT_I4 with the same bits, and is returned
// as VT_I4 with the same bits), BYTE -> VT_UI1, LONGLONG -> VT_I8, FLOAT -> VT_R4, DOUBLE -> VT_R8,
// CY -> VT_CY, BSTR / LPCOLESTR -> VT_BSTR, VARIANT / const VARIANT* -> VT_VARIANT (passed with BYREF
// resolved), IDispatch-derived pointers -> VT_DISPATCH and other interface pointers -> VT_UNKNOWN
// (the argument is queried for the parameter's interface; a failed query is DISP_E_TYPEMISMATCH),
// other pointers T* (methods only) -> VT_BYREF|type. The optional list overrides the deduced types,
// one entry per C++ parameter in declaration order (VT_EMPTY keeps the deduced one); the entry of an
// out-parameter names the result type. Needed for VARIANT_BOOL (VT_BOOL) and DATE (VT_DATE).
//
// Kinds: get (last parameter is the result, earlier ones are indexes), put/putRef (the last
// parameter is the value: the named argument DISPID_PROPERTYPUT), method (all parameters are
// inputs), methodRet (the last parameter is the result).
//
// Invoke: riid must be IID_NULL (else DISP_E_UNKNOWNINTERFACE); an unknown DISPID or a kind the
// member lacks gives DISP_E_MEMBERNOTFOUND; DISPID_VALUE also reaches a member marked asDefault();
// a put must carry DISPID_PROPERTYPUT as its one named argument (else DISP_E_PARAMNOTFOUND); other
// named arguments name parameters by position (0 = first); too many or too few arguments give
// DISP_E_BADPARAMCOUNT, an omitted required one DISP_E_PARAMNOTOPTIONAL; an argument of the
// parameter's own type (also by reference) is passed unchanged, others are converted with
// VariantChangeType (failure: its code, *puArgErr = the argument's index in rgvarg); a get
// without a result variant gives E_POINTER. A member that fails returns its HRESULT directly when
// pExcepInfo is null, else DISP_E_EXCEPTION with the code in scode and the thread's error object's
// description. PUTREF falls back to put when the member has no putref entry, and a put to a member
// that has only putref uses it.
#include "com/dispatch.h"
#include "com/interfaces.h"

#include <initializer_list>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace com {

enum class DispKind : uint8_t { Method = 1, PropGet = 2, PropPut = 4, PropPutRef = 8 };

struct DispMember;
// Calls the member: args are the converted inputs in declaration order, result is VT_EMPTY on entry.
using DispThunk = HRESULT (*)(void *self, const DispMember &member, VARIANT *args, VARIANT *result);

inline constexpr int kMaxDispParams = 12;

struct DispMember
{
    const OLECHAR *name = nullptr;
    DISPID dispid = DISPID_UNKNOWN;
    DispKind kind = DispKind::Method;
    uint8_t paramCount = 0;                  // input parameters (for puts including the value)
    uint8_t optionalCount = 0;               // trailing inputs that may be omitted
    VARTYPE paramTypes[kMaxDispParams] = {}; // declared type of each input
    VARTYPE resultType = VT_EMPTY;           // VT_EMPTY: no result
    bool isDefault = false;                  // also answers DISPID_VALUE
    DispThunk thunk = nullptr;               // null for members that are only described (events)

    // The last n inputs may be omitted. An omitted VARIANT parameter arrives as VT_ERROR
    // DISP_E_PARAMNOTFOUND; an omitted parameter of another type arrives as 0 / null.
    DispMember &optional(int n)
    {
        optionalCount = uint8_t(n);
        return *this;
    }
    DispMember &asDefault()
    {
        isDefault = true;
        return *this;
    }
};

// A described member without implementation (for event interfaces and type information).
DispMember describeMember(DISPID dispid, const OLECHAR *name, DispKind kind, std::initializer_list<VARTYPE> params,
                          VARTYPE result = VT_EMPTY);

class TypeInfoData;

// The members of one dispatch interface.
class DispatchTable
{
public:
    DispatchTable(const IID &iid, const OLECHAR *interfaceName, std::initializer_list<DispMember> members);
    ~DispatchTable();
    DispatchTable(const DispatchTable &) = delete;
    DispatchTable &operator=(const DispatchTable &) = delete;

    const IID &iid() const { return iid_; }
    QString name() const;
    const std::vector<DispMember> &members() const { return members_; }
    const DispMember *find(DISPID dispid, DispKind kind) const;
    // Case-insensitive lookup of a member's DISPID; DISPID_UNKNOWN when unknown.
    DISPID idOfName(const QString &name) const;

    HRESULT getTypeInfoCount(UINT *pctinfo) const;
    HRESULT getTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) const;
    HRESULT getIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids) const;
    HRESULT invoke(void *self, DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params, VARIANT *result,
                   EXCEPINFO *excep, UINT *argErr) const;

private:
    IID iid_;
    const OLECHAR *name_;
    std::vector<DispMember> members_;
    mutable std::shared_ptr<TypeInfoData> typeInfo_;
};

// Describes a class for IProvideClassInfo(2): its CLSID, name, default interface and default
// source (event) interface.
struct CoClassInfo
{
    CLSID clsid;
    const OLECHAR *name;
    const DispatchTable *defaultInterface; // may be null
    IID defaultSource;                     // GUID_NULL when the class raises no events
    const DispatchTable *sourceInterface;  // may be null (then only the IID is known)
};
// The class's type information (TKIND_COCLASS; implemented types: the default interface, then the
// default source flagged IMPLTYPEFLAG_FDEFAULT|IMPLTYPEFLAG_FSOURCE).
HRESULT classTypeInfo(const CoClassInfo &info, ITypeInfo **ppTI);
// The body of IProvideClassInfo2::GetGUID: GUIDKIND_DEFAULT_SOURCE_DISP_IID gives defaultSource
// (E_FAIL when none), other kinds E_INVALIDARG, a null pointer E_POINTER.
HRESULT classSourceGuid(const CoClassInfo &info, DWORD kind, GUID *pGUID);

// ---- calling through IDispatch (clients) ------------------------------------------------------
// Arguments are given in natural order and are not consumed.
HRESULT dispIdOfName(IDispatch *disp, const QString &name, DISPID *id);
HRESULT dispInvoke(IDispatch *disp, DISPID dispid, WORD flags, std::initializer_list<VARIANT> args,
                   VARIANT *result = nullptr, EXCEPINFO *excep = nullptr);
HRESULT dispGet(IDispatch *disp, DISPID dispid, VARIANT *result, std::initializer_list<VARIANT> indexes = {});
HRESULT dispPut(IDispatch *disp, DISPID dispid, const VARIANT &value, std::initializer_list<VARIANT> indexes = {});
HRESULT dispPutRef(IDispatch *disp, DISPID dispid, const VARIANT &value);
HRESULT dispCall(IDispatch *disp, DISPID dispid, std::initializer_list<VARIANT> args = {}, VARIANT *result = nullptr);
HRESULT dispGet(IDispatch *disp, const QString &name, VARIANT *result);
HRESULT dispPut(IDispatch *disp, const QString &name, const VARIANT &value);

// ---- implementation details of the builder ----------------------------------------------------
namespace detail {

template <auto Fn>
struct MemberFn;
template <class C, class... P, HRESULT (C::*F)(P...)>
struct MemberFn<F>
{
    using Class = C;
    using Params = std::tuple<P...>;
    static constexpr std::size_t count = sizeof...(P);
};

template <class T>
constexpr bool isInterfacePtr = std::is_pointer_v<T> &&std::is_base_of_v<IUnknown, std::remove_pointer_t<T>>;

// VARTYPE of an input parameter type.
template <class T>
constexpr VARTYPE inputType()
{
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, SHORT>)
        return VT_I2;
    else if constexpr (std::is_same_v<U, USHORT>)
        return VT_UI2;
    else if constexpr (std::is_same_v<U, LONG>)
        return VT_I4;
    else if constexpr (std::is_same_v<U, ULONG>)
        return VT_UI4;
    else if constexpr (std::is_same_v<U, BYTE>)
        return VT_UI1;
    else if constexpr (std::is_same_v<U, LONGLONG>)
        return VT_I8;
    else if constexpr (std::is_same_v<U, ULONGLONG>)
        return VT_UI8;
    else if constexpr (std::is_same_v<U, FLOAT>)
        return VT_R4;
    else if constexpr (std::is_same_v<U, DOUBLE>)
        return VT_R8;
    else if constexpr (std::is_same_v<U, CY>)
        return VT_CY;
    else if constexpr (std::is_same_v<U, BSTR> || std::is_same_v<U, LPCOLESTR>)
        return VT_BSTR;
    else if constexpr (std::is_same_v<U, VARIANT> || std::is_same_v<U, const VARIANT *>)
        return VT_VARIANT;
    else if constexpr (isInterfacePtr<U>)
        return std::is_base_of_v<IDispatch, std::remove_pointer_t<U>> ? VT_DISPATCH : VT_UNKNOWN;
    else if constexpr (std::is_pointer_v<U>)
        return VARTYPE(VT_BYREF | inputType<std::remove_pointer_t<U>>());
    else
        static_assert(sizeof(U) == 0, "parameter type not supported by the dispatch table");
}

// VARTYPE of the value behind an out-parameter type (T is the pointer type).
template <class T>
constexpr VARTYPE resultTypeOf()
{
    static_assert(std::is_pointer_v<T>, "the result parameter must be a pointer");
    using U = std::remove_pointer_t<T>;
    if constexpr (std::is_same_v<U, ULONG>)
        return VT_I4; // unsigned 32-bit travels as VT_I4 bits
    else if constexpr (std::is_same_v<U, VARIANT>)
        return VT_VARIANT;
    else
        return inputType<U>();
}

// Typed access to a converted argument.
HRESULT readArg(const VARIANT &v, SHORT &out);
HRESULT readArg(const VARIANT &v, USHORT &out);
HRESULT readArg(const VARIANT &v, LONG &out);
HRESULT readArg(const VARIANT &v, ULONG &out);
HRESULT readArg(const VARIANT &v, BYTE &out);
HRESULT readArg(const VARIANT &v, LONGLONG &out);
HRESULT readArg(const VARIANT &v, ULONGLONG &out);
HRESULT readArg(const VARIANT &v, FLOAT &out);
HRESULT readArg(const VARIANT &v, DOUBLE &out);
HRESULT readArg(const VARIANT &v, CY &out);
HRESULT readInterfaceArg(const VARIANT &v, REFIID iid, IUnknown **out); // AddRef'd; null stays null
void storeResult(VARIANT *out, VARTYPE declared, LONGLONG value);
void storeResult(VARIANT *out, VARTYPE declared, ULONGLONG value);
void storeResult(VARIANT *out, VARTYPE declared, DOUBLE value);
void storeResult(VARIANT *out, VARTYPE declared, CY value);

template <class T>
struct ArgHolder
{
    using U = std::remove_cv_t<T>;
    U value{};
    HRESULT init(VARIANT &v)
    {
        if constexpr (std::is_same_v<U, BSTR>) {
            value = v.vt == VT_BSTR ? v.bstrVal : nullptr;
            return S_OK;
        } else if constexpr (std::is_same_v<U, LPCOLESTR>) {
            value = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : u"";
            return S_OK;
        } else if constexpr (std::is_same_v<U, VARIANT>) {
            value = v;
            return S_OK;
        } else if constexpr (std::is_same_v<U, const VARIANT *>) {
            value = &v;
            return S_OK;
        } else if constexpr (isInterfacePtr<U>) {
            IUnknown *p = nullptr;
            HRESULT hr = readInterfaceArg(v, std::remove_pointer_t<U>::iid, &p);
            value = static_cast<U>(static_cast<void *>(p));
            holder_.attach(p);
            return hr;
        } else if constexpr (std::is_pointer_v<U>) {
            // BYREF: the converted argument holds a pointer to a value of the right type
            value = static_cast<U>(v.byref);
            return value ? S_OK : E_POINTER;
        } else
            return readArg(v, value);
    }
    U get() const { return value; }

private:
    ComPtr<IUnknown> holder_;
};

template <class P>
struct ResultHolder
{
    using U = std::remove_pointer_t<P>;
    U value{};
    P ptr() { return &value; }
    void store(VARIANT *out, VARTYPE declared)
    {
        if constexpr (std::is_same_v<U, BSTR>) {
            out->vt = VT_BSTR;
            out->bstrVal = value;
            value = nullptr;
        } else if constexpr (std::is_same_v<U, VARIANT>) {
            *out = value;
            value.vt = VT_EMPTY;
        } else if constexpr (isInterfacePtr<U>) {
            out->vt = declared;
            out->punkVal = static_cast<IUnknown *>(value);
            value = nullptr;
        } else if constexpr (std::is_floating_point_v<U>)
            storeResult(out, declared, DOUBLE(value));
        else if constexpr (std::is_same_v<U, CY>)
            storeResult(out, declared, value);
        else if constexpr (std::is_unsigned_v<U>)
            storeResult(out, declared, ULONGLONG(value));
        else
            storeResult(out, declared, LONGLONG(value));
    }
    ~ResultHolder()
    {
        if constexpr (std::is_same_v<U, BSTR>)
            SysFreeString(value);
        else if constexpr (std::is_same_v<U, VARIANT>)
            VariantClear(&value);
        else if constexpr (isInterfacePtr<U>) {
            if (value)
                value->Release();
        }
    }
};
template <>
struct ResultHolder<VARIANT *>
{
    VARIANT value{};
    ResultHolder() { VariantInit(&value); }
    ~ResultHolder() { VariantClear(&value); }
    VARIANT *ptr() { return &value; }
    void store(VARIANT *out, VARTYPE)
    {
        *out = value;
        VariantInit(&value);
    }
};

template <class C, auto Fn, bool HasResult, std::size_t... I>
HRESULT callMember(C *obj, const DispMember &m, VARIANT *args, VARIANT *result, std::index_sequence<I...>)
{
    using Params = typename MemberFn<Fn>::Params;
    std::tuple<ArgHolder<std::tuple_element_t<I, Params>>...> holders;
    HRESULT hr = S_OK;
    ((SUCCEEDED(hr) ? (hr = std::get<I>(holders).init(args[I]), 0) : 0), ...);
    if (FAILED(hr))
        return hr == E_POINTER ? hr : DISP_E_TYPEMISMATCH;
    if constexpr (HasResult) {
        using R = std::tuple_element_t<MemberFn<Fn>::count - 1, Params>;
        ResultHolder<R> r;
        hr = (obj->*Fn)(std::get<I>(holders).get()..., r.ptr());
        if (SUCCEEDED(hr))
            r.store(result, m.resultType);
        return hr;
    } else {
        return (obj->*Fn)(std::get<I>(holders).get()...);
    }
}

template <class C, auto Fn, bool HasResult>
HRESULT thunk(void *self, const DispMember &m, VARIANT *args, VARIANT *result)
{
    constexpr std::size_t n = MemberFn<Fn>::count - (HasResult ? 1 : 0);
    return callMember<C, Fn, HasResult>(static_cast<C *>(self), m, args, result, std::make_index_sequence<n>{});
}

template <std::size_t I, std::size_t N, class Params>
constexpr VARTYPE typeAt()
{
    if constexpr (I < N)
        return inputType<std::tuple_element_t<I, Params>>();
    else
        return resultTypeOf<std::tuple_element_t<I, Params>>();
}

template <auto Fn, bool HasResult, std::size_t... I>
void fillTypes(DispMember &m, std::initializer_list<VARTYPE> overrides, std::index_sequence<I...>)
{
    using Params = typename MemberFn<Fn>::Params;
    constexpr std::size_t total = MemberFn<Fn>::count;
    constexpr std::size_t n = total - (HasResult ? 1 : 0);
    static_assert(n <= kMaxDispParams, "too many parameters for a dispatch member");
    VARTYPE deduced[total == 0 ? 1 : total] = {};
    ((deduced[I] = typeAt<I, n, Params>()), ...);
    std::size_t k = 0;
    for (VARTYPE o : overrides) {
        if (k < total && o != VT_EMPTY)
            deduced[k] = VARTYPE(o | (deduced[k] & VT_BYREF));
        ++k;
    }
    m.paramCount = uint8_t(n);
    for (std::size_t i = 0; i < n; ++i)
        m.paramTypes[i] = deduced[i];
    m.resultType = HasResult ? deduced[total - 1] : VARTYPE(VT_EMPTY);
}

} // namespace detail

// Builds the members of class C (the class whose `this` is handed to the table's invoke).
template <class C>
struct DispBuilder
{
    template <auto Fn>
    static DispMember get(DISPID id, const OLECHAR *name, std::initializer_list<VARTYPE> types = {})
    {
        return make<Fn, true>(id, name, DispKind::PropGet, types);
    }
    template <auto Fn>
    static DispMember put(DISPID id, const OLECHAR *name, std::initializer_list<VARTYPE> types = {})
    {
        return make<Fn, false>(id, name, DispKind::PropPut, types);
    }
    template <auto Fn>
    static DispMember putRef(DISPID id, const OLECHAR *name, std::initializer_list<VARTYPE> types = {})
    {
        return make<Fn, false>(id, name, DispKind::PropPutRef, types);
    }
    template <auto Fn>
    static DispMember method(DISPID id, const OLECHAR *name, std::initializer_list<VARTYPE> types = {})
    {
        return make<Fn, false>(id, name, DispKind::Method, types);
    }
    template <auto Fn>
    static DispMember methodRet(DISPID id, const OLECHAR *name, std::initializer_list<VARTYPE> types = {})
    {
        return make<Fn, true>(id, name, DispKind::Method, types);
    }

private:
    template <auto Fn, bool HasResult>
    static DispMember make(DISPID id, const OLECHAR *name, DispKind kind, std::initializer_list<VARTYPE> types)
    {
        static_assert(std::is_base_of_v<typename detail::MemberFn<Fn>::Class, C>, "member function of another class");
        DispMember m;
        m.name = name;
        m.dispid = id;
        m.kind = kind;
        detail::fillTypes<Fn, HasResult>(m, types, std::make_index_sequence<detail::MemberFn<Fn>::count>{});
        m.thunk = &detail::thunk<C, Fn, HasResult>;
        return m;
    }
};

} // namespace com

// Implements the four IDispatch members of the enclosing class through a DispatchTable.
#define TV_IMPLEMENT_IDISPATCH(table)                                                                                  \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override                                                 \
    {                                                                                                                  \
        return (table).getTypeInfoCount(pctinfo);                                                                      \
    }                                                                                                                  \
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override                        \
    {                                                                                                                  \
        return (table).getTypeInfo(iTInfo, lcid, ppTInfo);                                                             \
    }                                                                                                                  \
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids) override \
    {                                                                                                                  \
        return (table).getIDsOfNames(riid, names, count, lcid, ids);                                                   \
    }                                                                                                                  \
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params,            \
                                     VARIANT *result, EXCEPINFO *excep, UINT *argErr) override                         \
    {                                                                                                                  \
        return (table).invoke(static_cast<void *>(this), dispid, riid, lcid, flags, params, result, excep, argErr);    \
    }
