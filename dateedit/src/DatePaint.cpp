#include "DatePaint.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace lzdate {
namespace {

unsigned colorRef(const QColor &c)
{
    return unsigned(c.red()) | (unsigned(c.green()) << 8) | (unsigned(c.blue()) << 16);
}

QColor fromRef(unsigned c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// One pair of edge lines: top and left in tl, bottom and right in br.
void drawEdge(QPainter &p, const QRect &r, const QColor &tl, const QColor &br)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), tl);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), tl);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), br);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), br);
}

void fillWithOp(QPainter &p, const QRect &r, const QColor &c, QPainter::CompositionMode op)
{
    if (r.isEmpty())
        return;
    p.save();
    p.setCompositionMode(op);
    p.fillRect(r, c);
    p.restore();
}

void invert(QPainter &p, const QRect &r)
{
    fillWithOp(p, r, Qt::black, QPainter::RasterOp_NotDestination);
}

// The two-pass highlight of the Normal and Formatted styles.
struct TwoPass
{
    bool blackFirst = false;
    QColor highlight;
    QColor textColor;

    void before(QPainter &p, const QRect &r) const { p.fillRect(r, blackFirst ? Qt::black : Qt::white); }
    void after(QPainter &p, const QRect &r) const
    {
        const unsigned hl = colorRef(highlight);
        const unsigned tx = colorRef(textColor);
        if (blackFirst) {
            const bool xorIt = colorsContrast(hl, ~tx & 0xFFFFFF);
            fillWithOp(p, r, highlight,
                       xorIt ? QPainter::RasterOp_SourceXorDestination : QPainter::RasterOp_SourceOrDestination);
        } else if (colorsContrast(hl, tx)) {
            fillWithOp(p, r, highlight, QPainter::RasterOp_SourceAndDestination);
        } else {
            fillWithOp(p, r, fromRef(hl | tx), QPainter::RasterOp_SourceOrNotDestination);
        }
    }
};

TwoPass twoPassFor(const PaintState &s)
{
    TwoPass t;
    t.blackFirst = colorsContrast(colorRef(s.textColor), 0);
    t.highlight = s.highlight;
    t.textColor = s.textColor;
    return t;
}

bool hasSelection(const PaintState &s)
{
    return s.focus && s.selStart != s.selEnd;
}

bool selected(const PaintState &s, int i)
{
    return hasSelection(s) && i >= std::min(s.selStart, s.selEnd) && i < std::max(s.selStart, s.selEnd);
}

// ---------------------------------------------------------------- styles

void paintNormal(QPainter &p, const PaintLayout &l, const PaintState &s)
{
    const QFontMetrics fm(s.font);
    const int n = int(s.text.size());
    QRect sel;
    if (hasSelection(s)) {
        const int a = std::clamp(std::min(s.selStart, s.selEnd), 0, n);
        const int b = std::clamp(std::max(s.selStart, s.selEnd), 0, n);
        const int x0 = l.textX + fm.horizontalAdvance(s.text.left(a));
        const int x1 = l.textX + fm.horizontalAdvance(s.text.left(b));
        sel = QRect(x0, l.textTop, x1 - x0, l.lineHeight);
    }
    const TwoPass two = twoPassFor(s);
    if (!sel.isEmpty() && !s.highlightInverted)
        two.before(p, sel);
    p.setPen(s.textColor);
    p.drawText(l.textX, l.textTop + fm.ascent(), s.text);
    if (!sel.isEmpty()) {
        if (s.highlightInverted)
            invert(p, sel);
        else
            two.after(p, sel);
    }
}

QRect cellRect(const PaintLayout &l, int cell)
{
    return QRect(cell * l.cellWidth, l.textTop, l.cellWidth, l.lineHeight);
}

// A vertical line after every cell across the whole width.
void drawCellLines(QPainter &p, const PaintLayout &l, const QColor &c)
{
    const int w = l.textArea.width();
    const int h = l.textArea.height();
    if (l.cellWidth <= 0)
        return;
    for (int x = l.cellWidth - 1; x < w; x += l.cellWidth)
        p.fillRect(QRect(x, 0, 1, h), c);
}

void drawCellChars(QPainter &p, const PaintLayout &l, const PaintState &s)
{
    const QFontMetrics fm(s.font);
    p.setPen(s.textColor);
    for (int i = 0; i < s.text.size(); ++i) {
        const QString ch(s.text[i]);
        const int x = (l.firstCell + i) * l.cellWidth + (l.cellWidth - fm.horizontalAdvance(ch)) / 2;
        p.drawText(x, l.textTop - 1 + fm.ascent(), ch);
    }
}

QRect selectedSpan(const PaintLayout &l, const PaintState &s)
{
    const int n = int(s.text.size());
    const int a = std::clamp(std::min(s.selStart, s.selEnd), 0, n);
    const int b = std::clamp(std::max(s.selStart, s.selEnd), 0, n);
    return QRect((l.firstCell + a) * l.cellWidth, l.textTop, (b - a) * l.cellWidth, l.lineHeight);
}

void paintFormatted(QPainter &p, const PaintLayout &l, const PaintState &s)
{
    const int w = l.textArea.width();
    const int h = l.textArea.height();
    drawEdge(p, QRect(0, 0, w, h), Qt::black, Qt::black);
    drawCellLines(p, l, Qt::black);
    const TwoPass two = twoPassFor(s);
    // The highlight leaves the cell's line standing.
    auto inner = [&](int i) { return cellRect(l, l.firstCell + i).adjusted(0, 0, -1, 0); };
    if (!s.highlightInverted)
        for (int i = 0; i < s.text.size(); ++i)
            if (selected(s, i))
                two.before(p, inner(i));
    drawCellChars(p, l, s);
    if (!hasSelection(s))
        return;
    if (s.highlightInverted) {
        invert(p, selectedSpan(l, s));
        return;
    }
    for (int i = 0; i < s.text.size(); ++i)
        if (selected(s, i))
            two.after(p, inner(i));
}

void paintOdometer(QPainter &p, const PaintLayout &l, const PaintState &s, int style)
{
    const int w = l.textArea.width();
    const int height = l.textArea.height();
    unsigned base = colorRef(s.back);
    if (style == StyleOdomInvert)
        base = ~base & 0xFFFFFF;
    const int comp[3] = {int(base & 0xFF), int((base >> 8) & 0xFF), int((base >> 16) & 0xFF)};

    // Bands from the edges towards the middle. Below a height of 6 there is no room for a band:
    // the area keeps one colour (no division by a step count of 0).
    const int f = height / 2 - 2;
    int h = (f & ~1) >= 20 ? 10 : 7;
    h = std::min(h, f);
    if (h >= 1 && h < 15) {
        int best = h;
        for (int count = h; count <= 14; ++count)
            if (f % count < f % best)
                best = count;
        h = best;
    }
    if (h < 1)
        h = 0;
    const int band = h > 0 ? f / h : 0;

    int inc[3] = {0, 0, 0};
    int cur[3] = {comp[0], comp[1], comp[2]};
    for (int k = 0; k < 3; ++k) {
        if (h > 0)
            inc[k] = style == StyleOdometer ? comp[k] / h : (h / 2 - comp[k] + 255) / h;
        if (style == StyleOdometer || style == StyleOdomInvert)
            inc[k] = inc[k] * 3 / 4;
        if (style == StyleOdometer)
            cur[k] = comp[k] - h * inc[k];
    }
    for (int i = 0; i <= h; ++i) {
        const QRect r(0, i * band, w, height - 2 * i * band);
        if (r.height() <= 0)
            break;
        p.fillRect(r, QColor(std::clamp(cur[0], 0, 255), std::clamp(cur[1], 0, 255), std::clamp(cur[2], 0, 255)));
        for (int k = 0; k < 3; ++k)
            cur[k] = std::min(cur[k] + inc[k], 255);
    }
    if (style == StyleOdomInvert)
        invert(p, QRect(0, 0, w, height));

    drawCellLines(p, l, Qt::black);
    if (hasSelection(s) && !s.highlightInverted)
        for (int i = 0; i < s.text.size(); ++i)
            if (selected(s, i))
                p.fillRect(cellRect(l, l.firstCell + i).adjusted(0, 0, -1, 0), s.highlight);
    drawCellChars(p, l, s);
    if (hasSelection(s) && s.highlightInverted)
        invert(p, selectedSpan(l, s));
}

// ---------------------------------------------------------------- LED glyphs

enum Segment : unsigned {
    SegA = 1u << 0,
    SegB = 1u << 1,
    SegC = 1u << 2,
    SegD = 1u << 3,
    SegE = 1u << 4,
    SegF = 1u << 5,
    SegG = 1u << 6,
    SegCentreUp = 1u << 7,
    SegCentreDown = 1u << 8,
    SegALong = 1u << 9,   // a begun at the left bar (2)
    SegTallFB = 1u << 10, // f and b reaching up to the top (4)
    SegDot = 1u << 11,
    SegColon = 1u << 12,
    SegComma = 1u << 13,
    SegSlash = 1u << 14,
    SegBackslash = 1u << 15,
    SegLess = 1u << 16,
    SegGreater = 1u << 17,
    SegDollar = 1u << 18,
    SegPlus = 1u << 19,
};

unsigned glyphOf(QChar ch)
{
    const char16_t c = ch.unicode();
    switch (c) {
    case u'0':
    case u'O':
    case u'D': return SegA | SegB | SegC | SegD | SegE | SegF;
    case u'1':
    case u'I':
    case u'i':
    case u'l': return SegCentreUp | SegCentreDown;
    case u'2':
    case u'Z':
    case u'z': return SegALong | SegB | SegG | SegE | SegD;
    case u'3': return SegA | SegB | SegG | SegC | SegD;
    case u'4': return SegTallFB | SegG | SegC;
    case u'5':
    case u'S':
    case u's': return SegA | SegF | SegG | SegC | SegD;
    case u'6':
    case u'G': return SegA | SegF | SegE | SegG | SegC | SegD;
    case u'7': return SegA | SegB | SegC;
    case u'8':
    case u'B': return SegA | SegB | SegC | SegD | SegE | SegF | SegG;
    case u'9':
    case u'g':
    case u'q':
    case u'Q': return SegA | SegB | SegC | SegD | SegF | SegG;
    case u'A':
    case u'a': return SegA | SegB | SegC | SegE | SegF | SegG;
    case u'b': return SegC | SegD | SegE | SegF | SegG;
    case u'C':
    case u'(':
    case u'[': return SegA | SegD | SegE | SegF;
    case u'c': return SegD | SegE | SegG;
    case u'd': return SegB | SegC | SegD | SegE | SegG;
    case u'E':
    case u'e': return SegA | SegD | SegE | SegF | SegG;
    case u'F':
    case u'f': return SegA | SegE | SegF | SegG;
    case u'H':
    case u'K':
    case u'k':
    case u'X':
    case u'x': return SegB | SegC | SegE | SegF | SegG;
    case u'h': return SegC | SegE | SegF | SegG;
    case u'J':
    case u'j': return SegB | SegC | SegD | SegE;
    case u'L': return SegD | SegE | SegF;
    case u'M':
    case u'm':
    case u'W':
    case u'w': return SegA | SegB | SegC | SegE | SegF | SegCentreUp | SegCentreDown;
    case u'N':
    case u'n': return SegC | SegE | SegG;
    case u'o': return SegC | SegD | SegE | SegG;
    case u'P':
    case u'p': return SegA | SegB | SegE | SegF | SegG;
    case u'R':
    case u'r': return SegE | SegG;
    case u'T':
    case u't': return SegD | SegE | SegF | SegG;
    case u'U':
    case u'V': return SegB | SegC | SegD | SegE | SegF;
    case u'u':
    case u'v': return SegC | SegD | SegE;
    case u'Y':
    case u'y': return SegB | SegC | SegD | SegF | SegG;
    case u'$': return SegA | SegF | SegG | SegC | SegD | SegDollar;
    case u')':
    case u']': return SegA | SegB | SegC | SegD;
    case u'+': return SegG | SegPlus;
    case u',': return SegComma;
    case u'-': return SegG;
    case u'.': return SegDot;
    case u'/': return SegSlash;
    case u':': return SegColon;
    case u';': return SegColon | SegComma;
    case u'<': return SegLess;
    case u'=': return SegG | SegD;
    case u'>': return SegGreater;
    case u'\\': return SegBackslash;
    case u'_': return SegD;
    default: return 0;
    }
}

QPolygon hbar(int x, int y, int len, int th, int r)
{
    th = std::max(th, 1);
    len = std::max(len, 1);
    r = std::clamp(r, 0, len / 2);
    const int mid = y + th / 2;
    return QPolygon({QPoint(x, mid), QPoint(x + r, y), QPoint(x + len - r, y), QPoint(x + len, mid),
                     QPoint(x + len - r, y + th), QPoint(x + r, y + th)});
}

QPolygon vbar(int x, int y, int len, int wd, int r)
{
    wd = std::max(wd, 1);
    len = std::max(len, 1);
    r = std::clamp(r, 0, len / 2);
    const int mid = x + wd / 2;
    return QPolygon({QPoint(mid, y), QPoint(x + wd, y + r), QPoint(x + wd, y + len - r), QPoint(mid, y + len),
                     QPoint(x, y + len - r), QPoint(x, y + r)});
}

QPolygon slant(int x0, int y0, int x1, int y1, int th)
{
    th = std::max(th, 1);
    return QPolygon({QPoint(x0, y0), QPoint(x0 + th, y0), QPoint(x1 + th, y1), QPoint(x1, y1)});
}

void drawGlyph(QPainter &p, int x0, const LedMetrics &m, unsigned g)
{
    if (!g)
        return;
    const int S = m.S, q = m.q, R = m.R, P = m.P;
    const int T = std::max(S - 1, 1);
    const int W = 2 * q + 4 * S + 1; // the right bars' outer edge
    const int hx = S + R;            // horizontal bars
    const int hl = W - 2 * R - S;
    const int V = 2 * S + 2 * q - 2 * R - 1; // vertical bars
    const int yMid = 2 * q + P + S;
    const int yLow = 2 * q + P + S + R;
    const int yBottom = 3 * S + 4 * q + P - 1; // bottom bar, drawn upwards
    const int cx = q + 2 * S + 1;              // centre column
    auto poly = [&](const QPolygon &pg) { p.drawPolygon(pg.translated(x0, 0), Qt::WindingFill); };

    if (g & SegA)
        poly(hbar(hx, P, hl, T, R));
    if (g & SegALong)
        poly(hbar(S, P, hl + R, T, R));
    if (g & SegG)
        poly(hbar(hx, yMid, hl, T, R));
    if (g & SegD)
        poly(hbar(hx, yBottom - T, hl, T, R));
    if (g & SegF)
        poly(vbar(S, P + R, V, T, R));
    if (g & SegB)
        poly(vbar(W - T, P + R, V, T, R));
    if (g & SegTallFB) {
        poly(vbar(S, P, V + R, T, R));
        poly(vbar(W - T, P, V + R, T, R));
    }
    if (g & SegE)
        poly(vbar(S, yLow, V, T, R));
    if (g & SegC)
        poly(vbar(W - T, yLow, V, T, R));
    if (g & SegCentreUp)
        poly(vbar(cx, P + R, V, T, R));
    if (g & SegCentreDown)
        poly(vbar(cx, yLow, V, T, R));
    if (g & SegPlus)
        poly(vbar(cx, yMid - V / 2, V + T, T, R));
    if (g & SegDollar) {
        poly(vbar(cx, std::max(P - q - 1, 0), q + 1, T, 0));
        poly(vbar(cx, yBottom, q + 1, T, 0));
    }
    if (g & SegDot)
        p.fillRect(QRect(x0 + cx, yBottom - T, T, T), p.brush());
    if (g & SegColon) {
        p.fillRect(QRect(x0 + cx, P + S + q - T / 2, T, T), p.brush());
        p.fillRect(QRect(x0 + cx, yLow + V / 2, T, T), p.brush());
    }
    if (g & SegComma)
        poly(slant(cx, yBottom - T, cx - T, yBottom + q, T));
    if (g & SegSlash)
        poly(slant(S, yBottom, W - T, P, T));
    if (g & SegBackslash)
        poly(slant(S, P, W - T, yBottom, T));
    if (g & SegLess) {
        poly(slant(W - T, P + R, S, yMid, T));
        poly(slant(S, yMid, W - T, yBottom - R, T));
    }
    if (g & SegGreater) {
        poly(slant(S, P + R, W - T, yMid, T));
        poly(slant(W - T, yMid, S, yBottom - R, T));
    }
}

void paintLed(QPainter &p, const PaintLayout &l, const PaintState &s)
{
    const int w = l.textArea.width();
    p.setPen(QPen(s.textColor, 1));
    p.setBrush(s.textColor);
    for (int i = 0; i < s.text.size(); ++i) {
        const int x0 = (l.firstCell + i) * l.cellWidth;
        if (x0 + l.cellWidth > w)
            break;
        const QRect cell = cellRect(l, l.firstCell + i);
        const bool sel = selected(s, i);
        if (sel && !s.highlightInverted)
            p.fillRect(cell, s.highlight);
        drawGlyph(p, x0, l.led, glyphOf(s.text[i]));
        if (sel && s.highlightInverted)
            invert(p, cell);
    }
    p.setBrush(Qt::NoBrush);
}

// The text area in its own coordinates: back colour, then the style.
void paintTextArea(QPainter &p, const PaintLayout &l, const PaintState &s)
{
    p.fillRect(QRect(QPoint(0, 0), l.textArea.size()), s.back);
    p.setFont(s.font);
    switch (styleOf(s.displayFormat)) {
    case StyleFormatted: paintFormatted(p, l, s); break;
    case StyleOdometer:
    case StyleOdomLight:
    case StyleOdomInvert: paintOdometer(p, l, s, styleOf(s.displayFormat)); break;
    case StyleLed:
    case StyleLedBold: paintLed(p, l, s); break;
    default: paintNormal(p, l, s); break;
    }
}

void drawButton(QPainter &p, const QRect &b, const PaintState &s)
{
    if (b.isEmpty())
        return;
    const FrameColors &c = s.frame;
    QRect r = b;
    if (s.buttonPressed) {
        drawEdge(p, r, c.buttonShadow, c.buttonHighlight);
        r.adjust(1, 1, -1, -1);
        drawEdge(p, r, c.windowFrame, c.buttonFace);
    } else {
        drawEdge(p, r, c.buttonHighlight, c.windowFrame);
        r.adjust(1, 1, -1, -1);
        drawEdge(p, r, c.buttonFace, c.buttonShadow);
    }
    r.adjust(1, 1, -1, -1);
    if (r.isEmpty())
        return;
    p.fillRect(r, c.buttonFace);
    // A down-pointing triangle of half the face width, drawn twice for a bevelled look.
    const int tw = r.width() / 2;
    if (tw < 1)
        return;
    const int th = (tw + 1) / 2;
    int x = r.left() + (r.width() - tw) / 2;
    int y = r.top() + (r.height() - th) / 2;
    if (s.buttonPressed) {
        ++x;
        ++y;
    }
    auto triangle = [&](int tx, int ty, const QColor &col) {
        for (int row = 0; row < th; ++row) {
            const int len = tw - 2 * row;
            if (len <= 0)
                break;
            p.fillRect(QRect(tx + row, ty + row, len, 1), col);
        }
    };
    triangle(x, y, s.buttonPressed ? c.buttonText : c.buttonHighlight);
    triangle(x, y - 1, s.buttonPressed ? c.buttonHighlight : c.buttonText);
}

} // namespace

bool colorsContrast(unsigned a, unsigned b)
{
    const unsigned x = a ^ b;
    const unsigned sum = (((a >> 22) & 3u) ^ ((b >> 22) & 3u)) + ((x >> 12) & 0xFu) + ((x & 0xFFu) >> 5);
    return sum > 10;
}

int styleOf(int displayFormat)
{
    return displayFormat >= 0 && displayFormat <= 6 ? displayFormat : StyleNormal;
}

CellMetrics measureCells(const QFont &font, int displayFormat)
{
    const QFontMetrics fm(font);
    CellMetrics m;
    const int style = styleOf(displayFormat);
    if (style == StyleNormal) {
        const QString probe = QStringLiteral("@WAX12345itljxxs");
        m.cellWidth = fm.horizontalAdvance(probe) / 16;
        if (m.cellWidth < 7)
            m.cellWidth += 1;
        m.lineHeight = fm.height();
        return m;
    }
    m.lineHeight = fm.height();
    m.cellWidth = fm.maxWidth() + 1;
    if (style == StyleFormatted && m.cellWidth < m.lineHeight)
        m.cellWidth = m.lineHeight;
    if (style >= StyleOdometer && fm.maxWidth() == fm.averageCharWidth())
        m.cellWidth += 1;
    return m;
}

LedMetrics ledMetrics(int H, bool bold, bool numeric)
{
    LedMetrics m;
    int a = bold ? 9 : 16;
    int q = 1;
    if ((H - 1) / a * 4 + 14 < H) {
        int count = 0;
        for (int n = 1; 7 * n + 14 + ((H - n - 1) / a) * 4 < H; ++n)
            ++count;
        q = 2 + count;
    }
    if (numeric) {
        q = q * 4 / 3;
        a = a * 7 / 8;
    }
    int S = (H - q) / a;
    if (S >= q)
        S = a > 12 ? q - 1 : q;
    S = std::max(S, 1);
    const int R = (S / 4 + 3) / 2;
    const int t = numeric ? -S : q;
    m.a = a;
    m.q = q;
    m.S = S;
    m.R = R;
    m.P = std::max((H - 4 * S - 4 * q - t) / 2, 1);
    m.cellWidth = std::max(S / 2 + 3 * R + 2 * q + 4 * S + 1 - S, 1);
    m.lineHeight = numeric ? H * 15 / 16 : H * 3 / 4;
    return m;
}

QRect buttonRect(const QRect &bounds, bool hasButton)
{
    if (!hasButton || bounds.isEmpty())
        return {};
    const int h = bounds.height();
    int bw = h > 15 ? h / 2 + 3 : 11;
    bw = std::min({bw, 35, bounds.width()});
    return QRect(bounds.right() - bw + 1, bounds.top(), bw, h);
}

PaintLayout layoutFor(const QRect &bounds, const PaintState &s)
{
    PaintLayout l;
    l.bounds = bounds;
    if (bounds.isEmpty())
        return l;
    QRect r = bounds;
    l.button = buttonRect(bounds, s.hasButton);
    if (!l.button.isEmpty())
        r.setRight(l.button.left() - 1);
    const int inset = s.border == 1 ? 1 : s.border == 2 ? 2 : 0;
    r.adjust(inset, inset, -inset, -inset);
    l.textArea = r.isValid() ? r : QRect(r.topLeft(), QSize(0, 0));
    const int w = l.textArea.width();
    const int h = l.textArea.height();

    const int style = styleOf(s.displayFormat);
    l.cellStyle = style != StyleNormal;
    if (style == StyleLed || style == StyleLedBold) {
        l.led = ledMetrics(h, style == StyleLedBold, !s.longFormat);
        l.cellWidth = l.led.cellWidth;
        l.lineHeight = l.led.lineHeight;
    } else {
        l.cellWidth = std::max(s.cells.cellWidth, 1);
        l.lineHeight = s.cells.lineHeight;
    }
    l.textTop = (h - l.lineHeight) / 2 + (style == StyleFormatted ? 1 : 0);

    // With the focus in a numeric format the text stands at the left, whatever the alignment.
    const bool aligned = !s.focus || s.longFormat;
    if (!l.cellStyle) {
        const int tw = QFontMetrics(s.font).horizontalAdvance(s.text);
        l.textX = 2;
        if (aligned && s.alignment == 1)
            l.textX = (w - tw) / 2;
        else if (aligned && s.alignment == 2)
            l.textX = w - tw - 3;
    } else {
        const int cells = w / l.cellWidth;
        const int chars = int(s.text.size());
        if (aligned && s.alignment == 1)
            l.firstCell = (cells - chars) / 2;
        else if (aligned && s.alignment == 2)
            l.firstCell = cells - chars;
    }
    return l;
}

QSize naturalSize(const PaintState &s, const QStringList &texts)
{
    const QFontMetrics fm(s.font);
    const int inset = s.border == 1 ? 1 : s.border == 2 ? 2 : 0;
    const int style = styleOf(s.displayFormat);
    const int height = std::max(s.cells.lineHeight, fm.height()) + 2 * inset + 4;
    int textWidth = 0;
    for (const QString &t : texts) {
        if (style == StyleNormal) {
            // 2 pixels before the text, 3 after it (the right-aligned place).
            textWidth = std::max(textWidth, fm.horizontalAdvance(t) + 5);
        } else {
            const int cell = style >= StyleLed
                                 ? ledMetrics(height - 2 * inset, style == StyleLedBold, !s.longFormat).cellWidth
                                 : std::max(s.cells.cellWidth, 1);
            textWidth = std::max(textWidth, int(t.size()) * cell + 1);
        }
    }
    const int button = buttonRect(QRect(0, 0, textWidth + 2 * inset + 40, height), s.hasButton).width();
    return {textWidth + 2 * inset + button, height};
}

QRect caretRect(const PaintLayout &l, const PaintState &s)
{
    if (!l.drawable())
        return {};
    const int n = int(s.text.size());
    const int caret = std::clamp(s.caret, 0, n);
    const int x = l.cellStyle ? (l.firstCell + caret) * l.cellWidth
                              : l.textX + QFontMetrics(s.font).horizontalAdvance(s.text.left(caret));
    int w = 0, h = 0, y = l.textTop;
    if (s.insertMode) {
        w = l.cellWidth / 16 + 1;
        h = l.lineHeight * 15 / 16;
    } else {
        w = l.cellWidth * 7 / 8;
        h = l.lineHeight / 32 + 2;
        y = l.textTop + l.lineHeight * 15 / 16;
        y = std::min(y, l.textArea.height() - h);
    }
    y = std::max(y, 0);
    w = std::max(w, 1);
    h = std::clamp(h, 1, l.textArea.height() - y);
    if (x < 0 || x >= l.textArea.width())
        return {};
    return QRect(l.textArea.left() + x, l.textArea.top() + y, w, h);
}

int caretIndexAt(const PaintLayout &l, const PaintState &s, int x)
{
    const int n = int(s.text.size());
    const int xr = x - l.textArea.left();
    if (l.cellStyle) {
        if (l.cellWidth <= 0 || xr < 0)
            return 0;
        return std::clamp(xr / l.cellWidth - l.firstCell, 0, n);
    }
    const QFontMetrics fm(s.font);
    for (int i = 1; i <= n; ++i)
        if (l.textX + fm.horizontalAdvance(s.text.left(i)) > xr)
            return i - 1;
    return n;
}

PaintLayout paintDateControl(QPainter &p, const QRect &bounds, const PaintState &s)
{
    const PaintLayout l = layoutFor(bounds, s);
    if (bounds.isEmpty())
        return l;
    drawButton(p, l.button, s);
    QRect r = bounds;
    if (!l.button.isEmpty())
        r.setRight(l.button.left() - 1);
    if (s.border == 1) {
        drawEdge(p, r, s.frame.windowFrame, s.frame.windowFrame);
    } else if (s.border == 2) {
        drawEdge(p, r, s.frame.buttonShadow, s.frame.buttonHighlight);
        drawEdge(p, r.adjusted(1, 1, -1, -1), s.frame.windowFrame, s.frame.buttonFace);
    }
    if (!l.drawable())
        return l;

    // Recorded output (a picture) is drawn directly; the screen gets the text area drawn
    // off-screen and copied in one block.
    if (p.device() && p.device()->devType() == QInternal::Picture) {
        p.save();
        p.translate(l.textArea.topLeft());
        p.setClipRect(QRect(QPoint(0, 0), l.textArea.size()));
        paintTextArea(p, l, s);
        p.restore();
        return l;
    }
    QImage image(l.textArea.size(), QImage::Format_RGB32);
    {
        QPainter ip(&image);
        paintTextArea(ip, l, s);
        if (s.caretShown && s.focus) {
            const QRect c = caretRect(l, s);
            if (!c.isEmpty())
                invert(ip, c.translated(-l.textArea.topLeft()));
        }
    }
    p.drawImage(l.textArea.topLeft(), image);
    return l;
}

} // namespace lzdate
