#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"

#include "com/activation.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/services.h"
#include "forms/statusbar.h"

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Passwort = ";pwd=tq-3917-kfb";

void legeDatenbankAn(const QString &path, const QString &connect)
{
    dao::Database db = dao::DBEngine::Workspaces(0).CreateDatabase(path, connect);
    db.Close();
}

void beschaedige(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
}

// A window of the program that notes whether the database was still open when it unloaded.
bool dbOffenBeimEntladen = true;
class Fenster : public forms::Form
{
protected:
    void Form_Unload(bool &) override { dbOffenBeimEntladen = gv().dbDaten.IsOpen(); }
};

// Each test lays out its own database file.
class Start : public apptest::ProgramTest
{
protected:
    Start() : ProgramTest(Datenbank::Keine) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        core::einstiege().startschritte.zeigeLogin = [this] { ++logins; };
    }
    void TearDown() override
    {
        if (gv().dbDaten.IsOpen())
            gv().dbDaten.Close();
        core::einstiege().startschritte = {};
        ProgramTest::TearDown();
    }
    QString db() const { return dbPfad(); }

    int logins = 0;
};

} // namespace

TEST_F(Start, OpensTheDatabaseSizesTheWindowAndHandsOverToTheLogin)
{
    legeDatenbankAn(db(), Passwort);
    Main &main = forms::form<Main>();
    ASSERT_TRUE(forms::isLoaded<Main>());
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(logins, 1);
    EXPECT_TRUE(gv().dbDaten.IsOpen());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), QString("Torvana"));
    EXPECT_EQ(main.height(), 575); // 8625 twips
    // The bar is no longer fixed at 7695 twips: laid out, it takes the room between menu and
    // status bar, at least its start height.
    main.show();
    QApplication::processEvents();
    EXPECT_GE(main.ButtnBar->height(), 513);
    EXPECT_EQ(main.ButtnBar->mapTo(&main, QPoint(0, main.ButtnBar->height())).y(), main.StatusBar1->geometry().top());
    main.hide();
    EXPECT_EQ(main.StatusBar1->panelCount(), 8);
    EXPECT_EQ(main.mnuDatei->title(), QString("&Datei"));
    EXPECT_EQ(main.mnuBeenden->text(), QString("&Beenden"));
}

TEST_F(Start, AMissingFileOrAWrongPasswordEndsTheProgramWithItsBox)
{
    const struct
    {
        bool anlegen;
        const char *text;
        const char *caption;
    } roads[] = {
        {false,
         "ACHTUNG: Datenbank nicht gefunden ! Bitte stellen Sie sicher das sich die Datenbank im \n\r"
         "im Root - Verzeichnis von Torvana befindet (z.B: C:\\...\\Torvana\\tv01.mdb) ! Torvana beendet sich jetzt !",
         "Runtime - Error: 3024"},
        {true, "ACHTUNG: Datenbank - Passwort nicht korrekt ! Torvana beendet sich jetzt !", "Torvana"},
    };
    for (const auto &road : roads) {
        QFile::remove(db());
        if (road.anlegen)
            legeDatenbankAn(db(), ";pwd=anderes-Wort");
        boxes.clear();
        forms::form<Main>();
        EXPECT_FALSE(forms::isLoaded<Main>()) << road.caption;
        ASSERT_EQ(boxes.count(), 1u) << road.caption;
        EXPECT_EQ(boxes.last().text, QString(road.text));
        EXPECT_EQ(boxes.last().title, QString(road.caption));
        EXPECT_EQ(boxes.last().flags, forms::vbCritical);
        EXPECT_EQ(logins, 0);
        forms::unloadAll();
    }
}

TEST_F(Start, ADamagedFileOffersTheRepairAndNoEndsTheProgram)
{
    beschaedige(db());
    bool repariert = false;
    core::einstiege().startschritte.RepariereDatenbank = [&] { repariert = true; };
    boxes.answer(forms::vbNo);
    forms::form<Main>();
    EXPECT_FALSE(forms::isLoaded<Main>());
    EXPECT_FALSE(repariert);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(
        boxes.boxes()[0].text,
        QString(
            "ACHTUNG: Datenbank konnte nicht geöffnet werden. Soll Torvana versuchen die Datenbank zu reparieren?"));
    EXPECT_EQ(boxes.boxes()[0].flags, forms::vbYesNo);
    EXPECT_EQ(boxes.boxes()[0].title, QString("Torvana"));
    EXPECT_EQ(boxes.last().text, QString("Torvana beendet sich jetzt !"));
    EXPECT_EQ(boxes.last().flags, forms::vbCritical);
    EXPECT_EQ(boxes.boxes()[0].answer, forms::vbNo);
}

TEST_F(Start, AfterARepairTheStartBeginsAgainOrEndsWhenTheFileIsStillBad)
{
    // The repair makes the file sound: the start goes on to the login.
    beschaedige(db());
    core::einstiege().startschritte.RepariereDatenbank = [&] {
        QFile::remove(db());
        legeDatenbankAn(db(), Passwort);
    };
    boxes.answer(forms::vbYes);
    forms::form<Main>();
    EXPECT_TRUE(forms::isLoaded<Main>());
    EXPECT_TRUE(gv().dbDaten.IsOpen());
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(boxes.count(), 1u);
    gv().dbDaten.Close();
    forms::unloadAll();

    // The repair could not help: no second question, the program ends with its message.
    beschaedige(db());
    core::einstiege().startschritte.RepariereDatenbank = [] {};
    boxes.clear();
    boxes.answer(forms::vbYes);
    forms::form<Main>();
    EXPECT_FALSE(forms::isLoaded<Main>());
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().text, QString("Torvana beendet sich jetzt !"));
    EXPECT_EQ(logins, 1);
}

TEST_F(Start, ExitClosesTheDatabaseBeforeTheWindowsUnload)
{
    legeDatenbankAn(db(), Passwort);
    for (bool closeBox : {false, true}) {
        Main &main = forms::form<Main>();
        forms::form<Fenster>();
        dbOffenBeimEntladen = true;
        if (closeBox)
            main.close();
        else
            main.mnuBeenden_Click();
        EXPECT_FALSE(dbOffenBeimEntladen) << closeBox;
        EXPECT_FALSE(forms::isLoaded<Fenster>());
        EXPECT_FALSE(forms::isLoaded<Main>());
        EXPECT_FALSE(gv().dbDaten.IsOpen());
        forms::unloadAll();
    }
}

// The navigation bar cannot be created: the registry is missing, empty or damaged, or the
// library it names cannot be loaded. The user learns which control and how to register it, the
// program ends cleanly (no login, the database closed), and the message goes to stderr too.
TEST_F(Start, AControlThatCannotBeCreatedIsNamedAndEndsTheProgram)
{
    legeDatenbankAn(db(), Passwort);
    core::einstiege().startschritte.loadButtnBar = modStart::loadButtnBar;
    const QByteArray registrierung = qgetenv("TORVANA_REGISTRY");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString datei = dir.filePath("registry");
    const QString bibliothek = dir.filePath("libLzNavrail.so");
    const QString schluessel = "[HKEY_CLASSES_ROOT\\CLSID\\" + com::guidToString(CLSID_LzNavrailBar) +
                               "\\InprocServer32]\n@=\"" + bibliothek + "\"\n";
    const struct
    {
        const char *name;
        QByteArray inhalt; // of the registry file; null: no file
        const char *grund;
        const char *ausweg = nullptr; // more than registering the library again
    } faelle[] = {
        {"keine Registrierung", QByteArray(), "nicht eingetragen"},
        {"leere Registrierung", "", "nicht eingetragen"},
        {"beschädigte Registrierung", "[HKEY_CLASSES_ROOT\\CLSID\n@=kaputt\n", "ist beschädigt",
         "regsvr legt die beschädigte Datei als %1.beschaedigt beiseite und beginnt eine neue Registrierung"},
        {"Bibliothek nicht ladbar", schluessel.toUtf8(), "kann nicht geladen werden"},
    };
    {
        QFile lib(bibliothek);
        ASSERT_TRUE(lib.open(QIODevice::WriteOnly));
        lib.write("keine Bibliothek\n");
    }
    qputenv("TORVANA_REGISTRY", QFile::encodeName(datei));
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        QFile::remove(datei);
        if (!fall.inhalt.isNull()) {
            QFile f(datei);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(fall.inhalt);
        }
        boxes.clear();
        testing::internal::CaptureStderr();
        forms::form<Main>();
        const std::string stderrText = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(forms::isLoaded<Main>());
        EXPECT_EQ(logins, 0);
        EXPECT_FALSE(gv().dbDaten.IsOpen());
        ASSERT_EQ(boxes.count(), 1u);
        const QString text = boxes.last().text;
        EXPECT_EQ(boxes.last().flags, forms::vbCritical);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        EXPECT_TRUE(text.startsWith(
            "ACHTUNG: Das Steuerelement LzNavrailBar (Navigationsleiste) konnte nicht erstellt werden !"))
            << text.toStdString();
        EXPECT_TRUE(text.contains(fall.grund)) << text.toStdString();
        if (fall.ausweg) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(fall.ausweg).arg(datei))) << text.toStdString();
        }
        EXPECT_TRUE(text.contains("/regsvr ") && text.contains("/libLzNavrail.so")) << text.toStdString();
        EXPECT_TRUE(text.endsWith("Torvana beendet sich jetzt !")) << text.toStdString();
        EXPECT_NE(stderrText.find("LzNavrailBar"), std::string::npos) << stderrText;
        forms::unloadAll();
    }
    qputenv("TORVANA_REGISTRY", registrierung);
}

// Another program holds the database locked: it is in use, not damaged. The start says so once
// and ends; no repair is offered. Once the other program lets go, the start goes on as usual.
TEST_F(Start, ADatabaseInUseByAnotherProgramIsNotOfferedForRepair)
{
    legeDatenbankAn(db(), Passwort);
    bool repariert = false;
    core::einstiege().startschritte.RepariereDatenbank = [&] { repariert = true; };
    dao::Database andere = dao::DBEngine::Workspaces(0).OpenDatabase(db(), true, false, Passwort);
    andere.Execute("CREATE TABLE Sperre (Nr INTEGER)"); // holds the file from now on

    forms::form<Main>();
    EXPECT_FALSE(forms::isLoaded<Main>());
    EXPECT_FALSE(repariert);
    EXPECT_EQ(logins, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.startsWith("ACHTUNG: Die Datenbank wird von einem anderen Programm verwendet !"))
        << boxes.last().text.toStdString();
    EXPECT_EQ(boxes.last().flags, forms::vbCritical);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3045"));
    forms::unloadAll();

    andere.Close();
    boxes.clear();
    forms::form<Main>();
    EXPECT_TRUE(forms::isLoaded<Main>());
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(boxes.count(), 0u);
}
