#pragma once
// Three-dimensional edges, the system colours and the cursors of the bar's windows.
#include <QColor>
#include <QCursor>
#include <QRect>

class QPainter;

namespace navrail {

// Edge parts: each is a one-pixel ring; the outer ring is drawn on the rectangle's boundary, the
// inner ring one pixel inside it.
enum EdgeBits : unsigned {
    RaisedOuter = 0x1, // 3-D light top-left, dark shadow bottom-right
    SunkenOuter = 0x2, // button shadow top-left, button highlight bottom-right
    RaisedInner = 0x4, // button highlight top-left, button shadow bottom-right
    SunkenInner = 0x8, // dark shadow top-left, 3-D light bottom-right
    EdgeRaised = RaisedOuter | RaisedInner,
    EdgeSunken = SunkenOuter | SunkenInner,
};

// Sides an edge is drawn on.
enum EdgeSides : unsigned { SideLeft = 0x1, SideTop = 0x2, SideRight = 0x4, SideBottom = 0x8, SidesAll = 0xF };

// Draws the edge inside r (right and bottom exclusive).
void drawEdge(QPainter &painter, const QRect &r, unsigned edge, unsigned sides = SidesAll);

// A colour of the fixed system-colour table.
QColor sysColor(int index);
QColor buttonFace();

// A cursor of the library's resources (203 splitter bar across, 204 header button, 205 splitter
// bar upright); the arrow for an unknown id.
QCursor barCursor(int id);

} // namespace navrail
