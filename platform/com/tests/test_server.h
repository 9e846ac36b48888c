#pragma once
// The tiny component library the tests load through the registry: one control class "Counter"
// with a dual interface, an event interface and the in-process control contract.
#include "com/dispatch.h"

inline constexpr CLSID CLSID_TestCounter = com::makeGuid("5A1E0C01-7D2B-4C3A-9E11-0F2D3C4B5A01");
inline constexpr CLSID CLSID_TestUnserved = com::makeGuid("5A1E0C02-7D2B-4C3A-9E11-0F2D3C4B5A01");
inline constexpr IID DIID_TestCounterEvents = com::makeGuid("5A1E0C03-7D2B-4C3A-9E11-0F2D3C4B5A01");

struct ITestCounter : IDispatch
{
    static constexpr IID iid = com::makeGuid("5A1E0C04-7D2B-4C3A-9E11-0F2D3C4B5A01");
    using base_type = IDispatch;
    virtual HRESULT STDMETHODCALLTYPE get_Value(LONG *p) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(LONG v) = 0;
    // Adds n and raises Changed(new value); a handler may veto by calling Veto.
    virtual HRESULT STDMETHODCALLTYPE Add(LONG n) = 0;
    virtual HRESULT STDMETHODCALLTYPE Veto() = 0;
    // The ambient user mode the control read from its site (-1 without site).
    virtual HRESULT STDMETHODCALLTYPE get_SiteUserMode(LONG *p) = 0;
};

inline constexpr DISPID DISPID_TEST_VALUE = 1;
inline constexpr DISPID DISPID_TEST_ADD = 2;
inline constexpr DISPID DISPID_TEST_VETO = 3;
inline constexpr DISPID DISPID_TEST_SITEUSERMODE = 4;
inline constexpr DISPID DISPID_TESTEVT_CHANGED = 1;
