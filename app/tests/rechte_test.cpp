// The rights of Gruppen in the whole program: for each right, a user whose group lacks only that
// right tries every road that writes what the right guards. Each road is either not there (its
// navigation item removed, its menu command disabled) or refused with "Sie haben keine
// Zugriffsberechtigung auf diese Funktion !"; either way no table of the database changes.
#include "bereiche.h"

#include "contacts/Katego.h"
#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/SuchKont.h"
#include "contacts/modKatego.h"
#include "contacts/modKontakt.h"
#include "fishery/Fangauswertung.h"

#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "testsupport/today.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

#include <functional>
#include <vector>

namespace {

apptest::Steuerelemente *g_bibliotheken =
    apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY, TORVANA_DATEEDIT_LIBRARY});

using apptest::texte;
using modStart::Recht;

const QString KeinRecht = QStringLiteral("Sie haben keine Zugriffsberechtigung auf diese Funktion !");

// How a road answers a user without its right.
enum class Antwort {
    Fehlt,      // the road is not offered: the step checks that itself, and no box comes
    Verweigert, // the road is taken and refused with the box
};

struct Weg
{
    Recht recht;
    std::string name;
    std::function<void()> tue;
    Antwort antwort;
    std::size_t boxen = 1; // refusals shown
};

class Rechte : public apptest::MainTest
{
protected:
    void SetUp() override { ASSERT_TRUE(g_bibliotheken->registriert()); }
    void TearDown() override
    {
        forms::setModalHook({});
        if (gestartet_)
            MainTest::TearDown();
    }

    // Starts the program afresh and logs in as a user whose group has every right but ohne.
    void meldeAnOhne(Recht ohne)
    {
        if (gestartet_)
            MainTest::TearDown();
        MainTest::SetUp();
        gestartet_ = true;
        if (HasFatalFailure())
            return;
        sql("UPDATE System SET FJahr = ?", {testsupport::Heute.year()}); // no roll-over at the login
        sql("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten'), (4, 'Behörden')");
        sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, Firma) VALUES "
            "(1, 1, 'Meier', 'Hans', ''), (4, 3, '', '', 'Angelbedarf Nord'), (5, 3, 'Müller', 'Kurt', "
            "'Köder-Müller'), "
            "(6, 3, '', '', 'Rutenbau Süd')");
        sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES "
            "(1, 1, 0, 0, 0, 0, 0)");
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Baggersee')");
        // The right columns in the order of Recht.
        QVariantList rechte;
        for (int r = 0; r <= int(Recht::System); ++r)
            rechte << (Recht(r) == ohne ? 0 : 1);
        sql("INSERT INTO Gruppen (GNr, GName, Fangbuch, Fangauswertung, KontUebers, KontListe, Kontakt, Arbeit, "
            "Besatz, Basis, Benutzerverwaltung, System) VALUES (9, 'Helfer', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            rechte);
        sql("INSERT INTO Benutzer (Name, Passwort, GNr) VALUES ('Helfer', 'helfen', 9)");
        RegistriereBereiche();
        meldeAn(QStringLiteral("Helfer"), QStringLiteral("helfen"), QSize(1280, 1000), QStringLiteral("Besatzung"));
        boxes.clear();
    }

    // Every row of every table the program writes, as text.
    static QStringList bestand()
    {
        QStringList zeilen;
        const dao::Sql tabellen[] = {"SELECT * FROM Kontakt", "SELECT * FROM Mitglied",  "SELECT * FROM Katego",
                                     "SELECT * FROM Fang",    "SELECT * FROM Besatzung", "SELECT * FROM Arbeit",
                                     "SELECT * FROM Fisch",   "SELECT * FROM Gewaesser", "SELECT * FROM Benutzer",
                                     "SELECT * FROM Gruppen", "SELECT * FROM System"};
        for (const dao::Sql &tabelle : tabellen) {
            dao::Recordset rs = gv().dbDaten.OpenRecordset(tabelle, dao::dbOpenDynaset);
            for (; !rs.Eof(); rs.MoveNext()) {
                QStringList werte{QString::fromLatin1(tabelle.text().data(), qsizetype(tabelle.text().size()))};
                for (int i = 0; i < rs.FieldCount(); ++i)
                    werte << rs.Fields(i).Value().toString();
                zeilen << werte.join(u'|');
            }
            rs.Close();
        }
        return zeilen;
    }

    static void taste(forms::Form &fenster, const char *key)
    {
        QAction *a = fenster.findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_TRUE(a) << key;
        a->trigger();
    }

    // The category window with Lieferanten loaded for change, as a double-click loads it.
    static Katego &kategorieGewaehlt()
    {
        Katego &k = *static_cast<Katego *>(modMain::ZeigeFenster(QStringLiteral("Katego")));
        k.tblKatego_DblClick(k.tblKatego->top().find(1, QStringLiteral("Lieferanten")), 1);
        return k;
    }

    // The contact editor shown for contact 5 (as another window may show it), with steps inside.
    void imEditor(bool ausSuche, std::function<void(Kontakt &)> schritte)
    {
        forms::setModalHook([schritte](forms::Form &f) {
            if (auto *k = qobject_cast<Kontakt *>(&f))
                schritte(*k);
        });
        forms::ListGrid liste;
        liste.addRow(QVariantList{5});
        gv().blnAusSuche = ausSuche;
        modGVar::SetzeEditModus(forms::form<Kontakt>(), 0, [] { modKontakt::LeereKontaktFelder(); });
        modKontakt::loadKontakt(liste, 0);
        gv().blnAusSuche = false;
        forms::setModalHook({});
    }

    // A command of a context menu of the main window, which the member list or the catch
    // evaluation pops up: offered disabled.
    static Weg imKontextmenue(Recht recht, std::string name, void (Main::*zeige)(), QMenu *Main::*menue,
                              QAction *Main::*befehl)
    {
        return {recht, std::move(name),
                [=] {
                    Main &m = forms::form<Main>();
                    (m.*zeige)();
                    EXPECT_FALSE((m.*befehl)->isEnabled());
                    (m.*menue)->hide();
                },
                Antwort::Fehlt};
    }

    std::vector<Weg> wege()
    {
        std::vector<Weg> w;
        // The navigation items.
        for (const navigation::Eintrag *e : navigation::Eintraege) {
            const QString key(e->key);
            w.push_back({e->recht, "navigation item " + key.toStdString(),
                         [key] { EXPECT_FALSE(modMain::ItemFromKey(key)) << key.toStdString(); }, Antwort::Fehlt});
        }
        // Catches: from the catch evaluation.
        w.push_back({Recht::Fangbuch, "catch evaluation: double-click on a catch",
                     [] { forms::form<Fangauswertung>().tblFAusw_DblClick(0); }, Antwort::Verweigert});
        w.push_back(imKontextmenue(Recht::Fangbuch, "catch evaluation: context menu", &Main::loadKontMenu_FAusw,
                                   &Main::mnuKontMenu_FAusw, &Main::mnuFangInfo));
        // Work hours: from the member list.
        w.push_back(imKontextmenue(Recht::Arbeit, "member list: context menu, work hours", &Main::loadKontMenu_Mitgl,
                                   &Main::mnuKontMenu_Mitgl, &Main::mnuArbContr));
        // The member list itself.
        w.push_back({Recht::KontListe, "contact overview: member list key",
                     [] {
                         QAction *a = forms::form<KontaktUebers>().findChild<QAction *>(QStringLiteral("tbMitglList"));
                         ASSERT_TRUE(a);
                         EXPECT_FALSE(a->isEnabled());
                     },
                     Antwort::Fehlt});
        // Contacts and categories.
        w.push_back(imKontextmenue(Recht::Kontakt, "member list: context menu, contact", &Main::loadKontMenu_Mitgl,
                                   &Main::mnuKontMenu_Mitgl, &Main::mnuMitglInfo));
        w.push_back({Recht::Kontakt, "contact overview: new contact",
                     [] { taste(*modMain::ZeigeFenster(navigation::Kontakte.key), "tbKontakt"); },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "contact overview: double-click on a contact",
                     [] {
                         KontaktUebers &u =
                             *static_cast<KontaktUebers *>(modMain::ZeigeFenster(navigation::Kontakte.key));
                         const int r = u.tblKUebers->top().find(0, QStringLiteral("3"));
                         ASSERT_GE(r, 0);
                         u.tblKUebers->top().setExpanded(r, true);
                         u.tblKUebers_Expand(r, forms::ExpanderColumn);
                         u.tblKUebers->switchToChild(r);
                         u.tblKUebers_DblClick(0, 2);
                         u.tblKUebers->switchToTop();
                     },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "categories: new category",
                     [] {
                         Katego &k = *static_cast<Katego *>(modMain::ZeigeFenster(QStringLiteral("Katego")));
                         k.txtKatego->setText(QStringLiteral("Jugend"));
                         taste(k, "tbSpeichern");
                     },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "categories: rename",
                     [] {
                         Katego &k = kategorieGewaehlt();
                         ASSERT_EQ(k.txtKatego->text(), QString("Lieferanten"));
                         k.txtKatego->setText(QStringLiteral("Händler"));
                         taste(k, "tbSpeichern");
                     },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "categories: delete (no question first)",
                     [] { taste(kategorieGewaehlt(), "tbLoeschen"); }, Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "contact search: double-click on a contact",
                     [] {
                         forms::setModalHook([](forms::Form &f) {
                             if (auto *s = qobject_cast<SuchKont *>(&f)) {
                                 s->txtSuch->setText(QStringLiteral("Köder"));
                                 s->cmdSuch_Click();
                                 ASSERT_EQ(s->tblSuch->top().rowCount(), 1);
                                 s->tblSuch_DblClick(0, 0);
                             }
                         });
                         gv().intSuchAufruf = 0;
                         modKontakt::LeereSuchKont();
                         modKontakt::ZeigeSuchKont();
                         forms::setModalHook({});
                     },
                     Antwort::Verweigert});
        const auto verschiebe = [this](bool ausSuche) {
            imEditor(ausSuche, [](Kontakt &k) {
                k.cboKatego->setCurrentIndex(k.cboKatego->findText(QStringLiteral("Behörden")));
                taste(k, "tbSpeichern");
                k.Hide();
            });
        };
        w.push_back({Recht::Kontakt, "contact editor shown: move from the overview", [=] { verschiebe(false); },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "contact editor shown: move from the search", [=] { verschiebe(true); },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "contact editor shown: delete (no question first)",
                     [this] {
                         imEditor(false, [](Kontakt &k) {
                             taste(k, "tbLoeschen");
                             k.Hide();
                         });
                     },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "contact editor shown: new contact",
                     [this] {
                         imEditor(false, [](Kontakt &k) {
                             modKontakt::LeereKontaktFelder();
                             modGVar::VerlasseEditModus(k);
                             k.cboKatego->setCurrentIndex(k.cboKatego->findText(QStringLiteral("Lieferanten")));
                             k.txtNName->setText(QStringLiteral("Neu"));
                             k.txtVName->setText(QStringLiteral("Nina"));
                             taste(k, "tbSpeichern");
                             k.Hide();
                         });
                     },
                     Antwort::Verweigert});
        w.push_back({Recht::Kontakt, "the writes themselves",
                     [] {
                         int zeile = 0;
                         EXPECT_FALSE(modKontakt::LoescheKontakt());
                         EXPECT_FALSE(modKontakt::UpdateSQLKontakt());
                         EXPECT_FALSE(modKontakt::UpdateKontakt(zeile));
                         EXPECT_FALSE(modKontakt::SpeicherKontakt());
                         EXPECT_FALSE(modKatego::SpeicherKatego());
                         EXPECT_FALSE(modKatego::UpdateKatego(zeile));
                         EXPECT_FALSE(modKatego::LoescheKatego(zeile));
                     },
                     Antwort::Verweigert, 7});
        return w;
    }

private:
    bool gestartet_ = false;
};

} // namespace

TEST_F(Rechte, EveryRoadThatWritesWhatARightGuardsIsClosedToAUserWithoutIt)
{
    const Recht rechte[] = {
        Recht::Fangbuch, Recht::Fangauswertung, Recht::KontUebers, Recht::KontListe,          Recht::Kontakt,
        Recht::Arbeit,   Recht::Besatz,         Recht::Basis,      Recht::Benutzerverwaltung, Recht::System};
    for (const Recht recht : rechte) {
        SCOPED_TRACE(modStart::Rechtsspalte(recht).toStdString());
        meldeAnOhne(recht);
        ASSERT_FALSE(HasFatalFailure());
        int gegangen = 0;
        for (const Weg &weg : wege()) {
            if (weg.recht != recht)
                continue;
            SCOPED_TRACE(weg.name);
            ++gegangen;
            const QStringList vorher = bestand();
            boxes.clear();
            weg.tue();
            QApplication::processEvents();
            if (weg.antwort == Antwort::Verweigert) {
                // Every box of the road is the refusal, named.
                EXPECT_EQ(boxes.count(), weg.boxen) << texte(boxes);
                EXPECT_EQ(boxes.count(KeinRecht), weg.boxen) << texte(boxes);
            } else {
                EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            }
            EXPECT_EQ(bestand(), vorher);
        }
        EXPECT_GT(gegangen, 0);
    }
}
