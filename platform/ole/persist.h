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
// Loading treats the data as untrusted: strings longer than the given limit (default 64 KiB
// characters), odd or too short byte counts, unknown type tags, and classes outside the allowed
// list (default: the standard font only) fail with a clean error (E_FAIL, STG_E_READFAULT for
// short data, REGDB_E_CLASSNOTREG for a class that is not allowed) and never create anything else.
#include "com/variant.h"
#include "com/interfaces.h"

#include <QString>
#include <initializer_list>
#include <span>

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
HRESULT readObject(IStream *s, REFIID riid, void **ppv);   // allowed: the standard font

HRESULT writeTypedValue(IStream *s, const VARIANT &v);
// Reads a typed value into *out (cleared first). Objects: as readObject with the allowed list.
HRESULT readTypedValue(IStream *s, VARIANT *out, std::span<const CLSID> allowed, ULONG maxChars = kDefaultMaxStringChars);
HRESULT readTypedValue(IStream *s, VARIANT *out);

// Property-bag helpers. Read converts to type (VT_EMPTY: as stored); a missing name gives
// E_INVALIDARG and leaves *out VT_EMPTY.
HRESULT bagRead(IPropertyBag *bag, const QString &name, VARTYPE type, VARIANT *out, IErrorLog *log = nullptr);
HRESULT bagWrite(IPropertyBag *bag, const QString &name, const VARIANT &value);

} // namespace ole
