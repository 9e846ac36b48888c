// The plug-in points: emptying them leaves no stand-in of one test behind for the next.
#include "core/plugins.h"

#include <gtest/gtest.h>

#include <functional>

TEST(Einstiege, EmptyingLeavesNoEntryOfTheContactToolsBehind)
{
    core::Kontaktwerkzeuge &w = core::einstiege().kontaktwerkzeuge;
    struct Fall
    {
        const char *name;
        std::function<void()> &eintrag;
    };
    const Fall faelle[] = {
        {"LeereSuchKont", w.LeereSuchKont},
        {"ZeigeSuchKont", w.ZeigeSuchKont},
        {"EntladeSuchKont", w.EntladeSuchKont},
        {"ErzeugeSeriDatei", w.ErzeugeSeriDatei},
    };
    for (const Fall &f : faelle)
        f.eintrag = [] {};
    core::LeereEinstiege();
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        EXPECT_FALSE(f.eintrag);
    }
}
