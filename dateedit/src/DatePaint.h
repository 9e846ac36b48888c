#pragma once
// Drawing of the date control: drop-down button, border, the seven display styles with the
// selection highlight, the caret, and the hit-testing that maps a pointer position to a
// character index. Pure functions of a PaintState, so that the control and the tests draw alike.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

namespace lzdate {

enum DisplayStyle : int {
    StyleNormal = 0,
    StyleFormatted = 1,
    StyleOdometer = 2,
    StyleOdomLight = 3,
    StyleOdomInvert = 4,
    StyleLed = 5,
    StyleLedBold = 6
};

// The cell width and line height of a font in a display style (0 for a cell width that is still
// to be measured).
struct CellMetrics
{
    int cellWidth = 0;
    int lineHeight = 0;
};
CellMetrics measureCells(const QFont &font, int displayFormat);

// Seven-segment metrics of the LED styles for a drawn height.
struct LedMetrics
{
    int a = 0; // divisor of the height
    int q = 0; // gap
    int S = 0; // bar thickness
    int R = 0; // bevel
    int P = 0; // top margin
    int cellWidth = 0;
    int lineHeight = 0;
};
LedMetrics ledMetrics(int height, bool bold, bool numeric);

// The system colours the frame and the button are drawn in.
struct FrameColors
{
    QColor windowFrame{0, 0, 0};
    QColor buttonFace{192, 192, 192};
    QColor buttonShadow{128, 128, 128};
    QColor buttonHighlight{255, 255, 255};
    QColor buttonText{0, 0, 0};
};

struct PaintState
{
    QString text;
    QFont font;
    int alignment = 0;      // 0 left, 1 centre, 2 right
    int displayFormat = 0;  // any value above 6 draws as Normal
    int border = 2;         // 0 none, 1 flat, 2 3D
    bool hasButton = false; // a calendar is configured
    bool buttonPressed = false;
    bool longFormat = false; // display codes 12-19 (month names)
    bool focus = false;
    bool caretShown = false; // the caret exists and the control has the focus
    bool insertMode = true;  // EditMode 1; 0 draws the underline caret
    int selStart = 0;
    int selEnd = 0;
    int caret = 0;
    QColor back{255, 255, 255};
    QColor textColor{0, 0, 0}; // ForeColor, or DisabledColor for a disabled control
    QColor highlight{0, 0, 128};
    bool highlightInverted = false;
    FrameColors frame;
    CellMetrics cells; // measured for the font and style
};

// Where things are: everything the paint, the caret and the mouse need of one size.
struct PaintLayout
{
    QRect bounds;
    QRect button;    // empty without a calendar
    QRect textArea;  // inside button and border; may be empty
    int textTop = 0; // inside the text area
    int cellWidth = 0;
    int lineHeight = 0;
    bool cellStyle = false; // one character per cell (styles 1-6)
    int textX = 0;          // Normal: x of the first character in the text area
    int firstCell = 0;      // cell styles: cells before the first character
    LedMetrics led;         // LED styles only
    bool drawable() const { return textArea.width() >= 2 && textArea.height() >= 2; }
};

int styleOf(int displayFormat); // 0 Normal, 1 Formatted, 2-4 Odometer, 5-6 LED
QRect buttonRect(const QRect &bounds, bool hasButton);
PaintLayout layoutFor(const QRect &bounds, const PaintState &s);

// Paints the whole control into bounds. On the screen the text area is drawn off-screen and copied
// in one block (no flicker, and the raster operations of the highlight work); into a recorded
// picture it is drawn directly.
PaintLayout paintDateControl(QPainter &p, const QRect &bounds, const PaintState &s);

// The size the control needs to show each of texts whole in the state's display style, font and
// border, with the drop-down button when the state has one.
QSize naturalSize(const PaintState &s, const QStringList &texts);

// The caret rectangle in control coordinates; empty when it stands beyond the right edge or the
// text area cannot be drawn.
QRect caretRect(const PaintLayout &l, const PaintState &s);

// The caret index for a pointer x (control coordinates): one before the character under it.
int caretIndexAt(const PaintLayout &l, const PaintState &s, int x);

// The colour contrast test of the highlight (a and b as 0x00BBGGRR).
bool colorsContrast(unsigned a, unsigned b);

} // namespace lzdate
