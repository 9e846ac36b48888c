#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"
#include "fishery/modFAuswert.h"
#include "fishery/modFAuswertDruck.h"
#include "fishery/modFangbuch.h"

#include "core/Main.h"
#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"

#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/statusbar.h"
#include "office/fakeoffice.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"
#include "report/preview.h"
#include "report/report.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

namespace {

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
const QString KeineTreffer = QStringLiteral("Keine passenden Einträge gefunden !");
const QString Abgebrochen = QStringLiteral("Vorgang von User abgebrochen !");
const QString AllesLaden =
    QStringLiteral("ACHTUNG: Wirklich alle Fangdaten aus der Datenbank laden ?\r\n"
                   "Bendenken Sie das die Ladezeit je nach Grösse der Datenbank sehr lange dauern kann !");

// A club with three fish species (one with an apostrophe in its name), two waters and seven
// catches over three years; the main window is loaded with the starter user logged in, so that
// the catch-log right is read as at run time.
//
//   nr  year month     species  water      number weight
//   1   2023 Mai       Hecht    Baggersee   2     3000
//   2   2023 Juli      Zander   Altarm      1     1500
//   3   2024 März      Hecht    Altarm      5     4200
//   4   2024 März      Barsch   Baggersee  10      800
//   5   2024 Dezember  Zander   Baggersee   3     2500
//   6   2022 März      Hecht    Baggersee   1      900
//   7   2024 Juni      O'Hara   Altarm      4     1000
class AuswertungTest : public apptest::ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        core::einstiege().startschritte.zeigeLogin = [] {};
        main = &forms::form<Main>();
        ASSERT_TRUE(db().IsOpen());
        main->StatusBar1->setPanelText(4, "Verwalter");
        db().Execute("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander'), ('Barsch'), ('O''Hara')");
        db().Execute("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Altarm')");
        db().Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) VALUES "
                     "(2023, 5, 1, 1, '', 2, 3000), (2023, 7, 2, 2, '', 1, 1500), (2024, 3, 1, 2, '', 5, 4200), "
                     "(2024, 3, 3, 1, '', 10, 800), (2024, 12, 2, 1, '', 3, 2500), (2022, 3, 1, 1, '', 1, 900), "
                     "(2024, 6, 4, 2, '', 4, 1000)");

        auto &g = gv();
        g.intJahr = 2024;
        g.intMonat = 3;
        g.strMonat = QStringLiteral("März");
        g.blnStartLaden = true;
        modStart::loadTblFBasis();
        modStart::loadTblGBasis();
        fangbuch = &forms::form<Fangbuch>();
        modStart::loadTblFList(*fangbuch->tblFList, fangbuch->pb);
        g.blnStartLaden = false;
        fishery::RegistriereFangbuch();
        fishery::RegistriereFangauswertung();

        w = &forms::form<Fangauswertung>();
        w->resize(900, 700);
        w->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        boxes.clear();
    }

    static dao::Database &db() { return gv().dbDaten; }
    static QVariant spalte(qlonglong nr, const char *name)
    {
        return feld("SELECT * FROM Fang WHERE FangNr = ?", nr, name);
    }

    // A click on a toolbar button, as the user makes it.
    void klicke(QToolBar *leiste, const char *key)
    {
        QAction *a = leiste->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_NE(a, nullptr) << key;
        QWidget *knopf = leiste->widgetForAction(a);
        ASSERT_NE(knopf, nullptr) << key;
        QTest::mouseClick(knopf, Qt::LeftButton);
    }
    void suche() { klicke(w->Toolbar1, "tbSuch"); }
    void tick(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
    void tippe(QLineEdit *feld, const QString &text)
    {
        feld->setFocus();
        QTest::keyClicks(feld, text);
    }
    // The grid's shown FangNr column.
    QStringList nummern() const
    {
        QStringList n;
        for (int r = 0; r < w->tblFAusw->rowCount(); ++r)
            n << w->tblFAusw->text(r, 0);
        return n;
    }
    QPoint zeilenMitte(int row) const
    {
        QApplication::processEvents();
        QTableView *view = w->tblFAusw->view();
        return view->visualRect(view->model()->index(row, 1)).center();
    }

    Main *main = nullptr;
    Fangbuch *fangbuch = nullptr;
    Fangauswertung *w = nullptr;
};

struct Grenze
{
    const char *op1 = nullptr;
    const char *wert1 = nullptr;
    const char *op2 = nullptr;
    const char *wert2 = nullptr;
};

} // namespace

TEST_F(AuswertungTest, TheWindowStartsWithItsListsAndEveryFilterOff)
{
    EXPECT_EQ(w->windowTitle(), QString("Fangauswertung"));
    EXPECT_EQ(w->Ueberschrift->text(), QString("FANGAUSWERTUNG"));
    EXPECT_EQ(w->Frame1->title(), QString("Liste generieren..."));
    EXPECT_EQ(w->cboFJahr->currentText(), QString("2024"));
    EXPECT_EQ(w->cboFJahr->count(), 3);
    EXPECT_EQ(w->cboFMonat->currentText(), QString("März"));
    EXPECT_EQ(w->cboFArt->count(), 4);
    EXPECT_TRUE(w->cboFArt->currentText().isEmpty());
    EXPECT_EQ(w->cboOptAnz02->count(), 6);
    EXPECT_EQ(w->cboOptGew01->itemText(5), QString("<>"));
    EXPECT_EQ(w->cboOptGew01->currentIndex(), -1);
    for (QWidget *e : std::initializer_list<QWidget *>{w->cboFJahr, w->cboFArt, w->cboGName, w->cboFMonat, w->txtAnz02,
                                                       w->cboOptGew01})
        EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    for (bool f : gv().blnFangFilter)
        EXPECT_FALSE(f);
    const QString spalten[] = {"FangNr", "Fischart", "Gewässer", "Monat", "Fangjahr", "Anzahl", "Gew. i. Gramm"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(w->tblFAusw->top().columnCaption(c), spalten[c]);
    for (const char *key : {"tbExcel", "tbVorschau", "tbDruck"})
        EXPECT_TRUE(w->Toolbar1->findChild<QAction *>(key)->isEnabled()) << key;
    EXPECT_TRUE(w->Toolbar1->findChild<QAction *>("tbSuch")->isEnabled());
}

TEST_F(AuswertungTest, FilterCombinationsFindTheirCatchesWithCountAndSums)
{
    const struct Fall
    {
        const char *name;
        const char *jahr;
        const char *fisch;
        const char *gewaesser;
        const char *monat;
        Grenze anzahl;
        Grenze gewicht;
        QStringList gefunden;
        const char *summeAnzahl;
        const char *summeGewicht;
    } faelle[] = {
        {"year", "2024", nullptr, nullptr, nullptr, {}, {}, {"3", "4", "5", "7"}, "22", "8500"},
        {"species", nullptr, "Hecht", nullptr, nullptr, {}, {}, {"1", "3", "6"}, "8", "8100"},
        {"species with apostrophe", nullptr, "O'Hara", nullptr, nullptr, {}, {}, {"7"}, "4", "1000"},
        {"water", nullptr, nullptr, "Altarm", nullptr, {}, {}, {"2", "3", "7"}, "10", "6700"},
        {"month", nullptr, nullptr, nullptr, "März", {}, {}, {"3", "4", "6"}, "16", "5900"},
        {"month 12", nullptr, nullptr, nullptr, "Dezember", {}, {}, {"5"}, "3", "2500"},
        {"lower number only", nullptr, nullptr, nullptr, nullptr, {">", "2"}, {}, {"3", "4", "5", "7"}, "22", "8500"},
        {"number between",
         nullptr,
         nullptr,
         nullptr,
         nullptr,
         {">=", "2", "<=", "5"},
         {},
         {"1", "3", "5", "7"},
         "14",
         "10700"},
        {"number equal", nullptr, nullptr, nullptr, nullptr, {"=", "10"}, {}, {"4"}, "10", "800"},
        {"number not",
         nullptr,
         nullptr,
         nullptr,
         nullptr,
         {">", "0", "<>", "5"},
         {},
         {"1", "2", "4", "5", "6", "7"},
         "21",
         "9700"},
        {"weight below", nullptr, nullptr, nullptr, nullptr, {}, {"<", "1000"}, {"4", "6"}, "11", "1700"},
        {"weight not",
         nullptr,
         nullptr,
         nullptr,
         nullptr,
         {},
         {"<>", "3000"},
         {"2", "3", "4", "5", "6", "7"},
         "24",
         "10900"},
        {"year and weight range",
         "2024",
         nullptr,
         nullptr,
         nullptr,
         {},
         {">=", "1000", "<", "3000"},
         {"5", "7"},
         "7",
         "3500"},
        {"year and species", "2024", "Hecht", nullptr, nullptr, {}, {}, {"3"}, "5", "4200"},
        {"year and month without catch", "2023", nullptr, nullptr, "März", {}, {}, {}, "0", "0"},
        {"species and water without catch", nullptr, "Barsch", "Altarm", nullptr, {}, {}, {}, "0", "0"},
    };
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.name);
        klicke(w->Toolbar1, "tbAnzLoeschen");
        boxes.clear();
        if (fall.jahr) {
            tick(w->chkArchiv);
            w->cboFJahr->setCurrentText(fall.jahr);
        }
        if (fall.fisch) {
            tick(w->chkFArt);
            w->cboFArt->setCurrentText(fall.fisch);
        }
        if (fall.gewaesser) {
            tick(w->chkGName);
            w->cboGName->setCurrentText(fall.gewaesser);
        }
        if (fall.monat) {
            tick(w->chkFMonat);
            w->cboFMonat->setCurrentText(fall.monat);
        }
        const struct
        {
            const Grenze &g;
            QCheckBox *box;
            QComboBox *op1;
            QLineEdit *w1;
            QComboBox *op2;
            QLineEdit *w2;
        } grenzen[] = {{fall.anzahl, w->chkAnzahl, w->cboOptAnz01, w->txtAnz01, w->cboOptAnz02, w->txtAnz02},
                       {fall.gewicht, w->chkGewicht, w->cboOptGew01, w->txtGew01, w->cboOptGew02, w->txtGew02}};
        for (const auto &g : grenzen) {
            if (!g.g.op1)
                continue;
            tick(g.box);
            g.op1->setCurrentText(g.g.op1);
            tippe(g.w1, g.g.wert1);
            if (g.g.op2) {
                g.op2->setCurrentText(g.g.op2);
                tippe(g.w2, g.g.wert2);
            }
        }
        suche();
        EXPECT_EQ(nummern(), fall.gefunden);
        EXPECT_EQ(w->lblGefDS->text(), QString::number(fall.gefunden.size()));
        EXPECT_EQ(w->lblSumAnz->text(), QString(fall.summeAnzahl));
        EXPECT_EQ(w->lblSumGew->text(), QString(fall.summeGewicht));
        if (fall.gefunden.isEmpty()) {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().text, KeineTreffer);
            EXPECT_EQ(boxes.last().flags, forms::vbInformation);
        } else {
            EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
        }
        EXPECT_FALSE(w->pb->isVisibleTo(w));
    }
}

TEST_F(AuswertungTest, ARowHoldsTheCatchWithItsNamesMonthAndYear)
{
    tick(w->chkArchiv);
    suche();
    ASSERT_EQ(w->tblFAusw->rowCount(), 4);
    QStringList zeile;
    for (int c = 0; c < 7; ++c)
        zeile << w->tblFAusw->text(0, c);
    EXPECT_EQ(zeile, QStringList({"3", "Hecht", "Altarm", "März", "2024", "5", "4200"}));
    EXPECT_EQ(w->pb->maximum(), 4);
    EXPECT_EQ(w->pb->value(), 4);
}

TEST_F(AuswertungTest, WithoutAFilterTheSearchAsksFirst)
{
    tick(w->chkArchiv);
    suche();
    ASSERT_EQ(w->tblFAusw->rowCount(), 4);
    tick(w->chkArchiv); // off again: no filter left

    const struct
    {
        int antwort;
        QStringList gefunden;
    } faelle[] = {
        {forms::vbNo, {"3", "4", "5", "7"}},
        {forms::vbYes, {"1", "2", "3", "4", "5", "6", "7"}},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.antwort);
        boxes.clear();
        boxes.answer(fall.antwort);
        suche();
        ASSERT_GE(boxes.count(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, AllesLaden);
        EXPECT_EQ(boxes.boxes()[0].flags, forms::vbYesNo);
        EXPECT_EQ(boxes.boxes()[0].title, QString("Torvana"));
        EXPECT_EQ(boxes.boxes()[0].answer, fall.antwort);
        EXPECT_EQ(nummern(), fall.gefunden);
        if (fall.antwort == forms::vbNo) {
            ASSERT_EQ(boxes.count(), 2u);
            EXPECT_EQ(boxes.last().text, Abgebrochen);
            EXPECT_EQ(w->lblSumAnz->text(), QString("22")); // left as it was
        } else {
            EXPECT_EQ(boxes.count(), 1u);
            EXPECT_EQ(w->lblGefDS->text(), QString("7"));
            EXPECT_EQ(w->lblSumAnz->text(), QString("26"));
            EXPECT_EQ(w->lblSumGew->text(), QString("13900"));
        }
    }
}

TEST_F(AuswertungTest, IncompleteOrUnusableFiltersAreRefusedWithoutAQuery)
{
    tick(w->chkArchiv);
    suche();
    ASSERT_EQ(nummern(), QStringList({"3", "4", "5", "7"}));
    tick(w->chkArchiv);

    const struct Fall
    {
        const char *name;
        std::function<void()> setze;
    } faelle[] = {
        {"operator without value",
         [&] {
             tick(w->chkAnzahl);
             w->cboOptAnz01->setCurrentText(">");
         }},
        {"upper limit alone",
         [&] {
             tick(w->chkAnzahl);
             w->cboOptAnz02->setCurrentText("<");
             tippe(w->txtAnz02, "5");
         }},
        {"upper value without its operator",
         [&] {
             tick(w->chkAnzahl);
             w->cboOptAnz01->setCurrentText(">");
             tippe(w->txtAnz01, "1");
             tippe(w->txtAnz02, "5");
         }},
        {"value pasted with letters",
         [&] {
             tick(w->chkGewicht);
             w->cboOptGew01->setCurrentText(">");
             w->txtGew01->setText("12a");
         }},
        {"value too large for a number",
         [&] {
             tick(w->chkGewicht);
             w->cboOptGew01->setCurrentText(">");
             w->txtGew01->setText("1e400");
         }},
        {"value of twenty digits",
         [&] {
             tick(w->chkGewicht);
             w->cboOptGew01->setCurrentText(">");
             w->txtGew01->setText("99999999999999999999");
         }},
        {"operator not in the list",
         [&] {
             tick(w->chkAnzahl);
             w->cboOptAnz01->addItem("LIKE");
             w->cboOptAnz01->setCurrentText("LIKE");
             tippe(w->txtAnz01, "1");
         }},
        {"species list left empty", [&] { tick(w->chkFArt); }},
        {"year list left empty",
         [&] {
             tick(w->chkArchiv);
             w->cboFJahr->setCurrentIndex(-1);
         }},
        {"species deleted meanwhile",
         [&] {
             tick(w->chkFArt);
             w->cboFArt->setCurrentText("Barsch");
             db().Execute("DELETE FROM Fisch WHERE FName = 'Barsch'");
         }},
    };
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.name);
        fall.setze();
        boxes.clear();
        suche();
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_EQ(nummern(), QStringList({"3", "4", "5", "7"})); // no query ran
        EXPECT_EQ(w->lblSumGew->text(), QString("8500"));
        // Back to no filter, the grid kept.
        for (QCheckBox *b : {w->chkArchiv, w->chkFArt, w->chkAnzahl, w->chkGewicht})
            if (b->isChecked())
                tick(b);
        w->cboOptAnz01->removeItem(w->cboOptAnz01->findText("LIKE"));
        for (QLineEdit *e : {w->txtAnz01, w->txtAnz02, w->txtGew01, w->txtGew02})
            e->clear();
        for (QComboBox *c : {w->cboOptAnz01, w->cboOptAnz02, w->cboOptGew01, w->cboOptGew02})
            c->setCurrentIndex(-1);
    }
}

TEST_F(AuswertungTest, AnUpperOperatorWithoutItsValueSetsNoBound)
{
    // The upper operator, once chosen, cannot be taken out of its list again: emptying the
    // value takes the bound away.
    const struct
    {
        const char *name;
        QCheckBox *box;
        QComboBox *op1;
        QLineEdit *wert1;
        QComboBox *op2;
        QLineEdit *wert2;
        const char *unten;
        const char *oben;
        QStringList mitOben;
        QStringList ohneOben;
    } faelle[] = {
        {"number",
         w->chkAnzahl,
         w->cboOptAnz01,
         w->txtAnz01,
         w->cboOptAnz02,
         w->txtAnz02,
         "2",
         "5",
         {"1", "3", "5", "7"},
         {"1", "3", "4", "5", "7"}},
        {"weight",
         w->chkGewicht,
         w->cboOptGew01,
         w->txtGew01,
         w->cboOptGew02,
         w->txtGew02,
         "1000",
         "3000",
         {"1", "2", "5", "7"},
         {"1", "2", "3", "5", "7"}},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        klicke(w->Toolbar1, "tbAnzLoeschen");
        tick(fall.box);
        fall.op1->setCurrentText(">=");
        tippe(fall.wert1, fall.unten);
        fall.op2->setCurrentText("<=");
        tippe(fall.wert2, fall.oben);
        boxes.clear();
        suche();
        EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
        EXPECT_EQ(nummern(), fall.mitOben);

        // The value emptied with Backspace, the operator left standing.
        fall.wert2->setFocus();
        fall.wert2->end(false);
        for (int i = 0; i < int(std::strlen(fall.oben)); ++i)
            QTest::keyClick(fall.wert2, Qt::Key_Backspace);
        ASSERT_TRUE(fall.wert2->text().isEmpty());
        ASSERT_EQ(fall.op2->currentText(), QString("<="));
        suche();
        EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
        EXPECT_EQ(nummern(), fall.ohneOben);
        EXPECT_EQ(w->lblGefDS->text(), QString::number(fall.ohneOben.size()));
    }
}

TEST_F(AuswertungTest, TheValueBoxesTakeDigitsOnly)
{
    forms::RecordingBeep beep;
    tick(w->chkAnzahl);
    tippe(w->txtAnz01, "1e4,5");
    EXPECT_EQ(w->txtAnz01->text(), QString("145"));
    EXPECT_EQ(beep.count(), 2);
}

TEST_F(AuswertungTest, AFilterFailingInTheDatabaseIsReportedAndListsNothing)
{
    tick(w->chkArchiv);
    db().Execute("ALTER TABLE Fang RENAME TO FangAlt");
    suche();
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.boxes()[0].text.startsWith("Unvorhergesehener Fehler in Modul: modFAuswert / Routine: LadeAuswahl !"))
        << boxes.boxes()[0].text.toStdString();
    EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3078")), boxes.count()) << "only the error of the filter";
    EXPECT_EQ(w->tblFAusw->rowCount(), 0);
    EXPECT_EQ(w->lblGefDS->text(), QString("0"));
    EXPECT_FALSE(w->pb->isVisibleTo(w));
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
}

// The chosen species or water is looked up before the search; a look-up that fails is
// reported by its own box alone, and the filter is not blamed.
TEST_F(AuswertungTest, AFailedLookUpOfTheFilterIsReportedOnceAndSearchesNothing)
{
    const struct
    {
        const char *name;
        QCheckBox *Fangauswertung::*filter;
        QComboBox *Fangauswertung::*liste;
        const char *wahl;
        dao::Sql weg, zurueck;
        const char *routine;
    } faelle[] = {
        {"species", &Fangauswertung::chkFArt, &Fangauswertung::cboFArt, "Hecht", "ALTER TABLE Fisch RENAME TO FischWeg",
         "ALTER TABLE FischWeg RENAME TO Fisch", "ErmittleFischNr"},
        {"water", &Fangauswertung::chkGName, &Fangauswertung::cboGName, "Altarm",
         "ALTER TABLE Gewaesser RENAME TO GewaesserWeg", "ALTER TABLE GewaesserWeg RENAME TO Gewaesser",
         "ErmittleGewaesserNr"},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        tick(w->*f.filter);
        (w->*f.liste)->setCurrentText(f.wahl);
        db().Execute(f.weg);
        boxes.clear();
        suche();
        db().Execute(f.zurueck);
        ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3078"));
        EXPECT_TRUE(boxes.last().text.startsWith(QString("Unvorhergesehener Fehler in Modul: modFangbuch / Routine: ") +
                                                 f.routine + " !"))
            << boxes.last().text.toStdString();
        EXPECT_EQ(w->tblFAusw->rowCount(), 0);
        tick(w->*f.filter);
    }
}

TEST_F(AuswertungTest, UntickingKeepsTheInputsAndTheResetClearsEverything)
{
    tick(w->chkAnzahl);
    EXPECT_TRUE(w->txtAnz01->isEnabled());
    EXPECT_TRUE(gv().blnFangFilter[modFAuswert::FilterAnzahl]);
    tippe(w->txtAnz01, "5");
    tick(w->chkAnzahl);
    EXPECT_FALSE(w->txtAnz01->isEnabled());
    EXPECT_FALSE(w->cboOptAnz02->isEnabled());
    EXPECT_EQ(w->txtAnz01->text(), QString("5"));
    EXPECT_FALSE(gv().blnFangFilter[modFAuswert::FilterAnzahl]);

    tick(w->chkArchiv);
    w->cboFJahr->setCurrentText("2022");
    tick(w->chkFMonat);
    w->cboFMonat->setCurrentText("Juli");
    tick(w->chkAnzahl);
    w->cboOptAnz01->setCurrentText(">");
    suche();
    ASSERT_EQ(boxes.count(), 1u); // no catch of July 2022
    EXPECT_EQ(boxes.count(KeineTreffer), 1u);
    gv().intMonat = 8;
    klicke(w->Toolbar1, "tbAnzLoeschen");
    EXPECT_EQ(w->cboFJahr->currentText(), QString("2024"));
    EXPECT_EQ(w->cboFMonat->currentText(), QString("August"));
    EXPECT_EQ(w->cboOptAnz01->currentIndex(), -1);
    EXPECT_TRUE(w->txtAnz01->text().isEmpty());
    for (QCheckBox *b : {w->chkArchiv, w->chkFArt, w->chkGName, w->chkFMonat, w->chkAnzahl, w->chkGewicht})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    for (QWidget *e : std::initializer_list<QWidget *>{w->cboFJahr, w->cboFMonat, w->cboOptAnz01, w->txtAnz01})
        EXPECT_FALSE(e->isEnabled()) << e->objectName().toStdString();
    for (bool f : gv().blnFangFilter)
        EXPECT_FALSE(f);
    EXPECT_EQ(w->tblFAusw->rowCount(), 0);
    EXPECT_TRUE(w->lblGefDS->text().isEmpty());
    EXPECT_TRUE(w->lblSumAnz->text().isEmpty());

    // Afterwards a search asks the no-filter question.
    boxes.clear();
    boxes.answer(forms::vbNo);
    suche();
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, AllesLaden);
    EXPECT_EQ(boxes.count(Abgebrochen), 1u);
}

TEST_F(AuswertungTest, ADoubleClickedCatchOpensInTheCatchLogAndKeepsItsYear)
{
    // The catch log shows March 2024: catches 3 and 4.
    ASSERT_EQ(fangbuch->tblFList->rowCount(), 2);
    tick(w->chkArchiv);
    w->cboFJahr->setCurrentText("2022");
    suche();
    ASSERT_EQ(nummern(), QStringList({"6"}));

    QTest::mouseDClick(w->tblFAusw->view()->viewport(), Qt::LeftButton, {}, zeilenMitte(0));
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(fangbuch->isVisible());
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(gv().lngDSNr, 0);
    EXPECT_EQ(fangbuch->lblFNr->text(), QString("6"));
    EXPECT_EQ(fangbuch->cboFArt->currentText(), QString("Hecht"));
    EXPECT_EQ(fangbuch->txtMonNr->text(), QString("03"));
    // Beside "Fangjahr:" the catch's own year, the grid of its year and month.
    EXPECT_EQ(fangbuch->cboFJahr->currentText(), QString("2022"));
    EXPECT_EQ(fangbuch->cboSelMonat->currentText(), QString("März"));
    ASSERT_EQ(fangbuch->tblFList->rowCount(), 1);
    EXPECT_EQ(fangbuch->tblFList->text(0, 0), QString("6"));

    fangbuch->txtAnzahl->setText("6");
    klicke(fangbuch->Toolbar1, "tbSpeichern");
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(spalte(6, "FangJahr").toInt(), 2022);
    EXPECT_EQ(spalte(6, "Anzahl").toInt(), 6);
    ASSERT_EQ(fangbuch->tblFList->rowCount(), 1);
    EXPECT_EQ(fangbuch->tblFList->text(0, 4), QString("6"));
    EXPECT_EQ(spalte(3, "Anzahl").toInt(), 5);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(AuswertungTest, WithoutTheCatchLogRightNothingOpens)
{
    tick(w->chkArchiv);
    suche();
    db().Execute("UPDATE Gruppen SET Fangbuch = 0");
    QTest::mouseDClick(w->tblFAusw->view()->viewport(), Qt::LeftButton, {}, zeilenMitte(1));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("Sie haben keine Zugriffsberechtigung auf diese Funktion !"));
    EXPECT_EQ(boxes.last().flags, forms::vbInformation);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_TRUE(fangbuch->lblFNr->text().isEmpty());

    // The context menu offers the command disabled.
    QContextMenuEvent rechts(QContextMenuEvent::Mouse, zeilenMitte(1),
                             w->tblFAusw->view()->viewport()->mapToGlobal(zeilenMitte(1)));
    QApplication::sendEvent(w->tblFAusw->view()->viewport(), &rechts);
    EXPECT_FALSE(main->mnuFangInfo->isEnabled());
    main->mnuKontMenu_FAusw->hide();
}

TEST_F(AuswertungTest, TheContextCommandOpensTheRowChosenHereWhateverAnotherWindowChoseSince)
{
    tick(w->chkArchiv);
    w->cboFJahr->setCurrentText("2023");
    suche();
    ASSERT_EQ(nummern(), QStringList({"1", "2"}));
    QTest::mouseClick(w->tblFAusw->view()->viewport(), Qt::LeftButton, {}, zeilenMitte(1));
    EXPECT_TRUE(gv().blnDSGewaehlt);
    EXPECT_EQ(gv().lngDSNr, 1);

    // Meanwhile the catch log chose its row 0.
    fangbuch->tblFList_DblClick(0);
    fangbuch->Toolbar1_ButtonClick("tbAnzLoeschen");
    EXPECT_EQ(gv().lngDSNr, 0);

    const QPoint p = zeilenMitte(1);
    QContextMenuEvent rechts(QContextMenuEvent::Mouse, p, w->tblFAusw->view()->viewport()->mapToGlobal(p));
    QApplication::sendEvent(w->tblFAusw->view()->viewport(), &rechts);
    EXPECT_TRUE(main->mnuKontMenu_FAusw->isVisible());
    EXPECT_TRUE(main->mnuFangInfo->isEnabled());
    main->mnuKontMenu_FAusw->hide();
    main->mnuFangInfo->trigger();

    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(fangbuch->isVisible());
    EXPECT_EQ(fangbuch->lblFNr->text(), QString("2"));
    fangbuch->txtGewicht->setText("1600");
    fangbuch->Form_KeyDown(114, 0); // F3
    EXPECT_EQ(spalte(2, "FangJahr").toInt(), 2023);
    EXPECT_EQ(spalte(2, "Gewicht").toInt(), 1600);
    EXPECT_EQ(spalte(3, "Gewicht").toInt(), 4200);
    // The catch log shows July 2023, the catch's own year and month.
    EXPECT_EQ(fangbuch->cboFJahr->currentText(), QString("2023"));
    ASSERT_EQ(fangbuch->tblFList->rowCount(), 1);
    EXPECT_EQ(fangbuch->tblFList->text(0, 0), QString("2"));
}

TEST_F(AuswertungTest, TheFileKeyAsksFirstAndWritesTheFoundCatchesOnlyWithRows)
{
    office::FakeOffice office;
    ASSERT_TRUE(QDir(home.path()).mkdir("SeqData"));
    const QString datei = home.filePath("SeqData/FANG.csv");
    EXPECT_TRUE(w->Toolbar1->findChild<QAction *>("tbExcel")->isEnabled());

    const QString Frage =
        "Wollen Sie eine in Excel zu importierende Datei mit der Bezeichnung - FANG.csv - erzeugen ?\n\r"
        "ACHTUNG: Der Datei liegen die gerade erzeugten Fangdaten zugrunde ! Wollen Sie die Datei jetzt erzeugen ?";
    const QString Leer = "Keine Daten zum erzeugen der Datei - FANG.csv - gefunden, der Vorgang wird abgebrochen !";
    boxes.answer(forms::vbNo);
    klicke(w->Toolbar1, "tbExcel");
    boxes.answer(forms::vbYes);
    klicke(w->Toolbar1, "tbExcel");
    ASSERT_EQ(boxes.count(), 4u);
    EXPECT_EQ(boxes.boxes()[0].text, Frage);
    EXPECT_EQ(boxes.boxes()[0].flags, forms::vbYesNo);
    EXPECT_EQ(boxes.boxes()[1].text, Abgebrochen);
    EXPECT_EQ(boxes.boxes()[3].text, Leer);
    EXPECT_FALSE(QFile::exists(datei));

    tick(w->chkArchiv);
    suche();
    boxes.clear();
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbOK);
    boxes.answer(forms::vbYes);
    klicke(w->Toolbar1, "tbExcel");
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.boxes()[1].text,
              "Datei - FANG.csv - wurde erfolgreich im Pfad: " + home.filePath("SeqData") + "/ erstellt !");
    EXPECT_EQ(boxes.boxes()[1].flags, forms::vbOKOnly + forms::vbInformation);
    EXPECT_EQ(boxes.boxes()[2].text, QString("Möchten Sie jetzt Excel starten ?"));
    EXPECT_EQ(boxes.boxes()[2].flags, forms::vbYesNo);
    EXPECT_EQ(boxes.boxes()[2].answer, forms::vbYes);
    ASSERT_EQ(office.calls.size(), 1);
    EXPECT_EQ(office.calls[0].program, office::Program::Spreadsheet);
    EXPECT_EQ(office.calls[0].path, datei);
    // The four catches of 2024 as the grid shows them.
    const QByteArray erwartet = "FangNr;Fischart;Gew\xe4sser;Fangdatum(jjjj.m);Anzahl;Gewicht;\r\n"
                                "3              ;Hecht;Altarm;2024.03;5;4200;\r\n"
                                "4              ;Barsch;Baggersee;2024.03;10;800;\r\n"
                                "5              ;Zander;Baggersee;2024.12;3;2500;\r\n"
                                "7              ;O'Hara;Altarm;2024.06;4;1000;\r\n";
    EXPECT_EQ(office.calls[0].content, erwartet);
}

TEST_F(AuswertungTest, ThePrintOutIsHeadedByTheFilterTheSearchApplied)
{
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    tick(w->chkArchiv);
    w->cboFJahr->setCurrentText("2023");
    suche();
    ASSERT_EQ(nummern(), QStringList({"1", "2"}));
    // Changed since, without a new search.
    w->cboFJahr->setCurrentText("2024");
    tick(w->chkFArt);
    w->cboFArt->setCurrentText("Hecht");
    tick(w->chkFMonat);

    klicke(w->Toolbar1, "tbDruck");
    EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
    ASSERT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastRows, 2);
    report::Report &r = modFAuswert::rpt_Fangliste();
    EXPECT_EQ(r.PageHeader().Controls("lblFJahr").Caption, QString("2023"));
    EXPECT_EQ(r.PageHeader().Controls("lblFMonat").Caption, QString("alle"));
    EXPECT_EQ(r.ReportFooter().Controls("lblFischart").Caption, QString("alle"));
    EXPECT_EQ(r.ReportFooter().Controls("lblGefDS").Caption, QString("2"));

    // After the print-out the next activation refills nothing.
    EXPECT_TRUE(modGVar::KeinNeuLaden(*w));
    w->Hide();
    w->Show();
    EXPECT_EQ(w->cboFArt->currentText(), QString("Hecht"));
    EXPECT_FALSE(modGVar::KeinNeuLaden(*w));
    w->Hide();
    w->Show();
    EXPECT_TRUE(w->cboFArt->currentText().isEmpty());
}

TEST_F(AuswertungTest, ThePrintKeyPrintsTheFoundCatchesWithTheirTotalsUnderTheAppliedFilter)
{
    ASSERT_TRUE(pdftext::Available()) << "pdftotext (poppler-utils) reads the printed page back";
    report::FakePrinters drucker{{QStringLiteral("Laser Büro"), QStringLiteral("Tinte Kasse")}};
    drucker.pdfPath = home.filePath(QStringLiteral("fangliste.pdf"));
    tick(w->chkArchiv); // the year filter, on 2024
    suche();
    ASSERT_EQ(nummern(), QStringList({"3", "4", "5", "7"}));
    // Switched on since, without a new search: not what the list was made with.
    tick(w->chkFMonat);
    tick(w->chkFArt);
    w->cboFArt->setCurrentText("Zander");

    klicke(w->Toolbar1, "tbDruck");
    EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
    ASSERT_EQ(drucker.printed, 1);
    const QString t = pdftext::Text(drucker.pdfPath);
    EXPECT_EQ(
        pdftext::NotInOrder(t, {"Fangjahr",  "2024",     "Fangmonat:", "alle",    "Fangliste", "FangNr:", "Fischart:",
                                "Gewässer:", "Monat:",   "Fangjahr:",  "Anzahl:", "Gewicht:",  "3",       "Hecht",
                                "Altarm",    "März",     "2024",       "5",       "4.200",     "4",       "Barsch",
                                "Baggersee", "März",     "2024",       "10",      "800",       "5",       "Zander",
                                "Baggersee", "Dezember", "2024",       "3",       "2.500",     "7",       "O'Hara",
                                "Altarm",    "Juni",     "2024",       "4",       "1.000"}),
        std::string())
        << t.toStdString();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Settings der Fangliste:", "gewählte Fischart", "alle", "gewähltes Gewässer",
                                      "alle", "Anzahl d. gef. Einträge:", "4"}),
              std::string())
        << t.toStdString();
    EXPECT_EQ(pdftext::NotInOrder(t, {"Fischanzahl [gesamt]", "22", "Fischgewicht [gesamt]", "8500", "i.Gramm"}),
              std::string())
        << t.toStdString();
    EXPECT_EQ(pdftext::Count(t, "Zander"), 1) << "the species typed after the search is not printed";
}

TEST_F(AuswertungTest, ThePreviewKeyShowsTheListWithoutAPrinterAndPrintingWithoutOneIsRefused)
{
    report::FakePrinters keiner;
    tick(w->chkArchiv);
    w->cboFJahr->setCurrentText("2023");
    suche();
    ASSERT_EQ(nummern(), QStringList({"1", "2"}));

    klicke(w->Toolbar1, "tbVorschau");
    EXPECT_EQ(boxes.count(), 0u) << boxes.last().text.toStdString();
    EXPECT_EQ(keiner.dialogs, 0);
    QPointer<QWidget> v = modFAuswert::rpt_Fangliste().window();
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    auto *p = qobject_cast<report::PreviewWindow *>(v.data());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(v->windowTitle(), QString("Fangliste"));
    EXPECT_EQ(p->document().rows->values.size(), 2);

    klicke(w->Toolbar1, "tbDruck");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("ACHTUNG: Kein Drucker installiert, Vorgang wird abgebrochen !"));
    EXPECT_EQ(keiner.dialogs, 0);
}

TEST_F(AuswertungTest, PrintingAnEmptyResultSaysSoAndPrintsNothing)
{
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    tick(w->chkArchiv);
    w->cboFJahr->setCurrentText("2022");
    tick(w->chkFArt);
    w->cboFArt->setCurrentText("Zander");
    suche();
    ASSERT_EQ(w->tblFAusw->rowCount(), 0);
    EXPECT_EQ(boxes.last().text, KeineTreffer);
    boxes.clear();
    for (const char *key : {"tbDruck", "tbVorschau"}) {
        SCOPED_TRACE(key);
        boxes.clear();
        klicke(w->Toolbar1, key);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !"));
    }
    EXPECT_EQ(drucker.dialogs, 0);
    EXPECT_EQ(db().OpenRecordset("SELECT COUNT(*) AS n FROM Druck_Fangliste", dao::dbOpenDynaset)(0).Value().toInt(),
              0);
}

TEST_F(AuswertungTest, TheRegistrationLetsTheMainWindowReachTheGrid)
{
    EXPECT_EQ(core::Fenster("Fangauswertung"), w);
    ASSERT_TRUE(core::einstiege().bereiche.tblFAusw);
    EXPECT_EQ(core::einstiege().bereiche.tblFAusw(), w->tblFAusw);
}
