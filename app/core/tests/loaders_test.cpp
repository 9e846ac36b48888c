#include "core_fixture.h"

#include "core/modStart.h"
#include "core/plugins.h"

#include <QComboBox>
#include <QProgressBar>

#include <algorithm>

using namespace coretest;

namespace {

class Lader : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        modStart::OeffneDatenbank();
        gv().intJahr = 2024;
        gv().intMonat = 5;
    }
};

const QString LeeresJahr = "Keine Einträge für dieses Jahr vorhanden !";

} // namespace

TEST_F(Lader, OnEmptyTablesTheStartUpLoadShowsNoMessageAndLeavesTheListsEmpty)
{
    bool kontakte = false;
    core::einstiege().ladeschritte.InitialisiereKontaktUebers = [&] { kontakte = true; };
    modStart::LadeAlleTabellen();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_TRUE(kontakte);
    EXPECT_FALSE(gv().blnStartLaden);
    EXPECT_EQ(besatzListe->rowCount(), 0);
    EXPECT_EQ(fangListe->rowCount(), 0);

    // Afterwards an empty year is told.
    modStart::loadTblBList();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, LeeresJahr);
    EXPECT_EQ(boxes.last().flags, forms::vbInformation);
}

TEST_F(Lader, TheStockingListShowsTheYearsEntriesWithNamesAndTwoDecimals)
{
    gv().dbDaten.Execute("INSERT INTO Fisch (FNr, FName) VALUES (1, 'Hecht'), (2, 'Zander')");
    gv().dbDaten.Execute("INSERT INTO Gewaesser (GNr, GName) VALUES (1, 'Baggersee')");
    gv().dbDaten.Execute("INSERT INTO Besatzung (BJahr, FNr, GNr, Zeit, Menge) VALUES "
                         "(2024, 2, 1, 'Frühjahr', 12.5), (2023, 1, 1, 'Herbst', 3), (2024, 1, 1, 'Herbst', 7)");
    forms::ListGrid &tbl = *besatzListe;
    tbl.addRow(QStringList{"alt"});
    modStart::loadTblBList();
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(besatzJahre, std::vector<int>{2024});
    ASSERT_EQ(tbl.rowCount(), 2);
    EXPECT_EQ(tbl.columnCount(), 5);
    EXPECT_EQ(tbl.text(0, 1), QString("Zander"));
    EXPECT_EQ(tbl.text(0, 2), QString("Baggersee"));
    EXPECT_EQ(tbl.text(0, 3), QString("Frühjahr"));
    EXPECT_EQ(tbl.text(0, 4), QString("12,50"));
    EXPECT_EQ(tbl.text(1, 4), QString("7,00"));
}

TEST_F(Lader, CategoriesCarryTheSuffixInTheGridAndNotInTheCombo)
{
    gv().dbDaten.Execute("INSERT INTO Katego (Kategorie) VALUES ('Lieferanten')");
    modStart::loadTblKatego();
    forms::ListGrid &tbl = *kategoListe;
    ASSERT_EQ(tbl.rowCount(), 3);
    EXPECT_EQ(tbl.text(0, 1), QString("Mitglieder (aktiv) -> Systemkategorie <-"));
    EXPECT_EQ(tbl.text(1, 1), QString("Mitglieder (passiv) -> Systemkategorie <-"));
    EXPECT_EQ(tbl.text(2, 1), QString("Lieferanten"));

    QComboBox cbo;
    modStart::loadcboKatego(cbo);
    ASSERT_EQ(cbo.count(), 3);
    EXPECT_EQ(cbo.itemText(0), QString("Mitglieder (aktiv)"));
    EXPECT_EQ(cbo.itemText(2), QString("Lieferanten"));
    // The same names: the combo stays as it is and keeps its entry.
    cbo.setCurrentIndex(2);
    modStart::loadcboKatego(cbo);
    EXPECT_EQ(cbo.currentIndex(), 2);
    // A rename with the same count: the combo never keeps the old name.
    tbl.setText(2, 1, "Händler");
    modStart::loadcboKatego(cbo);
    ASSERT_EQ(cbo.count(), 3);
    EXPECT_EQ(cbo.itemText(2), QString("Händler"));
}

TEST_F(Lader, CategoriesWithoutTheirGridReportTheMissingObject)
{
    core::einstiege().kategoListe = {};
    modStart::loadTblKatego();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.contains("Routine: loadTblKatego")) << boxes.last().text.toStdString();
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 91"));
    QComboBox cbo;
    cbo.addItem("alt");
    modStart::loadcboKatego(cbo);
    EXPECT_EQ(cbo.count(), 0);
}

TEST_F(Lader, TheCatchListMovesItsProgressBarInStepsNotAtEveryRow)
{
    gv().dbDaten.Execute("INSERT INTO Fisch (FNr, FName) VALUES (1, 'Hecht')");
    gv().dbDaten.Execute("INSERT INTO Gewaesser (GNr, GName) VALUES (1, 'Baggersee')");
    gv().dbDaten.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                         "INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) "
                         "SELECT 2024, 5, 1, 1, '', i, 100 FROM n");
    QProgressBar pb;
    QList<int> werte;
    QObject::connect(&pb, &QProgressBar::valueChanged, [&](int v) { werte << v; });
    modStart::loadTblFList(*fangListe, &pb);
    EXPECT_EQ(fangListe->rowCount(), 1000);
    EXPECT_EQ(pb.maximum(), 1000);
    ASSERT_FALSE(werte.isEmpty());
    EXPECT_EQ(werte.last(), 1000) << "full at the end";
    EXPECT_LE(werte.size(), 52) << "set in steps of a few percent, not at each of the 1000 rows";
    EXPECT_TRUE(std::is_sorted(werte.begin(), werte.end()));
    EXPECT_FALSE(pb.isVisible());
}
