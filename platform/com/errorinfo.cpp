#include "com/dispatch.h"
#include "com/object.h"

#include <cstring>

namespace {

class ErrorObject final : public com::ComObject<IErrorInfo, ICreateErrorInfo>
{
public:
    ErrorObject() : ComObject(com::ModuleCount::NotCounted) {}
    HRESULT STDMETHODCALLTYPE GetGUID(GUID *p) override
    {
        if (!p)
            return E_INVALIDARG;
        *p = guid_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR *p) override { return give(source_, p); }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR *p) override { return give(description_, p); }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR *p) override { return give(helpFile_, p); }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD *p) override
    {
        if (!p)
            return E_INVALIDARG;
        *p = helpContext_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetGUID(REFGUID g) override
    {
        guid_ = g;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR s) override
    {
        source_ = com::fromWide(s);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR s) override
    {
        description_ = com::fromWide(s);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR s) override
    {
        helpFile_ = com::fromWide(s);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD c) override
    {
        helpContext_ = c;
        return S_OK;
    }

private:
    static HRESULT give(const QString &s, BSTR *p)
    {
        if (!p)
            return E_INVALIDARG;
        *p = com::allocBstr(s);
        return *p ? S_OK : E_OUTOFMEMORY;
    }
    GUID guid_ = GUID_NULL;
    QString source_, description_, helpFile_;
    DWORD helpContext_ = 0;
};

// One error object per thread, held with a reference; released when the thread ends.
struct ThreadError
{
    IErrorInfo *info = nullptr;
    ~ThreadError()
    {
        if (info)
            info->Release();
    }
};
thread_local ThreadError t_error;

} // namespace

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo *perrinfo)
{
    if (dwReserved != 0)
        return E_INVALIDARG;
    if (perrinfo)
        perrinfo->AddRef();
    if (t_error.info)
        t_error.info->Release();
    t_error.info = perrinfo;
    return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo **pperrinfo)
{
    if (dwReserved != 0 || !pperrinfo)
        return E_INVALIDARG;
    *pperrinfo = t_error.info;
    t_error.info = nullptr;
    return *pperrinfo ? S_OK : S_FALSE;
}

HRESULT CreateErrorInfo(ICreateErrorInfo **pperrinfo)
{
    if (!pperrinfo)
        return E_INVALIDARG;
    auto *e = new (std::nothrow) ErrorObject;
    if (!e)
        return E_OUTOFMEMORY;
    e->AddRef();
    *pperrinfo = e;
    return S_OK;
}

namespace com {

bool sameObject(IUnknown *a, IUnknown *b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    ComPtr<IUnknown> ia, ib;
    a->QueryInterface(IID_IUnknown, ia.putVoid());
    b->QueryInterface(IID_IUnknown, ib.putVoid());
    return ia && ia.get() == ib.get();
}

HRESULT reportError(HRESULT hr, REFIID iid, const QString &source, const QString &description)
{
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        create->SetGUID(iid);
        std::u16string src = source.toStdU16String();
        std::u16string desc = description.toStdU16String();
        create->SetSource(src.data());
        create->SetDescription(desc.data());
        if (auto info = create.as<IErrorInfo>())
            SetErrorInfo(0, info.get());
    }
    return hr;
}

QString currentErrorDescription()
{
    if (!t_error.info)
        return QString();
    Bstr d;
    t_error.info->GetDescription(d.put());
    return d.toString();
}

void fillExcepInfo(EXCEPINFO *info, HRESULT hr, const QString &fallbackSource)
{
    if (!info)
        return;
    std::memset(info, 0, sizeof *info);
    info->scode = hr;
    ComPtr<IErrorInfo> err;
    if (GetErrorInfo(0, err.put()) == S_OK && err) {
        err->GetSource(&info->bstrSource);
        err->GetDescription(&info->bstrDescription);
        err->GetHelpFile(&info->bstrHelpFile);
        err->GetHelpContext(&info->dwHelpContext);
    }
    if (!info->bstrSource && !fallbackSource.isEmpty())
        info->bstrSource = allocBstr(fallbackSource);
    if (!info->bstrDescription)
        info->bstrDescription = allocBstr(
            QStringLiteral("Fehler 0x%1").arg(QString::number(uint32_t(hr), 16).toUpper().rightJustified(8, u'0')));
}

void clearExcepInfo(EXCEPINFO *info)
{
    if (!info)
        return;
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    std::memset(info, 0, sizeof *info);
}

} // namespace com
