#include "fishery/Fangbuch.h"
#include "fishery/modFAuswert.h"
#include "fishery/modFangbuch.h"

#include "core/Basis.h"
#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"

#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/statusbar.h"
#include "testsupport/today.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>

using namespace modFangbuch;

namespace {

using apptest::texte;

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
// The input-error box naming the fields to correct.
QString eingabefehler(const char *felder)
{
    return Eingabefehler + QStringLiteral("\n\r\n\rBitte prüfen: ") + QString::fromUtf8(felder);
}
const QString KeineEintraege = QStringLiteral("Keine Einträge für diesen Monat vorhanden !");
const QString Monatsfehler = QStringLiteral("ACHTUNG: Unzulässige Monatsangabe, die Eingabe wird gelöscht !");

// A program folder with a starter database: two fish species, two waters, and catches of
// July 2024 (Hecht, Zander), August 2024 (Hecht) and July 2022 (Zander).
class FangbuchTest : public apptest::ProgramTest
{
protected:
    FangbuchTest() : ProgramTest(Datenbank::Geoeffnet) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        db().Execute("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
        db().Execute("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Altarm ')");
        hecht = fang(2024, 7, 1, 1, 2, 3000);
        zander = fang(2024, 7, 2, 2, 1, 1500);
        august = fang(2024, 8, 1, 1, 1, 900);
        alt = fang(2022, 7, 2, 1, 4, 4000);

        auto &g = gv();
        g.intJahr = 2024;
        g.intMonat = 7;
        g.strMonat = QStringLiteral("Juli");
        g.blnStartLaden = true;
        modStart::loadTblFBasis();
        modStart::loadTblGBasis();
        f = &forms::form<Fangbuch>();
        modStart::loadTblFList(*f->tblFList, f->pb);
        g.blnStartLaden = false;
        boxes.clear();
    }
    static dao::Database &db() { return gv().dbDaten; }
    static qlonglong fang(int jahr, int monat, int fisch, int gewaesser, int anzahl, int gewicht)
    {
        db().Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) "
                     "VALUES (?, ?, ?, ?, '', ?, ?)",
                     {jahr, monat, fisch, gewaesser, anzahl, gewicht});
        return letzterFang();
    }
    static qlonglong letzterFang()
    {
        return db()
            .OpenRecordset("SELECT MAX(FangNr) AS Expr1000 FROM Fang", dao::dbOpenDynaset)("Expr1000")
            .Value()
            .toLongLong();
    }
    static QVariant spalte(qlonglong nr, const char *name)
    {
        return feld("SELECT * FROM Fang WHERE FangNr = ?", nr, name);
    }
    static long long anzahlFaenge()
    {
        return db()
            .OpenRecordset("SELECT COUNT(*) AS Expr1000 FROM Fang", dao::dbOpenDynaset)("Expr1000")
            .Value()
            .toLongLong();
    }
    void tippe(const QString &fisch, const QString &gewaesser, const QString &monat, const QString &anzahl,
               const QString &gewicht, const QString &notiz = QString())
    {
        f->cboFArt->setCurrentText(fisch);
        f->cboGName->setCurrentText(gewaesser);
        f->txtMonNr->setText(monat);
        f->txtAnzahl->setText(anzahl);
        f->txtGewicht->setText(gewicht);
        f->txtNotiz->setText(notiz);
    }
    QStringList zeile(int r) const
    {
        QStringList z;
        for (int c = 0; c < 6; ++c)
            z << f->tblFList->text(r, c);
        return z;
    }
    int zeileVon(qlonglong nr) const { return f->tblFList->find(0, QString::number(nr)); }

    Fangbuch *f = nullptr;
    qlonglong hecht = 0, zander = 0, august = 0, alt = 0;
};

} // namespace

TEST_F(FangbuchTest, TheWindowLoadsWithItsListsTheMonthAndTheCounts)
{
    EXPECT_EQ(f->windowTitle(), QString("Fangbuch"));
    EXPECT_EQ(f->cboFArt->count(), 2);
    EXPECT_EQ(f->cboGName->itemText(1), QString("Altarm "));
    EXPECT_EQ(f->cboFJahr->count(), 3); // 2022 .. 2024
    EXPECT_EQ(f->cboFJahr->currentText(), QString("2024"));
    EXPECT_EQ(f->cboSelMonat->currentText(), QString("Juli"));
    EXPECT_EQ(f->lblGesAnz->text(), QString("3"));
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    ASSERT_EQ(f->tblFList->rowCount(), 2);
    EXPECT_EQ(zeile(0), QStringList({QString::number(hecht), "Hecht", "Baggersee", "Juli", "2", "3000"}));
    EXPECT_EQ(f->tblFList->top().columnCaption(5), QString("Gew. i. Gramm"));
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FangbuchTest, TheShownWindowOffersNoSpeciesOrWaterTheUserDidNotChoose)
{
    // Shown (its activation fills the lists again): both lists filled, neither with an entry.
    f->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    for (QComboBox *cbo : {f->cboFArt, f->cboGName}) {
        SCOPED_TRACE(cbo->objectName().toStdString());
        EXPECT_EQ(cbo->count(), 2);
        EXPECT_EQ(cbo->currentIndex(), -1);
        EXPECT_EQ(cbo->currentText(), QString());
    }

    // Month, count and weight typed, F3: the input check stops the save.
    const long long vorher = anzahlFaenge();
    QTest::keyClicks(f->txtMonNr, QStringLiteral("07"));
    QTest::keyClicks(f->txtAnzahl, QStringLiteral("2"));
    QTest::keyClicks(f->txtGewicht, QStringLiteral("1200"));
    QTest::keyClick(f->txtGewicht, Qt::Key_F3);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, eingabefehler("Fischart, Gewässer"));
    EXPECT_EQ(anzahlFaenge(), vorher);

    // Species and water typed in as well: now it is saved, with what the user chose.
    QTest::keyClicks(f->cboFArt->lineEdit(), QStringLiteral("Zander"));
    QTest::keyClicks(f->cboGName->lineEdit(), QStringLiteral("Baggersee"));
    QTest::keyClick(f->txtGewicht, Qt::Key_F3);
    EXPECT_EQ(boxes.count(), 1u);
    ASSERT_EQ(anzahlFaenge(), vorher + 1);
    EXPECT_EQ(spalte(letzterFang(), "FischNr").toInt(), 2);
    EXPECT_EQ(spalte(letzterFang(), "GNr").toInt(), 1);
}

TEST_F(FangbuchTest, TheLookupsTranslateNamesAndNumbersAndGiveNothingForUnknownOnes)
{
    EXPECT_EQ(ErmittleFischNr("Zander"), 2);
    EXPECT_EQ(ErmittleFischNr("Wels"), 0);
    EXPECT_EQ(ErmittleFischNr("O'Wels"), 0); // an apostrophe is only a character of the name
    EXPECT_EQ(ErmittleFischname(1), QString("Hecht"));
    EXPECT_EQ(ErmittleFischname(0), QString());
    EXPECT_EQ(ErmittleGewaesserNr("Altarm "), 2);
    EXPECT_EQ(ErmittleGewaesserNr(""), 0);
    EXPECT_EQ(ErmittleGewaessername(2), QString("Altarm ")); // not trimmed
    EXPECT_EQ(ErmittleGewaessername(0), QString());
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FangbuchTest, SavingInsertsTheCatchAndShowsItOnlyInItsMonth)
{
    const struct
    {
        const char *monat;
        bool imGrid;
    } faelle[] = {{"07", true}, {"08", false}};
    for (const auto &fall : faelle) {
        const int zeilen = f->tblFList->rowCount();
        const long long vorher = anzahlFaenge();
        const QString gesamt = f->lblGesAnz->text();
        tippe("Hecht", "Altarm ", fall.monat, "3", "2500");
        f->Toolbar1_ButtonClick("tbSpeichern");
        ASSERT_EQ(anzahlFaenge(), vorher + 1) << fall.monat;
        const qlonglong neu = letzterFang();
        EXPECT_EQ(spalte(neu, "FangJahr").toInt(), 2024);
        EXPECT_EQ(spalte(neu, "FangMonat").toInt(), QString(fall.monat).toInt());
        EXPECT_EQ(spalte(neu, "GNr").toInt(), 2);
        EXPECT_EQ(spalte(neu, "Notiz").toString(), QString());
        EXPECT_EQ(f->tblFList->rowCount(), zeilen + (fall.imGrid ? 1 : 0));
        if (fall.imGrid) {
            const int r = zeileVon(neu);
            ASSERT_GE(r, 0);
            EXPECT_TRUE(f->tblFList->top().isRowSelected(r));
            EXPECT_EQ(zeile(r), QStringList({QString::number(neu), "Hecht", "Altarm ", "Juli", "3", "2500"}));
        }
        EXPECT_EQ(f->lblAnzahl->text(), QString::number(f->tblFList->rowCount()));
        EXPECT_EQ(f->lblGesAnz->text(), QString::number(gesamt.toInt() + 1));
        EXPECT_TRUE(f->txtMonNr->text().isEmpty());
        EXPECT_TRUE(f->cboFArt->currentText().isEmpty());
        EXPECT_EQ(gv().strModus, QString("SAVE"));
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FangbuchTest, AnIncompleteOrUnknownEntryIsRefusedAndNothingIsStored)
{
    const struct
    {
        const char *fisch, *gewaesser, *monat, *anzahl, *gewicht;
        const char *falsch; // the fields the box names
    } faelle[] = {
        {"Hecht", "Baggersee", "07", "1", "", "Gewicht"},                       // weight missing
        {"Wels", "Baggersee", "07", "1", "100", "Fischart"},                    // no such fish species
        {"Hecht", "Stausee", "07", "1", "100", "Gewässer"},                     // no such water
        {"Hecht", "Baggersee", "13", "1", "100", "Fangmonat"},                  // no month
        {"Hecht", "Baggersee", "07", "1x", "100", "Anzahl"},                    // not a number
        {"Hecht", "Baggersee", "07", "1", "9999999999", "Gewicht"},             // too large
        {"", "Stausee", "", "1", "", "Fischart, Gewässer, Fangmonat, Gewicht"}, // several
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.falsch);
        boxes.clear();
        tippe(fall.fisch, fall.gewaesser, fall.monat, fall.anzahl, fall.gewicht, "Notiz");
        f->Form_KeyDown(114, 0); // F3
        ASSERT_EQ(boxes.count(), 1u) << fall.fisch << fall.gewaesser << fall.monat << fall.gewicht;
        EXPECT_EQ(boxes.last().text, eingabefehler(fall.falsch));
        EXPECT_EQ(anzahlFaenge(), 4);
        EXPECT_EQ(f->txtNotiz->text(), QString("Notiz")); // what was typed stays
    }
    // The note alone may stay empty.
    tippe("Hecht", "Baggersee", "07", "1", "100");
    EXPECT_TRUE(PruefeFangEingabe());
}

// Another program holds the database locked while a catch is saved or changed: one box, the
// error trap's for the lock (no input error blamed on the user), nothing written, the fields
// and the mode as they were.
TEST_F(FangbuchTest, ADatabaseInUseGivesOneMessageAndWritesNothing)
{
    // A catch loaded for change before the other program takes the file.
    f->tblFList_DblClick(0);
    ASSERT_EQ(gv().strModus, QString("EDIT"));
    const int zeilen = f->tblFList->rowCount();
    const QStringList erste = zeile(0);
    dao::Database andere =
        dao::DBEngine::Workspaces(0).OpenDatabase(modStart::Datenbankpfad(), true, false, modStart::Verbindung);
    andere.Execute("CREATE TABLE Sperre (Nr INTEGER)"); // holds the file from now on

    const struct
    {
        const char *name;
        const char *modus;
    } faelle[] = {{"geändert", "EDIT"}, {"neu", "SAVE"}};
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        boxes.clear();
        if (QString(fall.modus) == "SAVE") {
            f->LeereFangFelder();
            gv().strModus = "SAVE";
        }
        tippe("Zander", "Baggersee", "07", "4", "800");
        f->Toolbar1_ButtonClick("tbSpeichern");
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3218"));
        EXPECT_TRUE(boxes.last().text.contains("verwendet")) << boxes.last().text.toStdString();
        EXPECT_EQ(f->cboFArt->currentText(), QString("Zander")) << "the entry stays for another try";
        EXPECT_EQ(f->txtAnzahl->text(), QString("4"));
        EXPECT_EQ(gv().strModus, QString(fall.modus));
        EXPECT_EQ(f->tblFList->rowCount(), zeilen);
        EXPECT_EQ(zeile(0), erste);
    }
    andere.Close();
    EXPECT_EQ(anzahlFaenge(), 4) << "nothing was written";
    EXPECT_EQ(spalte(hecht, "Anzahl").toInt(), 2);
}

TEST_F(FangbuchTest, AChangedCatchReplacesItsRowOrLeavesTheGridForAnotherMonth)
{
    f->tblFList_DblClick(zeileVon(zander));
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(f->lblFNr->text(), QString::number(zander));
    EXPECT_EQ(f->txtMonNr->text(), QString("07"));
    EXPECT_EQ(f->txtFangMonat->text(), QString("Juli"));
    EXPECT_EQ(f->cboGName->currentText(), QString("Altarm "));

    f->txtAnzahl->setText("5");
    f->Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_EQ(spalte(zander, "Anzahl").toInt(), 5);
    EXPECT_EQ(zeile(1), QStringList({QString::number(zander), "Zander", "Altarm ", "Juli", "5", "1500"}));
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    // Moved to November: stored, and gone from the July grid; the count follows the grid.
    EXPECT_EQ(f->lblAnzahl->text(), QString("2"));
    f->tblFList_DblClick(1);
    f->txtMonNr->setText("11");
    f->Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_EQ(spalte(zander, "FangMonat").toInt(), 11);
    EXPECT_EQ(zeileVon(zander), -1);
    EXPECT_EQ(f->tblFList->rowCount(), 1);
    EXPECT_EQ(f->lblAnzahl->text(), QString("1"));
    EXPECT_EQ(anzahlFaenge(), 4);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FangbuchTest, ARefusedChangeStaysInEditSoTheNextSaveDoesNotDuplicate)
{
    f->tblFList_DblClick(0);
    f->txtGewicht->clear();
    f->Toolbar1_ButtonClick("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, eingabefehler("Gewicht"));
    EXPECT_EQ(gv().strModus, QString("EDIT"));

    f->txtGewicht->setText("3100");
    f->Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_EQ(anzahlFaenge(), 4);
    EXPECT_EQ(spalte(hecht, "Gewicht").toInt(), 3100);
    EXPECT_EQ(f->tblFList->rowCount(), 2);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(FangbuchTest, ACatchOpenedFromAnotherGridKeepsItsYearAndTheRightRowIsTouched)
{
    // Another catch of July 2022, after the opened one in the catch log's grid.
    const qlonglong nachbar = fang(2022, 7, 1, 1, 9, 9000);
    // The evaluation's grid: the 2022 catch in its row 1, while row 1 of the catch log (once it
    // shows July 2022) holds the other catch.
    forms::ListGrid auswertung;
    auswertung.addRow(QVariantList{august, "Hecht", "Baggersee", "August", 1, 900});
    auswertung.addRow(QVariantList{alt, "Zander", "Altarm ", "Juli", 4, 4000});
    gv().blnDSGewaehlt = true;
    LeereFangFelder();
    loadFang(auswertung, 1);
    gv().strModus = "EDIT";
    gv().lngDSNr = 1;
    // Shown beside "Fangjahr:" with its own year, in the grid of its year and month.
    EXPECT_EQ(f->cboFJahr->currentText(), QString("2022"));
    EXPECT_EQ(f->cboSelMonat->currentText(), QString("Juli"));
    EXPECT_EQ(f->lblGesAnz->text(), QString("2"));
    ASSERT_EQ(f->tblFList->rowCount(), 2);
    EXPECT_EQ(zeile(0)[0], QString::number(alt));
    EXPECT_EQ(f->lblAnzahl->text(), QString("2"));
    f->txtAnzahl->setText("6");
    f->Toolbar1_ButtonClick("tbSpeichern");

    EXPECT_EQ(spalte(alt, "FangJahr").toInt(), 2022);
    EXPECT_EQ(spalte(alt, "Anzahl").toInt(), 6);
    EXPECT_EQ(spalte(nachbar, "Anzahl").toInt(), 9);
    ASSERT_EQ(f->tblFList->rowCount(), 2);
    EXPECT_EQ(zeile(0), QStringList({QString::number(alt), "Zander", "Baggersee", "Juli", "6", "4000"}));
    EXPECT_EQ(zeile(1)[0], QString::number(nachbar));
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FangbuchTest, DeletingAsksFirstAndNoLeavesTheCatch)
{
    const struct
    {
        int antwort;
        bool geloescht;
    } faelle[] = {{forms::vbNo, false}, {forms::vbYes, true}};
    for (const auto &fall : faelle) {
        boxes.clear();
        f->tblFList_DblClick(zeileVon(hecht));
        boxes.answer(fall.antwort);
        f->Form_KeyDown(119, 0); // F8
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, QString("ACHTUNG: Fangeintrag wirklich löschen ?"));
        EXPECT_EQ(boxes.last().flags, forms::vbYesNo + forms::vbQuestion);
        EXPECT_EQ(boxes.last().answer, fall.antwort);
        EXPECT_EQ(spalte(hecht, "FangNr").isValid(), !fall.geloescht);
        EXPECT_EQ(zeileVon(hecht) >= 0, !fall.geloescht);
        EXPECT_TRUE(f->lblFNr->text().isEmpty());
        EXPECT_EQ(gv().strModus, QString("SAVE"));
    }
    EXPECT_EQ(f->lblAnzahl->text(), QString("1"));
    EXPECT_EQ(f->lblGesAnz->text(), QString("2"));

    // In SAVE mode F8 asks nothing and deletes nothing.
    boxes.clear();
    f->Form_KeyDown(119, 0);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(anzahlFaenge(), 3);
}

TEST_F(FangbuchTest, AFailedWriteIsRolledBackAndTheGridAndFieldsStay)
{
    db().Execute("CREATE TRIGGER kein_fang BEFORE INSERT ON Fang BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    tippe("Hecht", "Baggersee", "07", "1", "100");
    f->Toolbar1_ButtonClick("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modFangbuch / Routine: SpeicherFang !"));
    EXPECT_EQ(anzahlFaenge(), 4);
    EXPECT_EQ(f->tblFList->rowCount(), 2);
    EXPECT_EQ(f->txtGewicht->text(), QString("100"));
}

TEST_F(FangbuchTest, TheMonthFieldIsCompletedOrRefused)
{
    const struct
    {
        const char *eingabe, *danach, *name;
        bool meldung;
    } faelle[] = {
        {"7", "07", "Juli", false}, {"10", "10", "Oktober", false}, {"13", "", "", true}, {"0", "", "", true},
        {"00", "", "", true},       {"123", "", "", true},          {"", "", "", false},
    };
    for (const auto &fall : faelle) {
        boxes.clear();
        f->txtFangMonat->clear();
        f->txtMonNr->setText(fall.eingabe);
        f->intTastenZaehler = 2;
        f->txtMonNr_LostFocus();
        EXPECT_EQ(f->txtMonNr->text(), QString(fall.danach)) << fall.eingabe;
        EXPECT_EQ(f->txtFangMonat->text(), QString(fall.name)) << fall.eingabe;
        ASSERT_EQ(boxes.count(), fall.meldung ? 1u : 0u) << fall.eingabe;
        if (fall.meldung) {
            EXPECT_EQ(boxes.last().text, Monatsfehler);
        }
        EXPECT_EQ(f->intTastenZaehler, 0);
    }
}

TEST_F(FangbuchTest, AnotherMonthReloadsTheGridAndTheGlobalsAreRestored)
{
    const int fangjahr = db().OpenRecordset("SELECT FJahr FROM System", dao::dbOpenDynaset)(0).Value().toInt();
    f->cboSelMonat->setCurrentText("August");
    f->cboSelMonat_Click();
    ASSERT_EQ(f->tblFList->rowCount(), 1);
    EXPECT_EQ(zeile(0)[0], QString::number(august));
    EXPECT_EQ(f->lblAnzahl->text(), QString("1"));
    EXPECT_EQ(gv().intMonat, testsupport::Heute.month());
    EXPECT_EQ(gv().intJahr, fangjahr);
    EXPECT_EQ(boxes.count(), 0u);

    // A year without catches in that month: the message, an empty grid, a new year count.
    f->cboFJahr->setCurrentText("2022");
    f->cboFJahr_Click();
    EXPECT_EQ(f->tblFList->rowCount(), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, KeineEintraege);
    EXPECT_EQ(f->lblGesAnz->text(), QString("1"));
    EXPECT_EQ(f->pb->maximum(), 1);
    EXPECT_FALSE(f->pb->isVisibleTo(f));

    // During the start-up load the handlers do nothing.
    gv().blnStartLaden = true;
    f->cboSelMonat->setCurrentText("Juli");
    f->cboSelMonat_Click();
    EXPECT_EQ(f->tblFList->rowCount(), 0);
}

TEST_F(FangbuchTest, AnEmptyMonthLoadsSilentlyDuringStartUpOnly)
{
    gv().intMonat = 3;
    for (bool start : {true, false}) {
        boxes.clear();
        gv().blnStartLaden = start;
        f->pb->setMaximum(50);
        modStart::loadTblFList(*f->tblFList, f->pb);
        EXPECT_EQ(f->tblFList->rowCount(), 0);
        EXPECT_EQ(f->pb->maximum(), 1);
        EXPECT_EQ(boxes.count(), start ? 0u : 1u);
    }
    EXPECT_EQ(boxes.last().text, KeineEintraege);
    EXPECT_EQ(boxes.last().flags, forms::vbInformation);
}

TEST_F(FangbuchTest, TheYearCountAndTheYearListFollowTheTable)
{
    f->cboFJahr->setCurrentText("2023");
    EXPECT_EQ(Ermittle_DSAnzahl(), QString("0"));

    const struct
    {
        std::vector<int> jahre;
        int aktuell;
        QStringList liste;
    } faelle[] = {
        {{}, 2000, {"2000"}},
        {{1998, 2000}, 2000, {"1998", "1999", "2000"}},
        {{1998, 1999, 2000}, 2002, {"1998", "1999", "2000", "2002"}},
        {{2003, 2004}, 2001, {"2003", "2004", "2001", "2002"}},
        {{1998, 2004}, 2001, {"1998", "1999", "2000", "2001", "2002", "2003", "2004"}},
    };
    QComboBox liste;
    liste.addItem("alt");
    for (const auto &fall : faelle) {
        db().Execute("DELETE FROM Fang");
        for (int j : fall.jahre)
            fang(j, 1, 1, 1, 1, 1);
        gv().intJahr = fall.aktuell;
        modFAuswert::loadcboFJahr(liste);
        modFAuswert::loadcboFJahr(liste); // filled again: no year twice
        QStringList ist;
        for (int i = 0; i < liste.count(); ++i)
            ist << liste.itemText(i);
        EXPECT_EQ(ist, fall.liste) << fall.aktuell;
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FangbuchTest, TheModeResetAndTheEmptiedFields)
{
    f->tblFList_DblClick(0);
    gv().lngDSNr = 1;
    SetzeSpeicherModus();
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_EQ(gv().lngDSNr, 0);

    // A deactivation in EDIT empties the fields and with them leaves EDIT; a save then stops at
    // the input check.
    f->Show();
    f->tblFList_DblClick(0);
    f->Hide();
    EXPECT_TRUE(f->lblFNr->text().isEmpty());
    EXPECT_TRUE(f->txtAnzahl->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    f->Show();
    boxes.clear();
    f->Form_KeyDown(114, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, eingabefehler("Fischart, Gewässer, Fangmonat, Anzahl, Gewicht"));
    EXPECT_EQ(anzahlFaenge(), 4);

    // An EDIT left over without a catch loaded here: a full entry is inserted, not lost.
    gv().strModus = "EDIT";
    tippe("Zander", "Baggersee", "07", "1", "700");
    f->Form_KeyDown(114, 0);
    EXPECT_EQ(anzahlFaenge(), 5);
    EXPECT_EQ(f->tblFList->rowCount(), 3);
    EXPECT_EQ(boxes.count(), 1u);

    // Unloading the shown window empties its own fields and leaves no other instance behind.
    f->tblFList_DblClick(0);
    f->Unload();
    EXPECT_FALSE(forms::isLoaded<Fangbuch>());
}

// The year's count follows every write of the shown window: a save, a change that moves a catch
// to another month, a delete.
TEST_F(FangbuchTest, TheYearsCountFollowsEverySaveMoveAndDelete)
{
    for (int i = 0; i < 8; ++i)
        fang(2024, 7, 1 + i % 2, 1, 1, 100 + i);
    f->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    const int juli = f->cboSelMonat->findText("Juli");
    f->cboSelMonat->setCurrentIndex(juli);
    emit f->cboSelMonat->activated(juli);
    ASSERT_EQ(f->lblGesAnz->text(), QString("11"));
    ASSERT_EQ(f->tblFList->rowCount(), 10);
    const auto doppelklick = [&](int row) {
        QTableView *view = f->tblFList->view();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                           view->visualRect(view->model()->index(row, 1)).center());
    };

    // Deleted with F8 and "Ja".
    doppelklick(0);
    ASSERT_EQ(gv().strModus, QString("EDIT"));
    boxes.answer(forms::vbYes);
    QTest::keyClick(f->txtMonNr, Qt::Key_F8);
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(f->lblAnzahl->text(), QString("9"));
    EXPECT_EQ(f->lblGesAnz->text(), QString("10"));

    // Moved to August (leaves the grid), then one saved anew: each keeps the year's count.
    doppelklick(0);
    f->txtMonNr->setText("08");
    QTest::keyClick(f->txtMonNr, Qt::Key_F3);
    EXPECT_EQ(f->lblAnzahl->text(), QString("8"));
    EXPECT_EQ(f->lblGesAnz->text(), QString("10"));
    tippe("Zander", "Baggersee", "07", "1", "700");
    QTest::keyClick(f->txtGewicht, Qt::Key_F3);
    EXPECT_EQ(f->lblAnzahl->text(), QString("9"));
    EXPECT_EQ(f->lblGesAnz->text(), QString("11"));
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(f->lblGesAnz->text().toLongLong(), zahl("SELECT COUNT(*) FROM Fang WHERE FangJahr = 2024"));
}

TEST_F(FangbuchTest, TheRightIsReadFromTheDatabaseAtEveryCall)
{
    db().Close();
    core::einstiege().startschritte = {};
    core::einstiege().startschritte.zeigeLogin = [] {};
    Main &main = forms::form<Main>();
    ASSERT_TRUE(gv().dbDaten.IsOpen());
    main.StatusBar1->setPanelText(4, "Verwalter");
    EXPECT_TRUE(FangbuchZugriff_Erlaubt());
    db().Execute("UPDATE Gruppen SET Fangbuch = 0");
    EXPECT_FALSE(FangbuchZugriff_Erlaubt());
    db().Execute("UPDATE Gruppen SET Fangbuch = 1");
    main.StatusBar1->setPanelText(4, "verwalter"); // the name as logged in, exactly
    EXPECT_FALSE(FangbuchZugriff_Erlaubt());
    main.StatusBar1->setPanelText(4, "x' OR '1'='1");
    EXPECT_FALSE(FangbuchZugriff_Erlaubt());
    EXPECT_EQ(boxes.count(), 0u);
    core::einstiege().startschritte = {};
}

TEST_F(FangbuchTest, TheRegistrationLetsTheCoreReachTheCatchLog)
{
    fishery::RegistriereFangbuch();
    EXPECT_EQ(core::Fenster("Fangbuch"), f);
    gv().intMonat = 8;
    modStart::loadTblFList(nullptr);
    ASSERT_EQ(f->tblFList->rowCount(), 1);
    EXPECT_EQ(zeile(0)[0], QString::number(august));
    ASSERT_TRUE(core::einstiege().bereiche.FangbuchZugriff_Erlaubt);
    core::LeereEinstiege();
}

TEST_F(FangbuchTest, TwoDigitsInTheMonthFieldMoveOnToTheCountOtherKeysNotCounting)
{
    forms::RecordingBeep beep;
    f->Show();
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    f->txtMonNr->setFocus();
    // A refused letter, Backspace and Enter count for nothing.
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Backspace, Qt::Key_Return})
        QTest::keyClick(f->txtMonNr, key);
    EXPECT_EQ(f->intTastenZaehler, 0);
    EXPECT_EQ(beep.count(), 1);
    QTest::keyClick(f->txtMonNr, Qt::Key_0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f->txtMonNr->hasFocus());
    QTest::keyClick(f->txtMonNr, Qt::Key_7);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f->txtAnzahl->hasFocus());
    EXPECT_EQ(f->txtMonNr->text(), QString("07"));
    EXPECT_EQ(f->txtFangMonat->text(), QString("Juli"));
    EXPECT_EQ(f->intTastenZaehler, 0);
}
