#pragma once
// Persistence helpers: the byte layouts this framework uses where a control's own format leaves
// the encoding to the framework. All numbers are little-endian.
//
// Typed value (writeTypedValue/readTypedValue):
//   USHORT vt, then
//     VT_I2, VT_UI2, VT_BOOL: 2 bytes; VT_I4, VT_UI4, VT_INT, VT_UINT, VT_R4, VT_ERROR: 4 bytes;
//     VT_R8, VT_CY, VT_DATE, VT_I8, VT_UI8: 8 bytes; VT_I1, VT_UI1: 1 byte;
//     VT_DISPATCH, VT_UNKNOWN: the object (see object below);
//     VT_EMPTY, VT_NULL: nothing;
//     VT_BSTR (and any other type, converted to text first): ULONG byte count = (characters + 1) * 2,
//       0 for a null string, then the UTF-16 characters and a zero terminator.
// Object: 16-byte class identifier (GUID fields little-endian), then the object's own
//   IPersistStream data; the null class identifier when there is no object.
// String (writeString/readString): ULONG count of UTF-16 code units, then the code units (no
//   terminator). Property-exchange streams of controls use this form for their text properties.
//
// Property exchange of a control whose format leaves the encoding to the framework (the control
// fixes the names, order and defaults of its properties; the framework fixes these):
//   Stream: the control's version (ULONG), then its extent (LONG cx, LONG cy, HIMETRIC), then the
//     control's properties. There is no separate stock-property block: a control keeps its stock
//     properties (Font, Enabled, BackColor, ForeColor) in its own list.
//     BOOL: SHORT 0 or 1 (writeBool); reading takes any non-zero value as TRUE (readBool).
//     Colour: ULONG (OLE_COLOR as stored, system colours included).
//     SHORT, double, text and font: I2, R8, string and object above.
//   Bag: the version under "_Version" and the extent under "_ExtentX" / "_ExtentY", each a VT_I4;
//     the properties under their own names. BOOL: VT_BOOL. Colour: VT_I4 (read back as VT_I4,
//     else as VT_UI4). Font: VT_DISPATCH of the font object; loading takes a copy and accepts
//     nothing but a font. A bag without an entry leaves the value to the control's default.
//
// Loading treats the data as untrusted: strings longer than the given limit (default 64 KiB
// characters), odd or too short byte counts, unknown type tags, and classes outside the allowed
// list (default: the standard font only) fail with a clean error (E_FAIL, STG_E_READFAULT for
// short data, REGDB_E_CLASSNOTREG for a class that is not allowed) and never create anything else.
#include "com/interfaces.h"
#include "com/variant.h"

#include <QString>
#include <initializer_list>
#include <span>

struct IFontDisp;

// Saves an object as class identifier + IPersistStream data (the object layout above).
TV_COM_EXPORT HRESULT OleSaveToStream(IPersistStream *pPStm, IStream *pStm);
// Loads an object saved by OleSaveToStream. Only the runtime's standard font is created;
// any other class gives REGDB_E_CLASSNOTREG. A null class identifier gives
// REGDB_E_CLASSNOTREG too, with *ppvObj null.
TV_COM_EXPORT HRESULT OleLoadFromStream(IStream *pStm, REFIID iidInterface, LPVOID *ppvObj);

namespace ole {

inline constexpr ULONG kDefaultMaxStringChars = 64 * 1024;

HRESULT writeBytes(IStream *s, const void *data, ULONG size);
// Exactly size bytes or STG_E_READFAULT.
HRESULT readExact(IStream *s, void *data, ULONG size);

HRESULT writeI2(IStream *s, SHORT v);
HRESULT writeI4(IStream *s, LONG v);
HRESULT writeU4(IStream *s, ULONG v);
HRESULT writeR8(IStream *s, DOUBLE v);
HRESULT writeString(IStream *s, const QString &v);
HRESULT readI2(IStream *s, SHORT *v);
HRESULT readI4(IStream *s, LONG *v);
HRESULT readU4(IStream *s, ULONG *v);
HRESULT readR8(IStream *s, DOUBLE *v);
HRESULT readString(IStream *s, QString *v, ULONG maxChars = kDefaultMaxStringChars);

// An object (any interface of it; null writes the null class identifier).
HRESULT writeObject(IStream *s, IUnknown *object);
// Reads an object; *ppv is null (and S_OK) for the null class identifier. Only classes in allowed
// are created.
HRESULT readObject(IStream *s, REFIID riid, void **ppv, std::span<const CLSID> allowed);
HRESULT readObject(IStream *s, REFIID riid, void **ppv); // allowed: the standard font

HRESULT writeTypedValue(IStream *s, const VARIANT &v);
// Reads a typed value into *out (cleared first). Objects: as readObject with the allowed list.
HRESULT readTypedValue(IStream *s, VARIANT *out, std::span<const CLSID> allowed,
                       ULONG maxChars = kDefaultMaxStringChars);
HRESULT readTypedValue(IStream *s, VARIANT *out);

// Property-bag helpers. Read converts to type (VT_EMPTY: as stored); a missing name gives
// E_INVALIDARG and leaves *out VT_EMPTY.
HRESULT bagRead(IPropertyBag *bag, const QString &name, VARTYPE type, VARIANT *out, IErrorLog *log = nullptr);
HRESULT bagWrite(IPropertyBag *bag, const QString &name, const VARIANT &value);

// Control property exchange (the layout above).
inline constexpr char16_t kBagVersionKey[] = u"_Version";
inline constexpr char16_t kBagExtentXKey[] = u"_ExtentX";
inline constexpr char16_t kBagExtentYKey[] = u"_ExtentY";

HRESULT writeControlVersion(IStream *s, ULONG version);
HRESULT readControlVersion(IStream *s, ULONG *version);
HRESULT writeControlExtent(IStream *s, LONG cx, LONG cy);
HRESULT readControlExtent(IStream *s, LONG *cx, LONG *cy); // both or neither changed
HRESULT writeBool(IStream *s, bool v);
HRESULT readBool(IStream *s, bool *v);
HRESULT writeColor(IStream *s, OLE_COLOR v);
HRESULT readColor(IStream *s, OLE_COLOR *v);

// Bag readers fail (and leave the value as it is) when the entry is missing or does not convert;
// the caller then applies its default.
HRESULT bagWriteControlVersion(IPropertyBag *bag, ULONG version);
HRESULT bagReadControlVersion(IPropertyBag *bag, ULONG *version, IErrorLog *log = nullptr);
HRESULT bagWriteControlExtent(IPropertyBag *bag, LONG cx, LONG cy);
// Each entry that is there replaces its value; always S_OK.
HRESULT bagReadControlExtent(IPropertyBag *bag, LONG *cx, LONG *cy, IErrorLog *log = nullptr);
HRESULT bagWriteBool(IPropertyBag *bag, const QString &name, bool v);
HRESULT bagReadBool(IPropertyBag *bag, const QString &name, bool *v, IErrorLog *log = nullptr);
HRESULT bagWriteColor(IPropertyBag *bag, const QString &name, OLE_COLOR v);
HRESULT bagReadColor(IPropertyBag *bag, const QString &name, OLE_COLOR *v, IErrorLog *log = nullptr);
HRESULT bagWriteFont(IPropertyBag *bag, const QString &name, IFontDisp *font);
// S_OK with a copy of the stored font; S_FALSE with null when there is no entry (or it is empty
// or null); E_FAIL for anything that is not a font.
HRESULT bagReadFont(IPropertyBag *bag, const QString &name, IFontDisp **font, IErrorLog *log = nullptr);

} // namespace ole
