#include "core_fixture.h"

#include "core/Eroef.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "common/testing/file_limit.h"
#include "forms/listgrid.h"
#include "forms/statusbar.h"
#include "testsupport/today.h"

#include <QAction>
#include <QDate>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>

using namespace coretest;

namespace {

class LoginTest : public CoreTest
{};

const QString Fehlschlag = QStringLiteral("Anmeldung fehlgeschlagen, bitte versuchen Sie es erneut!");

} // namespace

TEST_F(LoginTest, ACorrectLoginShowsTheMainWindowWithUserYearAndLists)
{
    Attrappe &fangbuch = attrappe(QStringLiteral("Fangbuch"));
    starte();
    Main &main = forms::form<Main>();
    ASSERT_TRUE(forms::isLoaded<Login>());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(forms::form<Login>().windowTitle(), QString("Torvana - ANMELDUNG -"));

    meldeAn();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(forms::isLoaded<Login>());
    EXPECT_FALSE(forms::isLoaded<Eroef>());
    EXPECT_EQ(main.StatusBar1->panelText(4), QString("Verwalter"));
    EXPECT_EQ(main.StatusBar1->panelText(8), QString::number(testsupport::Heute.year()));
    EXPECT_EQ(gv().intJahr, testsupport::Heute.year());
    EXPECT_EQ(gv().intMonat, testsupport::Heute.month());
    EXPECT_FALSE(gv().blnStartLaden);
    // The lists are loaded: the two member categories with their suffix.
    forms::ListGrid &katego = *kategoListe;
    ASSERT_EQ(katego.rowCount(), 2);
    EXPECT_EQ(katego.text(0, 1), QString("Mitglieder (aktiv) -> Systemkategorie <-"));

    ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
    EXPECT_EQ(aktKey(), QString("Fangbuch"));
    EXPECT_TRUE(fangbuch.isVisible());
}

TEST_F(LoginTest, AWrongLoginShowsTheBoxEmptiesBothBoxesAndMayBeRetried)
{
    starte();
    Login &login = forms::form<Login>();
    // Exact comparison; a quote is part of the value.
    const QStringList namen = {"Verwalter", "verwalter", "Verwalter' OR '1'='1", "Verwalter"};
    const QStringList woerter = {"Angeln", "angeln", "x' OR '1'='1", "angeln "};
    for (int i = 0; i < namen.size(); ++i) {
        boxes.clear();
        login.txtBenutzer->setText(namen[i]);
        login.txtPassw->setText(woerter[i]);
        login.cmdOK_Click();
        ASSERT_EQ(boxes.count(), 1u) << i;
        EXPECT_EQ(boxes.last().text, Fehlschlag);
        EXPECT_EQ(boxes.last().title, QString("TORVANA"));
        EXPECT_EQ(boxes.last().flags, forms::vbCritical);
        EXPECT_TRUE(login.txtBenutzer->text().isEmpty());
        EXPECT_TRUE(login.txtPassw->text().isEmpty());
        EXPECT_TRUE(forms::isLoaded<Login>());
        EXPECT_FALSE(forms::form<Main>().isVisible());
    }
    boxes.clear();
    login.txtBenutzer->setText("Verwalter");
    login.txtPassw->setText("angeln");
    login.cmdOK_Click();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_TRUE(forms::form<Main>().isVisible());
}

TEST_F(LoginTest, EnterInEitherBoxStartsTheLoginAndAnEmptyNameDoesNothing)
{
    for (const char *feld : {"txtBenutzer", "txtPassw"}) {
        starte();
        Login &login = forms::form<Login>();
        login.txtBenutzer->setText("Verwalter");
        login.txtPassw->setText("falsch");
        boxes.clear();
        QTest::keyClick(login.findChild<QLineEdit *>(feld), Qt::Key_Return);
        ASSERT_EQ(boxes.count(), 1u) << feld;
        EXPECT_EQ(boxes.last().text, Fehlschlag);

        // No name: no box, nothing else happens.
        boxes.clear();
        login.txtPassw->setText("angeln");
        QTest::keyClick(login.txtPassw, Qt::Key_Enter);
        login.cmdOK_Click();
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        EXPECT_TRUE(forms::isLoaded<Login>());
        EXPECT_EQ(login.txtPassw->text(), QString("angeln"));
        forms::unloadAll();
        gv().dbDaten.Close();
    }
}

TEST_F(LoginTest, DecliningTheYearChangeClosesTheDatabaseAndEnds)
{
    sql("UPDATE System SET FJahr = FJahr - 1");
    bool umgeschrieben = false;
    core::einstiege().jahreswechsel.UebernehmeStunden = [&](long &) { return umgeschrieben = true; };
    boxes.answer(forms::vbNo);
    meldeAn();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.startsWith("WICHTIG: Akt. Systemjahr hat sich geändert !"));
    EXPECT_FALSE(forms::isLoaded<Main>());
    EXPECT_FALSE(forms::isLoaded<Login>());
    EXPECT_FALSE(forms::isLoaded<Eroef>());
    EXPECT_EQ(kategoListe->rowCount(), 0); // nothing was loaded
    EXPECT_FALSE(gv().dbDaten.IsOpen());
    EXPECT_FALSE(umgeschrieben);
}

TEST_F(LoginTest, AYearChangeThatCannotBeWrittenSaysThatTheProgramEndsAndKeepsTheOldYear)
{
    const int jahr = testsupport::Heute.year();
    sql("UPDATE System SET FJahr = FJahr - 1");
    starte();
    boxes.clear();
    boxes.answer(forms::vbYes); // the new year
    boxes.answer(forms::vbYes); // the hours carried over
    {
        // As on a full disk: the database and its journal cannot take a page.
        vbtest::FileSizeLimit grenze(512);
        ASSERT_TRUE(grenze.active());
        Login &login = forms::form<Login>();
        login.txtBenutzer->setText("Verwalter");
        login.txtPassw->setText("angeln");
        login.cmdOK_Click();
    }
    ASSERT_GE(boxes.count(), 3u) << texte(boxes);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("WICHTIG: Akt. Systemjahr hat sich geändert !"));
    EXPECT_TRUE(boxes.boxes()[boxes.count() - 2].title.startsWith("Runtime - Error: ")) << texte(boxes);
    EXPECT_EQ(boxes.last().text, QStringLiteral("ACHTUNG: Der Wechsel in das Fangjahr %1 konnte nicht gespeichert "
                                                "werden, das Fangjahr bleibt %2 !\n\rTorvana beendet sich jetzt !")
                                     .arg(jahr)
                                     .arg(jahr - 1));
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    EXPECT_EQ(boxes.pendingAnswers(), 0u);
    EXPECT_FALSE(forms::isLoaded<Main>());
    EXPECT_FALSE(forms::isLoaded<Login>());
    EXPECT_FALSE(gv().dbDaten.IsOpen());
    dao::Database nachher = dao::DBEngine::Workspaces(0).OpenDatabase(db(), false, true, modStart::Verbindung);
    EXPECT_EQ(nachher.OpenRecordset("SELECT FJahr FROM System", dao::dbOpenDynaset)(0).Value().toInt(), jahr - 1);
    nachher.Close();
}

TEST_F(LoginTest, CancelEndsTheProgram)
{
    starte();
    forms::form<Login>().cmdEsc_Click();
    EXPECT_FALSE(forms::isLoaded<Login>());
    EXPECT_FALSE(forms::isLoaded<Main>());
}

TEST_F(LoginTest, TheCloseBoxAndCancelEndTheProgramWithTheDatabaseClosed)
{
    const struct
    {
        const char *was;
        std::function<void(Login &)> weg;
    } faelle[] = {
        {"close box", [](Login &l) { l.close(); }},
        {"Abbrechen", [](Login &l) { QTest::mouseClick(l.cmdEsc, Qt::LeftButton); }},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.was);
        bool beendet = false;
        starte();
        ASSERT_TRUE(gv().dbDaten.IsOpen());
        Login &login = forms::form<Login>();
        login.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&login));
        QObject::connect(&forms::form<Main>(), &forms::MainForm::unloaded, [&] { beendet = true; });
        fall.weg(login);
        EXPECT_FALSE(forms::isLoaded<Login>());
        EXPECT_FALSE(forms::isLoaded<Main>());
        EXPECT_TRUE(beendet); // the program's signal to end
        EXPECT_FALSE(gv().dbDaten.IsOpen());
        TearDown();
        SetUp();
    }
}

// ---- rights ----------------------------------------------------------------------------------

TEST_F(LoginTest, EachRightThatIsFalseRemovesItsItem)
{
    ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
    const struct
    {
        dao::Sql entziehe;
        const char *fehlt; // the item that goes ("" for none)
    } faelle[] = {
        {"UPDATE Gruppen SET Fangbuch = 0", "Fangbuch"},
        {"UPDATE Gruppen SET Fangauswertung = 0", "Fangauswertung"},
        {"UPDATE Gruppen SET KontUebers = 0", "Kontakte"},
        {"UPDATE Gruppen SET KontListe = 0", ""},
        {"UPDATE Gruppen SET Kontakt = 0", ""},
        {"UPDATE Gruppen SET Arbeit = 0", "Arbeit"},
        {"UPDATE Gruppen SET Besatz = 0", "Besatzung"},
        {"UPDATE Gruppen SET Basis = 0", "Basisdaten"},
        {"UPDATE Gruppen SET Benutzerverwaltung = 0", "Zugriff"},
        {"UPDATE Gruppen SET System = 0", "Parameter"},
    };
    const QStringList alle = {"Zugriff",        "Parameter", "Basisdaten", "Fangbuch",
                              "Fangauswertung", "Kontakte",  "Arbeit",     "Besatzung"};
    for (const auto &fall : faelle) {
        const QString text = QString::fromLatin1(fall.entziehe.text().data(), int(fall.entziehe.text().size()));
        SCOPED_TRACE(text.toStdString());
        sql(fall.entziehe);
        const bool ohneListe = text.contains("KontListe");
        const bool ohneFangbuch = text.contains("Fangbuch");

        Attrappe &kontakte = attrappe("Kontakte");
        auto *tbMitglList = new QAction(&kontakte);
        tbMitglList->setObjectName("tbMitglList");
        attrappe("Fangbuch");
        attrappe("Fangauswertung");
        meldeAn();
        QStringList erwartet = alle;
        erwartet.removeAll(fall.fehlt);
        EXPECT_EQ(itemKeys(gv().objItemsSystem.get()) + itemKeys(gv().objItemsOrganisation.get()), erwartet);
        EXPECT_EQ(tbMitglList->isEnabled(), !ohneListe);
        // Without the catch log the first item left hosts the first window.
        EXPECT_EQ(aktKey(), QString(ohneFangbuch ? "Fangauswertung" : "Fangbuch"));
        TearDown();
        SetUp();
    }
}

TEST_F(LoginTest, AGroupWithoutAnyRightSeesBothGroupsEmpty)
{
    ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
    sql("UPDATE Gruppen SET Fangbuch = 0, Fangauswertung = 0, KontUebers = 0, KontListe = 0, Kontakt = 0, "
        "Arbeit = 0, Besatz = 0, Basis = 0, Benutzerverwaltung = 0, System = 0");
    attrappe("Fangbuch");
    meldeAn();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_TRUE(forms::form<Main>().isVisible());
    EXPECT_TRUE(itemKeys(gv().objItemsSystem.get()).isEmpty());
    EXPECT_TRUE(itemKeys(gv().objItemsOrganisation.get()).isEmpty());
    EXPECT_FALSE(gv().objAktItem);
}

TEST_F(LoginTest, RightsChecksReadTheUserFromTheStatusBarAsAValue)
{
    meldeAn();
    auto &sb = *forms::form<Main>().StatusBar1;
    EXPECT_TRUE(modStart::GruppeHatRecht(modStart::Recht::Arbeit));
    sb.setPanelText(4, "x') OR 1=1 OR ('");
    EXPECT_FALSE(modStart::GruppeHatRecht(modStart::Recht::Arbeit));
    sb.setPanelText(4, "verwalter");
    EXPECT_FALSE(modStart::GruppeHatRecht(modStart::Recht::Arbeit));
}

// The login window opens before the main window shows: a dialog over the middle of the screen,
// wide enough for its title in a bold face beside the frame's icon and buttons.
TEST_F(LoginTest, TheLoginWindowIsADialogOverTheScreensMiddleWithItsTitleWhole)
{
    starte();
    Login &login = forms::form<Login>();
    ASSERT_TRUE(login.isVisible());
    EXPECT_EQ(login.windowType(), Qt::Dialog);
    QFont fett = login.font();
    fett.setBold(true);
    const QFontMetrics fm(fett);
    EXPECT_GE(login.width(), fm.horizontalAdvance(login.windowTitle()) + 4 * fm.height());
    const QRect schirm = login.screen()->availableGeometry();
    EXPECT_TRUE(schirm.contains(login.frameGeometry()));
    // Centred as placed before the show; the layout may round its size by a few pixels there.
    EXPECT_LE((login.frameGeometry().center() - schirm.center()).manhattanLength(), 8);
}
