#pragma once
// The navigation bar's entries, the one place that names them: each entry's key, caption, image
// and the group right that keeps it in the bar. The bar is built from this table
// (modStart::loadButtnBar), the rights remove its items by it (modStart::SetzeZugriffsrechte), the
// main window shows the window registered under an entry's key (core/plugins.h) when its item is
// clicked. Code names a key as navigation::Fangbuch.key, never as a string of its own.
#include "core/modStart.h"

#include <QLatin1String>
#include <QString>

namespace navigation {

// The bar's two groups.
enum class Gruppe { System, Organisation };

struct Eintrag
{
    QLatin1String key;     // the item's key and the key of its window
    const char *caption;   // the item's caption (UTF-8; "&&" shows one "&")
    int image;             // index into the main window's large image list
    modStart::Recht recht; // without this right of the user's group the item is removed
    Gruppe gruppe;
};

inline constexpr Eintrag Zugriff{QLatin1String("Zugriff"), "Benutzer &&\r\nZugriffsverw.", 0,
                                 modStart::Recht::Benutzerverwaltung, Gruppe::System};
inline constexpr Eintrag Parameter{QLatin1String("Parameter"), "Systempar.", 1, modStart::Recht::System,
                                   Gruppe::System};
inline constexpr Eintrag Basisdaten{QLatin1String("Basisdaten"), "Basisdaten", 2, modStart::Recht::Basis,
                                    Gruppe::System};
inline constexpr Eintrag Fangbuch{QLatin1String("Fangbuch"), "Fangbuch", 3, modStart::Recht::Fangbuch,
                                  Gruppe::Organisation};
inline constexpr Eintrag Fangauswertung{QLatin1String("Fangauswertung"), "Fangauswertung", 4,
                                        modStart::Recht::Fangauswertung, Gruppe::Organisation};
inline constexpr Eintrag Kontakte{QLatin1String("Kontakte"), "Kontakte u.\r\nMitgl.", 5, modStart::Recht::KontUebers,
                                  Gruppe::Organisation};
inline constexpr Eintrag Arbeit{QLatin1String("Arbeit"), "Arb.-Std.-\r\nControlling", 6, modStart::Recht::Arbeit,
                                Gruppe::Organisation};
inline constexpr Eintrag Besatzung{QLatin1String("Besatzung"), "Besatz.-Liste", 7, modStart::Recht::Besatz,
                                   Gruppe::Organisation};

// Every entry, in the bar's order within each group.
inline constexpr const Eintrag *Eintraege[] = {&Zugriff,        &Parameter, &Basisdaten, &Fangbuch,
                                               &Fangauswertung, &Kontakte,  &Arbeit,     &Besatzung};

// The entry of a key (compared exactly), nullptr for none.
const Eintrag *ZuSchluessel(const QString &key);
// The entry that the right keeps in the bar, nullptr for a right without an item.
const Eintrag *ZuRecht(modStart::Recht recht);

} // namespace navigation
