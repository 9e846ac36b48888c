// Persistence of the control's properties through a stream, a storage and a property bag: round
// trips of every property, the stream's layout, bags of older versions, and damaged or hostile
// data (the control declares itself safe for untrusted data), with a short fuzz run of the stream
// loader.
#include "navrail_fixture.h"

#include "ole/font.h"
#include "ole/memstream.h"
#include "ole/olecolor.h"
#include "ole/persist.h"
#include "ole/propbag.h"

#include <QByteArray>
#include <QtEndian>

#include <random>

using namespace navtest;

namespace {

// The persisted properties other than the font, by dispatch id.
const DISPID kPersisted[] = {
    DISPID_NB_SoundEffects,
    DISPID_NB_Appearance,
    DISPID_NB_BorderWidth,
    DISPID_NB_SplitterWindow,
    DISPID_NB_SplitterWidth,
    DISPID_NB_EnableGroupPopupMenu,
    DISPID_NB_EnableEditGroupLabels,
    DISPID_NB_EnableAddGroups,
    DISPID_NB_EnableEditItemLabels,
    DISPID_NB_EnableRemoveGroups,
    DISPID_NB_EnableAddItems,
    DISPID_NB_EnableRemoveItems,
    DISPID_NB_EnableHideNavrailBar,
    DISPID_NB_EnableItemPopupMenu,
    DISPID_NB_EnableOpenItem,
    DISPID_NB_EnableProperties,
    DISPID_NB_EnableSetIconSizes,
    DISPID_NB_BackColor,
    DISPID_NB_TextColor,
    DISPID_NB_DynamicResize,
    DISPID_NB_UseChildWindows,
};

// Everything that persists, as a client reads it (the font as its description).
struct Snapshot
{
    std::vector<LONG> values;
    QString fontName;
    LONGLONG fontSize = 0;
    BOOL fontBold = FALSE;
    bool hasFont = false;
    bool operator==(const Snapshot &) const = default;
};

LONG asLong(const VARIANT &v)
{
    com::Variant c;
    if (v.vt == VT_UI4)
        return LONG(v.ulVal);
    return SUCCEEDED(VariantChangeType(&c, &v, 0, VT_I4)) ? c.lVal : LONG(0xDEADBEEF);
}

Snapshot snapshot(ILzNavrailBar *bar)
{
    Snapshot s;
    ComPtr<IDispatch> d(bar);
    for (DISPID id : kPersisted) {
        com::Variant v;
        EXPECT_EQ(com::dispGet(d.get(), id, &v), S_OK) << id;
        s.values.push_back(asLong(v));
    }
    ComPtr<IFontDisp> font;
    bar->get_Font(font.put());
    if (ComPtr<IFont> f = font.as<IFont>()) {
        s.hasFont = true;
        com::Bstr name;
        f->get_Name(name.put());
        s.fontName = name.toString();
        CY size{};
        f->get_Size(&size);
        s.fontSize = size.int64;
        f->get_Bold(&s.fontBold);
    }
    return s;
}

// A control with every persisted property away from its default.
void setEverything(ILzNavrailBar *bar)
{
    bar->put_SoundEffects(VARIANT_FALSE);
    bar->put_Appearance(lzoHeavy3D);
    bar->put_BorderWidth(3);
    bar->put_SplitterWindow(VARIANT_FALSE);
    bar->put_SplitterWidth(9);
    bar->put_EnableGroupPopupMenu(VARIANT_FALSE);
    bar->put_EnableEditGroupLabels(VARIANT_FALSE);
    bar->put_EnableAddGroups(VARIANT_FALSE);
    bar->put_EnableEditItemLabels(VARIANT_FALSE);
    bar->put_EnableRemoveGroups(VARIANT_FALSE);
    bar->put_EnableAddItems(VARIANT_FALSE);
    bar->put_EnableRemoveItems(VARIANT_FALSE);
    bar->put_EnableHideNavrailBar(VARIANT_FALSE);
    bar->put_EnableItemPopupMenu(VARIANT_FALSE);
    bar->put_EnableOpenItem(VARIANT_FALSE);
    bar->put_EnableProperties(VARIANT_FALSE);
    bar->put_EnableSetIconSizes(VARIANT_FALSE);
    bar->put_BackColor(RGB(10, 20, 30));
    bar->put_TextColor(0x80000008); // a system colour: stored as a negative integer
    bar->put_DynamicResize(VARIANT_FALSE);
    bar->put_UseChildWindows(VARIANT_TRUE);
    FONTDESC desc = ole::defaultFontDesc();
    com::Bstr arial(QStringLiteral("Arial"));
    desc.lpstrName = arial.get();
    desc.cySize = ole::pointsToCy(12);
    desc.sWeight = FW_BOLD;
    bar->put_Font(ole::createFont(desc).get());
}

QByteArray saveStream(ILzNavrailBar *bar)
{
    ComPtr<IPersistStreamInit> ps(ComPtr<ILzNavrailBar>(bar).as<IPersistStreamInit>());
    ComPtr<IStream> s = ole::createMemoryStream();
    EXPECT_EQ(ps->Save(s.get(), TRUE), S_OK);
    return ole::streamContents(s.get());
}

HRESULT loadStream(ILzNavrailBar *bar, const QByteArray &data)
{
    ComPtr<IPersistStreamInit> ps(ComPtr<ILzNavrailBar>(bar).as<IPersistStreamInit>());
    ComPtr<IStream> s = ole::createMemoryStream(data);
    return ps->Load(s.get());
}

bool isDirty(ILzNavrailBar *bar)
{
    return ComPtr<ILzNavrailBar>(bar).as<IPersistStreamInit>()->IsDirty() == S_OK;
}

// Stream building blocks (little-endian).
QByteArray u16(quint16 v)
{
    QByteArray b(2, 0);
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray u32(quint32 v)
{
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray boolRow(qint16 v)
{
    return u16(VT_BOOL) + u16(quint16(v));
}
QByteArray longRow(qint32 v)
{
    return u16(VT_I4) + u32(quint32(v));
}
QByteArray guidBytes(const GUID &g)
{
    return QByteArray(reinterpret_cast<const char *>(&g), sizeof g);
}

// A whole stream in the control's layout: rows 1-19, then the font row given, then 21 and 22.
QByteArray stream(quint32 stamp, quint32 version, const QByteArray &fontRow, bool withLastRows = true)
{
    QByteArray s = u32(stamp) + u32(version);
    s += boolRow(0) + longRow(2) + longRow(4) + boolRow(0) + longRow(7);
    for (int i = 0; i < 12; ++i)
        s += boolRow(i % 2 ? -1 : 0);
    s += longRow(0x00112233) + longRow(qint32(0x80000008));
    s += fontRow;
    if (withLastRows)
        s += boolRow(0) + boolRow(-1);
    return s;
}
QByteArray noFont()
{
    return u16(VT_DISPATCH) + guidBytes(GUID_NULL);
}

} // namespace

// ---- round trips -----------------------------------------------------------------------------

TEST(Persist, EveryPropertyRoundTripsThroughStreamStorageAndBag)
{
    ComPtr<ILzNavrailBar> source = createBar();
    setEverything(source.get());
    const Snapshot expected = snapshot(source.get());
    ASSERT_TRUE(expected.hasFont);
    ASSERT_EQ(expected.fontName, QStringLiteral("Arial"));

    struct Medium
    {
        const char *name;
        std::function<HRESULT(ILzNavrailBar *from, ILzNavrailBar *to)> roundTrip;
    };
    const std::vector<Medium> media = {
        {"stream", [](ILzNavrailBar *from, ILzNavrailBar *to) { return loadStream(to, saveStream(from)); }},
        {"storage",
         [](ILzNavrailBar *from, ILzNavrailBar *to) {
             ComPtr<IStorage> storage = ole::createMemoryStorage();
             ComPtr<IPersistStorage> out = ComPtr<ILzNavrailBar>(from).as<IPersistStorage>();
             HRESULT hr = out->Save(storage.get(), FALSE);
             if (FAILED(hr))
                 return hr;
             EXPECT_EQ(out->SaveCompleted(storage.get()), S_OK);
             // The data lies in the stream "Contents", as the stream would hold it.
             ComPtr<IStream> contents;
             EXPECT_EQ(storage->OpenStream(u"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, contents.put()),
                       S_OK);
             EXPECT_EQ(ole::streamContents(contents.get()), saveStream(from));
             contents.reset();
             ComPtr<IPersistStorage> in = ComPtr<ILzNavrailBar>(to).as<IPersistStorage>();
             EXPECT_EQ(in->InitNew(storage.get()), S_OK);
             return in->Load(storage.get());
         }},
        {"bag",
         [](ILzNavrailBar *from, ILzNavrailBar *to) {
             ComPtr<IPropertyBag> bag = ole::createPropertyBag();
             HRESULT hr = ComPtr<ILzNavrailBar>(from).as<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE);
             if (FAILED(hr))
                 return hr;
             return ComPtr<ILzNavrailBar>(to).as<IPersistPropertyBag>()->Load(bag.get(), nullptr);
         }},
    };
    for (const Medium &m : media) {
        SCOPED_TRACE(m.name);
        ComPtr<ILzNavrailBar> target = createBar();
        target->put_BackColor(RGB(1, 1, 1)); // dirty before the load
        ASSERT_EQ(m.roundTrip(source.get(), target.get()), S_OK);
        EXPECT_EQ(snapshot(target.get()), expected);
        EXPECT_FALSE(isDirty(target.get())) << "a successful load clears the needs-saving flag";
        ComPtr<IFontDisp> f1, f2;
        source->get_Font(f1.put());
        target->get_Font(f2.put());
        EXPECT_FALSE(sameObject(f1.get(), f2.get())) << "the loaded control has a font of its own";
    }
    EXPECT_TRUE(isDirty(source.get())) << "saving leaves the needs-saving flag as it is";
}

TEST(Persist, StreamLayoutIsStampVersionAndTypedValues)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    const QByteArray data = saveStream(bar.get());
    ASSERT_GE(data.size(), 8);
    EXPECT_EQ(qFromLittleEndian<quint32>(data.constData()), 768u);
    EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 4), 0x20001u);
    // SoundEffects (a BOOL of value 1, as the control stores it), Appearance 1, BorderWidth 1.
    EXPECT_EQ(data.mid(8, 4), boolRow(1));
    EXPECT_EQ(data.mid(12, 6), longRow(1));
    EXPECT_EQ(data.mid(18, 6), longRow(1));
    // The default back colour, a system colour, is stored as the 4-byte integer it is.
    const int back = 8 + 4 + 6 + 6 + 4 + 6 + 12 * 4;
    EXPECT_EQ(data.mid(back, 6), longRow(qint32(0x8000000C)));
    // No font yet: the null class identifier; then the last two rows.
    EXPECT_EQ(data.mid(back + 12, 18), noFont());
    EXPECT_EQ(data.size(), back + 12 + 18 + 8);
    ULARGE_INTEGER max{};
    ASSERT_EQ(bar.as<IPersistStreamInit>()->GetSizeMax(&max), S_OK);
    EXPECT_EQ(max.QuadPart, ULONGLONG(data.size()));
}

TEST(Persist, BagNamesAndTypes)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    setEverything(bar.get());
    ComPtr<IPropertyBag> bag = ole::createPropertyBag();
    ASSERT_EQ(bar.as<IPersistPropertyBag>()->Save(bag.get(), FALSE, TRUE), S_OK);
    EXPECT_EQ(ole::propertyBagNames(bag.get()),
              (QStringList{"_Version",      "SoundEffects",   "Appearance",     "BorderWidth",    "SplitterWindow",
                           "SplitterWidth", "GroupPopupMenu", "RenameGroups",   "AddGroups",      "RenameItems",
                           "RemoveGroups",  "AddItems",       "RemoveItems",    "HideNavrailBar", "ItemPopupMenu",
                           "OpenItem",      "Properties",     "SizeIcons",      "BackColor",      "TextColor",
                           "Font",          "DyanmicResize",  "UseChildWindows"}));
    struct Row
    {
        const char *name;
        VARTYPE vt;
    };
    for (const Row r : {Row{"_Version", VT_I4}, Row{"SoundEffects", VT_BOOL}, Row{"Appearance", VT_I4},
                        Row{"TextColor", VT_I4}, Row{"Font", VT_DISPATCH}, Row{"DyanmicResize", VT_BOOL}}) {
        SCOPED_TRACE(r.name);
        com::Variant v;
        ASSERT_EQ(ole::bagRead(bag.get(), QString::fromLatin1(r.name), VT_EMPTY, &v), S_OK);
        EXPECT_EQ(v.vt, r.vt);
    }
    com::Variant version;
    ole::bagRead(bag.get(), QStringLiteral("_Version"), VT_EMPTY, &version);
    EXPECT_EQ(version.lVal, 0x20001);
    EXPECT_EQ(bar.as<IPersistPropertyBag>()->Save(nullptr, FALSE, TRUE), E_POINTER);
    EXPECT_EQ(bar.as<IPersistPropertyBag>()->Load(nullptr, nullptr), E_POINTER);
}

// ---- bags of older versions and with missing entries ---------------------------------------------

TEST(Persist, BagsWithoutEntriesKeepTheDefaults)
{
    ComPtr<ILzNavrailBar> full = createBar();
    setEverything(full.get());
    ComPtr<IPropertyBag> saved = ole::createPropertyBag();
    ASSERT_EQ(full.as<IPersistPropertyBag>()->Save(saved.get(), FALSE, TRUE), S_OK);

    struct Case
    {
        const char *name;
        QStringList remove;
        DISPID check;
        LONG expected; // as a client reads it
    };
    const std::vector<Case> cases = {
        // A version 0x10000 bag has no "DyanmicResize": the default stays.
        {"no DyanmicResize", {"DyanmicResize"}, DISPID_NB_DynamicResize, VARIANT_TRUE},
        // Without a version neither of the two last rows is read.
        {"no version", {"_Version"}, DISPID_NB_UseChildWindows, VARIANT_FALSE},
        {"no version, DynamicResize", {"_Version"}, DISPID_NB_DynamicResize, VARIANT_TRUE},
        {"no SoundEffects", {"SoundEffects"}, DISPID_NB_SoundEffects, VARIANT_TRUE},
        {"no BackColor", {"BackColor"}, DISPID_NB_BackColor, LONG(0x8000000C)},
        {"no BorderWidth", {"BorderWidth"}, DISPID_NB_BorderWidth, 1},
        {"no SizeIcons", {"SizeIcons"}, DISPID_NB_EnableSetIconSizes, VARIANT_TRUE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IPropertyBag> bag = ole::createPropertyBag();
        for (const QString &name : ole::propertyBagNames(saved.get())) {
            if (c.remove.contains(name))
                continue;
            com::Variant v;
            ole::bagRead(saved.get(), name, VT_EMPTY, &v);
            ole::bagWrite(bag.get(), name, v);
        }
        ComPtr<ILzNavrailBar> bar = createBar();
        ASSERT_EQ(bar.as<IPersistPropertyBag>()->Load(bag.get(), nullptr), S_OK);
        com::Variant v;
        ASSERT_EQ(com::dispGet(ComPtr<IDispatch>(bar.as<IDispatch>()).get(), c.check, &v), S_OK);
        EXPECT_EQ(asLong(v), c.expected);
        // The rest came from the bag.
        VARIANT_BOOL addGroups = VARIANT_TRUE;
        bar->get_EnableAddGroups(&addGroups);
        EXPECT_EQ(addGroups, VARIANT_FALSE);
    }
}

TEST(Persist, BagValuesThatAreNoFontOrDoNotConvert)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    const Snapshot before = snapshot(bar.get());
    // A font entry that holds another object refuses the whole load.
    ComPtr<IPropertyBag> bag = ole::createPropertyBag();
    ole::bagWrite(bag.get(), QStringLiteral("_Version"), com::Variant::i4(0x20001));
    ole::bagWrite(bag.get(), QStringLiteral("SoundEffects"), com::Variant::boolean(false));
    ole::bagWrite(bag.get(), QStringLiteral("Font"),
                  com::Variant::dispatch(ComPtr<IDispatch>(bar.as<IDispatch>()).get()));
    EXPECT_EQ(bar.as<IPersistPropertyBag>()->Load(bag.get(), nullptr), E_FAIL);
    EXPECT_EQ(snapshot(bar.get()), before);

    // A value that does not convert keeps the default; an empty font entry gives the default font.
    ComPtr<IPropertyBag> odd = ole::createPropertyBag();
    ole::bagWrite(odd.get(), QStringLiteral("Appearance"), com::Variant::string(QStringLiteral("schief")));
    ole::bagWrite(odd.get(), QStringLiteral("BorderWidth"), com::Variant::string(QStringLiteral("4")));
    ASSERT_EQ(bar.as<IPersistPropertyBag>()->Load(odd.get(), nullptr), S_OK);
    tagApearanceConstants look = lzoFlat;
    SHORT border = 0;
    bar->get_Appearance(&look);
    bar->get_BorderWidth(&border);
    EXPECT_EQ(look, lzoLight3D);
    EXPECT_EQ(border, 4);
    const Snapshot after = snapshot(bar.get());
    EXPECT_EQ(after.fontName, QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(after.fontSize, 80000);
}

// ---- streams: versions, missing font, damage ----------------------------------------------------------

TEST(Persist, StreamWithoutAFontGivesTheDefaultFontAndVersionsDecideTheLastRows)
{
    struct Case
    {
        const char *name;
        QByteArray data;
        VARIANT_BOOL dynamicResize, useChildWindows;
    };
    const std::vector<Case> cases = {
        {"current", stream(768, 0x20001, noFont()), VARIANT_FALSE, VARIANT_TRUE},
        {"0x20000: no UseChildWindows", stream(768, 0x20000, noFont(), false) + boolRow(0), VARIANT_FALSE,
         VARIANT_FALSE},
        {"0x10000: neither", stream(768, 0x10000, noFont(), false), VARIANT_TRUE, VARIANT_FALSE},
        {"negative version: neither", stream(768, 0xFFFFFFFF, noFont(), false), VARIANT_TRUE, VARIANT_FALSE},
        {"a newer version reads what it knows", stream(768, 0x30000, noFont()) + QByteArray(40, '\x7f'), VARIANT_FALSE,
         VARIANT_TRUE},
        {"an older stamp", stream(767, 0x20001, noFont()), VARIANT_FALSE, VARIANT_TRUE},
        {"a number row stored as text",
         [] {
             QByteArray s = stream(768, 0x20001, noFont());
             // Appearance (row 2) as the text "2": 2 bytes tag, 4 bytes length, "2" and terminator.
             const QByteArray text = u16(VT_BSTR) + u32(4) + u16('2') + u16(0);
             return s.left(12) + text + s.mid(18);
         }(),
         VARIANT_FALSE, VARIANT_TRUE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<ILzNavrailBar> bar = createBar();
        ASSERT_EQ(loadStream(bar.get(), c.data), S_OK);
        VARIANT_BOOL dr = 0, ucw = 0, sound = 1;
        bar->get_DynamicResize(&dr);
        bar->get_UseChildWindows(&ucw);
        bar->get_SoundEffects(&sound);
        EXPECT_EQ(dr, c.dynamicResize);
        EXPECT_EQ(ucw, c.useChildWindows);
        EXPECT_EQ(sound, 0);
        tagApearanceConstants look = lzoFlat;
        bar->get_Appearance(&look);
        EXPECT_EQ(look, lzoHeavy3D);
        OLE_COLOR text = 0;
        bar->get_TextColor(&text);
        EXPECT_EQ(text, 0x80000008u);
        const Snapshot s = snapshot(bar.get());
        EXPECT_EQ(s.fontName, QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(s.fontSize, 80000) << "8 points";
    }
}

TEST(Persist, DamagedStreamsFailCleanlyAndChangeNothing)
{
    const QByteArray good = stream(768, 0x20001, noFont());
    auto withFontRow = [](const QByteArray &row) { return stream(768, 0x20001, row); };
    auto replaceRow2 = [&](const QByteArray &row) { return good.left(12) + row + good.mid(18); };
    // A font saved by the font object itself, for damaging its data.
    ComPtr<IStream> fontStream = ole::createMemoryStream();
    ASSERT_EQ(ole::writeObject(fontStream.get(), ole::createFont(ole::defaultFontDesc()).get()), S_OK);
    const QByteArray fontObject = ole::streamContents(fontStream.get());

    struct Case
    {
        const char *name;
        QByteArray data;
    };
    const std::vector<Case> cases = {
        {"empty", QByteArray()},
        {"a stamp of three bytes", u32(768).left(3)},
        {"stamp only", u32(768)},
        {"stamp 769", stream(769, 0x20001, noFont())},
        {"stamp 0xFFFFFFFF", stream(0xFFFFFFFF, 0x20001, noFont())},
        {"no version", u32(768) + u16(1)},
        {"cut inside a row", good.left(good.size() - 1)},
        {"the last row missing", good.left(good.size() - 4)},
        {"an unknown type tag", replaceRow2(u16(0x4003) + u32(2))},
        {"a type tag of 999", replaceRow2(u16(999) + u32(2))},
        {"an oversized text length", replaceRow2(u16(VT_BSTR) + u32(0x7FFFFFF0) + u32(0))},
        {"an odd text length", replaceRow2(u16(VT_BSTR) + u32(5) + QByteArray(5, 'a'))},
        {"a text that is no number", replaceRow2(u16(VT_BSTR) + u32(8) + u16('a') + u16('b') + u16('c') + u16(0))},
        {"an unterminated text", replaceRow2(u16(VT_BSTR) + u32(4) + u16('2') + u16('2'))},
        {"an object in a number row", replaceRow2(u16(VT_DISPATCH) + guidBytes(CLSID_StdFont) + fontObject.mid(16))},
        {"a null object in a number row", replaceRow2(u16(VT_DISPATCH) + guidBytes(GUID_NULL))},
        {"a foreign class in the font row", withFontRow(u16(VT_DISPATCH) + guidBytes(CLSID_LzNavrailBar))},
        {"the font's class cut short", withFontRow(u16(VT_DISPATCH) + guidBytes(CLSID_StdFont).left(9))},
        {"font data cut short", withFontRow(u16(VT_DISPATCH) + fontObject.left(fontObject.size() - 3))},
        {"font data of another version",
         [&] {
             QByteArray f = fontObject;
             f[16] = 7;
             return withFontRow(u16(VT_DISPATCH) + f);
         }()},
        {"font name length 200",
         [&] {
             QByteArray f = fontObject;
             f[16 + 1 + 2 + 1 + 2 + 4] = char(200);
             return withFontRow(u16(VT_DISPATCH) + f);
         }()},
    };
    ComPtr<ILzNavrailBar> bar = createBar();
    setEverything(bar.get());
    const Snapshot before = snapshot(bar.get());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const HRESULT hr = loadStream(bar.get(), c.data);
        EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
        EXPECT_EQ(snapshot(bar.get()), before);
        EXPECT_TRUE(isDirty(bar.get())) << "a failed load leaves the needs-saving flag";
    }
    // Every shorter piece of a good stream fails, and the good one loads.
    for (int n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(FAILED(loadStream(bar.get(), good.left(n))));
    }
    EXPECT_EQ(snapshot(bar.get()), before);
    EXPECT_EQ(loadStream(bar.get(), good), S_OK);
    EXPECT_EQ(loadStream(bar.get(), withFontRow(u16(VT_DISPATCH) + fontObject)), S_OK);
}

TEST(Persist, StorageWithoutContentsAndNullArguments)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<IPersistStorage> ps = bar.as<IPersistStorage>();
    ASSERT_TRUE(ps);
    ComPtr<IStorage> empty = ole::createMemoryStorage();
    EXPECT_TRUE(FAILED(ps->Load(empty.get())));
    EXPECT_EQ(ps->Load(nullptr), E_POINTER);
    EXPECT_EQ(ps->Save(nullptr, TRUE), E_POINTER);
    EXPECT_EQ(ps->InitNew(nullptr), E_POINTER);
    EXPECT_EQ(ps->HandsOffStorage(), S_OK);
    CLSID clsid{};
    EXPECT_EQ(ps->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_LzNavrailBar);
    ComPtr<IPersistStreamInit> psi = bar.as<IPersistStreamInit>();
    EXPECT_EQ(psi->Load(nullptr), E_POINTER);
    EXPECT_EQ(psi->Save(nullptr, TRUE), E_POINTER);
}

// A fixed number of damaged variants of saved streams, from a fixed seed: every load either
// succeeds or fails without changing the control, and never reads past its data.
TEST(Persist, FuzzedStreamsLoadOrFailCleanly)
{
    ComPtr<ILzNavrailBar> withFont = createBar();
    setEverything(withFont.get());
    const std::vector<QByteArray> seeds = {saveStream(withFont.get()), saveStream(createBar().get()),
                                           stream(768, 0x20000, noFont(), false) + boolRow(-1)};
    std::mt19937 random(20240917u);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    ComPtr<ILzNavrailBar> bar = createBar();
    int loaded = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray data = seeds[std::size_t(pick(int(seeds.size())))];
        const int edits = 1 + pick(4);
        for (int e = 0; e < edits && !data.isEmpty(); ++e) {
            switch (pick(5)) {
            case 0: // flip a bit
                data[pick(int(data.size()))] ^= char(1 << pick(8));
                break;
            case 1: // a random byte
                data[pick(int(data.size()))] = char(pick(256));
                break;
            case 2: // cut
                data.truncate(pick(int(data.size())));
                break;
            case 3: // a large 4-byte value somewhere
                if (data.size() >= 4) {
                    const int at = pick(int(data.size()) - 3);
                    qToLittleEndian(quint32(0xFFFFFFF0u - unsigned(pick(64))), data.data() + at);
                }
                break;
            default: // random bytes appended
                for (int i = pick(16); i > 0; --i)
                    data.append(char(pick(256)));
                break;
            }
        }
        const Snapshot before = snapshot(bar.get());
        const HRESULT hr = loadStream(bar.get(), data);
        if (SUCCEEDED(hr)) {
            ++loaded;
        } else {
            ++refused;
            ASSERT_EQ(snapshot(bar.get()), before) << "round " << round;
        }
    }
    // Both outcomes occur, so the run exercises the loader's checks and its success path.
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}
