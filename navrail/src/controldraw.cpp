// The control drawn on a container's surface (IViewObject): with its window, the window as it
// stands; without one, a placeholder of back colour, sunken edge and the control's name.
#include "control.h"

#include "items.h"
#include "windows/barwindow.h"
#include "windows/drawedge.h"

#include "ole/font.h"
#include "ole/olecolor.h"

#include <QPainter>

#include <limits>

namespace navrail {

namespace {

// The text a control without a window shows.
const QString kPlaceholderText = QStringLiteral("Larkspire NavrailBar");

} // namespace

HRESULT NavrailControl::Draw(DWORD dwDrawAspect, LONG, void *, DVTARGETDEVICE *, HDC, HDC hdcDraw, LPCRECTL lprcBounds,
                             LPCRECTL, BOOL(STDMETHODCALLTYPE *)(ULONG_PTR), ULONG_PTR)
{
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!hdcDraw || !lprcBounds)
        return E_INVALIDARG;
    // Inverted bounds, and bounds whose width or height an int cannot hold, are refused before
    // any arithmetic on them.
    const qint64 width = qint64(lprcBounds->right) - lprcBounds->left;
    const qint64 height = qint64(lprcBounds->bottom) - lprcBounds->top;
    if (width < 0 || height < 0 || width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max())
        return E_INVALIDARG;
    ComPtr<ILzNavrailBar> keepThis(this);
    QPainter &painter = *static_cast<QPainter *>(hdcDraw);
    const bool empty = width == 0 || height == 0;
    const QRect bounds = empty ? QRect() : QRect(lprcBounds->left, lprcBounds->top, int(width), int(height));

    if (QWidget *w = widget()) {
        // The window paints itself (and displays a pending item from its own paint).
        painter.save();
        painter.setClipRect(bounds, Qt::IntersectClip);
        w->render(&painter, bounds.topLeft());
        painter.restore();
        return S_OK;
    }

    if (!empty) {
        QRect r = bounds;
        painter.save();
        painter.fillRect(r, ole::colorFromOle(backColor_));
        drawEdge(painter, r, EdgeSunken, SidesAll);
        r.setTop(r.top() + std::min(2, r.height()));
        if (font_)
            painter.setFont(ole::toQFont(font_.get()));
        painter.setPen(ole::colorFromOle(textColor_));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, kPlaceholderText);
        painter.restore();
    }

    // As after the window's first paint: the current item is displayed once.
    if (pendingDisplay()) {
        clearPendingDisplay();
        if (ComPtr<Item> item = ComPtr<Item>(bar().currentItem()))
            item->Display();
    }
    return S_OK;
}

HRESULT NavrailControl::GetColorSet(DWORD, LONG, void *, DVTARGETDEVICE *, HDC, LOGPALETTE **ppColorSet)
{
    if (!ppColorSet)
        return E_POINTER;
    *ppColorSet = nullptr;
    return S_FALSE; // no palette
}

HRESULT NavrailControl::Freeze(DWORD, LONG, void *, DWORD *pdwFreeze)
{
    if (pdwFreeze)
        *pdwFreeze = 0;
    return E_NOTIMPL;
}

HRESULT NavrailControl::Unfreeze(DWORD)
{
    return E_NOTIMPL;
}

HRESULT NavrailControl::SetAdvise(DWORD, DWORD, IAdviseSink *)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT NavrailControl::GetAdvise(DWORD *pAspects, DWORD *pAdvf, IAdviseSink **ppAdvSink)
{
    if (pAspects)
        *pAspects = 0;
    if (pAdvf)
        *pAdvf = 0;
    if (ppAdvSink)
        *ppAdvSink = nullptr;
    return OLE_E_NOCONNECTION;
}

} // namespace navrail
