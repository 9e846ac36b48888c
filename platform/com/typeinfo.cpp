// Minimal type information built from dispatch tables: enough for a container to learn a class's
// default interfaces, member names and DISPIDs.
#include "com/dispimpl.h"
#include "com/object.h"

#include <cstring>

namespace com {

class TypeInfoData
{
public:
    TYPEKIND kind = TKIND_DISPATCH;
    GUID guid = GUID_NULL;
    QString name;
    const DispatchTable *table = nullptr; // TKIND_DISPATCH
    CoClassInfo coclass{};                // TKIND_COCLASS
};

namespace {

class TypeInfo final : public ComObject<ITypeInfo>
{
public:
    explicit TypeInfo(TypeInfoData data) : ComObject(ModuleCount::NotCounted), d_(std::move(data)) {}

    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR **pp) override
    {
        if (!pp)
            return E_INVALIDARG;
        auto *a = new (std::nothrow) TYPEATTR;
        if (!a)
            return E_OUTOFMEMORY;
        std::memset(a, 0, sizeof *a);
        a->guid = d_.guid;
        a->lcid = LOCALE_USER_DEFAULT;
        a->memidConstructor = DISPID_UNKNOWN;
        a->memidDestructor = DISPID_UNKNOWN;
        a->typekind = d_.kind;
        a->cbAlignment = 8;
        a->wMajorVerNum = 1;
        if (d_.kind == TKIND_DISPATCH && d_.table) {
            a->cFuncs = WORD(d_.table->members().size());
            a->cbSizeVft = WORD(7 * sizeof(void *));
        } else if (d_.kind == TKIND_COCLASS) {
            a->cImplTypes = WORD(implCount());
        }
        *pp = a;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID memid, BSTR *names, UINT cMax, UINT *pcNames) override
    {
        if (!names || !pcNames)
            return E_INVALIDARG;
        *pcNames = 0;
        if (!d_.table || cMax == 0)
            return TYPE_E_ELEMENTNOTFOUND;
        for (const DispMember &m : d_.table->members()) {
            if (m.dispid == memid) {
                names[0] = SysAllocString(m.name);
                *pcNames = 1;
                return S_OK;
            }
        }
        return TYPE_E_ELEMENTNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE *p) override
    {
        if (!p)
            return E_INVALIDARG;
        if (d_.kind != TKIND_COCLASS || index >= implCount())
            return TYPE_E_ELEMENTNOTFOUND;
        *p = HREFTYPE(index + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT *p) override
    {
        if (!p)
            return E_INVALIDARG;
        if (d_.kind != TKIND_COCLASS || index >= implCount())
            return TYPE_E_ELEMENTNOTFOUND;
        bool isSource = !d_.coclass.defaultInterface || index == 1;
        *p = IMPLTYPEFLAG_FDEFAULT | (isSource ? IMPLTYPEFLAG_FSOURCE : 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR *names, UINT count, MEMBERID *ids) override
    {
        if (!d_.table)
            return DISP_E_UNKNOWNNAME;
        return d_.table->getIDsOfNames(IID_NULL, names, count, LOCALE_USER_DEFAULT, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID memid, BSTR *name, BSTR *doc, DWORD *ctx, BSTR *help) override
    {
        QString n;
        if (memid == DISPID_UNKNOWN) {
            n = d_.name;
        } else {
            if (!d_.table)
                return TYPE_E_ELEMENTNOTFOUND;
            bool found = false;
            for (const DispMember &m : d_.table->members())
                if (m.dispid == memid) {
                    n = fromWide(m.name);
                    found = true;
                    break;
                }
            if (!found)
                return TYPE_E_ELEMENTNOTFOUND;
        }
        if (name)
            *name = allocBstr(n);
        if (doc)
            *doc = nullptr;
        if (ctx)
            *ctx = 0;
        if (help)
            *help = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR *, BSTR *, WORD *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE h, ITypeInfo **pp) override
    {
        if (!pp)
            return E_INVALIDARG;
        *pp = nullptr;
        if (d_.kind != TKIND_COCLASS || h == 0 || h > implCount())
            return TYPE_E_ELEMENTNOTFOUND;
        UINT index = UINT(h - 1);
        TypeInfoData t;
        t.kind = TKIND_DISPATCH;
        if (d_.coclass.defaultInterface && index == 0) {
            t.table = d_.coclass.defaultInterface;
            t.guid = t.table->iid();
            t.name = t.table->name();
        } else {
            t.table = d_.coclass.sourceInterface;
            t.guid = d_.coclass.defaultSource;
            t.name = t.table ? t.table->name() : QString();
        }
        auto *ti = new (std::nothrow) TypeInfo(std::move(t));
        if (!ti)
            return E_OUTOFMEMORY;
        ti->AddRef();
        *pp = ti;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *, REFIID, PVOID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib **, UINT *) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR *a) override { delete a; }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC *) override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC *) override {}

private:
    UINT implCount() const
    {
        if (d_.kind != TKIND_COCLASS)
            return 0;
        return (d_.coclass.defaultInterface ? 1u : 0u) + (d_.coclass.defaultSource != GUID_NULL ? 1u : 0u);
    }
    TypeInfoData d_;
};

} // namespace

HRESULT DispatchTable::getTypeInfo(UINT iTInfo, LCID, ITypeInfo **ppTInfo) const
{
    if (!ppTInfo)
        return E_POINTER;
    *ppTInfo = nullptr;
    if (iTInfo != 0)
        return DISP_E_BADINDEX;
    TypeInfoData t;
    t.kind = TKIND_DISPATCH;
    t.guid = iid_;
    t.name = name();
    t.table = this;
    auto *ti = new (std::nothrow) TypeInfo(std::move(t));
    if (!ti)
        return E_OUTOFMEMORY;
    ti->AddRef();
    *ppTInfo = ti;
    return S_OK;
}

HRESULT classTypeInfo(const CoClassInfo &info, ITypeInfo **ppTI)
{
    if (!ppTI)
        return E_POINTER;
    TypeInfoData t;
    t.kind = TKIND_COCLASS;
    t.guid = info.clsid;
    t.name = fromWide(info.name);
    t.coclass = info;
    auto *ti = new (std::nothrow) TypeInfo(std::move(t));
    if (!ti)
        return E_OUTOFMEMORY;
    ti->AddRef();
    *ppTI = ti;
    return S_OK;
}

HRESULT classSourceGuid(const CoClassInfo &info, DWORD kind, GUID *pGUID)
{
    if (!pGUID)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *pGUID = GUID_NULL;
        return E_INVALIDARG;
    }
    *pGUID = info.defaultSource;
    return info.defaultSource == GUID_NULL ? E_FAIL : S_OK;
}

} // namespace com
