// Persistence of the control's design-time properties: through a stream (IPersistStreamInit, and
// IPersistStorage with the stream "Contents"), or through a property bag (IPersistPropertyBag).
// One routine, ExchangeProperties, serves every direction through a PropertyExchange.
//
// Stream layout (little-endian): ULONG stamp 768; the version, 4 bytes; then one typed value
// (ole/persist.h) per property in the fixed order below, without names. Bag: one named value per
// property, "_Version" first.
//
// The control declares itself safe for untrusted data, so loading trusts nothing: every length is
// bounded, no class but the standard font is created, a stream that ends early or holds a value of
// the wrong kind fails the whole load, and a failed load leaves every property as it was. A bag
// without an entry (or with one that does not convert) keeps the property's present value, which is
// its default on a new control.
#include "control.h"

#include "com/variant.h"
#include "ole/memstream.h"
#include "ole/persist.h"

namespace navrail {

namespace {

constexpr ULONG kStreamStamp = 768; // a stamp of 769 or more is a format this control cannot read
constexpr LONG kPersistVersion = 0x20001;
constexpr LONG kVersionDynamicResize = 0x20000;
constexpr LONG kVersionUseChildWindows = 0x20001;
constexpr ULONG kMaxValueChars = 64; // a number stored as text is never longer
constexpr char16_t kContentsStream[] = u"Contents";

// No object but the font is ever created from a stream.
const CLSID kFontOnly[] = {CLSID_StdFont};
std::span<const CLSID> noClasses()
{
    return {};
}

com::Variant boolVariant(VARIANT_BOOL raw)
{
    com::Variant v;
    v.vt = VT_BOOL;
    v.boolVal = raw; // stored as given, not normalised
    return v;
}

com::ComPtr<IFontDisp> defaultFont()
{
    return ole::createFont(ole::defaultFontDesc());
}

} // namespace

// The properties that persist, as the control holds them.
struct PersistedProperties
{
    VARIANT_BOOL soundEffects = 1;
    LONG appearance = lzoLight3D;
    LONG borderWidth = 1;
    VARIANT_BOOL splitterWindow = 1;
    LONG splitterWidth = 6;
    std::array<VARIANT_BOOL, NavrailControl::EnableFlagCount> enable{};
    OLE_COLOR backColor = 0;
    OLE_COLOR textColor = 0;
    ComPtr<IFontDisp> font;
    VARIANT_BOOL dynamicResize = 1;
    VARIANT_BOOL useChildWindows = 0;
};

// One direction of the exchange over one medium: a stream or a bag, loading or saving.
class PropertyExchange
{
public:
    static PropertyExchange overStream(IStream *stream, bool loading)
    {
        return PropertyExchange(stream, nullptr, nullptr, loading);
    }
    static PropertyExchange overBag(IPropertyBag *bag, IErrorLog *log, bool loading)
    {
        return PropertyExchange(nullptr, bag, log, loading);
    }

    bool loading() const { return loading_; }

    // The stream's stamp (bags have none).
    HRESULT begin()
    {
        if (!stream_)
            return S_OK;
        if (!loading_)
            return ole::writeU4(stream_, kStreamStamp);
        ULONG stamp = 0;
        const HRESULT hr = ole::readU4(stream_, &stamp);
        if (FAILED(hr))
            return hr;
        return stamp > kStreamStamp ? E_FAIL : S_OK;
    }

    HRESULT version(LONG &v)
    {
        if (stream_)
            return loading_ ? ole::readI4(stream_, &v) : ole::writeI4(stream_, v);
        if (!loading_)
            return ole::bagWriteControlVersion(bag_, ULONG(v));
        ULONG stored = 0;
        // A bag without a version skips the rows that depend on one.
        v = SUCCEEDED(ole::bagReadControlVersion(bag_, &stored, log_)) ? LONG(stored) : -1;
        return S_OK;
    }

    HRESULT exchangeBool(const char16_t *name, VARIANT_BOOL &v)
    {
        if (!loading_)
            return write(name, boolVariant(v));
        com::Variant x;
        HRESULT hr = read(name, VT_BOOL, x);
        if (hr == S_OK)
            v = x.boolVal;
        return SUCCEEDED(hr) ? S_OK : hr;
    }

    HRESULT exchangeLong(const char16_t *name, LONG &v)
    {
        if (!loading_)
            return write(name, com::Variant::i4(v));
        com::Variant x;
        HRESULT hr = read(name, VT_I4, x);
        if (hr == S_OK)
            v = x.lVal;
        return SUCCEEDED(hr) ? S_OK : hr;
    }

    // Colours are unsigned but stored as 4-byte integers; a system colour (high bit set) is kept
    // as it is.
    HRESULT exchangeColor(const char16_t *name, OLE_COLOR &v)
    {
        if (!loading_)
            return write(name, com::Variant::i4(LONG(v)));
        if (bag_) {
            OLE_COLOR c = 0;
            if (SUCCEEDED(ole::bagReadColor(bag_, QString::fromUtf16(name), &c, log_)))
                v = c;
            return S_OK;
        }
        com::Variant x;
        HRESULT hr = ole::readTypedValue(stream_, &x, noClasses(), kMaxValueChars);
        if (FAILED(hr))
            return hr;
        if (x.vt == VT_I4 || x.vt == VT_UI4) {
            v = OLE_COLOR(x.ulVal);
            return S_OK;
        }
        com::Variant c;
        if (SUCCEEDED(VariantChangeType(&c, &x, 0, VT_UI4)) || SUCCEEDED(VariantChangeType(&c, &x, 0, VT_I4))) {
            v = OLE_COLOR(c.ulVal);
            return S_OK;
        }
        return E_FAIL;
    }

    // The font: saved as an object; loaded as the stored font, else a new default font. Nothing
    // but a font is accepted.
    HRESULT exchangeFont(const char16_t *name, ComPtr<IFontDisp> &font)
    {
        if (!loading_) {
            if (bag_)
                return ole::bagWriteFont(bag_, QString::fromUtf16(name), font.get());
            return ole::writeTypedValue(stream_, com::Variant::dispatch(font.get()));
        }
        ComPtr<IFontDisp> loaded;
        if (bag_) {
            const HRESULT hr = ole::bagReadFont(bag_, QString::fromUtf16(name), loaded.put(), log_);
            if (FAILED(hr))
                return hr;
        } else {
            com::Variant x;
            HRESULT hr = ole::readTypedValue(stream_, &x, kFontOnly, kMaxValueChars);
            if (FAILED(hr))
                return hr;
            if ((x.vt == VT_DISPATCH || x.vt == VT_UNKNOWN) && x.punkVal &&
                FAILED(x.punkVal->QueryInterface(IID_IFontDisp, loaded.putVoid())))
                return E_FAIL;
        }
        font = loaded ? loaded : defaultFont();
        return font ? S_OK : E_OUTOFMEMORY;
    }

private:
    PropertyExchange(IStream *stream, IPropertyBag *bag, IErrorLog *log, bool loading)
        : stream_(stream), bag_(bag), log_(log), loading_(loading)
    {}

    HRESULT write(const char16_t *name, const VARIANT &v)
    {
        return stream_ ? ole::writeTypedValue(stream_, v) : ole::bagWrite(bag_, QString::fromUtf16(name), v);
    }

    // S_OK with the value converted to type; S_FALSE when a bag has no usable entry (the property
    // keeps its value); a failure when a stream's value is short, unknown or of no such type.
    HRESULT read(const char16_t *name, VARTYPE type, com::Variant &out)
    {
        out.clear();
        if (bag_)
            return SUCCEEDED(ole::bagRead(bag_, QString::fromUtf16(name), type, &out, log_)) && out.vt == type
                       ? S_OK
                       : S_FALSE;
        HRESULT hr = ole::readTypedValue(stream_, &out, noClasses(), kMaxValueChars);
        if (FAILED(hr))
            return hr;
        if (out.vt != type && FAILED(VariantChangeType(&out, &out, 0, type)))
            return E_FAIL;
        return S_OK;
    }

    IStream *stream_;
    IPropertyBag *bag_;
    IErrorLog *log_;
    bool loading_;
};

// The persisted properties in their fixed order.
HRESULT ExchangeProperties(PropertyExchange &px, PersistedProperties &p)
{
    using F = NavrailControl;
    HRESULT hr = px.begin();
    if (FAILED(hr))
        return hr;
    LONG version = kPersistVersion;
    if (FAILED(hr = px.version(version)))
        return hr;
    struct BoolRow
    {
        const char16_t *name;
        NavrailControl::EnableFlag flag;
    };
    static const BoolRow enableRows[] = {
        {u"GroupPopupMenu", F::GroupPopupMenu}, {u"RenameGroups", F::EditGroupLabels},
        {u"AddGroups", F::AddGroups},           {u"RenameItems", F::EditItemLabels},
        {u"RemoveGroups", F::RemoveGroups},     {u"AddItems", F::AddItems},
        {u"RemoveItems", F::RemoveItems},       {u"HideNavrailBar", F::HideNavrailBar},
        {u"ItemPopupMenu", F::ItemPopupMenu},   {u"OpenItem", F::OpenItem},
        {u"Properties", F::Properties},         {u"SizeIcons", F::SetIconSizes},
    };
    if (FAILED(hr = px.exchangeBool(u"SoundEffects", p.soundEffects)) ||
        FAILED(hr = px.exchangeLong(u"Appearance", p.appearance)) ||
        FAILED(hr = px.exchangeLong(u"BorderWidth", p.borderWidth)) ||
        FAILED(hr = px.exchangeBool(u"SplitterWindow", p.splitterWindow)) ||
        FAILED(hr = px.exchangeLong(u"SplitterWidth", p.splitterWidth)))
        return hr;
    for (const BoolRow &row : enableRows)
        if (FAILED(hr = px.exchangeBool(row.name, p.enable[row.flag])))
            return hr;
    if (FAILED(hr = px.exchangeColor(u"BackColor", p.backColor)) ||
        FAILED(hr = px.exchangeColor(u"TextColor", p.textColor)) || FAILED(hr = px.exchangeFont(u"Font", p.font)))
        return hr;
    // The name is spelled so in every stored bag.
    if (version >= kVersionDynamicResize && FAILED(hr = px.exchangeBool(u"DyanmicResize", p.dynamicResize)))
        return hr;
    if (version >= kVersionUseChildWindows && FAILED(hr = px.exchangeBool(u"UseChildWindows", p.useChildWindows)))
        return hr;
    return S_OK;
}

PersistedProperties NavrailControl::persistedProperties() const
{
    PersistedProperties p;
    p.soundEffects = soundEffects_;
    p.appearance = appearance_;
    p.borderWidth = borderWidth_;
    p.splitterWindow = splitterWindow_;
    p.splitterWidth = splitterWidth_;
    p.enable = enable_;
    p.backColor = backColor_;
    p.textColor = textColor_;
    p.font = font_;
    p.dynamicResize = dynamicResize_;
    p.useChildWindows = useChildWindows_;
    return p;
}

void NavrailControl::applyLoadedProperties(const PersistedProperties &p)
{
    // Straight into the fields; the windows take them when they are created. The two widths are
    // 16-bit properties and are kept as they read back.
    soundEffects_ = p.soundEffects;
    appearance_ = p.appearance;
    borderWidth_ = SHORT(p.borderWidth);
    splitterWindow_ = p.splitterWindow;
    splitterWidth_ = SHORT(p.splitterWidth);
    enable_ = p.enable;
    backColor_ = p.backColor;
    textColor_ = p.textColor;
    font_ = p.font;
    useChildWindows_ = p.useChildWindows;
    // DynamicResize also reaches the splitters, which hold it from here on.
    put_DynamicResize(p.dynamicResize);
    dirty_ = false;
}

HRESULT NavrailControl::loadFrom(PropertyExchange &px)
{
    // Into a copy: a load that fails changes nothing.
    PersistedProperties p = persistedProperties();
    const HRESULT hr = ExchangeProperties(px, p);
    if (FAILED(hr))
        return hr;
    applyLoadedProperties(p);
    return S_OK;
}

HRESULT NavrailControl::saveTo(PropertyExchange &px)
{
    PersistedProperties p = persistedProperties();
    return ExchangeProperties(px, p);
}

// ---- IPersist, IPersistStreamInit ----------------------------------------------------------------

HRESULT NavrailControl::GetClassID(CLSID *pClassID)
{
    if (!pClassID)
        return E_POINTER;
    *pClassID = CLSID_LzNavrailBar;
    return S_OK;
}

HRESULT NavrailControl::IsDirty()
{
    return dirty_ ? S_OK : S_FALSE;
}

HRESULT NavrailControl::InitNew()
{
    return S_OK;
}

HRESULT NavrailControl::Load(IStream *pStm)
{
    if (!pStm)
        return E_POINTER;
    PropertyExchange px = PropertyExchange::overStream(pStm, true);
    return loadFrom(px);
}

HRESULT NavrailControl::Save(IStream *pStm, BOOL)
{
    if (!pStm)
        return E_POINTER;
    // The needs-saving flag stays as it is.
    PropertyExchange px = PropertyExchange::overStream(pStm, false);
    return saveTo(px);
}

HRESULT NavrailControl::GetSizeMax(ULARGE_INTEGER *pCbSize)
{
    if (!pCbSize)
        return E_POINTER;
    ComPtr<IStream> probe = ole::createMemoryStream();
    PropertyExchange px = PropertyExchange::overStream(probe.get(), false);
    const HRESULT hr = saveTo(px);
    if (FAILED(hr))
        return hr;
    pCbSize->QuadPart = ULONGLONG(ole::streamContents(probe.get()).size());
    return S_OK;
}

// ---- IPersistStorage: the same data in the storage's stream "Contents" -----------------------------

HRESULT NavrailControl::InitNew(IStorage *pStg)
{
    return pStg ? S_OK : E_POINTER;
}

HRESULT NavrailControl::Load(IStorage *pStg)
{
    if (!pStg)
        return E_POINTER;
    ComPtr<IStream> stream;
    HRESULT hr = pStg->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put());
    if (FAILED(hr))
        return hr;
    if (!stream)
        return E_FAIL;
    return Load(stream.get());
}

HRESULT NavrailControl::Save(IStorage *pStgSave, BOOL)
{
    if (!pStgSave)
        return E_POINTER;
    ComPtr<IStream> stream;
    HRESULT hr = pStgSave->CreateStream(kContentsStream, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                        stream.put());
    if (FAILED(hr))
        return hr;
    if (!stream)
        return E_FAIL;
    return Save(stream.get(), FALSE);
}

HRESULT NavrailControl::SaveCompleted(IStorage *)
{
    return S_OK;
}

HRESULT NavrailControl::HandsOffStorage()
{
    return S_OK;
}

// ---- IPersistPropertyBag -----------------------------------------------------------------------------

HRESULT NavrailControl::Load(IPropertyBag *pPropBag, IErrorLog *pErrorLog)
{
    if (!pPropBag)
        return E_POINTER;
    PropertyExchange px = PropertyExchange::overBag(pPropBag, pErrorLog, true);
    return loadFrom(px);
}

HRESULT NavrailControl::Save(IPropertyBag *pPropBag, BOOL, BOOL)
{
    if (!pPropBag)
        return E_POINTER;
    PropertyExchange px = PropertyExchange::overBag(pPropBag, nullptr, false);
    return saveTo(px);
}

} // namespace navrail
