#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"
#include "report/format.h"
#include "report/preview.h"
#include "report/report.h"

#include "dao/dao.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

using report::Align;

// ---- display formats --------------------------------------------------------------------------

TEST(Format, NumbersDatesAndTextsTheGermanWay)
{
    const struct
    {
        QVariant value;
        const char *format;
        const char *expected;
    } cases[] = {
        {1234.5, "#.##0", "1.235"},
        {qlonglong(1234567), "#.##0", "1.234.567"},
        {0.0, "#.##0", "0"},
        {-1234.5, "#.##0", "-1.235"},
        {999.5, "#.##0", "1.000"},
        {QStringLiteral("12,50"), "#.##0,00", "12,50"},
        {QStringLiteral("1234,5"), "#.##0,00", "1.234,50"},
        {QStringLiteral("1.234,5"), "#.##0,00", "1.234,50"},
        {QStringLiteral("-3,00"), "#.##0,00", "-3,00"},
        {2.675, "0,00", "2,68"},
        {-0.125, "0,00", "-0,13"},
        {-3, "0,00", "-3,00"},
        {-0.001, "0,00", "0,00"},
        {QStringLiteral("1234,5"), "0,00", "1234,50"},
        {qlonglong(4200), "0", "4200"},
        {12.5, "0", "13"},
        {QStringLiteral("abc"), "0", "abc"},
        {QStringLiteral("12.5"), "0,00", "12.5"}, // not a figure written the German way
        {QVariant(), "0", ""},
        {45292.0, "dd.MM.yyyy", "01.01.2024"},
        {QStringLiteral("1.3.2024"), "dd.MM.yyyy", "01.03.2024"},
        {QStringLiteral("01.03.2024"), "dd.MM.yyyy", "01.03.2024"},
        {QDate(2024, 2, 29), "dd.MM.yyyy", "29.02.2024"},
        {0.0, "dd.MM.yyyy", ""},
        {QString(), "dd.MM.yyyy", ""},
        {QStringLiteral("bald"), "dd.MM.yyyy", "bald"},
        {12.5, "", "12,5"},
        {qlonglong(7), "", "7"},
        {true, "", "Wahr"},
        {QDate(2024, 7, 1), "", "01.07.2024"},
        {QDateTime(QDate(2024, 7, 1), QTime(0, 0)), "", "01.07.2024"},
        {QDateTime(QDate(2024, 7, 1), QTime(6, 5, 4)), "", "01.07.2024 06:05:04"},
        {QStringLiteral("  so  "), "", "  so  "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.format) + " / " + report::PlainText(c.value).toStdString());
        EXPECT_EQ(report::FormatValue(c.value, QString::fromLatin1(c.format)), QString::fromUtf8(c.expected));
    }
}

// ---- reports on a print table -----------------------------------------------------------------

class ReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = dao::DBEngine::Workspaces(0).CreateDatabase(dir.filePath(QStringLiteral("t.db")), QString());
        db.Execute("CREATE TABLE Liste (Nr INTEGER, Name TEXT, Menge)");
    }
    void TearDown() override
    {
        rs.Close();
        db.Close();
    }

    void zeile(qlonglong nr, const QString &name, const QVariant &menge)
    {
        db.Execute("INSERT INTO Liste (Nr, Name, Menge) VALUES (?, ?, ?)", {nr, name, menge});
    }

    // A list layout: address block and title in the page header, three columns, a total.
    std::unique_ptr<report::Report> liste()
    {
        auto r = std::make_unique<report::Report>(QStringLiteral("Testliste"));
        report::Section &kopf = r->PageHeader();
        kopf.Height = 60;
        kopf.AddLabel("lblVerein", "", QRectF(0, 0, 200, 12));
        kopf.AddLabel("lblRechts", "Rechts:", QRectF(210, 0, 100, 12));
        kopf.AddLabel("lblTitel", "Kopfzeile", QRectF(0, 20, 300, 18), Align::Left, 14, true);
        kopf.AddShape("Shape1", QRectF(0, 42, 515, 16));
        kopf.AddLabel("", "Nr:", QRectF(2, 44, 40, 12), Align::Left, 9, true);
        kopf.AddLabel("", "Name:", QRectF(50, 44, 200, 12), Align::Left, 9, true);
        kopf.AddLabel("", "Menge:", QRectF(400, 44, 113, 12), Align::Right, 9, true);
        report::Section &d = r->Detail();
        d.Height = 14;
        d.AddTextBox("Text1", "Nr", QRectF(2, 1, 40, 12)).CanGrow = true;
        d.AddTextBox("Text2", "Name", QRectF(50, 1, 200, 12)).CanGrow = true;
        d.AddTextBox("Text3", "Menge", QRectF(400, 1, 113, 12), Align::Right, "#.##0,00").CanGrow = true;
        d.AddLine(QPointF(0, 13.5), QPointF(515, 13.5), true);
        report::Section &fuss = r->PageFooter();
        fuss.Height = 16;
        fuss.AddLabel("lblSeite", "Seite %p von %P (gedruckt am %d)", QRectF(0, 3, 515, 12), Align::Right);
        report::Section &ende = r->ReportFooter();
        ende.Height = 30;
        ende.AddLabel("", "Summe:", QRectF(300, 4, 90, 12));
        ende.AddFunction("SumMenge", "Menge", QRectF(400, 4, 113, 12), Align::Right, "#.##0,00");
        ende.AddFunction("AnzNr", "Nr", QRectF(400, 16, 113, 12), Align::Right, "0", report::FunctionType::Count);
        r->setPrintDate(QDate(2024, 3, 9));
        return r;
    }

    void binde(report::Report &r)
    {
        rs = db.OpenRecordset("Liste", dao::dbOpenTable);
        r.setDataSource(&rs);
        r.Refresh();
    }

    QString pdf(const report::Report &r, const char *name = "liste.pdf")
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        r.ExportPdf(path);
        return path;
    }

    QTemporaryDir dir;
    dao::Database db;
    dao::Recordset rs;
};

// A missing pdftotext fails the test: a print-out test must not pass unread.
#define NEEDS_PDFTOTEXT() ASSERT_TRUE(pdftext::Available()) << "poppler-utils (pdftotext) not installed"

TEST_F(ReportTest, RowsHeadingsTotalsAndThePageLineStandInOrder)
{
    NEEDS_PDFTOTEXT();
    zeile(3, "Hecht", "12,50");
    zeile(1, "Zander", 1000.0);
    zeile(2, "Aal", QStringLiteral("0,25"));
    auto r = liste();
    r->PageHeader().Controls("LBLVEREIN").Caption = QStringLiteral("Angelverein Seeblick");
    binde(*r);
    ASSERT_EQ(r->rowCount(), 3);
    const QString path = pdf(*r);
    EXPECT_EQ(pdftext::PageCount(path), 1);
    const QString text = pdftext::Text(path);
    EXPECT_EQ(pdftext::NotInOrder(text, {"Angelverein Seeblick", "Kopfzeile", "Nr:", "Name:", "Menge:", "3", "Hecht",
                                         "12,50", "1", "Zander", "1.000,00", "2", "Aal", "0,25", "Summe:", "1.012,75",
                                         "3", "Seite 1 von 1 (gedruckt am 09.03.2024)"}),
              std::string())
        << text.toStdString();
}

// A label and its value far apart on one line read back as words with one space between them,
// whatever spacing pdftotext lays out; the needles are taken the same way.
TEST_F(ReportTest, TextsAreReadBackAsWordsNotBlanks)
{
    NEEDS_PDFTOTEXT();
    report::Report r(QStringLiteral("Blatt"));
    report::Section &kopf = r.PageHeader();
    kopf.Height = 40;
    kopf.AddLabel("", "Mitgl.-Nr :", QRectF(0, 0, 60, 12));
    kopf.AddLabel("", "1", QRectF(300, 0, 20, 12));
    kopf.AddLabel("", "Name", QRectF(0, 20, 40, 12));
    kopf.AddLabel("", "Meier", QRectF(200, 20, 60, 12), Align::Right);
    const QString path = pdf(r, "blatt.pdf");
    const QString text = pdftext::Text(path);
    EXPECT_TRUE(text.contains("Mitgl.-Nr : 1\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Name Meier\n")) << text.toStdString();
    EXPECT_EQ(pdftext::NotInOrder(text, {"Mitgl.-Nr :   1", "Name\tMeier"}), std::string());
    EXPECT_EQ(pdftext::Count(text, "Nr :  1"), 1);
    for (const QString &line : pdftext::Pages(path).join('\n').split('\n')) {
        SCOPED_TRACE(line.toStdString());
        EXPECT_FALSE(line.contains("  ") || line.endsWith(' ') || line.contains('\t'));
    }
}

TEST_F(ReportTest, ALongListBreaksIntoPagesEachWithItsHeadersAndPageLine)
{
    NEEDS_PDFTOTEXT();
    for (int i = 1; i <= 150; ++i)
        zeile(i, QStringLiteral("Mitglied %1").arg(i), double(i));
    auto r = liste();
    binde(*r);
    const QString path = pdf(*r);
    const QStringList pages = pdftext::Pages(path);
    const int n = pdftext::PageCount(path);
    ASSERT_GE(n, 3);
    ASSERT_EQ(pages.size(), n);
    EXPECT_EQ(r->PageCount(600), n);
    int zeilen = 0;
    for (int p = 0; p < n; ++p) {
        SCOPED_TRACE(p + 1);
        const QString &t = pages.at(p);
        EXPECT_EQ(pdftext::NotInOrder(t, {"Kopfzeile", "Nr:", "Name:", "Menge:", "Mitglied",
                                          QStringLiteral("Seite %1 von %2").arg(p + 1).arg(n)}),
                  std::string());
        EXPECT_EQ(pdftext::Count(t, "Kopfzeile"), 1);
        zeilen += pdftext::Count(t, "Mitglied ");
        // The total follows the last row only.
        EXPECT_EQ(t.contains("Summe:"), p == n - 1);
    }
    EXPECT_EQ(zeilen, 150);
    // Every row once, in order, across the pages.
    QStringList alle;
    for (int i = 1; i <= 150; ++i)
        alle << QStringLiteral("Mitglied %1 ").arg(i);
    EXPECT_EQ(pdftext::NotInOrder(pages.join('\n'), alle), std::string());
    EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(path)).isEmpty());
}

TEST_F(ReportTest, LongTextsWrapInTheirColumnOrAreCutOffNeverOverprinted)
{
    NEEDS_PDFTOTEXT();
    const QString lang = QStringLiteral("Regenbogenforelle aus dem Zuchtbetrieb am oberen Mühlbach, geliefert im "
                                        "Frühjahr nach der Schonzeit, Besatz für den Jugendtag");
    const QString wort = QString(60, QLatin1Char('X')); // one word wider than its column
    zeile(1, lang, 1.0);
    zeile(2, wort, 2.0);
    zeile(3, "Danach", 3.0);
    auto r = liste();
    r->PageHeader().Controls("lblVerein").Caption =
        QStringLiteral("Sportfischerverein Unterer Mühlbach und Umgebung von neunzehnhundertzwölf eingetragen");
    binde(*r);
    const QString path = pdf(*r);
    const QString text = pdftext::Text(path);
    const QStringList overlaps = pdftext::Overlaps(pdftext::Words(path));
    EXPECT_TRUE(overlaps.isEmpty()) << overlaps.join('\n').toStdString();
    // The wrapped text is there word by word; the long word is there in full.
    QStringList woerter = lang.split(' ');
    EXPECT_EQ(pdftext::NotInOrder(text, woerter), std::string()) << text.toStdString();
    EXPECT_EQ(text.count('X'), 60);
    EXPECT_EQ(pdftext::NotInOrder(text, {"Jugendtag", "Danach"}), std::string());
    // The club's name is cut off before the label beside it.
    EXPECT_TRUE(text.contains(QStringLiteral("Sportfischerverein"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("eingetragen")));
    EXPECT_TRUE(text.contains(QStringLiteral("Rechts:")));
}

TEST_F(ReportTest, ATextInABoxLowerThanItsFontStandsWholeAndItsBandGrowsToHoldIt)
{
    NEEDS_PDFTOTEXT();
    for (int i = 1; i <= 80; ++i)
        zeile(i, QStringLiteral("gef. [gesamt] %1").arg(i), 1234567.0 + i);
    const struct
    {
        const char *name;
        bool canGrow;
        double boxHeight;
    } cases[] = {{"fixed, box half a line", false, 5},
                 {"fixed, box one point", false, 1},
                 {"growing, box half a line", true, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto r = liste();
        report::Section &d = r->Detail();
        d.Height = 6; // lower than a line of 9 pt
        for (const char *box : {"Text1", "Text2", "Text3"}) {
            report::Control &t = d.Controls(box);
            t.Rect = QRectF(t.Rect.left(), 0, t.Rect.width(), c.boxHeight);
            t.CanGrow = c.canGrow;
        }
        // A report footer whose lines reach below it.
        report::Section &ende = r->ReportFooter();
        ende.Height = 14;
        ende.AddLabel("", "[gesamt] gef.", QRectF(0, 10, 120, 4));
        binde(*r);
        const QString path = pdf(*r);
        rs.Close();
        const QString text = pdftext::Text(path);
        QStringList rows;
        for (int i = 1; i <= 80; ++i)
            rows << QStringLiteral("gef. [gesamt] %1 ").arg(i) << QStringLiteral("1.234.%1,00").arg(567 + i);
        rows << "Summe:"
             << "[gesamt] gef.";
        EXPECT_EQ(pdftext::NotInOrder(text, rows), std::string()) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("…")));
        const QStringList overlaps = pdftext::Overlaps(pdftext::Words(path));
        EXPECT_TRUE(overlaps.isEmpty()) << overlaps.join('\n').toStdString();
        EXPECT_EQ(r->PageCount(600), pdftext::PageCount(path));
    }
}

TEST_F(ReportTest, ATextAboutAsWideAsItsBoxStandsWholeOrCutOffButNeverBeyondIt)
{
    NEEDS_PDFTOTEXT();
    const QString text = QStringLiteral("Fischgewicht [gesamt] gef.");
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    const double w = QFontMetricsF(font).horizontalAdvance(text) * 72.0 / QFontMetricsF(font).fontDpi();
    const struct
    {
        double room; // points beside the text's own width
        Align align;
        bool whole;
    } cases[] = {{-6, Align::Left, false},  {-1.5, Align::Left, false}, {1.5, Align::Left, true},
                 {6, Align::Left, true},    {-6, Align::Right, false},  {-1.5, Align::Right, false},
                 {1.5, Align::Right, true}, {6, Align::Right, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.room) + (c.align == Align::Left ? " left" : " right"));
        auto r = liste();
        const double width = w + c.room;
        report::Section &kopf = r->PageHeader();
        kopf.Controls("lblVerein").Caption = text;
        kopf.Controls("lblVerein").Alignment = c.align;
        kopf.Controls("lblVerein").Rect = QRectF(100, 0, width, 12);
        kopf.Controls("lblRechts").Rect = QRectF(100 + width + 4, 0, 100, 12); // a space apart: two words
        kopf.Controls("lblRechts").Caption = QStringLiteral("Nachbar");
        binde(*r);
        const QString path = pdf(*r);
        rs.Close();
        const QString t = pdftext::Text(path);
        EXPECT_EQ(t.contains(text), c.whole) << t.toStdString();
        EXPECT_EQ(t.contains(QStringLiteral("…")), !c.whole) << t.toStdString();
        const double left = 42 + 100; // the page's left margin and the box
        int read = 0;
        for (const pdftext::Word &word : pdftext::Words(path)) {
            if (word.page != 0 || word.box.top() > 36 + 12 || !(text + QStringLiteral("…")).contains(word.text.left(3)))
                continue;
            SCOPED_TRACE(word.text.toStdString());
            ++read;
            EXPECT_GE(word.box.left(), left - 0.5);
            EXPECT_LE(word.box.right(), left + width + 0.5);
        }
        EXPECT_GE(read, 2);
        EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(path)).isEmpty());
    }
}

TEST_F(ReportTest, ARowTallerThanAPageIsCutOffAtThePageEnd)
{
    NEEDS_PDFTOTEXT();
    QStringList w;
    for (int i = 0; i < 900; ++i)
        w << QStringLiteral("wort%1").arg(i);
    zeile(1, "Davor", 1.0);
    zeile(2, w.join(' '), 2.0);
    zeile(3, "Danach", 3.0);
    auto r = liste();
    binde(*r);
    const QString path = pdf(*r);
    const QStringList pages = pdftext::Pages(path);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("Davor"));
    EXPECT_TRUE(pages[1].contains("wort0 "));
    EXPECT_FALSE(pages[1].contains("wort899"));
    EXPECT_TRUE(pages[1].contains("Seite 2 von 3"));
    EXPECT_TRUE(pages[2].contains("Danach"));
    EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(path)).isEmpty());
}

TEST_F(ReportTest, APrinterWithOtherPaperGetsThePagesLaidOutOnThatPaper)
{
    NEEDS_PDFTOTEXT();
    for (int i = 1; i <= 150; ++i)
        zeile(i, QStringLiteral("Mitglied %1").arg(i), double(i));
    auto r = liste();
    binde(*r);
    const QString path = dir.filePath("letter.pdf");
    {
        // A paged device as a printer with US letter paper, shorter than A4.
        QPdfWriter letter(path);
        letter.setResolution(600);
        letter.setPageSize(QPageSize(QPageSize::Letter));
        letter.setPageMargins(QMarginsF(0, 0, 0, 0));
        r->PrintTo(letter);
    }
    const QStringList pages = pdftext::Pages(path);
    const int n = int(pages.size());
    ASSERT_GE(n, r->PageCount(600));
    for (int p = 0; p < n; ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_TRUE(pages.at(p).contains(QStringLiteral("Seite %1 von %2").arg(p + 1).arg(n)));
    }
    EXPECT_EQ(pdftext::Count(pages.join('\n'), "Mitglied "), 150);
}

TEST_F(ReportTest, AReportWithoutRowsPrintsItsHeadersAndFooterOnOnePage)
{
    NEEDS_PDFTOTEXT();
    auto r = liste();
    binde(*r);
    EXPECT_EQ(r->rowCount(), 0);
    const QString path = pdf(*r);
    EXPECT_EQ(pdftext::PageCount(path), 1);
    EXPECT_EQ(pdftext::NotInOrder(pdftext::Text(path), {"Kopfzeile", "Summe:", "0,00", "0", "Seite 1 von 1"}),
              std::string());
}

// A report footer that no longer fits below the last row stands on a page of its own, with the
// page's headers and line and no row; the rows before it keep their pages.
TEST_F(ReportTest, AReportFooterThatDoesNotFitStandsAloneOnTheLastPage)
{
    NEEDS_PDFTOTEXT();
    auto r = liste();
    // The fewest rows that push the footer over: one page more than the rows alone take.
    int n = 0;
    int mitFuss = 0, ohneFuss = 0;
    while (n < 200 && mitFuss == ohneFuss) {
        ++n;
        zeile(n, QStringLiteral("Mitglied %1").arg(n), double(n));
        binde(*r);
        r->ReportFooter().Visible = false;
        ohneFuss = r->PageCount(600);
        r->ReportFooter().Visible = true;
        mitFuss = r->PageCount(600);
    }
    ASSERT_EQ(mitFuss, ohneFuss + 1);
    const QString path = pdf(*r);
    const QStringList pages = pdftext::Pages(path);
    ASSERT_EQ(pages.size(), mitFuss);
    const QString &letzte = pages.last();
    EXPECT_EQ(pdftext::NotInOrder(letzte, {"Kopfzeile", "Summe:", QStringLiteral("Seite %1 von %1").arg(mitFuss)}),
              std::string());
    EXPECT_FALSE(letzte.contains("Mitglied"));
    EXPECT_TRUE(pages.at(mitFuss - 2).contains(QStringLiteral("Mitglied %1 ").arg(n)));
    QStringList alle;
    for (int i = 1; i <= n; ++i)
        alle << QStringLiteral("Mitglied %1 ").arg(i);
    EXPECT_EQ(pdftext::NotInOrder(pages.join('\n'), alle), std::string());

    // A hidden detail leaves one page: headers, footer and the totals over every row.
    r->Detail().Visible = false;
    const QString ohneZeilen = pdftext::Text(pdf(*r, "ohne.pdf"));
    EXPECT_EQ(r->PageCount(600), 1);
    EXPECT_FALSE(ohneZeilen.contains("Mitglied"));
    EXPECT_EQ(pdftext::NotInOrder(ohneZeilen, {"Kopfzeile", "Summe:", QStringLiteral("Seite 1 von 1")}), std::string());
}

// Pages painted in any order, as a preview scrolled to its end and back paints them, look as
// they look painted one after the other.
TEST_F(ReportTest, APageLooksTheSameWhicheverPageWasPaintedBefore)
{
    for (int i = 1; i <= 120; ++i)
        zeile(i,
              i % 7 ? QStringLiteral("Mitglied %1").arg(i)
                    : QStringLiteral("Mitglied %1 mit einem Namen, der "
                                     "über mehr als eine Zeile läuft")
                          .arg(i),
              double(i));
    auto r = liste();
    binde(*r);
    QImage probe(10, 10, QImage::Format_RGB32);
    report::PageLayout layout(r->document(), &probe);
    const int n = layout.pageCount();
    ASSERT_GE(n, 3);
    auto male = [&](int page) {
        QImage bild(layout.pageSizePx().toSize(), QImage::Format_RGB32);
        bild.fill(Qt::white);
        QPainter p(&bild);
        layout.paintPage(p, page);
        return bild;
    };
    std::vector<QImage> vorwaerts;
    for (int i = 0; i < n; ++i)
        vorwaerts.push_back(male(i));
    for (int i = n - 1; i >= 0; --i) {
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(male(i) == vorwaerts[std::size_t(i)]);
    }
}

// The rows a report holds give back every value as it was read, its type included, however
// often a text repeats and however many different texts there are.
TEST(RowValues, EveryValueComesBackAsItWasStoredTypeIncluded)
{
    const QVariantList werte = {
        QVariant(),
        QVariant(qlonglong(-9007199254740993LL)),
        QVariant(int(-7)),
        QVariant(12.5),
        QVariant(QString()),
        QVariant(QStringLiteral("")),
        QVariant(QStringLiteral("Gewässer 1")),
        QVariant(QDate(2024, 7, 1)),
        QVariant(true),
        QVariant(QByteArray("\0roh", 4)),
        QVariant(QStringLiteral("Zeile\nzwei")),
    };
    report::RowValues zeilen;
    // Beyond the texts looked up again: every text after them is kept on its own.
    const int anzahl = 6000;
    for (int z = 0; z < anzahl; ++z) {
        QVariantList zeile = werte;
        zeile << QVariant(QStringLiteral("Name %1").arg(z)) << QVariant(QStringLiteral("Name %1").arg(z % 3));
        zeilen.append(zeile);
    }
    ASSERT_EQ(zeilen.size(), anzahl);
    ASSERT_EQ(zeilen.columnCount(), werte.size() + 2);
    for (int z : {0, 1, 4095, 4096, anzahl - 1}) {
        for (int s = 0; s < werte.size(); ++s) {
            SCOPED_TRACE(QStringLiteral("Zeile %1, Spalte %2").arg(z).arg(s).toStdString());
            const QVariant v = zeilen.value(z, s);
            EXPECT_EQ(v.typeId(), werte.at(s).typeId());
            EXPECT_EQ(v.isNull(), werte.at(s).isNull());
            EXPECT_EQ(v, werte.at(s));
        }
        EXPECT_EQ(zeilen.value(z, int(werte.size())), QVariant(QStringLiteral("Name %1").arg(z)));
        EXPECT_EQ(zeilen.value(z, int(werte.size()) + 1), QVariant(QStringLiteral("Name %1").arg(z % 3)));
    }
    // Outside the rows and columns: nothing.
    EXPECT_FALSE(zeilen.value(anzahl, 0).isValid());
    EXPECT_FALSE(zeilen.value(0, zeilen.columnCount()).isValid());
    EXPECT_FALSE(zeilen.value(-1, 1).isValid());

    // The first row sets the columns: a shorter row is filled with nothing, a longer one cut.
    report::RowValues kurz;
    kurz.append({1, QStringLiteral("a")});
    kurz.append({2});
    kurz.append({3, QStringLiteral("c"), QStringLiteral("zu viel")});
    EXPECT_EQ(kurz.columnCount(), 2);
    EXPECT_FALSE(kurz.value(1, 1).isValid());
    EXPECT_EQ(kurz.value(2, 1), QVariant(QStringLiteral("c")));
    EXPECT_FALSE(kurz.value(2, 2).isValid());

    // Rows compare by their values.
    report::RowValues gleich, anders;
    gleich.append({1, QStringLiteral("a")});
    gleich.append({2});
    gleich.append({3, QStringLiteral("c")});
    anders.append({1, QStringLiteral("a")});
    anders.append({2});
    anders.append({3, QStringLiteral("C")});
    EXPECT_TRUE(kurz == gleich);
    EXPECT_TRUE(kurz != anders);
}

TEST_F(ReportTest, TheDataIsReadByRefreshAndKeptAfterTheRecordSetCloses)
{
    NEEDS_PDFTOTEXT();
    zeile(1, "Hecht", 1.0);
    auto r = liste();
    binde(*r);
    rs.Close();
    db.Execute("DELETE FROM Liste");
    zeile(2, "Karpfen", 2.0);
    const QString text = pdftext::Text(pdf(*r));
    EXPECT_TRUE(text.contains("Hecht"));
    EXPECT_FALSE(text.contains("Karpfen"));
}

TEST_F(ReportTest, BindingsAreCheckedWhenTheDataIsRead)
{
    zeile(1, "Hecht", QStringLiteral("viel"));
    {
        auto r = liste();
        r->Detail().Controls("Text2").DataField = QStringLiteral("NAME"); // letter case does not matter
        r->ReportFooter().Controls("SumMenge").DataField = QStringLiteral("Nr");
        EXPECT_NO_THROW(binde(*r));
        rs.Close();
    }
    const struct
    {
        const char *control;
        const char *field;
        int number;
    } cases[] = {{"Text2", "Fischart", 3265}, {"SumMenge", "Menge", 13}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.control);
        auto r = liste();
        report::Section &s = r->Detail().hasControl(c.control) ? r->Detail() : r->ReportFooter();
        s.Controls(c.control).DataField = QString::fromLatin1(c.field);
        if (QString(c.control) != "SumMenge")
            r->ReportFooter().Controls("SumMenge").DataField = QStringLiteral("Nr");
        try {
            binde(*r);
            ADD_FAILURE() << "no error";
        } catch (const vb::Error &e) {
            EXPECT_EQ(e.number(), c.number);
        }
        rs.Close();
    }
}

TEST_F(ReportTest, SectionsAndControlsAreFoundByNameOnly)
{
    auto r = liste();
    EXPECT_EQ(&r->Sections("section2"), &r->PageHeader());
    EXPECT_EQ(r->Sections("Section5").Name, QString("Section5"));
    for (const char *name : {"Section6", "Section0", "", "Detail"}) {
        SCOPED_TRACE(name);
        try {
            r->Sections(name);
            ADD_FAILURE() << "found";
        } catch (const vb::Error &e) {
            EXPECT_EQ(e.number(), 3265);
        }
    }
    EXPECT_THROW(r->Detail().Controls("Text9"), vb::Error);
    EXPECT_THROW(r->Detail().Controls(""), vb::Error);
}

TEST_F(ReportTest, APdfThatCannotBeWrittenRaisesAnError)
{
    auto r = liste();
    binde(*r);
    try {
        r->ExportPdf(dir.filePath("fehlt/liste.pdf"));
        ADD_FAILURE() << "written";
    } catch (const vb::Error &e) {
        EXPECT_EQ(e.number(), 75);
    }
}

// ---- preview ----------------------------------------------------------------------------------

TEST_F(ReportTest, ThePreviewIsOneWindowThatAPaneHostsAndThatShowsTheReportAsItWasShown)
{
    for (int i = 1; i <= 150; ++i)
        zeile(i, QStringLiteral("Mitglied %1").arg(i), double(i));
    auto r = liste();
    binde(*r);
    rs.Close();

    auto pane = std::make_unique<QWidget>();
    pane->resize(600, 400);
    auto *layout = new QVBoxLayout(pane.get());
    QWidget *w = r->Show();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QString("Testliste"));
    auto *preview = qobject_cast<report::PreviewWindow *>(w);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->pageCount(), r->PageCount(preview->logicalDpiY()));
    EXPECT_GE(preview->pageCount(), 3);

    // Hosted as a child of the pane, as the navigation bar's results pane does.
    layout->addWidget(w);
    pane->show();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->parentWidget(), pane.get());
    EXPECT_FALSE(w->grab().isNull());

    // A second preview of the same report reuses the window with the new data; the data
    // shown before does not change afterwards.
    db.Execute("DELETE FROM Liste");
    zeile(1, "Einzeln", 1.0);
    binde(*r);
    EXPECT_EQ(r->Show(), w);
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_EQ(preview->document().rows->values.size(), 1);
    zeile(2, "Später", 2.0);
    binde(*r);
    EXPECT_EQ(preview->document().rows->values.size(), 1);

    // The pane takes the window with it; the next preview makes a new one.
    QPointer<QWidget> weg(w);
    pane.reset();
    EXPECT_TRUE(weg.isNull());
    EXPECT_EQ(r->window(), nullptr);
    QWidget *neu = r->Show();
    ASSERT_NE(neu, nullptr);
    EXPECT_EQ(r->window(), neu);
}

// A list whose pages stand taller together than a widget may be (QWIDGETSIZE_MAX pixels): the
// last page button and the scroll bar reach its last page, which is painted where it stands.
TEST_F(ReportTest, ThePreviewReachesTheLastPageOfAListTallerThanAWidgetMayBe)
{
    auto r = liste();
    r->PageSize = QSizeF(595, 14400); // a long strip: one row a page
    r->Detail().Height = 14000;
    const int zeilen = 1000;
    for (int i = 1; i <= zeilen; ++i)
        zeile(i, QStringLiteral("Mitglied %1").arg(i), double(i));
    binde(*r);
    rs.Close();

    auto *preview = qobject_cast<report::PreviewWindow *>(r->Show());
    ASSERT_NE(preview, nullptr);
    std::unique_ptr<QWidget> fenster(preview);
    preview->resize(700, 500);
    preview->show();
    const int seiten = preview->pageCount();
    ASSERT_EQ(seiten, zeilen);
    ASSERT_GT(double(preview->pagesSize().height()), double(QWIDGETSIZE_MAX));

    QAction *letzte = preview->findChild<QAction *>(QStringLiteral("tbLetzteSeite"));
    ASSERT_NE(letzte, nullptr);
    QWidget *knopf = preview->toolBar()->widgetForAction(letzte);
    ASSERT_NE(knopf, nullptr);
    QTest::mouseClick(knopf, Qt::LeftButton);
    EXPECT_EQ(preview->currentPage(), seiten - 1);
    auto *label = preview->findChild<QLabel *>(QStringLiteral("lblSeite"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Seite %1 von %1").arg(seiten));
    // Dragged from the first page to the scroll bar's end, the view shows the last page too.
    QTest::mouseClick(preview->toolBar()->widgetForAction(preview->findChild<QAction *>("tbErsteSeite")),
                      Qt::LeftButton);
    EXPECT_EQ(preview->currentPage(), 0);
    QScrollBar *rollen = preview->scrollArea()->verticalScrollBar();
    rollen->setValue(rollen->maximum());
    EXPECT_EQ(preview->currentPage(), seiten - 1);
    EXPECT_EQ(label->text(), QStringLiteral("Seite %1 von %1").arg(seiten));
    fenster.reset();
}

// ---- printers ---------------------------------------------------------------------------------

TEST(Printers, TheFakeListReplacesTheDesktopsWhileItLives)
{
    report::PrinterPort *vorher = &report::Printers();
    {
        report::FakePrinters keine;
        EXPECT_EQ(&report::Printers(), &keine);
        EXPECT_TRUE(report::Printers().PrinterNames().isEmpty());
        {
            report::FakePrinters zwei({"Laser Büro", "Tinte Kasse"});
            EXPECT_EQ(report::Printers().PrinterNames(), QStringList({"Laser Büro", "Tinte Kasse"}));
        }
        EXPECT_EQ(&report::Printers(), &keine);
    }
    EXPECT_EQ(&report::Printers(), vorher);
}

TEST_F(ReportTest, TheFakePrinterAnswersTheDialogAndWritesWhatItPrints)
{
    NEEDS_PDFTOTEXT();
    zeile(1, "Hecht", 1.0);
    auto r = liste();
    binde(*r);
    report::FakePrinters drucker({"Laser Büro", "Tinte Kasse"});
    drucker.pdfPath = dir.filePath("gedruckt.pdf");
    drucker.cancel = true;
    EXPECT_FALSE(report::Printers().PrintReport(*r, nullptr));
    EXPECT_EQ(drucker.printed, 0);
    drucker.cancel = false;
    EXPECT_TRUE(report::Printers().PrintReport(*r, nullptr));
    EXPECT_EQ(drucker.dialogs, 2);
    EXPECT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Testliste"));
    EXPECT_TRUE(pdftext::Text(drucker.pdfPath).contains("Hecht"));
}

} // namespace
