#include "program_fixture.h"

#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "schema/schema.h"

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
    qputenv("TORVANA_HOME", home.path().toUtf8());
    if (datenbank_ == Datenbank::Starter)
        schema::CreateStarterDatabase(dbPfad());
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
    QFile::remove(dbPfad());
    qunsetenv("TORVANA_HOME");
}

QString ProgramTest::dbPfad() const
{
    return home.path() + QStringLiteral("/tv01.mdb");
}

void ProgramTest::sql(dao::Sql text, const QVariantList &params)
{
    dao::Database d = dao::DBEngine::Workspaces(0).OpenDatabase(dbPfad(), false, false, modStart::Verbindung);
    d.Execute(text, params);
    d.Close();
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
