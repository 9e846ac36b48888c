#pragma once
// The further COM interfaces a control and its container use, in COM's vtable order:
// connection points, class information, object safety, property notification, persistence,
// streams, storages, property bags, property pages and the component-categories manager.
#include "com/dispatch.h"

// ---- connection points ------------------------------------------------------------------------
struct IConnectionPointContainer;
struct IConnectionPoint;

struct CONNECTDATA
{
    IUnknown *pUnk;
    DWORD dwCookie;
};

struct IEnumConnections : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B287-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG cConnections, CONNECTDATA *rgcd, ULONG *pcFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG cConnections) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumConnections **ppEnum) = 0;
};
struct IConnectionPoint : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B286-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID *pIID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer **ppCPC) = 0;
    virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown *pUnkSink, DWORD *pdwCookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections **ppEnum) = 0;
};
struct IEnumConnectionPoints : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B285-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG cConnections, IConnectionPoint **ppCP, ULONG *pcFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG cConnections) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints **ppEnum) = 0;
};
struct IConnectionPointContainer : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B284-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) = 0;
};
inline constexpr IID IID_IEnumConnections = IEnumConnections::iid;
inline constexpr IID IID_IConnectionPoint = IConnectionPoint::iid;
inline constexpr IID IID_IEnumConnectionPoints = IEnumConnectionPoints::iid;
inline constexpr IID IID_IConnectionPointContainer = IConnectionPointContainer::iid;

// Property change notification (outgoing interface of controls and fonts).
struct IPropertyNotifySink : IUnknown
{
    static constexpr IID iid = com::makeGuid("9BFBBC02-EFF1-101A-84ED-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispID) = 0;
    // S_OK allows the change, S_FALSE refuses it.
    virtual HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispID) = 0;
};
inline constexpr IID IID_IPropertyNotifySink = IPropertyNotifySink::iid;

// ---- class information, safety ----------------------------------------------------------------
struct IProvideClassInfo : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B283-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **ppTI) = 0;
};
inline constexpr DWORD GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1;
struct IProvideClassInfo2 : IProvideClassInfo
{
    static constexpr IID iid = com::makeGuid("A6BC3AC0-DBAA-11CE-9DE3-00AA004BB851");
    using base_type = IProvideClassInfo;
    virtual HRESULT STDMETHODCALLTYPE GetGUID(DWORD dwGuidKind, GUID *pGUID) = 0;
};
inline constexpr IID IID_IProvideClassInfo = IProvideClassInfo::iid;
inline constexpr IID IID_IProvideClassInfo2 = IProvideClassInfo2::iid;

inline constexpr DWORD INTERFACESAFE_FOR_UNTRUSTED_CALLER = 0x1;
inline constexpr DWORD INTERFACESAFE_FOR_UNTRUSTED_DATA = 0x2;
struct IObjectSafety : IUnknown
{
    static constexpr IID iid = com::makeGuid("CB5BDC81-93C1-11CF-8F20-00805F2CD064");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD *pdwSupportedOptions,
                                                                DWORD *pdwEnabledOptions) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD dwOptionSetMask,
                                                                DWORD dwEnabledOptions) = 0;
};
inline constexpr IID IID_IObjectSafety = IObjectSafety::iid;

// ---- streams and storages ---------------------------------------------------------------------
enum STREAM_SEEK : DWORD { STREAM_SEEK_SET = 0, STREAM_SEEK_CUR = 1, STREAM_SEEK_END = 2 };
enum STGTY : DWORD { STGTY_STORAGE = 1, STGTY_STREAM = 2, STGTY_LOCKBYTES = 3, STGTY_PROPERTY = 4 };
inline constexpr DWORD STATFLAG_DEFAULT = 0;
inline constexpr DWORD STATFLAG_NONAME = 1;
inline constexpr DWORD STGM_READ = 0x0;
inline constexpr DWORD STGM_WRITE = 0x1;
inline constexpr DWORD STGM_READWRITE = 0x2;
inline constexpr DWORD STGM_SHARE_EXCLUSIVE = 0x10;
inline constexpr DWORD STGM_CREATE = 0x1000;
inline constexpr DWORD STGC_DEFAULT = 0;

struct STATSTG
{
    LPOLESTR pwcsName; // allocated with CoTaskMemAlloc unless STATFLAG_NONAME
    DWORD type;
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
};

struct ISequentialStream : IUnknown
{
    static constexpr IID iid = com::makeGuid("0C733A30-2A1C-11CE-ADE5-00AA0044773D");
    using base_type = IUnknown;
    // Reads up to cb bytes; *pcbRead (optional) gets the count. Fewer bytes than asked: S_FALSE.
    virtual HRESULT STDMETHODCALLTYPE Read(void *pv, ULONG cb, ULONG *pcbRead) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(const void *pv, ULONG cb, ULONG *pcbWritten) = 0;
};
struct IStream : ISequentialStream
{
    static constexpr IID iid = com::makeGuid("0000000C-0000-0000-C000-000000000046");
    using base_type = ISequentialStream;
    virtual HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER *plibNewPosition) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(IStream *pstm, ULARGE_INTEGER cb, ULARGE_INTEGER *pcbRead,
                                             ULARGE_INTEGER *pcbWritten) = 0;
    virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
    virtual HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG *pstatstg, DWORD grfStatFlag) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IStream **ppstm) = 0;
};
using LPSTREAM = IStream *;
inline constexpr IID IID_ISequentialStream = ISequentialStream::iid;
inline constexpr IID IID_IStream = IStream::iid;

struct IEnumSTATSTG;
using SNB = OLECHAR **;
// A storage: named streams and sub-storages. The runtime's memory storage (ole/memstream.h)
// supports CreateStream, OpenStream, CreateStorage, OpenStorage, DestroyElement, Commit, Revert,
// SetClass and Stat; the rest answers STG_E_INVALIDFUNCTION.
struct IStorage : IUnknown
{
    static constexpr IID iid = com::makeGuid("0000000B-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR *pwcsName, DWORD grfMode, DWORD reserved1,
                                                   DWORD reserved2, IStream **ppstm) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR *pwcsName, void *reserved1, DWORD grfMode,
                                                 DWORD reserved2, IStream **ppstm) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR *pwcsName, DWORD grfMode, DWORD reserved1,
                                                    DWORD reserved2, IStorage **ppstg) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR *pwcsName, IStorage *pstgPriority, DWORD grfMode,
                                                  SNB snbExclude, DWORD reserved, IStorage **ppstg) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(DWORD ciidExclude, const IID *rgiidExclude, SNB snbExclude,
                                             IStorage *pstgDest) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR *pwcsName, IStorage *pstgDest,
                                                    const OLECHAR *pwcsNewName, DWORD grfFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1, void *reserved2, DWORD reserved3,
                                                   IEnumSTATSTG **ppenum) = 0;
    virtual HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR *pwcsName) = 0;
    virtual HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR *pwcsOldName, const OLECHAR *pwcsNewName) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR *pwcsName, const FILETIME *pctime,
                                                      const FILETIME *patime, const FILETIME *pmtime) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStateBits(DWORD grfStateBits, DWORD grfMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG *pstatstg, DWORD grfStatFlag) = 0;
};
inline constexpr IID IID_IStorage = IStorage::iid;

// ---- persistence ------------------------------------------------------------------------------
struct IPersist : IUnknown
{
    static constexpr IID iid = com::makeGuid("0000010C-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) = 0;
};
struct IPersistStream : IPersist
{
    static constexpr IID iid = com::makeGuid("00000109-0000-0000-C000-000000000046");
    using base_type = IPersist;
    virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0; // S_OK dirty, S_FALSE clean
    virtual HRESULT STDMETHODCALLTYPE Load(IStream *pStm) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pcbSize) = 0;
};
struct IPersistStreamInit : IPersist
{
    static constexpr IID iid = com::makeGuid("7FD52380-4E07-101B-AE2D-08002B2EC713");
    using base_type = IPersist;
    virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0;
    virtual HRESULT STDMETHODCALLTYPE Load(IStream *pStm) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pCbSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE InitNew() = 0;
};
struct IPersistStorage : IPersist
{
    static constexpr IID iid = com::makeGuid("0000010A-0000-0000-C000-000000000046");
    using base_type = IPersist;
    virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0;
    virtual HRESULT STDMETHODCALLTYPE InitNew(IStorage *pStg) = 0;
    virtual HRESULT STDMETHODCALLTYPE Load(IStorage *pStg) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(IStorage *pStgSave, BOOL fSameAsLoad) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage *pStgNew) = 0;
    virtual HRESULT STDMETHODCALLTYPE HandsOffStorage() = 0;
};
struct IErrorLog : IUnknown
{
    static constexpr IID iid = com::makeGuid("3127CA40-446E-11CE-8135-00AA004BB851");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE AddError(LPCOLESTR pszPropName, EXCEPINFO *pExcepInfo) = 0;
};
// Named values. Read: when *pVar arrives with a type other than VT_EMPTY, the value is converted
// to that type; a missing name gives E_INVALIDARG.
struct IPropertyBag : IUnknown
{
    static constexpr IID iid = com::makeGuid("55272A00-42CB-11CE-8135-00AA004BB851");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT *pVar, IErrorLog *pErrorLog) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(LPCOLESTR pszPropName, VARIANT *pVar) = 0;
};
struct IPersistPropertyBag : IPersist
{
    static constexpr IID iid = com::makeGuid("37D84F60-42CB-11CE-8135-00AA004BB851");
    using base_type = IPersist;
    virtual HRESULT STDMETHODCALLTYPE InitNew() = 0;
    virtual HRESULT STDMETHODCALLTYPE Load(IPropertyBag *pPropBag, IErrorLog *pErrorLog) = 0;
    virtual HRESULT STDMETHODCALLTYPE Save(IPropertyBag *pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) = 0;
};
inline constexpr IID IID_IPersist = IPersist::iid;
inline constexpr IID IID_IPersistStream = IPersistStream::iid;
inline constexpr IID IID_IPersistStreamInit = IPersistStreamInit::iid;
inline constexpr IID IID_IPersistStorage = IPersistStorage::iid;
inline constexpr IID IID_IErrorLog = IErrorLog::iid;
inline constexpr IID IID_IPropertyBag = IPropertyBag::iid;
inline constexpr IID IID_IPersistPropertyBag = IPersistPropertyBag::iid;

// ---- property pages ---------------------------------------------------------------------------
struct CAUUID
{
    ULONG cElems;
    GUID *pElems;
}; // pElems allocated with CoTaskMemAlloc
struct PROPPAGEINFO
{
    ULONG cb;
    LPOLESTR pszTitle; // strings allocated with CoTaskMemAlloc
    SIZE size;         // in pixels here
    LPOLESTR pszDocString;
    LPOLESTR pszHelpFile;
    DWORD dwHelpContext;
};
inline constexpr DWORD PROPPAGESTATUS_DIRTY = 0x1;
inline constexpr DWORD PROPPAGESTATUS_VALIDATE = 0x2;
inline constexpr DWORD PROPPAGESTATUS_CLEAN = 0x4;

struct ISpecifyPropertyPages : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B28B-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID *pPages) = 0;
};
struct IPropertyPageSite : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B28C-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD dwFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLocaleID(LCID *pLocaleID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown **ppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *pMsg) = 0;
};
// A property page. Window parameters are window handles of the handle table (ole/handles.h):
// Activate creates the page's widget as a child of the widget behind hWndParent.
struct IPropertyPage : IUnknown
{
    static constexpr IID iid = com::makeGuid("B196B28D-BAB4-101A-B69C-00AA00341D07");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite *pPageSite) = 0;
    virtual HRESULT STDMETHODCALLTYPE Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
    virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO *pPageInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetObjects(ULONG cObjects, IUnknown **ppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE Show(UINT nCmdShow) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(LPCRECT pRect) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsPageDirty() = 0;
    virtual HRESULT STDMETHODCALLTYPE Apply() = 0;
    virtual HRESULT STDMETHODCALLTYPE Help(LPCOLESTR pszHelpDir) = 0;
    virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *pMsg) = 0;
};
// What a property browser asks a control about single properties: a text to show in place of
// the value, and the page that edits the property.
struct CALPOLESTR
{
    ULONG cElems;
    LPOLESTR *pElems;
}; // allocated with CoTaskMemAlloc
struct CADWORD
{
    ULONG cElems;
    DWORD *pElems;
};
inline constexpr HRESULT PERPROP_E_NOPAGEAVAILABLE = TV_HR(0x80040200);
struct IPerPropertyBrowsing : IUnknown
{
    static constexpr IID iid = com::makeGuid("376BD3AA-3845-101B-84ED-08002B2EC713");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID dispID, BSTR *pBstr) = 0;
    virtual HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID dispID, CLSID *pClsid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID dispID, CALPOLESTR *pCaStringsOut,
                                                           CADWORD *pCaCookiesOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID dispID, DWORD dwCookie, VARIANT *pVarOut) = 0;
};
inline constexpr IID IID_IPerPropertyBrowsing = IPerPropertyBrowsing::iid;
inline constexpr IID IID_ISpecifyPropertyPages = ISpecifyPropertyPages::iid;
inline constexpr IID IID_IPropertyPageSite = IPropertyPageSite::iid;
inline constexpr IID IID_IPropertyPage = IPropertyPage::iid;
inline constexpr UINT SW_HIDE = 0;
inline constexpr UINT SW_SHOW = 5;
inline constexpr UINT SW_SHOWNORMAL = 1;

// ---- drawing into a container's surface ---------------------------------------------------------
// A container asks a control to draw itself (for instance while it is not activated) through
// IViewObject::Draw. The surfaces are the runtime's: hdcDraw is the QPainter* to draw with, and
// lprcBounds the rectangle in that painter's coordinates (right and bottom exclusive). Target
// devices, palettes and advise sinks have no meaning here and may be null.
struct DVTARGETDEVICE
{
    DWORD tdSize;
    WORD tdDriverNameOffset;
    WORD tdDeviceNameOffset;
    WORD tdPortNameOffset;
    WORD tdExtDevmodeOffset;
    BYTE tdData[1];
};
struct LOGPALETTE;
struct IAdviseSink;
inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr HRESULT DV_E_DVASPECT = TV_HR(0x8004006B);
struct IViewObject : IUnknown
{
    static constexpr IID iid = com::makeGuid("0000010D-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE Draw(DWORD dwDrawAspect, LONG lindex, void *pvAspect, DVTARGETDEVICE *ptd,
                                           HDC hdcTargetDev, HDC hdcDraw, LPCRECTL lprcBounds, LPCRECTL lprcWBounds,
                                           BOOL(STDMETHODCALLTYPE *pfnContinue)(ULONG_PTR dwContinue),
                                           ULONG_PTR dwContinue) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetColorSet(DWORD dwDrawAspect, LONG lindex, void *pvAspect, DVTARGETDEVICE *ptd,
                                                  HDC hicTargetDev, LOGPALETTE **ppColorSet) = 0;
    virtual HRESULT STDMETHODCALLTYPE Freeze(DWORD dwDrawAspect, LONG lindex, void *pvAspect, DWORD *pdwFreeze) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unfreeze(DWORD dwFreeze) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD advf, IAdviseSink *pAdvSink) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAdvise(DWORD *pAspects, DWORD *pAdvf, IAdviseSink **ppAdvSink) = 0;
};
inline constexpr IID IID_IViewObject = IViewObject::iid;

// ---- component categories ---------------------------------------------------------------------
struct CATEGORYINFO
{
    CATID catid;
    LCID lcid;
    OLECHAR szDescription[128];
};
// Served by the runtime itself: CoCreateInstance(CLSID_StdComponentCategoriesMgr, ...).
// Implemented categories live under HKCR\CLSID\{clsid}\Implemented Categories\{catid}, required
// ones under ...\Required Categories, descriptions under HKCR\Component Categories\{catid}.
struct ICatRegister : IUnknown
{
    static constexpr IID iid = com::makeGuid("0002E012-0000-0000-C000-000000000046");
    using base_type = IUnknown;
    virtual HRESULT STDMETHODCALLTYPE RegisterCategories(ULONG cCategories, CATEGORYINFO *rgCategoryInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnRegisterCategories(ULONG cCategories, CATID *rgcatid) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                                                  CATID *rgcatid) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnRegisterClassImplCategories(REFCLSID rclsid, ULONG cCategories,
                                                                    CATID *rgcatid) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterClassReqCategories(REFCLSID rclsid, ULONG cCategories,
                                                                 CATID *rgcatid) = 0;
    virtual HRESULT STDMETHODCALLTYPE UnRegisterClassReqCategories(REFCLSID rclsid, ULONG cCategories,
                                                                   CATID *rgcatid) = 0;
};
inline constexpr IID IID_ICatRegister = ICatRegister::iid;
inline constexpr CLSID CLSID_StdComponentCategoriesMgr = com::makeGuid("0002E005-0000-0000-C000-000000000046");
inline constexpr CATID CATID_SafeForScripting = com::makeGuid("7DD95801-9882-11CF-9FA9-00AA006C42C4");
inline constexpr CATID CATID_SafeForInitializing = com::makeGuid("7DD95802-9882-11CF-9FA9-00AA006C42C4");
