// Painting of the date control into an image: frames, fills, the drop-down button, the styles'
// backgrounds, the highlight and the caret. Glyph shapes are not checked.
#include "DatePaint.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

using namespace lzdate;

namespace {

const QColor kMagenta(255, 0, 255);

QRgb rgb(const QColor &c)
{
    return c.rgb() & 0xFFFFFF;
}

QRgb at(const QImage &img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}

int countColor(const QImage &img, const QRect &r, const QColor &c)
{
    int n = 0;
    const QRect area = r.intersected(img.rect());
    const QRgb want = rgb(c);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if ((line[x] & 0xFFFFFF) == want)
                ++n;
    }
    return n;
}

class Paint : public ::testing::Test
{
protected:
    PaintState s;

    void SetUp() override
    {
        s.font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        s.font.setPixelSize(12);
        s.font.setStyleStrategy(QFont::NoAntialias);
        s.back = QColor(255, 255, 255);
        s.textColor = QColor(0, 0, 0);
        s.highlight = QColor(0, 0, 128);
        s.frame.windowFrame = QColor(10, 10, 10);
        s.frame.buttonFace = QColor(200, 200, 200);
        s.frame.buttonShadow = QColor(100, 100, 100);
        s.frame.buttonHighlight = QColor(250, 250, 250);
        s.frame.buttonText = QColor(0, 0, 60);
        s.border = 0;
        measure();
    }
    void measure() { s.cells = measureCells(s.font, s.displayFormat); }

    QImage render(int w, int h) const
    {
        QImage img(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
        img.fill(kMagenta);
        QPainter p(&img);
        paintDateControl(p, QRect(0, 0, w, h), s);
        return img;
    }
};

// ------------------------------------------------------------------ frame and button

TEST_F(Paint, BorderStyles)
{
    const struct
    {
        int border;
        int x, y;
        int which; // 0 back, 1 frame, 2 shadow, 3 highlight, 4 face
    } cases[] = {
        {0, 0, 0, 0},  {0, 59, 19, 0}, {1, 0, 0, 1},  {1, 59, 19, 1}, {1, 0, 19, 1},  {1, 1, 1, 0}, {2, 0, 0, 2},
        {2, 0, 10, 2}, {2, 59, 19, 3}, {2, 59, 0, 3}, {2, 1, 1, 1},   {2, 58, 18, 4}, {2, 2, 2, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "border " << c.border << " at " << c.x << "," << c.y);
        s.border = c.border;
        const QImage img = render(60, 20);
        const QColor expected[] = {s.back, s.frame.windowFrame, s.frame.buttonShadow, s.frame.buttonHighlight,
                                   s.frame.buttonFace};
        EXPECT_EQ(at(img, c.x, c.y), rgb(expected[c.which]));
    }
}

TEST_F(Paint, ButtonWidthFollowsTheHeight)
{
    const struct
    {
        int height;
        int width;
    } cases[] = {{1, 11}, {10, 11}, {15, 11}, {16, 11}, {20, 13}, {40, 23}, {64, 35}, {200, 35}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.height);
        EXPECT_EQ(buttonRect(QRect(0, 0, 100, c.height), true).width(), c.width);
        EXPECT_EQ(buttonRect(QRect(0, 0, 100, c.height), false), QRect());
    }
    EXPECT_EQ(buttonRect(QRect(0, 0, 5, 20), true).width(), 5) << "never wider than the control";
}

TEST_F(Paint, DropDownButtonRaisedAndPressed)
{
    s.hasButton = true;
    s.border = 2;
    const int w = 80, h = 20; // button 13 wide at x 67..79
    QImage img = render(w, h);
    const QRect b(67, 0, 13, 20);
    EXPECT_EQ(at(img, b.left(), b.top()), rgb(s.frame.buttonHighlight));
    EXPECT_EQ(at(img, b.right(), b.bottom()), rgb(s.frame.windowFrame));
    EXPECT_EQ(at(img, b.left() + 1, b.top() + 1), rgb(s.frame.buttonFace));
    EXPECT_EQ(at(img, b.right() - 1, b.bottom() - 1), rgb(s.frame.buttonShadow));
    EXPECT_EQ(at(img, b.left() + 2, b.top() + 2), rgb(s.frame.buttonFace));
    EXPECT_GT(countColor(img, b.adjusted(2, 2, -2, -2), s.frame.buttonText), 0) << "the arrow";
    EXPECT_EQ(at(img, 66, 19), rgb(s.frame.buttonHighlight)) << "the border ends before the button";
    EXPECT_EQ(at(img, 0, 0), rgb(s.frame.buttonShadow));

    s.buttonPressed = true;
    img = render(w, h);
    EXPECT_EQ(at(img, b.left(), b.top()), rgb(s.frame.buttonShadow));
    EXPECT_EQ(at(img, b.right(), b.bottom()), rgb(s.frame.buttonHighlight));
    EXPECT_EQ(at(img, b.left() + 1, b.top() + 1), rgb(s.frame.windowFrame));
    EXPECT_GT(countColor(img, b.adjusted(2, 2, -2, -2), s.frame.buttonHighlight), 0) << "the pressed arrow";
}

TEST_F(Paint, AControlOnePixelHighPaintsOnlyButtonAndBorder)
{
    s.hasButton = true;
    s.border = 1;
    s.text = QStringLiteral("24.12.2026");
    const QImage img = render(60, 1);
    for (int x = 0; x < 60; ++x)
        EXPECT_NE(at(img, x, 0), rgb(s.back)) << x;
}

// ------------------------------------------------------------------ styles

TEST_F(Paint, NormalFillsWithTheBackColour)
{
    s.back = QColor(255, 255, 200);
    const QImage img = render(50, 20);
    EXPECT_EQ(countColor(img, img.rect(), s.back), 50 * 20);
}

TEST_F(Paint, FormattedDrawsAFrameAndALineAfterEveryCell)
{
    s.displayFormat = StyleFormatted;
    measure();
    const int cw = s.cells.cellWidth;
    ASSERT_GT(cw, 2);
    const QImage img = render(cw * 5 + 3, 24);
    EXPECT_EQ(at(img, 0, 0), rgb(Qt::black));
    EXPECT_EQ(at(img, img.width() - 1, 23), rgb(Qt::black));
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(at(img, k * cw - 1, 12), rgb(Qt::black)) << "line after cell " << k;
    EXPECT_EQ(at(img, cw / 2, 2), rgb(s.back));
}

TEST_F(Paint, OdometerBandsDarkenTowardsTheEdges)
{
    s.displayFormat = StyleOdometer;
    s.back = QColor(0, 255, 255); // cyan
    measure();
    const QImage img = render(40, 40);
    const QColor top = QColor::fromRgb(img.pixel(20, 0));
    const QColor middle = QColor::fromRgb(img.pixel(20, 20));
    EXPECT_LT(top.green(), middle.green());
    EXPECT_LT(top.blue(), middle.blue());
    EXPECT_LE(middle.green(), 255);
}

TEST_F(Paint, OdometerLightBrightensTowardsTheMiddle)
{
    s.displayFormat = StyleOdomLight;
    s.back = QColor(128, 128, 128);
    measure();
    const QImage img = render(40, 40);
    EXPECT_EQ(at(img, 20, 0), rgb(s.back));
    EXPECT_GT(QColor::fromRgb(img.pixel(20, 20)).red(), 200);
}

TEST_F(Paint, OdometerInvertPaintsAnInvertedBandPattern)
{
    s.displayFormat = StyleOdomInvert;
    s.back = QColor(0, 255, 255); // cyan
    measure();
    const QImage img = render(40, 40);
    // The bands are made from the inverted colour (red) and then inverted: cyan at the edge,
    // darker towards the middle.
    EXPECT_EQ(at(img, 20, 0), rgb(s.back));
    const QColor middle = QColor::fromRgb(img.pixel(20, 20));
    EXPECT_LT(middle.green(), 255);
    EXPECT_EQ(middle.red(), 0);
}

TEST_F(Paint, OdometerAtEveryLowHeight)
{
    for (int style : {StyleOdometer, StyleOdomLight, StyleOdomInvert}) {
        for (int h = 0; h <= 12; ++h) {
            SCOPED_TRACE(testing::Message() << "style " << style << " height " << h);
            s.displayFormat = style;
            s.back = QColor(0, 200, 200);
            s.text = QStringLiteral("24.12.2026");
            measure();
            const QImage img = render(40, h);
            if (h >= 2 && h <= 5) {
                // no room for a band: one colour
                const QRgb c = at(img, 39, 0);
                for (int y = 0; y < h; ++y)
                    EXPECT_EQ(at(img, 39, y), c);
            }
        }
    }
}

TEST_F(Paint, LedDrawsInTheTextColourOnItsBack)
{
    for (int style : {StyleLed, StyleLedBold}) {
        SCOPED_TRACE(style);
        s.displayFormat = style;
        s.back = QColor(0, 0, 0);
        s.textColor = QColor(0, 255, 255);
        s.text = QStringLiteral("24.12.2026");
        measure();
        const QImage img = render(300, 40);
        EXPECT_GT(countColor(img, img.rect(), s.textColor), 50);
        EXPECT_GT(countColor(img, img.rect(), s.back), 50);
        EXPECT_EQ(countColor(img, img.rect(), kMagenta), 0);
    }
}

TEST_F(Paint, LedMetrics)
{
    const LedMetrics m = ledMetrics(40, false, true);
    EXPECT_GE(m.S, 1);
    EXPECT_GE(m.P, 1);
    EXPECT_EQ(m.lineHeight, 40 * 15 / 16);
    EXPECT_EQ(m.cellWidth, m.S / 2 + 3 * m.R + 2 * m.q + 4 * m.S + 1 - m.S);
    for (int h = 0; h <= 2000; h += 7) {
        SCOPED_TRACE(h);
        for (bool bold : {false, true})
            for (bool numeric : {false, true}) {
                const LedMetrics l = ledMetrics(h, bold, numeric);
                EXPECT_GE(l.S, 1);
                EXPECT_GE(l.P, 1);
                EXPECT_GE(l.cellWidth, 1);
            }
    }
}

// ------------------------------------------------------------------ selection, colours, caret

TEST_F(Paint, NormalSelectionShowsTheHighlight)
{
    s.text = QStringLiteral("24.12.2026");
    s.focus = true;
    s.selStart = 0;
    s.selEnd = 10;
    const QImage img = render(120, 24);
    const PaintLayout l = layoutFor(QRect(0, 0, 120, 24), s);
    const int width = QFontMetrics(s.font).horizontalAdvance(s.text);
    const QRect sel(l.textX, l.textTop, width, l.lineHeight);
    EXPECT_GT(countColor(img, sel, s.highlight), sel.width() * sel.height() / 3);
    EXPECT_EQ(countColor(img, QRect(sel.right() + 2, 0, 10, 24), s.highlight), 0) << "nothing after the selection";

    s.highlightInverted = true; // white turns black under the selection
    const QImage inv = render(120, 24);
    EXPECT_GT(countColor(inv, sel, Qt::black), sel.width() * sel.height() / 3);
    EXPECT_EQ(countColor(inv, sel, s.highlight), 0);

    s.focus = false; // no highlight without the focus
    const QImage plain = render(120, 24);
    EXPECT_EQ(countColor(plain, sel, s.highlight), 0);
}

TEST_F(Paint, FormattedSelectionLeavesTheCellLines)
{
    s.displayFormat = StyleFormatted;
    measure();
    s.text = QStringLiteral("24");
    s.focus = true;
    s.selStart = 0;
    s.selEnd = 2;
    const int cw = s.cells.cellWidth;
    const QImage img = render(cw * 4, 30);
    EXPECT_GT(countColor(img, QRect(0, 0, cw * 2, 30), s.highlight), 0);
    EXPECT_EQ(at(img, cw - 1, 15), rgb(Qt::black));
    EXPECT_EQ(countColor(img, QRect(cw * 2, 0, cw * 2, 30), s.highlight), 0);
}

TEST_F(Paint, DisabledControlDrawsInTheDisabledColour)
{
    s.text = QStringLiteral("88.88.8888");
    s.textColor = QColor(128, 128, 128); // the control passes DisabledColor when disabled
    const QImage img = render(120, 24);
    EXPECT_GT(countColor(img, img.rect(), s.textColor), 10);
    EXPECT_EQ(countColor(img, img.rect(), QColor(0, 0, 0)), 0);
}

TEST_F(Paint, NullTextIsDrawnLikeAnyText)
{
    s.text = QString();
    EXPECT_EQ(countColor(render(120, 24), QRect(0, 0, 120, 24), s.textColor), 0);
    s.text = QStringLiteral("(leer)");
    EXPECT_GT(countColor(render(120, 24), QRect(0, 0, 120, 24), s.textColor), 5);
}

TEST_F(Paint, CaretShapesFollowTheEditMode)
{
    s.text = QStringLiteral("24.12.2026");
    s.focus = true;
    s.caretShown = true;
    s.caret = 0;
    const PaintLayout l = layoutFor(QRect(0, 0, 120, 24), s);
    const QRect bar = caretRect(l, s);
    ASSERT_FALSE(bar.isEmpty());
    EXPECT_EQ(bar.left(), 2);
    EXPECT_EQ(bar.width(), l.cellWidth / 16 + 1);
    EXPECT_EQ(bar.height(), l.lineHeight * 15 / 16);
    const QImage img = render(120, 24);
    EXPECT_EQ(at(img, bar.left(), bar.top()), rgb(Qt::black)) << "the caret inverts the white back";

    s.insertMode = false;
    const QRect underline = caretRect(l, s);
    EXPECT_EQ(underline.width(), l.cellWidth * 7 / 8);
    EXPECT_EQ(underline.height(), l.lineHeight / 32 + 2);
    EXPECT_GT(underline.top(), bar.top());
    EXPECT_LE(underline.bottom(), 23);

    s.caret = 10;
    s.insertMode = true;
    EXPECT_TRUE(caretRect(layoutFor(QRect(0, 0, 20, 24), s), s).isEmpty()) << "beyond the right edge: hidden";
}

TEST_F(Paint, AlignmentAppliesOnlyWithoutTheFocusInNumericFormats)
{
    s.text = QStringLiteral("24.12.2026");
    s.alignment = 2;
    const int tw = QFontMetrics(s.font).horizontalAdvance(s.text);
    EXPECT_EQ(layoutFor(QRect(0, 0, 200, 24), s).textX, 200 - tw - 3);
    s.focus = true;
    EXPECT_EQ(layoutFor(QRect(0, 0, 200, 24), s).textX, 2);
    s.longFormat = true;
    EXPECT_EQ(layoutFor(QRect(0, 0, 200, 24), s).textX, 200 - tw - 3);
    s.alignment = 1;
    EXPECT_EQ(layoutFor(QRect(0, 0, 200, 24), s).textX, (200 - tw) / 2);

    s.displayFormat = StyleFormatted;
    measure();
    s.longFormat = false;
    s.focus = false;
    const int cells = 200 / s.cells.cellWidth;
    EXPECT_EQ(layoutFor(QRect(0, 0, 200, 24), s).firstCell, (cells - 10) / 2);
}

TEST_F(Paint, PointerPositionsGiveCaretIndexes)
{
    s.text = QStringLiteral("24.12.2026");
    const QRect bounds(0, 0, 200, 24);
    PaintLayout l = layoutFor(bounds, s);
    EXPECT_EQ(caretIndexAt(l, s, 0), 0);
    EXPECT_EQ(caretIndexAt(l, s, 3), 0);
    EXPECT_EQ(caretIndexAt(l, s, 199), 10);
    const int x3 = l.textX + QFontMetrics(s.font).horizontalAdvance(s.text.left(3)) + 1;
    EXPECT_EQ(caretIndexAt(l, s, x3), 3);

    s.displayFormat = StyleFormatted;
    measure();
    l = layoutFor(bounds, s);
    EXPECT_EQ(caretIndexAt(l, s, l.cellWidth * 4 + 1), 4);
    EXPECT_EQ(caretIndexAt(l, s, -5), 0);
    EXPECT_EQ(caretIndexAt(l, s, 10000), 10);
}

TEST_F(Paint, RecordedPictureIsDrawnDirectly)
{
    s.text = QStringLiteral("24.12.2026");
    s.border = 2;
    s.back = QColor(255, 255, 200);
    QPicture picture;
    {
        QPainter p(&picture);
        paintDateControl(p, QRect(0, 0, 120, 24), s);
    }
    QImage img(120, 24, QImage::Format_RGB32);
    img.fill(kMagenta);
    {
        QPainter p(&img);
        picture.play(&p);
    }
    EXPECT_EQ(at(img, 0, 0), rgb(s.frame.buttonShadow));
    EXPECT_EQ(at(img, 60, 3), rgb(s.back));
    EXPECT_GT(countColor(img, QRect(2, 2, 116, 20), s.textColor), 5);
    EXPECT_EQ(countColor(img, QRect(0, 0, 120, 24), kMagenta), 0);
}

TEST(Contrast, OfTwoColours)
{
    EXPECT_FALSE(colorsContrast(0x000000, 0x000000));
    EXPECT_TRUE(colorsContrast(0xFFFFFF, 0x000000));
    EXPECT_TRUE(colorsContrast(0x00FFFF00, 0x000000)); // cyan against black
    EXPECT_FALSE(colorsContrast(0x101010, 0x000000));
}

// ------------------------------------------------------------------ every size

TEST_F(Paint, EverySizeEveryStyle)
{
    const QSize sizes[] = {{0, 0},   {1, 1},  {1, 30}, {30, 1}, {2, 2},    {3, 3},    {5, 5},     {6, 6},
                           {11, 11}, {40, 2}, {40, 4}, {40, 7}, {2000, 1}, {1, 2000}, {400, 400}, {2000, 2000}};
    s.text = QStringLiteral("Thursday, February 29, 2024 $+-./:;<=>\\_()");
    s.focus = true;
    s.caretShown = true;
    s.selStart = 2;
    s.selEnd = 9;
    s.caret = 9;
    for (int style = 0; style <= 7; ++style) {
        for (const QSize &size : sizes) {
            const int variants = size.width() * size.height() > 1000000 ? 1 : 4; // the largest once per style
            for (int variant = 0; variant < variants; ++variant) {
                SCOPED_TRACE(testing::Message() << "style " << style << " size " << size.width() << "x" << size.height()
                                                << " variant " << variant);
                s.displayFormat = style;
                s.hasButton = variant & 1;
                s.border = variant & 2 ? 2 : 1;
                s.highlightInverted = variant & 1;
                s.alignment = variant % 3;
                measure();
                const QImage img = render(size.width(), size.height());
                const PaintLayout l = layoutFor(QRect(QPoint(0, 0), size), s);
                if (l.drawable()) {
                    EXPECT_EQ(countColor(img, l.textArea, kMagenta), 0) << "the text area is painted in full";
                }
                const int index = caretIndexAt(l, s, size.width() / 2);
                EXPECT_GE(index, 0);
                EXPECT_LE(index, s.text.size());
            }
        }
    }
}

} // namespace

// The natural size shows the whole text in every style, border, font and with or without the
// drop-down button: all characters fit in the text area that a layout of that size gives.
TEST_F(Paint, NaturalSizeHoldsTheWholeText)
{
    const QStringList texts = {QStringLiteral("15.03.2026"), QStringLiteral("__.__.____"),
                               QStringLiteral("Mittwoch, 28. September 2000")};
    for (int style = StyleNormal; style <= StyleLedBold; ++style) {
        for (int border : {0, 1, 2}) {
            for (bool button : {false, true}) {
                for (int pixels : {12, 20}) {
                    for (bool bold : {false, true}) {
                        SCOPED_TRACE(testing::Message() << "style " << style << " border " << border << " button "
                                                        << button << " font " << pixels << (bold ? " bold" : ""));
                        PaintState t = s;
                        t.displayFormat = style;
                        t.border = border;
                        t.hasButton = button;
                        t.font.setPixelSize(pixels);
                        t.font.setBold(bold);
                        t.longFormat = true; // left alignment whatever the focus
                        t.cells = measureCells(t.font, style);
                        const QSize size = naturalSize(t, texts);
                        for (const QString &text : texts) {
                            t.text = text;
                            const PaintLayout l = layoutFor(QRect(QPoint(0, 0), size), t);
                            ASSERT_TRUE(l.drawable());
                            if (l.cellStyle)
                                EXPECT_GE(l.textArea.width() / l.cellWidth, text.size()) << text.toStdString();
                            else
                                EXPECT_GE(l.textArea.width(), l.textX + QFontMetrics(t.font).horizontalAdvance(text))
                                    << text.toStdString();
                            EXPECT_GE(l.textArea.height(), l.lineHeight);
                        }
                    }
                }
            }
        }
    }
}
