#include "ole/imagelist.h"
#include "com/dispimpl.h"
#include "com/object.h"

#include <QBitmap>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QVector>

#include <mutex>

namespace ole {

Handle allocateImageListHandle(); // handles.cpp

namespace {

struct ImageList
{
    QSize size;
    QVector<QPixmap> images;
};

std::mutex g_mutex;
QHash<Handle, ImageList> g_lists;

QPixmap masked(const QPixmap &p, const QColor &maskColour)
{
    if (!maskColour.isValid())
        return p;
    QImage img = p.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = maskColour.rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return QPixmap::fromImage(img);
}

} // namespace

Handle imageListCreate(int cx, int cy, int)
{
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return 0;
    Handle h = allocateImageListHandle();
    std::lock_guard lock(g_mutex);
    g_lists.insert(h, ImageList{QSize(cx, cy), {}});
    return h;
}

bool imageListDestroy(Handle list)
{
    std::lock_guard lock(g_mutex);
    return g_lists.remove(list) > 0;
}

bool imageListIsValid(Handle list)
{
    std::lock_guard lock(g_mutex);
    return g_lists.contains(list);
}

int imageListAdd(Handle list, const QPixmap &strip, const QColor &maskColour)
{
    if (strip.isNull())
        return -1;
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    if (it == g_lists.end())
        return -1;
    const int w = it->size.width();
    const int count = strip.width() / w;
    if (count <= 0)
        return -1;
    QPixmap source = masked(strip, maskColour);
    int first = int(it->images.size());
    for (int i = 0; i < count; ++i) {
        QPixmap piece(it->size);
        piece.fill(Qt::transparent);
        QPainter p(&piece);
        p.drawPixmap(0, 0, source, i * w, 0, w, std::min(it->size.height(), source.height()));
        p.end();
        it->images.push_back(piece);
    }
    return first;
}

int imageListAddIcon(Handle list, const QIcon &icon)
{
    if (icon.isNull())
        return -1;
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    if (it == g_lists.end())
        return -1;
    QPixmap pm = icon.pixmap(it->size);
    if (pm.size() != it->size)
        pm = pm.scaled(it->size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    it->images.push_back(pm);
    return int(it->images.size()) - 1;
}

bool imageListReplace(Handle list, int index, const QPixmap &image)
{
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    if (it == g_lists.end() || index < 0 || index >= it->images.size() || image.isNull())
        return false;
    it->images[index] = image.size() == it->size ? image : image.scaled(it->size);
    return true;
}

bool imageListRemove(Handle list, int index)
{
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    if (it == g_lists.end())
        return false;
    if (index == -1) {
        it->images.clear();
        return true;
    }
    if (index < 0 || index >= it->images.size())
        return false;
    it->images.remove(index);
    return true;
}

int imageListCount(Handle list)
{
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    return it == g_lists.end() ? 0 : int(it->images.size());
}

QSize imageListIconSize(Handle list)
{
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    return it == g_lists.end() ? QSize() : it->size;
}

bool imageListSetIconSize(Handle list, int cx, int cy)
{
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return false;
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    if (it == g_lists.end())
        return false;
    it->size = QSize(cx, cy);
    it->images.clear();
    return true;
}

QPixmap imageListImage(Handle list, int index)
{
    std::lock_guard lock(g_mutex);
    auto it = g_lists.find(list);
    if (it == g_lists.end() || index < 0 || index >= it->images.size())
        return QPixmap();
    return it->images[index];
}

bool imageListDraw(Handle list, int index, QPainter &painter, int x, int y, unsigned style)
{
    QPixmap pm = imageListImage(list, index);
    if (pm.isNull())
        return false;
    painter.drawPixmap(x, y, pm);
    if (style & (ILD_BLEND25 | ILD_BLEND50)) {
        QPixmap tint(pm.size());
        tint.fill(Qt::transparent);
        QPainter tp(&tint);
        tp.drawPixmap(0, 0, pm);
        tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        QColor c(0, 0, 128);
        c.setAlphaF((style & ILD_BLEND50) ? 0.5 : 0.25);
        tp.fillRect(tint.rect(), c);
        tp.end();
        painter.drawPixmap(x, y, tint);
    }
    return true;
}

Handle imageListLoad(const QString &path, int cx, int grow, const QColor &maskColour)
{
    QPixmap strip(path);
    if (strip.isNull() || cx <= 0)
        return 0;
    QColor mask = maskColour;
    if (!mask.isValid())
        mask = QColor(strip.toImage().pixel(0, 0));
    Handle h = imageListCreate(cx, strip.height(), grow);
    if (!h)
        return 0;
    if (imageListAdd(h, strip, mask) < 0) {
        imageListDestroy(h);
        return 0;
    }
    return h;
}

namespace {

class ImageListObject final : public com::ComObject<IDispatch>
{
public:
    explicit ImageListObject(Handle h) : handle_(h) {}
    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<ImageListObject>;
        static const com::DispatchTable t(
            IID_IDispatch, u"ImageList",
            {
                B::get<&ImageListObject::get_hImageList>(DISPID_IMAGELIST_HIMAGELIST, u"hImageList"),
            });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())
    HRESULT get_hImageList(LONG *p)
    {
        if (!p)
            return E_POINTER;
        *p = LONG(handle_);
        return S_OK;
    }

private:
    Handle handle_;
};

} // namespace

HRESULT createImageListObject(Handle list, IDispatch **ppDisp)
{
    if (!ppDisp)
        return E_POINTER;
    auto *o = new (std::nothrow) ImageListObject(list);
    if (!o)
        return E_OUTOFMEMORY;
    o->AddRef();
    *ppDisp = o;
    return S_OK;
}

} // namespace ole
