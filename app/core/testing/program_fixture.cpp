#include "program_fixture.h"

#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/plugins.h"

#include "com/object.h"
#include "forms/form.h"

#include <QFile>
#include <QStringList>
#include <cstdlib>
#include <dlfcn.h>

namespace apptest {

void ProgramTest::SetUp()
{
    ASSERT_TRUE(home.isValid());
    richteEin(datenbank_ == Datenbank::Starter);
    modGVar::resetGv();
    core::LeereEinstiege();
}

void ProgramTest::TearDown()
{
    forms::unloadAll();
    if (gv().dbDaten.IsOpen())
        gv().dbDaten.Close();
    modGVar::resetGv();
    core::LeereEinstiege();
    // A test that starts the program anew runs TearDown and SetUp again on the same folder.
    raeumeAuf();
}

void Steuerelemente::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    setenv("TORVANA_REGISTRY", QFile::encodeName(dir_.filePath(QStringLiteral("registry"))).constData(), 1);
    for (const std::string &pfad : pfade_) {
        void *lib = dlopen(pfad.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(lib) << "the control library cannot be loaded: " << dlerror();
        auto reg = reinterpret_cast<PFN_DllRegisterServer>(dlsym(lib, "DllRegisterServer"));
        const bool ok = reg && reg() == S_OK;
        dlclose(lib);
        ASSERT_TRUE(ok) << "the control library does not register: " << pfad;
    }
    registriert_ = true;
}

Steuerelemente *RegistriereSteuerelemente(std::vector<std::string> pfade)
{
    return static_cast<Steuerelemente *>(::testing::AddGlobalTestEnvironment(new Steuerelemente(std::move(pfade))));
}

std::string texte(const forms::ScriptedMsgBox &boxes)
{
    QStringList t;
    for (const auto &b : boxes.boxes())
        t << b.title + QStringLiteral(": ") + b.text;
    return t.join(QStringLiteral(" | ")).toStdString();
}

} // namespace apptest
