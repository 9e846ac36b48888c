#include "LzDate2Control.h"

#include "CalendarPopup.h"
#include "DateEditWindow.h"
#include "DatePropPages.h"
#include "IntlPort.h"

#include "com/activation.h"
#include "com/bstr.h"
#include "com/variant.h"
#include "ole/ambient.h"
#include "ole/beep.h"
#include "ole/handles.h"
#include "ole/memstream.h"
#include "ole/olecolor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace lzdate {
namespace {

using B = com::DispBuilder<LzDate2Control>;
using C = LzDate2Control;

constexpr DISPID kBoundValue = DISPID_LD_Value; // the bound properties the container is asked about
constexpr DISPID kBoundVariantData = DISPID_LD_VariantData;

SHORT toShort(int v)
{
    return SHORT(std::clamp(v, -32768, 32767));
}

VARIANT_BOOL vb(bool b)
{
    return b ? VARIANT_TRUE : VARIANT_FALSE;
}

// Members every layout shares: DISPIDs 1-17 and the stock properties.
#define LZ_COMMON_MEMBERS                                                                                              \
    B::get<&C::get_Alignment>(DISPID_LD_Alignment, u"Alignment"),                                                      \
        B::put<&C::put_Alignment>(DISPID_LD_Alignment, u"Alignment"),                                                  \
        B::get<&C::get_DisplayFormat>(DISPID_LD_DisplayFormat, u"DisplayFormat"),                                      \
        B::put<&C::put_DisplayFormat>(DISPID_LD_DisplayFormat, u"DisplayFormat"),                                      \
        B::get<&C::get_HighlightInverted>(DISPID_LD_HighlightInverted, u"HighlightInverted", {VT_BOOL}),               \
        B::put<&C::put_HighlightInverted>(DISPID_LD_HighlightInverted, u"HighlightInverted", {VT_BOOL}),               \
        B::get<&C::get_HighlightColor>(DISPID_LD_HighlightColor, u"HighlightColor"),                                   \
        B::put<&C::put_HighlightColor>(DISPID_LD_HighlightColor, u"HighlightColor"),                                   \
        B::get<&C::get_DateFormat>(DISPID_LD_DateFormat, u"DateFormat"),                                               \
        B::put<&C::put_DateFormat>(DISPID_LD_DateFormat, u"DateFormat"),                                               \
        B::get<&C::get_Separator>(DISPID_LD_Separator, u"Separator"),                                                  \
        B::put<&C::put_Separator>(DISPID_LD_Separator, u"Separator"),                                                  \
        B::get<&C::get_DisabledColor>(DISPID_LD_DisabledColor, u"DisabledColor"),                                      \
        B::put<&C::put_DisabledColor>(DISPID_LD_DisabledColor, u"DisabledColor"),                                      \
        B::get<&C::get_TimeStore>(DISPID_LD_TimeStore, u"TimeStore", {VT_BOOL}),                                       \
        B::put<&C::put_TimeStore>(DISPID_LD_TimeStore, u"TimeStore", {VT_BOOL}),                                       \
        B::get<&C::get_Modified>(DISPID_LD_Modified, u"Modified", {VT_BOOL}),                                          \
        B::put<&C::put_Modified>(DISPID_LD_Modified, u"Modified", {VT_BOOL}),                                          \
        B::get<&C::get_SeparatorDefault>(DISPID_LD_SeparatorDefault, u"SeparatorDefault", {VT_BOOL}),                  \
        B::put<&C::put_SeparatorDefault>(DISPID_LD_SeparatorDefault, u"SeparatorDefault", {VT_BOOL}),                  \
        B::get<&C::get_Border>(DISPID_LD_Border, u"Border"), B::put<&C::put_Border>(DISPID_LD_Border, u"Border"),      \
        B::get<&C::get_EditMode>(DISPID_LD_EditMode, u"EditMode"),                                                     \
        B::put<&C::put_EditMode>(DISPID_LD_EditMode, u"EditMode"),                                                     \
        B::get<&C::get_EditModeChange>(DISPID_LD_EditModeChange, u"EditModeChange", {VT_BOOL}),                        \
        B::put<&C::put_EditModeChange>(DISPID_LD_EditModeChange, u"EditModeChange", {VT_BOOL}),                        \
        B::get<&C::get_ValueReset>(DISPID_LD_ValueReset, u"ValueReset"),                                               \
        B::put<&C::put_ValueReset>(DISPID_LD_ValueReset, u"ValueReset"),                                               \
        B::get<&C::get_CalendarDOWs>(DISPID_LD_CalendarDOWs, u"CalendarDOWs"),                                         \
        B::put<&C::put_CalendarDOWs>(DISPID_LD_CalendarDOWs, u"CalendarDOWs"),                                         \
        B::get<&C::get_CalendarMonths>(DISPID_LD_CalendarMonths, u"CalendarMonths"),                                   \
        B::put<&C::put_CalendarMonths>(DISPID_LD_CalendarMonths, u"CalendarMonths"),                                   \
        B::get<&C::get_NullString>(DISPID_LD_NullString, u"NullString"),                                               \
        B::put<&C::put_NullString>(DISPID_LD_NullString, u"NullString"), B::get<&C::get_Font>(DISPID_FONT, u"Font"),   \
        B::put<&C::put_Font>(DISPID_FONT, u"Font"), B::putRef<&C::put_Font>(DISPID_FONT, u"Font"),                     \
        B::get<&C::get_BackColor>(DISPID_BACKCOLOR, u"BackColor"),                                                     \
        B::put<&C::put_BackColor>(DISPID_BACKCOLOR, u"BackColor"),                                                     \
        B::get<&C::get_ForeColor>(DISPID_FORECOLOR, u"ForeColor"),                                                     \
        B::put<&C::put_ForeColor>(DISPID_FORECOLOR, u"ForeColor"),                                                     \
        B::get<&C::get_Enabled>(DISPID_ENABLED, u"Enabled", {VT_BOOL}),                                                \
        B::put<&C::put_Enabled>(DISPID_ENABLED, u"Enabled", {VT_BOOL}),                                                \
        B::method<&C::AboutBox>(DISPID_ABOUTBOX, u"AboutBox")

// The value members from Value to WeekOfYear, numbered from `first`.
#define LZ_VALUE_MEMBERS(first)                                                                                        \
    B::get<&C::get_Value>((first), u"Value", {VT_DATE}).asDefault(),                                                   \
        B::put<&C::put_Value>((first), u"Value", {VT_DATE}).asDefault(), B::get<&C::get_Day>((first) + 1, u"Day"),     \
        B::put<&C::put_Day>((first) + 1, u"Day"), B::get<&C::get_Month>((first) + 2, u"Month"),                        \
        B::put<&C::put_Month>((first) + 2, u"Month"), B::get<&C::get_Year>((first) + 3, u"Year"),                      \
        B::put<&C::put_Year>((first) + 3, u"Year"), B::get<&C::get_DateString>((first) + 4, u"DateString"),            \
        B::put<&C::put_DateString>((first) + 4, u"DateString"),                                                        \
        B::get<&C::get_CalendarFormat>((first) + 5, u"CalendarFormat"),                                                \
        B::put<&C::put_CalendarFormat>((first) + 5, u"CalendarFormat"),                                                \
        B::get<&C::get_Status>((first) + 6, u"Status"), B::put<&C::put_ReadOnly>((first) + 6, u"Status"),              \
        B::get<&C::get_DayOfWeek>((first) + 7, u"DayOfWeek"), B::put<&C::put_ReadOnly>((first) + 7, u"DayOfWeek"),     \
        B::get<&C::get_DayOfYear>((first) + 8, u"DayOfYear"), B::put<&C::put_ReadOnly>((first) + 8, u"DayOfYear"),     \
        B::get<&C::get_WeekOfYear>((first) + 9, u"WeekOfYear"), B::put<&C::put_ReadOnly>((first) + 9, u"WeekOfYear")

const com::DispatchTable &currentTable()
{
    static const com::DispatchTable table(
        DIID__DLzDate2, u"_DLzDate2",
        {
            LZ_COMMON_MEMBERS,
            B::get<&C::get_SelectionPersistance>(DISPID_LD_SelectionPersistance, u"SelectionPersistance"),
            B::put<&C::put_SelectionPersistance>(DISPID_LD_SelectionPersistance, u"SelectionPersistance"),
            LZ_VALUE_MEMBERS(DISPID_LD_Value),
            B::get<&C::get_FreeFormEntry>(DISPID_LD_FreeFormEntry, u"FreeFormEntry", {VT_BOOL}),
            B::put<&C::put_FreeFormEntry>(DISPID_LD_FreeFormEntry, u"FreeFormEntry", {VT_BOOL}),
            B::get<&C::get_VariantData>(DISPID_LD_VariantData, u"VariantData"),
            B::put<&C::put_VariantData>(DISPID_LD_VariantData, u"VariantData"),
            B::get<&C::get_CalendarControl>(DISPID_LD_CalendarControl, u"CalendarControl"),
            B::put<&C::put_ReadOnly>(DISPID_LD_CalendarControl, u"CalendarControl"),
            B::get<&C::get_hWnd>(DISPID_HWND, u"hWnd"),
            B::put<&C::put_ReadOnly>(DISPID_HWND, u"hWnd"),
            B::method<&C::SetSelection>(DISPID_LD_SetSelection, u"SetSelection"),
            B::methodRet<&C::getCaretPosition>(DISPID_LD_getCaretPosition, u"getCaretPosition"),
            B::methodRet<&C::getStartSelection>(DISPID_LD_getStartSelection, u"getStartSelection"),
            B::methodRet<&C::getEndSelection>(DISPID_LD_getEndSelection, u"getEndSelection"),
        });
    return table;
}

const com::DispatchTable &secondTable()
{
    static const com::DispatchTable table(
        DIID__DLzDate2, u"_DLzDate2",
        {
            LZ_COMMON_MEMBERS,
            B::get<&C::get_SelectionPersistance>(DISPID_LD_SelectionPersistance, u"SelectionPersistance"),
            B::put<&C::put_SelectionPersistance>(DISPID_LD_SelectionPersistance, u"SelectionPersistance"),
            LZ_VALUE_MEMBERS(DISPID_LD_Value),
            B::get<&C::get_hWnd>(DISPID_HWND, u"hWnd"),
            B::put<&C::put_ReadOnly>(DISPID_HWND, u"hWnd"),
            B::method<&C::SetSelection>(DISPID_LD_SetSelection, u"SetSelection"),
        });
    return table;
}

const com::DispatchTable &firstTable()
{
    static const com::DispatchTable table(DIID__DLzDate2, u"_DLzDate2",
                                          {
                                              LZ_COMMON_MEMBERS,
                                              LZ_VALUE_MEMBERS(DISPID_LD1_Value),
                                              B::method<&C::SetSelection>(DISPID_LD1_SetSelection, u"SetSelection"),
                                          });
    return table;
}

#undef LZ_COMMON_MEMBERS
#undef LZ_VALUE_MEMBERS

const com::DispatchTable &eventTable()
{
    using com::describeMember;
    constexpr auto M = com::DispKind::Method;
    static const com::DispatchTable table(
        DIID__DLzDate2Events, u"_DLzDate2Events",
        {
            describeMember(DISPID_KEYDOWN, u"KeyDown", M, {VARTYPE(VT_BYREF | VT_I2), VT_I2}),
            describeMember(DISPID_KEYUP, u"KeyUp", M, {VARTYPE(VT_BYREF | VT_I2), VT_I2}),
            describeMember(DISPID_MOUSEDOWN, u"MouseDown", M, {VT_I2, VT_I2, VT_I4, VT_I4}),
            describeMember(DISPID_MOUSEUP, u"MouseUp", M, {VT_I2, VT_I2, VT_I4, VT_I4}),
            describeMember(DISPID_MOUSEMOVE, u"MouseMove", M, {VT_I2, VT_I2, VT_I4, VT_I4}),
            describeMember(DISPID_CLICK, u"Click", M, {}),
            describeMember(DISPID_DBLCLICK, u"DblClick", M, {}),
            describeMember(DISPID_KEYPRESS, u"KeyPress", M, {VARTYPE(VT_BYREF | VT_I2)}),
            describeMember(DISPID_LDE_GotFocusEvent, u"GotFocusEvent", M, {}),
            describeMember(DISPID_LDE_LostFocusEvent, u"LostFocusEvent", M, {}),
            describeMember(DISPID_LDE_Change, u"Change", M, {}),
            describeMember(DISPID_LDE_BeforeLostFocus, u"BeforeLostFocus", M, {}),
            describeMember(DISPID_LDE_BeforeOpenCalendar, u"BeforeOpenCalendar", M, {}),
            describeMember(DISPID_LDE_AfterCloseCalendar, u"AfterCloseCalendar", M, {}),
            describeMember(DISPID_LDE_GetCentury, u"GetCentury", M, {VT_I2, VARTYPE(VT_BYREF | VT_I4)}),
            describeMember(DISPID_LDE_InvalidDate, u"InvalidDate", M, {VT_I2, VT_I2, VT_I2}),
        });
    return table;
}

// Key codes of the stock key events.
SHORT virtualKey(const QKeyEvent *e)
{
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return SHORT(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return SHORT(0x70 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_Backslash: return 0xDC;
    default: return 0;
    }
}

SHORT shiftState(Qt::KeyboardModifiers m)
{
    return SHORT((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}

SHORT mouseButtons(Qt::MouseButtons b)
{
    return SHORT((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0));
}

// Keeps a font object of our own: a copy of the one passed.
com::ComPtr<IFontDisp> cloneFont(IUnknown *source)
{
    com::ComPtr<IFont> font;
    if (source)
        source->QueryInterface(IID_IFont, font.putVoid());
    com::ComPtr<IFont> copy;
    if (font && SUCCEEDED(font->Clone(copy.put())) && copy)
        if (auto disp = copy.as<IFontDisp>())
            return disp;
    return ole::createFont(ole::defaultFontDesc());
}

constexpr double kHimetricPerPixel = 2540.0 / 96.0;

// The framework's stock pages for colours and fonts.
constexpr CLSID CLSID_StockColorPage = com::makeGuid("0BE35201-8F91-11CE-9DE3-00AA004BB851");
constexpr CLSID CLSID_StockFontPage = com::makeGuid("0BE35200-8F91-11CE-9DE3-00AA004BB851");

} // namespace

LzDate2Control::LzDate2Control() : model_(this)
{
    font_ = ole::createFont(ole::defaultFontDesc());
}

LzDate2Control::~LzDate2Control()
{
    points_.clearAll();
    Deactivate();
}

// ---------------------------------------------------------------- IDispatch

const com::DispatchTable &LzDate2Control::table() const
{
    if (version_ == kVersion1)
        return firstTable();
    if (version_ == kVersion2)
        return secondTable();
    return currentTable();
}

HRESULT LzDate2Control::GetTypeInfoCount(UINT *pctinfo)
{
    return table().getTypeInfoCount(pctinfo);
}

HRESULT LzDate2Control::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo)
{
    return table().getTypeInfo(iTInfo, lcid, ppTInfo);
}

HRESULT LzDate2Control::GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids)
{
    return table().getIDsOfNames(riid, names, count, lcid, ids);
}

HRESULT LzDate2Control::Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params, VARIANT *result,
                               EXCEPINFO *excep, UINT *argErr)
{
    // The control may be released by a handler while a member runs.
    com::ComPtr<IUnknown> keep(identity());
    return table().invoke(static_cast<void *>(this), dispid, riid, lcid, flags, params, result, excep, argErr);
}

// ---------------------------------------------------------------- connection points, class info

HRESULT LzDate2Control::EnumConnectionPoints(IEnumConnectionPoints **ppEnum)
{
    return points_.enumConnectionPoints(ppEnum);
}

HRESULT LzDate2Control::FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP)
{
    return points_.findConnectionPoint(riid, ppCP);
}

HRESULT LzDate2Control::GetClassInfo(ITypeInfo **ppTI)
{
    const com::CoClassInfo info{CLSID_LzDate2, u"LzDate2", &table(), DIID__DLzDate2Events, &eventTable()};
    return com::classTypeInfo(info, ppTI);
}

HRESULT LzDate2Control::GetGUID(DWORD kind, GUID *pGUID)
{
    const com::CoClassInfo info{CLSID_LzDate2, u"LzDate2", &table(), DIID__DLzDate2Events, &eventTable()};
    return com::classSourceGuid(info, kind, pGUID);
}

// ---------------------------------------------------------------- persistence

HRESULT LzDate2Control::GetClassID(CLSID *pClassID)
{
    if (!pClassID)
        return E_POINTER;
    *pClassID = CLSID_LzDate2;
    return S_OK;
}

HRESULT LzDate2Control::IsDirty()
{
    return dirty_ ? S_OK : S_FALSE;
}

ExchangeContext LzDate2Control::exchangeContext() const
{
    return ExchangeContext{userMode(), drawnWidth_, intlPort().now()};
}

HRESULT LzDate2Control::beginInit()
{
    // The loaded version fixes the dispatch layout for the object's life: one initialisation only.
    return initialized_ ? E_UNEXPECTED : S_OK;
}

HRESULT LzDate2Control::InitNew()
{
    if (HRESULT hr = beginInit(); FAILED(hr))
        return hr;
    LzDate2Props p = currentProps();
    const HRESULT hr = resetProps(p, exchangeContext());
    if (FAILED(hr))
        return hr;
    applyProps(p);
    initialized_ = true;
    dirty_ = false;
    return S_OK;
}

HRESULT LzDate2Control::Load(IStream *pStm)
{
    if (!pStm)
        return E_POINTER;
    if (HRESULT hr = beginInit(); FAILED(hr))
        return hr;
    LzDate2Props p = currentProps();
    const HRESULT hr = loadProps(pStm, p, exchangeContext());
    if (FAILED(hr))
        return hr;
    applyProps(p);
    initialized_ = true;
    dirty_ = false;
    return S_OK;
}

HRESULT LzDate2Control::Load(IPropertyBag *pPropBag, IErrorLog *pErrorLog)
{
    if (!pPropBag)
        return E_POINTER;
    if (HRESULT hr = beginInit(); FAILED(hr))
        return hr;
    LzDate2Props p = currentProps();
    const HRESULT hr = loadProps(pPropBag, pErrorLog, p, exchangeContext());
    if (FAILED(hr))
        return hr;
    applyProps(p);
    initialized_ = true;
    dirty_ = false;
    return S_OK;
}

HRESULT LzDate2Control::Save(IStream *pStm, BOOL fClearDirty)
{
    if (!pStm)
        return E_POINTER;
    LzDate2Props p = currentProps();
    const HRESULT hr = saveProps(pStm, p, exchangeContext());
    if (FAILED(hr))
        return hr;
    valueReset_ = p.valueReset;
    if (fClearDirty)
        dirty_ = false;
    return S_OK;
}

HRESULT LzDate2Control::Save(IPropertyBag *pPropBag, BOOL fClearDirty, BOOL)
{
    if (!pPropBag)
        return E_POINTER;
    LzDate2Props p = currentProps();
    const HRESULT hr = saveProps(pPropBag, p, exchangeContext());
    if (FAILED(hr))
        return hr;
    valueReset_ = p.valueReset;
    if (fClearDirty)
        dirty_ = false;
    return S_OK;
}

HRESULT LzDate2Control::GetSizeMax(ULARGE_INTEGER *pCbSize)
{
    if (!pCbSize)
        return E_POINTER;
    com::ComPtr<IStream> s = ole::createMemoryStream();
    LzDate2Props p = currentProps();
    const HRESULT hr = saveProps(s.get(), p, exchangeContext());
    if (FAILED(hr))
        return hr;
    pCbSize->QuadPart = ULONGLONG(ole::streamContents(s.get()).size());
    return S_OK;
}

LzDate2Props LzDate2Control::currentProps() const
{
    LzDate2Props p;
    p.version = version_;
    if (window_) {
        p.extentX = LONG(std::lround(window_->width() * kHimetricPerPixel));
        p.extentY = LONG(std::lround(window_->height() * kHimetricPerPixel));
    } else {
        p.extentX = extentX_;
        p.extentY = extentY_;
    }
    p.font = font_;
    p.alignment = alignment_;
    p.border = border_;
    p.displayFormat = displayFormat_;
    p.calendarFormat = calendarCode_;
    p.dateFormat = SHORT(model_.dateFormat());
    p.separatorDefault = model_.separatorDefault();
    p.separator = model_.separator();
    p.enabled = enabled_;
    p.timeStore = model_.timeStore();
    p.highlightInverted = highlightInverted_;
    p.editModeChange = editModeChange_;
    p.editMode = editMode_;
    p.disabledColor = disabledColor_;
    p.highlightColor = highlightColor_;
    p.backColor = backColor_;
    p.foreColor = foreColor_;
    p.valueReset = valueReset_;
    p.value = model_.date();
    p.status = model_.status();
    p.calendarMonths = calendarMonths_;
    p.calendarDOWs = calendarDOWs_;
    p.nullString = model_.nullString();
    p.selectionPersistance = SHORT(model_.selectionPersistence());
    p.freeFormEntry = freeFormEntry_;
    return p;
}

void LzDate2Control::applyProps(const LzDate2Props &p)
{
    version_ = p.version;
    extentX_ = p.extentX;
    extentY_ = p.extentY;
    font_ = p.font ? p.font : ole::createFont(ole::defaultFontDesc());
    alignment_ = p.alignment;
    border_ = p.border;
    displayFormat_ = p.displayFormat;
    calendarCode_ = p.calendarFormat;
    model_.loadDateFormat(p.dateFormat);
    model_.loadSeparatorDefault(p.separatorDefault);
    // With SeparatorDefault no separator is stored: the system's is taken at once.
    model_.loadSeparator(p.separatorDefault ? QString(systemSeparator(intlPort())) : p.separator);
    enabled_ = p.enabled;
    model_.setTimeStore(p.timeStore);
    highlightInverted_ = p.highlightInverted;
    editModeChange_ = p.editModeChange;
    editMode_ = p.editMode;
    disabledColor_ = p.disabledColor;
    highlightColor_ = p.highlightColor;
    backColor_ = p.backColor;
    foreColor_ = p.foreColor;
    valueReset_ = p.valueReset;
    model_.setRaw(p.value, p.status);
    calendarMonths_ = p.calendarMonths;
    calendarDOWs_ = p.calendarDOWs;
    model_.setNullString(p.nullString);
    model_.setSelectionPersistence(p.selectionPersistance);
    freeFormEntry_ = p.freeFormEntry;
    cellWidth_ = 0;
    if (window_) {
        window_->setFont(currentQFont());
        window_->setEnabled(enabled_);
    }
    model_.rebuild(false);
}

// ---------------------------------------------------------------- hosting

HRESULT LzDate2Control::SetSite(IControlSite *pSite)
{
    site_ = pSite;
    return S_OK;
}

HRESULT LzDate2Control::GetSite(IControlSite **ppSite)
{
    return site_.copyTo(ppSite);
}

HRESULT LzDate2Control::Activate(QWidget *parent, QWidget **ppWidget)
{
    if (!ppWidget)
        return E_POINTER;
    *ppWidget = nullptr;
    if (window_) {
        if (window_->parentWidget() != parent)
            window_->setParent(parent);
    } else {
        window_ = new DateEditWindow(this, parent);
        window_->setFont(currentQFont());
        window_->setEnabled(enabled_);
        if (extentX_ > 0 && extentY_ > 0)
            window_->resize(int(std::lround(extentX_ / kHimetricPerPixel)),
                            int(std::lround(extentY_ / kHimetricPerPixel)));
        // A new window shows today unless the stored date is to be kept.
        if (valueReset_ == 0)
            model_.setRaw(oleWholeDay(intlPort().now()), Status::Valid);
        model_.rebuild(false);
        rebuildPopup();
    }
    *ppWidget = window_;
    return S_OK;
}

HRESULT LzDate2Control::Deactivate()
{
    if (!window_)
        return S_FALSE;
    DateEditWindow *w = window_.data();
    window_ = nullptr;
    w->detach();
    windowDestroyed();
    if (w->handlingEvent()) {
        // Destroyed inside one of the window's own events (a host's handler): Qt still works
        // with the window when the handler returns, so it goes at the next turn of the loop.
        w->hide();
        w->deleteLater();
    } else {
        delete w;
    }
    return S_OK;
}

void LzDate2Control::windowDestroyed()
{
    if (contextMenu_)
        contextMenu_->close();
    focusHeldByMenu_ = false;
    destroyPopup();
    model_.setFocusFlag(false);
    caretCreated_ = false;
    buttonPressed_ = false;
}

HRESULT LzDate2Control::GetWidget(QWidget **ppWidget)
{
    if (!ppWidget)
        return E_POINTER;
    *ppWidget = window_;
    return window_ ? S_OK : S_FALSE;
}

HRESULT LzDate2Control::GetNaturalSize(SIZE *pSize)
{
    if (!pSize)
        return E_POINTER;
    if (extentX_ > 0 && extentY_ > 0) {
        pSize->cx = LONG(std::lround(extentX_ / kHimetricPerPixel));
        pSize->cy = LONG(std::lround(extentY_ / kHimetricPerPixel));
        return S_OK;
    }
    const QFontMetrics fm(currentQFont());
    pSize->cx = fm.horizontalAdvance(QStringLiteral("00.00.0000")) + 16;
    pSize->cy = fm.height() + 8;
    return S_OK;
}

HRESULT LzDate2Control::AmbientPropertyChanged(DISPID)
{
    repaint();
    return S_OK;
}

bool LzDate2Control::userMode() const
{
    return ole::ambientUserMode(site_.get(), true);
}

QFont LzDate2Control::currentQFont() const
{
    return ole::toQFont(font_.get());
}

// ---------------------------------------------------------------- model host

bool LzDate2Control::requestBoundEdit()
{
    return notify_.requestEdit(kBoundValue) && notify_.requestEdit(kBoundVariantData);
}

void LzDate2Control::boundChanged()
{
    notify_.notifyChanged(kBoundValue);
    notify_.notifyChanged(kBoundVariantData);
}

void LzDate2Control::changeEvent()
{
    modified_ = true;
    fire(DISPID_LDE_Change);
}

void LzDate2Control::repaint()
{
    if (!window_)
        return;
    window_->update();
    // A new font, style, border or format may need another size: the container's layout is told.
    // A window not on screen yet is measured when its layout asks, once, not at every set.
    if (!window_->isVisible()) {
        shownNaturalSize_ = QSize();
        window_->updateGeometry();
        return;
    }
    const QSize natural = naturalTextSize();
    if (natural != shownNaturalSize_) {
        shownNaturalSize_ = natural;
        window_->updateGeometry();
    }
}

void LzDate2Control::setDirty()
{
    dirty_ = true;
}

void LzDate2Control::stockChanged(DISPID dispid)
{
    dirty_ = true;
    notify_.notifyChanged(dispid);
    repaint();
}

void LzDate2Control::fire(DISPID dispid, std::initializer_list<VARIANT> args)
{
    com::ComPtr<IUnknown> keep(identity());
    events_.fire(dispid, args);
}

// ---------------------------------------------------------------- properties

HRESULT LzDate2Control::get_Alignment(SHORT *v)
{
    *v = alignment_;
    return S_OK;
}
HRESULT LzDate2Control::put_Alignment(SHORT v)
{
    alignment_ = checkedAlignment(v);
    repaint();
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_DisplayFormat(SHORT *v)
{
    *v = displayFormat_;
    return S_OK;
}
HRESULT LzDate2Control::put_DisplayFormat(SHORT v)
{
    displayFormat_ = checkedDisplayFormat(v);
    highlightColor_ = 0x00C0C0C0;
    switch (displayFormat_) {
    case 0:
    case 1:
        foreColor_ = 0x80000008;
        backColor_ = 0x80000005;
        highlightColor_ = 0x8000000D;
        break;
    case 2:
        backColor_ = 0x00FFFF00;
        foreColor_ = 0;
        break;
    case 3:
        backColor_ = 0x00808080;
        foreColor_ = 0;
        break;
    case 4:
        backColor_ = 0x00FFFF00;
        foreColor_ = 0x00FFFFFF;
        break;
    default:
        backColor_ = 0;
        foreColor_ = 0x00FFFF00;
        break;
    }
    cellWidth_ = 0;
    repaint();
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_HighlightInverted(VARIANT_BOOL *v)
{
    *v = vb(highlightInverted_);
    return S_OK;
}
HRESULT LzDate2Control::put_HighlightInverted(VARIANT_BOOL v)
{
    highlightInverted_ = v != VARIANT_FALSE;
    repaint();
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_HighlightColor(OLE_COLOR *v)
{
    *v = highlightColor_;
    return S_OK;
}
HRESULT LzDate2Control::put_HighlightColor(OLE_COLOR v)
{
    highlightColor_ = v;
    repaint();
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_DateFormat(SHORT *v)
{
    *v = SHORT(model_.dateFormat());
    return S_OK;
}
HRESULT LzDate2Control::put_DateFormat(SHORT v)
{
    model_.putDateFormat(v);
    return S_OK;
}

HRESULT LzDate2Control::get_Separator(BSTR *v)
{
    *v = com::allocBstr(model_.separator());
    return S_OK;
}
HRESULT LzDate2Control::put_Separator(BSTR v)
{
    model_.putSeparator(com::toQString(v));
    return S_OK;
}

HRESULT LzDate2Control::get_DisabledColor(OLE_COLOR *v)
{
    *v = disabledColor_;
    return S_OK;
}
HRESULT LzDate2Control::put_DisabledColor(OLE_COLOR v)
{
    disabledColor_ = v;
    repaint();
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_TimeStore(VARIANT_BOOL *v)
{
    *v = vb(model_.timeStore());
    return S_OK;
}
HRESULT LzDate2Control::put_TimeStore(VARIANT_BOOL v)
{
    model_.setTimeStore(v != VARIANT_FALSE);
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_Modified(VARIANT_BOOL *v)
{
    *v = vb(modified_);
    return S_OK;
}
HRESULT LzDate2Control::put_Modified(VARIANT_BOOL v)
{
    // At run time the flag can only be cleared; it is set by Change.
    modified_ = userMode() ? false : v != VARIANT_FALSE;
    return S_OK;
}

HRESULT LzDate2Control::get_SeparatorDefault(VARIANT_BOOL *v)
{
    *v = vb(model_.separatorDefault());
    return S_OK;
}
HRESULT LzDate2Control::put_SeparatorDefault(VARIANT_BOOL v)
{
    model_.putSeparatorDefault(v != VARIANT_FALSE);
    return S_OK;
}

HRESULT LzDate2Control::get_Border(SHORT *v)
{
    *v = border_;
    return S_OK;
}
HRESULT LzDate2Control::put_Border(SHORT v)
{
    border_ = checkedBorder(v);
    dirty_ = true;
    repaint();
    return S_OK;
}

HRESULT LzDate2Control::get_EditMode(SHORT *v)
{
    *v = editMode_;
    return S_OK;
}
HRESULT LzDate2Control::put_EditMode(SHORT v)
{
    editMode_ = checkedEditMode(v);
    // In run mode the caret takes the new shape here once it is drawn.
    repaint();
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_EditModeChange(VARIANT_BOOL *v)
{
    *v = vb(editModeChange_);
    return S_OK;
}
HRESULT LzDate2Control::put_EditModeChange(VARIANT_BOOL v)
{
    editModeChange_ = v != VARIANT_FALSE;
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_ValueReset(SHORT *v)
{
    *v = valueReset_;
    return S_OK;
}
HRESULT LzDate2Control::put_ValueReset(SHORT v)
{
    valueReset_ = checkedValueReset(v);
    model_.applyValueReset(valueReset_);
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_CalendarDOWs(BSTR *v)
{
    *v = com::allocBstr(calendarDOWs_);
    return S_OK;
}
HRESULT LzDate2Control::put_CalendarDOWs(BSTR v)
{
    if (SysStringLen(v) > kMaxStoredChars)
        return CTL_E_INVALIDPROPERTYVALUE;
    calendarDOWs_ = com::toQString(v);
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_CalendarMonths(BSTR *v)
{
    *v = com::allocBstr(calendarMonths_);
    return S_OK;
}
HRESULT LzDate2Control::put_CalendarMonths(BSTR v)
{
    if (SysStringLen(v) > kMaxStoredChars)
        return CTL_E_INVALIDPROPERTYVALUE;
    calendarMonths_ = com::toQString(v);
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_NullString(BSTR *v)
{
    *v = com::allocBstr(model_.nullString());
    return S_OK;
}
HRESULT LzDate2Control::put_NullString(BSTR v)
{
    if (SysStringLen(v) > kMaxStoredChars)
        return CTL_E_INVALIDPROPERTYVALUE;
    model_.setNullString(com::toQString(v));
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_SelectionPersistance(SHORT *v)
{
    *v = SHORT(model_.selectionPersistence());
    return S_OK;
}
HRESULT LzDate2Control::put_SelectionPersistance(SHORT v)
{
    model_.setSelectionPersistence(v);
    dirty_ = true;
    repaint();
    return S_OK;
}

HRESULT LzDate2Control::get_FreeFormEntry(VARIANT_BOOL *v)
{
    *v = vb(freeFormEntry_);
    return S_OK;
}
HRESULT LzDate2Control::put_FreeFormEntry(VARIANT_BOOL v)
{
    freeFormEntry_ = v != VARIANT_FALSE;
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_VariantData(VARIANT *v)
{
    if (model_.status() != Status::Valid) {
        v->vt = VT_NULL;
    } else {
        v->vt = VT_DATE;
        v->date = model_.date();
    }
    return S_OK;
}

HRESULT LzDate2Control::put_VariantData(VARIANT v)
{
    double x = 0.0;
    if (v.vt == VT_DATE) {
        x = v.date;
    } else if (v.vt != VT_EMPTY && v.vt != VT_NULL) {
        com::Variant converted;
        if (SUCCEEDED(VariantChangeType(&converted, &v, 0, VT_DATE)) && converted.vt == VT_DATE)
            x = converted.date;
    }
    model_.putVariantDate(x);
    return S_OK;
}

HRESULT LzDate2Control::get_CalendarControl(IDispatch **v)
{
    *v = nullptr;
    if (popup_)
        popup_->calendar().copyTo(v);
    return S_OK;
}

HRESULT LzDate2Control::get_Value(DATE *v)
{
    *v = model_.value();
    return S_OK;
}
HRESULT LzDate2Control::put_Value(DATE v)
{
    model_.putValue(v);
    return S_OK;
}

HRESULT LzDate2Control::get_Day(SHORT *v)
{
    *v = toShort(model_.day());
    return S_OK;
}
HRESULT LzDate2Control::put_Day(SHORT v)
{
    model_.setPart(FieldDay, v);
    return S_OK;
}
HRESULT LzDate2Control::get_Month(SHORT *v)
{
    *v = toShort(model_.month());
    return S_OK;
}
HRESULT LzDate2Control::put_Month(SHORT v)
{
    model_.setPart(FieldMonth, v);
    return S_OK;
}
HRESULT LzDate2Control::get_Year(SHORT *v)
{
    *v = toShort(model_.year());
    return S_OK;
}
HRESULT LzDate2Control::put_Year(SHORT v)
{
    model_.setPart(FieldYear, v);
    return S_OK;
}

HRESULT LzDate2Control::get_DateString(BSTR *v)
{
    *v = com::allocBstr(model_.text());
    return S_OK;
}
HRESULT LzDate2Control::put_DateString(BSTR v)
{
    dirty_ = true;
    model_.putDateString(com::toQString(v));
    return S_OK;
}

HRESULT LzDate2Control::get_CalendarFormat(SHORT *v)
{
    switch (calendarCode_) {
    case -1: *v = -1; break;
    case 0: *v = 1; break;
    case 1: *v = 2; break;
    case 3:
    case 4:
    case 5:
    case 6: *v = calendarCode_; break;
    default: *v = 0; break;
    }
    return S_OK;
}

HRESULT LzDate2Control::put_CalendarFormat(SHORT v)
{
    SHORT code = -1;
    switch (v) {
    case 1: code = 0; break;
    case 2: code = 1; break;
    case 3:
    case 4:
    case 5:
    case 6: code = v; break;
    default: break;
    }
    const bool differs = v != calendarCode_;
    calendarCode_ = code;
    if (differs && window_) {
        rebuildPopup(); // the popup for the new calendar
        repaint();
    }
    dirty_ = true;
    return S_OK;
}

HRESULT LzDate2Control::get_Status(SHORT *v)
{
    *v = SHORT(model_.status());
    return S_OK;
}
HRESULT LzDate2Control::get_DayOfWeek(SHORT *v)
{
    *v = toShort(model_.dayOfWeek());
    return S_OK;
}
HRESULT LzDate2Control::get_DayOfYear(SHORT *v)
{
    *v = toShort(model_.dayOfYear());
    return S_OK;
}
HRESULT LzDate2Control::get_WeekOfYear(SHORT *v)
{
    *v = toShort(model_.weekOfYear());
    return S_OK;
}
HRESULT LzDate2Control::put_ReadOnly(VARIANT)
{
    return CTL_E_SETNOTSUPPORTED;
}

HRESULT LzDate2Control::SetSelection(SHORT start, SHORT end)
{
    model_.setSelection(start, end);
    if (model_.hasFocus())
        repaint(); // the caret is placed here once it is drawn
    return S_OK;
}

HRESULT LzDate2Control::getCaretPosition(SHORT *v)
{
    *v = toShort(model_.caret());
    return S_OK;
}
HRESULT LzDate2Control::getStartSelection(SHORT *v)
{
    *v = toShort(model_.selStart());
    return S_OK;
}
HRESULT LzDate2Control::getEndSelection(SHORT *v)
{
    *v = toShort(model_.selEnd());
    return S_OK;
}

HRESULT LzDate2Control::AboutBox()
{
    com::ComPtr<IUnknown> keep(identity());
    showAboutBox(window_);
    return S_OK;
}

// ---------------------------------------------------------------- property pages

HRESULT LzDate2Control::GetPages(CAUUID *pPages)
{
    if (!pPages)
        return E_POINTER;
    // Styles, Format, Calendar, then the stock colour and font pages (a frame leaves out a page
    // that no library serves).
    const GUID ordered[] = {CLSID_LzDatePPage, CLSID_CFormatPPage, CLSID_CCalendarFormatPropPage, CLSID_StockColorPage,
                            CLSID_StockFontPage};
    const ULONG n = ULONG(std::size(ordered));
    auto *out = static_cast<GUID *>(CoTaskMemAlloc(n * sizeof(GUID)));
    if (!out)
        return E_OUTOFMEMORY;
    std::copy(std::begin(ordered), std::end(ordered), out);
    pPages->cElems = n;
    pPages->pElems = out;
    return S_OK;
}

HRESULT LzDate2Control::GetDisplayString(DISPID dispID, BSTR *pBstr)
{
    if (!pBstr)
        return E_POINTER;
    *pBstr = nullptr;
    switch (dispID) {
    case DISPID_LD_DisplayFormat: *pBstr = com::allocBstr(QStringLiteral("(Style)")); return S_OK;
    case DISPID_LD_DateFormat:
    case DISPID_LD_ValueReset: *pBstr = com::allocBstr(QStringLiteral("(Format)")); return S_OK;
    default: return E_NOTIMPL;
    }
}

HRESULT LzDate2Control::MapPropertyToPage(DISPID dispID, CLSID *pClsid)
{
    if (!pClsid)
        return E_POINTER;
    switch (dispID) {
    case DISPID_LD_Alignment:
    case DISPID_LD_DisplayFormat:
    case DISPID_LD_Border:
    case DISPID_LD_EditMode:
    case DISPID_LD_EditModeChange: *pClsid = CLSID_LzDatePPage; return S_OK;
    case DISPID_LD_DateFormat:
    case DISPID_LD_Separator:
    case DISPID_LD_TimeStore:
    case DISPID_LD_SeparatorDefault:
    case DISPID_LD_ValueReset: *pClsid = CLSID_CFormatPPage; return S_OK;
    default: *pClsid = GUID_NULL; return PERPROP_E_NOPAGEAVAILABLE;
    }
}

HRESULT LzDate2Control::GetPredefinedStrings(DISPID, CALPOLESTR *pCaStringsOut, CADWORD *pCaCookiesOut)
{
    if (pCaStringsOut)
        *pCaStringsOut = CALPOLESTR{0, nullptr};
    if (pCaCookiesOut)
        *pCaCookiesOut = CADWORD{0, nullptr};
    return E_NOTIMPL;
}

HRESULT LzDate2Control::GetPredefinedValue(DISPID, DWORD, VARIANT *)
{
    return E_NOTIMPL;
}

HRESULT LzDate2Control::get_Font(IFontDisp **v)
{
    return font_.copyTo(v);
}
HRESULT LzDate2Control::put_Font(IFontDisp *v)
{
    font_ = cloneFont(v);
    cellWidth_ = 0;
    if (window_)
        window_->setFont(currentQFont());
    stockChanged(DISPID_FONT);
    return S_OK;
}

HRESULT LzDate2Control::get_BackColor(OLE_COLOR *v)
{
    *v = backColor_;
    return S_OK;
}
HRESULT LzDate2Control::put_BackColor(OLE_COLOR v)
{
    backColor_ = v;
    stockChanged(DISPID_BACKCOLOR);
    return S_OK;
}

HRESULT LzDate2Control::get_ForeColor(OLE_COLOR *v)
{
    *v = foreColor_;
    return S_OK;
}
HRESULT LzDate2Control::put_ForeColor(OLE_COLOR v)
{
    foreColor_ = v;
    stockChanged(DISPID_FORECOLOR);
    return S_OK;
}

HRESULT LzDate2Control::get_Enabled(VARIANT_BOOL *v)
{
    *v = vb(enabled_);
    return S_OK;
}
HRESULT LzDate2Control::put_Enabled(VARIANT_BOOL v)
{
    enabled_ = v != VARIANT_FALSE;
    if (window_)
        window_->setEnabled(enabled_);
    stockChanged(DISPID_ENABLED);
    return S_OK;
}

HRESULT LzDate2Control::get_hWnd(OLE_HANDLE *v)
{
    *v = window_ ? ole::handleFromWidget(window_) : 0;
    return S_OK;
}

// ---------------------------------------------------------------- window

void LzDate2Control::measureCellsIfNeeded()
{
    if (cellWidth_ != 0)
        return;
    const CellMetrics m = measureCells(currentQFont(), displayFormat_);
    cellWidth_ = m.cellWidth;
    lineHeight_ = m.lineHeight;
}

PaintState LzDate2Control::paintState() const
{
    PaintState s;
    s.text = model_.text();
    s.font = currentQFont();
    s.alignment = alignment_;
    s.displayFormat = displayFormat_;
    s.border = border_;
    s.hasButton = hasCalendar();
    s.buttonPressed = buttonPressed_;
    s.longFormat = codeLong(model_.displayCode());
    s.focus = model_.hasFocus();
    s.caretShown = caretCreated_ && model_.hasFocus();
    s.insertMode = editMode_ != 0;
    s.selStart = model_.selStart();
    s.selEnd = model_.selEnd();
    s.caret = model_.caret();
    s.back = ole::colorFromOle(backColor_, Qt::white);
    s.textColor = ole::colorFromOle(enabled_ ? foreColor_ : disabledColor_, Qt::black);
    s.highlight = ole::colorFromOle(highlightColor_, QColor(0, 0, 128));
    s.highlightInverted = highlightInverted_;
    s.frame.windowFrame = ole::colorFromOle(ole::systemColor(COLOR_WINDOWFRAME));
    s.frame.buttonFace = ole::colorFromOle(ole::systemColor(COLOR_BTNFACE));
    s.frame.buttonShadow = ole::colorFromOle(ole::systemColor(COLOR_BTNSHADOW));
    s.frame.buttonHighlight = ole::colorFromOle(ole::systemColor(COLOR_BTNHIGHLIGHT));
    s.frame.buttonText = ole::colorFromOle(ole::systemColor(COLOR_BTNTEXT));
    s.cells = CellMetrics{cellWidth_, lineHeight_};
    return s;
}

QSize LzDate2Control::naturalTextSize() const
{
    PaintState s = paintState();
    s.cells = measureCells(s.font, displayFormat_);
    const int code = model_.displayCode();
    const QChar sep = textSeparator(code, model_.separator().isEmpty() ? QChar(u'.') : model_.separator().at(0));
    const IntlPort *port = &model_.port();
    // The widest dates of the display code: a late day of every month, each weekday among them;
    // measured again only when what they are measured for has changed.
    WidestDate &w = widestDate_;
    if (w.font != s.font || w.displayFormat != s.displayFormat || w.border != s.border || w.hasButton != s.hasButton ||
        w.longFormat != s.longFormat || w.cells.cellWidth != s.cells.cellWidth ||
        w.cells.lineHeight != s.cells.lineHeight || w.code != code || w.sep != sep || w.port != port) {
        w = WidestDate{s.font, s.displayFormat, s.border, s.hasButton, s.longFormat, s.cells, code, sep, port, {}};
        w.text = blankDateText(code, sep);
        int widest = naturalSize(s, {w.text}).width();
        for (int month = 1; month <= 12; ++month) {
            for (int day = 22; day <= 28; ++day) {
                double ole = 0;
                if (!oleFromYmd(2000, month, day, ole))
                    continue;
                QString text = formatDate(code, Ymd{2000, month, day}, oleDayOfWeek(ole), sep, *port);
                const int width = naturalSize(s, {text}).width();
                if (width > widest) {
                    widest = width;
                    w.text = std::move(text);
                }
            }
        }
    }
    return naturalSize(s, {s.text, w.text});
}

void LzDate2Control::createCaret()
{
    // The caret's shape follows EditMode and the cell size; it is drawn with the text.
    if (!caretCreated_ && cellWidth_ > 0 && model_.hasFocus())
        caretCreated_ = true;
}

void LzDate2Control::paint(QPainter &p, const QRect &bounds)
{
    if (bounds.isEmpty())
        return;
    measureCellsIfNeeded();
    if (model_.hasFocus())
        createCaret();
    layout_ = paintDateControl(p, bounds, paintState());
    drawnWidth_ = layout_.textArea.width();
    drawnHeight_ = layout_.textArea.height();
}

bool LzDate2Control::overButton(const QPoint &pos) const
{
    if (layout_.button.isEmpty())
        return false;
    return pos.x() > layout_.textArea.left() + drawnWidth_ + 2;
}

void LzDate2Control::focusIn(bool byClick)
{
    com::ComPtr<IUnknown> keep(identity());
    if (focusHeldByMenu_) {
        // Back from the own context menu: the focus never left the control.
        focusHeldByMenu_ = false;
        return;
    }
    focusByClick_ = byClick;
    model_.setFocusFlag(true);
    editor_.focusGained();
    if (cellWidth_ != 0)
        createCaret();
    model_.rebuild(true);
    if (site_)
        site_->OnFocus(TRUE);
    // No GotFocusEvent when the focus comes back from this control's popup.
    const bool fromPopup = returningFromPopup_ || (popup_ && popup_->isOpen());
    returningFromPopup_ = false;
    if (!fromPopup)
        fire(DISPID_LDE_GotFocusEvent);
}

void LzDate2Control::focusOut(bool toPopupMenu)
{
    com::ComPtr<IUnknown> keep(identity());
    if (toPopupMenu && contextMenu_ && QApplication::activePopupWidget() == contextMenu_) {
        // The own context menu keeps the field as it is, focus, selection and caret included.
        focusHeldByMenu_ = true;
        return;
    }
    // No BeforeLostFocus (and no LostFocusEvent) when the focus goes into this control's open popup.
    const bool toPopup = popup_ && popup_->isOpen();
    if (!toPopup)
        fire(DISPID_LDE_BeforeLostFocus);
    model_.setFocusFlag(false);
    editor_.focusCommit();
    if (freeFormEntry_ && model_.status() != Status::Valid) {
        const Ymd f = model_.freeFormCheck();
        fire(DISPID_LDE_InvalidDate,
             {com::Variant::i2(toShort(f.year)), com::Variant::i2(toShort(f.month)), com::Variant::i2(toShort(f.day))});
    }
    caretCreated_ = false;
    buttonPressed_ = false;
    model_.rebuild(false);
    if (site_)
        site_->OnFocus(FALSE);
    if (!toPopup)
        fire(DISPID_LDE_LostFocusEvent);
}

void LzDate2Control::fireKey(DISPID dispid, QKeyEvent *e)
{
    SHORT code = virtualKey(e);
    VARIANT key;
    key.vt = VT_BYREF | VT_I2;
    key.piVal = &code;
    fire(dispid, {key, com::Variant::i2(shiftState(e->modifiers()))});
}

bool LzDate2Control::keyForOpenCalendar(QKeyEvent *e)
{
    // While the calendar is open the keys are its own, also those that still reach the field
    // because the window system has not activated the popup yet (a slow display): they go on
    // to the calendar. F4 and Alt+Down keep their meaning on the field.
    if (!popup_ || !popup_->isOpen())
        return false;
    const int key = virtualKey(e);
    if (key == vk::F4 || (key == vk::Down && (e->modifiers() & Qt::AltModifier)))
        return false;
    popup_->forwardKey(e);
    return true;
}

void LzDate2Control::keyDown(QKeyEvent *e)
{
    com::ComPtr<IUnknown> keep(identity());
    if (keyForOpenCalendar(e))
        return;
    // The framework's stock KeyDown, with the real shift state.
    fireKey(DISPID_KEYDOWN, e);
    if (!window_ || !model_.hasFocus())
        return;
    const Qt::KeyboardModifiers mods = e->modifiers();
    const int key = virtualKey(e);
    if (mods & Qt::AltModifier) {
        if (key == vk::Down) // Alt+Down drops the calendar down
            openCalendar();
        return; // system keys make no characters
    }
    const bool passedOver = key == 0 || key == vk::Shift || key == vk::Control || key == vk::Menu ||
                            key == vk::Capital || key == vk::Escape || key == vk::NumLock;
    if (!passedOver) {
        if (key == vk::Tab) {
            window_->moveFocus(!(mods & Qt::ShiftModifier));
            return;
        }
        SHORT code = SHORT(key);
        VARIANT arg;
        arg.vt = VT_BYREF | VT_I2;
        arg.piVal = &code;
        fire(DISPID_KEYDOWN, {arg, com::Variant::i2(0)});
        if (!window_ || !model_.hasFocus())
            return;
        editor_.keyDown(code, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
        repaint();
    }
    characterTyped(e);
}

void LzDate2Control::characterTyped(QKeyEvent *e)
{
    const QString text = e->text();
    if (text.isEmpty())
        return;
    SHORT ch = SHORT(text[0].unicode());
    VARIANT key;
    key.vt = VT_BYREF | VT_I2;
    key.piVal = &ch;
    fire(DISPID_KEYPRESS, {key}); // the framework's stock KeyPress
    if (!window_ || !model_.hasFocus())
        return;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return;
    if (ch >= 0 && ch < 20)
        return;
    if (ch == 27)
        return;
    fire(DISPID_KEYPRESS, {key});
    if (ch == 0 || !window_ || !model_.hasFocus())
        return;
    editor_.character(QChar(char16_t(ch)));
    repaint();
}

void LzDate2Control::keyUp(QKeyEvent *e)
{
    com::ComPtr<IUnknown> keep(identity());
    if (keyForOpenCalendar(e))
        return;
    fireKey(DISPID_KEYUP, e);
}

void LzDate2Control::fireMouse(DISPID dispid, QMouseEvent *e)
{
    const QPoint pos = e->position().toPoint();
    const SHORT button = dispid == DISPID_MOUSEMOVE ? mouseButtons(e->buttons()) : mouseButtons(e->button());
    fire(dispid, {com::Variant::i2(button), com::Variant::i2(shiftState(e->modifiers())), com::Variant::i4(pos.x()),
                  com::Variant::i4(pos.y())});
}

void LzDate2Control::mouseDown(QMouseEvent *e)
{
    com::ComPtr<IUnknown> keep(identity());
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        const PaintState s = paintState();
        const int len = int(model_.text().size());
        if (hasCalendar() && overButton(pos)) {
            buttonPressed_ = true;
            model_.setSelection(model_.caret(), model_.caret());
            if (window_)
                window_->repaint();
            openCalendar();
        }
        const int index = std::clamp(caretIndexAt(layout_, s, pos.x()), 0, len);
        // A click that brought the focus keeps the selection the focus made.
        if (model_.hasFocus() && !focusByClick_)
            model_.setCaretAndSelection(index, index, index);
        else
            model_.setCaretAndSelection(model_.selEnd(), model_.selStart(), model_.selEnd());
        repaint();
    }
    focusByClick_ = false;
    fireMouse(DISPID_MOUSEDOWN, e);
}

void LzDate2Control::mouseUp(QMouseEvent *e, bool inside)
{
    com::ComPtr<IUnknown> keep(identity());
    fireMouse(DISPID_MOUSEUP, e);
    if (inside && e->button() == Qt::LeftButton)
        fire(DISPID_CLICK);
    if (buttonPressed_) {
        buttonPressed_ = false;
        repaint();
    }
}

void LzDate2Control::mouseMove(QMouseEvent *e)
{
    // While the left button is held the window has the mouse (Qt grabs it on the press).
    if ((e->buttons() & Qt::LeftButton) && model_.hasFocus() && !buttonPressed_) {
        const int len = int(model_.text().size());
        const int index = std::clamp(caretIndexAt(layout_, paintState(), e->position().toPoint().x()), 0, len);
        const int caret = model_.caret();
        int start = model_.selStart();
        int end = model_.selEnd();
        if (index < caret) {
            if (caret <= start)
                start = index;
            else
                end = index;
        } else if (index > caret) {
            if (caret >= end)
                end = index;
            else
                start = index;
        }
        model_.setCaretAndSelection(index, std::min(start, end), std::max(start, end));
        repaint();
        return;
    }
    fireMouse(DISPID_MOUSEMOVE, e);
}

void LzDate2Control::doubleClick(QMouseEvent *e)
{
    const int x = e->position().toPoint().x();
    const int len = int(model_.text().size());
    if (x >= layout_.textArea.left() && x < layout_.textArea.left() + drawnWidth_)
        model_.setCaretAndSelection(len, 0, len);
    else
        model_.setCaretAndSelection(0, 0, 0);
    repaint();
    fire(DISPID_DBLCLICK);
}

void LzDate2Control::contextMenu(const QPoint &globalPos)
{
    if (!window_)
        return;
    if (contextMenu_)
        contextMenu_->close();
    // A text box's entries, in Qt's own words, so that the host's translation of Qt speaks
    // them in its language; the shortcuts are those the field itself takes.
    auto *menu = new QMenu(window_);
    menu->setObjectName(QStringLiteral("lzDateContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto withKeys = [](const char *text, QKeySequence::StandardKey key) {
        return QCoreApplication::translate("QLineEdit", text) + QLatin1Char('\t') +
               QKeySequence(key).toString(QKeySequence::NativeText);
    };
    const bool selected = model_.selStart() != model_.selEnd();
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const bool pasteable = clipboard && !clipboard->text().isEmpty();
    // The actions run later, from the menu: only while the window still belongs to this control.
    const QPointer<DateEditWindow> w(window_);
    const auto add = [&](const QString &text, bool enabled, std::function<void()> act) {
        QAction *a = menu->addAction(text);
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, menu, [w, act] {
            if (w && w->attached())
                act();
        });
    };
    add(withKeys("&Copy", QKeySequence::Copy), selected, [this] { editor_.keyDown(vk::KeyC, false, true); });
    add(withKeys("&Paste", QKeySequence::Paste), pasteable && enabled_, [this] {
        com::ComPtr<IUnknown> keep(identity());
        editor_.keyDown(vk::KeyV, false, true);
        repaint();
    });
    menu->addSeparator();
    add(QCoreApplication::translate("QLineEdit", "Select All"), !model_.text().isEmpty(), [this] {
        const int len = int(model_.text().size());
        model_.setCaretAndSelection(len, 0, len);
        repaint();
    });
    contextMenu_ = menu;
    menu->popup(globalPos);
}

// ---------------------------------------------------------------- editing services

void LzDate2Control::toggleEditMode()
{
    editMode_ = editMode_ == 0 ? 1 : 0;
    dirty_ = true;
    repaint();
}

void LzDate2Control::beep()
{
    MessageBeep(0);
}

void LzDate2Control::getCentury(int year, long &century)
{
    LONG c = LONG(century);
    VARIANT arg;
    arg.vt = VT_BYREF | VT_I4;
    arg.plVal = &c;
    fire(DISPID_LDE_GetCentury, {com::Variant::i2(toShort(year)), arg});
    century = c;
}

bool LzDate2Control::hasCalendar() const
{
    // In run mode only a calendar that could be created gives a drop-down; at design time the
    // configured one shows.
    return calendarCode_ >= 0 && (popup_ || !userMode());
}

void LzDate2Control::rebuildPopup()
{
    destroyPopup();
    if (!window_ || calendarCode_ < 0 || !userMode())
        return;
    popup_ = CalendarPopup::create(calendarCode_);
    if (!popup_)
        return; // the calendar cannot be created: no drop-down
    popup_->setOwner(window_);
    popup_->setOnClosed([this](int code) { calendarClosed(code); });
}

void LzDate2Control::destroyPopup()
{
    if (!popup_)
        return;
    CalendarPopup *p = popup_;
    popup_ = nullptr;
    p->detach();
    // A popup whose own handler is running goes when the handler has returned.
    if (p->busy())
        p->deleteLater();
    else
        delete p;
}

void LzDate2Control::openCalendar()
{
    com::ComPtr<IUnknown> keep(identity());
    if (!popup_ || !window_)
        return;
    if (popup_->isOpen()) {
        popup_->setCloseCode(CalendarPopup::Commit);
        return;
    }
    fire(DISPID_LDE_BeforeOpenCalendar);
    if (!popup_ || !window_ || popup_->isOpen())
        return;
    CalendarOpening o;
    o.ownerScreenRect = QRect(window_->mapToGlobal(QPoint(0, 0)), window_->size());
    o.date = model_.status() == Status::Valid ? model_.date() : intlPort().now();
    o.dows = calendarDOWs_;
    o.months = calendarMonths_;
    o.highlight = highlightColor_;
    popup_->open(o);
}

void LzDate2Control::calendarClosed(int code)
{
    com::ComPtr<IUnknown> keep(identity());
    if (code == CalendarPopup::Commit && popup_) {
        DATE d = 0.0;
        if (!popup_->calendarDate(&d) || !std::isfinite(d) || d < kValuePutMin || d > kVariantPutMax) {
            beep();
        } else {
            if (model_.timeStore())
                d = oleCombine(oleWholeDay(d), oleTimePart(model_.date()));
            model_.putValue(d);
        }
    }
    // The focus comes back without focus events.
    returningFromPopup_ = true;
    if (window_) {
        window_->activateWindow();
        window_->setFocus(Qt::PopupFocusReason);
    }
    if (popup_)
        popup_->setClosed();
    buttonPressed_ = false;
    repaint();
    fire(DISPID_LDE_AfterCloseCalendar);
}

bool LzDate2Control::copyText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return true;
}

std::optional<QString> LzDate2Control::pasteText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::nullopt;
    return clipboard->text();
}

} // namespace lzdate
