#include "drawedge.h"

#include "ole/olecolor.h"

#include <QPainter>
#include <QPixmap>

namespace navrail {

namespace {

// One ring: top and left in tl, bottom and right in br; the top-right and bottom-left corners
// belong to br.
void ring(QPainter &p, const QRect &r, const QColor &tl, const QColor &br, unsigned sides)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    if (sides & SideTop)
        p.fillRect(QRect(l, t, r.width() - 1, 1), tl);
    if (sides & SideLeft)
        p.fillRect(QRect(l, t, 1, r.height() - 1), tl);
    if (sides & SideBottom)
        p.fillRect(QRect(l, b, r.width(), 1), br);
    if (sides & SideRight)
        p.fillRect(QRect(rt, t, 1, r.height()), br);
}

} // namespace

QColor sysColor(int index)
{
    return ole::toQColor(GetSysColor(index));
}

QColor buttonFace()
{
    return sysColor(COLOR_BTNFACE);
}

QCursor barCursor(int id)
{
    QPoint hot;
    switch (id) {
    case 203:
    case 205: hot = QPoint(15, 15); break;
    case 204: hot = QPoint(6, 0); break;
    default: return QCursor(Qt::ArrowCursor);
    }
    const QPixmap pixmap(QStringLiteral(":/navrail/cursor/%1.png").arg(id));
    if (pixmap.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(pixmap, hot.x(), hot.y());
}

void drawEdge(QPainter &painter, const QRect &r, unsigned edge, unsigned sides)
{
    QRect outer = r;
    if (edge & RaisedOuter)
        ring(painter, outer, sysColor(COLOR_3DLIGHT), sysColor(COLOR_3DDKSHADOW), sides);
    else if (edge & SunkenOuter)
        ring(painter, outer, sysColor(COLOR_BTNSHADOW), sysColor(COLOR_BTNHIGHLIGHT), sides);
    QRect inner = outer;
    if (edge & (RaisedOuter | SunkenOuter))
        inner = outer.adjusted(sides & SideLeft ? 1 : 0, sides & SideTop ? 1 : 0, sides & SideRight ? -1 : 0,
                               sides & SideBottom ? -1 : 0);
    if (edge & RaisedInner)
        ring(painter, inner, sysColor(COLOR_BTNHIGHLIGHT), sysColor(COLOR_BTNSHADOW), sides);
    else if (edge & SunkenInner)
        ring(painter, inner, sysColor(COLOR_3DDKSHADOW), sysColor(COLOR_3DLIGHT), sides);
}

} // namespace navrail
