#include "com/activation.h"
#include "com/connpt.h"
#include "com/object.h"
#include "com/testing/registration.h"
#include "ole/clock.h"
#include "ole/fakebeep.h"
#include "ole/ole.h"
#include "registry_fixture.h"
#include "test_server.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>

using com::ComPtr;
using com::Variant;

namespace {

TEST(Font, PersistsAndClonesItsDescription)
{
    ComPtr<IFontDisp> disp = ole::createFont(ole::defaultFontDesc());
    ComPtr<IFont> font = disp.as<IFont>();
    ASSERT_TRUE(font);
    ASSERT_EQ(com::dispPut(disp.get(), DISPID_FONT_NAME, Variant::string("Arial")), S_OK);
    ASSERT_EQ(com::dispPut(disp.get(), DISPID_FONT_SIZE, Variant::r8(9.75)), S_OK);
    ASSERT_EQ(com::dispPut(disp.get(), DISPID_FONT_BOLD, Variant::boolean(true)), S_OK);
    font->put_Italic(TRUE);
    font->put_Charset(238);

    ComPtr<IStream> stream = ole::createMemoryStream();
    ASSERT_EQ(ole::writeObject(stream.get(), font.get()), S_OK);
    stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
    ComPtr<IFont> loaded;
    ASSERT_EQ(ole::readObject(stream.get(), IID_IFont, loaded.putVoid()), S_OK);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->IsEqual(font.get()), S_OK);
    CY size;
    loaded->get_Size(&size);
    EXPECT_EQ(size.int64, 97500);
    SHORT weight = 0;
    loaded->get_Weight(&weight);
    EXPECT_EQ(weight, FW_BOLD);

    ComPtr<IFont> clone;
    ASSERT_EQ(font->Clone(clone.put()), S_OK);
    clone->put_Underline(TRUE);
    EXPECT_EQ(clone->IsEqual(font.get()), S_FALSE);

    QFont q = ole::toQFont(font.get());
    EXPECT_EQ(q.family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(q.pointSizeF(), 9.75);
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.italic());
    EXPECT_EQ(font->put_Name(nullptr), CTL_E_INVALIDPROPERTYVALUE);
    EXPECT_EQ(font->put_Size(CY{0}), CTL_E_INVALIDPROPERTYVALUE);
}

TEST(Font, ChangesAreReportedToSinks)
{
    ComPtr<IFontDisp> font = ole::createFont(QFont(QStringLiteral("Sans"), 10));
    class Sink final : public com::ComObject<IPropertyNotifySink>
    {
    public:
        HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override
        {
            changed.push_back(id);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
        std::vector<DISPID> changed;
    };
    ComPtr<Sink> sink(new Sink);
    ComPtr<IConnectionPoint> cp;
    ASSERT_EQ(font.as<IConnectionPointContainer>()->FindConnectionPoint(IID_IPropertyNotifySink, cp.put()), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(cp->Advise(sink.get(), &cookie), S_OK);
    font.as<IFont>()->put_Bold(TRUE);
    com::dispPut(font.get(), DISPID_FONT_NAME, Variant::string("Serif"));
    EXPECT_EQ(sink->changed, (std::vector<DISPID>{DISPID_FONT_BOLD, DISPID_FONT_NAME}));
    cp->Unadvise(cookie);
}

TEST(Persistence, UntrustedStreamsFailCleanly)
{
    // a truncated font
    ComPtr<IFontDisp> font = ole::createFont(ole::defaultFontDesc());
    ComPtr<IStream> s = ole::createMemoryStream();
    ole::writeObject(s.get(), font.get());
    QByteArray full = ole::streamContents(s.get());
    for (int cut : {3, 16, 20, int(full.size()) - 1}) {
        ComPtr<IStream> shortStream = ole::createMemoryStream(full.left(cut));
        ComPtr<IFont> f;
        EXPECT_TRUE(FAILED(ole::readObject(shortStream.get(), IID_IFont, f.putVoid()))) << cut;
        EXPECT_FALSE(f);
    }
    // a class that is not allowed is never created
    QByteArray foreign(reinterpret_cast<const char *>(&CLSID_TestCounter), sizeof(GUID));
    ComPtr<IStream> fs = ole::createMemoryStream(foreign + QByteArray(8, '\0'));
    ComPtr<IUnknown> obj;
    EXPECT_EQ(ole::readObject(fs.get(), IID_IUnknown, obj.putVoid()), REGDB_E_CLASSNOTREG);

    // typed values: round trip, a string longer than allowed, an unknown tag
    ComPtr<IStream> tv = ole::createMemoryStream();
    ole::writeTypedValue(tv.get(), Variant::string("Hallo"));
    ole::writeTypedValue(tv.get(), Variant::i4(LONG(0x8000000C)));
    ole::writeTypedValue(tv.get(), Variant::dispatch(nullptr));
    tv->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
    Variant v;
    ASSERT_EQ(ole::readTypedValue(tv.get(), &v), S_OK);
    EXPECT_EQ(com::toQString(v.bstrVal), QStringLiteral("Hallo"));
    ASSERT_EQ(ole::readTypedValue(tv.get(), &v), S_OK);
    EXPECT_EQ(uint32_t(v.lVal), 0x8000000Cu);
    ASSERT_EQ(ole::readTypedValue(tv.get(), &v), S_OK);
    EXPECT_EQ(v.vt, VT_DISPATCH);
    EXPECT_EQ(v.pdispVal, nullptr);
    EXPECT_EQ(ole::readTypedValue(tv.get(), &v), STG_E_READFAULT) << "end of the stream";

    QByteArray huge;
    VARTYPE tag = VT_BSTR;
    ULONG bytes = 0x7FFFFFF0;
    huge.append(reinterpret_cast<const char *>(&tag), 2).append(reinterpret_cast<const char *>(&bytes), 4);
    ComPtr<IStream> hs = ole::createMemoryStream(huge);
    EXPECT_EQ(ole::readTypedValue(hs.get(), &v), E_FAIL);
    VARTYPE odd = 0x7777;
    ComPtr<IStream> os = ole::createMemoryStream(QByteArray(reinterpret_cast<const char *>(&odd), 2));
    EXPECT_EQ(ole::readTypedValue(os.get(), &v), E_FAIL);
}

TEST(Persistence, ControlPropertyExchangeLayout)
{
    ComPtr<IStream> s = ole::createMemoryStream();
    ASSERT_EQ(ole::writeControlVersion(s.get(), 0x00080000), S_OK);
    ASSERT_EQ(ole::writeControlExtent(s.get(), 2540, -1), S_OK);
    ASSERT_EQ(ole::writeBool(s.get(), true), S_OK);
    ASSERT_EQ(ole::writeColor(s.get(), 0x8000000F), S_OK);
    EXPECT_EQ(ole::streamContents(s.get()).toHex(), QByteArray("00000800ec090000ffffffff01000f000080"));

    // Any non-zero BOOL reads as TRUE; a short extent changes neither value.
    ComPtr<IStream> in = ole::createMemoryStream(QByteArray::fromHex("0700") + QByteArray::fromHex("0a000000ffff"));
    bool b = false;
    EXPECT_EQ(ole::readBool(in.get(), &b), S_OK);
    EXPECT_TRUE(b);
    LONG cx = 5, cy = 6;
    EXPECT_EQ(ole::readControlExtent(in.get(), &cx, &cy), STG_E_READFAULT);
    EXPECT_EQ(std::pair(cx, cy), std::pair(LONG(5), LONG(6)));

    ComPtr<IPropertyBag> bag = ole::createPropertyBag();
    ULONG version = 7;
    EXPECT_TRUE(FAILED(ole::bagReadControlVersion(bag.get(), &version)));
    EXPECT_EQ(version, 7u) << "a missing version is left to the control";
    ole::bagWriteControlVersion(bag.get(), 0x00080000);
    ole::bagWriteControlExtent(bag.get(), 100, 200);
    ole::bagWriteBool(bag.get(), QStringLiteral("Flag"), true);
    ole::bagWriteColor(bag.get(), QStringLiteral("Back"), 0x80000005);
    EXPECT_EQ(ole::propertyBagNames(bag.get()), (QStringList{"_Version", "_ExtentX", "_ExtentY", "Flag", "Back"}));
    for (const char *name : {"_Version", "_ExtentX", "_ExtentY", "Back"}) {
        Variant v;
        ole::bagRead(bag.get(), name, VT_EMPTY, &v);
        EXPECT_EQ(v.vt, VT_I4) << name;
    }
    Variant unsignedColour;
    unsignedColour.vt = VT_UI4;
    unsignedColour.ulVal = 0x80000012;
    ole::bagWrite(bag.get(), QStringLiteral("Fore"), unsignedColour);
    OLE_COLOR colour = 0;
    EXPECT_EQ(ole::bagReadColor(bag.get(), QStringLiteral("Fore"), &colour), S_OK);
    EXPECT_EQ(colour, 0x80000012u);

    // Fonts: a copy of a stored font, nothing for no entry, a refusal for anything else.
    ComPtr<IFontDisp> stored = ole::createFont(ole::defaultFontDesc());
    ole::bagWriteFont(bag.get(), QStringLiteral("Font"), stored.get());
    ComPtr<IFontDisp> font;
    ASSERT_EQ(ole::bagReadFont(bag.get(), QStringLiteral("Font"), font.put()), S_OK);
    ASSERT_TRUE(font);
    EXPECT_NE(font.get(), stored.get());
    EXPECT_EQ(ole::bagReadFont(bag.get(), QStringLiteral("None"), font.put()), S_FALSE);
    EXPECT_FALSE(font);
    ole::bagWrite(bag.get(), QStringLiteral("Font"), Variant::unknown(ole::createPropertyBag().get()));
    EXPECT_EQ(ole::bagReadFont(bag.get(), QStringLiteral("Font"), font.put()), E_FAIL);
}

TEST(MemoryStream, ShortReadsAndSeeks)
{
    ComPtr<IStream> s = ole::createMemoryStream(QByteArray("abcdef"));
    char buf[8] = {};
    ULONG n = 0;
    EXPECT_EQ(s->Read(buf, 4, &n), S_OK);
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(s->Read(buf, 4, &n), S_FALSE);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(QByteArray(buf, 2), QByteArray("ef"));
    EXPECT_EQ(s->Read(buf, 4, &n), S_FALSE);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(ole::readExact(s.get(), buf, 1), STG_E_READFAULT);
    EXPECT_EQ(s->Seek(LARGE_INTEGER{-1}, STREAM_SEEK_SET, nullptr), STG_E_INVALIDFUNCTION);
    ULARGE_INTEGER pos{};
    ASSERT_EQ(s->Seek(LARGE_INTEGER{-2}, STREAM_SEEK_END, &pos), S_OK);
    EXPECT_EQ(pos.QuadPart, 4u);
    s->Write("XYZ", 3, nullptr);
    EXPECT_EQ(ole::streamContents(s.get()), QByteArray("abcdXYZ"));

    ComPtr<IStorage> stg = ole::createMemoryStorage();
    ComPtr<IStream> contents;
    ASSERT_EQ(stg->CreateStream(u"Contents", STGM_CREATE | STGM_READWRITE, 0, 0, contents.put()), S_OK);
    contents->Write("x", 1, nullptr);
    ComPtr<IStream> again;
    ASSERT_EQ(stg->OpenStream(u"contents", nullptr, STGM_READ, 0, again.put()), S_OK);
    EXPECT_EQ(ole::streamContents(again.get()), QByteArray("x"));
    EXPECT_EQ(stg->OpenStream(u"Other", nullptr, STGM_READ, 0, again.put()), STG_E_FILENOTFOUND);
}

TEST(PropertyBag, ConvertsOnReadAndReportsMissingNames)
{
    ComPtr<IPropertyBag> bag = ole::createPropertyBag();
    ASSERT_EQ(ole::bagWrite(bag.get(), QStringLiteral("SoundEffects"), Variant::boolean(true)), S_OK);
    ASSERT_EQ(ole::bagWrite(bag.get(), QStringLiteral("_Version"), Variant::i4(0x20001)), S_OK);
    Variant v;
    ASSERT_EQ(ole::bagRead(bag.get(), QStringLiteral("soundeffects"), VT_I4, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, -1);
    EXPECT_EQ(ole::bagRead(bag.get(), QStringLiteral("Missing"), VT_EMPTY, &v), E_INVALIDARG);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(ole::propertyBagNames(bag.get()),
              (QStringList{QStringLiteral("SoundEffects"), QStringLiteral("_Version")}));
}

TEST(Menus, EntriesCarryCommandIdentifiers)
{
    QMenu menu;
    const ole::Handle h = ole::handleFromMenu(&menu);
    ASSERT_EQ(ole::menuFromHandle(h), &menu);
    QAction *open = ole::appendMenuItem(&menu, 1291, QStringLiteral("&Open"));
    QAction *separator = ole::appendMenuItem(&menu, 103, QString());
    ole::appendMenuItem(ole::menuFromHandle(h), 5000, QStringLiteral("Extra"));
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_EQ(ole::menuItemId(open), 1291u);
    EXPECT_EQ(ole::menuItemId(separator), 103u);
    EXPECT_EQ(ole::findMenuItem(&menu, 5000)->text(), QStringLiteral("Extra"));
    EXPECT_EQ(ole::menuItemId(menu.addAction(QStringLiteral("ohne"))), 0u) << "an entry added without an identifier";
    EXPECT_TRUE(ole::removeMenuItem(&menu, 1291));
    EXPECT_FALSE(ole::removeMenuItem(&menu, 1291));
    EXPECT_EQ(ole::findMenuItem(&menu, 1291), nullptr);

    // Tracking answers the chosen entry's identifier, 0 when the menu is dismissed.
    QTimer::singleShot(0, [&] {
        menu.setActiveAction(ole::findMenuItem(&menu, 5000));
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    EXPECT_EQ(ole::trackPopupMenu(&menu, QPoint(10, 10)), 5000u);
    QTimer::singleShot(0, [&] { QTest::keyClick(&menu, Qt::Key_Escape); });
    EXPECT_EQ(ole::trackPopupMenu(&menu, QPoint(10, 10)), 0u);
    QMenu empty;
    EXPECT_EQ(ole::trackPopupMenu(&empty, QPoint(10, 10)), 0u) << "an empty menu is not shown";
}

TEST(Handles, GoneObjectsResolveToNull)
{
    auto *w = new QWidget;
    ole::Handle h = ole::handleFromWidget(w);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(ole::handleFromWidget(w), h);
    EXPECT_EQ(ole::widgetFromHandle(h), w);
    EXPECT_EQ(ole::menuFromHandle(h), nullptr) << "a window handle is no menu";
    delete w;
    EXPECT_EQ(ole::widgetFromHandle(h), nullptr);
    auto *w2 = new QWidget;
    EXPECT_NE(ole::handleFromWidget(w2), h) << "handles are never reused";
    delete w2;
    EXPECT_EQ(ole::widgetFromHandle(0), nullptr);

    ole::Handle list = ole::imageListCreate(16, 16);
    QPixmap strip(48, 16);
    strip.fill(Qt::red);
    EXPECT_EQ(ole::imageListAdd(list, strip, QColor()), 0);
    EXPECT_EQ(ole::imageListCount(list), 3);
    EXPECT_EQ(ole::imageListIconSize(list), QSize(16, 16));
    QImage target(20, 20, QImage::Format_ARGB32);
    target.fill(Qt::white);
    {
        QPainter p(&target);
        EXPECT_TRUE(ole::imageListDraw(list, 2, p, 2, 2));
        EXPECT_FALSE(ole::imageListDraw(list, 3, p, 0, 0));
    }
    EXPECT_EQ(QColor(target.pixel(5, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(target.pixel(0, 0)), QColor(Qt::white));

    ComPtr<IDispatch> obj;
    ASSERT_EQ(ole::createImageListObject(list, obj.put()), S_OK);
    Variant v;
    ASSERT_EQ(com::dispGet(obj.get(), ole::DISPID_IMAGELIST_HIMAGELIST, &v), S_OK);
    EXPECT_EQ(ole::Handle(v.lVal), list);
    ASSERT_TRUE(ole::imageListDestroy(list));
    EXPECT_EQ(ole::imageListCount(list), 0);
    EXPECT_EQ(ole::imageListAdd(list, strip), -1);
}

TEST(Beep, GoesToTheCurrentPortWhileItLives)
{
    {
        ole::RecordingBeep outer;
        EXPECT_EQ(MessageBeep(0), TRUE);
        {
            ole::RecordingBeep inner;
            MessageBeep(0x30);
            EXPECT_EQ(inner.types(), (std::vector<UINT>{0x30}));
        }
        MessageBeep(0);
        EXPECT_EQ(outer.types(), (std::vector<UINT>{0, 0}));
    }
    EXPECT_EQ(ole::setBeepPort(nullptr), nullptr) << "the default port is back";
    EXPECT_EQ(MessageBeep(0), TRUE);
}

TEST(Colors, SystemColoursComeFromTheTable)
{
    COLORREF c = 0;
    ASSERT_EQ(OleTranslateColor(0x8000000C, 0, &c), S_OK);
    EXPECT_EQ(c, RGB(128, 128, 128));
    ASSERT_EQ(OleTranslateColor(0x8000000F, 0, &c), S_OK);
    EXPECT_EQ(c, GetSysColor(COLOR_BTNFACE));
    ASSERT_EQ(OleTranslateColor(0x00123456, 0, &c), S_OK);
    EXPECT_EQ(c, 0x00123456u);
    EXPECT_EQ(OleTranslateColor(0x80000040, 0, &c), E_INVALIDARG);
    EXPECT_EQ(OleTranslateColor(0x02000000, 0, &c), E_INVALIDARG);
    EXPECT_EQ(ole::colorFromOle(0x000000FF), QColor(255, 0, 0));
}

class Container : public RegistryFixture
{
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        ASSERT_TRUE(comtest::RegisterLibrary(TV_TEST_SERVER));
    }
};

TEST_F(Container, HostsAControlAndReceivesItsEvents)
{
    ole::ControlContainer container;
    container.resize(200, 50);
    container.show();
    ASSERT_EQ(container.createControl(QStringLiteral("TvTest.Counter")), S_OK);
    ASSERT_TRUE(container.controlWidget());
    EXPECT_EQ(container.controlWidget()->parentWidget(), &container);
    EXPECT_EQ(container.controlWidget()->size(), QSize(200, 50));
    container.resize(300, 80);
    EXPECT_EQ(container.controlWidget()->size(), QSize(300, 80));
    EXPECT_EQ(container.eventInterface(), DIID_TestCounterEvents);

    Variant v;
    ASSERT_EQ(container.getProperty(DISPID_TEST_VALUE, &v), S_OK);
    EXPECT_EQ(v.lVal, 7) << "InitNew ran";
    ASSERT_EQ(container.getProperty(DISPID_TEST_SITEUSERMODE, &v), S_OK);
    EXPECT_EQ(v.lVal, 1);
    container.setUserMode(false);
    container.getProperty(DISPID_TEST_SITEUSERMODE, &v);
    EXPECT_EQ(v.lVal, 0);

    std::vector<LONG> seen;
    container.setEventHandler([&](DISPID id, com::EventArgs &args) {
        EXPECT_EQ(id, DISPID_TESTEVT_CHANGED);
        seen.push_back(args.toInt(0));
        if (args.toInt(0) > 100)
            container.callMethod(DISPID_TEST_VETO); // a veto from inside the handler
    });
    int signalled = 0;
    QObject::connect(&container, &ole::ControlContainer::controlEvent, [&](int, com::EventArgs *) { ++signalled; });
    ASSERT_EQ(container.callMethod(DISPID_TEST_ADD, {Variant::i4(3)}), S_OK);
    ASSERT_EQ(container.callMethod(DISPID_TEST_ADD, {Variant::i4(500)}), S_OK);
    EXPECT_EQ(seen, (std::vector<LONG>{10, 510}));
    EXPECT_EQ(signalled, 2);
    container.getProperty(DISPID_TEST_VALUE, &v);
    EXPECT_EQ(v.lVal, 10) << "the second change was vetoed";

    QPointer<QWidget> w = container.controlWidget();
    container.destroyControl();
    EXPECT_FALSE(w) << "the control's widget goes with the control";
    EXPECT_FALSE(container.hasControl());
    EXPECT_EQ(container.createControl(com::makeGuid("5A1E0CFF-7D2B-4C3A-9E11-0F2D3C4B5A01")), REGDB_E_CLASSNOTREG);
}

// A fixed moment stands until the real clock runs again; the setter hands back the one it replaced.
TEST(Clock, AFixedMomentStandsUntilTheRealClockRunsAgain)
{
    const QDateTime silvester(QDate(2023, 12, 31), QTime(23, 59, 30));
    const QDateTime vorher = ole::setNow(silvester);
    EXPECT_EQ(ole::Now(), silvester);
    EXPECT_EQ(ole::Today(), QDate(2023, 12, 31));
    EXPECT_EQ(ole::setNow(QDateTime()), silvester);
    const QDateTime a = QDateTime::currentDateTime();
    const QDateTime jetzt = ole::Now();
    EXPECT_TRUE(a <= jetzt && jetzt <= QDateTime::currentDateTime());
    ole::setNow(vorher);
}

} // namespace
