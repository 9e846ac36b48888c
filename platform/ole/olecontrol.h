#pragma once
// The in-process control contract. In-place activation as the original platform has it does not
// exist here; a control and its container meet through two small interfaces instead:
//
//  - the container creates the control (CoCreateInstance), initialises or loads its properties
//    (IPersistStreamInit / IPersistPropertyBag), gives it a site with SetSite, and calls Activate
//    with the QWidget that is to hold it;
//  - Activate creates the control's widget once, as a child of that parent, and returns it; the
//    control owns the widget, the container only places and resizes it (geometry of the returned
//    widget) and shows or hides it;
//  - the control reads ambient properties (DISPID_AMBIENT_*) through its site, and the container
//    tells it of changes with AmbientPropertyChanged;
//  - events go out through the control's connection points (the default source named by
//    IProvideClassInfo2, and IPropertyNotifySink for bound properties);
//  - Deactivate destroys the widget; SetSite(nullptr) releases the site. A control must survive
//    its widget being destroyed by its parent (use QPointer).
#include "com/dispatch.h"
#include "com/interfaces.h"

class QWidget;

struct IControlSite : IUnknown
{
    static constexpr IID iid = com::makeGuid("6E3A1C20-5B7D-4F0E-9C41-2A8D7F3B6E01");
    using base_type = IUnknown;
    // The value of an ambient property; DISP_E_MEMBERNOTFOUND when the container does not know it.
    virtual HRESULT STDMETHODCALLTYPE GetAmbientProperty(DISPID dispid, VARIANT *pValue) = 0;
    // The container's widget (the parent the control is activated in); null before activation.
    virtual HRESULT STDMETHODCALLTYPE GetContainerWidget(QWidget **ppWidget) = 0;
    // The control took or lost the keyboard focus.
    virtual HRESULT STDMETHODCALLTYPE OnFocus(BOOL fGotFocus) = 0;
    // The control wants another size (pixels); the container may follow or ignore it.
    virtual HRESULT STDMETHODCALLTYPE RequestResize(LONG cx, LONG cy) = 0;
};

struct IQtControl : IUnknown
{
    static constexpr IID iid = com::makeGuid("6E3A1C21-5B7D-4F0E-9C41-2A8D7F3B6E01");
    using base_type = IUnknown;
    // Keeps a reference to the site (null releases it).
    virtual HRESULT STDMETHODCALLTYPE SetSite(IControlSite *pSite) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSite(IControlSite **ppSite) = 0;
    // Creates the widget as a child of parent (once; a second call re-parents it) and returns it.
    virtual HRESULT STDMETHODCALLTYPE Activate(QWidget *parent, QWidget **ppWidget) = 0;
    // Destroys the widget. S_FALSE when there was none.
    virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
    // The widget, or null with S_FALSE before Activate.
    virtual HRESULT STDMETHODCALLTYPE GetWidget(QWidget **ppWidget) = 0;
    // The natural size in pixels (the container's first size for the control).
    virtual HRESULT STDMETHODCALLTYPE GetNaturalSize(SIZE *pSize) = 0;
    // An ambient property changed (DISPID_UNKNOWN: possibly all).
    virtual HRESULT STDMETHODCALLTYPE AmbientPropertyChanged(DISPID dispid) = 0;
};
inline constexpr IID IID_IControlSite = IControlSite::iid;
inline constexpr IID IID_IQtControl = IQtControl::iid;
