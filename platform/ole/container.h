#pragma once
// A widget that hosts one in-process control (ole/control.h): it creates the control by CLSID or
// ProgID, gives it a site with the ambient properties below, activates it inside itself (the
// control's widget fills the container and follows its size), and receives the control's events
// through a sink advised on the control's default source interface (IProvideClassInfo2) and its
// property notifications.
//
// Events reach the application as the controlEvent signal and the event handler; both run
// synchronously while the control raises the event (connect with a direct connection), so a handler
// may answer through BYREF arguments or call back into the control (a veto with CancelEvent).
#include "com/connpt.h"
#include "com/dispatch.h"
#include "ole/font.h"
#include "ole/olecontrol.h"

#include <QFont>
#include <QWidget>

#include <functional>
#include <memory>

namespace ole {

class ControlContainer : public QWidget
{
    Q_OBJECT

public:
    explicit ControlContainer(QWidget *parent = nullptr);
    ~ControlContainer() override;

    // Creates, initialises (IPersistStreamInit::InitNew or IPersistPropertyBag::InitNew, or Load from
    // the given stream / bag) and activates the control. A control already hosted is destroyed first.
    HRESULT createControl(const CLSID &clsid);
    HRESULT createControl(const QString &progId);
    HRESULT createControl(const CLSID &clsid, IStream *load);
    HRESULT createControl(const CLSID &clsid, IPropertyBag *load);
    // Unadvises, deactivates and releases the control.
    void destroyControl();

    bool hasControl() const;
    IUnknown *controlUnknown() const;
    com::ComPtr<IDispatch> controlDispatch() const;
    template <class T>
    com::ComPtr<T> control() const
    {
        com::ComPtr<T> r;
        if (IUnknown *u = controlUnknown())
            u->QueryInterface(T::iid, r.putVoid());
        return r;
    }
    QWidget *controlWidget() const;
    // The IID of the event interface the container listens on (GUID_NULL when none).
    IID eventInterface() const;

    // Automation shortcuts on the control's IDispatch.
    HRESULT getProperty(DISPID dispid, VARIANT *value) const;
    HRESULT setProperty(DISPID dispid, const VARIANT &value);
    HRESULT callMethod(DISPID dispid, std::initializer_list<VARIANT> args = {}, VARIANT *result = nullptr);

    // Ambient properties (each change is told to the control).
    void setAmbientFont(const QFont &font);
    QFont ambientFont() const;
    void setAmbientBackColor(OLE_COLOR c);
    OLE_COLOR ambientBackColor() const;
    void setAmbientForeColor(OLE_COLOR c);
    OLE_COLOR ambientForeColor() const;
    void setUserMode(bool userMode);
    bool userMode() const;
    void setLocaleId(LCID lcid);
    LCID localeId() const;
    void setDisplayName(const QString &name);
    // Whether the container allows edits of bound properties (IPropertyNotifySink::OnRequestEdit).
    void setAllowPropertyEdits(bool allow);

    using EventHandler = std::function<void(DISPID dispid, com::EventArgs &args)>;
    void setEventHandler(EventHandler handler);

    // The hosted widget's size hints with the container's margins, so that a layout gives the
    // control the room it asks for; without a control, QWidget's.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // An event of the control; args is valid only during the emission.
    void controlEvent(int dispid, com::EventArgs *args);
    // IPropertyNotifySink::OnChanged from the control.
    void propertyChanged(int dispid);
    void controlFocusChanged(bool gotFocus);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    class Site;
    struct State;
    friend class Site;
    HRESULT create(const CLSID &clsid, IStream *stream, IPropertyBag *bag);
    HRESULT activate(IUnknown *control);
    void dispatchEvent(DISPID dispid, DISPPARAMS *params);
    void notifyAmbient(DISPID dispid);
    void layoutControl();
    std::unique_ptr<State> d;
};

} // namespace ole
