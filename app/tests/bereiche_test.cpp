// The program's wiring of its areas into the core: every plug-in point is filled, so no step of
// the start-up, the commands or the yearly roll-over is skipped for want of its area.
#include "bereiche.h"

#include "core/navigation.h"
#include "core/plugins.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>

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
    struct Eintrag
    {
        const char *name;
        ::testing::AssertionResult gefuellt;
    };
    // One list per struct of entries; each list's length is held to its struct's size below, so
    // an entry added to core/plugins.h fails the build until it is listed here.
    const Eintrag bereiche[] = {
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
    };
    const Eintrag kontaktwerkzeuge[] = {
        {"kontaktwerkzeuge.LeereSuchKont", gefuellt(e.kontaktwerkzeuge.LeereSuchKont)},
        {"kontaktwerkzeuge.ZeigeSuchKont", gefuellt(e.kontaktwerkzeuge.ZeigeSuchKont)},
        {"kontaktwerkzeuge.EntladeSuchKont", gefuellt(e.kontaktwerkzeuge.EntladeSuchKont)},
        {"kontaktwerkzeuge.ErzeugeSeriDatei", gefuellt(e.kontaktwerkzeuge.ErzeugeSeriDatei)},
    };
    const Eintrag startschritte[] = {
        {"startschritte.loadButtnBar", gefuellt(e.startschritte.loadButtnBar)},
        {"startschritte.zeigeLogin", gefuellt(e.startschritte.zeigeLogin)},
        {"startschritte.RepariereDatenbank", gefuellt(e.startschritte.RepariereDatenbank)},
    };
    const Eintrag ladeschritte[] = {
        {"ladeschritte.loadTblBenutzer", gefuellt(e.ladeschritte.loadTblBenutzer)},
        {"ladeschritte.loadTblZugriff", gefuellt(e.ladeschritte.loadTblZugriff)},
        {"ladeschritte.InitialisiereKontaktUebers", gefuellt(e.ladeschritte.InitialisiereKontaktUebers)},
    };
    const Eintrag jahreswechsel[] = {
        {"jahreswechsel.UebernehmeStunden", gefuellt(e.jahreswechsel.UebernehmeStunden)},
        {"jahreswechsel.Ueberpruefe_auf_Uebertrag", gefuellt(e.jahreswechsel.Ueberpruefe_auf_Uebertrag)},
        {"jahreswechsel.ReinitialisiereJB", gefuellt(e.jahreswechsel.ReinitialisiereJB)},
    };
    const Eintrag besatzListe[] = {
        {"besatzListe.tblBList", gefuellt(e.besatzListe.tblBList)},
        {"besatzListe.geladen", gefuellt(e.besatzListe.geladen)},
    };
    // The entries of Einstiege itself besides its structs and the window table.
    const Eintrag einstiege[] = {
        {"fangListe", gefuellt(e.fangListe)},
        {"kategoListe", gefuellt(e.kategoListe)},
    };
    // Every entry is a std::function, and every std::function has one size whatever it calls.
    constexpr std::size_t f = sizeof(std::function<void()>);
    static_assert(sizeof(std::function<bool(long &)>) == f && sizeof(core::GridZugriff) == f);
    static_assert(sizeof(core::Bereiche) == (sizeof(bereiche) / sizeof(Eintrag)) * f);
    static_assert(sizeof(core::Kontaktwerkzeuge) == (sizeof(kontaktwerkzeuge) / sizeof(Eintrag)) * f);
    static_assert(sizeof(core::Startschritte) == (sizeof(startschritte) / sizeof(Eintrag)) * f);
    static_assert(sizeof(core::Ladeschritte) == (sizeof(ladeschritte) / sizeof(Eintrag)) * f);
    static_assert(sizeof(core::Jahreswechsel) == (sizeof(jahreswechsel) / sizeof(Eintrag)) * f);
    static_assert(sizeof(core::BesatzListe) == (sizeof(besatzListe) / sizeof(Eintrag)) * f);
    static_assert(sizeof(core::Einstiege) == sizeof(e.fenster) + sizeof(e.geladen) + sizeof(core::Bereiche) +
                                                 sizeof(core::Kontaktwerkzeuge) + sizeof(core::Startschritte) +
                                                 sizeof(core::Ladeschritte) + sizeof(core::Jahreswechsel) +
                                                 sizeof(core::BesatzListe) + (sizeof(einstiege) / sizeof(Eintrag)) * f);
    const auto pruefe = [](std::span<const Eintrag> liste) {
        for (const Eintrag &eintrag : liste)
            EXPECT_TRUE(eintrag.gefuellt) << eintrag.name;
    };
    pruefe(bereiche);
    pruefe(kontaktwerkzeuge);
    pruefe(startschritte);
    pruefe(ladeschritte);
    pruefe(jahreswechsel);
    pruefe(besatzListe);
    pruefe(einstiege);
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
