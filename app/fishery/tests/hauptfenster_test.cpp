// The catch evaluation, the catch log and the stocking plan as the user reaches them: logged in
// through the login window, each shown from its navigation item in the main window, driven by
// keys and clicks on the main window.
#include "fishery/Besatzung.h"
#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"

#include "core/Main.h"
#include "core/modMain.h"
#include "core/navigation.h"
#include "core/testing/program_fixture.h"

#include "forms/listgrid.h"
#include "testsupport/today.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// The navigation bar's library, registered once for the whole run.
apptest::Steuerelemente *g_navrail = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");

// Two species, two waters and catches of this year (the starter database's catch year) and of
// 2022:
//   nr  year month     species  water      number weight
//   1   this März      Hecht    Baggersee   2     3000
//   2   this März      Zander   Altarm      5     1500
//   3   2022 Juni      Hecht    Altarm      1      900
//   4   2022 Juni      Zander   Baggersee   7     4000
class Hauptfenster : public apptest::MainTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_navrail->registriert()) << "navigation bar library not registered";
        MainTest::SetUp();
        if (HasFatalFailure())
            return;
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Altarm')");
        sql("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) VALUES "
            "(?1, 3, 1, 1, '', 2, 3000), (?1, 3, 2, 2, '', 5, 1500), (2022, 6, 1, 2, '', 1, 900), "
            "(2022, 6, 2, 1, '', 7, 4000)",
            {jahr});
        modMain::RegistriereKern();
        fishery::RegistriereFangbuch();
        fishery::RegistriereFangauswertung();
        fishery::RegistriereBesatzung();
    }

    void zeige(const QString &key)
    {
        meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), QSize(1200, 900), key);
        ASSERT_TRUE(forms::form<Main>().isVisible());
        boxes.clear();
    }
    // A click on a toolbar button.
    void klickeKnopf(QToolBar *leiste, const char *key)
    {
        QAction *a = leiste->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr) << key;
        klicke(leiste->widgetForAction(a), QPoint(5, 5));
    }
    void tick(QCheckBox *box) { klicke(box, QPoint(6, box->height() / 2)); }
    // Picks an entry of a pick list with the keyboard.
    static void waehle(QComboBox *box, const QString &text)
    {
        box->setFocus();
        const int ziel = box->findText(text);
        ASSERT_GE(ziel, 0) << text.toStdString();
        QTest::keyClick(box, Qt::Key_Home);
        if (box->currentIndex() < 0)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() < ziel)
            QTest::keyClick(box, Qt::Key_Down);
    }
    static void tippe(QWidget *feld, const QString &text)
    {
        feld->setFocus();
        if (auto *c = qobject_cast<QComboBox *>(feld); c && c->lineEdit())
            feld = c->lineEdit();
        if (auto *e = qobject_cast<QLineEdit *>(feld))
            e->selectAll();
        QTest::keyClick(feld, Qt::Key_Delete);
        QTest::keyClicks(feld, text);
    }
    static QStringList spalte0(const forms::ListGrid &grid)
    {
        QStringList s;
        for (int r = 0; r < grid.rowCount(); ++r)
            s << grid.text(r, 0);
        return s;
    }
    const int jahr = testsupport::Heute.year();
    void doppelklick(forms::ListGrid &grid, int row)
    {
        grid.top().flush();
        QApplication::processEvents();
        QTableView *view = grid.view();
        klicke(view->viewport(), view->visualRect(view->model()->index(row, 1)).center(), true);
    }
};

} // namespace

TEST_F(Hauptfenster, TheEvaluationDropsAnUpperBoundWithoutValueAndOpensACatchInItsOwnYearAndMonth)
{
    zeige(navigation::Fangauswertung.key);
    Fangauswertung &w = forms::form<Fangauswertung>();
    ASSERT_TRUE(w.isVisible());
    tick(w.chkAnzahl);
    waehle(w.cboOptAnz01, ">=");
    tippe(w.txtAnz01, "2");
    waehle(w.cboOptAnz02, "<=");
    tippe(w.txtAnz02, "5");
    klickeKnopf(w.Toolbar1, "tbSuch");
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
    EXPECT_EQ(spalte0(*w.tblFAusw), QStringList({"1", "2"}));

    // The value taken back with Backspace, its operator left chosen: no upper bound.
    w.txtAnz02->setFocus();
    QTest::keyClick(w.txtAnz02, Qt::Key_End);
    QTest::keyClick(w.txtAnz02, Qt::Key_Backspace);
    ASSERT_EQ(w.cboOptAnz02->currentText(), QString("<="));
    klickeKnopf(w.Toolbar1, "tbSuch");
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
    EXPECT_EQ(spalte0(*w.tblFAusw), QStringList({"1", "2", "4"}));
    EXPECT_EQ(w.lblGefDS->text(), QString("3"));

    // Catch 4, of June 2022, opened from the evaluation: the catch log shows its year and month.
    doppelklick(*w.tblFAusw, 2);
    Fangbuch &f = forms::form<Fangbuch>();
    ASSERT_TRUE(f.isVisible()) << apptest::texte(boxes);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.lblFNr->text(), QString("4"));
    EXPECT_EQ(f.cboFJahr->currentText(), QString("2022"));
    EXPECT_EQ(f.cboSelMonat->currentText(), QString("Juni"));
    EXPECT_EQ(spalte0(*f.tblFList), QStringList({"3", "4"}));
    EXPECT_EQ(f.lblAnzahl->text(), QString("2"));
    EXPECT_EQ(f.lblGesAnz->text(), QString("2"));

    // Changed to July and saved with F3: stored in its own year, gone from the June grid, and
    // the count follows the grid.
    tippe(f.txtMonNr, "07");
    QTest::keyClick(&f, Qt::Key_F3);
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", 4, "FangJahr").toInt(), 2022);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", 4, "FangMonat").toInt(), 7);
    EXPECT_EQ(spalte0(*f.tblFList), QStringList({"3"}));
    EXPECT_EQ(f.lblAnzahl->text(), QString("1"));
    EXPECT_EQ(gv().intJahr, jahr); // the other windows go on with the system's catch year
}

TEST_F(Hauptfenster, TheStockingPlanRefusesAQuantityItCannotKeepExactly)
{
    zeige(navigation::Besatzung.key);
    Besatzung &w = forms::form<Besatzung>();
    ASSERT_TRUE(w.isVisible());
    const struct
    {
        const char *menge;
        bool gespeichert;
    } faelle[] = {
        {"99999999999999999999", false},
        {"10000000000000", false},
        {"9999999999999,99", true},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.menge);
        boxes.clear();
        const long long vorher = zahl("SELECT COUNT(*) FROM Besatzung");
        tippe(w.cboFArt, "Hecht");
        tippe(w.cboGName, "Altarm");
        tippe(w.txtMenge, fall.menge);
        ASSERT_EQ(w.txtMenge->text(), QString(fall.menge));
        klickeKnopf(w.Toolbar1, "tbSpeichern");
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Besatzung"), vorher + (fall.gespeichert ? 1 : 0));
        if (fall.gespeichert) {
            EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
            EXPECT_EQ(w.tblBList->text(w.tblBList->rowCount() - 1, 4), QString(fall.menge));
        } else {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
            EXPECT_EQ(w.txtMenge->text(), QString(fall.menge)); // kept for correction
        }
        EXPECT_EQ(w.lblAnzahl->text(), QString::number(w.tblBList->rowCount()));
    }
}

TEST_F(Hauptfenster, TabLeadsThroughTheCatchInTheOrderOfEntryAndTheNoteBackToTheSpecies)
{
    zeige(navigation::Fangbuch.key);
    Fangbuch &f = forms::form<Fangbuch>();
    ASSERT_TRUE(f.isVisible());
    Main &main = forms::form<Main>();
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    QWindow *fenster = main.windowHandle();
    ASSERT_TRUE(fenster);
    // Keys as the keyboard sends them: to the main window, which hands them to the focused field.
    auto tippeImFenster = [&](const QString &text) {
        for (const QChar c : text)
            QTest::keyClick(fenster, c.toLatin1());
    };
    auto tab = [&] { QTest::keyClick(fenster, Qt::Key_Tab); };
    auto hatFokus = [](QWidget *feld) {
        QWidget *fokus = QApplication::focusWidget();
        return fokus && (fokus == feld || feld->isAncestorOf(fokus));
    };
    ASSERT_TRUE(hatFokus(f.cboFArt)) << "the species is first after the activation";

    tippeImFenster("Zander");
    tab();
    EXPECT_TRUE(hatFokus(f.cboGName));
    tippeImFenster("Altarm");
    tab();
    EXPECT_TRUE(hatFokus(f.txtMonNr));
    tippeImFenster("7");
    tab();
    EXPECT_TRUE(hatFokus(f.txtAnzahl));
    EXPECT_EQ(f.txtMonNr->text(), QString("07"));
    EXPECT_EQ(f.txtFangMonat->text(), QString("Juli"));
    tippeImFenster("3");
    tab();
    EXPECT_TRUE(hatFokus(f.txtGewicht));
    tippeImFenster("1200");
    tab();
    EXPECT_TRUE(hatFokus(f.txtNotiz));
    tippeImFenster("Abends");
    tab();
    EXPECT_TRUE(hatFokus(f.cboFArt)) << "from the note back to the species";
    EXPECT_EQ(f.txtAnzahl->text(), QString("3"));

    QTest::keyClick(fenster, Qt::Key_F3);
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
    const qlonglong nr = zahl("SELECT MAX(FangNr) FROM Fang");
    EXPECT_EQ(nr, 5);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "FangMonat").toInt(), 7);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "FischNr").toInt(), 2);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "GNr").toInt(), 2);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "Anzahl").toInt(), 3);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "Gewicht").toInt(), 1200);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "Notiz").toString(), QString("Abends"));
}

namespace {

// The catch log shown in the main window, March of this year in its grid, and keys sent as the
// keyboard sends them: to the main window, which hands them to the focused field.
class Fangeingabe : public Hauptfenster
{
protected:
    void SetUp() override
    {
        Hauptfenster::SetUp();
        if (HasFatalFailure())
            return;
        sql("UPDATE Fang SET Notiz = 'Süßwasser' WHERE FangJahr = ?", {jahr});
        zeige(navigation::Fangbuch.key);
        f = &forms::form<Fangbuch>();
        ASSERT_TRUE(f->isVisible());
        f->ZeigeMonat(jahr, 3);
        Main &main = forms::form<Main>();
        main.activateWindow();
        QApplication::setActiveWindow(&main);
        fenster = main.windowHandle();
        ASSERT_TRUE(fenster);
    }
    void tasten(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(fenster, c.toLatin1());
        QApplication::processEvents();
    }
    void taste(Qt::Key key)
    {
        QTest::keyClick(fenster, key);
        QApplication::processEvents();
    }
    // Delete as an X server sends it: with the text DEL (127).
    void entf()
    {
        QTest::sendKeyEvent(QTest::Click, fenster, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
        QApplication::processEvents();
    }
    void klickeIn(QWidget *feld)
    {
        klicke(feld, QPoint(feld->width() / 2, feld->height() / 2));
        QApplication::processEvents();
    }
    static bool hatFokus(QWidget *feld)
    {
        QWidget *fokus = QApplication::focusWidget();
        return fokus && (fokus == feld || feld->isAncestorOf(fokus));
    }

    Fangbuch *f = nullptr;
    QWindow *fenster = nullptr;
};

} // namespace

// A loaded catch whose month the user takes back with Backspace or Delete and types anew: only
// the two digits count, so the focus moves on to the count after them, and the month typed is
// stored with the note untouched.
TEST_F(Fangeingabe, AMonthTakenBackAndTypedAnewIsStoredAndTheNoteKept)
{
    const struct
    {
        const char *weg;
        qlonglong nr;
        const char *monat;
        bool mitEntf;
    } faelle[] = {{"Backspace", 1, "11", false}, {"Delete", 2, "10", true}};
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.weg);
        const int zeile = f->tblFList->find(0, QString::number(fall.nr));
        ASSERT_GE(zeile, 0);
        doppelklick(*f->tblFList, zeile);
        ASSERT_EQ(f->txtNotiz->text(), QString("Süßwasser"));
        klickeIn(f->txtMonNr);
        ASSERT_EQ(f->txtMonNr->selectedText(), QString("03"));
        if (fall.mitEntf)
            entf();
        else
            taste(Qt::Key_Backspace);
        EXPECT_EQ(f->txtMonNr->text(), QString());
        EXPECT_TRUE(hatFokus(f->txtMonNr));
        tasten(QString::fromLatin1(fall.monat).left(1));
        EXPECT_TRUE(hatFokus(f->txtMonNr)) << "one digit moves nothing on";
        tasten(QString::fromLatin1(fall.monat).mid(1));
        EXPECT_TRUE(hatFokus(f->txtAnzahl)) << "after two digits the count is next";
        EXPECT_EQ(f->txtNotiz->text(), QString("Süßwasser"));
        taste(Qt::Key_F3);
        EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
        EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", fall.nr, "FangMonat").toInt(),
                  QString::fromLatin1(fall.monat).toInt());
        EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", fall.nr, "Notiz").toString(), QString("Süßwasser"));
    }
}

// A new catch typed in the order of entry, the month's two digits moving on by themselves: each
// value lands in its own field.
TEST_F(Fangeingabe, TwoDigitsOfTheMonthLeadToTheCountAndTheEntryLandsInItsFields)
{
    klickeIn(f->cboFArt);
    tasten("Hecht");
    taste(Qt::Key_Tab);
    tasten("Baggersee");
    taste(Qt::Key_Tab);
    ASSERT_TRUE(hatFokus(f->txtMonNr));
    tasten("05");
    EXPECT_TRUE(hatFokus(f->txtAnzahl));
    EXPECT_EQ(f->txtFangMonat->text(), QString("Mai"));
    tasten("1");
    taste(Qt::Key_Tab);
    EXPECT_TRUE(hatFokus(f->txtGewicht));
    tasten("2500");
    EXPECT_EQ(f->cboFArt->currentText(), QString("Hecht"));
    EXPECT_EQ(f->txtNotiz->text(), QString());
    taste(Qt::Key_F3);
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
    const qlonglong nr = zahl("SELECT MAX(FangNr) FROM Fang");
    ASSERT_EQ(nr, 5);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "FangMonat").toInt(), 5);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "FischNr").toInt(), 1);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "Anzahl").toInt(), 1);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "Gewicht").toInt(), 2500);
    EXPECT_EQ(feld("SELECT * FROM Fang WHERE FangNr = ?", nr, "Notiz").toString(), QString());
}

// The note left by a click: the focus goes where the user clicked. A save the input check then
// refuses names the fields still empty.
TEST_F(Fangeingabe, AClickOutOfTheNoteGoesWhereItPointsAndTheRefusalNamesTheEmptyFields)
{
    klickeIn(f->txtNotiz);
    tasten("Abends");
    klickeIn(f->txtAnzahl);
    EXPECT_TRUE(hatFokus(f->txtAnzahl));
    tasten("7");
    EXPECT_EQ(f->txtAnzahl->text(), QString("7"));
    EXPECT_EQ(f->cboFArt->currentText(), QString());

    taste(Qt::Key_F3);
    ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
    EXPECT_EQ(boxes.last().text,
              Eingabefehler + QStringLiteral("\n\r\n\rBitte prüfen: Fischart, Gewässer, Fangmonat, Gewicht"));
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Fang"), 4);
    EXPECT_EQ(f->txtAnzahl->text(), QString("7")) << "the fields keep their contents";
}
