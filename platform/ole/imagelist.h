#pragma once
// Image lists: rows of equally sized images behind an image-list handle (ole/handles.h).
// A destroyed list's handle resolves to nothing: every function then fails softly (-1, false, 0).
#include "ole/handles.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>

class QPainter;

struct IDispatch;

namespace ole {

enum ImageDrawStyle : unsigned {
    ILD_NORMAL = 0x0,
    ILD_TRANSPARENT = 0x1,
    ILD_BLEND25 = 0x2, // blended with the highlight colour
    ILD_FOCUS = 0x2,
    ILD_BLEND50 = 0x4,
    ILD_SELECTED = 0x4,
};

// A new, empty list of images of cx x cy pixels. grow is advisory.
Handle imageListCreate(int cx, int cy, int grow = 4);
bool imageListDestroy(Handle list);
bool imageListIsValid(Handle list);
// Splits a strip into images of the list's width (a shorter last piece is dropped) and appends
// them. With a valid mask colour, pixels of that colour become transparent. Returns the index of
// the first new image, or -1.
int imageListAdd(Handle list, const QPixmap &strip, const QColor &maskColour = QColor());
// Appends one icon, scaled to the list's size. Returns its index or -1.
int imageListAddIcon(Handle list, const QIcon &icon);
// Replaces image index; false when out of range.
bool imageListReplace(Handle list, int index, const QPixmap &image);
// Removes image index, or all with -1.
bool imageListRemove(Handle list, int index);
int imageListCount(Handle list);
QSize imageListIconSize(Handle list);
// Sets a new image size and removes all images (as the platform does).
bool imageListSetIconSize(Handle list, int cx, int cy);
QPixmap imageListImage(Handle list, int index);
// Draws image index with its top-left at x, y. False when the list or the index is bad.
bool imageListDraw(Handle list, int index, QPainter &painter, int x, int y, unsigned style = ILD_NORMAL);
// Loads a bitmap strip (Qt resource or file path) into a new list of width cx, height of the
// bitmap. An invalid mask colour takes the colour of the top-left pixel. 0 on failure.
Handle imageListLoad(const QString &path, int cx, int grow = 4, const QColor &maskColour = QColor());

// An automation object holding an image-list handle: its property hImageList (DISPID 5, get)
// gives the handle, as the image-list control does for clients that take such an object.
// The object does not own the list.
HRESULT createImageListObject(Handle list, IDispatch **ppDisp);
inline constexpr DISPID DISPID_IMAGELIST_HIMAGELIST = 5;

} // namespace ole
