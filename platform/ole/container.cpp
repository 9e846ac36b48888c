#include "ole/container.h"
#include "com/activation.h"
#include "com/dispimpl.h"
#include "ole/olecolor.h"

#include <QApplication>
#include <QPointer>
#include <QResizeEvent>

namespace ole {

namespace {

class NotifySink final : public com::ComObject<IPropertyNotifySink>
{
public:
    NotifySink(std::function<void(DISPID)> changed, std::function<bool(DISPID)> request)
        : ComObject(com::ModuleCount::NotCounted), changed_(std::move(changed)), request_(std::move(request))
    {}
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispid) override
    {
        if (changed_)
            changed_(dispid);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispid) override
    {
        return !request_ || request_(dispid) ? S_OK : S_FALSE;
    }
    void detach()
    {
        changed_ = nullptr;
        request_ = nullptr;
    }

private:
    std::function<void(DISPID)> changed_;
    std::function<bool(DISPID)> request_;
};

} // namespace

class ControlContainer::Site final : public com::ComObject<IControlSite, IDispatch>
{
public:
    explicit Site(ControlContainer *owner) : ComObject(com::ModuleCount::NotCounted), owner_(owner) {}
    void detach() { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE GetAmbientProperty(DISPID dispid, VARIANT *value) override;
    HRESULT STDMETHODCALLTYPE GetContainerWidget(QWidget **pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = owner_.data();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL got) override
    {
        if (owner_)
            Q_EMIT owner_->controlFocusChanged(got != FALSE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RequestResize(LONG, LONG) override { return S_FALSE; }

    // Ambient properties are also readable through IDispatch (property get by DISPID).
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *p) override
    {
        if (!p)
            return E_POINTER;
        *p = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID riid, LCID, WORD flags, DISPPARAMS *params, VARIANT *result,
                                     EXCEPINFO *, UINT *) override
    {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (!(flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        if (params && params->cArgs)
            return DISP_E_BADPARAMCOUNT;
        if (!result)
            return E_POINTER;
        return GetAmbientProperty(dispid, result);
    }

private:
    QPointer<ControlContainer> owner_;
};

struct ControlContainer::State
{
    com::ComPtr<IUnknown> control;
    com::ComPtr<IQtControl> qt;
    QPointer<QWidget> widget;
    com::ComPtr<Site> site;
    com::ComPtr<com::DispatchSink> sink;
    com::ComPtr<IConnectionPoint> eventPoint;
    DWORD eventCookie = 0;
    IID eventIid = GUID_NULL;
    com::ComPtr<NotifySink> notify;
    com::ComPtr<IConnectionPoint> notifyPoint;
    DWORD notifyCookie = 0;

    QFont font = QApplication::font();
    com::ComPtr<IFontDisp> fontObject;
    OLE_COLOR back = systemColor(COLOR_BTNFACE);
    OLE_COLOR fore = systemColor(COLOR_BTNTEXT);
    bool userMode = true;
    LCID lcid = LOCALE_GERMAN;
    QString displayName;
    bool allowEdits = true;
    EventHandler handler;
};

HRESULT STDMETHODCALLTYPE ControlContainer::Site::GetAmbientProperty(DISPID dispid, VARIANT *value)
{
    if (!value)
        return E_POINTER;
    VariantInit(value);
    if (!owner_)
        return DISP_E_MEMBERNOTFOUND;
    State &s = *owner_->d;
    switch (dispid) {
    case DISPID_AMBIENT_BACKCOLOR:
        value->vt = VT_I4;
        value->lVal = LONG(s.back);
        return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
        value->vt = VT_I4;
        value->lVal = LONG(s.fore);
        return S_OK;
    case DISPID_AMBIENT_FONT:
        if (!s.fontObject)
            s.fontObject = createFont(s.font);
        if (!s.fontObject)
            return E_OUTOFMEMORY;
        value->vt = VT_DISPATCH;
        value->pdispVal = s.fontObject.get();
        value->pdispVal->AddRef();
        return S_OK;
    case DISPID_AMBIENT_USERMODE:
        value->vt = VT_BOOL;
        value->boolVal = s.userMode ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        value->vt = VT_I4;
        value->lVal = LONG(s.lcid);
        return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        value->vt = VT_BSTR;
        value->bstrVal = com::allocBstr(s.displayName);
        return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
        value->vt = VT_BOOL;
        value->boolVal = VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP:
        value->vt = VT_BOOL;
        value->boolVal = VARIANT_TRUE;
        return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

ControlContainer::ControlContainer(QWidget *parent) : QWidget(parent), d(std::make_unique<State>())
{
    d->site = com::ComPtr<Site>(new Site(this));
}

ControlContainer::~ControlContainer()
{
    destroyControl();
    d->site->detach();
}

HRESULT ControlContainer::createControl(const QString &progId)
{
    CLSID clsid;
    std::u16string p = progId.toStdU16String();
    HRESULT hr = CLSIDFromProgID(p.c_str(), &clsid);
    if (FAILED(hr))
        return hr;
    return createControl(clsid);
}

HRESULT ControlContainer::createControl(const CLSID &clsid)
{
    return createControl(clsid, static_cast<IStream *>(nullptr));
}

namespace {
HRESULT initialise(IUnknown *control, IStream *stream, IPropertyBag *bag)
{
    if (stream) {
        com::ComPtr<IPersistStreamInit> p;
        if (FAILED(control->QueryInterface(IID_IPersistStreamInit, p.putVoid())) || !p)
            return E_NOINTERFACE;
        return p->Load(stream);
    }
    if (bag) {
        com::ComPtr<IPersistPropertyBag> p;
        if (FAILED(control->QueryInterface(IID_IPersistPropertyBag, p.putVoid())) || !p)
            return E_NOINTERFACE;
        return p->Load(bag, nullptr);
    }
    com::ComPtr<IPersistStreamInit> ps;
    if (SUCCEEDED(control->QueryInterface(IID_IPersistStreamInit, ps.putVoid())) && ps)
        return ps->InitNew();
    com::ComPtr<IPersistPropertyBag> pb;
    if (SUCCEEDED(control->QueryInterface(IID_IPersistPropertyBag, pb.putVoid())) && pb)
        return pb->InitNew();
    return S_OK;
}
} // namespace

HRESULT ControlContainer::createControl(const CLSID &clsid, IStream *load)
{
    return create(clsid, load, nullptr);
}

HRESULT ControlContainer::createControl(const CLSID &clsid, IPropertyBag *load)
{
    return create(clsid, nullptr, load);
}

HRESULT ControlContainer::create(const CLSID &clsid, IStream *stream, IPropertyBag *bag)
{
    destroyControl();
    com::ComPtr<IUnknown> control;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.putVoid());
    if (FAILED(hr))
        return hr;
    d->control = control;
    if (FAILED(control->QueryInterface(IID_IQtControl, d->qt.putVoid())) || !d->qt) {
        destroyControl();
        return E_NOINTERFACE;
    }
    // the site comes first, so that loading can read ambient properties
    d->qt->SetSite(d->site.get());
    hr = initialise(control.get(), stream, bag);
    if (FAILED(hr)) {
        destroyControl();
        return hr;
    }
    return activate(control.get());
}

HRESULT ControlContainer::activate(IUnknown *control)
{
    HRESULT hr = S_OK;
    // events: the default source interface
    com::ComPtr<IProvideClassInfo2> info;
    com::ComPtr<IConnectionPointContainer> cpc;
    control->QueryInterface(IID_IConnectionPointContainer, cpc.putVoid());
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, info.putVoid())) && info && cpc) {
        IID source;
        if (SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source)) &&
            SUCCEEDED(cpc->FindConnectionPoint(source, d->eventPoint.put())) && d->eventPoint) {
            QPointer<ControlContainer> self(this);
            d->sink = com::ComPtr<com::DispatchSink>(
                new com::DispatchSink(source, [self](DISPID dispid, DISPPARAMS *params, VARIANT *) {
                    if (self)
                        self->dispatchEvent(dispid, params);
                    return S_OK;
                }));
            if (SUCCEEDED(d->eventPoint->Advise(static_cast<IDispatch *>(d->sink.get()), &d->eventCookie)))
                d->eventIid = source;
            else
                d->eventPoint.reset();
        }
    }
    if (cpc && SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, d->notifyPoint.put())) && d->notifyPoint) {
        QPointer<ControlContainer> self(this);
        d->notify = com::ComPtr<NotifySink>(new NotifySink(
            [self](DISPID id) {
                if (self)
                    Q_EMIT self->propertyChanged(int(id));
            },
            [self](DISPID) { return !self || self->d->allowEdits; }));
        if (FAILED(d->notifyPoint->Advise(d->notify.get(), &d->notifyCookie)))
            d->notifyPoint.reset();
    }

    QWidget *w = nullptr;
    hr = d->qt->Activate(this, &w);
    if (FAILED(hr)) {
        destroyControl();
        return hr;
    }
    d->widget = w;
    if (w) {
        if (w->parentWidget() != this)
            w->setParent(this);
        layoutControl();
        w->show();
    }
    return S_OK;
}

void ControlContainer::destroyControl()
{
    if (d->eventPoint) {
        d->eventPoint->Unadvise(d->eventCookie);
        d->eventPoint.reset();
    }
    if (d->sink) {
        d->sink->setHandler(nullptr);
        d->sink.reset();
    }
    d->eventIid = GUID_NULL;
    if (d->notifyPoint) {
        d->notifyPoint->Unadvise(d->notifyCookie);
        d->notifyPoint.reset();
    }
    if (d->notify) {
        d->notify->detach();
        d->notify.reset();
    }
    if (d->qt) {
        d->qt->Deactivate();
        d->qt->SetSite(nullptr);
        d->qt.reset();
    }
    d->widget = nullptr;
    d->control.reset();
}

bool ControlContainer::hasControl() const
{
    return bool(d->control);
}
IUnknown *ControlContainer::controlUnknown() const
{
    return d->control.get();
}
com::ComPtr<IDispatch> ControlContainer::controlDispatch() const
{
    return control<IDispatch>();
}
QWidget *ControlContainer::controlWidget() const
{
    return d->widget.data();
}
IID ControlContainer::eventInterface() const
{
    return d->eventIid;
}

HRESULT ControlContainer::getProperty(DISPID dispid, VARIANT *value) const
{
    auto disp = controlDispatch();
    if (!disp)
        return E_NOINTERFACE;
    return com::dispGet(disp.get(), dispid, value);
}

HRESULT ControlContainer::setProperty(DISPID dispid, const VARIANT &value)
{
    auto disp = controlDispatch();
    if (!disp)
        return E_NOINTERFACE;
    return com::dispPut(disp.get(), dispid, value);
}

HRESULT ControlContainer::callMethod(DISPID dispid, std::initializer_list<VARIANT> args, VARIANT *result)
{
    auto disp = controlDispatch();
    if (!disp)
        return E_NOINTERFACE;
    return com::dispCall(disp.get(), dispid, args, result);
}

void ControlContainer::setAmbientFont(const QFont &font)
{
    d->font = font;
    d->fontObject.reset();
    notifyAmbient(DISPID_AMBIENT_FONT);
}
QFont ControlContainer::ambientFont() const
{
    return d->font;
}
void ControlContainer::setAmbientBackColor(OLE_COLOR c)
{
    d->back = c;
    notifyAmbient(DISPID_AMBIENT_BACKCOLOR);
}
OLE_COLOR ControlContainer::ambientBackColor() const
{
    return d->back;
}
void ControlContainer::setAmbientForeColor(OLE_COLOR c)
{
    d->fore = c;
    notifyAmbient(DISPID_AMBIENT_FORECOLOR);
}
OLE_COLOR ControlContainer::ambientForeColor() const
{
    return d->fore;
}
void ControlContainer::setUserMode(bool userMode)
{
    d->userMode = userMode;
    notifyAmbient(DISPID_AMBIENT_USERMODE);
}
bool ControlContainer::userMode() const
{
    return d->userMode;
}
void ControlContainer::setLocaleId(LCID lcid)
{
    d->lcid = lcid;
    notifyAmbient(DISPID_AMBIENT_LOCALEID);
}
LCID ControlContainer::localeId() const
{
    return d->lcid;
}
void ControlContainer::setDisplayName(const QString &name)
{
    d->displayName = name;
    notifyAmbient(DISPID_AMBIENT_DISPLAYNAME);
}
void ControlContainer::setAllowPropertyEdits(bool allow)
{
    d->allowEdits = allow;
}
void ControlContainer::setEventHandler(EventHandler handler)
{
    d->handler = std::move(handler);
}

void ControlContainer::dispatchEvent(DISPID dispid, DISPPARAMS *params)
{
    com::EventArgs args(params);
    if (d->handler) {
        EventHandler h = d->handler;
        h(dispid, args);
    }
    Q_EMIT controlEvent(int(dispid), &args);
}

void ControlContainer::notifyAmbient(DISPID dispid)
{
    if (d->qt)
        d->qt->AmbientPropertyChanged(dispid);
}

void ControlContainer::layoutControl()
{
    if (d->widget)
        d->widget->setGeometry(contentsRect());
}

void ControlContainer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControl();
}

QSize ControlContainer::sizeHint() const
{
    if (!d->widget)
        return QWidget::sizeHint();
    const QMargins m = contentsMargins();
    return d->widget->sizeHint().grownBy(m);
}

QSize ControlContainer::minimumSizeHint() const
{
    if (!d->widget)
        return QWidget::minimumSizeHint();
    const QSize hint = d->widget->minimumSizeHint();
    return hint.isValid() ? hint.grownBy(contentsMargins()) : hint;
}

bool ControlContainer::event(QEvent *event)
{
    // The hosted widget's hints changed (its updateGeometry reaches its parent as a layout
    // request): the container's own layout is told in turn.
    if (event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QWidget::event(event);
}

} // namespace ole
