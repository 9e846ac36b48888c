#include "core_fixture.h"

#include "core/Info.h"
#include "core/Main.h"
#include "core/modMain.h"

#include "ole/handles.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace coretest;

namespace {

const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

class Programme : public sysinfo::ProgrammPort
{
public:
    Programme() { vorher_ = sysinfo::setProgrammPort(this); }
    ~Programme() override { sysinfo::setProgrammPort(vorher_); }

    QHash<QString, QString> installiert; // name -> path
    bool startetGut = true;
    QStringList gestartet;

    QString finde(const QString &name) override { return installiert.value(name); }
    bool starte(const QString &pfad) override
    {
        gestartet << pfad;
        return startetGut;
    }

private:
    sysinfo::ProgrammPort *vorher_;
};

class InfoTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        sql("UPDATE System SET Verein = 'ASV Hechtsprung', Strasse = 'Uferweg 3', PLZ = '12345', Ort = 'Seedorf', "
            "Tel = '0123 4567'");
    }

    QStringList adresse()
    {
        Info &info = forms::form<Info>();
        return {info.lblVerein->text(), info.lblStrasse->text(), info.lblPLZ->text(), info.lblOrt->text(),
                info.lblTelefon->text()};
    }
};

const QStringList Adresse = {"ASV Hechtsprung", "Uferweg 3", "12345", "Seedorf", "0123 4567"};

} // namespace

TEST_F(InfoTest, TheBoxCarriesTitleButtonsAndTheClubAddress)
{
    attrappe("Fangbuch");
    meldeAn();
    Info &info = forms::form<Info>();
    EXPECT_EQ(info.lblTitle->text(), QString("Torvana Version 2.0"));
    EXPECT_EQ(info.cmdSysInfo->text(), QString("&System Info..."));
    EXPECT_FALSE(info.lblDescription->text().isEmpty());
    EXPECT_FALSE(info.lblDisclaimer->text().isEmpty());
    EXPECT_EQ(adresse(), Adresse);
}

TEST_F(InfoTest, OKPutsBackTheWindowShownBeforeAndKeepsTheAddress)
{
    const struct Fall
    {
        const char *was;
        dao::Sql rechte;
        const char *vorher; // the window shown when the box is opened
    } faelle[] = {
        {"another area chosen", "UPDATE Gruppen SET Fangbuch = 1", "Parameter"},
        {"a user without the catch log", "UPDATE Gruppen SET Fangbuch = 0", "Fangauswertung"},
    };
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.was);
        sql(fall.rechte);
        Attrappe &fangbuch = attrappe("Fangbuch");
        Attrappe &auswertung = attrappe("Fangauswertung");
        Attrappe &parameter = attrappe("Parameter");
        meldeAn();
        Main &main = forms::form<Main>();
        if (QString(fall.vorher) == "Parameter")
            modMain::ZeigeFenster("Parameter");
        Attrappe &vorher = QString(fall.vorher) == "Parameter" ? parameter : auswertung;
        if (navrailVorhanden()) {
            ASSERT_EQ(aktKey(), QString(fall.vorher));
            ASSERT_TRUE(vorher.isVisible());
        }

        main.mnuInfo->trigger();
        Info &info = forms::form<Info>();
        EXPECT_EQ(info.isVisible(), navrailVorhanden());
        if (navrailVorhanden()) {
            EXPECT_FALSE(vorher.isVisible());
            QTest::mouseClick(info.cmdOK, Qt::LeftButton);
            EXPECT_TRUE(vorher.isVisible());
            EXPECT_FALSE(fangbuch.isVisible());
            EXPECT_FALSE(info.isVisible());
            EXPECT_EQ(aktKey(), QString(fall.vorher));
            LONG handle = 0;
            gv().objAktItem->get_WindowObject1(&handle);
            EXPECT_EQ(ole::widgetFromHandle(ole::Handle(handle)), &vorher);
        } else {
            info.cmdOK_Click();
        }
        // The print-outs read the club address from the box after it was closed.
        EXPECT_TRUE(forms::isLoaded<Info>());
        EXPECT_EQ(adresse(), Adresse);
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        TearDown();
        SetUp();
    }
}

TEST_F(InfoTest, AUserWithoutAnyRightSeesTheBoxAndOKLeavesTheEmptyWorkArea)
{
    ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
    sql("UPDATE Gruppen SET Fangbuch = 0, Fangauswertung = 0, KontUebers = 0, KontListe = 0, Kontakt = 0, "
        "Arbeit = 0, Besatz = 0, Basis = 0, Benutzerverwaltung = 0, System = 0");
    Attrappe &fangbuch = attrappe("Fangbuch");
    meldeAn();
    Main &main = forms::form<Main>();
    main.resize(900, 700);
    main.show();
    ASSERT_FALSE(gv().objAktItem); // no item hosts a window
    main.mnuInfo->trigger();
    Info &info = forms::form<Info>();
    EXPECT_TRUE(info.isVisible());
    EXPECT_EQ(adresse(), Adresse);
    QTest::mouseClick(info.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(info.isVisible());
    EXPECT_FALSE(fangbuch.isVisible());
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(forms::isLoaded<Info>());
    // Opened a second time, it shows again.
    main.mnuInfo->trigger();
    EXPECT_TRUE(info.isVisible());
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

TEST_F(InfoTest, SystemInfoStartsAnInstalledProgramOrSaysItIsUnavailable)
{
    const struct Fall
    {
        const char *was;
        QHash<QString, QString> installiert;
        bool startetGut;
        QStringList gestartet;
        bool meldung;
    } faelle[] = {
        {"none installed", {}, true, {}, true},
        {"one installed", {{"hardinfo", "/usr/bin/hardinfo"}}, true, {"/usr/bin/hardinfo"}, false},
        {"the first found wins",
         {{"hardinfo", "/usr/bin/hardinfo"}, {"kinfocenter", "/opt/kde/kinfocenter"}},
         true,
         {"/opt/kde/kinfocenter"},
         false},
        {"found but does not start", {{"hardinfo2", "/usr/bin/hardinfo2"}}, false, {"/usr/bin/hardinfo2"}, true},
    };
    Info &info = forms::form<Info>();
    info.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.was);
        boxes.clear();
        Programme programme;
        programme.installiert = fall.installiert;
        programme.startetGut = fall.startetGut;
        QTest::mouseClick(info.cmdSysInfo, Qt::LeftButton);
        EXPECT_EQ(programme.gestartet, fall.gestartet);
        if (fall.meldung) {
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().text, Unavailable);
            EXPECT_EQ(boxes.last().flags, forms::vbOKOnly);
        } else {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        }
    }
}
