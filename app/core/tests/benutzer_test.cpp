#include "core_fixture.h"

#include "core/Benutzer.h"
#include "core/Main.h"
#include "core/modBenutzer.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "forms/statusbar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace coretest;

namespace {

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
const QString LetzterVerwalter = QStringLiteral(
    "ACHTUNG: Mindestens ein Benutzer muss Zugriff auf die Benutzerverwaltung behalten, Vorgang abgebrochen !");

// The starter database (group 1 "Administratoren" with every right, its user 1 "Verwalter")
// and group 2 "Gaeste" without rights with its user 2 "Gast"; Verwalter is logged in.
class BenutzerTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        sql("INSERT INTO Gruppen (GNr, GName) VALUES (2, 'Gaeste')");
        sql("INSERT INTO Benutzer (BNr, Name, Passwort, GNr) VALUES (2, 'Gast', 'gast', 2)");
        attrappe("Fangbuch");
        meldeAn();
        ASSERT_EQ(forms::form<Main>().StatusBar1->panelText(4), QString("Verwalter")) << texte(boxes);
        oeffne();
    }

    void oeffne()
    {
        b = &forms::form<Benutzer>();
        b->resize(1000, 700);
        b->show();
        b->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(b));
        boxes.clear();
    }

    // Ends the run and starts the program again on the same database, logging in as name.
    void neueSitzung(const QString &name, const QString &passwort)
    {
        forms::unloadAll();
        if (gv().dbDaten.IsOpen())
            gv().dbDaten.Close();
        modGVar::resetGv();
        core::LeereEinstiege();
        RichteKernEin();
        attrappe("Fangbuch");
        meldeAn(name, passwort);
    }

    void zeigeTab(bool benutzer)
    {
        QTabBar *leiste = b->tabBV->tabBar();
        QTest::mouseClick(leiste, Qt::LeftButton, {}, leiste->tabRect(benutzer ? 0 : 1).center());
        ASSERT_EQ(b->tabBV->currentIndex(), benutzer ? 0 : 1);
    }
    void doppelklick(bool benutzer, int row)
    {
        zeigeTab(benutzer);
        forms::ListGrid *grid = benutzer ? b->tblBenutzer : b->tblZugriff;
        grid->top().flush();
        QTableView *view = grid->view();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                           view->visualRect(view->model()->index(row, 1)).center());
    }
    static void tippe(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    void benutzer(const QString &name, const QString &passwort, const QString &bestaetigt, const QString &gruppe)
    {
        tippe(b->txtBenutzer, name);
        tippe(b->txtPassw, passwort);
        tippe(b->txtPasswBest, bestaetigt);
        tippe(b->cboBG->lineEdit(), gruppe);
    }
    void setzeRecht(QCheckBox *chk, bool an)
    {
        if (chk->isChecked() != an)
            QTest::mouseClick(chk, Qt::LeftButton, {}, QPoint(6, chk->height() / 2));
        ASSERT_EQ(chk->isChecked(), an);
    }
    void klicke(QAction *knopf) { QTest::mouseClick(b->Toolbar1->widgetForAction(knopf), Qt::LeftButton); }

    static QStringList zeilen(const forms::ListGrid &grid)
    {
        QStringList z;
        for (int r = 0; r < grid.rowCount(); ++r) {
            QStringList zellen;
            for (int c = 0; c < grid.columnCount(); ++c)
                zellen << grid.text(r, c);
            z << zellen.join("|");
        }
        return z;
    }
    static QStringList tabelle(dao::Sql sql)
    {
        QStringList z;
        dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset);
        while (!rs.Eof()) {
            QStringList zellen;
            for (int c = 0; c < rs.FieldCount(); ++c)
                zellen << rs(c).Value().toString();
            z << zellen.join("|");
            rs.MoveNext();
        }
        return z;
    }
    static QStringList benutzerTabelle() { return tabelle("SELECT * FROM Benutzer ORDER BY BNr"); }
    static QStringList gruppenTabelle() { return tabelle("SELECT * FROM Gruppen ORDER BY GNr"); }
    QStringList gruppenListe() const
    {
        QStringList l;
        for (int i = 0; i < b->cboBG->count(); ++i)
            l << b->cboBG->itemText(i);
        return l;
    }

    Benutzer *b = nullptr;
};

const QString Alle = "Wahr|Wahr|Wahr|Wahr|Wahr|Wahr|Wahr|Wahr|Wahr|Wahr";
const QString Keine = "Falsch|Falsch|Falsch|Falsch|Falsch|Falsch|Falsch|Falsch|Falsch|Falsch";

} // namespace

TEST_F(BenutzerTest, TheStartUpLoadFillsBothGridsAndTheGroupList)
{
    EXPECT_EQ(b->windowTitle(), QString("Benutzerverwaltung"));
    EXPECT_EQ(b->tabBV->tabText(0), QString("Benutzer hinzuf. oder edit."));
    EXPECT_EQ(b->tabBV->tabText(1), QString("Zugriffsverwaltung"));
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren", "2|Gast|gast|Gaeste"}));
    EXPECT_EQ(zeilen(*b->tblZugriff), QStringList({"1|Administratoren|" + Alle, "2|Gaeste|" + Keine}));
    EXPECT_EQ(b->tblZugriff->top().columnCaption(1), QString("Gruppe \\ Forms"));
    EXPECT_EQ(b->tblZugriff->top().columnCaption(10), QString("Benutzerverwltg."));
    EXPECT_EQ(b->tblBenutzer->top().columnCaption(3), QString("Ben.-Gruppe"));
    EXPECT_EQ(b->chkBenutzer->text(), QString("Benutzer- && Zugriff"));
    EXPECT_EQ(gruppenListe(), QStringList({"Administratoren", "Gaeste"}));
    EXPECT_EQ(b->cboBG->currentIndex(), -1);
    EXPECT_TRUE(b->cboBG->currentText().isEmpty());
    EXPECT_EQ(b->lblBAnzahl->text(), QString("2"));
    EXPECT_EQ(b->lblGAnzahl->text(), QString("2"));
    EXPECT_EQ(b->txtPassw->echoMode(), QLineEdit::Password);
    EXPECT_EQ(b->txtBenutzer->maxLength(), 50);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(BenutzerTest, AGroupAndAUserMadeHereLogInWithTheirRightsAtTheNextLogin)
{
    zeigeTab(false);
    tippe(b->txtGruppe, "Kassierer");
    setzeRecht(b->chkFBuch, true);
    setzeRecht(b->chkKontakt, true);
    setzeRecht(b->chkSystem, true);
    klicke(b->tbSpeichern);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    ASSERT_EQ(b->tblZugriff->rowCount(), 3);
    EXPECT_EQ(zeilen(*b->tblZugriff).last(),
              "3|Kassierer|Wahr|Falsch|Falsch|Falsch|Wahr|Falsch|Falsch|Falsch|Falsch|Wahr");
    EXPECT_EQ(b->lblGAnzahl->text(), QString("3"));
    EXPECT_FALSE(b->chkFBuch->isChecked());

    zeigeTab(true); // leaving the groups tab refreshes the group list
    EXPECT_EQ(gruppenListe(), QStringList({"Administratoren", "Gaeste", "Kassierer"}));
    benutzer("Anna O'Neill", "Ge'heim", "Ge'heim", "kassierer");
    klicke(b->tbSpeichern);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(zeilen(*b->tblBenutzer).last(), QString("3|Anna O'Neill|Ge'heim|Kassierer"));
    EXPECT_EQ(b->lblBAnzahl->text(), QString("3"));
    EXPECT_TRUE(b->txtBenutzer->text().isEmpty());

    neueSitzung("Anna O'Neill", "Ge'heim");
    ASSERT_EQ(forms::form<Main>().StatusBar1->panelText(4), QString("Anna O'Neill")) << texte(boxes);
    EXPECT_TRUE(modStart::GruppeHatRecht(modStart::Recht::Kontakt));
    EXPECT_FALSE(modStart::GruppeHatRecht(modStart::Recht::Arbeit));
    if (navrailVorhanden()) {
        EXPECT_EQ(itemKeys(gv().objItemsSystem.get()) + itemKeys(gv().objItemsOrganisation.get()),
                  QStringList({"Parameter", "Fangbuch"}));
    }

    // Changed by the administrator, the rights hold from the next login on.
    neueSitzung("Verwalter", "angeln");
    oeffne();
    doppelklick(false, 2);
    EXPECT_EQ(b->txtGruppe->text(), QString("Kassierer"));
    EXPECT_TRUE(b->chkFBuch->isChecked());
    setzeRecht(b->chkFBuch, false);
    setzeRecht(b->chkArbeit, true);
    klicke(b->tbSpeichern);
    EXPECT_EQ(zeilen(*b->tblZugriff).last(),
              "3|Kassierer|Falsch|Falsch|Falsch|Falsch|Wahr|Wahr|Falsch|Falsch|Falsch|Wahr");
    neueSitzung("Anna O'Neill", "Ge'heim");
    EXPECT_TRUE(modStart::GruppeHatRecht(modStart::Recht::Arbeit));
    EXPECT_FALSE(modStart::GruppeHatRecht(modStart::Recht::Fangbuch));
    if (navrailVorhanden()) {
        EXPECT_EQ(itemKeys(gv().objItemsSystem.get()) + itemKeys(gv().objItemsOrganisation.get()),
                  QStringList({"Parameter", "Arbeit"}));
    }
}

TEST_F(BenutzerTest, ARenamedGroupIsRenamedInTheUsersGridToo)
{
    doppelklick(false, 1);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    tippe(b->txtGruppe, "Besucher");
    klicke(b->tbSpeichern);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(zeilen(*b->tblZugriff)[1], "2|Besucher|" + Keine);
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren", "2|Gast|gast|Besucher"}));
    EXPECT_EQ(gruppenTabelle()[1].section('|', 1, 1), QString("Besucher"));
    zeigeTab(true);
    EXPECT_EQ(gruppenListe(), QStringList({"Administratoren", "Besucher"}));
}

TEST_F(BenutzerTest, DeletingAGroupTakesItsUsersByKeyWhateverTheNameBoxSays)
{
    doppelklick(false, 1);
    tippe(b->txtGruppe, "Administratoren"); // edited, then deleted
    boxes.answer(forms::vbYes);
    klicke(b->tbLoeschen);
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(
        boxes.last().text,
        QString(
            "Achtung: Benutzer - Referenzen in der Benutzertabelle werden ebenfalls gelöscht !\r\nTrotzdem löschen ?"));
    EXPECT_EQ(boxes.last().flags, forms::vbYesNo);
    EXPECT_EQ(zeilen(*b->tblZugriff), QStringList({"1|Administratoren|" + Alle}));
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren"}));
    EXPECT_EQ(benutzerTabelle(), QStringList({"1|Verwalter|angeln|1"}));
    EXPECT_EQ(b->lblBAnzahl->text(), QString("1"));
    EXPECT_EQ(b->lblGAnzahl->text(), QString("1"));
    EXPECT_EQ(gruppenListe(), QStringList({"Administratoren"}));
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(BenutzerTest, RefusedChangesLeaveDatabaseAndGridsAsTheyWere)
{
    const QString Angemeldet = "ACHTUNG: Der angemeldete Benutzer kann nicht gelöscht werden, Vorgang abgebrochen !";
    const QString GruppeAngemeldet =
        "ACHTUNG: Die Gruppe des angemeldeten Benutzers kann nicht gelöscht werden, Vorgang abgebrochen !";
    const QString DoppelterBenutzer =
        "ACHTUNG: Ein Benutzer mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !";
    const QString DoppelteGruppe = "ACHTUNG: Eine Gruppe mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !";
    const struct Fall
    {
        const char *was;
        std::function<void()> tue;
        QString box;
        const char *modus;
    } faelle[] = {
        {"delete the logged-in user",
         [this] {
             doppelklick(true, 0);
             boxes.answer(forms::vbYes);
             klicke(b->tbLoeschen);
         },
         Angemeldet, "EDIT"},
        {"delete the logged-in user's group",
         [this] {
             doppelklick(false, 0);
             boxes.answer(forms::vbYes);
             klicke(b->tbLoeschen);
         },
         GruppeAngemeldet, "EDIT"},
        {"take the last administrators' right",
         [this] {
             doppelklick(false, 0);
             setzeRecht(b->chkBenutzer, false);
             klicke(b->tbSpeichern);
         },
         LetzterVerwalter, "EDIT"},
        {"move the last administrator out",
         [this] {
             doppelklick(true, 0);
             tippe(b->cboBG->lineEdit(), "Gaeste");
             klicke(b->tbSpeichern);
         },
         LetzterVerwalter, "EDIT"},
        {"delete the last administrator, another user logged in",
         [this] {
             forms::form<Main>().StatusBar1->setPanelText(4, "Gast");
             doppelklick(true, 0);
             boxes.answer(forms::vbYes);
             klicke(b->tbLoeschen);
         },
         LetzterVerwalter, "EDIT"},
        {"a second user of the same name",
         [this] {
             zeigeTab(true);
             benutzer("Gast", "x", "x", "Gaeste");
             klicke(b->tbSpeichern);
         },
         DoppelterBenutzer, "SAVE"},
        {"a user renamed to another's name",
         [this] {
             doppelklick(true, 1);
             tippe(b->txtBenutzer, "Verwalter");
             klicke(b->tbSpeichern);
         },
         DoppelterBenutzer, "EDIT"},
        {"a second group of the same name but for case",
         [this] {
             zeigeTab(false);
             tippe(b->txtGruppe, "GAESTE");
             klicke(b->tbSpeichern);
         },
         DoppelteGruppe, "SAVE"},
        {"an empty group name",
         [this] {
             doppelklick(false, 1);
             tippe(b->txtGruppe, " ");
             klicke(b->tbSpeichern);
         },
         Eingabefehler, "EDIT"},
        {"a user without group",
         [this] {
             zeigeTab(true);
             benutzer("Neu", "", "", "");
             klicke(b->tbSpeichern);
         },
         Eingabefehler, "SAVE"},
        // Pasted: a control character would be stored and shown as a broken row.
        {"a user name with a line break",
         [this] {
             zeigeTab(true);
             benutzer("Neu", "x", "x", "Gaeste");
             b->txtBenutzer->setText("Neu\nZeile");
             klicke(b->tbSpeichern);
         },
         Eingabefehler, "SAVE"},
        {"a user renamed with a tab",
         [this] {
             doppelklick(true, 1);
             b->txtBenutzer->setText("Ga\tst");
             klicke(b->tbSpeichern);
         },
         Eingabefehler, "EDIT"},
        {"a new group with NUL in its name",
         [this] {
             zeigeTab(false);
             b->txtGruppe->setText(QStringLiteral("Jugend") + QChar(0) + QStringLiteral("x"));
             klicke(b->tbSpeichern);
         },
         Eingabefehler, "SAVE"},
        {"a group renamed with a line break",
         [this] {
             doppelklick(false, 1);
             b->txtGruppe->setText("Gae\r\nste");
             klicke(b->tbSpeichern);
         },
         Eingabefehler, "EDIT"},
    };
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.was);
        const QStringList benutzerVorher = benutzerTabelle();
        const QStringList gruppenVorher = gruppenTabelle();
        const QStringList zeilenB = zeilen(*b->tblBenutzer);
        const QStringList zeilenG = zeilen(*b->tblZugriff);
        fall.tue();
        ASSERT_FALSE(boxes.boxes().empty());
        EXPECT_EQ(boxes.last().text, fall.box) << texte(boxes);
        EXPECT_EQ(benutzerTabelle(), benutzerVorher);
        EXPECT_EQ(gruppenTabelle(), gruppenVorher);
        EXPECT_EQ(zeilen(*b->tblBenutzer), zeilenB);
        EXPECT_EQ(zeilen(*b->tblZugriff), zeilenG);
        EXPECT_EQ(gv().strModus, QString(fall.modus));
        klicke(b->tbAnzLoeschen);
        EXPECT_EQ(gv().strModus, QString("SAVE"));
        forms::form<Main>().StatusBar1->setPanelText(4, "Verwalter");
        boxes.clear();
    }
}

TEST_F(BenutzerTest, PasswordsAreComparedExactlyAndAMismatchEmptiesTheFields)
{
    zeigeTab(true);
    benutzer("Karl", "Angeln", "angeln", "Gaeste");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text,
              QString("Passwortbestätigung stimmt nicht mit Passwort überein\n\rBitte versuchen Sie es nochmal !"));
    EXPECT_EQ(boxes.last().flags, forms::vbInformation);
    EXPECT_TRUE(b->txtBenutzer->text().isEmpty());
    EXPECT_TRUE(b->txtPassw->text().isEmpty());
    EXPECT_TRUE(b->cboBG->currentText().isEmpty());
    EXPECT_TRUE(b->txtBenutzer->hasFocus());
    EXPECT_EQ(benutzerTabelle().size(), 2);

    // Two empty boxes are equal: an empty password.
    benutzer("Karl", "", "", "Gaeste");
    klicke(b->tbSpeichern);
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(benutzerTabelle().last(), QString("3|Karl||2"));

    // A group that is not there.
    benutzer("Lena", "x", "x", "Vorstand");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().text, QString("Keine Benutzergruppe angelegt! Bitte legen Sie zuerst eine Gruppe an."));
    EXPECT_EQ(boxes.last().flags, forms::vbCritical);
    EXPECT_TRUE(b->txtBenutzer->text().isEmpty());
    EXPECT_EQ(benutzerTabelle().size(), 3);
}

TEST_F(BenutzerTest, ALoadedUserPassesTheConfirmationAndARenamedLoggedInUserKeepsHisRights)
{
    doppelklick(true, 0);
    EXPECT_EQ(b->lblBNr->text(), QString("1"));
    EXPECT_EQ(b->txtPassw->text(), QString("angeln"));
    EXPECT_EQ(b->txtPasswBest->text(), QString("angeln"));
    EXPECT_EQ(b->cboBG->currentText(), QString("Administratoren"));
    tippe(b->txtBenutzer, "Vorstand");
    klicke(b->tbSpeichern);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(zeilen(*b->tblBenutzer)[0], QString("1|Vorstand|angeln|Administratoren"));
    EXPECT_EQ(forms::form<Main>().StatusBar1->panelText(4), QString("Vorstand"));
    EXPECT_TRUE(modStart::GruppeHatRecht(modStart::Recht::Arbeit));
}

TEST_F(BenutzerTest, TheRowIsFoundByKeyAndAFailedCheckKeepsTheEdit)
{
    doppelklick(true, 1);
    gv().lngDSNr = 0; // another window chose its first row meanwhile
    tippe(b->txtBenutzer, "");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    tippe(b->txtBenutzer, "Gastangler");
    klicke(b->tbSpeichern);
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren", "2|Gastangler|gast|Gaeste"}));
    EXPECT_EQ(benutzerTabelle(), QStringList({"1|Verwalter|angeln|1", "2|Gastangler|gast|2"}));

    doppelklick(false, 1);
    gv().lngDSNr = 0;
    setzeRecht(b->chkBasis, true);
    klicke(b->tbSpeichern);
    EXPECT_EQ(zeilen(*b->tblZugriff),
              QStringList({"1|Administratoren|" + Alle,
                           "2|Gaeste|Falsch|Falsch|Falsch|Falsch|Falsch|Falsch|Falsch|Wahr|Falsch|Falsch"}));
}

TEST_F(BenutzerTest, ARecordGoneMeanwhileIsReportedAndItsRowsLeaveTheGrids)
{
    doppelklick(true, 1);
    sql("DELETE FROM Benutzer WHERE BNr = 2");
    tippe(b->txtPassw, "neu");
    tippe(b->txtPasswBest, "neu");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !"));
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren"}));
    EXPECT_TRUE(b->lblBNr->text().isEmpty());

    sql("INSERT INTO Benutzer (BNr, Name, Passwort, GNr) VALUES (5, 'Gast', 'gast', 2)");
    b->tblBenutzer->addRow(QVariantList{5, "Gast", "gast", "Gaeste"});
    doppelklick(false, 1);
    sql("DELETE FROM Gruppen WHERE GNr = 2");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().text, QString("FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !"));
    EXPECT_EQ(zeilen(*b->tblZugriff), QStringList({"1|Administratoren|" + Alle}));
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren"}));
}

TEST_F(BenutzerTest, DeletingAnotherUserAsksAndRemovesItsRow)
{
    doppelklick(true, 1);
    boxes.answer(forms::vbNo);
    klicke(b->tbLoeschen);
    EXPECT_EQ(boxes.last().text, QString("Achtung: Benutzer wirklich löschen ?"));
    EXPECT_EQ(benutzerTabelle().size(), 2);
    EXPECT_TRUE(b->txtBenutzer->text().isEmpty());

    klicke(b->tbLoeschen); // nothing loaded: no question
    EXPECT_EQ(boxes.count(), 1u);

    doppelklick(true, 1);
    boxes.answer(forms::vbYes);
    klicke(b->tbLoeschen);
    EXPECT_EQ(benutzerTabelle(), QStringList({"1|Verwalter|angeln|1"}));
    EXPECT_EQ(zeilen(*b->tblBenutzer), QStringList({"1|Verwalter|angeln|Administratoren"}));
    EXPECT_EQ(b->lblBAnzahl->text(), QString("1"));
}
