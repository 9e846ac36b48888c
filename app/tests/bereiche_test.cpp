// The program's wiring of its areas into the core: every plug-in point is filled, so no step of
// the start-up, the commands or the yearly roll-over is skipped for want of its area.
#include "bereiche.h"

#include "core/navigation.h"
#include "core/plugins.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class Bereiche : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core::LeereEinstiege();
        RegistriereBereiche();
    }
    void TearDown() override { core::LeereEinstiege(); }
};

template <class F>
::testing::AssertionResult gefuellt(const std::function<F> &eintrag)
{
    return eintrag ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "empty";
}

} // namespace

TEST_F(Bereiche, TheProgramFillsEveryPlugInPoint)
{
    const core::Einstiege &e = core::einstiege();
    const struct
    {
        const char *name;
        ::testing::AssertionResult gefuellt;
    } eintraege[] = {
        {"bereiche.LeereMitglAuswahl", gefuellt(e.bereiche.LeereMitglAuswahl)},
        {"bereiche.tblMList", gefuellt(e.bereiche.tblMList)},
        {"bereiche.LeereFangFelder", gefuellt(e.bereiche.LeereFangFelder)},
        {"bereiche.loadFang", gefuellt(e.bereiche.loadFang)},
        {"bereiche.tblFAusw", gefuellt(e.bereiche.tblFAusw)},
        {"bereiche.FangbuchZugriff_Erlaubt", gefuellt(e.bereiche.FangbuchZugriff_Erlaubt)},
        {"bereiche.SetzeKontaktToolbar", gefuellt(e.bereiche.SetzeKontaktToolbar)},
        {"bereiche.loadKontakt", gefuellt(e.bereiche.loadKontakt)},
        {"bereiche.KontaktZugriff_Erlaubt", gefuellt(e.bereiche.KontaktZugriff_Erlaubt)},
        {"bereiche.UebernimmMitglied", gefuellt(e.bereiche.UebernimmMitglied)},
        {"bereiche.ArbeitsZugriff_Erlaubt", gefuellt(e.bereiche.ArbeitsZugriff_Erlaubt)},
        {"bereiche.UebernehmeKontakt", gefuellt(e.bereiche.UebernehmeKontakt)},
        {"bereiche.KomprimiereDatenbank", gefuellt(e.bereiche.KomprimiereDatenbank)},
        {"kontaktwerkzeuge.LeereSuchKont", gefuellt(e.kontaktwerkzeuge.LeereSuchKont)},
        {"kontaktwerkzeuge.ZeigeSuchKont", gefuellt(e.kontaktwerkzeuge.ZeigeSuchKont)},
        {"kontaktwerkzeuge.EntladeSuchKont", gefuellt(e.kontaktwerkzeuge.EntladeSuchKont)},
        {"kontaktwerkzeuge.ErzeugeSeriDatei", gefuellt(e.kontaktwerkzeuge.ErzeugeSeriDatei)},
        {"startschritte.loadButtnBar", gefuellt(e.startschritte.loadButtnBar)},
        {"startschritte.zeigeLogin", gefuellt(e.startschritte.zeigeLogin)},
        {"startschritte.RepariereDatenbank", gefuellt(e.startschritte.RepariereDatenbank)},
        {"ladeschritte.loadTblBenutzer", gefuellt(e.ladeschritte.loadTblBenutzer)},
        {"ladeschritte.loadTblZugriff", gefuellt(e.ladeschritte.loadTblZugriff)},
        {"ladeschritte.InitialisiereKontaktUebers", gefuellt(e.ladeschritte.InitialisiereKontaktUebers)},
        {"jahreswechsel.UebernehmeStunden", gefuellt(e.jahreswechsel.UebernehmeStunden)},
        {"jahreswechsel.Ueberpruefe_auf_Uebertrag", gefuellt(e.jahreswechsel.Ueberpruefe_auf_Uebertrag)},
        {"jahreswechsel.ReinitialisiereJB", gefuellt(e.jahreswechsel.ReinitialisiereJB)},
        {"fangListe", gefuellt(e.fangListe)},
        {"kategoListe", gefuellt(e.kategoListe)},
        {"besatzListe.tblBList", gefuellt(e.besatzListe.tblBList)},
        {"besatzListe.geladen", gefuellt(e.besatzListe.geladen)},
    };
    for (const auto &eintrag : eintraege)
        EXPECT_TRUE(eintrag.gefuellt) << eintrag.name;
}

TEST_F(Bereiche, EveryItemOfTheBarAndEveryNamedWindowHasItsWindow)
{
    QStringList schluessel;
    for (const navigation::Eintrag *eintrag : navigation::Eintraege)
        schluessel << QString(eintrag->key);
    // The background window "Hinter" that hiding all windows names has no window in this program.
    for (const char *name : {"MitglList", "Katego", "Info"})
        schluessel << QString::fromLatin1(name);
    const auto &fenster = core::einstiege().fenster;
    for (const QString &key : schluessel) {
        SCOPED_TRACE(key.toStdString());
        ASSERT_TRUE(fenster.contains(key));
        EXPECT_TRUE(fenster.value(key));
    }
}
