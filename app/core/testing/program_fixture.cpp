#include "program_fixture.h"

#include "core/Login.h"
#include "core/Main.h"
#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "com/connpt.h"
#include "com/object.h"
#include "com/variant.h"
#include "common/testing/cut_controls.h"
#include "forms/form.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <dlfcn.h>

namespace apptest {

void ProgramTest::SetUp()
{
    ASSERT_TRUE(home.isValid());
    richteEin(datenbank_ != Datenbank::Keine);
    modGVar::resetGv();
    core::LeereEinstiege();
    if (datenbank_ == Datenbank::Geoeffnet)
        modStart::OeffneDatenbank();
}

void ProgramTest::TearDown()
{
    modDruck::VerwerfeBerichte();
    forms::unloadAll();
    if (gv().dbDaten.IsOpen())
        gv().dbDaten.Close();
    modGVar::resetGv();
    core::LeereEinstiege();
    // A test that starts the program anew runs TearDown and SetUp again on the same folder.
    raeumeAuf();
}

long long ProgramTest::zahl(dao::Sql text, const QVariantList &params)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(text, dao::dbOpenDynaset, params);
    const long long n = rs(0).Value().toLongLong();
    rs.Close();
    return n;
}

QVariant ProgramTest::feld(dao::Sql abfrage, qlonglong nr, const char *name)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(abfrage, dao::dbOpenDynaset, {nr});
    return rs.RecordCount() == 1 ? rs(QString::fromLatin1(name)).Value() : QVariant();
}

void ProgramTest::klicke(QWidget *widget, QPoint lokal, bool doppelt, Qt::MouseButton knopf)
{
    ASSERT_TRUE(widget);
    QWidget *fenster = widget->window();
    const QPoint p = widget->mapTo(fenster, lokal);
    QWidget *ziel = fenster->childAt(p);
    if (!ziel)
        ziel = fenster;
    const QPoint q = ziel->mapFrom(fenster, p);
    if (doppelt)
        QTest::mouseDClick(ziel, knopf, {}, q);
    else
        QTest::mouseClick(ziel, knopf, {}, q);
    QApplication::processEvents();
}

void MainTest::sql(dao::Sql text, const QVariantList &params)
{
    if (gv().dbDaten.IsOpen())
        gv().dbDaten.Execute(text, params);
    else
        ProgramTest::sql(text, params);
}

void MainTest::meldeAn(const QString &benutzer, const QString &passwort, QSize groesse, const QString &fenster)
{
    auto ersatz = [this](int spalten) -> core::GridZugriff {
        ersatzListen_.push_back(std::make_unique<forms::ListGrid>());
        forms::ListGrid *grid = ersatzListen_.back().get();
        if (spalten > 0)
            grid->top().setColumnCount(spalten);
        return [grid]() -> forms::ListGrid & { return *grid; };
    };
    core::Einstiege &e = core::einstiege();
    if (!e.fangListe)
        e.fangListe = ersatz(0);
    if (!e.kategoListe)
        e.kategoListe = ersatz(2);
    if (!e.besatzListe.tblBList)
        e.besatzListe.tblBList = ersatz(0);
    Main &main = forms::form<Main>();
    Login &login = forms::form<Login>();
    login.txtBenutzer->setText(benutzer);
    login.txtPassw->setText(passwort);
    login.cmdOK_Click();
    ASSERT_FALSE(login.isVisible()) << texte(boxes);
    main.resize(groesse);
    main.show();
    if (!fenster.isEmpty())
        modMain::ZeigeFenster(fenster);
    QApplication::processEvents();
}

void setzeHauptfenstergroesse(QSize groesse)
{
    Main &main = forms::form<Main>();
    main.resize(groesse);
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(main.size(), groesse);
}

void ZeigtSichGanz(const QString &key, const std::function<void()> &jeGroesse)
{
    forms::Form *fenster = modMain::ZeigeFenster(key);
    ASSERT_TRUE(fenster) << key.toStdString();
    for (QSize s : Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << key.toStdString() << " at " << s.width() << " x " << s.height());
        setzeHauptfenstergroesse(s);
        ASSERT_TRUE(fenster->isVisible());
        EXPECT_EQ(verdecktAufJederSeite(*fenster), std::vector<std::string>{});
        if (jeGroesse)
            jeGroesse();
    }
}

void klickeItem(const QString &key)
{
    com::ComPtr<ILzNavrailItem> item = modMain::ItemFromKey(key);
    ASSERT_TRUE(item) << "no navigation item " << key.toStdString();
    // Arguments in reverse order: the item, then its group (which the handler does not read).
    com::Variant args[2] = {com::Variant::dispatch(item.get()), com::Variant::dispatch(gv().objGrpOrganisation.get())};
    DISPPARAMS params{args, nullptr, 2, 0};
    com::EventArgs ea(&params);
    emit forms::form<Main>().ButtnBar->controlEvent(DISPID_NBE_ItemClick, &ea);
    QApplication::processEvents();
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

std::vector<std::string> verdeckt(const QWidget &fenster)
{
    // The grids too: a grid asked for a least number of rows must get their height.
    return vbtest::cutControls(fenster, {QStringLiteral("forms::ListGrid")});
}

std::vector<std::string> verdecktAufJederSeite(QWidget &fenster)
{
    std::vector<std::string> befund = verdeckt(fenster);
    for (QTabWidget *seiten : fenster.findChildren<QTabWidget *>()) {
        for (int i = 0; i < seiten->count(); ++i) {
            seiten->setCurrentIndex(i);
            // A second pass lays out again what the first paint changed.
            QApplication::processEvents();
            QApplication::processEvents();
            for (const std::string &b : verdeckt(fenster))
                befund.push_back(seiten->tabText(i).toStdString() + ": " + b);
        }
        seiten->setCurrentIndex(0);
        QApplication::processEvents();
    }
    return befund;
}

std::string texte(const forms::ScriptedMsgBox &boxes)
{
    QStringList t;
    for (const auto &b : boxes.boxes())
        t << b.title + QStringLiteral(": ") + b.text;
    return t.join(QStringLiteral(" | ")).toStdString();
}

} // namespace apptest
