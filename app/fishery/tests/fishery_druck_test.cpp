// The catch list and stocking plan print-outs, written through a fake printer to PDF and read
// back.
#include "fishery/modBesatzListDruck.h"
#include "fishery/modFAuswertDruck.h"

#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/testing/print_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"
#include "report/preview.h"
#include "report/report.h"

#include <QDate>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using apptest::DruckTest;

// ---- catch list -------------------------------------------------------------------------------

class Fangliste : public DruckTest
{
protected:
    void SetUp() override
    {
        DruckTest::SetUp();
        // As the evaluation fills its grid: numbers as numbers, names and months as texts.
        grid.addRow(
            QVariantList{qlonglong(12), "Hecht", "Baggersee", "Juli", qlonglong(2024), qlonglong(2), qlonglong(3000)});
        grid.addRow(
            QVariantList{qlonglong(4), "Zander", "Altarm", "August", qlonglong(2024), qlonglong(1), qlonglong(1500)});
        grid.addRow(
            QVariantList{qlonglong(9), "Hecht", "Altarm", "Juli", qlonglong(2022), qlonglong(4), qlonglong(12345)});
    }
};

TEST_F(Fangliste, EveryCatchUnderTheAppliedFilterWithCountAndTotals)
{
    NEEDS_PDFTOTEXT();
    modFAuswert::DruckeFangListe("drucken", grid, {"2024", "", "Hecht", ""}, "3");
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Fangliste"));
    const QString t = text();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Anschrift:",
                                      "ASV Petri Heil",
                                      "Fangjahr",
                                      "2024",
                                      "Uferweg 3",
                                      "Fangmonat:",
                                      "alle",
                                      "12345",
                                      "Fischbach",
                                      "0123 4567",
                                      "Fangliste",
                                      "FangNr:",
                                      "Fischart:",
                                      "Gewässer:",
                                      "Monat:",
                                      "Fangjahr:",
                                      "Anzahl:",
                                      "Gewicht:",
                                      "12",
                                      "Hecht",
                                      "Baggersee",
                                      "Juli",
                                      "2024",
                                      "2",
                                      "3.000",
                                      "4",
                                      "Zander",
                                      "Altarm",
                                      "August",
                                      "2024",
                                      "1",
                                      "1.500",
                                      "9",
                                      "Hecht",
                                      "Altarm",
                                      "Juli",
                                      "2022",
                                      "4",
                                      "12.345",
                                      "Settings der Fangliste:",
                                      "Endaufstellung:",
                                      "gewählte Fischart",
                                      "Hecht",
                                      "Fischanzahl [gesamt]",
                                      "7",
                                      "gewähltes Gewässer",
                                      "alle",
                                      "Fischgewicht [gesamt]",
                                      "16845",
                                      "i.Gramm",
                                      "Anzahl d. gef. Einträge:",
                                      "3",
                                      "Seite 1 von 1 (gedruckt am " + heute() + ")"}),
              std::string())
        << t.toStdString();
    EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(drucker.pdfPath)).isEmpty());
}

TEST_F(Fangliste, ASixDigitCountAndATenDigitWeightStandWholeAndWellApart)
{
    NEEDS_PDFTOTEXT();
    grid.clear();
    grid.addRow(QVariantList{qlonglong(123456), "Regenbogenforelle", "Baggersee", "September", qlonglong(2024),
                             qlonglong(123456), qlonglong(1234567890)});
    modFAuswert::DruckeFangListe("drucken", grid, {"2024", "September", "Regenbogenforelle", "Baggersee"}, "123456");
    ASSERT_EQ(drucker.printed, 1);
    const QString t = text();
    EXPECT_EQ(pdftext::NotInOrder(t, {"FangNr:",
                                      "Gewicht:",
                                      "123456",
                                      "Regenbogenforelle",
                                      "Baggersee",
                                      "September",
                                      "2024",
                                      "123456",
                                      "1.234.567.890",
                                      "Settings der Fangliste:",
                                      "Endaufstellung:",
                                      "gewählte Fischart",
                                      "Regenbogenforelle",
                                      "Fischanzahl [gesamt]",
                                      "123456",
                                      "gewähltes Gewässer",
                                      "Baggersee",
                                      "Fischgewicht [gesamt]",
                                      "1234567890",
                                      "i.Gramm",
                                      "Anzahl d. gef. Einträge:",
                                      "123456"}),
              std::string())
        << t.toStdString();
    EXPECT_FALSE(t.contains(QStringLiteral("…"))) << t.toStdString();
    const QList<pdftext::Word> words = pdftext::Words(drucker.pdfPath);
    EXPECT_TRUE(pdftext::Overlaps(words).isEmpty());
    // The gap between a word and the one after it on its line, in points.
    auto gap = [&](const QString &left, const QString &right) {
        for (const pdftext::Word &r : words) {
            if (r.text != right)
                continue;
            const pdftext::Word *best = nullptr;
            for (const pdftext::Word &l : words)
                if (l.page == r.page && std::abs(l.box.center().y() - r.box.center().y()) < 2 && l.text == left &&
                    l.box.right() <= r.box.left() && (!best || l.box.right() > best->box.right()))
                    best = &l;
            if (best)
                return r.box.left() - best->box.right();
        }
        return -1.0;
    };
    const struct
    {
        const char *left, *right;
    } apart[] = {{"123456", "1.234.567.890"}, {"2024", "123456"}, {":", "123456"}, {":", "1234567890"}};
    for (const auto &a : apart) {
        SCOPED_TRACE(std::string(a.left) + " | " + a.right);
        EXPECT_GE(gap(QString::fromUtf8(a.left), QString::fromUtf8(a.right)), 6.0);
    }
}

TEST_F(Fangliste, EachFilterThatWasOffPrintsAlle)
{
    NEEDS_PDFTOTEXT();
    const struct
    {
        modFAuswert::AngewandteAuswahl auswahl;
        const char *jahr, *monat, *art, *gewaesser;
    } faelle[] = {
        {{"", "", "", ""}, "alle", "alle", "alle", "alle"},
        {{"2024", "", "", ""}, "2024", "alle", "alle", "alle"},
        {{"", "März", "", "Altarm"}, "alle", "März", "alle", "Altarm"},
        {{"2001", "Dezember", "Zander", "Baggersee"}, "2001", "Dezember", "Zander", "Baggersee"},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(std::string(f.jahr) + "/" + f.monat + "/" + f.art + "/" + f.gewaesser);
        modFAuswert::DruckeFangListe("drucken", grid, f.auswahl, "3");
        const QString t = text();
        EXPECT_EQ(pdftext::NotInOrder(t, {"Fangjahr", f.jahr, "Fangmonat:", f.monat}), std::string())
            << t.toStdString();
        EXPECT_EQ(pdftext::NotInOrder(t, {"gewählte Fischart", f.art, "gewähltes Gewässer", f.gewaesser}),
                  std::string())
            << t.toStdString();
    }
}

TEST_F(Fangliste, ThePrintTableHoldsTheGridRowsWithTheWholeNumbersConverted)
{
    grid.setValue(1, 4, QStringLiteral("2024")); // a year the grid holds as text
    grid.setValue(1, 6, 1500.4);
    modFAuswert::DruckeFangListe("drucken", grid, {}, "3");
    EXPECT_EQ(tabelle("SELECT * FROM Druck_Fangliste ORDER BY rowid"),
              (QList<QVariantList>{
                  {qlonglong(12), "Hecht", "Baggersee", "Juli", qlonglong(2024), qlonglong(2), qlonglong(3000)},
                  {qlonglong(4), "Zander", "Altarm", "August", qlonglong(2024), qlonglong(1), qlonglong(1500)},
                  {qlonglong(9), "Hecht", "Altarm", "Juli", qlonglong(2022), qlonglong(4), qlonglong(12345)}}));
}

TEST_F(Fangliste, ACellThatIsNoNumberNamesTheCatchListInTheErrorBox)
{
    grid.setValue(2, 5, QStringLiteral("viele"));
    modFAuswert::DruckeFangListe("drucken", grid, {}, "3");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modFAuswert / Routine: DruckeFangListe !"));
    EXPECT_EQ(drucker.printed, 0);
    EXPECT_TRUE(tabelle("SELECT * FROM Druck_Fangliste").isEmpty());
}

TEST_F(Fangliste, AnEmptyResultPrintsNothing)
{
    grid.clear();
    modFAuswert::DruckeFangListe("vorschau", grid, {}, "0");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !"));
    EXPECT_EQ(modFAuswert::rpt_Fangliste().window(), nullptr);
}

TEST_F(Fangliste, TenThousandCatchesFillManyPagesEachWithItsHeaders)
{
    NEEDS_PDFTOTEXT();
    grid.clear();
    for (int i = 1; i <= 10000; ++i)
        grid.addRow(
            QVariantList{qlonglong(i), "Rotauge", "Baggersee", "Mai", qlonglong(2024), qlonglong(1), qlonglong(100)});
    modFAuswert::DruckeFangListe("drucken", grid, {"2024", "Mai", "", ""}, "10000");
    ASSERT_EQ(boxes.count(), 0u);
    const QStringList seiten = pdftext::Pages(drucker.pdfPath);
    const int n = int(seiten.size());
    ASSERT_GT(n, 100);
    EXPECT_EQ(pdftext::PageCount(drucker.pdfPath), n);
    int zeilen = 0;
    for (int p = 0; p < n; ++p) {
        SCOPED_TRACE(p + 1);
        const QString &s = seiten.at(p);
        EXPECT_EQ(pdftext::NotInOrder(s, {"Anschrift:", "ASV Petri Heil", "Fangliste", "FangNr:", "Gewicht:", "Rotauge",
                                          QStringLiteral("Seite %1 von %2").arg(p + 1).arg(n)}),
                  std::string());
        zeilen += pdftext::Count(s, "Rotauge");
    }
    EXPECT_EQ(zeilen, 10000);
    EXPECT_EQ(pdftext::NotInOrder(seiten.last(), {"Fischanzahl [gesamt]", "10000", "Fischgewicht [gesamt]", "1000000"}),
              std::string());
}

TEST_F(Fangliste, APreviewShowsTheListInItsWindow)
{
    modFAuswert::DruckeFangListe("vorschau", grid, {"2024", "", "", ""}, "3");
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(drucker.dialogs, 0);
    auto *v = qobject_cast<report::PreviewWindow *>(modFAuswert::rpt_Fangliste().window());
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->windowTitle(), QString("Fangliste"));
    EXPECT_EQ(v->document().rows->values.size(), 3);
}

// ---- stocking plan ----------------------------------------------------------------------------

class Besatzplan : public DruckTest
{
protected:
    void SetUp() override
    {
        DruckTest::SetUp();
        // As the stocking window fills its grid: the quantity as its two-decimal text.
        grid.addRow(QVariantList{qlonglong(17), "Karpfen", "Baggersee", "Frühjahr", "12,50"});
        grid.addRow(QVariantList{qlonglong(5), "Hecht", "Altarm", "", "1234,00"});
        grid.addRow(QVariantList{qlonglong(23), "Schleie", "Mühlteich", "Herbst", "0,75"});
    }
};

TEST_F(Besatzplan, TheEntriesInTheGridsOrderUnderTheYearsTitle)
{
    NEEDS_PDFTOTEXT();
    modBesatzList::DruckeBPlanListe("drucken", grid, "2003");
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Besatz - Plan"));
    const QString t = text();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Anschrift:",
                                      "ASV Petri Heil",
                                      "Besatz - Plan für das Fangjahr 2003",
                                      "B-Nr:",
                                      "Fischart:",
                                      "Gewässer:",
                                      "Zeitpunkt:",
                                      "Menge i. Kg:",
                                      "17",
                                      "Karpfen",
                                      "Baggersee",
                                      "Frühjahr",
                                      "12,50",
                                      "5",
                                      "Hecht",
                                      "Altarm",
                                      "1234,00",
                                      "23",
                                      "Schleie",
                                      "Mühlteich",
                                      "Herbst",
                                      "0,75",
                                      "Seite 1 von 1"}),
              std::string())
        << t.toStdString();
    // The entry without a time prints an empty time field.
    const QString hecht = t.section('\n', 0, -1).split('\n').filter("Hecht").value(0);
    EXPECT_EQ(hecht.simplified(), QString("5 Hecht Altarm 1234,00"));
    EXPECT_EQ(tabelle("SELECT * FROM Druck_Besatzliste ORDER BY rowid"),
              (QList<QVariantList>{{"17", "Karpfen", "Baggersee", "Frühjahr", "12,50"},
                                   {"5", "Hecht", "Altarm", "", "1234,00"},
                                   {"23", "Schleie", "Mühlteich", "Herbst", "0,75"}}));
}

TEST_F(Besatzplan, PrintingTwiceNamesTheYearOnceAndAnotherYearReplacesIt)
{
    NEEDS_PDFTOTEXT();
    modBesatzList::DruckeBPlanListe("drucken", grid, "2003");
    modBesatzList::DruckeBPlanListe("drucken", grid, "2003");
    EXPECT_EQ(pdftext::Count(text(), "für das Fangjahr"), 1);
    EXPECT_TRUE(text().contains("Besatz - Plan für das Fangjahr 2003"));
    modBesatzList::DruckeBPlanListe("drucken", grid, "2004");
    EXPECT_TRUE(text().contains("Besatz - Plan für das Fangjahr 2004"));
    EXPECT_FALSE(text().contains("2003"));
}

TEST_F(Besatzplan, AGridWithoutItsQuantityColumnNamesTheStockingModuleInTheErrorBox)
{
    forms::ListGrid schmal;
    schmal.addRow(QVariantList{qlonglong(1), "Karpfen", "Baggersee"});
    modBesatzList::DruckeBPlanListe("drucken", schmal, "2003");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modBesatzung / Routine: DruckeBPlanListe !"));
    EXPECT_EQ(drucker.printed, 0);
}

} // namespace
