#pragma once
// IDispatch and the minimal type information behind it, the standard DISPIDs and the error-info
// interfaces.
#include "com/variant.h"

struct ITypeInfo;
struct ITypeLib;
struct ITypeComp;

struct DISPPARAMS
{
    VARIANTARG *rgvarg;        // arguments in reverse order; named arguments first
    DISPID *rgdispidNamedArgs; // DISPIDs of the named arguments
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO
{
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    PVOID pvReserved;
    HRESULT(STDMETHODCALLTYPE *pfnDeferredFillIn)(EXCEPINFO *);
    SCODE scode;
};

// Invoke flags.
inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

// Standard DISPIDs.
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_NEWENUM = -4;
inline constexpr DISPID DISPID_EVALUATE = -5;
// Stock properties and methods of controls.
inline constexpr DISPID DISPID_AUTOSIZE = -500;
inline constexpr DISPID DISPID_BACKCOLOR = -501;
inline constexpr DISPID DISPID_BACKSTYLE = -502;
inline constexpr DISPID DISPID_BORDERCOLOR = -503;
inline constexpr DISPID DISPID_BORDERSTYLE = -504;
inline constexpr DISPID DISPID_BORDERWIDTH = -505;
inline constexpr DISPID DISPID_FONT = -512;
inline constexpr DISPID DISPID_FORECOLOR = -513;
inline constexpr DISPID DISPID_ENABLED = -514;
inline constexpr DISPID DISPID_HWND = -515;
inline constexpr DISPID DISPID_TABSTOP = -516;
inline constexpr DISPID DISPID_TEXT = -517;
inline constexpr DISPID DISPID_CAPTION = -518;
inline constexpr DISPID DISPID_APPEARANCE = -520;
inline constexpr DISPID DISPID_REFRESH = -550;
inline constexpr DISPID DISPID_DOCLICK = -551;
inline constexpr DISPID DISPID_ABOUTBOX = -552;
// Stock events.
inline constexpr DISPID DISPID_CLICK = -600;
inline constexpr DISPID DISPID_DBLCLICK = -601;
inline constexpr DISPID DISPID_KEYDOWN = -602;
inline constexpr DISPID DISPID_KEYPRESS = -603;
inline constexpr DISPID DISPID_KEYUP = -604;
inline constexpr DISPID DISPID_MOUSEDOWN = -605;
inline constexpr DISPID DISPID_MOUSEMOVE = -606;
inline constexpr DISPID DISPID_MOUSEUP = -607;
inline constexpr DISPID DISPID_ERROREVENT = -608;
// Ambient properties (read from the container's site, ole/ambient.h).
inline constexpr DISPID DISPID_AMBIENT_BACKCOLOR = -701;
inline constexpr DISPID DISPID_AMBIENT_DISPLAYNAME = -702;
inline constexpr DISPID DISPID_AMBIENT_FONT = -703;
inline constexpr DISPID DISPID_AMBIENT_FORECOLOR = -704;
inline constexpr DISPID DISPID_AMBIENT_LOCALEID = -705;
inline constexpr DISPID DISPID_AMBIENT_MESSAGEREFLECT = -706;
inline constexpr DISPID DISPID_AMBIENT_SCALEUNITS = -707;
inline constexpr DISPID DISPID_AMBIENT_TEXTALIGN = -708;
inline constexpr DISPID DISPID_AMBIENT_USERMODE = -709;
inline constexpr DISPID DISPID_AMBIENT_UIDEAD = -710;
inline constexpr DISPID DISPID_AMBIENT_SHOWGRABHANDLES = -711;
inline constexpr DISPID DISPID_AMBIENT_SHOWHATCHING = -712;
inline constexpr DISPID DISPID_AMBIENT_DISPLAYASDEFAULT = -713;
inline constexpr DISPID DISPID_AMBIENT_SUPPORTSMNEMONICS = -714;
inline constexpr DISPID DISPID_AMBIENT_AUTOCLIP = -715;
inline constexpr DISPID DISPID_AMBIENT_APPEARANCE = -716;

struct IDispatch : IUnknown
{
    static constexpr IID iid = com::makeGuid("00020400-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                                                    DISPID *rgDispId) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                             DISPPARAMS *pDispParams, VARIANT *pVarResult, EXCEPINFO *pExcepInfo,
                                             UINT *puArgErr) = 0;
};
using LPDISPATCH = IDispatch *;
inline constexpr IID IID_IDispatch = IDispatch::iid;

// ---- minimal type information -----------------------------------------------------------------
enum TYPEKIND : int32_t {
    TKIND_ENUM = 0,
    TKIND_RECORD,
    TKIND_MODULE,
    TKIND_INTERFACE,
    TKIND_DISPATCH,
    TKIND_COCLASS,
    TKIND_ALIAS,
    TKIND_UNION,
    TKIND_MAX
};
enum INVOKEKIND : int32_t {
    INVOKE_FUNC = 1,
    INVOKE_PROPERTYGET = 2,
    INVOKE_PROPERTYPUT = 4,
    INVOKE_PROPERTYPUTREF = 8
};
struct TYPEDESC
{
    union {
        TYPEDESC *lptdesc;
        PVOID lpadesc;
        DWORD hreftype;
    };
    VARTYPE vt;
};
struct IDLDESC
{
    ULONG_PTR dwReserved;
    USHORT wIDLFlags;
};
struct TYPEATTR
{
    GUID guid;
    LCID lcid;
    DWORD dwReserved;
    MEMBERID memidConstructor;
    MEMBERID memidDestructor;
    LPOLESTR lpstrSchema;
    ULONG cbSizeInstance;
    TYPEKIND typekind;
    WORD cFuncs;
    WORD cVars;
    WORD cImplTypes;
    WORD cbSizeVft;
    WORD cbAlignment;
    WORD wTypeFlags;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    TYPEDESC tdescAlias;
    IDLDESC idldescType;
};
struct FUNCDESC; // not described here: GetFuncDesc answers E_NOTIMPL
struct VARDESC;
using HREFTYPE = DWORD;
inline constexpr int IMPLTYPEFLAG_FDEFAULT = 0x1;
inline constexpr int IMPLTYPEFLAG_FSOURCE = 0x2;

// COM's ITypeInfo in vtable order. The runtime's type information (com/dispimpl.h) answers
// GetTypeAttr, GetNames, GetIDsOfNames, GetDocumentation (name only), and, for a class,
// GetRefTypeOfImplType, GetImplTypeFlags and GetRefTypeInfo; everything else gives E_NOTIMPL.
struct ITypeInfo : IUnknown
{
    static constexpr IID iid = com::makeGuid("00020401-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR **ppTypeAttr) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp **ppTComp) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC **ppFuncDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC **ppVarDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNames(MEMBERID memid, BSTR *rgBstrNames, UINT cMaxNames, UINT *pcNames) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE *pRefType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT *pImplTypeFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR *rgszNames, UINT cNames, MEMBERID *pMemId) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(PVOID pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS *pDispParams,
                                             VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID memid, BSTR *pBstrName, BSTR *pBstrDocString,
                                                       DWORD *pdwHelpContext, BSTR *pBstrHelpFile) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID memid, INVOKEKIND invKind, BSTR *pBstrDllName,
                                                  BSTR *pBstrName, WORD *pwOrdinal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo **ppTInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID memid, INVOKEKIND invKind, PVOID *ppv) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *pUnkOuter, REFIID riid, PVOID *ppvObj) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMops(MEMBERID memid, BSTR *pBstrMops) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib **ppTLib, UINT *pIndex) = 0;
    virtual void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR *pTypeAttr) = 0;
    virtual void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC *pFuncDesc) = 0;
    virtual void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC *pVarDesc) = 0;
};
inline constexpr IID IID_ITypeInfo = ITypeInfo::iid;

// ---- error information ------------------------------------------------------------------------
struct IErrorInfo : IUnknown
{
    static constexpr IID iid = com::makeGuid("1CF2B120-547D-101B-8E65-08002B2BD119");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetGUID(GUID *pGUID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSource(BSTR *pBstrSource) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDescription(BSTR *pBstrDescription) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR *pBstrHelpFile) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD *pdwHelpContext) = 0;
};
struct ICreateErrorInfo : IUnknown
{
    static constexpr IID iid = com::makeGuid("22F03340-547D-101B-8E65-08002B2BD119");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR szSource) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR szDescription) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR szHelpFile) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) = 0;
};
struct ISupportErrorInfo : IUnknown
{
    static constexpr IID iid = com::makeGuid("DF0B3D60-548F-101B-8E65-08002B2BD119");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) = 0;
};
inline constexpr IID IID_IErrorInfo = IErrorInfo::iid;
inline constexpr IID IID_ICreateErrorInfo = ICreateErrorInfo::iid;
inline constexpr IID IID_ISupportErrorInfo = ISupportErrorInfo::iid;

// The error object of the calling thread (dwReserved must be 0). GetErrorInfo hands the object
// over and clears it; S_FALSE when there is none.
TV_COM_EXPORT HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo *perrinfo);
TV_COM_EXPORT HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo **pperrinfo);
TV_COM_EXPORT HRESULT CreateErrorInfo(ICreateErrorInfo **pperrinfo);

namespace com {
// Sets the thread's error object (interface, source, description) and returns hr, so that a member
// can write `return com::reportError(hr, IID_IMine, u"Source", "Text");`.
HRESULT reportError(HRESULT hr, REFIID iid, const QString &source, const QString &description);
// The description of the thread's current error object (empty when none); the object stays set.
QString currentErrorDescription();
// Fills an EXCEPINFO from hr and the thread's error object (taken and cleared).
void fillExcepInfo(EXCEPINFO *info, HRESULT hr, const QString &fallbackSource = QString());
// Frees the strings of an EXCEPINFO and zeroes it.
void clearExcepInfo(EXCEPINFO *info);
} // namespace com
