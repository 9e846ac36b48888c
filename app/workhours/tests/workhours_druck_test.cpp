// The work-hours print-outs: one member's work sheet, the member list and the work-hours list,
// written through a fake printer to PDF and read back.
#include "workhours/modArbeitDruck.h"
#include "workhours/modMitglListDruck.h"

#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/testing/print_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"

#include <QDate>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using apptest::DruckTest;

// ---- one member's work sheet ------------------------------------------------------------------

class Arbeitsblatt : public DruckTest
{
protected:
    void SetUp() override
    {
        DruckTest::SetUp();
        // As the work-hours window lists a member's entries: hours as "###0.00" text.
        grid.addRow(QVariantList{qlonglong(31), qlonglong(17), "2,50", "01.03.2024"});
        grid.addRow(QVariantList{qlonglong(8), qlonglong(17), "1234,25", QDate(2024, 6, 15)});
        grid.addRow(QVariantList{qlonglong(40), qlonglong(17), "-3,00", "01.01.2024"});
    }
    modArbeit::Arbeitsblatt blatt{"2024", "17", "Petersen", "Hein", "1233,75", "20,00", "1213,75"};
};

TEST_F(Arbeitsblatt, TheEntriesThenTheMemberAndTheWindowsFigures)
{
    NEEDS_PDFTOTEXT();
    blatt.ErgStd = QStringLiteral("-5,25");
    modArbeit::DruckeArbListe("drucken", grid, blatt);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Arbeitsliste [Einzelaufstellung]"));
    const QString t = text();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Anschrift:",
                                      "ASV Petri Heil",
                                      "Arbeitsliste [Einzelaufstellung] für Jahr 2024",
                                      "Arb.-Nr:",
                                      "Geleistete Arb.-Std:",
                                      "Datum:",
                                      "31",
                                      "2,50",
                                      "01.03.2024",
                                      "8",
                                      "1.234,25",
                                      "15.06.2024",
                                      "40",
                                      "-3,00",
                                      "01.01.2024",
                                      "Mitglied:",
                                      "Endaufstellung:",
                                      "Mitgl.-Nr",
                                      "17",
                                      "Ges.-Std. geleistet:",
                                      "1233,75",
                                      "Name",
                                      "Petersen",
                                      "Pfl.-Std:",
                                      "20,00",
                                      "Vorname:",
                                      "Hein",
                                      "Erg. SOLL / HABEN:",
                                      "-5,25",
                                      "Seite 1 von 1"}),
              std::string())
        << t.toStdString();
    EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(drucker.pdfPath)).isEmpty());
    // The member number of each entry is not copied.
    const auto z = tabelle("SELECT * FROM Druck_ArbListe ORDER BY rowid");
    ASSERT_EQ(z.size(), 3);
    EXPECT_EQ(z[0], (QVariantList{qlonglong(31), "2,50", "01.03.2024"}));
    EXPECT_EQ(z[2], (QVariantList{qlonglong(40), "-3,00", "01.01.2024"}));
}

TEST_F(Arbeitsblatt, TheHeadingNamesTheYearOnceAndFollowsTheChosenYear)
{
    NEEDS_PDFTOTEXT();
    modArbeit::DruckeArbListe("drucken", grid, blatt);
    modArbeit::DruckeArbListe("drucken", grid, blatt);
    EXPECT_EQ(pdftext::Count(text(), "für Jahr"), 1);
    EXPECT_TRUE(text().contains("Arbeitsliste [Einzelaufstellung] für Jahr 2024"));
    blatt.Jahr = QStringLiteral("2023");
    modArbeit::DruckeArbListe("drucken", grid, blatt);
    EXPECT_TRUE(text().contains("Arbeitsliste [Einzelaufstellung] für Jahr 2023"));
    EXPECT_EQ(pdftext::Count(text(), "für Jahr"), 1);
}

TEST_F(Arbeitsblatt, AMemberWithoutEntriesPrintsNothing)
{
    grid.clear();
    modArbeit::DruckeArbListe("drucken", grid, blatt);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !"));
    EXPECT_EQ(drucker.dialogs, 0);
}

TEST_F(Arbeitsblatt, AnEntryNumberThatIsNoNumberNamesTheWorkHoursModule)
{
    grid.setValue(1, 0, QStringLiteral("neu"));
    modArbeit::DruckeArbListe("drucken", grid, blatt);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modArbeit / Routine: DruckeArbListe !"));
}

// ---- member list and work-hours list ----------------------------------------------------------

class Mitgliederliste : public DruckTest
{
protected:
    void SetUp() override
    {
        DruckTest::SetUp();
        // As the member query fills its grid: eleven columns, the hours as "###0.00" texts.
        grid.addRow(QVariantList{qlonglong(3), "Albers", "Anna", "Seestraße 1", "12345", "Fischbach", "0123 1",
                                 "14.02.1980", "20,00", "24,50", "4,50"});
        grid.addRow(QVariantList{qlonglong(11), "Brandt", "Bernd", "Am Hafen 7", "12346", "Neudorf", "0123 2", "",
                                 "20,00", "16,50", "-3,50"});
        grid.addRow(QVariantList{qlonglong(7), "Claasen", "Carla", "Deich 2", "12347", "Altdorf", "", QDate(1975, 8, 1),
                                 "20,00", "1020,00", "1000,00"});
    }
};

TEST_F(Mitgliederliste, TheAddressListCopiesTheFirstEightColumns)
{
    NEEDS_PDFTOTEXT();
    modMitglList::DruckeMitglListe("drucken", grid, "3", "");
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Mitglieder - Liste"));
    const QString t = text();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Anschrift:",
                                      "ASV Petri Heil",
                                      "Mitglieder - Liste",
                                      "M-Nr:",
                                      "Nachname:",
                                      "Vorname:",
                                      "Strasse:",
                                      "PLZ:",
                                      "Ort:",
                                      "Telefon [privat]:",
                                      "Geb.-Dat:",
                                      "3",
                                      "Albers",
                                      "Anna",
                                      "Seestraße 1",
                                      "12345",
                                      "Fischbach",
                                      "0123 1",
                                      "14.02.1980",
                                      "11",
                                      "Brandt",
                                      "Bernd",
                                      "Am Hafen 7",
                                      "12346",
                                      "Neudorf",
                                      "0123 2",
                                      "7",
                                      "Claasen",
                                      "Carla",
                                      "Deich 2",
                                      "12347",
                                      "Altdorf",
                                      "01.08.1975",
                                      "Listenbeschreibung:",
                                      "Anzahl der Mitglieder",
                                      "3",
                                      "keine Beschreibung",
                                      "Seite 1 von 1"}),
              std::string())
        << t.toStdString();
    EXPECT_FALSE(t.contains("24,50")); // the hours are not on the address list
    EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(drucker.pdfPath)).isEmpty());
    // A member without a date of birth has an empty cell; a date the grid holds as a date is
    // stored as its text.
    const auto z = tabelle("SELECT KontaktNr, GebDatum FROM Druck_MitglList ORDER BY rowid");
    EXPECT_EQ(z,
              (QList<QVariantList>{{qlonglong(3), "14.02.1980"}, {qlonglong(11), ""}, {qlonglong(7), "01.08.1975"}}));
    const QString brandt = t.split('\n').filter("Brandt").value(0);
    EXPECT_EQ(brandt.simplified(), QString("11 Brandt Bernd Am Hafen 7 12346 Neudorf 0123 2"));
}

TEST_F(Mitgliederliste, TheWorkHoursListCopiesNumberNamesAndTheThreeFigures)
{
    NEEDS_PDFTOTEXT();
    modMitglList::DruckeArbListe("drucken", grid, "3", "Arbeitsstunden 2024 nach dem Frühjahrsputz");
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Arbeitsliste [Übersicht]"));
    const QString t = text();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Arbeitsliste [ Übersicht ]",
                                      "M-Nr:",
                                      "Nachname",
                                      "Vorname:",
                                      "Pfl.-Std:",
                                      "Gel.-Std:",
                                      "Soll/Haben:",
                                      "3",
                                      "Albers",
                                      "Anna",
                                      "20,00",
                                      "24,50",
                                      "4,50",
                                      "11",
                                      "Brandt",
                                      "Bernd",
                                      "20,00",
                                      "16,50",
                                      "-3,50",
                                      "7",
                                      "Claasen",
                                      "Carla",
                                      "20,00",
                                      "1.020,00",
                                      "1000,00",
                                      "Listenbeschreibung:",
                                      "Anzahl der Mitglieder",
                                      "3",
                                      "Arbeitsstunden 2024 nach dem Frühjahrsputz",
                                      "Seite 1 von 1"}),
              std::string())
        << t.toStdString();
    EXPECT_FALSE(t.contains("Seestraße")); // no address on the work-hours list
    EXPECT_EQ(tabelle("SELECT * FROM Druck_ArbStd ORDER BY rowid"),
              (QList<QVariantList>{{qlonglong(3), "Albers", "Anna", "20,00", "24,50", "4,50"},
                                   {qlonglong(11), "Brandt", "Bernd", "20,00", "16,50", "-3,50"},
                                   {qlonglong(7), "Claasen", "Carla", "20,00", "1020,00", "1000,00"}}));
}

TEST_F(Mitgliederliste, ALongDescriptionWrapsOverItsTwoLinesAndIsCutOffBelow)
{
    NEEDS_PDFTOTEXT();
    const QString info = QStringLiteral("Aktive Mitglieder mit Wohnsitz im Landkreis, sortiert nach Nachname, für die "
                                        "Jahreshauptversammlung im Vereinsheim am Baggersee; bitte vor dem Termin "
                                        "prüfen und fehlende Anschriften beim Vorstand melden, damit die Einladungen "
                                        "rechtzeitig verschickt werden können und niemand vergessen wird");
    modMitglList::DruckeMitglListe("drucken", grid, "3", info);
    const QString t = text();
    EXPECT_TRUE(t.contains("Aktive Mitglieder"));
    EXPECT_FALSE(t.contains("vergessen wird"));
    EXPECT_TRUE(pdftext::Overlaps(pdftext::Words(drucker.pdfPath)).isEmpty());
}

TEST_F(Mitgliederliste, ALongMemberListRepeatsItsHeadersOnEveryPage)
{
    NEEDS_PDFTOTEXT();
    grid.clear();
    for (int i = 1; i <= 300; ++i)
        grid.addRow(QVariantList{qlonglong(i), QStringLiteral("Nachname%1").arg(i), "Vorname", "Weg 1", "12345", "Ort",
                                 "0123", "", "20,00", "10,00", "-10,00"});
    modMitglList::DruckeMitglListe("drucken", grid, "300", "alle");
    const QStringList seiten = pdftext::Pages(drucker.pdfPath);
    const int n = int(seiten.size());
    ASSERT_GE(n, 3);
    int zeilen = 0;
    for (int p = 0; p < n; ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_EQ(pdftext::NotInOrder(seiten.at(p), {"Anschrift:", "Mitglieder - Liste", "M-Nr:", "Geb.-Dat:",
                                                     "Nachname", QStringLiteral("Seite %1 von %2").arg(p + 1).arg(n)}),
                  std::string());
        zeilen += pdftext::Count(seiten.at(p), "Nachname") - 1; // less the heading
    }
    EXPECT_EQ(zeilen, 300);
    EXPECT_TRUE(seiten.last().contains("Listenbeschreibung:"));
    for (int p = 0; p + 1 < n; ++p)
        EXPECT_FALSE(seiten.at(p).contains("Listenbeschreibung:"));
}

TEST_F(Mitgliederliste, AnEmptyListPrintsNeitherForm)
{
    grid.clear();
    modMitglList::DruckeMitglListe("drucken", grid, "", "");
    modMitglList::DruckeArbListe("vorschau", grid, "", "");
    ASSERT_EQ(boxes.count(), 2u);
    for (const auto &b : boxes.boxes())
        EXPECT_EQ(b.text, QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !"));
    EXPECT_EQ(boxes.count(QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !")), 2u);
    EXPECT_EQ(drucker.dialogs, 0);
}

TEST_F(Mitgliederliste, TheErrorBoxNamesTheMemberListsModuleAndTheRoutine)
{
    grid.setValue(0, 0, QStringLiteral("x"));
    modMitglList::DruckeMitglListe("drucken", grid, "3", "");
    modMitglList::DruckeArbListe("drucken", grid, "3", "");
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith(
        "Unvorhergesehener Fehler in Modul: modMitglList / Routine: DruckeMitglListe !"));
    EXPECT_TRUE(boxes.boxes()[1].text.startsWith(
        "Unvorhergesehener Fehler in Modul: modMitglList / Routine: DruckeArbListe !"));
}

} // namespace
