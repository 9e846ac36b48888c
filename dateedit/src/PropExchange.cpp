#include "PropExchange.h"

#include "com/variant.h"
#include "ole/persist.h"

#include <cmath>

namespace lzdate {

const QString kDefaultCalendarMonths =
    QStringLiteral("January|February|March|April|May|June|July|August|September|October|November|December");
const QString kDefaultCalendarDOWs = QStringLiteral("SMTWTFS");

namespace {

constexpr LONG kMaxExtent = 1000000; // HIMETRIC, 10 m

enum class Mode { Reset, Load, Save };

// One side of the exchange. Numbers arrive in and leave through references; a loader that finds
// no entry for a name gives the default (the value: leaves it, and r8 answers S_FALSE).
class Archive
{
public:
    virtual ~Archive() = default;
    virtual Mode mode() const = 0;
    virtual HRESULT version(ULONG &v) = 0;
    virtual HRESULT extent(LONG &cx, LONG &cy) = 0;
    virtual HRESULT font(com::ComPtr<IFontDisp> &f) = 0;
    virtual HRESULT i2(const char16_t *name, SHORT &v, SHORT def) = 0;
    virtual HRESULT boolean(const char16_t *name, bool &v, bool def) = 0;
    virtual HRESULT color(const char16_t *name, OLE_COLOR &v, OLE_COLOR def) = 0;
    virtual HRESULT r8(const char16_t *name, double &v) = 0;
    virtual HRESULT string(const char16_t *name, QString &v, const QString &def) = 0;
};

com::ComPtr<IFontDisp> defaultFont()
{
    return ole::createFont(ole::defaultFontDesc());
}

class ResetArchive final : public Archive
{
public:
    Mode mode() const override { return Mode::Reset; }
    HRESULT version(ULONG &v) override
    {
        v = kCurrentVersion;
        return S_OK;
    }
    HRESULT extent(LONG &, LONG &) override { return S_OK; }
    HRESULT font(com::ComPtr<IFontDisp> &f) override
    {
        f = defaultFont();
        return S_OK;
    }
    HRESULT i2(const char16_t *, SHORT &v, SHORT def) override
    {
        v = def;
        return S_OK;
    }
    HRESULT boolean(const char16_t *, bool &v, bool def) override
    {
        v = def;
        return S_OK;
    }
    HRESULT color(const char16_t *, OLE_COLOR &v, OLE_COLOR def) override
    {
        v = def;
        return S_OK;
    }
    HRESULT r8(const char16_t *, double &) override { return S_OK; }
    HRESULT string(const char16_t *, QString &v, const QString &def) override
    {
        v = def;
        return S_OK;
    }
};

class StreamWriter final : public Archive
{
public:
    explicit StreamWriter(IStream *s) : s_(s) {}
    Mode mode() const override { return Mode::Save; }
    HRESULT version(ULONG &v) override { return ole::writeControlVersion(s_, v); }
    HRESULT extent(LONG &cx, LONG &cy) override { return ole::writeControlExtent(s_, cx, cy); }
    HRESULT font(com::ComPtr<IFontDisp> &f) override { return ole::writeObject(s_, f.get()); }
    HRESULT i2(const char16_t *, SHORT &v, SHORT) override { return ole::writeI2(s_, v); }
    HRESULT boolean(const char16_t *, bool &v, bool) override { return ole::writeBool(s_, v); }
    HRESULT color(const char16_t *, OLE_COLOR &v, OLE_COLOR) override { return ole::writeColor(s_, v); }
    HRESULT r8(const char16_t *, double &v) override { return ole::writeR8(s_, v); }
    HRESULT string(const char16_t *, QString &v, const QString &) override { return ole::writeString(s_, v); }

private:
    IStream *s_;
};

class StreamReader final : public Archive
{
public:
    explicit StreamReader(IStream *s) : s_(s) {}
    Mode mode() const override { return Mode::Load; }
    HRESULT version(ULONG &v) override { return ole::readControlVersion(s_, &v); }
    HRESULT extent(LONG &cx, LONG &cy) override { return ole::readControlExtent(s_, &cx, &cy); }
    HRESULT font(com::ComPtr<IFontDisp> &f) override
    {
        com::ComPtr<IFontDisp> loaded;
        const HRESULT hr = ole::readObject(s_, IID_IFontDisp, loaded.putVoid());
        if (FAILED(hr))
            return hr;
        f = loaded ? loaded : defaultFont();
        return S_OK;
    }
    HRESULT i2(const char16_t *, SHORT &v, SHORT) override { return ole::readI2(s_, &v); }
    HRESULT boolean(const char16_t *, bool &v, bool) override { return ole::readBool(s_, &v); }
    HRESULT color(const char16_t *, OLE_COLOR &v, OLE_COLOR) override { return ole::readColor(s_, &v); }
    HRESULT r8(const char16_t *, double &v) override { return ole::readR8(s_, &v); }
    HRESULT string(const char16_t *, QString &v, const QString &) override
    {
        return ole::readString(s_, &v, kMaxStoredChars);
    }

private:
    IStream *s_;
};

class BagWriter final : public Archive
{
public:
    explicit BagWriter(IPropertyBag *b) : b_(b) {}
    Mode mode() const override { return Mode::Save; }
    HRESULT version(ULONG &v) override { return ole::bagWriteControlVersion(b_, v); }
    HRESULT extent(LONG &cx, LONG &cy) override { return ole::bagWriteControlExtent(b_, cx, cy); }
    HRESULT font(com::ComPtr<IFontDisp> &f) override { return ole::bagWriteFont(b_, QStringLiteral("Font"), f.get()); }
    HRESULT i2(const char16_t *name, SHORT &v, SHORT) override { return put(name, com::Variant::i2(v)); }
    HRESULT boolean(const char16_t *name, bool &v, bool) override
    {
        return ole::bagWriteBool(b_, QString::fromUtf16(name), v);
    }
    HRESULT color(const char16_t *name, OLE_COLOR &v, OLE_COLOR) override
    {
        return ole::bagWriteColor(b_, QString::fromUtf16(name), v);
    }
    HRESULT r8(const char16_t *name, double &v) override { return put(name, com::Variant::r8(v)); }
    HRESULT string(const char16_t *name, QString &v, const QString &) override
    {
        return put(name, com::Variant::string(v));
    }

private:
    HRESULT put(const char16_t *name, const VARIANT &v) { return ole::bagWrite(b_, QString::fromUtf16(name), v); }
    IPropertyBag *b_;
};

// Reads a bag. Entries that are missing or that do not convert to the property's type give the
// default; texts longer than kMaxStoredChars and objects that are not fonts refuse the load.
class BagReader final : public Archive
{
public:
    BagReader(IPropertyBag *b, IErrorLog *log) : b_(b), log_(log) {}
    Mode mode() const override { return Mode::Load; }
    HRESULT version(ULONG &v) override
    {
        // A bag without a version holds data of the current layout.
        if (FAILED(ole::bagReadControlVersion(b_, &v, log_)))
            v = kCurrentVersion;
        return S_OK;
    }
    HRESULT extent(LONG &cx, LONG &cy) override { return ole::bagReadControlExtent(b_, &cx, &cy, log_); }
    HRESULT font(com::ComPtr<IFontDisp> &f) override
    {
        com::ComPtr<IFontDisp> loaded;
        const HRESULT hr = ole::bagReadFont(b_, QStringLiteral("Font"), loaded.put(), log_);
        if (FAILED(hr))
            return hr;
        f = loaded ? loaded : defaultFont();
        return S_OK;
    }
    HRESULT i2(const char16_t *name, SHORT &v, SHORT def) override
    {
        com::Variant x;
        v = SUCCEEDED(read(name, VT_I2, x)) ? x.iVal : def;
        return S_OK;
    }
    HRESULT boolean(const char16_t *name, bool &v, bool def) override
    {
        if (FAILED(ole::bagReadBool(b_, QString::fromUtf16(name), &v, log_)))
            v = def;
        return S_OK;
    }
    HRESULT color(const char16_t *name, OLE_COLOR &v, OLE_COLOR def) override
    {
        if (FAILED(ole::bagReadColor(b_, QString::fromUtf16(name), &v, log_)))
            v = def;
        return S_OK;
    }
    HRESULT r8(const char16_t *name, double &v) override
    {
        com::Variant x;
        if (FAILED(read(name, VT_R8, x)))
            return S_FALSE;
        v = x.dblVal;
        return S_OK;
    }
    HRESULT string(const char16_t *name, QString &v, const QString &def) override
    {
        com::Variant x;
        if (FAILED(read(name, VT_BSTR, x))) {
            v = def;
            return S_OK;
        }
        if (SysStringLen(x.bstrVal) > kMaxStoredChars)
            return E_FAIL;
        v = com::toQString(x.bstrVal);
        return S_OK;
    }

private:
    HRESULT read(const char16_t *name, VARTYPE type, com::Variant &out)
    {
        out.clear();
        const HRESULT hr = ole::bagRead(b_, QString::fromUtf16(name), type, &out, log_);
        if (FAILED(hr))
            out.clear();
        return hr;
    }
    IPropertyBag *b_;
    IErrorLog *log_;
};

#define TRY(expr)                                                                                                      \
    do {                                                                                                               \
        const HRESULT hr_ = (expr);                                                                                    \
        if (FAILED(hr_))                                                                                               \
            return hr_;                                                                                                \
    } while (0)

// The exchange, in the order the stored data has it. Reset counts as loading.
HRESULT exchange(Archive &ar, LzDate2Props &p, const ExchangeContext &ctx)
{
    const bool saving = ar.mode() == Mode::Save;
    const bool loading = !saving;
    ULONG version = saving ? kCurrentVersion : p.version;
    TRY(ar.version(version));
    if (loading) {
        if (version < kVersion1 || version > kCurrentVersion) // a layout no build wrote
            return E_FAIL;
        p.version = version;
    }
    TRY(ar.extent(p.extentX, p.extentY));
    TRY(ar.font(p.font));

    TRY(ar.i2(u"Alignment", p.alignment, 0));
    TRY(ar.i2(u"Border", p.border, 2));
    TRY(ar.i2(u"DisplayFormat", p.displayFormat, 0));
    TRY(ar.i2(u"CalendarFormat", p.calendarFormat, -1));
    TRY(ar.i2(u"DateFormat", p.dateFormat, 0));

    TRY(ar.boolean(u"SeparatorDefault", p.separatorDefault, false));
    if (!p.separatorDefault)
        TRY(ar.string(u"Separator", p.separator, QStringLiteral("/")));

    TRY(ar.boolean(u"Enabled", p.enabled, true));
    TRY(ar.boolean(u"TimeStore", p.timeStore, false));
    TRY(ar.boolean(u"HighlightInverted", p.highlightInverted, false));
    TRY(ar.boolean(u"EditModeChange", p.editModeChange, true));
    TRY(ar.i2(u"EditMode", p.editMode, 1));
    TRY(ar.color(u"DisabledColor", p.disabledColor, 0x80000011));
    TRY(ar.color(u"HighlightColor", p.highlightColor, 0x8000000D));
    TRY(ar.color(u"BackColor", p.backColor, 0x80000005));
    TRY(ar.color(u"ForeColor", p.foreColor, 0x80000008));

    // "Value" holds what the Value property reads: the date when valid, else 0.0. A kept value
    // of 0.0, or none at all, loads as a null date, as a Value put of 0.0 makes one.
    double stored = p.status == Status::Valid ? p.value : 0.0;
    HRESULT valueRead = S_OK;
    if (loading && version == kVersion1) {
        // The first layout applies ValueReset before it reads the value.
        TRY(ar.i2(u"ValueReset", p.valueReset, 0));
        p.valueReset = checkedValueReset(p.valueReset);
        if (p.valueReset != 1)
            p.value = ctx.now;
        p.status = p.valueReset == 2 ? Status::Null : Status::Valid;
        stored = p.value;
        TRY(valueRead = ar.r8(u"Value", stored));
        p.value = stored;
    } else {
        if (saving && ctx.userMode && ctx.drawnWidth > 1)
            p.valueReset = 1; // keep the date the user worked with
        TRY(ar.i2(u"ValueReset", p.valueReset, 0));
        if (loading)
            p.valueReset = checkedValueReset(p.valueReset);
        TRY(valueRead = ar.r8(u"Value", stored));
        if (loading) {
            p.value = p.valueReset != 1 ? ctx.now : stored;
            p.status = p.valueReset == 2 ? Status::Null : Status::Valid;
        }
    }
    if (loading && p.valueReset == 1 && (valueRead == S_FALSE || p.value == 0.0)) {
        p.value = 0.0;
        p.status = Status::Null;
    }
    TRY(ar.string(u"CalendarMonths", p.calendarMonths, kDefaultCalendarMonths));
    TRY(ar.string(u"CalendarDOWs", p.calendarDOWs, kDefaultCalendarDOWs));
    TRY(ar.string(u"NullString", p.nullString, QString()));
    if (!(loading && version == kVersion1) && version > 1)
        TRY(ar.i2(u"SelectionPersistance", p.selectionPersistance, 2));
    if (version > 0x00060000)
        TRY(ar.boolean(u"FreeFormEntry", p.freeFormEntry, false));

    if (loading) {
        p.alignment = checkedAlignment(p.alignment);
        p.border = checkedBorder(p.border);
        p.displayFormat = checkedDisplayFormat(p.displayFormat);
        p.calendarFormat = checkedCalendarCode(p.calendarFormat);
        p.dateFormat = checkedDateFormat(p.dateFormat);
        p.editMode = checkedEditMode(p.editMode);
        p.selectionPersistance = checkedSelectionPersistance(p.selectionPersistance);
        p.separator = QString(validateSeparator(p.separator));
        p.extentX = std::clamp<LONG>(p.extentX, 0, kMaxExtent);
        p.extentY = std::clamp<LONG>(p.extentY, 0, kMaxExtent);
        if (!std::isfinite(p.value) || p.value < kValuePutMin || p.value > kValuePutMax) {
            p.value = 0.0;
            p.status = Status::Null;
        }
    }
    return S_OK;
}

#undef TRY

} // namespace

SHORT checkedAlignment(int v)
{
    return v >= 0 && v <= 2 ? SHORT(v) : 0;
}
SHORT checkedBorder(int v)
{
    return v >= 0 && v <= 2 ? SHORT(v) : 0;
}
SHORT checkedDisplayFormat(int v)
{
    return v >= 0 && v <= 6 ? SHORT(v) : 0;
}
SHORT checkedCalendarCode(int v)
{
    return v == -1 || v == 0 || v == 1 || (v >= 3 && v <= 6) ? SHORT(v) : -1;
}
SHORT checkedDateFormat(int v)
{
    return v >= 0 && v < kDateFormatCount ? SHORT(v) : 0;
}
SHORT checkedEditMode(int v)
{
    return v == 0 || v == 1 ? SHORT(v) : 1;
}
SHORT checkedValueReset(int v)
{
    return v >= 0 && v <= 2 ? SHORT(v) : 0;
}
SHORT checkedSelectionPersistance(int v)
{
    return v >= 0 && v <= 2 ? SHORT(v) : 2;
}

HRESULT resetProps(LzDate2Props &p, const ExchangeContext &ctx)
{
    ResetArchive ar;
    return exchange(ar, p, ctx);
}

HRESULT loadProps(IStream *stream, LzDate2Props &p, const ExchangeContext &ctx)
{
    if (!stream)
        return E_POINTER;
    StreamReader ar(stream);
    return exchange(ar, p, ctx);
}

HRESULT loadProps(IPropertyBag *bag, IErrorLog *log, LzDate2Props &p, const ExchangeContext &ctx)
{
    if (!bag)
        return E_POINTER;
    BagReader ar(bag, log);
    return exchange(ar, p, ctx);
}

HRESULT saveProps(IStream *stream, LzDate2Props &p, const ExchangeContext &ctx)
{
    if (!stream)
        return E_POINTER;
    StreamWriter ar(stream);
    return exchange(ar, p, ctx);
}

HRESULT saveProps(IPropertyBag *bag, LzDate2Props &p, const ExchangeContext &ctx)
{
    if (!bag)
        return E_POINTER;
    BagWriter ar(bag);
    return exchange(ar, p, ctx);
}

} // namespace lzdate
