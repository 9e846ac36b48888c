#pragma once
// Connection points: the outgoing side of an object (events, property notification).
//
// An object owns one ConnectionPoint per outgoing interface and a ConnectionPoints list that
// answers IConnectionPointContainer:
//
//   class Bar : public com::ComObject<IBar, IConnectionPointContainer, ...> {
//       com::ConnectionPoint events_{identity(), DIID_BarEvents};
//       com::ConnectionPoints points_{this, {&events_}};
//       HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **pp) override
//       { return points_.enumConnectionPoints(pp); }
//       HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **pp) override
//       { return points_.findConnectionPoint(riid, pp); }
//   };
//   events_.fire(1, {com::Variant::dispatch(group)});
//
// A connection point's AddRef/Release go to its owner, so a client holding the point keeps the
// owner alive. Raising an event works on a snapshot of the sinks (each held with a reference during
// the call), so a sink may Unadvise itself or others while it is being called; a sink advised
// during a raise is first called by the next raise.
#include "com/dispimpl.h"
#include "com/interfaces.h"
#include "com/object.h"

#include <functional>
#include <mutex>
#include <vector>

namespace com {

class ConnectionPoint : public IConnectionPoint
{
public:
    // owner: the object's IUnknown identity (not AddRef'd: the point lives inside the owner).
    ConnectionPoint(IUnknown *owner, const IID &iid);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint &) = delete;
    ConnectionPoint &operator=(const ConnectionPoint &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID *pIID) override;
    // The owner queried for IConnectionPointContainer.
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer **ppCPC) override;
    // Queries the sink for the point's interface (for a dispatch interface IDispatch is accepted
    // too); CONNECT_E_CANNOTCONNECT when it has neither. Cookies start at 1 and are never reused.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown *pUnkSink, DWORD *pdwCookie) override;
    // CONNECT_E_NOCONNECTION for an unknown cookie.
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections **ppEnum) override;

    const IID &iid() const { return iid_; }
    std::size_t sinkCount() const;
    // The sinks in connection order, each with a reference.
    std::vector<ComPtr<IUnknown>> sinks() const;
    // Drops every connection (teardown).
    void clear();

    // Calls IDispatch::Invoke(dispid, method call) on every sink in connection order with the
    // arguments given in natural order (they are not consumed; BYREF arguments let sinks answer).
    // A failing sink does not stop the others. Returns the number of sinks called.
    int fire(DISPID dispid, std::initializer_list<VARIANT> args = {});
    int fire(DISPID dispid, const VARIANT *args, UINT count);

    // IPropertyNotifySink helpers: OnChanged on every sink; OnRequestEdit is true unless a sink
    // answers S_FALSE.
    void notifyChanged(DISPID dispid);
    bool requestEdit(DISPID dispid);

private:
    struct Connection
    {
        DWORD cookie;
        ComPtr<IUnknown> sink;
    };
    IUnknown *owner_;
    IID iid_;
    mutable std::mutex mutex_;
    std::vector<Connection> connections_;
    DWORD nextCookie_ = 1;
};

// The list of an object's connection points: the body of IConnectionPointContainer.
class ConnectionPoints
{
public:
    ConnectionPoints(IConnectionPointContainer *container, std::initializer_list<ConnectionPoint *> points);
    HRESULT findConnectionPoint(REFIID riid, IConnectionPoint **ppCP) const;
    HRESULT enumConnectionPoints(IEnumConnectionPoints **ppEnum) const;
    IConnectionPointContainer *container() const { return container_; }
    // Drops every connection of every point (teardown).
    void clearAll();

private:
    IConnectionPointContainer *container_;
    std::vector<ConnectionPoint *> points_;
};

// An event sink built from a function: answers IUnknown, IDispatch and the given event IID.
// Invoke calls the handler with the DISPID and the parameters as the source passed them (reverse
// order; use EventArgs for natural order).
class DispatchSink : public ComObject<IDispatch>
{
public:
    using Handler = std::function<HRESULT(DISPID dispid, DISPPARAMS *params, VARIANT *result)>;
    DispatchSink(const IID &eventIid, Handler handler);
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *excep, UINT *argErr) override;
    void setHandler(Handler handler);

protected:
    void *findInterface(REFIID riid) override;

private:
    IID eventIid_;
    Handler handler_;
};

// Natural-order access to the arguments of an Invoke.
class EventArgs
{
public:
    explicit EventArgs(DISPPARAMS *params) : params_(params) {}
    UINT count() const { return params_ ? params_->cArgs - params_->cNamedArgs : 0; }
    // The i-th argument (0 = first), or nullptr when out of range. BYREF arguments may be written.
    VARIANT *at(UINT i) const;
    // The i-th argument with BYREF resolved, converted (empty/invalid when missing or unconvertible).
    LONG toInt(UINT i, LONG def = 0) const;
    double toDouble(UINT i, double def = 0.0) const;
    bool toBool(UINT i, bool def = false) const;
    QString toString(UINT i) const;
    ComPtr<IDispatch> toDispatch(UINT i) const;
    // Writes value into a BYREF argument of a numeric or boolean type; false when not BYREF.
    bool setByRef(UINT i, LONG value) const;

private:
    DISPPARAMS *params_;
};

} // namespace com
