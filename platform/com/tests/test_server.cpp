// A minimal in-process component library for the runtime's tests.
#include "test_server.h"

#include "com/activation.h"
#include "com/connpt.h"
#include "com/dispimpl.h"
#include "com/object.h"
#include "com/regscript.h"
#include "ole/ambient.h"
#include "ole/olecontrol.h"

#include <QLabel>
#include <QPointer>

TV_COM_MODULE()

namespace {

class Counter final
    : public com::ComObject<ITestCounter, IProvideClassInfo2, IConnectionPointContainer, IQtControl, IPersistStreamInit>
{
public:
    ~Counter() override
    {
        points_.clearAll();
        delete widget_.data();
    }

    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<Counter>;
        static const com::DispatchTable t(
            ITestCounter::iid, u"ITestCounter",
            {
                B::get<&Counter::get_Value>(DISPID_TEST_VALUE, u"Value"),
                B::put<&Counter::put_Value>(DISPID_TEST_VALUE, u"Value"),
                B::method<&Counter::Add>(DISPID_TEST_ADD, u"Add"),
                B::method<&Counter::Veto>(DISPID_TEST_VETO, u"Veto"),
                B::get<&Counter::get_SiteUserMode>(DISPID_TEST_SITEUSERMODE, u"SiteUserMode"),
            });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())

    HRESULT STDMETHODCALLTYPE get_Value(LONG *p) override
    {
        if (!p)
            return E_POINTER;
        *p = value_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Value(LONG v) override
    {
        value_ = v;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Add(LONG n) override
    {
        vetoed_ = false;
        events_.fire(DISPID_TESTEVT_CHANGED, {com::Variant::i4(value_ + n)});
        if (!vetoed_)
            value_ += n;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Veto() override
    {
        vetoed_ = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_SiteUserMode(LONG *p) override
    {
        if (!p)
            return E_POINTER;
        *p = site_ ? (ole::ambientUserMode(site_.get(), true) ? 1 : 0) : -1;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **pp) override { return com::classTypeInfo(info(), pp); }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *p) override { return com::classSourceGuid(info(), kind, p); }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **pp) override
    {
        return points_.enumConnectionPoints(pp);
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **pp) override
    {
        return points_.findConnectionPoint(riid, pp);
    }

    HRESULT STDMETHODCALLTYPE SetSite(IControlSite *site) override
    {
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSite(IControlSite **pp) override { return site_.copyTo(pp); }
    HRESULT STDMETHODCALLTYPE Activate(QWidget *parent, QWidget **pp) override
    {
        if (!pp)
            return E_POINTER;
        if (!widget_)
            widget_ = new QLabel(QStringLiteral("Zähler"), parent);
        else
            widget_->setParent(parent);
        *pp = widget_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override
    {
        if (!widget_)
            return S_FALSE;
        delete widget_.data();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWidget(QWidget **pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = widget_;
        return widget_ ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetNaturalSize(SIZE *p) override
    {
        if (!p)
            return E_POINTER;
        *p = {100, 20};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AmbientPropertyChanged(DISPID) override
    {
        ++ambientChanges_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *p) override
    {
        if (!p)
            return E_POINTER;
        *p = CLSID_TestCounter;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream *) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(IStream *, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *p) override
    {
        if (!p)
            return E_POINTER;
        p->QuadPart = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitNew() override
    {
        value_ = 7;
        return S_OK;
    }

private:
    static const com::CoClassInfo &info()
    {
        static const com::CoClassInfo i{CLSID_TestCounter, u"Counter", &table(), DIID_TestCounterEvents, nullptr};
        return i;
    }

    LONG value_ = 0;
    bool vetoed_ = false;
    int ambientChanges_ = 0;
    com::ComPtr<IControlSite> site_;
    QPointer<QWidget> widget_;
    com::ConnectionPoint events_{identity(), DIID_TestCounterEvents};
    com::ConnectionPoints points_{this, {&events_}};
};

const com::ClassEntry kClasses[] = {{&CLSID_TestCounter, &com::createInstance<Counter>}};

const char kScript[] = R"(
HKCR
{
    TvTest.Counter.1 = s 'Test Counter'
    {
        CLSID = s '{5A1E0C01-7D2B-4C3A-9E11-0F2D3C4B5A01}'
    }
    TvTest.Counter = s 'Test Counter'
    {
        CLSID = s '{5A1E0C01-7D2B-4C3A-9E11-0F2D3C4B5A01}'
        CurVer = s 'TvTest.Counter.1'
    }
    NoRemove CLSID
    {
        ForceRemove {5A1E0C01-7D2B-4C3A-9E11-0F2D3C4B5A01} = s 'Test Counter'
        {
            ProgID = s 'TvTest.Counter.1'
            VersionIndependentProgID = s 'TvTest.Counter'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
        ForceRemove {5A1E0C02-7D2B-4C3A-9E11-0F2D3C4B5A01} = s 'Not served'
        {
            InprocServer32 = s '%MODULE%'
        }
    }
}
)";

HRESULT runScript(bool doRegister)
{
    QMap<QString, QString> repl{
        {QStringLiteral("MODULE"), com::modulePath(reinterpret_cast<const void *>(&runScript))}};
    return com::runRegistryScript(QString::fromUtf8(kScript), doRegister, repl);
}

} // namespace

TV_COM_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void **ppv)
{
    return com::getClassObject(kClasses, clsid, riid, ppv);
}

TV_COM_EXPORT HRESULT DllCanUnloadNow()
{
    return com::moduleLock().canUnloadNow();
}

TV_COM_EXPORT HRESULT DllRegisterServer()
{
    HRESULT hr = runScript(true);
    return FAILED(hr) ? SELFREG_E_CLASS : S_OK;
}

TV_COM_EXPORT HRESULT DllUnregisterServer()
{
    HRESULT hr = runScript(false);
    return FAILED(hr) ? SELFREG_E_CLASS : S_OK;
}
