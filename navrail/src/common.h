#pragma once
// Shared helpers of the navigation-bar library: identities of the library's own objects, result
// hand-out helpers and the reading of collection indexes.
#include "LzNavrail.h"
#include "com/com.h"

#include <QString>
#include <optional>

namespace navrail {

using com::ComPtr;

class NavrailControl;
class GroupsCollection;
class Group;
class ItemsCollection;
class Item;
class TabsSet;
class TabsCollection;
class Tab;
class BarWindow;

// Private interface identifiers: an object of this library answers them with its own interface
// pointer, so that an object handed in by a caller can be told apart from a foreign one.
inline constexpr IID IID_NavrailControlImpl = com::makeGuid("73320333-B8FB-4054-AA84-4BA4652340A9");
inline constexpr IID IID_NavrailGroupsImpl = com::makeGuid("9FD66993-8260-4D29-85D8-312B80204BF8");
inline constexpr IID IID_NavrailGroupImpl = com::makeGuid("E90C0FCA-79A3-42D5-A304-23155CD9603A");
inline constexpr IID IID_NavrailItemsImpl = com::makeGuid("8ABDB3E3-1EB1-4558-8008-02CA44D99D64");
inline constexpr IID IID_NavrailItemImpl = com::makeGuid("AD26BC3B-E566-4796-AF80-9E6C0B029D07");
inline constexpr IID IID_NavrailTabsSetImpl = com::makeGuid("74F9A40B-4843-4AB0-A8FE-339FAC449517");
inline constexpr IID IID_NavrailTabsImpl = com::makeGuid("62AF1F4E-2BBD-4224-8AFC-B6A590CB0ED2");
inline constexpr IID IID_NavrailTabImpl = com::makeGuid("D50B5EAF-45E9-47E5-8B0F-A2F1F40073B8");

// The library's own object behind an interface pointer, or nullptr for a foreign object (no
// reference is taken: the caller holds p).
template <class Impl, class I>
Impl *implFrom(I *p, const IID &privateIid)
{
    if (!p)
        return nullptr;
    void *raw = nullptr;
    if (FAILED(p->QueryInterface(privateIid, &raw)) || !raw)
        return nullptr;
    auto *impl = static_cast<Impl *>(static_cast<typename Impl::PrimaryInterface *>(raw));
    impl->Release();
    return impl;
}

// An object that left its control is detached: a collection whose control went, the Items of a
// group that left its bar, a group or item whose bar is gone. Every member of a detached
// collection, and every member of a group or item that works on the bar, fails with this one
// result and changes nothing; a group's or item's own data (text, key, colours) stays readable.
inline constexpr HRESULT kDetachedResult = LZNAVRAIL_E_INVALIDOBJECT;

// S_OK while the object still has its control, else kDetachedResult.
inline HRESULT requireControl(const NavrailControl *control)
{
    return control ? S_OK : kDetachedResult;
}

// Hands out a new reference (nullptr allowed) through an out-parameter.
template <class I, class T>
HRESULT handOut(T *p, I **pp)
{
    if (!pp)
        return E_POINTER;
    *pp = p ? static_cast<I *>(p) : nullptr;
    if (*pp)
        (*pp)->AddRef();
    return S_OK;
}

// Hands out a copy of s as a new BSTR.
HRESULT handOutString(const QString &s, BSTR *out);
inline QString fromBstr(BSTR b)
{
    return com::toQString(b);
}

// Copies a variant for keeping: BYREF values are copied as what they point to.
HRESULT keepVariant(com::Variant &store, const VARIANT &value);
HRESULT handOutVariant(const VARIANT &stored, VARIANT *out);

// A collection index: a position (VT_I2, VT_I4, other types converted to a 4-byte integer) or a
// key (VT_BSTR); BYREF values are dereferenced. A value that converts to no integer gives
// DISP_E_TYPEMISMATCH.
struct IndexArg
{
    bool isKey = false;
    LONG position = 0;
    QString key;
};
HRESULT readIndex(const VARIANT &v, IndexArg *out);

// Key of an object of the model: absent until first set.
using OptionalKey = std::optional<QString>;
inline bool keyMatches(const OptionalKey &k, const QString &wanted)
{
    return k.has_value() && *k == wanted;
}

// The image-list handle of an image-list object: its property 5 read through IDispatch; 0 when the
// call fails.
LONG imageListHandleOf(IDispatch *imageList);

} // namespace navrail
