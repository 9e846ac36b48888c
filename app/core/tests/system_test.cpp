#include "core_fixture.h"

#include "core/Basis.h"
#include "core/Benutzer.h"
#include "core/Info.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/System.h"
#include "core/modStart.h"
#include "core/modSystem.h"
#include "testsupport/today.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <functional>

using namespace coretest;
using apptest::klickeItem;

namespace {

class SystemFenster : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        sql("UPDATE System SET FJahr = 2024, JBeitrag = 12.5, PflichtStd = 10, Verein = 'ASV Forelle', "
            "Strasse = 'Am Bach 1', PLZ = '12345', Ort = 'Fischbach', Tel = '0123-45'");
        modStart::OeffneDatenbank();
        modStart::loadTblSystem();
    }
    QVariantList gespeichert()
    {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(
            "SELECT FJahr, JBeitrag, PflichtStd, Verein, Strasse, PLZ, Ort, Tel FROM System", dao::dbOpenDynaset);
        QVariantList werte;
        for (int i = 0; i < rs.FieldCount(); ++i)
            werte << rs.Fields(i).Value();
        return werte;
    }
    System &fenster() { return forms::form<System>(); }
};

} // namespace

TEST_F(SystemFenster, TheLoaderFillsTheGridTheAboutBoxAndTheAddressBoxes)
{
    forms::ListGrid &tbl = *fenster().tblSystem;
    ASSERT_EQ(tbl.rowCount(), 3);
    EXPECT_EQ(tbl.text(0, 0), QString("Jahresbeitrag"));
    EXPECT_EQ(tbl.text(0, 1), QString("12,50"));
    EXPECT_EQ(tbl.text(1, 0), QString("akt. Fangjahr"));
    EXPECT_EQ(tbl.text(1, 1), QString("2024"));
    EXPECT_EQ(tbl.text(2, 0), QString("Pflicht-Std. (Arbeit)"));
    EXPECT_EQ(tbl.text(2, 1), QString("10,00"));
    Info &info = forms::form<Info>();
    EXPECT_EQ(info.lblVerein->text(), QString("ASV Forelle"));
    EXPECT_EQ(info.lblTelefon->text(), QString("0123-45"));
    EXPECT_EQ(fenster().txtOrt->text(), QString("Fischbach"));
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(SystemFenster, ChoosingTheYearRowAndSavingChangesOnlyTheYear)
{
    fenster().tblSystem_DblClick(1);
    EXPECT_EQ(fenster().txtFJahr->text(), QString("2024"));
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(gv().lngDSNr, 1);
    fenster().txtFJahr->setText("2025");
    fenster().Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    const QVariantList werte = gespeichert();
    EXPECT_EQ(werte[0].toInt(), 2025);
    EXPECT_DOUBLE_EQ(werte[1].toDouble(), 12.5);
    EXPECT_EQ(werte[3].toString(), QString("ASV Forelle"));
    EXPECT_EQ(fenster().tblSystem->text(1, 1), QString("2025"));
    EXPECT_TRUE(fenster().txtFJahr->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    // The fee taken over from the grid ("12,50") saves as it stands.
    fenster().tblSystem_DblClick(0);
    fenster().Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_DOUBLE_EQ(gespeichert()[1].toDouble(), 12.5);
}

TEST_F(SystemFenster, AnOverflowingOrNonNumericValueIsAnInputErrorAndNothingIsStored)
{
    const QVariantList vorher = gespeichert();
    // A catch year outside 1900 to 9999 too: the next start would offer a roll-over from it.
    for (const char *wert : {"99999999999999999999", "0", "12a", "123", "1899", "10000"}) {
        boxes.clear();
        fenster().tblSystem_DblClick(1);
        fenster().txtFJahr->setText(wert);
        fenster().Toolbar1_ButtonClick("tbSpeichern");
        ASSERT_EQ(boxes.count(), 1u) << wert;
        EXPECT_EQ(boxes.last().text, QString("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !"));
        EXPECT_EQ(gespeichert(), vorher);
        EXPECT_EQ(fenster().tblSystem->text(1, 1), QString("2024"));
        // The row stays chosen for correction.
        EXPECT_EQ(gv().strModus, QString("EDIT"));
    }
}

TEST_F(SystemFenster, SavingTheAddressNeverBlanksItByAccident)
{
    // The boxes show the stored address: saving unchanged keeps it.
    fenster().Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_EQ(gespeichert()[3].toString(), QString("ASV Forelle"));

    // All five boxes emptied: refused.
    for (QLineEdit *box :
         {fenster().txtVerein, fenster().txtStrasse, fenster().txtPLZ, fenster().txtOrt, fenster().txtTelefon})
        box->clear();
    fenster().Toolbar1_ButtonClick("tbSpeichern");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !"));
    EXPECT_EQ(gespeichert()[6].toString(), QString("Fischbach"));
    EXPECT_EQ(forms::form<Info>().lblOrt->text(), QString("Fischbach"));

    // A new address, one box left empty on purpose: stored as shown, and in the about box.
    fenster().txtVerein->setText("SFV Hecht");
    fenster().txtOrt->setText("Seedorf");
    fenster().Toolbar1_ButtonClick("tbSpeichern");
    const QVariantList werte = gespeichert();
    EXPECT_EQ(werte[3].toString(), QString("SFV Hecht"));
    EXPECT_EQ(werte[6].toString(), QString("Seedorf"));
    EXPECT_EQ(werte[7].toString(), QString());
    EXPECT_EQ(werte[0].toInt(), 2024);
    EXPECT_EQ(forms::form<Info>().lblVerein->text(), QString("SFV Hecht"));
}

TEST_F(SystemFenster, ClearingAndLeavingEmptyTheSettingBoxesOnly)
{
    fenster().tblSystem_DblClick(2);
    EXPECT_EQ(fenster().txtArbStd->text(), QString("10,00"));
    fenster().Toolbar1_ButtonClick("tbAnzLoeschen");
    EXPECT_TRUE(fenster().txtArbStd->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    fenster().tblSystem_DblClick(0);
    fenster().Show();
    fenster().Hide(); // deactivation
    EXPECT_TRUE(fenster().txtJB->text().isEmpty());
    EXPECT_EQ(fenster().txtVerein->text(), QString("ASV Forelle"));
}

namespace {

// The program as the user starts it: logged in, the main window shown, the windows opened from
// the navigation bar.
class SystemImProgramm : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(navrailVorhanden());
        // The catch year is this year: the login offers no roll-over.
        sql("UPDATE System SET FJahr = ?, JBeitrag = 12, PflichtStd = 10, Verein = 'ASV Forelle', "
            "Strasse = 'Am Bach 1', PLZ = '12345', Ort = 'Fischbach', Tel = '0123-45'",
            {jahr});
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
        meldeAn();
        ASSERT_FALSE(forms::form<Login>().isVisible()) << texte(boxes);
        Main &main = forms::form<Main>();
        main.resize(1200, 900);
        main.show();
        QApplication::processEvents();
        boxes.clear();
    }
    // A double-click on a grid row, where the user clicks.
    void doppelklicke(forms::ListGrid &grid, int row)
    {
        grid.top().flush();
        QTableView *view = grid.view();
        const QModelIndex i = view->model()->index(row, 1);
        view->scrollTo(i);
        klicke(view->viewport(), view->visualRect(i).center(), true);
    }
    void klickeKnopf(QToolBar *leiste, QAction *knopf)
    {
        QWidget *w = leiste->widgetForAction(knopf);
        ASSERT_TRUE(w && w->isVisible());
        klicke(w, w->rect().center());
    }
    static void tippe(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    // A column of the System record.
    static QVariant gespeichert(const char *spalte)
    {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT * FROM System", dao::dbOpenDynaset);
        return rs(QString::fromLatin1(spalte)).Value();
    }
    static QString ort() { return gespeichert("Ort").toString(); }

    const int jahr = testsupport::Heute.year();
};

} // namespace

TEST_F(SystemImProgramm, TheClubAddressIsSavedWhateverWasChosenBeforeInThisOrAnotherWindow)
{
    struct Fall
    {
        const char *vorher;
        const char *fenster;
        std::function<void()> waehle;
    };
    const Fall faelle[] = {
        {"a fish species in Basisdaten", "Basisdaten", [&] { doppelklicke(*forms::form<Basis>().tblFBasis, 1); }},
        {"a user in the user administration", "Zugriff",
         [&] { doppelklicke(*forms::form<Benutzer>().tblBenutzer, 0); }},
        {"a setting here, then another window", "Parameter",
         [&] {
             doppelklicke(*forms::form<System>().tblSystem, 1);
             ASSERT_EQ(forms::form<System>().txtFJahr->text(), QString::number(jahr));
             klickeItem(QStringLiteral("Basisdaten"));
         }},
    };
    int n = 0;
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.vorher);
        boxes.clear();
        klickeItem(QString::fromLatin1(f.fenster));
        f.waehle();
        klickeItem(QStringLiteral("Parameter"));
        System &s = forms::form<System>();
        ASSERT_TRUE(s.isVisible());
        const QString neu = QStringLiteral("Seedorf ") + QString::number(++n);
        tippe(s.txtOrt, neu);
        klickeKnopf(s.Toolbar1, s.tbSpeichern);
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        EXPECT_EQ(ort(), neu) << "stored at the first click";
        EXPECT_EQ(forms::form<Info>().lblOrt->text(), neu);
        EXPECT_EQ(gv().strModus, QString("SAVE"));
    }
    EXPECT_EQ(gespeichert("FJahr").toInt(), jahr);
}

TEST_F(SystemImProgramm, TheSaveWritesASettingTypedAndTheAddressChangedBesideIt)
{
    klickeItem(QStringLiteral("Parameter"));
    System &s = forms::form<System>();
    doppelklicke(*s.tblSystem, 1);
    tippe(s.txtFJahr, QString::number(jahr + 1));
    tippe(s.txtOrt, QStringLiteral("Seedorf"));
    klickeKnopf(s.Toolbar1, s.tbSpeichern);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(gespeichert("FJahr").toInt(), jahr + 1);
    EXPECT_EQ(ort(), QString("Seedorf"));

    // A fee typed without choosing its row is stored too, with the address as it stands.
    tippe(s.txtJB, QStringLiteral("15"));
    klickeKnopf(s.Toolbar1, s.tbSpeichern);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_DOUBLE_EQ(gespeichert("JBeitrag").toDouble(), 15.0);
    EXPECT_EQ(s.tblSystem->text(0, 1), QString("15,00"));
    EXPECT_EQ(ort(), QString("Seedorf"));
}

TEST_F(SystemImProgramm, TheFeeAndTheRequiredHoursKeepATypedDecimalComma)
{
    klickeItem(QStringLiteral("Parameter"));
    System &s = forms::form<System>();
    const struct
    {
        int zeile;
        const char *spalte;
        const char *getippt;
        double gespeichert; // negative: refused, nothing stored
        const char *gezeigt;
    } faelle[] = {
        {0, "JBeitrag", "37,50", 37.5, "37,50"}, {2, "PflichtStd", "7,5", 7.5, "7,50"},
        {0, "JBeitrag", "40", 40.0, "40,00"},    {2, "PflichtStd", ",25", 0.25, "0,25"},
        {2, "PflichtStd", "7,555", -1, "0,25"},  {0, "JBeitrag", "1,2,3", -1, "40,00"},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.getippt);
        boxes.clear();
        const QVariant vorher = gespeichert(f.spalte);
        doppelklicke(*s.tblSystem, f.zeile);
        QLineEdit *box = f.zeile == 0 ? s.txtJB : s.txtArbStd;
        tippe(box, QString::fromLatin1(f.getippt));
        // The key filter keeps the comma.
        EXPECT_EQ(box->text(), QString::fromLatin1(f.getippt));
        klickeKnopf(s.Toolbar1, s.tbSpeichern);
        if (f.gespeichert < 0) {
            ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
            EXPECT_EQ(boxes.last().text, QString("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !"));
            EXPECT_EQ(gespeichert(f.spalte), vorher);
            klickeKnopf(s.Toolbar1, s.tbAnzLoeschen);
        } else {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            EXPECT_DOUBLE_EQ(gespeichert(f.spalte).toDouble(), f.gespeichert);
        }
        EXPECT_EQ(s.tblSystem->text(f.zeile, 1), QString::fromLatin1(f.gezeigt));
    }
}
