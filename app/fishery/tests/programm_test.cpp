// The catch evaluation and the stocking plan in the program as the user starts it: logged in,
// the main window shown, the windows opened from the navigation bar.
#include "fishery/Besatzung.h"
#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"

#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/testing/program_fixture.h"

#include "forms/listgrid.h"

#include "report/fakeprinters.h"
#include "testsupport/today.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

namespace {

// The navigation bar's library, registered once for the whole run.
apptest::Steuerelemente *g_navrail = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
const QString KeineDruckdaten = QStringLiteral("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !");

class FischereiImProgramm : public apptest::MainTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_navrail->registriert());
        MainTest::SetUp();
        if (HasFatalFailure())
            return;
        // The catch year is this year: the login offers no roll-over.
        sql("UPDATE System SET FJahr = ?", {jahr});
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Baggersee')");
        sql("INSERT INTO Besatzung (BJahr, FNr, GNr, Zeit, Menge) VALUES (?, 1, 1, 'Frühjahr', 12.5)", {jahr});
        modMain::RegistriereKern();
        fishery::RegistriereFangbuch();
        fishery::RegistriereFangauswertung();
        fishery::RegistriereBesatzung();
        meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), QSize(1300, 950),
                QStringLiteral("Fangauswertung"));
        boxes.clear();
    }

    void klickeKnopf(QToolBar *leiste, const char *key)
    {
        QAction *a = leiste->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_TRUE(a) << key;
        QWidget *w = leiste->widgetForAction(a);
        ASSERT_TRUE(w && w->isVisible()) << key;
        klicke(w, w->rect().center());
    }
    static void waehle(QComboBox *cbo, const QString &text)
    {
        const int i = cbo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        cbo->setCurrentIndex(i);
    }
    static void tippe(QLineEdit *feld, const QString &text)
    {
        feld->setFocus();
        feld->clear();
        QTest::keyClicks(feld, text);
    }

    const int jahr = testsupport::Heute.year();
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
};

} // namespace

TEST_F(FischereiImProgramm, APrintInTheEvaluationKeepsNoOtherWindowFromFillingItsLists)
{
    for (const char *key : {"tbDruck", "tbVorschau"}) {
        SCOPED_TRACE(key);
        boxes.clear();
        apptest::klickeItem(QStringLiteral("Fangauswertung"));
        Fangauswertung &a = forms::form<Fangauswertung>();
        ASSERT_TRUE(a.isVisible());
        klickeKnopf(a.Toolbar1, key); // the grid is empty
        ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
        EXPECT_EQ(boxes.last().text, KeineDruckdaten);

        apptest::klickeItem(QStringLiteral("Besatzung"));
        Besatzung &b = forms::form<Besatzung>();
        ASSERT_TRUE(b.isVisible());
        EXPECT_GE(b.cboBJahr->findText(QString::number(jahr)), 0) << "the year list is filled";
        EXPECT_EQ(b.cboBJahr->currentText(), QString::number(jahr));
        const long long vorher = zahl("SELECT COUNT(*) FROM Besatzung WHERE BJahr = ?", {jahr});
        EXPECT_EQ(b.tblBList->rowCount(), vorher);

        // A complete entry is saved for the year shown.
        boxes.clear();
        waehle(b.cboFArt, QStringLiteral("Zander"));
        waehle(b.cboGName, QStringLiteral("Baggersee"));
        tippe(b.txtMenge, QStringLiteral("3,5"));
        klickeKnopf(b.Toolbar1, "tbSpeichern");
        EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Besatzung WHERE BJahr = ?", {jahr}), vorher + 1);
    }
    // The evaluation's own mark stays for its next activation.
    EXPECT_TRUE(modGVar::KeinNeuLaden(forms::form<Fangauswertung>()));
}
