// The control object through its COM face: registration and creation by ProgID, late-bound
// automation, events, dispatch layouts by version, and persistence to streams and bags.
#include "LzDateEdit.h"

#include "fake_intl.h"

#include "com/com.h"
#include "ole/ole.h"
#include "testsupport/today.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QFocusEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <dlfcn.h>
#include <vector>

TV_COM_MODULE()

namespace {

using com::ComPtr;
using com::Variant;

double today()
{
    const QDate d = testsupport::Heute;
    return oleDate(d.year(), d.month(), d.day());
}

// Records the control's events and answers property-edit requests.
struct EventLog
{
    std::vector<DISPID> events;
    std::vector<DISPID> changed;
    bool allowEdits = true;
    int count(DISPID id) const { return int(std::count(events.begin(), events.end(), id)); }
};

class NotifySink : public com::ComObject<IPropertyNotifySink>
{
public:
    explicit NotifySink(EventLog &log) : log_(log) {}
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override
    {
        log_.changed.push_back(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return log_.allowEdits ? S_OK : S_FALSE; }

private:
    EventLog &log_;
};

class Control : public ::testing::Test
{
protected:
    static inline QTemporaryDir *dir = nullptr;
    static inline void *library = nullptr;

    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        qputenv("TORVANA_REGISTRY", dir->filePath("registry").toLocal8Bit());
        library = dlopen(LZDATEEDIT_LIBRARY, RTLD_NOW);
        ASSERT_NE(library, nullptr) << dlerror();
        auto reg = reinterpret_cast<PFN_DllRegisterServer>(dlsym(library, "DllRegisterServer"));
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK);
    }
    static void TearDownTestSuite()
    {
        qunsetenv("TORVANA_REGISTRY");
        delete dir;
        dir = nullptr;
    }

    EventLog log;
    std::vector<std::pair<ComPtr<IConnectionPoint>, DWORD>> advised;

    ~Control() override
    {
        for (auto &[point, cookie] : advised)
            point->Unadvise(cookie);
    }

    ComPtr<IDispatch> create(bool initNew = true)
    {
        ComPtr<IDispatch> d;
        EXPECT_EQ(com::createInstance(CLSID_LzDate2, d), S_OK);
        if (d && initNew) {
            EXPECT_EQ(d.as<IPersistStreamInit>()->InitNew(), S_OK);
        }
        return d;
    }

    // A control activated in parent and painted once, as the control of a shown form is.
    ComPtr<IDispatch> painted(QWidget &parent)
    {
        ComPtr<IDispatch> d = create();
        QWidget *w = nullptr;
        EXPECT_EQ(d.as<IQtControl>()->Activate(&parent, &w), S_OK);
        if (w) {
            w->resize(120, 22);
            w->grab();
        }
        return d;
    }

    void listen(IDispatch *control)
    {
        auto container = ComPtr<IDispatch>(control).as<IConnectionPointContainer>();
        ComPtr<IConnectionPoint> events, notify;
        ASSERT_EQ(container->FindConnectionPoint(DIID__DLzDate2Events, events.put()), S_OK);
        ASSERT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, notify.put()), S_OK);
        auto sink =
            com::makeObject<com::DispatchSink>(DIID__DLzDate2Events, [this](DISPID id, DISPPARAMS *, VARIANT *) {
                log.events.push_back(id);
                return S_OK;
            });
        auto notifier = com::makeObject<NotifySink>(log);
        DWORD c1 = 0, c2 = 0;
        ASSERT_EQ(events->Advise(sink.get(), &c1), S_OK);
        ASSERT_EQ(notify->Advise(notifier.get(), &c2), S_OK);
        advised.emplace_back(events, c1);
        advised.emplace_back(notify, c2);
    }

    static Variant get(IDispatch *d, DISPID id)
    {
        Variant v;
        EXPECT_EQ(com::dispGet(d, id, &v), S_OK) << "DISPID " << id;
        return v;
    }
    static HRESULT put(IDispatch *d, DISPID id, const VARIANT &v) { return com::dispPut(d, id, v); }
    static QString text(IDispatch *d) { return com::variantToString(get(d, DISPID_LD_DateString)); }
    static double value(IDispatch *d) { return com::variantToDouble(get(d, DISPID_LD_Value)); }
    static LONG number(IDispatch *d, DISPID id) { return com::variantToInt(get(d, id)); }

    static QByteArray saveStream(IDispatch *d)
    {
        auto s = ole::createMemoryStream();
        EXPECT_EQ(ComPtr<IDispatch>(d).as<IPersistStreamInit>()->Save(s.get(), TRUE), S_OK);
        return ole::streamContents(s.get());
    }
    ComPtr<IDispatch> loadStream(const QByteArray &bytes, HRESULT expected = S_OK)
    {
        ComPtr<IDispatch> d = create(false);
        auto s = ole::createMemoryStream(bytes);
        EXPECT_EQ(d.as<IPersistStreamInit>()->Load(s.get()), expected);
        return d;
    }
    ComPtr<IDispatch> loadBag(IPropertyBag *bag, HRESULT expected = S_OK)
    {
        ComPtr<IDispatch> d = create(false);
        EXPECT_EQ(d.as<IPersistPropertyBag>()->Load(bag, nullptr), expected);
        return d;
    }
};

// ------------------------------------------------------------------ registration and creation

TEST_F(Control, RegisteredByFullPathAndCreatedByProgId)
{
    CLSID clsid = GUID_NULL;
    ASSERT_EQ(CLSIDFromProgID(LzDate2_ProgID, &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_LzDate2);

    const QString key = "CLSID\\" + com::guidToString(CLSID_LzDate2);
    QString server, threading, misc;
    ASSERT_EQ(com::reg::readString(com::reg::Hive::ClassesRoot, key + "\\InprocServer32", "", &server), ERROR_SUCCESS);
    EXPECT_EQ(server, QFileInfo(LZDATEEDIT_LIBRARY).canonicalFilePath());
    com::reg::readString(com::reg::Hive::ClassesRoot, key + "\\InprocServer32", "ThreadingModel", &threading);
    EXPECT_EQ(threading, "Apartment");
    com::reg::readString(com::reg::Hive::ClassesRoot, key + "\\MiscStatus\\1", "", &misc);
    EXPECT_EQ(misc, "131473");
    EXPECT_TRUE(com::reg::keyExists(com::reg::Hive::ClassesRoot, key + "\\Insertable"));
    EXPECT_TRUE(com::reg::keyExists(com::reg::Hive::ClassesRoot, key + "\\Control"));

    ComPtr<IDispatch> d;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.putVoid()), S_OK);
    EXPECT_TRUE(d.as<IPersistPropertyBag>());
    EXPECT_TRUE(d.as<IQtControl>());

    auto unreg = reinterpret_cast<PFN_DllUnregisterServer>(dlsym(library, "DllUnregisterServer"));
    auto reg = reinterpret_cast<PFN_DllRegisterServer>(dlsym(library, "DllRegisterServer"));
    ASSERT_EQ(unreg(), S_OK);
    EXPECT_EQ(CLSIDFromProgID(LzDate2_ProgID, &clsid), CO_E_CLASSSTRING);
    EXPECT_FALSE(com::reg::keyExists(com::reg::Hive::ClassesRoot, key));
    ASSERT_EQ(reg(), S_OK);
}

// ------------------------------------------------------------------ late-bound use

TEST_F(Control, ValueAndDateStringLateBound)
{
    ComPtr<IDispatch> d = create();
    DISPID valueId = 0, textId = 0;
    ASSERT_EQ(com::dispIdOfName(d.get(), "Value", &valueId), S_OK);
    ASSERT_EQ(com::dispIdOfName(d.get(), "DateString", &textId), S_OK);
    EXPECT_EQ(valueId, 19);
    EXPECT_EQ(textId, 23);

    // A new control holds now and shows today in the system's short date (German: dd.MM.yyyy)
    // with its own separator, "/" by default.
    EXPECT_EQ(std::floor(value(d.get())), today());
    EXPECT_EQ(text(d.get()), testsupport::Heute.toString("dd/MM/yyyy"));

    ASSERT_EQ(com::dispPut(d.get(), "DateString", Variant::string("24.12.2023")), S_OK);
    EXPECT_EQ(value(d.get()), oleDate(2023, 12, 24));
    ASSERT_EQ(com::dispPut(d.get(), "Value", Variant::fromDate(oleDate(2024, 1, 5))), S_OK);
    EXPECT_EQ(text(d.get()), "05/01/2024");
    Variant v;
    ASSERT_EQ(com::dispGet(d.get(), DISPID_VALUE, &v), S_OK);
    EXPECT_EQ(v.vt, VT_DATE);
    EXPECT_EQ(v.date, oleDate(2024, 1, 5));
}

TEST_F(Control, SystemDateSettingsComeFromTheRegistry)
{
    ASSERT_EQ(com::reg::setProfileString("intl", "sShortDate", "yyyy-MM-dd"), ERROR_SUCCESS);
    ASSERT_EQ(com::reg::setProfileString("intl", "sDate", "-"), ERROR_SUCCESS);
    ComPtr<IDispatch> d = create();
    put(d.get(), DISPID_LD_SeparatorDefault, Variant::boolean(true));
    put(d.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2024, 1, 5)));
    EXPECT_EQ(text(d.get()), "2024-01-05");
    com::reg::setProfileString("intl", "sShortDate", "dd.MM.yyyy");
    com::reg::setProfileString("intl", "sDate", ".");
}

struct PropCase
{
    DISPID id;
    LONG put;
    LONG readBack;
};

class Replacements : public Control, public ::testing::WithParamInterface<PropCase>
{};

TEST_P(Replacements, ReadBack)
{
    ComPtr<IDispatch> d = create();
    ASSERT_EQ(put(d.get(), GetParam().id, Variant::i2(SHORT(GetParam().put))), S_OK);
    EXPECT_EQ(number(d.get(), GetParam().id), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, Replacements,
    ::testing::Values(PropCase{DISPID_LD_CalendarFormat, 3, 3}, PropCase{DISPID_LD_CalendarFormat, 7, -1},
                      PropCase{DISPID_LD_CalendarFormat, 1, 1}, PropCase{DISPID_LD_DisplayFormat, 9, 0},
                      PropCase{DISPID_LD_Border, -1, 0}, PropCase{DISPID_LD_DateFormat, 30, 0},
                      PropCase{DISPID_LD_DateFormat, 29, 29}, PropCase{DISPID_LD_Alignment, 3, 0},
                      PropCase{DISPID_LD_EditMode, 2, 1}, PropCase{DISPID_LD_SelectionPersistance, -2, 2},
                      PropCase{DISPID_LD_Modified, -1, 0})); // run mode: Modified stays FALSE

TEST_F(Control, ReadOnlyPropertiesRefuseAPut)
{
    ComPtr<IDispatch> d = create();
    for (DISPID id : {DISPID_LD_Status, DISPID_LD_DayOfWeek, DISPID_LD_WeekOfYear, DISPID_LD_hWnd})
        EXPECT_EQ(put(d.get(), id, Variant::i2(1)), CTL_E_SETNOTSUPPORTED) << id;
}

TEST_F(Control, VariantDataFollowsStatus)
{
    ComPtr<IDispatch> d = create();
    struct
    {
        Variant in;
        VARTYPE outType;
        double out;
    } cases[] = {
        {Variant::fromDate(oleDate(2024, 2, 29)), VT_DATE, oleDate(2024, 2, 29)},
        {Variant::null(), VT_NULL, 0.0},
        {Variant::string("03.04.2022"), VT_DATE, oleDate(2022, 4, 3)},
        {Variant::string("kein Datum"), VT_NULL, 0.0},
        {Variant::r8(2957001.0), VT_NULL, 0.0},
        {Variant(), VT_NULL, 0.0},
    };
    for (auto &c : cases) {
        ASSERT_EQ(put(d.get(), DISPID_LD_VariantData, c.in), S_OK);
        Variant out = get(d.get(), DISPID_LD_VariantData);
        EXPECT_EQ(out.vt, c.outType);
        if (c.outType == VT_DATE) {
            EXPECT_EQ(out.date, c.out);
        } else {
            EXPECT_EQ(value(d.get()), 0.0); // Value of a null control
        }
    }
}

// A date argument reaches the Value put as it is, so that the control's own range rule applies:
// a value beyond the range makes the control null instead of being refused by the dispatcher.
TEST_F(Control, ValueBeyondTheRangeThroughInvokeMakesTheControlNull)
{
    ComPtr<IDispatch> d = create();
    const DATE held = oleDate(2024, 5, 1);
    struct Case
    {
        const char *name;
        Variant in;
        SHORT status;
        double value;
    };
    const Case cases[] = {
        {"far above", Variant::fromDate(3000000.0), lzdNull, 0.0},
        {"just above", Variant::fromDate(2958466.0), lzdNull, 0.0},
        {"below", Variant::fromDate(-700000.0), lzdNull, 0.0},
        {"inside", Variant::fromDate(oleDate(2030, 1, 2)), lzdValid, oleDate(2030, 1, 2)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(put(d.get(), DISPID_LD_Value, Variant::fromDate(held)), S_OK);
        ASSERT_EQ(put(d.get(), DISPID_LD_Value, c.in), S_OK);
        EXPECT_EQ(number(d.get(), DISPID_LD_Status), LONG(c.status));
        EXPECT_EQ(value(d.get()), c.value);
    }
}

// ------------------------------------------------------------------ events and binding

// A Day, Month or Year put on a control without a date works on the date it held before it was
// emptied: it makes a valid date of it, fires no Change, and refuses a day the month lacks.
TEST_F(Control, DayMonthOrYearPutOnANullControlMakesAValidDate)
{
    const struct
    {
        const char *name;
        DISPID part;
        SHORT number;
        double value; // 0.0: no date
        enumDateStatus status;
    } cases[] = {
        {"Day 5", DISPID_LD_Day, 5, oleDate(2024, 1, 5), lzdValid},
        {"Month 3", DISPID_LD_Month, 3, oleDate(2024, 3, 31), lzdValid},
        {"Year 1999", DISPID_LD_Year, 1999, oleDate(1999, 1, 31), lzdValid},
        {"Day 31, the day it holds", DISPID_LD_Day, 31, oleDate(2024, 1, 31), lzdValid},
        {"Month 2, no 31 February", DISPID_LD_Month, 2, 0.0, lzdNull},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IDispatch> d = create();
        ASSERT_EQ(put(d.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2024, 1, 31))), S_OK);
        ASSERT_EQ(put(d.get(), DISPID_LD_Value, Variant::fromDate(0.0)), S_OK);
        ASSERT_EQ(number(d.get(), DISPID_LD_Status), lzdNull);
        ASSERT_EQ(number(d.get(), c.part), -1) << "no part without a date";
        log.events.clear();
        listen(d.get());
        EXPECT_EQ(put(d.get(), c.part, Variant::i2(c.number)), S_OK);
        EXPECT_EQ(value(d.get()), c.value);
        EXPECT_EQ(number(d.get(), DISPID_LD_Status), c.status);
        EXPECT_EQ(number(d.get(), c.part), c.status == lzdValid ? c.number : -1);
        EXPECT_EQ(log.count(DISPID_LDE_Change), 0);
    }
    // A new control holds today: emptied, a put of today's own day makes today valid again.
    ComPtr<IDispatch> d = create();
    ASSERT_EQ(put(d.get(), DISPID_LD_Value, Variant::fromDate(0.0)), S_OK);
    EXPECT_EQ(put(d.get(), DISPID_LD_Day, Variant::i2(SHORT(testsupport::Heute.day()))), S_OK);
    EXPECT_EQ(number(d.get(), DISPID_LD_Status), lzdValid);
    EXPECT_EQ(std::floor(value(d.get())), today());
}

// A put of no font gives the control the library's default font again.
TEST_F(Control, ANullFontPutGivesTheDefaultFont)
{
    ComPtr<IDispatch> d = create();
    const QFont standard = ole::toQFont(ole::createFont(ole::defaultFontDesc()).get());
    FONTDESC desc = ole::defaultFontDesc();
    desc.lpstrName = const_cast<LPOLESTR>(u"DejaVu Serif");
    desc.cySize = ole::pointsToCy(21);
    ASSERT_EQ(com::dispPutRef(d.get(), DISPID_FONT, Variant::dispatch(ole::createFont(desc).get())), S_OK);
    ASSERT_EQ(ole::toQFont(get(d.get(), DISPID_FONT).pdispVal).pointSizeF(), 21.0);

    for (const bool byReference : {false, true}) {
        SCOPED_TRACE(byReference ? "put by reference" : "put");
        Variant none = Variant::dispatch(nullptr);
        EXPECT_EQ(byReference ? com::dispPutRef(d.get(), DISPID_FONT, none) : put(d.get(), DISPID_FONT, none), S_OK);
        const Variant font = get(d.get(), DISPID_FONT);
        ASSERT_EQ(font.vt, VT_DISPATCH);
        ASSERT_NE(font.pdispVal, nullptr);
        EXPECT_EQ(ole::toQFont(font.pdispVal).family(), standard.family());
        EXPECT_EQ(ole::toQFont(font.pdispVal).pointSizeF(), standard.pointSizeF());
    }
}

TEST_F(Control, ValuePutFiresChangeAndAsksTheContainer)
{
    ComPtr<IDispatch> d = create();
    listen(d.get());
    put(d.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2024, 3, 1)));
    EXPECT_EQ(log.count(DISPID_LDE_Change), 1);
    EXPECT_EQ(log.changed, (std::vector<DISPID>{19, 30}));
    EXPECT_EQ(number(d.get(), DISPID_LD_Modified), -1);

    log.allowEdits = false; // a refused edit keeps the value but still fires Change
    put(d.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2025, 3, 1)));
    EXPECT_EQ(value(d.get()), oleDate(2024, 3, 1));
    EXPECT_EQ(log.count(DISPID_LDE_Change), 2);
    put(d.get(), DISPID_LD_DateString, Variant::string("01.01.2000"));
    EXPECT_EQ(value(d.get()), oleDate(2024, 3, 1));
    EXPECT_EQ(log.count(DISPID_LDE_Change), 2);
}

TEST_F(Control, FocusEventsAndFreeFormCheck)
{
    ComPtr<IDispatch> d = create();
    put(d.get(), DISPID_LD_NullString, Variant::string("(leer)"));
    put(d.get(), DISPID_LD_Separator, Variant::string("."));
    put(d.get(), DISPID_LD_FreeFormEntry, Variant::boolean(true));
    QWidget parent;
    QWidget *w = nullptr;
    ASSERT_EQ(d.as<IQtControl>()->Activate(&parent, &w), S_OK);
    ASSERT_NE(w, nullptr);
    put(d.get(), DISPID_LD_Value, Variant::fromDate(0.0));
    listen(d.get());

    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(w, &in);
    EXPECT_EQ(text(d.get()), "  .  .    "); // blanks to type into
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w, &out);
    EXPECT_EQ(text(d.get()), "(leer)");
    EXPECT_EQ(log.events, (std::vector<DISPID>{DISPID_LDE_GotFocusEvent, DISPID_LDE_BeforeLostFocus,
                                               DISPID_LDE_InvalidDate, DISPID_LDE_LostFocusEvent}));
    EXPECT_EQ(d.as<IQtControl>()->Deactivate(), S_OK);
}

TEST_F(Control, HostedInAContainer)
{
    ole::ControlContainer container;
    ASSERT_EQ(container.createControl(QString::fromUtf16(LzDate2_ProgID)), S_OK);
    ASSERT_NE(container.controlWidget(), nullptr);
    ASSERT_EQ(container.setProperty(DISPID_LD_DateString, Variant::string("1.2.2021")), S_OK);
    Variant v;
    ASSERT_EQ(container.getProperty(DISPID_LD_Value, &v), S_OK);
    EXPECT_EQ(com::variantToDouble(v), oleDate(2021, 2, 1));
    container.destroyControl();
}

// ------------------------------------------------------------------ dispatch layouts

QByteArray versionOneStream(double value)
{
    auto s = ole::createMemoryStream();
    IStream *p = s.get();
    ole::writeU4(p, 0x00010000);
    ole::writeI4(p, 2540);
    ole::writeI4(p, 508);
    ole::writeObject(p, ole::createFont(ole::defaultFontDesc()).get());
    for (SHORT v : {SHORT(0), SHORT(2), SHORT(0), SHORT(-1), SHORT(13)}) // Alignment .. DateFormat
        ole::writeI2(p, v);
    ole::writeI2(p, 0);                                                // SeparatorDefault
    ole::writeString(p, ".");                                          // Separator
    for (SHORT v : {SHORT(1), SHORT(0), SHORT(0), SHORT(1), SHORT(1)}) // Enabled .. EditMode
        ole::writeI2(p, v);
    for (ULONG c : {0x80000011u, 0x8000000Du, 0x80000005u, 0x80000008u})
        ole::writeU4(p, c);
    ole::writeI2(p, 0); // ValueReset 0: the stored value still follows
    ole::writeR8(p, value);
    ole::writeString(p, "Jan|Feb");
    ole::writeString(p, "SMDMDFS");
    ole::writeString(p, "-");
    return ole::streamContents(p);
}

TEST_F(Control, VersionOneDataAnswersTheFirstLayout)
{
    ComPtr<IDispatch> d = loadStream(versionOneStream(oleDate(2020, 6, 15)));
    EXPECT_EQ(com::variantToDouble(get(d.get(), 18)), oleDate(2020, 6, 15)); // Value under 18
    EXPECT_EQ(com::variantToString(get(d.get(), 22)), "15.06.2020");         // DateString under 22
    DISPID id = 0;
    EXPECT_NE(com::dispIdOfName(d.get(), "SelectionPersistance", &id), S_OK);
    EXPECT_NE(com::dispIdOfName(d.get(), "FreeFormEntry", &id), S_OK);
    EXPECT_EQ(com::dispIdOfName(d.get(), "SetSelection", &id), S_OK);
    EXPECT_EQ(id, 28);
    EXPECT_EQ(com::variantToString(get(d.get(), 16)), "Jan|Feb");
    // Saved again it is current data.
    ComPtr<IDispatch> again = loadStream(saveStream(d.get()));
    EXPECT_EQ(com::dispIdOfName(again.get(), "FreeFormEntry", &id), S_OK);
}

TEST_F(Control, VersionTwoBagLacksTheNewerMembers)
{
    auto bag = ole::createPropertyBag();
    ole::bagWrite(bag.get(), "_Version", Variant::i4(0x00020000));
    ole::bagWrite(bag.get(), "SelectionPersistance", Variant::i2(1));
    ComPtr<IDispatch> d = loadBag(bag.get());
    EXPECT_EQ(number(d.get(), 18), 1);
    Variant v;
    EXPECT_EQ(com::dispGet(d.get(), DISPID_LD_FreeFormEntry, &v), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(com::dispGet(d.get(), DISPID_LD_VariantData, &v), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(com::dispGet(d.get(), DISPID_LD_Value, &v), S_OK);
}

// ------------------------------------------------------------------ persistence

struct Setting
{
    DISPID id;
    Variant value;
};

std::vector<Setting> nonDefaults()
{
    return {
        {DISPID_LD_Alignment, Variant::i2(2)},
        {DISPID_LD_DisplayFormat, Variant::i2(3)},
        {DISPID_LD_HighlightInverted, Variant::boolean(true)},
        {DISPID_LD_HighlightColor, Variant::i4(0x123456)},
        {DISPID_LD_DateFormat, Variant::i2(27)},
        {DISPID_LD_Separator, Variant::string("-")},
        {DISPID_LD_DisabledColor, Variant::i4(0x654321)},
        {DISPID_LD_TimeStore, Variant::boolean(true)},
        {DISPID_LD_Border, Variant::i2(1)},
        {DISPID_LD_EditMode, Variant::i2(0)},
        {DISPID_LD_EditModeChange, Variant::boolean(false)},
        {DISPID_LD_CalendarDOWs, Variant::string("SMDMDFS")},
        {DISPID_LD_CalendarMonths, Variant::string("Januar|Februar")},
        {DISPID_LD_NullString, Variant::string("(kein Datum)")},
        {DISPID_LD_SelectionPersistance, Variant::i2(0)},
        {DISPID_LD_FreeFormEntry, Variant::boolean(true)},
        {DISPID_LD_CalendarFormat, Variant::i2(5)},
        {DISPID_LD_BackColor, Variant::i4(0x00FFFF00)},
        {DISPID_LD_ForeColor, Variant::i4(0x000000FF)},
        {DISPID_LD_Enabled, Variant::boolean(false)},
        {DISPID_LD_ValueReset, Variant::i2(1)},
        {DISPID_LD_Value, Variant::fromDate(oleDate(1999, 12, 31))},
    };
}

void expectSettings(IDispatch *d)
{
    for (const Setting &s : nonDefaults()) {
        Variant v;
        ASSERT_EQ(com::dispGet(d, s.id, &v), S_OK) << s.id;
        EXPECT_EQ(com::variantToString(v), com::variantToString(s.value)) << "DISPID " << s.id;
    }
    Variant text, font;
    ASSERT_EQ(com::dispGet(d, DISPID_LD_DateString, &text), S_OK);
    EXPECT_EQ(com::variantToString(text), "1999-12-31");
    ASSERT_EQ(com::dispGet(d, DISPID_FONT, &font), S_OK);
    ASSERT_EQ(font.vt, VT_DISPATCH);
    EXPECT_EQ(ole::toQFont(font.pdispVal).family(), "DejaVu Sans");
    EXPECT_EQ(ole::toQFont(font.pdispVal).pointSizeF(), 12.0);
}

TEST_F(Control, RoundTripsThroughStreamAndBag)
{
    ComPtr<IDispatch> d = create();
    for (const Setting &s : nonDefaults())
        ASSERT_EQ(put(d.get(), s.id, s.value), S_OK) << s.id;
    FONTDESC desc = ole::defaultFontDesc();
    desc.lpstrName = const_cast<LPOLESTR>(u"DejaVu Sans");
    desc.cySize = ole::pointsToCy(12);
    ASSERT_EQ(com::dispPutRef(d.get(), DISPID_FONT, Variant::dispatch(ole::createFont(desc).get())), S_OK);
    EXPECT_EQ(d.as<IPersistStreamInit>()->IsDirty(), S_OK);

    const QByteArray bytes = saveStream(d.get());
    EXPECT_EQ(d.as<IPersistStreamInit>()->IsDirty(), S_FALSE);
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(bytes.left(4), QByteArray::fromHex("00000800")); // version 0x00080000 first
    expectSettings(loadStream(bytes).get());

    auto bag = ole::createPropertyBag();
    ASSERT_EQ(d.as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
    EXPECT_TRUE(ole::propertyBagNames(bag.get()).contains("_Version"));
    expectSettings(loadBag(bag.get()).get());
}

TEST_F(Control, SavingAPaintedControlKeepsItsDate)
{
    ComPtr<IDispatch> fresh = create(); // never painted: a loaded copy shows today again
    put(fresh.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2020, 6, 15)));
    EXPECT_EQ(std::floor(value(loadStream(saveStream(fresh.get())).get())), today());

    QWidget parent;
    ComPtr<IDispatch> d = painted(parent);
    put(d.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2020, 6, 15)));
    const QByteArray bytes = saveStream(d.get());
    EXPECT_EQ(number(d.get(), DISPID_LD_ValueReset), 1);
    EXPECT_EQ(value(loadStream(bytes).get()), oleDate(2020, 6, 15));
}

// A cleared date keeps being cleared: saved in run mode from a painted control and loaded again,
// through a stream and through a bag, it is null whichever way it was cleared.
TEST_F(Control, AClearedDateStaysNullThroughStreamAndBag)
{
    struct Case
    {
        const char *name;
        DISPID id;
        Variant cleared;
    };
    const Case cases[] = {
        {"Value 0", DISPID_LD_Value, Variant::r8(0.0)},
        {"VariantData Null", DISPID_LD_VariantData, Variant::null()},
        {"DateString no date", DISPID_LD_DateString, Variant::string(QStringLiteral("kein Datum"))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget parent;
        ComPtr<IDispatch> d = painted(parent);
        put(d.get(), DISPID_LD_Value, Variant::fromDate(oleDate(2020, 2, 2)));
        ASSERT_EQ(put(d.get(), c.id, c.cleared), S_OK);
        ASSERT_EQ(number(d.get(), DISPID_LD_Status), lzdNull);

        ComPtr<IDispatch> fromStream = loadStream(saveStream(d.get()));
        auto bag = ole::createPropertyBag();
        ASSERT_EQ(d.as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
        ComPtr<IDispatch> fromBag = loadBag(bag.get());
        for (IDispatch *loaded : {fromStream.get(), fromBag.get()}) {
            EXPECT_EQ(number(loaded, DISPID_LD_Status), lzdNull);
            EXPECT_EQ(value(loaded), 0.0);
            EXPECT_EQ(text(loaded), "");
        }
    }

    // A kept value that a bag does not hold, or holds as 0.0, is no date either.
    auto noValue = ole::createPropertyBag();
    ole::bagWrite(noValue.get(), "ValueReset", Variant::i2(1));
    auto zero = ole::createPropertyBag();
    ole::bagWrite(zero.get(), "ValueReset", Variant::i2(1));
    ole::bagWrite(zero.get(), "Value", Variant::r8(0.0));
    for (IPropertyBag *bag : {noValue.get(), zero.get()}) {
        ComPtr<IDispatch> d = loadBag(bag);
        EXPECT_EQ(number(d.get(), DISPID_LD_Status), lzdNull);
        EXPECT_EQ(value(d.get()), 0.0);
        EXPECT_EQ(text(d.get()), "");
    }
}

TEST_F(Control, SeparatorDefaultStoresNoSeparator)
{
    ComPtr<IDispatch> d = create();
    put(d.get(), DISPID_LD_DateFormat, Variant::i2(13));
    put(d.get(), DISPID_LD_SeparatorDefault, Variant::boolean(true));
    auto bag = ole::createPropertyBag();
    ASSERT_EQ(d.as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
    EXPECT_FALSE(ole::propertyBagNames(bag.get()).contains("Separator"));
    EXPECT_EQ(com::variantToString(get(loadBag(bag.get()).get(), DISPID_LD_Separator)), ".");
}

TEST_F(Control, LoadedValuesOutsideTheirRangesAreReplaced)
{
    auto bag = ole::createPropertyBag();
    struct
    {
        const char *name;
        Variant stored;
        DISPID id;
        LONG expected;
    } cases[] = {
        {"Alignment", Variant::i2(9), DISPID_LD_Alignment, 0},
        {"Border", Variant::i2(-3), DISPID_LD_Border, 0},
        {"DisplayFormat", Variant::i2(12), DISPID_LD_DisplayFormat, 0},
        {"CalendarFormat", Variant::i2(2), DISPID_LD_CalendarFormat, -1},
        {"DateFormat", Variant::i2(40), DISPID_LD_DateFormat, 0},
        {"EditMode", Variant::i2(5), DISPID_LD_EditMode, 1},
        {"SelectionPersistance", Variant::i2(9), DISPID_LD_SelectionPersistance, 2},
        {"ValueReset", Variant::i2(7), DISPID_LD_ValueReset, 0},
    };
    for (auto &c : cases)
        ole::bagWrite(bag.get(), c.name, c.stored);
    ComPtr<IDispatch> d = loadBag(bag.get());
    for (auto &c : cases)
        EXPECT_EQ(number(d.get(), c.id), c.expected) << c.name;

    auto bad = ole::createPropertyBag(); // a kept value that is not a date makes the control null
    ole::bagWrite(bad.get(), "ValueReset", Variant::i2(1));
    ole::bagWrite(bad.get(), "Value", Variant::r8(std::nan("")));
    EXPECT_EQ(number(loadBag(bad.get()).get(), DISPID_LD_Status), lzdNull);
}

TEST_F(Control, TruncatedOrHostileStreamIsRefused)
{
    ComPtr<IDispatch> d = create();
    for (const Setting &s : nonDefaults())
        put(d.get(), s.id, s.value);
    const QByteArray good = saveStream(d.get());
    for (int n = 0; n < good.size(); ++n) {
        ComPtr<IDispatch> c = create(false);
        auto s = ole::createMemoryStream(good.left(n));
        ASSERT_TRUE(FAILED(c.as<IPersistStreamInit>()->Load(s.get()))) << "prefix " << n;
    }

    QByteArray newer = good;
    newer[2] = 0x09; // version 0x00090000
    loadStream(newer, E_FAIL);

    QByteArray huge = versionOneStream(1.0); // Separator claims 2^31 characters
    const int at = huge.indexOf(QByteArray("\x01\x00\x00\x00.\x00", 6));
    ASSERT_GT(at, 0);
    huge.replace(at, 4, QByteArray::fromHex("ffffff7f"));
    ComPtr<IDispatch> c = create(false);
    EXPECT_TRUE(FAILED(c.as<IPersistStreamInit>()->Load(ole::createMemoryStream(huge).get())));
    // A refused load leaves the control usable.
    EXPECT_EQ(c.as<IPersistStreamInit>()->InitNew(), S_OK);
    EXPECT_EQ(std::floor(value(c.get())), today());
}

// A text is taken whole up to the length the loaders accept, and refused beyond it, so that a saved
// control always loads again.
TEST_F(Control, TextsArePutOnlyAsLongAsTheyLoad)
{
    const QString longest(LzDate2_MaxTextChars, u'x');
    const QString tooLong(LzDate2_MaxTextChars + 1, u'y');
    for (DISPID id : {DISPID_LD_NullString, DISPID_LD_CalendarDOWs, DISPID_LD_CalendarMonths}) {
        SCOPED_TRACE(id);
        ComPtr<IDispatch> d = create();
        ASSERT_EQ(put(d.get(), id, Variant::string(longest)), S_OK);
        EXPECT_EQ(put(d.get(), id, Variant::string(tooLong)), CTL_E_INVALIDPROPERTYVALUE);
        EXPECT_EQ(com::variantToString(get(d.get(), id)), longest) << "the refused text changed nothing";

        ComPtr<IDispatch> fromStream = loadStream(saveStream(d.get()));
        auto bag = ole::createPropertyBag();
        ASSERT_EQ(d.as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
        ComPtr<IDispatch> fromBag = loadBag(bag.get());
        for (IDispatch *loaded : {fromStream.get(), fromBag.get()})
            EXPECT_EQ(com::variantToString(get(loaded, id)), longest);
    }
}

// Only the versions this control's builds wrote load: zeroed data (version 0) comes up as no control
// at all rather than a disabled, black, borderless one.
TEST_F(Control, AVersionNoBuildWroteIsRefused)
{
    ComPtr<IDispatch> d = create();
    QByteArray good = saveStream(d.get());
    struct Case
    {
        const char *name;
        ULONG version;
    };
    const Case cases[] = {{"zero", 0}, {"one", 1}, {"below the first", 0x0000FFFF}, {"after the current", 0x00090000}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = good;
        const ULONG v = c.version;
        bytes.replace(0, 4, QByteArray(reinterpret_cast<const char *>(&v), 4));
        loadStream(bytes, E_FAIL);
        auto bag = ole::createPropertyBag();
        ASSERT_EQ(d.as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
        ole::bagWrite(bag.get(), "_Version", Variant::i4(LONG(c.version)));
        loadBag(bag.get(), E_FAIL);
    }
    loadStream(QByteArray(300, '\0'), E_FAIL);
    // The versions that were written still load.
    for (ULONG v : {LzDate2_Version1, LzDate2_Version2, ULONG(0x00060000), LzDate2_CurrentVersion}) {
        SCOPED_TRACE(v);
        auto bag = ole::createPropertyBag();
        ole::bagWrite(bag.get(), "_Version", Variant::i4(LONG(v)));
        loadBag(bag.get());
    }
}

TEST_F(Control, HostileBagIsRefused)
{
    auto longText = ole::createPropertyBag();
    ole::bagWrite(longText.get(), "NullString", Variant::string(QString(100000, u'x')));
    loadBag(longText.get(), E_FAIL);

    auto notAFont = ole::createPropertyBag();
    ole::bagWrite(notAFont.get(), "Font", Variant::unknown(ole::createPropertyBag().get()));
    loadBag(notAFont.get(), E_FAIL);
}

} // namespace
