#include "com/connpt.h"

#include <algorithm>

namespace com {

namespace {

class ConnectionEnum final : public ComObject<IEnumConnections>
{
public:
    explicit ConnectionEnum(std::vector<std::pair<DWORD, ComPtr<IUnknown>>> items, std::size_t pos = 0)
        : ComObject(ModuleCount::NotCounted), items_(std::move(items)), pos_(pos)
    {}
    HRESULT STDMETHODCALLTYPE Next(ULONG count, CONNECTDATA *out, ULONG *fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < count && pos_ < items_.size()) {
            out[n].dwCookie = items_[pos_].first;
            out[n].pUnk = items_[pos_].second.get();
            out[n].pUnk->AddRef();
            ++n;
            ++pos_;
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        pos_ = std::min(items_.size(), pos_ + count);
        return pos_ < items_.size() || count == 0 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        pos_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnections **pp) override
    {
        if (!pp)
            return E_POINTER;
        auto *e = new (std::nothrow) ConnectionEnum(items_, pos_);
        if (!e)
            return E_OUTOFMEMORY;
        e->AddRef();
        *pp = e;
        return S_OK;
    }

private:
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> items_;
    std::size_t pos_;
};

class PointEnum final : public ComObject<IEnumConnectionPoints>
{
public:
    PointEnum(IUnknown *owner, std::vector<ConnectionPoint *> points, std::size_t pos = 0)
        : ComObject(ModuleCount::NotCounted), owner_(owner), points_(std::move(points)), pos_(pos)
    {}
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint **out, ULONG *fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < count && pos_ < points_.size()) {
            out[n] = points_[pos_];
            out[n]->AddRef();
            ++n;
            ++pos_;
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        pos_ = std::min(points_.size(), pos_ + count);
        return pos_ < points_.size() || count == 0 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        pos_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints **pp) override
    {
        if (!pp)
            return E_POINTER;
        auto *e = new (std::nothrow) PointEnum(owner_.get(), points_, pos_);
        if (!e)
            return E_OUTOFMEMORY;
        e->AddRef();
        *pp = e;
        return S_OK;
    }

private:
    ComPtr<IUnknown> owner_; // keeps the points alive
    std::vector<ConnectionPoint *> points_;
    std::size_t pos_;
};

} // namespace

ConnectionPoint::ConnectionPoint(IUnknown *owner, const IID &iid) : owner_(owner), iid_(iid)
{}

ConnectionPoint::~ConnectionPoint()
{
    clear();
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint *>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef()
{
    return owner_->AddRef();
}

ULONG ConnectionPoint::Release()
{
    return owner_->Release();
}

HRESULT ConnectionPoint::GetConnectionInterface(IID *pIID)
{
    if (!pIID)
        return E_POINTER;
    *pIID = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer **ppCPC)
{
    if (!ppCPC)
        return E_POINTER;
    return owner_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void **>(ppCPC));
}

HRESULT ConnectionPoint::Advise(IUnknown *pUnkSink, DWORD *pdwCookie)
{
    if (!pdwCookie)
        return E_POINTER;
    *pdwCookie = 0;
    if (!pUnkSink)
        return E_POINTER;
    ComPtr<IUnknown> sink;
    if (FAILED(pUnkSink->QueryInterface(iid_, sink.putVoid())) || !sink) {
        if (iid_ == IID_IPropertyNotifySink || FAILED(pUnkSink->QueryInterface(IID_IDispatch, sink.putVoid())) || !sink)
            return CONNECT_E_CANNOTCONNECT;
    }
    std::lock_guard lock(mutex_);
    DWORD cookie = nextCookie_++;
    connections_.push_back({cookie, std::move(sink)});
    *pdwCookie = cookie;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD dwCookie)
{
    ComPtr<IUnknown> released; // released after the lock is dropped
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(connections_.begin(), connections_.end(),
                               [&](const Connection &c) { return c.cookie == dwCookie; });
        if (it == connections_.end())
            return CONNECT_E_NOCONNECTION;
        released = std::move(it->sink);
        connections_.erase(it);
    }
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections **ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> items;
    {
        std::lock_guard lock(mutex_);
        for (const Connection &c : connections_)
            items.emplace_back(c.cookie, c.sink);
    }
    auto *e = new (std::nothrow) ConnectionEnum(std::move(items));
    if (!e)
        return E_OUTOFMEMORY;
    e->AddRef();
    *ppEnum = e;
    return S_OK;
}

std::size_t ConnectionPoint::sinkCount() const
{
    std::lock_guard lock(mutex_);
    return connections_.size();
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::sinks() const
{
    std::lock_guard lock(mutex_);
    std::vector<ComPtr<IUnknown>> r;
    r.reserve(connections_.size());
    for (const Connection &c : connections_)
        r.push_back(c.sink);
    return r;
}

void ConnectionPoint::clear()
{
    std::vector<Connection> gone;
    {
        std::lock_guard lock(mutex_);
        gone.swap(connections_);
    }
}

int ConnectionPoint::fire(DISPID dispid, std::initializer_list<VARIANT> args)
{
    return fire(dispid, args.begin(), UINT(args.size()));
}

int ConnectionPoint::fire(DISPID dispid, const VARIANT *args, UINT count)
{
    std::vector<VARIANT> rev(count);
    for (UINT i = 0; i < count; ++i)
        rev[count - 1 - i] = args[i]; // shallow: sinks do not own event arguments
    int called = 0;
    for (const ComPtr<IUnknown> &sink : sinks()) {
        ComPtr<IDispatch> disp = sink.as<IDispatch>();
        if (!disp)
            continue;
        DISPPARAMS p{rev.empty() ? nullptr : rev.data(), nullptr, count, 0};
        Variant result;
        UINT argErr = 0;
        disp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &p, &result, nullptr, &argErr);
        ++called;
    }
    return called;
}

void ConnectionPoint::notifyChanged(DISPID dispid)
{
    for (const ComPtr<IUnknown> &sink : sinks())
        if (auto s = sink.as<IPropertyNotifySink>())
            s->OnChanged(dispid);
}

bool ConnectionPoint::requestEdit(DISPID dispid)
{
    bool allowed = true;
    for (const ComPtr<IUnknown> &sink : sinks())
        if (auto s = sink.as<IPropertyNotifySink>())
            if (s->OnRequestEdit(dispid) == S_FALSE)
                allowed = false;
    return allowed;
}

ConnectionPoints::ConnectionPoints(IConnectionPointContainer *container,
                                   std::initializer_list<ConnectionPoint *> points)
    : container_(container), points_(points)
{}

HRESULT ConnectionPoints::findConnectionPoint(REFIID riid, IConnectionPoint **ppCP) const
{
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    for (ConnectionPoint *p : points_) {
        if (p->iid() == riid) {
            p->AddRef();
            *ppCP = p;
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoints::enumConnectionPoints(IEnumConnectionPoints **ppEnum) const
{
    if (!ppEnum)
        return E_POINTER;
    auto *e = new (std::nothrow) PointEnum(container_, points_);
    if (!e)
        return E_OUTOFMEMORY;
    e->AddRef();
    *ppEnum = e;
    return S_OK;
}

void ConnectionPoints::clearAll()
{
    for (ConnectionPoint *p : points_)
        p->clear();
}

// ---- DispatchSink ------------------------------------------------------------------------------

DispatchSink::DispatchSink(const IID &eventIid, Handler handler)
    : ComObject(ModuleCount::NotCounted), eventIid_(eventIid), handler_(std::move(handler))
{}

HRESULT DispatchSink::GetTypeInfoCount(UINT *pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT DispatchSink::GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT DispatchSink::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

HRESULT DispatchSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                             UINT *)
{
    if (!handler_)
        return S_OK;
    Handler h = handler_; // the handler may replace itself
    return h(dispid, params, result);
}

void DispatchSink::setHandler(Handler handler)
{
    handler_ = std::move(handler);
}

void *DispatchSink::findInterface(REFIID riid)
{
    if (riid == eventIid_ && riid != GUID_NULL)
        return static_cast<IDispatch *>(this);
    return nullptr;
}

// ---- EventArgs ---------------------------------------------------------------------------------

VARIANT *EventArgs::at(UINT i) const
{
    if (!params_ || i >= count())
        return nullptr;
    return &params_->rgvarg[params_->cArgs - 1 - i];
}

LONG EventArgs::toInt(UINT i, LONG def) const
{
    VARIANT *v = at(i);
    return v ? variantToInt(*v, def) : def;
}

double EventArgs::toDouble(UINT i, double def) const
{
    VARIANT *v = at(i);
    return v ? variantToDouble(*v, def) : def;
}

bool EventArgs::toBool(UINT i, bool def) const
{
    VARIANT *v = at(i);
    return v ? variantToBool(*v, def) : def;
}

QString EventArgs::toString(UINT i) const
{
    VARIANT *v = at(i);
    return v ? variantToString(*v) : QString();
}

ComPtr<IDispatch> EventArgs::toDispatch(UINT i) const
{
    VARIANT *v = at(i);
    if (!v)
        return {};
    Variant d;
    if (FAILED(VariantChangeType(&d, v, VARIANT_NOVALUEPROP, VT_DISPATCH)))
        return {};
    return ComPtr<IDispatch>(d.pdispVal);
}

bool EventArgs::setByRef(UINT i, LONG value) const
{
    VARIANT *v = at(i);
    if (!v || !(v->vt & VT_BYREF) || !v->byref)
        return false;
    switch (v->vt & ~VT_BYREF) {
    case VT_I2: *v->piVal = SHORT(value); return true;
    case VT_UI2: *v->puiVal = USHORT(value); return true;
    case VT_I4:
    case VT_INT: *v->plVal = value; return true;
    case VT_UI4:
    case VT_UINT: *v->pulVal = ULONG(value); return true;
    case VT_UI1: *v->pbVal = BYTE(value); return true;
    case VT_BOOL: *v->pboolVal = value ? VARIANT_TRUE : VARIANT_FALSE; return true;
    case VT_VARIANT: {
        VARIANT *t = v->pvarVal;
        if (t->vt & VT_BYREF)
            return false;
        VariantClear(t);
        t->vt = VT_I4;
        t->lVal = value;
        return true;
    }
    default: return false;
    }
}

} // namespace com
