#pragma once
// LzDate2: the date-edit control object. Its automation face (_DLzDate2, three layouts by the
// version of the loaded properties), its events (_DLzDate2Events and property notification),
// persistence to streams and property bags, and hosting in a container (IQtControl).
#include "DateEditor.h"
#include "DateModel.h"
#include "DatePaint.h"
#include "LzDateEdit.h"
#include "PropExchange.h"

#include "com/connpt.h"
#include "com/dispimpl.h"
#include "com/interfaces.h"
#include "com/object.h"
#include "ole/font.h"
#include "ole/olecontrol.h"

#include <QPointer>

class QMenu;
class QPainter;
class QKeyEvent;
class QMouseEvent;

namespace lzdate {

class CalendarPopup;
class DateEditWindow;

class LzDate2Control final
    : public com::ComObject<_DLzDate2, IConnectionPointContainer, IProvideClassInfo2, IPersistStreamInit,
                            IPersistPropertyBag, IQtControl, ISpecifyPropertyPages, IPerPropertyBrowsing>,
      private DateModelHost,
      private DateEditorHost
{
public:
    LzDate2Control();
    ~LzDate2Control() override;

    // IDispatch (the layout follows the loaded version)
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid, DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *excep, UINT *argErr) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **ppTI) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *pGUID) override;

    // IPersistStreamInit, IPersistPropertyBag
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream *pStm) override;
    HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pCbSize) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag *pPropBag, IErrorLog *pErrorLog) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag *pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) override;

    // ISpecifyPropertyPages, IPerPropertyBrowsing
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID *pPages) override;
    HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID dispID, BSTR *pBstr) override;
    HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID dispID, CLSID *pClsid) override;
    HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID dispID, CALPOLESTR *pCaStringsOut,
                                                   CADWORD *pCaCookiesOut) override;
    HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID dispID, DWORD dwCookie, VARIANT *pVarOut) override;

    // IQtControl
    HRESULT STDMETHODCALLTYPE SetSite(IControlSite *pSite) override;
    HRESULT STDMETHODCALLTYPE GetSite(IControlSite **ppSite) override;
    HRESULT STDMETHODCALLTYPE Activate(QWidget *parent, QWidget **ppWidget) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetWidget(QWidget **ppWidget) override;
    HRESULT STDMETHODCALLTYPE GetNaturalSize(SIZE *pSize) override;
    HRESULT STDMETHODCALLTYPE AmbientPropertyChanged(DISPID dispid) override;

    // ---- automation members (_DLzDate2)
    HRESULT get_Alignment(SHORT *v);
    HRESULT put_Alignment(SHORT v);
    HRESULT get_DisplayFormat(SHORT *v);
    HRESULT put_DisplayFormat(SHORT v);
    HRESULT get_HighlightInverted(VARIANT_BOOL *v);
    HRESULT put_HighlightInverted(VARIANT_BOOL v);
    HRESULT get_HighlightColor(OLE_COLOR *v);
    HRESULT put_HighlightColor(OLE_COLOR v);
    HRESULT get_DateFormat(SHORT *v);
    HRESULT put_DateFormat(SHORT v);
    HRESULT get_Separator(BSTR *v);
    HRESULT put_Separator(BSTR v);
    HRESULT get_DisabledColor(OLE_COLOR *v);
    HRESULT put_DisabledColor(OLE_COLOR v);
    HRESULT get_TimeStore(VARIANT_BOOL *v);
    HRESULT put_TimeStore(VARIANT_BOOL v);
    HRESULT get_Modified(VARIANT_BOOL *v);
    HRESULT put_Modified(VARIANT_BOOL v);
    HRESULT get_SeparatorDefault(VARIANT_BOOL *v);
    HRESULT put_SeparatorDefault(VARIANT_BOOL v);
    HRESULT get_Border(SHORT *v);
    HRESULT put_Border(SHORT v);
    HRESULT get_EditMode(SHORT *v);
    HRESULT put_EditMode(SHORT v);
    HRESULT get_EditModeChange(VARIANT_BOOL *v);
    HRESULT put_EditModeChange(VARIANT_BOOL v);
    HRESULT get_ValueReset(SHORT *v);
    HRESULT put_ValueReset(SHORT v);
    HRESULT get_CalendarDOWs(BSTR *v);
    HRESULT put_CalendarDOWs(BSTR v);
    HRESULT get_CalendarMonths(BSTR *v);
    HRESULT put_CalendarMonths(BSTR v);
    HRESULT get_NullString(BSTR *v);
    HRESULT put_NullString(BSTR v);
    HRESULT get_SelectionPersistance(SHORT *v);
    HRESULT put_SelectionPersistance(SHORT v);
    HRESULT get_FreeFormEntry(VARIANT_BOOL *v);
    HRESULT put_FreeFormEntry(VARIANT_BOOL v);
    HRESULT get_VariantData(VARIANT *v);
    HRESULT put_VariantData(VARIANT v);
    HRESULT get_CalendarControl(IDispatch **v);
    HRESULT get_Value(DATE *v);
    HRESULT put_Value(DATE v);
    HRESULT get_Day(SHORT *v);
    HRESULT put_Day(SHORT v);
    HRESULT get_Month(SHORT *v);
    HRESULT put_Month(SHORT v);
    HRESULT get_Year(SHORT *v);
    HRESULT put_Year(SHORT v);
    HRESULT get_DateString(BSTR *v);
    HRESULT put_DateString(BSTR v);
    HRESULT get_CalendarFormat(SHORT *v);
    HRESULT put_CalendarFormat(SHORT v);
    HRESULT get_Status(SHORT *v);
    HRESULT get_DayOfWeek(SHORT *v);
    HRESULT get_DayOfYear(SHORT *v);
    HRESULT get_WeekOfYear(SHORT *v);
    HRESULT put_ReadOnly(VARIANT v); // the put of every read-only property
    HRESULT SetSelection(SHORT start, SHORT end);
    HRESULT getCaretPosition(SHORT *v);
    HRESULT getStartSelection(SHORT *v);
    HRESULT getEndSelection(SHORT *v);
    HRESULT AboutBox();
    HRESULT get_Font(IFontDisp **v);
    HRESULT put_Font(IFontDisp *v);
    HRESULT get_BackColor(OLE_COLOR *v);
    HRESULT put_BackColor(OLE_COLOR v);
    HRESULT get_ForeColor(OLE_COLOR *v);
    HRESULT put_ForeColor(OLE_COLOR v);
    HRESULT get_Enabled(VARIANT_BOOL *v);
    HRESULT put_Enabled(VARIANT_BOOL v);
    HRESULT get_hWnd(OLE_HANDLE *v);

    // ---- for the control's window
    const DateModel &model() const { return model_; }
    void paint(QPainter &p, const QRect &bounds);
    // The size that shows the longest text of the display format whole (the window's size hint).
    QSize naturalTextSize() const;
    void focusIn(bool byClick = false);
    // toPopupMenu: the focus goes to a popup menu that opened over the field.
    void focusOut(bool toPopupMenu = false);
    void keyDown(QKeyEvent *e);
    void keyUp(QKeyEvent *e);
    void mouseDown(QMouseEvent *e);
    void mouseUp(QMouseEvent *e, bool inside);
    void mouseMove(QMouseEvent *e);
    void doubleClick(QMouseEvent *e);
    // The right mouse button or the menu key: a text box's menu (copy, paste, select all).
    void contextMenu(const QPoint &globalPos);
    void windowDestroyed();
    // The cursor over a point of the window: an arrow over the drop-down button, else an I-beam.
    bool overButton(const QPoint &pos) const;

    ULONG loadedVersion() const { return version_; }

private:
    // DateModelHost
    bool requestBoundEdit() override;
    void boundChanged() override;
    void changeEvent() override;
    void repaint() override;
    void setDirty() override;

    // DateEditorHost
    bool editEnabled() const override { return enabled_; }
    int editMode() const override { return editMode_; }
    bool editModeChange() const override { return editModeChange_; }
    bool freeFormEntry() const override { return freeFormEntry_; }
    bool caretExists() const override { return caretCreated_; }
    void toggleEditMode() override;
    void beep() override;
    void getCentury(int year, long &century) override;
    void openCalendar() override;
    bool copyText(const QString &text) override;
    std::optional<QString> pasteText() override;

    // The calendar popup.
    bool hasCalendar() const;
    void rebuildPopup();
    void destroyPopup();
    void calendarClosed(int code);
    // Hands a key that reached the field to the open calendar; false when it stays the field's.
    bool keyForOpenCalendar(QKeyEvent *e);

    PaintState paintState() const;
    void measureCellsIfNeeded();
    void createCaret();
    void characterTyped(QKeyEvent *e);

    const com::DispatchTable &table() const;
    bool userMode() const;
    ExchangeContext exchangeContext() const;
    LzDate2Props currentProps() const;
    void applyProps(const LzDate2Props &p);
    HRESULT beginInit();
    void stockChanged(DISPID dispid);
    void fire(DISPID dispid, std::initializer_list<VARIANT> args = {});
    void fireMouse(DISPID dispid, QMouseEvent *e);
    void fireKey(DISPID dispid, QKeyEvent *e);
    QFont currentQFont() const;

    com::ConnectionPoint events_{identity(), DIID__DLzDate2Events};
    com::ConnectionPoint notify_{identity(), IID_IPropertyNotifySink};
    com::ConnectionPoints points_{this, {&events_, &notify_}};
    com::ComPtr<IControlSite> site_;
    QPointer<DateEditWindow> window_;

    DateModel model_;
    SHORT alignment_ = 0;
    SHORT displayFormat_ = 0;
    bool highlightInverted_ = false;
    OLE_COLOR highlightColor_ = 0x8000000D;
    OLE_COLOR disabledColor_ = 0x80000011;
    bool modified_ = false;
    SHORT border_ = 0;
    SHORT editMode_ = 0;
    bool editModeChange_ = false;
    SHORT valueReset_ = 0;
    QString calendarDOWs_;
    QString calendarMonths_;
    bool freeFormEntry_ = false;
    SHORT calendarCode_ = -1; // CalendarFormat as internal code
    com::ComPtr<IFontDisp> font_;
    OLE_COLOR backColor_ = 0x80000005;
    OLE_COLOR foreColor_ = 0x80000008;
    bool enabled_ = true;

    ULONG version_ = kCurrentVersion; // of the loaded properties; fixes the dispatch layout
    bool initialized_ = false;
    bool dirty_ = false;
    LONG extentX_ = 0;
    LONG extentY_ = 0;
    int drawnWidth_ = 0;
    int drawnHeight_ = 0;
    int cellWidth_ = 0; // 0: to be measured at the next paint
    int lineHeight_ = 0;
    PaintLayout layout_;     // of the last paint
    QSize shownNaturalSize_; // the size hint the container's layout last heard of
    // The widest of the display code's dates (naturalTextSize), with what it was measured for: it
    // changes with the font, the look and the display code, not with each property or value set.
    struct WidestDate
    {
        QFont font;
        int displayFormat = -1;
        int border = -1;
        bool hasButton = false;
        bool longFormat = false;
        CellMetrics cells;
        int code = -1;
        QChar sep;
        const IntlPort *port = nullptr;
        QString text;
    };
    mutable WidestDate widestDate_;
    bool caretCreated_ = false;
    bool buttonPressed_ = false;
    bool focusByClick_ = false; // the focus came with the mouse press now being handled
    QPointer<CalendarPopup> popup_;
    bool returningFromPopup_ = false; // the focus is being given back by the closed popup
    QPointer<QMenu> contextMenu_;
    bool focusHeldByMenu_ = false; // the focus went to the own context menu and comes back from it
    DateEditor editor_{model_, *this};
};

} // namespace lzdate
