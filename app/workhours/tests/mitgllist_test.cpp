// The member list driven through the main window: filters, the query with each member's hours,
// bad input, the reset, and the ways out of the list (contact editor, work-hours window, back
// to the contact overview, print-outs).
#include "mitgllist_fixture.h"

#include "workhours/Arbeit.h"
#include "workhours/MitglList.h"
#include "workhours/modMitglList.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "core/Main.h"
#include "core/modMain.h"

#include "dao/oledate.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>

using namespace mitgltest;

namespace {

class MitglListe : public MitglListTest
{
protected:
    void SetUp() override
    {
        MitglListTest::SetUp();
        starte();
    }

    // Chooses the operator at index of an operator box with the arrow keys.
    void waehle(QComboBox *box, int index)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        if (box->currentIndex() < 0)
            QTest::keyClick(box, Qt::Key_Down);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(box, Qt::Key_Down);
        QApplication::processEvents();
    }
    void waehle(QComboBox *box, const QString &op) { waehle(box, box->findText(op)); }

    // Switches a date filter on with one or two bounds.
    void datum(QCheckBox *box, QComboBox *op1, QLineEdit *t1, const QString &o1, const QString &d1,
               QComboBox *op2 = nullptr, QLineEdit *t2 = nullptr, const QString &o2 = {}, const QString &d2 = {})
    {
        klicke(box);
        waehle(op1, o1);
        tippe(t1, d1);
        if (op2) {
            waehle(op2, o2);
            tippe(t2, d2);
        }
    }
    void gebDatum(const QString &o1, const QString &d1, const QString &o2 = {}, const QString &d2 = {})
    {
        MitglList &w = liste();
        datum(w.chkGebDat, w.cboOptGeb01, w.txtGeb01, o1, d1, o2.isEmpty() ? nullptr : w.cboOptGeb02, w.txtGeb02, o2,
              d2);
    }
    void eintritt(const QString &o1, const QString &d1)
    {
        MitglList &w = liste();
        datum(w.chkEintritt, w.cboOptTritt01, w.txtTritt01, o1, d1);
    }
    // Switches a pair filter on with one of its buttons.
    void paar(QCheckBox *box, QRadioButton *wahl)
    {
        klicke(box);
        klicke(wahl);
    }
    // The work-hours list of a year.
    void arbeitsliste(const QString &jahrText)
    {
        klicke(liste().chkArbAnz);
        tippe(liste().cboArbJahr, jahrText);
    }

    QStringList sortiert(QStringList l)
    {
        std::sort(l.begin(), l.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        return l;
    }
};

} // namespace

TEST_F(MitglListe, OpensFromTheContactOverviewInTheResultsPaneInItsStartState)
{
    MitglList &w = liste();
    EXPECT_EQ(w.windowTitle(), QString("Mitglieder - Listen"));
    EXPECT_EQ(modMain::ItemFromKey("Kontakte").get(), gv().objAktItem.get());
    EXPECT_FALSE(forms::form<KontaktUebers>().isVisible());
    for (const auto &f : w.filter()) {
        SCOPED_TRACE(f.box->objectName().toStdString());
        EXPECT_FALSE(f.box->isChecked());
        for (QWidget *c : f.controls)
            EXPECT_FALSE(c->isEnabled());
    }
    EXPECT_FALSE(w.cboArbJahr->isEnabled());
    EXPECT_EQ(w.cboArbJahr->currentText(), QString::number(jahr));
    QStringList jahre;
    for (int i = 0; i < w.cboArbJahr->count(); ++i)
        jahre << w.cboArbJahr->itemText(i);
    EXPECT_EQ(jahre, QStringList({QString::number(jahr - 1), QString::number(jahr)}));
    EXPECT_EQ(w.cboOptGeb01->count(), 6);
    EXPECT_EQ(w.cboOptGeb01->currentIndex(), -1);
    EXPECT_EQ(grid().rowCount(), 0);
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(grid().top().isColumnHidden(c), c >= 8) << c;
}

TEST_F(MitglListe, FilterCombinationsListTheirMembers)
{
    MitglList &w = liste();
    const struct
    {
        const char *name;
        std::function<void()> filter;
        QStringList knr;
    } faelle[] = {
        {"no filter", [] {}, {"1", "2", "3", "4", "6"}},
        {"man", [&] { paar(w.chkGeschl, w.optMann); }, {"2", "3", "6"}},
        {"woman", [&] { paar(w.chkGeschl, w.optFrau); }, {"1", "4"}},
        {"paid", [&] { paar(w.chkJBeitrag, w.optBezahlt); }, {"1", "3", "4"}},
        {"not paid", [&] { paar(w.chkJBeitrag, w.optNBezahlt); }, {"2", "6"}},
        {"active", [&] { paar(w.chkStatus, w.optAktiv); }, {"1", "2", "4", "6"}},
        {"passive", [&] { paar(w.chkStatus, w.optPassiv); }, {"3"}},
        {"exempt", [&] { paar(w.chkBefreit, w.optBefrJa); }, {"3"}},
        {"not exempt", [&] { paar(w.chkBefreit, w.optBefrNein); }, {"1", "2", "4", "6"}},
        {"left", [&] { paar(w.chkAusgMitgl, w.optAusgJa); }, {"3"}},
        {"not left", [&] { paar(w.chkAusgMitgl, w.optAusgNein); }, {"1", "2", "4", "6"}},
        {"youth group", [&] { paar(w.chkJG, w.optJGJa); }, {"2", "6"}},
        {"no youth group", [&] { paar(w.chkJG, w.optJGNein); }, {"1", "3", "4"}},
        {"born 1950 to 1989", [&] { gebDatum(">=", "1.1.1950", "<", "1.1.1990"); }, {"1", "3", "4"}},
        {"born after 31.12.1989", [&] { gebDatum(">", "31.12.1989"); }, {"6"}},
        {"born on 31.12.1989", [&] { gebDatum("=", "31.12.1989"); }, {"3"}},
        // Members without the date (2 has no birth date, 3 and 6 no entry date) match no bound.
        {"born not on 14.02.1980", [&] { gebDatum("<>", "14.02.1980", "<=", "31.12.2010"); }, {"3", "4", "6"}},
        {"born before 1980", [&] { gebDatum("<", "1.1.1980"); }, {"4"}},
        {"born not on 1.1.1960", [&] { gebDatum("<>", "1.1.1960"); }, {"1", "3", "6"}},
        {"entered on 1.1.2010", [&] { eintritt("=", "1.1.2010"); }, {"2"}},
        {"entered since 2000", [&] { eintritt(">=", "1.1.2000"); }, {"1", "2"}},
        {"entered before 2000", [&] { eintritt("<", "1.1.2000"); }, {"4"}},
        // Done against required on the figures as shown: 19.999999999999996 hours are 20,00.
        // Claasen (3) is exempt: he owes none and has done them.
        {"hours done", [&] { paar(w.chkArbStd, w.optStdJa); }, {"1", "3", "4", "6"}},
        {"hours not done", [&] { paar(w.chkArbStd, w.optStdNein); }, {"2", "3", "4", "6"}},
        {"woman, paid, active",
         [&] {
             paar(w.chkGeschl, w.optFrau);
             paar(w.chkJBeitrag, w.optBezahlt);
             paar(w.chkStatus, w.optAktiv);
         },
         {"1", "4"}},
        {"every filter at once",
         [&] {
             gebDatum(">=", "1.1.1950", "<", "1.1.1990");
             eintritt(">=", "1.1.1980");
             paar(w.chkGeschl, w.optFrau);
             paar(w.chkJBeitrag, w.optBezahlt);
             paar(w.chkStatus, w.optAktiv);
             paar(w.chkBefreit, w.optBefrNein);
             paar(w.chkAusgMitgl, w.optAusgNein);
             paar(w.chkJG, w.optJGNein);
             paar(w.chkArbStd, w.optStdJa);
         },
         {"1", "4"}},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        klickeKnopf("tbAnzLoeschen");
        boxes.clear();
        f.filter();
        suche();
        EXPECT_EQ(sortiert(knrListe()), f.knr) << texte(boxes);
        EXPECT_EQ(w.lblGefDS->text(), QString::number(f.knr.size()));
        const bool gefragt =
            std::none_of(gv().blnMitglFilter.begin(), gv().blnMitglFilter.end(), [](bool b) { return b; });
        EXPECT_EQ(boxes.count(), gefragt ? 1u : 0u) << texte(boxes);
    }
}

// Every filter on at once: exactly the members that meet each condition show, at the bounds of
// the birth-date range too; the values reach the conditions of their own filters (not in the
// order of the clicks), and a name with a quote is shown as it is.
TEST_F(MitglListe, AllFiltersTogetherShowExactlyTheMembersThatMeetEveryOne)
{
    const double eingetreten = dao::ToOleDate(QDate(1975, 4, 1));
    const double ausgetreten = dao::ToOleDate(QDate(2020, 12, 31));
    const struct
    {
        int knr;
        const char *name;
        QDate geboren; // invalid: no birth date
        int katego, geschlecht;
        double eintritt, austritt;
    } mitglieder[] = {
        {10, "O'Brien", {1950, 1, 1}, 2, 1, eingetreten, ausgetreten}, // meets every condition, on the lower bound
        {11, "Imhof", {1959, 12, 31}, 2, 1, eingetreten, ausgetreten}, // on the upper bound
        {12, "Jahn", {1949, 12, 31}, 2, 1, eingetreten, ausgetreten},  // born too early
        {13, "Kurz", {1960, 1, 1}, 2, 1, eingetreten, ausgetreten},    // born too late
        {14, "Lenz", {1955, 6, 1}, 2, 0, eingetreten, ausgetreten},    // a woman
        {15, "Moll", {1955, 6, 1}, 1, 1, eingetreten, ausgetreten},    // active
        {16, "Nagel", {1955, 6, 1}, 2, 1, eingetreten, 0},             // not left
        {17, "Ott", {1955, 6, 1}, 2, 1, dao::ToOleDate(QDate(1970, 3, 15)), ausgetreten}, // entered that day
        {18, "Pohl", {1955, 6, 1}, 2, 1, 0, ausgetreten},                                 // no entry date
        {19, "Quast", {}, 2, 1, eingetreten, ausgetreten},                                // no birth date
    };
    for (const auto &m : mitglieder) {
        sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, GebDatum) VALUES (?, ?, ?, 'Max', ?)",
            {m.knr, m.katego, QString::fromUtf8(m.name), m.geboren.isValid() ? dao::ToOleDate(m.geboren) : 0.0});
        sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES (?, ?, 0, 0, ?, "
            "?, 0)",
            {m.knr, m.geschlecht, m.eintritt, m.austritt});
    }
    MitglList &w = liste();
    gebDatum(">=", "1.1.1950", "<", "1.1.1960");
    paar(w.chkGeschl, w.optMann);
    paar(w.chkStatus, w.optPassiv);
    paar(w.chkAusgMitgl, w.optAusgJa);
    eintritt("<>", "15.3.1970");
    suche();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    ASSERT_EQ(sortiert(knrListe()), QStringList({"10", "11"}));
    const int obrien = int(knrListe().indexOf("10"));
    EXPECT_TRUE(zeile(obrien).contains("O'Brien")) << zeile(obrien).join(" | ").toStdString();
}

TEST_F(MitglListe, AQuoteInADateBoxNeverReachesTheQuery)
{
    MitglList &w = liste();
    klicke(w.chkGebDat);
    waehle(w.cboOptGeb01, "=");
    // The key filter drops what is no digit or point; a pasted text is no date.
    tippe(w.txtGeb01, "1'.1.1970");
    EXPECT_EQ(w.txtGeb01->text(), QString("1.1.1970"));
    w.txtGeb01->setText("1.1.1970' OR 1=1 --");
    suche();
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(grid().rowCount(), 0);
}

TEST_F(MitglListe, BadDateInputIsRefusedBeforeAnyQuery)
{
    MitglList &w = liste();
    const struct
    {
        const char *name;
        std::function<void()> eingabe;
    } faelle[] = {
        {"operator without date",
         [&] {
             klicke(w.chkGebDat);
             waehle(w.cboOptGeb01, ">");
         }},
        {"date without operator",
         [&] {
             klicke(w.chkEintritt);
             tippe(w.txtTritt01, "1.1.2000");
         }},
        {"second bound alone",
         [&] {
             klicke(w.chkGebDat);
             waehle(w.cboOptGeb02, "<");
             tippe(w.txtGeb02, "1.1.1990");
         }},
        {"second bound without date",
         [&] {
             gebDatum(">", "1.1.1950");
             waehle(w.cboOptGeb02, "<");
         }},
        {"a day that does not exist", [&] { gebDatum("=", "31.02.1970"); }},
        // Unchecking the box does not empty it: the date is still checked.
        {"a bad date in an unchecked box",
         [&] {
             gebDatum("=", "31.02.1970");
             klicke(w.chkGebDat);
             paar(w.chkGeschl, w.optMann);
         }},
        {"a year that is no number", [&] { arbeitsliste("20x6"); }},
        {"no year at all",
         [&] {
             paar(w.chkArbStd, w.optStdJa);
             klicke(w.chkArbAnz);
             tippe(w.cboArbJahr, "");
             klicke(w.chkArbAnz);
         }},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        klickeKnopf("tbAnzLoeschen");
        // A list on screen stays as it is.
        suche();
        ASSERT_EQ(grid().rowCount(), 5);
        boxes.clear();
        f.eingabe();
        const QStringList vorher = knrListe();
        const QString gefunden = w.lblGefDS->text();
        klickeKnopf("tbSuch");
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_EQ(knrListe(), vorher);
        EXPECT_EQ(w.lblGefDS->text(), gefunden);
        w.txtGeb01->clear(); // for the next case
    }
}

TEST_F(MitglListe, AYearThatIsNoNumberCountsOnlyWhenTheHoursAreAskedFor)
{
    MitglList &w = liste();
    arbeitsliste("20x6");
    klicke(w.chkArbAnz); // the address list needs no year
    suche();
    EXPECT_EQ(grid().rowCount(), 5) << texte(boxes);
    EXPECT_EQ(zeile(0).mid(8), QStringList({"0,00", "0,00", "0,00"}));
}

TEST_F(MitglListe, LoadingAllAsksFirstAndNoKeepsTheGrid)
{
    MitglList &w = liste();
    suche(forms::vbNo);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, AlleLaden);
    EXPECT_EQ(boxes.boxes()[0].flags & 7, forms::vbYesNo);
    EXPECT_EQ(boxes.boxes()[1].text, QString("Vorgang von User abgebrochen !"));
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(boxes.boxes()[0].answer, forms::vbNo);

    boxes.clear();
    suche(forms::vbYes);
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(w.lblGefDS->text(), QString("5"));
    const int albers = grid().top().find(0, "1");
    ASSERT_GE(albers, 0);
    EXPECT_EQ(zeile(albers), QStringList({"1", "Albers", "Anna", "Seestraße 1", "12345", "Fischbach", "0123 1",
                                          "14.02.1980", "0,00", "0,00", "0,00"}));
    const int brandt = grid().top().find(0, "2");
    EXPECT_EQ(grid().text(brandt, 7), QString()); // no birth date
    EXPECT_FALSE(knrListe().contains("5"));       // a supplier is no member
}

TEST_F(MitglListe, TheWorkHoursListShowsRequiredDoneAndBalanceOfTheChosenYear)
{
    MitglList &w = liste();
    arbeitsliste(QString::number(jahr));
    EXPECT_TRUE(w.cboArbJahr->isEnabled());
    suche();
    ASSERT_EQ(grid().rowCount(), 5) << texte(boxes);
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(grid().top().isColumnHidden(c), c >= 3 && c <= 7) << c;
    const struct
    {
        const char *knr;
        QStringList figuren;
    } erwartet[] = {
        {"1", {"20,00", "22,50", "2,50"}}, {"2", {"20,00", "12,50", "-7,50"}}, {"3", {"0,00", "0,00", "0,00"}},
        {"4", {"20,00", "20,00", "0,00"}}, {"6", {"20,00", "20,00", "0,00"}},
    };
    for (const auto &e : erwartet) {
        SCOPED_TRACE(e.knr);
        EXPECT_EQ(zeile(grid().top().find(0, e.knr)).mid(8), e.figuren);
    }

    // Another year: Brandt's 30 hours of last year.
    tippe(w.cboArbJahr, QString::number(jahr - 1));
    suche();
    EXPECT_EQ(zeile(grid().top().find(0, "2")).mid(8), QStringList({"20,00", "30,00", "10,00"}));
    EXPECT_EQ(zeile(grid().top().find(0, "1")).mid(8), QStringList({"20,00", "0,00", "-20,00"}));
}

TEST_F(MitglListe, TheRequiredHoursComeFromTheSettingsAsShown)
{
    MitglList &w = liste();
    sql("UPDATE System SET PflichtStd = 12.345"); // the settings grid still shows 20,00
    arbeitsliste(QString::number(jahr));
    paar(w.chkStatus, w.optAktiv);
    suche();
    EXPECT_EQ(zeile(grid().top().find(0, "2")).mid(8), QStringList({"20,00", "12,50", "-7,50"}));
}

TEST_F(MitglListe, HoursDoneAsRequiredPassYesAndNoAndTheCountIsTheRowsKept)
{
    MitglList &w = liste();
    paar(w.chkArbStd, w.optStdJa);
    suche();
    // Claasen is exempt: none required, none done.
    EXPECT_EQ(sortiert(knrListe()), QStringList({"1", "3", "4", "6"}));
    EXPECT_EQ(w.lblGefDS->text(), QString("4"));
    // The rows carry the figures even with the address columns shown.
    EXPECT_EQ(zeile(grid().top().find(0, "4")).mid(8), QStringList({"20,00", "20,00", "0,00"}));
    EXPECT_FALSE(grid().top().isColumnHidden(3));

    klicke(w.optStdNein);
    suche();
    EXPECT_EQ(sortiert(knrListe()), QStringList({"2", "3", "4", "6"}));

    // Nobody passes: no message, count 0. The one passive member is exempt and did hours,
    // more than the none he owes.
    sql("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (3, ?, 0, 3, 'Steg')", {jahr});
    boxes.clear();
    paar(w.chkStatus, w.optPassiv);
    suche();
    EXPECT_EQ(knrListe(), QStringList());
    EXPECT_EQ(w.lblGefDS->text(), QString("0"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

TEST_F(MitglListe, NoMatchShowsTheMessageAndKeepsTheLayout)
{
    MitglList &w = liste();
    arbeitsliste(QString::number(jahr));
    paar(w.chkGeschl, w.optMann);
    paar(w.chkJBeitrag, w.optBezahlt);
    paar(w.chkJG, w.optJGJa);
    suche();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, KeineTreffer);
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    EXPECT_EQ(w.lblGefDS->text(), QString("0"));
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_FALSE(grid().top().isColumnHidden(3)); // the address layout stays
}

TEST_F(MitglListe, ACheckBoxEmptiesTheGridAndTheResetRestoresTheStart)
{
    MitglList &w = liste();
    suche();
    ASSERT_EQ(grid().rowCount(), 5);
    klicke(w.chkJG);
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(w.lblGefDS->text(), QString("0")); // the count follows the emptied grid
    EXPECT_TRUE(w.optJGJa->isEnabled());
    suche();
    klicke(w.chkArbAnz);
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_TRUE(w.cboArbJahr->isEnabled());

    tippe(w.cboArbJahr, QString::number(jahr));
    gebDatum(">", "1.1.1900");
    paar(w.chkArbStd, w.optStdJa);
    tippe(w.txtInfo, "Liste");
    suche();
    ASSERT_GT(grid().rowCount(), 0);
    grid().setPosition(0, 1);
    ASSERT_TRUE(gv().blnDSGewaehlt);

    klickeKnopf("tbAnzLoeschen");
    for (const auto &f : w.filter()) {
        SCOPED_TRACE(f.box->objectName().toStdString());
        EXPECT_FALSE(f.box->isChecked());
        for (QWidget *c : f.controls)
            EXPECT_FALSE(c->isEnabled());
    }
    EXPECT_TRUE(std::none_of(gv().blnMitglFilter.begin(), gv().blnMitglFilter.end(), [](bool b) { return b; }));
    EXPECT_TRUE(w.optMann->isChecked() && w.optAktiv->isChecked() && w.optJGJa->isChecked());
    EXPECT_TRUE(w.optStdNein->isChecked());
    EXPECT_EQ(w.cboOptGeb01->currentIndex(), -1);
    EXPECT_EQ(w.txtGeb01->text(), QString());
    EXPECT_FALSE(w.chkArbAnz->isChecked());
    EXPECT_FALSE(w.cboArbJahr->isEnabled());
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_EQ(w.lblGefDS->text(), QString());
    EXPECT_EQ(w.txtInfo->text(), QString());
    EXPECT_FALSE(gv().blnDSGewaehlt);
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(grid().top().isColumnHidden(c), c >= 8) << c;
}

TEST_F(MitglListe, TheDateBoxesTakeDigitsAndPointsOnly)
{
    MitglList &w = liste();
    klicke(w.chkGebDat);
    forms::RecordingBeep beeps;
    tippe(w.txtGeb01, "1a/2.b3");
    EXPECT_EQ(w.txtGeb01->text(), QString("12.3"));
    EXPECT_EQ(beeps.count(), 3);
}

TEST_F(MitglListe, EscGoesBackToTheContactOverviewAndResetsTheList)
{
    MitglList &w = liste();
    paar(w.chkJG, w.optJGJa);
    suche();
    ASSERT_EQ(grid().rowCount(), 2);
    gv().intSuchAufruf = 1;
    klickeKnopf("tbEsc");
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(forms::form<KontaktUebers>().isVisible());
    EXPECT_EQ(gv().intSuchAufruf, 0);
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_FALSE(w.chkJG->isChecked());
    // Opened again, it shows no list.
    klickeKnopf("tbMitglList", &forms::form<KontaktUebers>());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(grid().rowCount(), 0);
}

TEST_F(MitglListe, ChoosingANavigationItemResetsTheList)
{
    MitglList &w = liste();
    paar(w.chkJG, w.optJGJa);
    suche();
    ASSERT_EQ(grid().rowCount(), 2);
    modMain::ZeigeFenster("Kontakte");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(grid().rowCount(), 0);
    EXPECT_FALSE(gv().blnMitglFilter[7]);
}

TEST_F(MitglListe, ADoubleClickOpensTheMemberInTheContactEditor)
{
    suche();
    const int dorn = grid().top().find(0, "4");
    QString nachname, knr;
    bool knoepfe = true;
    editorSchritte = [&](Kontakt &k) {
        nachname = k.txtNName->text();
        knr = k.lblKNr->text();
        knoepfe = k.tbSpeichern->isEnabled();
    };
    klicke(grid().view()->viewport(), zellpunkt(dorn, 1), true);
    EXPECT_EQ(editorGezeigt, 1) << texte(boxes);
    EXPECT_EQ(nachname, QString("Dorn"));
    EXPECT_EQ(knr, QString("4"));
    EXPECT_FALSE(knoepfe); // the editor opened from the list only shows
    EXPECT_EQ(gv().lngDSNr, dorn);
}

TEST_F(MitglListe, AMemberDeletedWhileListedIsReportedMissing)
{
    suche();
    const int dorn = grid().top().find(0, "4");
    sql("DELETE FROM Kontakt WHERE KNr = 4");
    klicke(grid().view()->viewport(), zellpunkt(dorn, 1), true);
    EXPECT_EQ(editorGezeigt, 0);
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, DSFehlt);

    // The member menu's work-hours entry too: the list stays.
    boxes.clear();
    Main &main = forms::form<Main>();
    kontextmenue(zellpunkt(dorn, 1));
    ASSERT_TRUE(main.mnuKontMenu_Mitgl->isVisible());
    main.mnuKontMenu_Mitgl->hide();
    main.mnuArbContr->trigger();
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, DSFehlt);
    EXPECT_TRUE(liste().isVisible());
    EXPECT_FALSE(workhours::ArbeitFenster().isVisible());
}

TEST_F(MitglListe, TheContextMenuHandsTheChosenMemberToTheWorkHoursWindow)
{
    tippe(liste().txtInfo, "Sommer");
    suche();
    const int albers = grid().top().find(0, "1");
    kontextmenue(zellpunkt(albers, 1));
    Main &main = forms::form<Main>();
    ASSERT_TRUE(main.mnuKontMenu_Mitgl->isVisible());
    EXPECT_TRUE(main.mnuArbContr->isEnabled());
    EXPECT_TRUE(main.mnuMitglInfo->isEnabled());
    main.mnuKontMenu_Mitgl->hide();
    main.mnuArbContr->trigger();
    Arbeit &arbeit = workhours::ArbeitFenster();
    EXPECT_FALSE(liste().isVisible());
    ASSERT_TRUE(arbeit.isVisible()) << texte(boxes);
    EXPECT_EQ(arbeit.lblKNr->text(), QString("1"));
    EXPECT_EQ(arbeit.lblNName->text(), QString("Albers"));
    EXPECT_EQ(arbeit.lblGesStd->text(), QString("22,50"));
    EXPECT_EQ(arbeit.lblErgStd->text(), QString("2,50"));
    EXPECT_EQ(gv().intArbUebernahme, 1);
    EXPECT_EQ(gv().intSuchAufruf, 1);

    // Back from the work-hours window the list is as it was left.
    klicke(arbeit.cmdMList, arbeit.cmdMList->rect().center());
    EXPECT_TRUE(liste().isVisible());
    EXPECT_FALSE(arbeit.isVisible());
    EXPECT_EQ(grid().rowCount(), 5);
    EXPECT_EQ(liste().txtInfo->text(), QString("Sommer"));

    // An exempt member is not taken over.
    boxes.clear();
    const int claasen = grid().top().find(0, "3");
    kontextmenue(zellpunkt(claasen, 1));
    main.mnuKontMenu_Mitgl->hide();
    main.mnuArbContr->trigger();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.startsWith("Mitglied ist von Arb.-Std. befreit !"));
    EXPECT_TRUE(liste().isVisible());
    EXPECT_FALSE(arbeit.isVisible());
}

TEST_F(MitglListe, TheMemberMenuOpensTheChosenMemberInTheContactEditor)
{
    suche();
    QString knr;
    editorSchritte = [&](Kontakt &k) { knr = k.lblKNr->text(); };
    kontextmenue(zellpunkt(grid().top().find(0, "6"), 2));
    Main &main = forms::form<Main>();
    ASSERT_TRUE(main.mnuKontMenu_Mitgl->isVisible());
    main.mnuKontMenu_Mitgl->hide();
    main.mnuMitglInfo->trigger();
    EXPECT_EQ(editorGezeigt, 1) << texte(boxes);
    EXPECT_EQ(knr, QString("6"));
}

TEST_F(MitglListe, TheResetPutsTheYearBoxBackToTheCurrentYear)
{
    const QString aktuell = QString::number(gv().intJahr);
    const struct
    {
        const char *name;
        std::function<void()> zuruecksetzen;
    } faelle[] = {
        {"Anz. loeschen", [&] { klickeKnopf("tbAnzLoeschen"); }},
        {"back to the overview and in again",
         [&] {
             klickeKnopf("tbEsc");
             ASSERT_TRUE(forms::form<KontaktUebers>().isVisible());
             klickeKnopf(QStringLiteral("tbMitglList"), &forms::form<KontaktUebers>());
         }},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        MitglList &w = liste();
        klicke(w.chkArbAnz);
        tippe(w.cboArbJahr, "1999");
        ASSERT_EQ(w.cboArbJahr->currentText(), QString("1999"));
        f.zuruecksetzen();
        ASSERT_TRUE(liste().isVisible());
        EXPECT_EQ(liste().cboArbJahr->currentText(), aktuell);
        EXPECT_FALSE(liste().cboArbJahr->isEnabled());
    }
}

TEST_F(MitglListe, TheContextMenuNeedsAChosenRow)
{
    Main &main = forms::form<Main>();
    kontextmenue(QPoint(20, 20));
    EXPECT_FALSE(main.mnuKontMenu_Mitgl->isVisible());
    suche();
    klickeKnopf("tbAnzLoeschen");
    kontextmenue(QPoint(20, 20));
    EXPECT_FALSE(main.mnuKontMenu_Mitgl->isVisible());
}

TEST_F(MitglListe, TheToolbarPrintsTheListItShows)
{
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    MitglList &w = liste();
    paar(w.chkStatus, w.optAktiv);
    tippe(w.txtInfo, "Aktive");
    suche();
    klickeKnopf("tbDruck");
    EXPECT_EQ(drucker.printed, 1) << texte(boxes);
    EXPECT_EQ(drucker.lastCaption, QString("Mitglieder - Liste"));
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Druck_MitglList"), 4);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Druck_MitglList WHERE KontaktNr = 1 AND GebDatum = '14.02.1980'"), 1);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Druck_MitglList WHERE KontaktNr = 2 AND GebDatum = ''"), 1);

    // Checking the work-hours list empties the grid: nothing to print then.
    boxes.clear();
    klicke(w.chkArbAnz);
    klickeKnopf("tbDruck");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !"));
    EXPECT_EQ(drucker.printed, 1);

    tippe(w.cboArbJahr, QString::number(jahr));
    suche();
    klickeKnopf("tbDruck");
    EXPECT_EQ(drucker.printed, 2);
    EXPECT_EQ(drucker.lastCaption, QString("Arbeitsliste [Übersicht]"));
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Druck_ArbStd"), 4);
    EXPECT_EQ(
        zahl("SELECT COUNT(*) FROM Druck_ArbStd WHERE KontaktNr = 2 AND GelStd = '12,50' AND SollHaben = '-7,50'"), 1);
}

TEST_F(MitglListe, AnExemptMemberOwesNoHoursInTheListAndOnItsPrintOut)
{
    ASSERT_TRUE(pdftext::Available()) << "poppler-utils (pdftotext) not installed";
    sql("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (3, ?, 0, 3, 'Steg')", {jahr});
    QTemporaryDir dir;
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    drucker.pdfPath = dir.filePath("arbeitsliste.pdf");
    MitglList &w = liste();
    arbeitsliste(QString::number(jahr));
    suche();
    ASSERT_EQ(grid().rowCount(), 5) << texte(boxes);
    EXPECT_EQ(zeile(grid().top().find(0, "3")).mid(8), QStringList({"0,00", "3,00", "3,00"}));
    EXPECT_EQ(zeile(grid().top().find(0, "2")).mid(8), QStringList({"20,00", "12,50", "-7,50"}));

    boxes.clear();
    klickeKnopf("tbDruck");
    ASSERT_EQ(drucker.printed, 1) << texte(boxes);
    const QStringList zeilen = pdftext::Text(drucker.pdfPath).split('\n');
    EXPECT_EQ(zeilen.filter("Claasen").value(0).simplified(), QString("3 Claasen Carl 0,00 3,00 3,00"));
    EXPECT_EQ(zeilen.filter("Brandt").value(0).simplified(), QString("2 Brandt Bernd 20,00 12,50 -7,50"));

    // Those who did not do their hours: the exempt member owes none and is not among them.
    klicke(w.chkArbStd);
    klicke(w.optStdNein);
    suche();
    EXPECT_EQ(sortiert(knrListe()), QStringList({"2", "4", "6"}));
}

TEST_F(MitglListe, ThePreviewTakesTheListsPlaceInThePane)
{
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
    suche();
    klickeKnopf("tbVorschau");
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes); // only the load-all question
    EXPECT_FALSE(liste().isVisible());
    EXPECT_EQ(drucker.printed, 0);
    // The list stays loaded with its rows.
    EXPECT_EQ(grid().rowCount(), 5);
}

namespace {

class MitglListeGast : public MitglListTest
{
protected:
    void SetUp() override
    {
        MitglListTest::SetUp();
        // A group with the contact overview but without the contact right.
        sql("INSERT INTO Gruppen (GNr, GName, KontUebers, KontListe, Kontakt) VALUES (9, 'Gäste', 1, 1, 0)");
        sql("INSERT INTO Benutzer (Name, Passwort, GNr) VALUES ('Gast', 'gast', 9)");
        starte("Gast", "gast");
    }
};

} // namespace

TEST_F(MitglListeGast, ADoubleClickWithoutTheContactRightShowsTheRefusal)
{
    suche();
    const int dorn = grid().top().find(0, "4");
    klicke(grid().view()->viewport(), zellpunkt(dorn, 1), true);
    EXPECT_EQ(editorGezeigt, 0);
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("Sie haben keinen Zugriff auf diese Funktion !"));
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
}

TEST_F(MitglListe, AMemberWithoutAnyExitValueHasNotLeft)
{
    // An old record may hold no exit value at all rather than the zero date.
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, GebDatum) VALUES (7, 1, 'Gruen', 'Greta', 0)");
    sql("INSERT INTO Mitglied (KNr, Austritt) VALUES (7, NULL)");
    MitglList &w = liste();
    paar(w.chkAusgMitgl, w.optAusgNein);
    suche();
    EXPECT_EQ(sortiert(knrListe()), QStringList({"1", "2", "4", "6", "7"})) << texte(boxes);
    klicke(w.optAusgJa);
    suche();
    EXPECT_EQ(knrListe(), QStringList({"3"}));
}
