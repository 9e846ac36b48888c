#include "core_fixture.h"

#include "core/Info.h"
#include "core/Main.h"
#include "core/modMain.h"
#include "core/plugins.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace coretest;

namespace {

class Menues : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        sql("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten')");
        sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES (7, 1, 'Barsch', 'Anna'), (8, 1, 'Karpfen', "
            "'Ben'), (9, 3, 'Wels', 'Carl')");
        sql("INSERT INTO Mitglied (KNr, Befreit) VALUES (7, 0), (8, 1)");
        liste.addRow(QStringList{"7", "Barsch", "Anna"});
        liste.addRow(QStringList{"8", "Karpfen", "Ben"});
        liste.addRow(QStringList{"9", "Wels", "Carl"});
        auto &b = core::einstiege().bereiche;
        b.tblMList = [this] { return &liste; };
        b.tblFAusw = [this] { return &liste; };
        // The stand-in of the work-hours area takes the first row's member and refuses the others.
        b.UebernimmMitglied = [this](forms::ListGrid &, int zeile) {
            angefragt.push_back(zeile);
            return zeile == 0;
        };
        arbeit = &attrappe("Arbeit");
        mitglList = &attrappe("MitglList");
        attrappe("Fangbuch");
        meldeAn();
        main = &forms::form<Main>();
    }

    forms::ListGrid liste;
    std::vector<int> angefragt;
    Attrappe *arbeit = nullptr;
    Attrappe *mitglList = nullptr;
    Main *main = nullptr;
};

const QString Fehlt = "FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !";

} // namespace

TEST_F(Menues, TheMenuBarAndTheHiddenContextMenus)
{
    QStringList titel;
    for (QAction *a : main->menuBar()->actions())
        titel << a->text();
    EXPECT_EQ(titel, QStringList({"&Datei", "&Tools", "&?"}));
    EXPECT_EQ(main->mnuKontMenu_Mitgl->title(), QString("Kontextmenü_Mitgl"));
    EXPECT_EQ(main->mnuArbContr->text(), QString("&Übernahme i. Arb.-Controlling"));
    EXPECT_EQ(main->mnuMitglInfo->text(), QString("&Mitgliederinformationen anzeigen"));
    EXPECT_EQ(main->mnuFangInfo->text(), QString("&Fang anzeigen"));
    EXPECT_EQ(main->mnuKomprimiere->text(), QString("&Datenbank komprimieren"));
    EXPECT_EQ(main->mnuRepariere->text(), QString("&Datenbank reparieren"));
    EXPECT_EQ(main->mnuInfo->text(), QString("&Info"));
}

TEST_F(Menues, TheContextMenusOfferWhatTheRightsAllow)
{
    auto &b = core::einstiege().bereiche;
    for (bool kontakt : {false, true}) {
        for (bool arbeitRecht : {false, true}) {
            b.KontaktZugriff_Erlaubt = [=] { return kontakt; };
            b.ArbeitsZugriff_Erlaubt = [=] { return arbeitRecht; };
            main->loadKontMenu_Mitgl();
            EXPECT_EQ(main->mnuMitglInfo->isEnabled(), kontakt);
            EXPECT_EQ(main->mnuArbContr->isEnabled(), arbeitRecht);
            main->mnuKontMenu_Mitgl->hide();
        }
    }
    main->loadKontMenu_FAusw(); // no catch-side check registered: the entry is off
    EXPECT_FALSE(main->mnuFangInfo->isEnabled());
    main->mnuKontMenu_FAusw->hide();
}

TEST_F(Menues, TakingAMemberIntoTheWorkHoursWindow)
{
    const struct
    {
        int zeile;
        bool gefragt;
        bool gezeigt;
    } faelle[] = {
        {5, false, false}, // no such row: the missing-record box, the area is not asked
        {-1, false, false},
        {1, true, false}, // the area refuses (it shows its own box)
        {0, true, true},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.zeile);
        boxes.clear();
        angefragt.clear();
        arbeit->hide();
        mitglList->show();
        gv().intArbUebernahme = 0;
        gv().lngDSNr = fall.zeile;
        main->mnuArbContr_Click();
        if (fall.gefragt) {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            EXPECT_EQ(angefragt, std::vector<int>{fall.zeile});
        } else {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().text, Fehlt);
            EXPECT_TRUE(angefragt.empty());
        }
        EXPECT_EQ(arbeit->isVisible(), fall.gezeigt);
        EXPECT_EQ(mitglList->isVisible(), !fall.gezeigt);
        EXPECT_EQ(gv().intArbUebernahme, fall.gezeigt ? 1 : 0);
    }
    EXPECT_EQ(gv().intSuchAufruf, 1);
}

TEST_F(Menues, CatchAndMemberInformationNeedARow)
{
    auto &b = core::einstiege().bereiche;
    std::vector<QString> aufrufe;
    b.LeereFangFelder = [&] { aufrufe.push_back("leere"); };
    b.loadFang = [&](forms::ListGrid &, int &zeile) { aufrufe.push_back("fang " + QString::number(zeile)); };
    b.SetzeKontaktToolbar = [&](int m) { aufrufe.push_back("toolbar " + QString::number(m)); };
    b.loadKontakt = [&](forms::ListGrid &, int &zeile) { aufrufe.push_back("kontakt " + QString::number(zeile)); };
    Attrappe &auswertung = attrappe("Fangauswertung");
    auswertung.show();

    gv().lngDSNr = 3;
    main->mnuFangInfo_Click();
    main->mnuMitglInfo_Click();
    EXPECT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().text, Fehlt);
    EXPECT_EQ(boxes.count(Fehlt), 2u) << "each command says that there is no record";
    EXPECT_TRUE(aufrufe.empty());

    gv().lngDSNr = 1;
    main->mnuFangInfo_Click();
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_FALSE(auswertung.isVisible());
    main->mnuMitglInfo_Click();
    EXPECT_EQ(aufrufe, (std::vector<QString>{"leere", "fang 1", "toolbar 0", "kontakt 1", "toolbar 1"}));
}

TEST_F(Menues, TheAboutBoxTakesThePlaceOfTheWindowShown)
{
    main->mnuInfo_Click();
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
    EXPECT_TRUE(forms::form<Info>().isVisible());
}
