#include "ole/handles.h"

#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <mutex>

namespace ole {

namespace {

// A handle: the kind in the top 4 bits, a serial number below (never reused).
constexpr unsigned kKindShift = 28;
constexpr Handle kSerialMask = (Handle(1) << kKindShift) - 1;

struct Entry
{
    HandleKind kind = HandleKind::None;
    QPointer<QObject> object; // windows, menus
    QFont font;
    QPixmap pixmap;
};

struct Table
{
    std::mutex mutex;
    Handle nextSerial = 1;
    QHash<Handle, Entry> entries;
    QHash<const QObject *, Handle> byObject;
};

Table &table()
{
    static Table t;
    return t;
}

Handle makeHandle(Table &t, HandleKind kind)
{
    Handle serial = t.nextSerial++ & kSerialMask;
    if (serial == 0)
        serial = t.nextSerial++ & kSerialMask;
    return (Handle(kind) << kKindShift) | serial;
}

Handle handleFromObject(QObject *o, HandleKind kind)
{
    if (!o)
        return 0;
    Table &t = table();
    {
        std::lock_guard lock(t.mutex);
        auto it = t.byObject.find(o);
        if (it != t.byObject.end()) {
            auto e = t.entries.find(it.value());
            if (e != t.entries.end() && e->object == o && e->kind == kind)
                return it.value();
        }
    }
    Handle h;
    {
        std::lock_guard lock(t.mutex);
        h = makeHandle(t, kind);
        Entry e;
        e.kind = kind;
        e.object = o;
        t.entries.insert(h, e);
        t.byObject.insert(o, h);
    }
    QObject::connect(o, &QObject::destroyed, [h, o] {
        Table &tb = table();
        std::lock_guard lock(tb.mutex);
        tb.entries.remove(h);
        auto it = tb.byObject.find(o);
        if (it != tb.byObject.end() && it.value() == h)
            tb.byObject.erase(it);
    });
    return h;
}

QObject *objectFromHandle(Handle h, HandleKind kind)
{
    if (handleKind(h) != kind)
        return nullptr;
    Table &t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.entries.find(h);
    if (it == t.entries.end() || it->kind != kind)
        return nullptr;
    return it->object.data();
}

} // namespace

HandleKind handleKind(Handle h)
{
    unsigned k = h >> kKindShift;
    return k >= 1 && k <= 5 ? HandleKind(k) : HandleKind::None;
}

Handle handleFromWidget(QWidget *w)
{
    return handleFromObject(w, HandleKind::Window);
}

QWidget *widgetFromHandle(Handle h)
{
    return qobject_cast<QWidget *>(objectFromHandle(h, HandleKind::Window));
}

Handle handleFromMenu(QMenu *m)
{
    return handleFromObject(m, HandleKind::Menu);
}

QMenu *menuFromHandle(Handle h)
{
    return qobject_cast<QMenu *>(objectFromHandle(h, HandleKind::Menu));
}

namespace {

// Handles that own a copy of a value (fonts, bitmaps) rather than point at an object.
template <class V>
Handle createValueHandle(HandleKind kind, V Entry::*member, const V &value)
{
    Table &t = table();
    std::lock_guard lock(t.mutex);
    Handle h = makeHandle(t, kind);
    Entry e;
    e.kind = kind;
    e.*member = value;
    t.entries.insert(h, e);
    return h;
}

template <class V>
bool valueFromHandle(Handle h, HandleKind kind, V Entry::*member, V *out)
{
    if (handleKind(h) != kind)
        return false;
    Table &t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.entries.find(h);
    if (it == t.entries.end())
        return false;
    if (out)
        *out = (*it).*member;
    return true;
}

} // namespace

Handle createFontHandle(const QFont &f)
{
    return createValueHandle(HandleKind::Font, &Entry::font, f);
}

bool fontFromHandle(Handle h, QFont *out)
{
    return valueFromHandle(h, HandleKind::Font, &Entry::font, out);
}

Handle createBitmapHandle(const QPixmap &p)
{
    return createValueHandle(HandleKind::Bitmap, &Entry::pixmap, p);
}

bool bitmapFromHandle(Handle h, QPixmap *out)
{
    return valueFromHandle(h, HandleKind::Bitmap, &Entry::pixmap, out);
}

bool releaseHandle(Handle h)
{
    HandleKind k = handleKind(h);
    if (k != HandleKind::Font && k != HandleKind::Bitmap)
        return false;
    Table &t = table();
    Entry gone;
    {
        std::lock_guard lock(t.mutex);
        auto it = t.entries.find(h);
        if (it == t.entries.end())
            return false;
        gone = it.value();
        t.entries.erase(it);
    }
    return true;
}

// Internal: image lists keep their objects in the same numbering.
Handle allocateImageListHandle()
{
    Table &t = table();
    std::lock_guard lock(t.mutex);
    return makeHandle(t, HandleKind::ImageList);
}

} // namespace ole
