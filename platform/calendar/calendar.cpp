// The two calendar controls and the library's entry points.
#include "lzcalendar.h"
#include "monthview_p.h"
#include "ole/clock.h"

#include "com/activation.h"
#include "com/bstr.h"
#include "com/connpt.h"
#include "com/dispimpl.h"
#include "com/object.h"
#include "com/regscript.h"
#include "ole/font.h"
#include "ole/olecolor.h"
#include "ole/olecontrol.h"

#include <QPointer>

#include <array>
#include <cmath>

TV_COM_MODULE()

namespace lzcal {
namespace {

const QDate kOleEpoch(1899, 12, 30);

bool dateFromOle(DATE x, QDate *out)
{
    if (!std::isfinite(x) || x < -700000.0 || x > 3000000.0)
        return false;
    const QDate d = kOleEpoch.addDays(qint64(std::floor(x)));
    if (!d.isValid() || d < QDate(100, 1, 1) || d > QDate(9999, 12, 31))
        return false;
    *out = d;
    return true;
}

DATE oleFromDate(const QDate &d)
{
    return DATE(kOleEpoch.daysTo(d));
}

QColor colorOf(LONG c)
{
    COLORREF ref = 0;
    if (FAILED(OleTranslateColor(OLE_COLOR(c), 0, &ref)))
        ref = COLORREF(c) & 0xFFFFFF;
    return ole::toQColor(ref);
}

// Key codes of the key events.
SHORT keyCode(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return SHORT(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return SHORT(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
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
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

SHORT shiftOf(Qt::KeyboardModifiers m)
{
    return SHORT((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}

// What both calendars keep: the settings (also while they have no window) and the window.
class CalendarCore
{
public:
    int months = 0;
    QDate date = ole::Today();
    QColor selFore{255, 255, 255};
    QColor selBack{0, 0, 128};
    QColor back{255, 255, 255};
    QColor grid{255, 255, 255};
    bool border = true;
    int spacing = 6;
    QColor weekday[7];
    bool showToday = false;
    QFont font;
    bool fontSet = false;
    QStringList letters{"S", "M", "T", "W", "T", "F", "S"};
    QStringList names =
        QStringLiteral("January|February|March|April|May|June|July|August|September|October|November|December")
            .split(u'|');
    QPointer<MonthView> view;

    ~CalendarCore() { delete view.data(); }

    QDate current() const { return view ? view->date() : date; }
    MonthView *create(QWidget *parent)
    {
        view = new MonthView(parent);
        view->setMonthsCode(months);
        for (int i = 0; i < 7; ++i) {
            view->setDayLetter(i, letters[i]);
            if (weekday[i].isValid())
                view->setWeekdayColor(i, weekday[i]);
        }
        for (int i = 0; i < 12; ++i)
            view->setMonthName(i, names[i]);
        view->setSelectionColors(selFore, selBack);
        view->setBackColors(back, grid);
        view->setBorder(border);
        view->setMonthSpacing(spacing);
        view->setShowToday(showToday);
        if (fontSet)
            view->setCalendarFont(font);
        view->setDate(date);
        return view;
    }
    void setMonths(int code)
    {
        months = code == 1 || code == 3 ? code : 0;
        if (view)
            view->setMonthsCode(months);
    }
    HRESULT setDate(DATE x)
    {
        QDate d;
        if (!dateFromOle(x, &d))
            return E_INVALIDARG;
        date = d;
        if (view)
            view->setDate(d);
        return S_OK;
    }
    void setSelection(const QColor &fore, const QColor &back_)
    {
        selFore = fore;
        selBack = back_;
        if (view)
            view->setSelectionColors(selFore, selBack);
    }
    void setLetter(int i, const QString &letter)
    {
        if (i < 0 || i > 6)
            return;
        letters[i] = letter;
        if (view)
            view->setDayLetter(i, letter);
    }
    void setName(int i, const QString &name)
    {
        if (i < 0 || i > 11)
            return;
        names[i] = name;
        if (view)
            view->setMonthName(i, name);
    }
};

// The parts of a control both calendars share: hosting and (empty) persistence.
template <class Iface>
class CalendarControl
    : public com::ComObject<Iface, IProvideClassInfo2, IConnectionPointContainer, IQtControl, IPersistStreamInit>
{
public:
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
        if (!core_.view) {
            MonthView *v = core_.create(parent);
            connectView(v);
        } else if (core_.view->parentWidget() != parent) {
            core_.view->setParent(parent);
        }
        *pp = core_.view;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override
    {
        if (!core_.view)
            return S_FALSE;
        core_.date = core_.view->date();
        delete core_.view.data();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWidget(QWidget **pp) override
    {
        if (!pp)
            return E_POINTER;
        *pp = core_.view;
        return core_.view ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetNaturalSize(SIZE *p) override
    {
        if (!p)
            return E_POINTER;
        MonthView probe;
        probe.setMonthsCode(core_.months);
        const QSize s = probe.minimumSizeHint().expandedTo(probe.sizeHint());
        *p = {s.width(), s.height()};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AmbientPropertyChanged(DISPID) override { return S_OK; }

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
    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }

protected:
    CalendarControl(const IID &events) : events_(this->identity(), events) {}
    ~CalendarControl() override { points_.clearAll(); }
    virtual void connectView(MonthView *v) = 0;
    void fire(DISPID id, std::initializer_list<VARIANT> args = {})
    {
        com::ComPtr<IUnknown> keep(this->identity());
        events_.fire(id, args);
    }

    CalendarCore core_;
    com::ComPtr<IControlSite> site_;
    com::ConnectionPoint events_;
    com::ConnectionPoints points_{this, {&events_}};
};

// ---------------------------------------------------------------- the one-piece calendar

struct ILzCalendarCtrl : IDispatch
{
    static constexpr IID iid = DIID__DLzCalendarCtrl;
    using base_type = IDispatch;
};

class OnePieceCalendar final : public CalendarControl<ILzCalendarCtrl>
{
public:
    OnePieceCalendar() : CalendarControl(DIID__DLzCalendarCtrlEvents) {}

    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<OnePieceCalendar>;
        using C = OnePieceCalendar;
        static const com::DispatchTable t(
            DIID__DLzCalendarCtrl, u"_DLzCalendarCtrl",
            {
                B::get<&C::get_Months>(LzCalendarCtrlDisp::Months, u"Months"),
                B::put<&C::put_Months>(LzCalendarCtrlDisp::Months, u"Months"),
                B::get<&C::get_Value>(LzCalendarCtrlDisp::Value, u"Value", {VT_DATE}),
                B::put<&C::put_Value>(LzCalendarCtrlDisp::Value, u"Value", {VT_DATE}),
                B::get<&C::get_SelectedForeColor>(LzCalendarCtrlDisp::SelectedForeColor, u"SelectedForeColor"),
                B::put<&C::put_SelectedForeColor>(LzCalendarCtrlDisp::SelectedForeColor, u"SelectedForeColor"),
                B::get<&C::get_SelectedBackColor>(LzCalendarCtrlDisp::SelectedBackColor, u"SelectedBackColor"),
                B::put<&C::put_SelectedBackColor>(LzCalendarCtrlDisp::SelectedBackColor, u"SelectedBackColor"),
                B::get<&C::get_DayLetters>(LzCalendarCtrlDisp::DayLetters, u"DayLetters"),
                B::put<&C::put_DayLetters>(LzCalendarCtrlDisp::DayLetters, u"DayLetters"),
                B::get<&C::get_MonthNames>(LzCalendarCtrlDisp::MonthNames, u"MonthNames"),
                B::put<&C::put_MonthNames>(LzCalendarCtrlDisp::MonthNames, u"MonthNames"),
            });
        return t;
    }
    static const com::DispatchTable &eventTable()
    {
        using com::describeMember;
        constexpr auto M = com::DispKind::Method;
        static const com::DispatchTable t(
            DIID__DLzCalendarCtrlEvents, u"_DLzCalendarCtrlEvents",
            {
                describeMember(DISPID_CLICK, u"Click", M, {}),
                describeMember(DISPID_KEYDOWN, u"KeyDown", M, {VARTYPE(VT_BYREF | VT_I2), VT_I2}),
            });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **pp) override { return com::classTypeInfo(info(), pp); }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *p) override { return com::classSourceGuid(info(), kind, p); }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *p) override
    {
        if (!p)
            return E_POINTER;
        *p = CLSID_LzCalendarCtrl;
        return S_OK;
    }

    HRESULT get_Months(SHORT *v)
    {
        *v = SHORT(core_.months);
        return S_OK;
    }
    HRESULT put_Months(SHORT v)
    {
        core_.setMonths(v);
        return S_OK;
    }
    HRESULT get_Value(DATE *v)
    {
        *v = oleFromDate(core_.current());
        return S_OK;
    }
    HRESULT put_Value(DATE v) { return core_.setDate(v); }
    HRESULT get_SelectedForeColor(LONG *v)
    {
        *v = selFore_;
        return S_OK;
    }
    HRESULT put_SelectedForeColor(LONG v)
    {
        selFore_ = v;
        core_.setSelection(colorOf(v), core_.selBack);
        return S_OK;
    }
    HRESULT get_SelectedBackColor(LONG *v)
    {
        *v = selBack_;
        return S_OK;
    }
    HRESULT put_SelectedBackColor(LONG v)
    {
        selBack_ = v;
        core_.setSelection(core_.selFore, colorOf(v));
        return S_OK;
    }
    HRESULT get_DayLetters(BSTR *v)
    {
        *v = com::allocBstr(core_.letters.join(QString()));
        return S_OK;
    }
    HRESULT put_DayLetters(BSTR v)
    {
        // One letter per weekday from Sunday; weekdays the text does not reach keep theirs.
        const QString s = com::toQString(v);
        for (int i = 0; i < 7 && i < s.size(); ++i)
            core_.setLetter(i, QString(s[i]));
        return S_OK;
    }
    HRESULT get_MonthNames(BSTR *v)
    {
        *v = com::allocBstr(core_.names.join(u'|'));
        return S_OK;
    }
    HRESULT put_MonthNames(BSTR v)
    {
        const QStringList names = com::toQString(v).split(u'|');
        for (int i = 0; i < 12 && i < names.size(); ++i)
            if (!names[i].isEmpty())
                core_.setName(i, names[i]);
        return S_OK;
    }

private:
    static const com::CoClassInfo &info()
    {
        static const com::CoClassInfo i{CLSID_LzCalendarCtrl, u"LzCalendarCtrl", &table(), DIID__DLzCalendarCtrlEvents,
                                        &eventTable()};
        return i;
    }
    void connectView(MonthView *v) override
    {
        QObject::connect(v, &MonthView::dayClicked, v,
                         [this](const QDate &, const QPoint &, Qt::KeyboardModifiers) { fire(DISPID_CLICK); });
        QObject::connect(v, &MonthView::keyPressed, v, [this](int key, Qt::KeyboardModifiers m, bool *swallow) {
            SHORT code = keyCode(key);
            if (!code)
                return;
            VARIANT arg;
            arg.vt = VT_BYREF | VT_I2;
            arg.piVal = &code;
            fire(DISPID_KEYDOWN, {arg, com::Variant::i2(shiftOf(m))});
            *swallow = code == 0; // the handler took the key
        });
    }

    LONG selFore_ = 0x00FFFFFF;
    LONG selBack_ = 0x00800000;
};

// ---------------------------------------------------------------- the grid calendar

struct ILzGridCalendar : IDispatch
{
    static constexpr IID iid = DIID_ILzGridCalendar;
    using base_type = IDispatch;
};

class GridCalendar final : public CalendarControl<ILzGridCalendar>
{
public:
    GridCalendar() : CalendarControl(DIID__ILzGridCalendarEvents) {}

    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<GridCalendar>;
        using C = GridCalendar;
        namespace D = LzGridCalendarDisp;
        static const com::DispatchTable t(
            DIID_ILzGridCalendar, u"ILzGridCalendar",
            {
                B::get<&C::get_Value>(D::Value, u"Value", {VT_DATE}),
                B::put<&C::put_Value>(D::Value, u"Value", {VT_DATE}),
                B::get<&C::get_BackColor>(D::BackColor, u"BackColor"),
                B::put<&C::put_BackColor>(D::BackColor, u"BackColor"),
                B::get<&C::get_GridBackColor>(D::GridBackColor, u"GridBackColor"),
                B::put<&C::put_GridBackColor>(D::GridBackColor, u"GridBackColor"),
                B::get<&C::get_BorderStyle>(D::BorderStyle, u"BorderStyle"),
                B::put<&C::put_BorderStyle>(D::BorderStyle, u"BorderStyle"),
                B::get<&C::get_SelectedForeColor>(D::SelectedForeColor, u"SelectedForeColor"),
                B::put<&C::put_SelectedForeColor>(D::SelectedForeColor, u"SelectedForeColor"),
                B::get<&C::get_SelectedBackColor>(D::SelectedBackColor, u"SelectedBackColor"),
                B::put<&C::put_SelectedBackColor>(D::SelectedBackColor, u"SelectedBackColor"),
                B::get<&C::get_Months>(D::Months, u"Months"),
                B::put<&C::put_Months>(D::Months, u"Months"),
                B::get<&C::get_MonthSpacing>(D::MonthSpacing, u"MonthSpacing"),
                B::put<&C::put_MonthSpacing>(D::MonthSpacing, u"MonthSpacing"),
                B::get<&C::get_WeekdayColor>(D::WeekdayColor, u"WeekdayColor"),
                B::put<&C::put_WeekdayColor>(D::WeekdayColor, u"WeekdayColor"),
                B::get<&C::get_DayLetter>(D::DayLetter, u"DayLetter"),
                B::put<&C::put_DayLetter>(D::DayLetter, u"DayLetter"),
                B::get<&C::get_MonthName>(D::MonthName, u"MonthName"),
                B::put<&C::put_MonthName>(D::MonthName, u"MonthName"),
                B::get<&C::get_Font>(D::Font, u"Font"),
                B::put<&C::put_Font>(D::Font, u"Font"),
                B::putRef<&C::put_Font>(D::Font, u"Font"),
                B::get<&C::get_ShowToday>(D::ShowToday, u"ShowToday"),
                B::put<&C::put_ShowToday>(D::ShowToday, u"ShowToday"),
            });
        return t;
    }
    static const com::DispatchTable &eventTable()
    {
        using com::describeMember;
        constexpr auto M = com::DispKind::Method;
        namespace E = LzGridCalendarEvent;
        static const com::DispatchTable t(DIID__ILzGridCalendarEvents, u"_ILzGridCalendarEvents",
                                          {
                                              describeMember(E::DateChanged, u"DateChanged", M, {VT_DATE}),
                                              describeMember(E::KeyDown, u"KeyDown", M, {VT_I2, VT_I2}),
                                              describeMember(E::MouseUp, u"MouseUp", M, {VT_I2, VT_I2, VT_I4, VT_I4}),
                                              describeMember(E::Scrolled, u"Scrolled", M, {}),
                                          });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **pp) override { return com::classTypeInfo(info(), pp); }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *p) override { return com::classSourceGuid(info(), kind, p); }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *p) override
    {
        if (!p)
            return E_POINTER;
        *p = CLSID_LzGridCalendar;
        return S_OK;
    }

    HRESULT get_Value(DATE *v)
    {
        *v = oleFromDate(core_.current());
        return S_OK;
    }
    HRESULT put_Value(DATE v) { return core_.setDate(v); }
    HRESULT get_BackColor(LONG *v)
    {
        *v = back_;
        return S_OK;
    }
    HRESULT put_BackColor(LONG v)
    {
        back_ = v;
        core_.back = colorOf(v);
        if (core_.view)
            core_.view->setBackColors(core_.back, core_.grid);
        return S_OK;
    }
    HRESULT get_GridBackColor(LONG *v)
    {
        *v = grid_;
        return S_OK;
    }
    HRESULT put_GridBackColor(LONG v)
    {
        grid_ = v;
        core_.grid = colorOf(v);
        if (core_.view)
            core_.view->setBackColors(core_.back, core_.grid);
        return S_OK;
    }
    HRESULT get_BorderStyle(SHORT *v)
    {
        *v = core_.border ? 1 : 0;
        return S_OK;
    }
    HRESULT put_BorderStyle(SHORT v)
    {
        core_.border = v != 0;
        if (core_.view)
            core_.view->setBorder(core_.border);
        return S_OK;
    }
    HRESULT get_SelectedForeColor(LONG *v)
    {
        *v = selFore_;
        return S_OK;
    }
    HRESULT put_SelectedForeColor(LONG v)
    {
        selFore_ = v;
        core_.setSelection(colorOf(v), core_.selBack);
        return S_OK;
    }
    HRESULT get_SelectedBackColor(LONG *v)
    {
        *v = selBack_;
        return S_OK;
    }
    HRESULT put_SelectedBackColor(LONG v)
    {
        selBack_ = v;
        core_.setSelection(core_.selFore, colorOf(v));
        return S_OK;
    }
    HRESULT get_Months(SHORT *v)
    {
        *v = SHORT(core_.months);
        return S_OK;
    }
    HRESULT put_Months(SHORT v)
    {
        core_.setMonths(v);
        return S_OK;
    }
    HRESULT get_MonthSpacing(SHORT *v)
    {
        *v = SHORT(core_.spacing);
        return S_OK;
    }
    HRESULT put_MonthSpacing(SHORT v)
    {
        core_.spacing = std::clamp<int>(v, 0, 100);
        if (core_.view)
            core_.view->setMonthSpacing(core_.spacing);
        return S_OK;
    }
    HRESULT get_WeekdayColor(SHORT index, LONG *v)
    {
        if (index < 0 || index > 6)
            return E_INVALIDARG;
        *v = weekday_[index];
        return S_OK;
    }
    HRESULT put_WeekdayColor(SHORT index, LONG v)
    {
        if (index < 0 || index > 6)
            return E_INVALIDARG;
        weekday_[index] = v;
        core_.weekday[index] = colorOf(v);
        if (core_.view)
            core_.view->setWeekdayColor(index, core_.weekday[index]);
        return S_OK;
    }
    HRESULT get_DayLetter(SHORT index, BSTR *v)
    {
        if (index < 0 || index > 6)
            return E_INVALIDARG;
        *v = com::allocBstr(core_.letters[index]);
        return S_OK;
    }
    HRESULT put_DayLetter(SHORT index, BSTR v)
    {
        if (index < 0 || index > 6)
            return E_INVALIDARG;
        core_.setLetter(index, com::toQString(v));
        return S_OK;
    }
    HRESULT get_MonthName(SHORT index, BSTR *v)
    {
        if (index < 0 || index > 11)
            return E_INVALIDARG;
        *v = com::allocBstr(core_.names[index]);
        return S_OK;
    }
    HRESULT put_MonthName(SHORT index, BSTR v)
    {
        if (index < 0 || index > 11)
            return E_INVALIDARG;
        core_.setName(index, com::toQString(v));
        return S_OK;
    }
    HRESULT get_Font(IDispatch **v)
    {
        *v = nullptr;
        if (!font_)
            return S_OK;
        return font_->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(v));
    }
    HRESULT put_Font(IDispatch *v)
    {
        font_ = v;
        core_.font = ole::toQFont(v);
        core_.fontSet = v != nullptr;
        if (core_.view && core_.fontSet)
            core_.view->setCalendarFont(core_.font);
        return S_OK;
    }
    HRESULT get_ShowToday(LONG *v)
    {
        *v = core_.showToday ? 1 : 0;
        return S_OK;
    }
    HRESULT put_ShowToday(LONG v)
    {
        core_.showToday = v != 0;
        if (core_.view)
            core_.view->setShowToday(core_.showToday);
        return S_OK;
    }

private:
    static const com::CoClassInfo &info()
    {
        static const com::CoClassInfo i{CLSID_LzGridCalendar, u"LzCalendar", &table(), DIID__ILzGridCalendarEvents,
                                        &eventTable()};
        return i;
    }
    void connectView(MonthView *v) override
    {
        namespace E = LzGridCalendarEvent;
        QObject::connect(v, &MonthView::dateMoved, v,
                         [this](const QDate &d) { fire(E::DateChanged, {com::Variant::fromDate(oleFromDate(d))}); });
        QObject::connect(v, &MonthView::scrolled, v, [this] { fire(E::Scrolled); });
        QObject::connect(v, &MonthView::dayClicked, v,
                         [this](const QDate &d, const QPoint &pos, Qt::KeyboardModifiers m) {
                             fire(E::DateChanged, {com::Variant::fromDate(oleFromDate(d))});
                             fire(E::MouseUp, {com::Variant::i2(1), com::Variant::i2(shiftOf(m)),
                                               com::Variant::i4(pos.x()), com::Variant::i4(pos.y())});
                         });
        QObject::connect(v, &MonthView::keyPressed, v, [this](int key, Qt::KeyboardModifiers m, bool *) {
            if (const SHORT code = keyCode(key))
                fire(E::KeyDown, {com::Variant::i2(code), com::Variant::i2(shiftOf(m))});
        });
    }

    LONG back_ = 0x00FFFFFF;
    LONG grid_ = 0x00FFFFFF;
    LONG selFore_ = 0x00FFFFFF;
    LONG selBack_ = 0x00800000;
    LONG weekday_[7] = {0, 0, 0, 0, 0, 0, 0};
    com::ComPtr<IDispatch> font_;
};

// ---------------------------------------------------------------- registration

const std::array<com::ClassEntry, 2> kClasses{{
    {&CLSID_LzCalendarCtrl, &com::createInstance<OnePieceCalendar>},
    {&CLSID_LzGridCalendar, &com::createInstance<GridCalendar>},
}};

const char kRegistryScript[] = R"(HKCR
{
    LzCalendar.LzCalendarCtrl.1 = s 'Calendar Control'
    {
        CLSID = s '{6A3D2E10-8C41-4B7A-9E25-41C7D0B3A801}'
    }
    LzATLCalendar.LzCalendar = s 'Calendar Grid Control'
    {
        CLSID = s '{6A3D2E20-8C41-4B7A-9E25-41C7D0B3A801}'
    }
    NoRemove CLSID
    {
        ForceRemove {6A3D2E10-8C41-4B7A-9E25-41C7D0B3A801} = s 'Calendar Control'
        {
            ProgID = s 'LzCalendar.LzCalendarCtrl.1'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            Control
        }
        ForceRemove {6A3D2E20-8C41-4B7A-9E25-41C7D0B3A801} = s 'Calendar Grid Control'
        {
            ProgID = s 'LzATLCalendar.LzCalendar'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            Control
        }
    }
}
)";

QString ownPath()
{
    return com::modulePath(reinterpret_cast<const void *>(&ownPath));
}

} // namespace
} // namespace lzcal

TV_COM_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    return com::getClassObject(lzcal::kClasses, rclsid, riid, ppv);
}

TV_COM_EXPORT HRESULT DllCanUnloadNow()
{
    return com::moduleLock().canUnloadNow();
}

TV_COM_EXPORT HRESULT DllRegisterServer()
{
    const QString path = lzcal::ownPath();
    if (path.isEmpty())
        return SELFREG_E_CLASS;
    return com::runRegistryScript(QString::fromUtf8(lzcal::kRegistryScript), true, {{QStringLiteral("MODULE"), path}});
}

TV_COM_EXPORT HRESULT DllUnregisterServer()
{
    return com::runRegistryScript(QString::fromUtf8(lzcal::kRegistryScript), false,
                                  {{QStringLiteral("MODULE"), lzcal::ownPath()}});
}
