#include "core_fixture.h"

#include "core/Info.h"
#include "core/System.h"
#include "core/modStart.h"
#include "core/modSystem.h"

#include <QLabel>
#include <QLineEdit>

using namespace coretest;

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

    // The fee taken over from the grid ("12,50") saves as a whole number.
    fenster().tblSystem_DblClick(0);
    fenster().Toolbar1_ButtonClick("tbSpeichern");
    EXPECT_DOUBLE_EQ(gespeichert()[1].toDouble(), 13.0);
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
    for (QLineEdit *box : {fenster().txtVerein, fenster().txtStrasse, fenster().txtPLZ, fenster().txtOrt, fenster().txtTelefon})
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
