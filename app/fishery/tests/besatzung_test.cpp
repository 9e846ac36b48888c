#include "fishery/Besatzung.h"
#include "fishery/modBesatzList.h"
#include "fishery/modBesatzListDruck.h"

#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"

#include "common/testing/file_limit.h"

#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "office/fakeoffice.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"
#include "report/preview.h"
#include "report/report.h"
#include "testsupport/today.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <ostream>

namespace {

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
const QString LeeresJahr = QStringLiteral("Keine Einträge für dieses Jahr vorhanden !");
const QString Loeschfrage = QStringLiteral("ACHTUNG: Besatzungseintrag wirklich löschen ?");

// The plan of this year (entries 1 and 3) and of last year (entry 2), two fish species, two
// waters, and catches of last year and three years ago, so that the year list offers four years.
class BesatzungTest : public apptest::ProgramTest
{
protected:
    BesatzungTest() : ProgramTest(Datenbank::Geoeffnet) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        db().Execute("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
        db().Execute("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Altarm')");
        db().Execute("INSERT INTO Besatzung (BJahr, FNr, GNr, Zeit, Menge) VALUES (?, 1, 1, 'Frühjahr', 12.5), "
                     "(?, 2, 2, 'Herbst', 3), (?, 2, 1, '', 7)",
                     {heute, heute - 1, heute});
        db().Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Anzahl, Gewicht) VALUES (?, 1, 1, 1, 1, 1), "
                     "(?, 1, 1, 1, 1, 1)",
                     {heute - 1, heute - 3});

        auto &g = gv();
        g.intJahr = heute;
        g.blnStartLaden = true;
        modStart::loadTblFBasis();
        modStart::loadTblGBasis();
        fishery::RegistriereBesatzung();
        modStart::loadTblBList();
        g.blnStartLaden = false;
        w = forms::loadedForm<Besatzung>();
        ASSERT_NE(w, nullptr);
        w->resize(800, 600);
        w->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        boxes.clear();
    }

    static dao::Database &db() { return gv().dbDaten; }
    static long long anzahl()
    {
        return db()
            .OpenRecordset("SELECT COUNT(*) AS Expr1000 FROM Besatzung", dao::dbOpenDynaset)(0)
            .Value()
            .toLongLong();
    }
    static QVariant spalte(qlonglong nr, const char *name)
    {
        return feld("SELECT * FROM Besatzung WHERE BNr = ?", nr, name);
    }
    static qlonglong letzte()
    {
        return db()
            .OpenRecordset("SELECT MAX(BNr) AS Expr1000 FROM Besatzung", dao::dbOpenDynaset)(0)
            .Value()
            .toLongLong();
    }

    void klicke(const char *key)
    {
        QAction *a = w->Toolbar1->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr) << key;
        QTest::mouseClick(w->Toolbar1->widgetForAction(a), Qt::LeftButton);
    }
    void tippe(QLineEdit *feld, const QString &text)
    {
        feld->setFocus();
        feld->clear();
        QTest::keyClicks(feld, text);
    }
    void tippe(QComboBox *cbo, const QString &text)
    {
        cbo->setFocus();
        cbo->clearEditText();
        QTest::keyClicks(cbo->lineEdit(), text);
    }
    void fuelleAus(const QString &fisch, const QString &gewaesser, const QString &zeit, const QString &menge)
    {
        tippe(w->cboFArt, fisch);
        tippe(w->cboGName, gewaesser);
        w->txtZeit->setText(zeit); // free text, no key filter
        tippe(w->txtMenge, menge);
    }
    void doppelklick(int row)
    {
        QApplication::processEvents();
        QTableView *view = w->tblBList->view();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                           view->visualRect(view->model()->index(row, 1)).center());
    }
    // The user picks a year from the list.
    void waehleJahr(int jahr)
    {
        const int i = w->cboBJahr->findText(QString::number(jahr));
        ASSERT_GE(i, 0) << jahr;
        w->cboBJahr->setCurrentIndex(i);
        emit w->cboBJahr->activated(i);
    }
    QStringList zeile(int r) const
    {
        QStringList z;
        for (int c = 0; c < 5; ++c)
            z << w->tblBList->text(r, c);
        return z;
    }
    QStringList nummern() const
    {
        QStringList n;
        for (int r = 0; r < w->tblBList->rowCount(); ++r)
            n << w->tblBList->text(r, 0);
        return n;
    }

    const int heute = testsupport::Heute.year();
    Besatzung *w = nullptr;
};

} // namespace

TEST_F(BesatzungTest, TheWindowShowsThePlanOfTheYear)
{
    EXPECT_EQ(w->windowTitle(), QString("Besatz - Plan"));
    EXPECT_EQ(w->Ueberschrift->text(), QString("BESATZ - PLAN"));
    EXPECT_EQ(w->Frame1->title(), QString("Besatzung"));
    const QString spalten[] = {"Besatz.-Nr", "Fischart", "Gewässer", "Zeitpkt.", "Menge i. Kg"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(w->tblBList->top().columnCaption(c), spalten[c]);
    ASSERT_EQ(w->tblBList->rowCount(), 2);
    EXPECT_EQ(zeile(0), QStringList({"1", "Hecht", "Baggersee", "Frühjahr", "12,50"}));
    EXPECT_EQ(zeile(1), QStringList({"3", "Zander", "Baggersee", "", "7,00"}));
    EXPECT_EQ(w->lblAnzahl->text(), QString("2"));
    EXPECT_EQ(w->cboBJahr->currentText(), QString::number(heute));
    EXPECT_EQ(w->cboBJahr->count(), 4);
    EXPECT_EQ(w->cboFArt->count(), 2);
    EXPECT_TRUE(w->cboFArt->currentText().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    for (const char *key : {"tbExcel", "tbVorschau", "tbDruck"})
        EXPECT_TRUE(w->Toolbar1->findChild<QAction *>(key)->isEnabled()) << key;
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(BesatzungTest, AQuantityWithADecimalCommaIsStoredAsTypedToTwoDecimals)
{
    const struct
    {
        const char *getippt;
        double gespeichert;
        const char *gezeigt;
        const char *zeit;
    } faelle[] = {
        {"12,5", 12.5, "12,50", "März"},
        {"3", 3.0, "3,00", ""},
        {"0,125", 0.13, "0,13", "Herbst"},
        {"7,", 7.0, "7,00", ""},
        {",5", 0.5, "0,50", ""},
        {"1234,56", 1234.56, "1234,56", ""},
        {"9999999999999,99", 9999999999999.99, "9999999999999,99", ""}, // the largest the column keeps exactly
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.getippt);
        const int zeilen = w->tblBList->rowCount();
        fuelleAus("Zander", "Altarm", fall.zeit, fall.getippt);
        klicke("tbSpeichern");
        EXPECT_EQ(boxes.count(), 0u);
        const qlonglong neu = letzte();
        EXPECT_DOUBLE_EQ(spalte(neu, "Menge").toDouble(), fall.gespeichert);
        EXPECT_EQ(spalte(neu, "BJahr").toInt(), heute);
        EXPECT_EQ(spalte(neu, "FNr").toInt(), 2);
        EXPECT_EQ(spalte(neu, "GNr").toInt(), 2);
        EXPECT_EQ(spalte(neu, "Zeit").toString(), QString(fall.zeit));
        ASSERT_EQ(w->tblBList->rowCount(), zeilen + 1);
        EXPECT_EQ(zeile(zeilen), QStringList({QString::number(neu), "Zander", "Altarm", fall.zeit, fall.gezeigt}));
        EXPECT_TRUE(w->tblBList->top().isRowSelected(zeilen));
        EXPECT_EQ(w->lblAnzahl->text(), QString::number(zeilen + 1));
        EXPECT_TRUE(w->txtMenge->text().isEmpty());
        EXPECT_TRUE(w->cboFArt->currentText().isEmpty());
        EXPECT_TRUE(w->lblBNr->text().isEmpty());
        EXPECT_EQ(gv().strModus, QString("SAVE"));
    }
}

TEST_F(BesatzungTest, TheQuantityBoxRefusesAFullStopAndLetters)
{
    forms::RecordingBeep beep;
    tippe(w->txtMenge, "12.5kg");
    EXPECT_EQ(w->txtMenge->text(), QString("125"));
    EXPECT_EQ(beep.count(), 3);
}

TEST_F(BesatzungTest, AnIncompleteOrUnusableEntryIsRefusedAndNothingIsStored)
{
    const struct
    {
        const char *fisch, *gewaesser, *menge;
    } faelle[] = {
        {"Hecht", "Baggersee", ""},                     // no quantity
        {"", "Baggersee", "5"},                         // no species
        {"Hecht", "", "5"},                             // no water
        {"Wels", "Baggersee", "5"},                     // no such species
        {"Hecht", "Stausee", "5"},                      // no such water
        {"Hecht", "Baggersee", "12.5"},                 // pasted with a full stop
        {"Hecht", "Baggersee", "zwölf"},                // pasted letters
        {"Hecht", "Baggersee", "-3"},                   // pasted below zero
        {"Hecht", "Baggersee", "1e400"},                // pasted, no figure
        {"Hecht", "Baggersee", "99999999999999999999"}, // more digits than the column keeps
        {"Hecht", "Baggersee", "10000000000000"},       // fourteen digits before the comma
        {"Hecht", "Baggersee", "9999999999999,999"},    // rounds up to fourteen digits
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(std::string(fall.fisch) + "/" + fall.gewaesser + "/" + fall.menge);
        boxes.clear();
        tippe(w->cboFArt, fall.fisch);
        tippe(w->cboGName, fall.gewaesser);
        w->txtZeit->setText("Notiz");
        w->txtMenge->setText(fall.menge);
        klicke("tbSpeichern");
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_EQ(anzahl(), 3);
        EXPECT_EQ(w->tblBList->rowCount(), 2);
        EXPECT_EQ(w->txtZeit->text(), QString("Notiz"));
    }
    // A quantity of more than 400 digits is no figure either.
    boxes.clear();
    fuelleAus("Hecht", "Baggersee", "", QString(400, u'9'));
    klicke("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.count(Eingabefehler), 1u);
    EXPECT_EQ(anzahl(), 3);
}

TEST_F(BesatzungTest, AChangedEntryKeepsItsRowAndTheRowIsFoundByItsNumber)
{
    doppelklick(1);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(gv().lngDSNr, 1);
    EXPECT_EQ(w->lblBNr->text(), QString("3"));
    EXPECT_EQ(w->cboFArt->currentText(), QString("Zander"));
    EXPECT_EQ(w->cboGName->currentText(), QString("Baggersee"));
    EXPECT_EQ(w->txtMenge->text(), QString("7,00"));

    gv().lngDSNr = 0; // another window chose its row 0 meanwhile
    tippe(w->txtMenge, "8,75");
    tippe(w->cboFArt, "hecht");
    klicke("tbSpeichern");
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_DOUBLE_EQ(spalte(3, "Menge").toDouble(), 8.75);
    EXPECT_EQ(spalte(3, "FNr").toInt(), 1);
    EXPECT_EQ(zeile(0), QStringList({"1", "Hecht", "Baggersee", "Frühjahr", "12,50"}));
    EXPECT_EQ(zeile(1), QStringList({"3", "Hecht", "Baggersee", "", "8,75"}));
    EXPECT_TRUE(w->tblBList->top().isRowSelected(1));
    EXPECT_EQ(w->lblAnzahl->text(), QString("2"));
    EXPECT_EQ(anzahl(), 3);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_TRUE(w->lblBNr->text().isEmpty());
}

TEST_F(BesatzungTest, ARefusedChangeStaysInEditSoTheNextSaveDoesNotDuplicate)
{
    doppelklick(0);
    w->txtMenge->clear();
    klicke("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(w->lblBNr->text(), QString("1"));

    tippe(w->txtMenge, "4,5");
    klicke("tbSpeichern");
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(anzahl(), 3);
    EXPECT_DOUBLE_EQ(spalte(1, "Menge").toDouble(), 4.5);
    EXPECT_EQ(w->tblBList->rowCount(), 2);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(BesatzungTest, DeletingAsksFirstAndNoOnlyEmptiesTheFields)
{
    const struct
    {
        int antwort;
        bool geloescht;
    } faelle[] = {{forms::vbNo, false}, {forms::vbYes, true}};
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.antwort);
        boxes.clear();
        doppelklick(0);
        boxes.answer(fall.antwort);
        klicke("tbLoeschen");
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, Loeschfrage);
        EXPECT_EQ(boxes.last().flags, forms::vbYesNo + forms::vbQuestion);
        EXPECT_EQ(boxes.last().answer, fall.antwort);
        EXPECT_EQ(spalte(1, "BNr").isValid(), !fall.geloescht);
        EXPECT_EQ(nummern(), fall.geloescht ? QStringList({"3"}) : QStringList({"1", "3"}));
        EXPECT_EQ(w->lblAnzahl->text(), fall.geloescht ? QString("1") : QString("2"));
        EXPECT_TRUE(w->lblBNr->text().isEmpty());
        EXPECT_TRUE(w->txtMenge->text().isEmpty());
        EXPECT_EQ(gv().strModus, QString("SAVE"));
    }
    // In SAVE mode the key does nothing.
    boxes.clear();
    klicke("tbLoeschen");
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(anzahl(), 2);
}

TEST_F(BesatzungTest, ChoosingAYearReloadsTheGridAndRestoresTheProgramYear)
{
    waehleJahr(heute - 1);
    EXPECT_EQ(nummern(), QStringList({"2"}));
    EXPECT_EQ(w->lblAnzahl->text(), QString("1"));
    EXPECT_EQ(gv().intJahr, heute);
    EXPECT_EQ(boxes.count(), 0u);

    waehleJahr(heute - 2);
    EXPECT_EQ(w->tblBList->rowCount(), 0);
    EXPECT_EQ(w->lblAnzahl->text(), QString("0"));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, LeeresJahr);
    EXPECT_EQ(gv().intJahr, heute);

    // A new entry goes to the year shown, and into its grid.
    waehleJahr(heute - 1);
    fuelleAus("Hecht", "Altarm", "", "2");
    klicke("tbSpeichern");
    EXPECT_EQ(spalte(letzte(), "BJahr").toInt(), heute - 1);
    EXPECT_EQ(nummern(), QStringList({"2", QString::number(letzte())}));
}

TEST_F(BesatzungTest, ActivationKeepsTheYearBoxAndTheGridOnTheSameYear)
{
    waehleJahr(heute - 1);
    ASSERT_EQ(nummern(), QStringList({"2"}));
    w->Hide();
    w->Show();
    EXPECT_EQ(w->cboBJahr->currentText(), QString::number(heute));
    EXPECT_EQ(nummern(), QStringList({"1", "3"}));
    EXPECT_EQ(w->lblAnzahl->text(), QString("2"));
    EXPECT_EQ(w->cboBJahr->count(), 4); // refilled, not doubled

    // So a new entry is stored with the year shown and appears in the grid.
    fuelleAus("Hecht", "Altarm", "", "2");
    klicke("tbSpeichern");
    EXPECT_EQ(spalte(letzte(), "BJahr").toInt(), heute);
    EXPECT_EQ(w->tblBList->rowCount(), 3);
    // And a row of the grid loads (the load asks for the year in the box).
    doppelklick(0);
    EXPECT_EQ(w->lblBNr->text(), QString("1"));
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(BesatzungTest, ADeactivationInEditEmptiesTheFieldsAndASaveStopsAtTheCheck)
{
    doppelklick(0);
    w->Hide();
    EXPECT_TRUE(w->lblBNr->text().isEmpty());
    EXPECT_TRUE(w->txtMenge->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE")) << "emptied fields hold no entry for change";
    w->Show();
    klicke("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(anzahl(), 3);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(BesatzungTest, AFailedWriteIsRolledBackAndNothingIsLost)
{
    db().Execute("CREATE TRIGGER kein_besatz BEFORE INSERT ON Besatzung BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    db().Execute(
        "CREATE TRIGGER keine_aenderung BEFORE UPDATE ON Besatzung BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    fuelleAus("Hecht", "Baggersee", "", "1,5");
    klicke("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modBesatzList / Routine: SpeicherEintrag !"));
    EXPECT_EQ(anzahl(), 3);
    EXPECT_EQ(w->tblBList->rowCount(), 2);
    EXPECT_EQ(w->txtMenge->text(), QString("1,5"));
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    boxes.clear();
    doppelklick(0);
    tippe(w->txtMenge, "99");
    klicke("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modBesatzList / Routine: UpdateEintrag !"));
    EXPECT_DOUBLE_EQ(spalte(1, "Menge").toDouble(), 12.5);
    EXPECT_EQ(zeile(0)[4], QString("12,50"));
    EXPECT_EQ(w->txtMenge->text(), QString("99"));
    EXPECT_EQ(gv().strModus, QString("EDIT")); // still loaded: the next save changes it
}

// A look-up of species or water that fails (another program holds the database, a table that
// cannot be read) is reported once by the look-up; the input is not blamed, nothing is written,
// and a loaded entry stays loaded.
TEST_F(BesatzungTest, AFailedLookUpIsReportedOnceAndTheInputIsNotBlamed)
{
    struct Fall
    {
        const char *name;
        bool geladen;       // an entry loaded for change
        bool gesperrt;      // another program holds the database; else the table is gone
        const char *nummer; // the error number of the look-up's box
    };
    const Fall faelle[] = {
        {"new entry, database in use", false, true, "3218"},
        {"changed entry, species table gone", true, false, "3078"},
        {"new entry, species table gone", false, false, "3078"},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        boxes.clear();
        if (f.geladen) {
            doppelklick(0);
            ASSERT_EQ(gv().strModus, QString("EDIT"));
        } else {
            w->LeereBesatzFelder();
        }
        fuelleAus("Zander", "Altarm", "Mai", "2,5");
        std::optional<dao::Database> andere;
        if (f.gesperrt) {
            andere.emplace(dao::DBEngine::Workspaces(0).OpenDatabase(modStart::Datenbankpfad(), true, false,
                                                                     modStart::Verbindung));
            andere->Execute("CREATE TABLE Sperre (Nr INTEGER)"); // holds the file from now on
        } else {
            db().Execute("ALTER TABLE Fisch RENAME TO FischWeg");
        }
        klicke("tbSpeichern");
        if (andere)
            andere->Close();
        else
            db().Execute("ALTER TABLE FischWeg RENAME TO Fisch");
        ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: ") + f.nummer);
        EXPECT_TRUE(
            boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modFangbuch / Routine: ErmittleFischNr !"))
            << boxes.last().text.toStdString();
        EXPECT_EQ(anzahl(), 3);
        EXPECT_DOUBLE_EQ(spalte(1, "Menge").toDouble(), 12.5);
        EXPECT_EQ(w->txtMenge->text(), QString("2,5")) << "the entry stays for another try";
        EXPECT_EQ(gv().strModus, QString(f.geladen ? "EDIT" : "SAVE"));
    }
}

TEST_F(BesatzungTest, AnEntryWhoseSpeciesWasDeletedCanStillBeDeleted)
{
    db().Execute("DELETE FROM Fisch WHERE FName = 'Zander'");
    waehleJahr(heute);
    ASSERT_EQ(zeile(1), QStringList({"3", "", "Baggersee", "", "7,00"}));
    doppelklick(1);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(w->lblBNr->text(), QString("3"));
    EXPECT_TRUE(w->cboFArt->currentText().isEmpty());
    boxes.answer(forms::vbYes);
    klicke("tbLoeschen");
    EXPECT_FALSE(spalte(3, "BNr").isValid());
    EXPECT_EQ(nummern(), QStringList({"1"}));
}

TEST_F(BesatzungTest, TheFileKeyAsksFirstAndWritesTheShownPlanOnlyWithRows)
{
    office::FakeOffice office;
    ASSERT_TRUE(QDir(home.path()).mkdir("SeqData"));
    const QString datei = home.filePath("SeqData/BPLAN.csv");
    EXPECT_TRUE(w->Toolbar1->findChild<QAction *>("tbExcel")->isEnabled());

    const QString Frage =
        "Wollen Sie eine in Excel zu importierende Datei mit der Bezeichnung - BPLAN.csv - erzeugen ?\n\r"
        "ACHTUNG: Der Datei liegen die in der Tabelle angezeigten Daten zugrunde ! Wollen Sie die Datei jetzt erzeugen "
        "?";
    boxes.answer(forms::vbNo);
    klicke("tbExcel");
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, Frage);
    EXPECT_EQ(boxes.boxes()[1].text, QString("Vorgang von User abgebrochen !"));
    EXPECT_FALSE(QFile::exists(datei));

    // Yes, then No to the spreadsheet program: the file stays and nothing is started.
    boxes.clear();
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbOK);
    boxes.answer(forms::vbNo);
    klicke("tbExcel");
    ASSERT_EQ(boxes.count(), 3u);
    // The box names the folder and the file as written.
    EXPECT_EQ(boxes.boxes()[1].text,
              "Datei - BPLAN.csv - wurde erfolgreich im Pfad: " + home.filePath("SeqData") + "/ erstellt !");
    EXPECT_EQ(boxes.boxes()[2].text, QString("Möchten Sie jetzt Excel starten ?"));
    EXPECT_TRUE(office.calls.isEmpty());
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // This year's entries as the grid shows them; an empty time gives two semicolons in a row.
    EXPECT_EQ(f.readAll(), QByteArray("Besatz.- Nr;Fischart;Gew\xe4sser;Zeitpunkt;Menge i. KG;\r\n"
                                      "1;Hecht;Baggersee;Fr\xfchjahr;12,50;\r\n"
                                      "3;Zander;Baggersee;;7,00;\r\n"));
    f.close();

    waehleJahr(heute - 2);
    EXPECT_EQ(boxes.last().text, LeeresJahr);
    boxes.clear();
    boxes.answer(forms::vbYes);
    klicke("tbExcel");
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().text,
              QString("Keine Daten zum erzeugen der Datei - BPLAN.csv - gefunden, der Vorgang wird abgebrochen !"));
    EXPECT_TRUE(office.calls.isEmpty());
}

TEST_F(BesatzungTest, AFileSystemThatRefusesTheWriteKeepsTheOldPlanAndShowsTheError)
{
    office::FakeOffice office;
    ASSERT_TRUE(QDir(home.path()).mkdir("SeqData"));
    const QString datei = home.filePath("SeqData/BPLAN.csv");
    {
        QFile alt(datei);
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alt;\r\n");
    }
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbOK);
    {
        // As on a full disk: the new file's first write is cut short, the next is refused.
        vbtest::FileSizeLimit grenze(16);
        ASSERT_TRUE(grenze.active());
        klicke("tbExcel");
    }
    ASSERT_EQ(boxes.count(), 2u) << apptest::texte(boxes);
    EXPECT_EQ(boxes.last().text,
              QString("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen des Besatzungsplanes - BPLAN.csv - auf !\r\n"
                      "Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist."));
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("alt;\r\n"));
    EXPECT_EQ(QDir(home.filePath("SeqData")).entryList(QDir::Files | QDir::Hidden), QStringList{"BPLAN.csv"});
    EXPECT_TRUE(office.calls.isEmpty());
}

TEST_F(BesatzungTest, ADatabaseFileDeletedOrMovedWhileOpenIsReportedAsMissingNotAsWriteProtected)
{
    const QString datei = dbPfad();
    struct Fall
    {
        const char *name;
        std::function<bool()> weg;
    } faelle[] = {
        {"moved", [&] { return QFile::rename(datei, datei + ".woanders"); }},
        {"deleted",
         [&] {
             // The moved file back under its name first, then gone.
             return QFile::rename(datei + ".woanders", datei) && QFile::remove(datei);
         }},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        const int zeilen = w->tblBList->rowCount();
        ASSERT_TRUE(f.weg());
        fuelleAus("Zander", "Altarm", "", "3");
        boxes.clear();
        klicke("tbSpeichern");
        ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
        const QString text = boxes.last().text;
        EXPECT_TRUE(text.startsWith("Unvorhergesehener Fehler in Modul: modBesatzList")) << text.toStdString();
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3024"));
        EXPECT_TRUE(text.contains("ist nicht mehr vorhanden (seit dem Öffnen gelöscht oder verschoben)"))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QFileInfo(datei).fileName())) << text.toStdString();
        EXPECT_FALSE(text.contains("schreibgeschützt")) << text.toStdString();
        EXPECT_EQ(w->tblBList->rowCount(), zeilen);
    }
}

TEST_F(BesatzungTest, APrintOutNamesTheGridsYearAndKeepsALoadedEntryLoaded)
{
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    waehleJahr(heute - 1);
    doppelklick(0);
    klicke("tbDruck");
    EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastRows, 1);
    EXPECT_EQ(modBesatzList::rpt_BesatzListe().PageHeader().Controls("lblUeb").Caption,
              QString("Besatz - Plan für das Fangjahr ") + QString::number(heute - 1));

    // The entry stays loaded: the next save changes it.
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    tippe(w->txtMenge, "13");
    klicke("tbSpeichern");
    EXPECT_EQ(anzahl(), 3);
    EXPECT_DOUBLE_EQ(spalte(2, "Menge").toDouble(), 13.0);

    // After the print-out the next activation refills nothing.
    EXPECT_TRUE(modGVar::KeinNeuLaden(*w));
    w->cboBJahr->addItem("1999");
    w->Hide();
    w->Show();
    EXPECT_EQ(w->cboBJahr->count(), 5);
    EXPECT_FALSE(modGVar::KeinNeuLaden(*w));
}

TEST_F(BesatzungTest, ThePrintKeyPrintsThePlanTheGridShowsWithItsYear)
{
    ASSERT_TRUE(pdftext::Available()) << "pdftotext (poppler-utils) reads the printed page back";
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    drucker.pdfPath = home.filePath(QStringLiteral("besatzplan.pdf"));
    ASSERT_EQ(nummern(), QStringList({"1", "3"}));
    klicke("tbDruck");
    EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
    ASSERT_EQ(drucker.printed, 1);
    const QString t = pdftext::Text(drucker.pdfPath);
    EXPECT_EQ(pdftext::NotInOrder(t, {"Besatz - Plan für das Fangjahr " + QString::number(heute),
                                      "B-Nr:", "Fischart:", "Gewässer:", "Zeitpunkt:", "Menge i. Kg:", "1", "Hecht",
                                      "Baggersee", "Frühjahr", "12,50", "3", "Zander", "Baggersee", "7,00"}),
              std::string())
        << t.toStdString();
    EXPECT_EQ(pdftext::Count(t, "Herbst"), 0) << "another year's entry";
}

TEST_F(BesatzungTest, ThePreviewKeyShowsThePlanWithoutAPrinter)
{
    report::FakePrinters keiner;
    waehleJahr(heute - 1);
    boxes.clear();
    klicke("tbVorschau");
    EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
    EXPECT_EQ(keiner.dialogs, 0);
    QPointer<QWidget> v = modBesatzList::rpt_BesatzListe().window();
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->windowTitle(), QString("Besatz - Plan"));
    auto *p = qobject_cast<report::PreviewWindow *>(v.data());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->document().rows->values.size(), 1);
    EXPECT_EQ(modBesatzList::rpt_BesatzListe().PageHeader().Controls("lblUeb").Caption,
              QString("Besatz - Plan für das Fangjahr ") + QString::number(heute - 1));
}

TEST_F(BesatzungTest, TheRegistrationLetsTheCoreReachTheWindowAndItsGrid)
{
    EXPECT_EQ(core::Fenster("Besatzung"), w);
    EXPECT_EQ(w->intGridJahr, heute);
    gv().intJahr = heute - 1;
    modStart::loadTblBList();
    EXPECT_EQ(w->intGridJahr, heute - 1);
    EXPECT_EQ(nummern(), QStringList({"2"}));
}
