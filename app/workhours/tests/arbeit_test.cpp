// The work-hours window driven as a user drives it: a member taken over, entries booked, changed
// and deleted through the toolbar, with the sums and the balance, and the bad input of the hours
// and date fields.
#include "mitgllist_fixture.h"
#include "workhours/Arbeit.h"
#include "workhours/MitglList.h"
#include "workhours/modArbeit.h"

#include "contacts/Datumsfeld.h"
#include "contacts/SuchKont.h"
#include "contacts/modKontakt.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"

#include "com/com.h"
#include "com/variant.h"
#include "core/Info.h"
#include "core/modDruck.h"
#include "dao/dao.h"
#include "dao/oledate.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "ole/container.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"
#include "report/preview.h"
#include "workhours/modArbeitDruck.h"

#include "LzDateEdit.h"
#include "testsupport/today.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <gtest/gtest.h>

namespace {

using apptest::texte;

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
const QString DSFehlt = QStringLiteral("FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !");
const QString Befreit = QStringLiteral(
    "Mitglied ist von Arb.-Std. befreit ! Übernahme ins Arbeitscontrolling wurde abgebrochen !\r\n"
    "Um eine Stundenverwaltung zu ermöglichen, müssen Sie erst den Status auf - nicht Befreit - setzen.\r\n"
    "Nähere Angaben dazu enthält die Online - Hilfe !");
const QString Loeschfrage = QStringLiteral("ACHTUNG: Arbeitvorgang wirklich löschen ?");

// Members at the start (required hours 20):
//   1 Meier Hans, not exempt: 2024 entries of 12.5 and 10 hours, 2023 one of 5 hours
//   2 Schulz Eva, exempt
//   3 Nord Jan, a supplier (no member record)
class ArbeitTest : public apptest::ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mitgltest::bibliothekenRegistriert()) << "control libraries could not be registered";
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        modStart::OeffneDatenbank();
        gv().intJahr = 2024;
        db().Execute("UPDATE System SET FJahr = 2024, PflichtStd = 20");
        db().Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten')");
        db().Execute("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES "
                     "(1, 1, 'Meier', 'Hans'), (2, 1, 'Schulz', 'Eva'), (3, 3, 'Nord', 'Jan')");
        db().Execute("INSERT INTO Mitglied (KNr, Befreit) VALUES (1, 0), (2, 1)");
        eintrag(1, 2024, QDate(2024, 3, 2), 12.5, "Uferpflege");
        eintrag(1, 2024, QDate(2024, 5, 4), 10, "Steg");
        eintrag(1, 2023, QDate(2023, 6, 1), 5, "");
        auto &erw = core::einstiege().kontaktwerkzeuge;
        erw.ZeigeSuchKont = [this] { ++suchGezeigt; };
        erw.LeereSuchKont = [this] { ++suchGeleert; };
        erw.EntladeSuchKont = [this] { ++suchEntladen; };
        workhours::RegistriereArbeit();
        f = &workhours::ArbeitFenster();
        f->resize(900, 700);
        f->show();
        QApplication::processEvents();
        suchGezeigt = 0;
        boxes.clear();
    }
    void TearDown() override
    {
        modDruck::VerwerfeBerichte();
        ProgramTest::TearDown();
    }

    static dao::Database &db() { return gv().dbDaten; }
    static qlonglong eintrag(qlonglong knr, int jahr, QDate datum, double stunden, const QString &notiz)
    {
        db().Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (?, ?, ?, ?, ?)",
                     {knr, jahr, dao::ToOleDate(datum), stunden, notiz});
        return zahl("SELECT MAX(ArbNr) AS Expr1000 FROM Arbeit");
    }
    static qlonglong zahl(dao::Sql sql, const QVariantList &p = {})
    {
        dao::Recordset rs = db().OpenRecordset(sql, dao::dbOpenDynaset, p);
        return rs.Eof() ? 0 : rs(0).Value().toLongLong();
    }
    static QVariant spalte(qlonglong arbNr, const char *name)
    {
        return feld("SELECT * FROM Arbeit WHERE ArbNr = ?", arbNr, name);
    }
    static qlonglong anzahl() { return zahl("SELECT COUNT(*) AS Expr1000 FROM Arbeit"); }

    void knopf(const char *key)
    {
        QAction *a = f->Toolbar1->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_TRUE(a) << key;
        QWidget *w = f->Toolbar1->widgetForAction(a);
        ASSERT_TRUE(w && w->isVisible()) << key;
        klicke(w, w->rect().center());
    }
    // A double-click on the grid row that shows entry arbNr.
    void doppelklick(qlonglong arbNr)
    {
        QTableView *view = f->tblArbStd->view();
        f->tblArbStd->top().flush();
        QAbstractItemModel *m = view->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            for (int c = 0; c < m->columnCount(); ++c) {
                const QModelIndex i = m->index(r, c);
                if (m->data(i).toString() == QString::number(arbNr)) {
                    view->scrollTo(i);
                    klicke(view->viewport(), view->visualRect(i).center(), true);
                    return;
                }
            }
        }
        FAIL() << "no grid row shows entry " << arbNr;
    }
    // Types text into a field as keys.
    static void tippe(QLineEdit *feld, const QString &text)
    {
        feld->setFocus();
        feld->clear();
        for (const QChar c : text)
            QTest::keyClick(feld, c.toLatin1());
    }
    void buche(const QString &datum, const QString &stunden, const QString &notiz)
    {
        f->lzDate->setText(datum);
        tippe(f->txtArbStd, stunden);
        tippe(f->txtArbNotiz, notiz);
        knopf("tbBuchen");
    }
    QStringList summen() const { return {f->lblGesStd->text(), f->lblPflStd->text(), f->lblErgStd->text()}; }
    QStringList gridZeile(int r) const
    {
        QStringList z;
        for (int c = 0; c < 4; ++c)
            z << f->tblArbStd->text(r, c);
        return z;
    }

    Arbeit *f = nullptr;
    int suchGezeigt = 0;
    int suchGeleert = 0;
    int suchEntladen = 0;
};

} // namespace

TEST_F(ArbeitTest, TheWindowAsItOpens)
{
    EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Name des Mitglieds -"));
    QStringList keys;
    for (QAction *a : f->Toolbar1->actions())
        keys << a->objectName() + "=" + a->text();
    EXPECT_EQ(keys, QStringList({"tbBuchen=Buchen / Mindern", "tbLoeschen=Löschen", "tbAnzLoeschen=Anz. löschen",
                                 "tbVorschau=Vorschau", "tbDruck=Drucken"}));
    QStringList jahre;
    for (int i = 0; i < f->cboArbJahr->count(); ++i)
        jahre << f->cboArbJahr->itemText(i);
    EXPECT_EQ(jahre, QStringList({"2023", "2024"}));
    EXPECT_EQ(f->cboArbJahr->currentText(), QString("2024"));
    EXPECT_FALSE(f->cmdMList->isEnabled());
    // The date is the hosted date-edit control, German with ".".
    ASSERT_TRUE(f->lzDate->hatSteuerelement());
    com::Variant sep;
    ASSERT_TRUE(SUCCEEDED(f->lzDate->steuerelement()->getProperty(DISPID_LD_Separator, &sep)));
    EXPECT_EQ(com::variantToString(sep), QString("."));
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(ArbeitTest, AMemberTakenOverShowsTheYearsEntriesSumAndBalance)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Hans Meier -"));
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    EXPECT_EQ(f->lblVName->text(), QString("Hans"));
    EXPECT_EQ(f->lblNName->text(), QString("Meier"));
    ASSERT_EQ(f->tblArbStd->rowCount(), 2);
    EXPECT_EQ(gridZeile(0).mid(1), QStringList({"1", "12,50", "02.03.2024"}));
    EXPECT_EQ(gridZeile(1).mid(1), QStringList({"1", "10,00", "04.05.2024"}));
    EXPECT_EQ(summen(), QStringList({"22,50", "20,00", "2,50"}));

    // Another year: its entries, and the balance against the same required hours.
    f->cboArbJahr->setCurrentText("2023");
    f->cboArbJahr_Click();
    EXPECT_EQ(f->tblArbStd->rowCount(), 1);
    EXPECT_EQ(summen(), QStringList({"5,00", "20,00", "-15,00"}));
}

TEST_F(ArbeitTest, ExemptMembersAndContactsWithoutMemberRecordAreNotTakenOver)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const struct
    {
        qlonglong knr;
        QString box;
    } faelle[] = {{2, Befreit}, {3, DSFehlt}, {99, DSFehlt}};
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.knr);
        boxes.clear();
        EXPECT_FALSE(modArbeit::UebernehmeKontakt(fall.knr, "X", "Y"));
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, fall.box);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        // The window keeps what it showed.
        EXPECT_EQ(f->lblKNr->text(), QString("1"));
        EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Hans Meier -"));
        EXPECT_EQ(f->tblArbStd->rowCount(), 2);
        EXPECT_EQ(summen(), QStringList({"22,50", "20,00", "2,50"}));
    }
}

TEST_F(ArbeitTest, TheSearchDialogsPickAndTheMemberListBothGoThroughTheTakeOver)
{
    // The search dialog's grid: 0 number, 3 surname, 4 first name.
    forms::ListGrid tblSuch;
    tblSuch.addRow(QStringList{"2", "", "", "Schulz", "Eva"});
    tblSuch.addRow(QStringList{"1", "", "", "Meier", "Hans"});
    int zeile = 0;
    EXPECT_FALSE(modArbeit::UebernehmeKontakt(tblSuch, zeile));
    EXPECT_EQ(boxes.last().text, Befreit);
    zeile = 1;
    EXPECT_TRUE(modArbeit::UebernehmeKontakt(tblSuch, zeile));
    EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Hans Meier -"));
    EXPECT_FALSE(f->cmdMList->isEnabled()) << "only a member from the member list leads back to it";

    // The member list's grid: 0 number, 1 surname, 2 first name; the back button is enabled.
    f->lblKNr->clear();
    forms::ListGrid tblMList;
    tblMList.addRow(QStringList{"1", "Meier", "Hans"});
    tblMList.addRow(QStringList{"2", "Schulz", "Eva"});
    auto &uebernimm = core::einstiege().bereiche.UebernimmMitglied;
    ASSERT_TRUE(uebernimm);
    boxes.clear();
    EXPECT_FALSE(uebernimm(tblMList, 1));
    EXPECT_EQ(boxes.last().text, Befreit);
    EXPECT_FALSE(f->cmdMList->isEnabled());
    EXPECT_TRUE(uebernimm(tblMList, 0));
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    EXPECT_EQ(f->lblVName->text(), QString("Hans"));
    EXPECT_TRUE(f->cmdMList->isEnabled());
    EXPECT_FALSE(uebernimm(tblMList, 5));
    EXPECT_EQ(boxes.last().text, DSFehlt);
}

TEST_F(ArbeitTest, TheRegisteredPickOfTheSearchDialogTakesTheMemberOver)
{
    // What the search dialog calls after a double-click when it serves the work-hours side.
    const auto &pick = core::einstiege().bereiche.UebernehmeKontakt;
    ASSERT_TRUE(pick);
    forms::ListGrid tblSuch;
    tblSuch.addRow(QStringList{"1", "Mitglieder (aktiv)", "", "Meier", "Hans"});
    int zeile = 0;
    pick(tblSuch, zeile);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Hans Meier -"));
}

TEST_F(ArbeitTest, AFailedReadOfTheMemberIsReportedAndTakesNothingOver)
{
    db().Execute("ALTER TABLE Mitglied RENAME TO MitgliedAlt");
    EXPECT_FALSE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modArbeit / Routine: UebernehmeKontakt !"));
    EXPECT_TRUE(f->lblKNr->text().isEmpty());
}

TEST_F(ArbeitTest, BookChangeAndDeleteAnEntryWithTheSumsFollowing)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong vorher = anzahl();

    // Book 2,5 hours.
    buche("15.03.2024", "2,5", "Reusen");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    ASSERT_EQ(anzahl(), vorher + 1);
    const qlonglong neu = zahl("SELECT MAX(ArbNr) AS Expr1000 FROM Arbeit");
    EXPECT_DOUBLE_EQ(spalte(neu, "ArbStd").toDouble(), 2.5);
    EXPECT_EQ(spalte(neu, "KNr").toLongLong(), 1);
    EXPECT_EQ(spalte(neu, "Jahr").toInt(), 2024);
    EXPECT_EQ(dao::OleDateToDate(spalte(neu, "Datum").toDouble()), QDate(2024, 3, 15));
    EXPECT_EQ(spalte(neu, "Notiz").toString(), QString("Reusen"));
    ASSERT_EQ(f->tblArbStd->rowCount(), 3);
    EXPECT_EQ(gridZeile(2), QStringList({QString::number(neu), "1", "2,50", "15.03.2024"}));
    EXPECT_EQ(summen(), QStringList({"25,00", "20,00", "5,00"}));
    // The fields are emptied, the date is today.
    EXPECT_TRUE(f->txtArbStd->text().isEmpty());
    EXPECT_TRUE(f->txtArbNotiz->text().isEmpty());
    EXPECT_EQ(f->lzDate->text(), testsupport::Heute.toString("dd.MM.yyyy"));

    // Load it: the fields show it, unformatted hours with a comma.
    doppelklick(neu);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(f->lblArbNr->text(), QString::number(neu));
    EXPECT_EQ(f->txtArbStd->text(), QString("2,5"));
    EXPECT_EQ(f->txtArbNotiz->text(), QString("Reusen"));
    EXPECT_EQ(f->lzDate->text(), QString("15.03.2024"));

    // Change it to 1,25 hours on another day.
    f->lzDate->setText("16.03.2024");
    tippe(f->txtArbStd, "1,25");
    knopf("tbBuchen");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(anzahl(), vorher + 1);
    EXPECT_DOUBLE_EQ(spalte(neu, "ArbStd").toDouble(), 1.25);
    EXPECT_EQ(dao::OleDateToDate(spalte(neu, "Datum").toDouble()), QDate(2024, 3, 16));
    EXPECT_EQ(spalte(neu, "KNr").toLongLong(), 1);
    EXPECT_EQ(gridZeile(2), QStringList({QString::number(neu), "1", "1,25", "16.03.2024"}));
    EXPECT_EQ(summen(), QStringList({"23,75", "20,00", "3,75"}));
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_TRUE(f->lblArbNr->text().isEmpty());

    // Delete it: No keeps it and empties the fields, Yes deletes it.
    doppelklick(neu);
    boxes.answer(forms::vbNo);
    knopf("tbLoeschen");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Loeschfrage);
    EXPECT_EQ(anzahl(), vorher + 1);
    EXPECT_TRUE(f->lblArbNr->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    doppelklick(neu);
    boxes.answer(forms::vbYes);
    knopf("tbLoeschen");
    EXPECT_EQ(anzahl(), vorher);
    EXPECT_EQ(f->tblArbStd->rowCount(), 2);
    EXPECT_EQ(f->tblArbStd->find(0, QString::number(neu)), -1);
    EXPECT_EQ(summen(), QStringList({"22,50", "20,00", "2,50"}));

    // In mode SAVE the delete key asks nothing and deletes nothing.
    boxes.clear();
    knopf("tbLoeschen");
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(anzahl(), vorher);
}

// A rewritten entry's row shows its hours as every other row and the print-out do, whatever
// was typed; reading the grid afresh shows the same row.
TEST_F(ArbeitTest, ARewrittenEntryShowsItsHoursInTheOneNumberFormat)
{
    ASSERT_TRUE(pdftext::Available()) << "pdftotext (poppler-utils) reads the printed page back";
    report::FakePrinters drucker({"Büro"});
    drucker.pdfPath = home.filePath("blatt.pdf");
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong nr = zahl("SELECT MIN(ArbNr) AS Expr1000 FROM Arbeit"); // 12,50 on 02.03.2024
    const struct
    {
        const char *getippt;
        const char *gezeigt;
    } faelle[] = {{"3", "3,00"}, {"7,5", "7,50"}, {"12,50", "12,50"}};
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.getippt);
        doppelklick(nr);
        ASSERT_EQ(gv().strModus, QString("EDIT"));
        tippe(f->txtArbStd, fall.getippt);
        knopf("tbBuchen");
        ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
        const int zeile = f->tblArbStd->find(0, QString::number(nr));
        ASSERT_GE(zeile, 0);
        const QStringList gezeigt = gridZeile(zeile);
        EXPECT_EQ(gezeigt[2], QString(fall.gezeigt));

        knopf("tbDruck");
        const QString blatt = pdftext::Text(drucker.pdfPath);
        const QRegularExpression reihe("(^|\\s)" + QRegularExpression::escape(fall.gezeigt) + "\\s+02\\.03\\.2024");
        EXPECT_TRUE(blatt.contains(reihe)) << blatt.toStdString();

        f->cboArbJahr_Click(); // the grid read afresh
        const int neu = f->tblArbStd->find(0, QString::number(nr));
        ASSERT_GE(neu, 0);
        EXPECT_EQ(gridZeile(neu), gezeigt);
    }
}

TEST_F(ArbeitTest, HoursThatAreNoFigureOfZeroOrMoreAreRefusedBeforeAnythingIsWritten)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong vorher = anzahl();
    // Pasted texts pass the key filter.
    const struct
    {
        QString stunden;
        bool gueltig;
        double wert;
    } faelle[] = {
        {"abc", false, 0}, {"-3", false, 0},     {"1e9", false, 0}, {"", false, 0},
        {"2.5", false, 0}, {"12,5", true, 12.5}, {"0", true, 0},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.stunden.toStdString());
        boxes.clear();
        f->lzDate->setText("01.04.2024");
        f->txtArbStd->setText(fall.stunden);
        knopf("tbBuchen");
        if (fall.gueltig) {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            const qlonglong neu = zahl("SELECT MAX(ArbNr) AS Expr1000 FROM Arbeit");
            EXPECT_DOUBLE_EQ(spalte(neu, "ArbStd").toDouble(), fall.wert);
            db().Execute("DELETE FROM Arbeit WHERE ArbNr = ?", {neu});
        } else {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
            EXPECT_EQ(anzahl(), vorher);
            EXPECT_EQ(f->txtArbStd->text(), fall.stunden) << "the input stays for correction";
        }
    }
}

TEST_F(ArbeitTest, TypedLettersAndMinusSignsNeverReachTheHoursBox)
{
    forms::RecordingBeep beep;
    tippe(f->txtArbStd, "1a-2,5");
    EXPECT_EQ(f->txtArbStd->text(), QString("12,5"));
    EXPECT_EQ(beep.count(), 2);
}

TEST_F(ArbeitTest, BookingWithoutMemberOrDateIsAnInputError)
{
    const qlonglong vorher = anzahl();
    // No member shown.
    buche("01.04.2024", "3", "");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    // A member, but no date.
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    boxes.clear();
    buche("", "3", "");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(anzahl(), vorher);
}

TEST_F(ArbeitTest, AnEntryDatedInAnotherYearCountsForTheChosenYear)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    buche("28.12.2023", "3", "Eisfischen");
    const qlonglong neu = zahl("SELECT MAX(ArbNr) AS Expr1000 FROM Arbeit");
    EXPECT_EQ(spalte(neu, "Jahr").toInt(), 2024);
    EXPECT_EQ(summen(), QStringList({"25,50", "20,00", "5,50"}));
}

TEST_F(ArbeitTest, AFailedCheckWhileEditingKeepsTheEntryLoadedSoNoDuplicateIsBooked)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong vorher = anzahl();
    const qlonglong erster = f->tblArbStd->text(0, 0).toLongLong();
    doppelklick(erster);
    f->txtArbStd->setText("abc");
    knopf("tbBuchen");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    // Corrected: the loaded entry is rewritten, nothing is added.
    tippe(f->txtArbStd, "13");
    knopf("tbBuchen");
    EXPECT_EQ(anzahl(), vorher);
    EXPECT_DOUBLE_EQ(spalte(erster, "ArbStd").toDouble(), 13);
    EXPECT_EQ(summen(), QStringList({"23,00", "20,00", "3,00"}));
}

TEST_F(ArbeitTest, APrintWhileEditingKeepsTheEntryLoaded)
{
    report::FakePrinters drucker({"Büro"});
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong vorher = anzahl();
    const qlonglong erster = f->tblArbStd->text(0, 0).toLongLong();
    doppelklick(erster);
    knopf("tbDruck");
    EXPECT_EQ(drucker.printed, 1);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(f->lblArbNr->text(), QString::number(erster));
    tippe(f->txtArbStd, "7");
    knopf("tbBuchen");
    EXPECT_EQ(anzahl(), vorher);
    EXPECT_DOUBLE_EQ(spalte(erster, "ArbStd").toDouble(), 7);
}

TEST_F(ArbeitTest, AMemberDeletedWhileShownGetsNoEntry)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    db().Execute("DELETE FROM Kontakt WHERE KNr = 1");
    const qlonglong vorher = anzahl();
    buche("01.04.2024", "3", "");
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, DSFehlt);
    EXPECT_EQ(anzahl(), vorher);
    EXPECT_TRUE(f->lblKNr->text().isEmpty());
    EXPECT_EQ(f->tblArbStd->rowCount(), 0);
}

TEST_F(ArbeitTest, ChangingOrDeletingAnEntryThatIsGoneShowsTheMissingRecord)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong erster = f->tblArbStd->text(0, 0).toLongLong();
    for (const char *key : {"tbBuchen", "tbLoeschen"}) {
        SCOPED_TRACE(key);
        doppelklick(erster);
        db().Execute("DELETE FROM Arbeit WHERE ArbNr = ?", {erster});
        boxes.clear();
        boxes.answer(forms::vbYes);
        knopf(key);
        EXPECT_EQ(boxes.last().text, DSFehlt);
        EXPECT_TRUE(f->lblArbNr->text().isEmpty());
        eintrag(1, 2024, QDate(2024, 3, 2), 12.5, "Uferpflege");
        db().Execute("UPDATE Arbeit SET ArbNr = ? WHERE ArbNr = (SELECT MAX(ArbNr) FROM Arbeit)", {erster});
    }
    EXPECT_EQ(f->tblArbStd->rowCount(), 2) << "the delete leaves the grid as it was";
}

TEST_F(ArbeitTest, ChangingTheYearWhileAnEntryIsLoadedBooksItForTheNewYear)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong erster = f->tblArbStd->text(0, 0).toLongLong();
    doppelklick(erster);
    f->cboArbJahr->setCurrentText("2023");
    f->cboArbJahr_Click();
    EXPECT_EQ(f->lblArbNr->text(), QString::number(erster));
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    knopf("tbBuchen");
    EXPECT_EQ(spalte(erster, "Jahr").toInt(), 2023);
    EXPECT_EQ(f->tblArbStd->rowCount(), 2);
    EXPECT_EQ(summen(), QStringList({"17,50", "20,00", "-2,50"}));
}

TEST_F(ArbeitTest, AYearWithoutMemberListsNothingAndOwesTheRequiredHours)
{
    f->cboArbJahr->setCurrentText("2024");
    f->cboArbJahr_Click();
    EXPECT_EQ(f->tblArbStd->rowCount(), 0);
    EXPECT_EQ(summen(), QStringList({"0,00", "20,00", "-20,00"}));
}

TEST_F(ArbeitTest, BalancesAreTheTwoDecimalFigures)
{
    EXPECT_DOUBLE_EQ(modArbeit::ErmittleSollHaben(10, 12.3456), -2.35);
    EXPECT_DOUBLE_EQ(modArbeit::ErmittleSollHaben(12.346, 10), 2.35);
    // Twenty entries of 0.1 hours add up to a little less than 2 in binary: no shortfall shown.
    db().Execute("UPDATE System SET PflichtStd = 2");
    for (int i = 0; i < 20; ++i)
        eintrag(1, 2022, QDate(2022, 1, 10), 0.1, "");
    EXPECT_NE(modArbeit::ErmittleStunden(1, 2022), 2.0);
    f->cboArbJahr->addItem("2022");
    f->cboArbJahr->setCurrentText("2022");
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    EXPECT_EQ(summen(), QStringList({"2,00", "2,00", "0,00"}));
    EXPECT_EQ(modArbeit::ErmittleSollHaben(modArbeit::ErmittleStunden(1, 2022), 2), 0.0);
}

TEST_F(ArbeitTest, TheYearListHoldsTheWorkYearsAndTheCurrentYear)
{
    const struct
    {
        std::vector<int> jahre;
        int intJahr;
        QStringList liste;
    } faelle[] = {
        {{2001, 2002}, 2004, {"2001", "2002", "2004"}},
        {{2005, 2006}, 2003, {"2005", "2006", "2003", "2004"}},
        {{}, 2024, {"2024"}},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.intJahr);
        db().Execute("DELETE FROM Arbeit");
        for (int j : fall.jahre)
            eintrag(1, j, QDate(j, 2, 1), 1, "");
        gv().intJahr = fall.intJahr;
        QComboBox cbo;
        cbo.addItem("alt");
        modArbeit::loadcboArbJahre(cbo);
        QStringList liste;
        for (int i = 0; i < cbo.count(); ++i)
            liste << cbo.itemText(i);
        EXPECT_EQ(liste, fall.liste);
    }
}

TEST_F(ArbeitTest, ActivationOpensTheSearchUnlessAMemberWasJustTakenOverOrAPrintIsUnderWay)
{
    // Shown afresh: the search dialog opens once the showing code has run.
    f->hide();
    EXPECT_EQ(suchEntladen, 1);
    f->show();
    gv().intSuchAufruf = 1;
    QApplication::processEvents();
    EXPECT_EQ(suchGezeigt, 1);

    // Taken over from the member list: no search, the flag is used up.
    f->hide();
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    f->show();
    gv().intArbUebernahme = 1;
    QApplication::processEvents();
    EXPECT_EQ(suchGezeigt, 1);
    EXPECT_EQ(gv().intArbUebernahme, 0);
    EXPECT_EQ(f->lblKNr->text(), QString("1"));

    // A print-out under way: leaving the window keeps the member, coming back opens no search.
    report::FakePrinters drucker({"Büro"});
    knopf("tbDruck");
    EXPECT_TRUE(modGVar::KeinNeuLaden(*f));
    f->hide();
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    EXPECT_EQ(f->tblArbStd->rowCount(), 2);
    f->show();
    QApplication::processEvents();
    EXPECT_EQ(suchGezeigt, 1);
    EXPECT_FALSE(modGVar::KeinNeuLaden(*f));

    // Leaving otherwise empties the window, but keeps the year list and the caption.
    f->cboArbJahr->setCurrentText("2023");
    f->hide();
    EXPECT_TRUE(f->lblKNr->text().isEmpty());
    EXPECT_TRUE(f->lblGesStd->text().isEmpty());
    EXPECT_EQ(f->tblArbStd->rowCount(), 0);
    EXPECT_FALSE(f->cmdMList->isEnabled());
    EXPECT_EQ(f->cboArbJahr->currentText(), QString("2023"));
    EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Hans Meier -"));
}

TEST_F(ArbeitTest, TheSearchButtonEmptiesAndOpensTheSearchDialog)
{
    klicke(f->cmdSuch, f->cmdSuch->rect().center());
    EXPECT_EQ(suchGeleert, 1);
    EXPECT_EQ(suchGezeigt, 1);
}

TEST_F(ArbeitTest, ADoubleClickBesideTheRowsChangesNothing)
{
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    QTableView *view = f->tblArbStd->view();
    klicke(view->viewport(), QPoint(5, view->viewport()->height() - 3), true);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_TRUE(f->lblArbNr->text().isEmpty());
}

TEST_F(ArbeitTest, ThePrintButtonPrintsTheMembersSheetAsTheWindowShowsIt)
{
    ASSERT_TRUE(pdftext::Available()) << "pdftotext (poppler-utils) reads the printed page back";
    Info &info = forms::form<Info>();
    info.lblVerein->setText("ASV Petri Heil");
    report::FakePrinters drucker({"Büro"});
    drucker.pdfPath = home.filePath("blatt.pdf");
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    knopf("tbDruck");
    ASSERT_EQ(drucker.printed, 1) << texte(boxes);
    QString t = pdftext::Text(drucker.pdfPath);
    qsizetype pos = 0;
    for (const QString &teil :
         {QString("ASV Petri Heil"), QString("Arbeitsliste [Einzelaufstellung] für Jahr 2024"), QString("12,50"),
          QString("02.03.2024"), QString("10,00"), QString("04.05.2024"), QString("Mitgl.-Nr : 1")}) {
        const qsizetype p = t.indexOf(teil, pos);
        EXPECT_GE(p, 0) << teil.toStdString() << " missing or out of order in:\n" << t.toStdString();
        if (p >= 0)
            pos = p + teil.size();
    }
    // The footer: the member and the window's three figures.
    for (const QString &teil : {QString("Meier"), QString("Hans"), QString("22,50"), QString("20,00"), QString("2,50")})
        EXPECT_GE(t.indexOf(teil, pos), 0) << teil.toStdString();

    // Another year heads the sheet with that year, once.
    f->cboArbJahr->setCurrentText("2023");
    f->cboArbJahr_Click();
    knopf("tbDruck");
    t = pdftext::Text(drucker.pdfPath);
    EXPECT_TRUE(t.contains("Arbeitsliste [Einzelaufstellung] für Jahr 2023")) << t.toStdString();
    EXPECT_FALSE(t.contains("2024 2023"));
    EXPECT_TRUE(t.contains("-15,00")) << t.toStdString();

    // A year without entries prints nothing.
    f->cboArbJahr->addItem("2022");
    f->cboArbJahr->setCurrentText("2022");
    f->cboArbJahr_Click();
    boxes.clear();
    knopf("tbDruck");
    EXPECT_EQ(drucker.printed, 2);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !"));
}

TEST_F(ArbeitTest, AMemberPickedInTheSearchDialogComesIntoTheWindow)
{
    // The real search dialog, driven while it is shown modally.
    auto &erw = core::einstiege().kontaktwerkzeuge;
    erw.ZeigeSuchKont = modKontakt::ZeigeSuchKont;
    erw.LeereSuchKont = modKontakt::LeereSuchKont;
    erw.EntladeSuchKont = modKontakt::EntladeSuchKont;
    std::function<void(SuchKont &)> schritte;
    forms::setModalHook([&](forms::Form &form) {
        if (auto *s = qobject_cast<SuchKont *>(&form); s && schritte) {
            s->resize(700, 500);
            QApplication::processEvents();
            schritte(*s);
        }
    });
    const auto suche = [&](const QString &text, const QString &knr) {
        schritte = [&, text, knr](SuchKont &s) {
            tippe(s.txtSuch, text);
            klicke(s.cmdSuch, s.cmdSuch->rect().center());
            QTableView *view = s.tblSuch->view();
            s.tblSuch->top().flush();
            QAbstractItemModel *m = view->model();
            for (int r = 0; r < m->rowCount(); ++r)
                for (int c = 0; c < m->columnCount(); ++c)
                    if (m->data(m->index(r, c)).toString() == knr) {
                        klicke(view->viewport(), view->visualRect(m->index(r, c)).center(), true);
                        return;
                    }
            ADD_FAILURE() << "the search lists no contact " << knr.toStdString();
        };
    };

    gv().intSuchAufruf = 1;
    suche("Mei", "1");
    klicke(f->cmdSuch, f->cmdSuch->rect().center());
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    EXPECT_EQ(f->windowTitle(), QString("Arbeitscontrolling - Hans Meier -"));
    EXPECT_EQ(summen(), QStringList({"22,50", "20,00", "2,50"}));

    // An exempt member: the message, and the window keeps the member it showed.
    suche("Sch", "2");
    klicke(f->cmdSuch, f->cmdSuch->rect().center());
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, Befreit);
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    forms::setModalHook({});
}

TEST_F(ArbeitTest, ThePreviewKeyShowsTheSheetWithoutAPrinterAndKeepsTheMemberForTheReturn)
{
    report::FakePrinters keiner;
    ASSERT_TRUE(modArbeit::UebernehmeKontakt(1, "Hans", "Meier"));
    const qlonglong erster = f->tblArbStd->text(0, 0).toLongLong();
    doppelklick(erster);
    knopf("tbVorschau");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(keiner.dialogs, 0);
    QPointer<QWidget> v = modArbeit::rpt_ArbListe().window();
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    auto *p = qobject_cast<report::PreviewWindow *>(v.data());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(v->windowTitle(), QString("Arbeitsliste [Einzelaufstellung]"));
    EXPECT_EQ(p->document().rows->values.size(), 2);
    EXPECT_EQ(gv().strModus, QString("EDIT"));

    // The preview takes the window's place; back in the window, the member and the loaded entry
    // are still there and no search opens.
    f->hide();
    f->show();
    QApplication::processEvents();
    EXPECT_EQ(suchGezeigt, 0);
    EXPECT_EQ(f->lblKNr->text(), QString("1"));
    EXPECT_EQ(f->lblArbNr->text(), QString::number(erster));
}

namespace {

// The work-hours window in the program as the user starts it: logged in, opened from the
// navigation bar, the member picked in the search dialog that the window opens.
class ArbeitImProgramm : public mitgltest::MitglListTest
{
protected:
    void SetUp() override
    {
        MitglListTest::SetUp();
        if (HasFatalFailure())
            return;
        sql("UPDATE System SET FJahr = ?", {jahr}); // no roll-over at the login
        waehleInDerSucheAlbers();
        meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), QSize(1400, 1000), QStringLiteral("Kontakte"));
        boxes.clear();
    }

    // The search dialog, when it opens, looks for "Alb" and double-clicks the first row found.
    void waehleInDerSucheAlbers()
    {
        forms::setModalHook([this](forms::Form &form) {
            if (auto *s = qobject_cast<SuchKont *>(&form)) {
                ++suchGezeigt;
                s->resize(700, 500);
                QApplication::processEvents();
                tippe(s->txtSuch, suchText);
                getippt = s->txtSuch->text();
                klicke(s->cmdSuch, s->cmdSuch->rect().center());
                QTableView *view = s->tblSuch->view();
                s->tblSuch->top().flush();
                const QModelIndex i = view->model()->index(0, view->model()->columnCount() - 1);
                klicke(view->viewport(), view->visualRect(i).center(), true);
            }
        });
    }

    int suchGezeigt = 0;
    // What the user types into the search, and what the search field then holds.
    QString suchText = QStringLiteral("Alb");
    QString getippt;
};

// A user whose group has the work-hours right alone: the login shows the work-hours window first.
class ArbeitAlsErstesFenster : public ArbeitImProgramm
{
protected:
    void SetUp() override
    {
        MitglListTest::SetUp();
        if (HasFatalFailure())
            return;
        sql("UPDATE System SET FJahr = ?", {jahr});
        sql("INSERT INTO Gruppen (GNr, GName, Arbeit) VALUES (9, 'Helfer', 1)");
        sql("INSERT INTO Benutzer (Name, Passwort, GNr) VALUES ('Helfer', 'hilft', 9)");
        waehleInDerSucheAlbers();
    }
};

} // namespace

TEST_F(ArbeitImProgramm, TheSearchTakesEveryLetterOfANameAndFindsTheMember)
{
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES "
        "(20, 1, 'Müller', 'Jörg'), (21, 1, 'Öztürk', 'Ayşe'), (22, 1, 'Dvořák', 'Łukasz'), (23, 1, 'Groß', 'Čeněk')");
    sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES "
        "(20, 1, 0, 0, 0, 0, 0), (21, 0, 0, 0, 0, 0, 0), (22, 1, 0, 0, 0, 0, 0), (23, 1, 0, 0, 0, 0, 0)");
    const struct
    {
        const char *getippt;
        const char *knr;
    } faelle[] = {
        {"Müller", "20"}, {"müller", "20"}, {"Öz", "21"}, {"Łuk", "22"}, {"Groß", "23"}, {"Čen", "23"},
    };
    // The first search opens with the window, the others from its search button.
    bool erste = true;
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.getippt);
        suchText = QString::fromUtf8(fall.getippt);
        if (erste)
            apptest::klickeItem(QStringLiteral("Arbeit"));
        else
            klicke(workhours::ArbeitFenster().cmdSuch, workhours::ArbeitFenster().cmdSuch->rect().center());
        erste = false;
        QApplication::processEvents();
        EXPECT_EQ(getippt, suchText);
        EXPECT_EQ(workhours::ArbeitFenster().lblKNr->text(), QString::fromLatin1(fall.knr)) << texte(boxes);
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        boxes.clear();
    }
}

TEST_F(ArbeitImProgramm, AWindowIsLoadedWhenItIsFirstShownNotWhenAnotherIs)
{
    // The windows the navigation hides are not loaded for it: the work hours and the member list
    // each read their year list when they are first shown, not on a click on another item.
    for (const char *key : {"Fangbuch", "Kontakte", "Fangbuch"}) {
        SCOPED_TRACE(key);
        apptest::klickeItem(QString::fromLatin1(key));
        QApplication::processEvents();
        EXPECT_FALSE(forms::isLoaded<Arbeit>());
        EXPECT_FALSE(forms::isLoaded<MitglList>());
    }
    apptest::klickeItem(QStringLiteral("Arbeit"));
    QApplication::processEvents();
    ASSERT_TRUE(forms::isLoaded<Arbeit>());
    Arbeit &f = workhours::ArbeitFenster();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.cboArbJahr->currentText(), QString::number(jahr));
    EXPECT_GE(f.cboArbJahr->findText(QString::number(jahr)), 0);
    // Shown once, it is hidden by the next click like every loaded window.
    apptest::klickeItem(QStringLiteral("Fangbuch"));
    QApplication::processEvents();
    EXPECT_FALSE(f.isVisible());
}

TEST_F(ArbeitImProgramm, TheDateShowsTodayWhenTheWindowOpensAndAfterEachBooking)
{
    apptest::klickeItem(QStringLiteral("Arbeit"));
    QApplication::processEvents();
    Arbeit &f = workhours::ArbeitFenster();
    ASSERT_TRUE(f.isVisible());
    ASSERT_EQ(suchGezeigt, 1);
    ASSERT_EQ(f.lblKNr->text(), QString("1")) << texte(boxes);
    const QString heute = testsupport::Heute.toString(QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(f.lzDate->text(), heute);

    const long long vorher = zahl("SELECT COUNT(*) FROM Arbeit WHERE KNr = 1");
    for (const char *stunden : {"2,5", "1"}) {
        SCOPED_TRACE(stunden);
        tippe(f.txtArbStd, QString::fromLatin1(stunden));
        tippe(f.txtArbNotiz, QStringLiteral("Steg"));
        klickeKnopf(QStringLiteral("tbBuchen"), &f);
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        EXPECT_EQ(f.lzDate->text(), heute);
    }
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit WHERE KNr = 1 AND Datum = ?", {dao::ToOleDate(testsupport::Heute)}), 2);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit WHERE KNr = 1"), vorher + 2);
}

TEST_F(ArbeitAlsErstesFenster, TheLoginShowsItAndItsSearchTakesTheChosenMemberIn)
{
    meldeAn(QStringLiteral("Helfer"), QStringLiteral("hilft"), QSize(1400, 1000), QString());
    Arbeit &f = workhours::ArbeitFenster();
    ASSERT_TRUE(f.isVisible()) << texte(boxes);
    EXPECT_EQ(suchGezeigt, 1);
    EXPECT_EQ(f.lblKNr->text(), QString("1")) << texte(boxes);
    EXPECT_EQ(f.lblNName->text(), QString("Albers"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}
