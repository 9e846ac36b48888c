#include "core_fixture.h"

#include "core/Benutzer.h"
#include "core/Main.h"
#include "core/System.h"
#include "core/modMain.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "com/bstr.h"
#include "com/connpt.h"
#include "com/variant.h"
#include "forms/statusbar.h"
#include "ole/font.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

using namespace coretest;

namespace {

class Navigation : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
    }

    // The bar raises its item-click event for the item of key, as a click on it does.
    void klicke(const QString &key)
    {
        com::ComPtr<ILzNavrailItem> item = modMain::ItemFromKey(key);
        ASSERT_TRUE(item) << key.toStdString();
        com::Variant args[2] = {com::Variant::dispatch(item.get()),
                                com::Variant::dispatch(gv().objGrpOrganisation.get())};
        DISPPARAMS params{args, nullptr, 2, 0};
        com::EventArgs ea(&params);
        emit forms::form<Main>().ButtnBar->controlEvent(DISPID_NBE_ItemClick, &ea);
    }
};

QString text(ILzNavrailItem *item)
{
    com::Bstr t;
    item->get_Text(t.put());
    return t.toString();
}

} // namespace

TEST_F(Navigation, TheBarHoldsTheTwoGroupsWithTheirItemsAndOpensOrganisation)
{
    starte();
    const auto &g = gv();
    ASSERT_TRUE(g.objGrpSystem && g.objGrpOrganisation);
    com::Bstr s, o;
    g.objGrpSystem->get_Text(s.put());
    g.objGrpOrganisation->get_Text(o.put());
    EXPECT_EQ(s.toString(), QString("System"));
    EXPECT_EQ(o.toString(), QString("Organisation"));

    const struct
    {
        const char *key;
        const char *caption;
        LONG image;
    } items[] = {
        {"Zugriff", "Benutzer &&\r\nZugriffsverw.", 0},
        {"Parameter", "Systempar.", 1},
        {"Basisdaten", "Basisdaten", 2},
        {"Fangbuch", "Fangbuch", 3},
        {"Fangauswertung", "Fangauswertung", 4},
        {"Kontakte", "Kontakte u.\r\nMitgl.", 5},
        {"Arbeit", "Arb.-Std.-\r\nControlling", 6},
        {"Besatzung", "Besatz.-Liste", 7},
    };
    QStringList keys = itemKeys(g.objItemsSystem.get()) + itemKeys(g.objItemsOrganisation.get());
    ASSERT_EQ(keys.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(keys[i], QString(items[i].key));
        auto item = modMain::ItemFromKey(items[i].key);
        ASSERT_TRUE(item);
        EXPECT_EQ(text(item.get()), QString(items[i].caption));
        LONG image = -1;
        item->get_Image(&image);
        EXPECT_EQ(image, items[i].image);
    }
    LONG aktuell = -1;
    forms::form<Main>().Bar()->get_CurrentGroupIndex(&aktuell);
    EXPECT_EQ(aktuell, 1);
}

TEST_F(Navigation, AClickHidesTheWindowShownBeforeAndShowsTheItemsWindow)
{
    const QStringList keys = {"Zugriff", "Parameter", "Basisdaten", "Fangbuch",  "Fangauswertung", "Kontakte",
                              "Arbeit",  "Besatzung", "Hinter",     "MitglList", "Katego"};
    QHash<QString, Attrappe *> fenster;
    for (const QString &k : keys)
        fenster[k] = &attrappe(k);
    int mitglAuswahl = 0;
    core::einstiege().bereiche.LeereMitglAuswahl = [&] { ++mitglAuswahl; };
    meldeAn();
    EXPECT_TRUE(fenster["Fangbuch"]->isVisible());

    fenster["Katego"]->show();
    gv().intSuchAufruf = 1;
    for (const char *key : {"Parameter", "Kontakte", "Arbeit", "Besatzung", "Zugriff"}) {
        SCOPED_TRACE(key);
        mitglAuswahl = 0;
        klicke(key);
        EXPECT_EQ(aktKey(), QString(key));
        for (const QString &k : keys)
            EXPECT_EQ(fenster[k]->isVisible(), k == key) << k.toStdString();
        EXPECT_EQ(mitglAuswahl, 1);
        LONG handle = 0;
        gv().objAktItem->get_WindowObject1(&handle);
        EXPECT_NE(handle, 0);
        if (QString(key) == "Kontakte") {
            EXPECT_EQ(gv().intSuchAufruf, 0);
        } else if (QString(key) == "Arbeit") {
            EXPECT_EQ(gv().intSuchAufruf, 1);
        }
    }
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

TEST_F(Navigation, AKeyWithoutWindowOrAnEmptyClickDoesNothing)
{
    attrappe("Fangbuch");
    meldeAn();
    klicke("Basisdaten"); // no window registered for it
    forms::form<Main>().ButtnBar_ItemClick(nullptr, nullptr);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(Navigation, TheBarAndTheShownWindowFollowTheMainWindowInBothDirections)
{
    Attrappe &fangbuch = attrappe("Fangbuch");
    meldeAn();
    Main &main = forms::form<Main>();
    ASSERT_TRUE(main.isVisible());
    QApplication::processEvents();
    ASSERT_TRUE(fangbuch.isVisible());

    const struct
    {
        int width, height;
    } groessen[] = {{796, 575}, {1200, 900}, {1280, 1000}, {796, 575}};
    for (const auto &g : groessen) {
        SCOPED_TRACE(testing::Message() << g.width << " x " << g.height);
        main.resize(g.width, g.height);
        QApplication::processEvents();
        ASSERT_EQ(main.size(), QSize(g.width, g.height));
        // The bar fills the room between the menu bar and the status bar.
        const QRect bar(main.ButtnBar->mapTo(&main, QPoint(0, 0)), main.ButtnBar->size());
        EXPECT_EQ(bar.top(), main.menuBar()->geometry().bottom() + 1);
        EXPECT_EQ(bar.bottom() + 1, main.StatusBar1->geometry().top());
        EXPECT_EQ(bar.width(), g.width);
        // The results pane and the window in it reach down to the bar's bottom edge (inside the
        // control's 1-pixel border and the view's 1-pixel edge).
        QWidget *pane = main.ButtnBar->controlWidget()->findChild<QWidget *>(QStringLiteral("lzResultsPane"));
        ASSERT_TRUE(pane);
        EXPECT_EQ(pane->height(), bar.height() - 2);
        const QRect fenster(fangbuch.mapTo(&main, QPoint(0, 0)), fangbuch.size());
        EXPECT_EQ(fenster.bottom(), bar.bottom() - 2);
        EXPECT_EQ(fenster.right(), bar.right() - 2);
    }
}

TEST_F(Navigation, TheSystemGroupsWindowsShowWholeAndTheParametersGridShowsItsThreeRows)
{
    meldeAn();
    ASSERT_TRUE(forms::form<Main>().isVisible());
    apptest::ZeigtSichGanz(QStringLiteral("Zugriff"), [] {
        // The users' list shows every value whole, its group's name too.
        const forms::ListGrid &grid = *forms::form<Benutzer>().tblBenutzer;
        const QTableView &view = *grid.view();
        const int rand = 2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
        ASSERT_GE(grid.rowCount(), 1);
        for (int r = 0; r < grid.rowCount(); ++r)
            for (int c = 0; c < grid.columnCount(); ++c)
                EXPECT_GE(view.columnWidth(c), view.fontMetrics().horizontalAdvance(grid.text(r, c)) + rand)
                    << grid.text(r, c).toStdString();
    });
    apptest::ZeigtSichGanz(QStringLiteral("Basisdaten"));
    apptest::ZeigtSichGanz(QStringLiteral("Parameter"), [] {
        const forms::ListGrid &grid = *forms::form<System>().tblSystem;
        ASSERT_EQ(grid.rowCount(), 3);
        EXPECT_GE(grid.visibleRows(), 3);
    });
}

// At the main window's start size every item's caption shows whole in the bar's open pane, in
// the font the bar draws it with; a caption of two lines by each of its lines.
TEST_F(Navigation, EveryItemCaptionShowsWholeInTheBarAtTheStartSize)
{
    meldeAn();
    Main &main = forms::form<Main>();
    ASSERT_TRUE(main.isVisible());
    com::ComPtr<IFontDisp> schrift;
    ASSERT_TRUE(SUCCEEDED(main.Bar()->get_Font(schrift.put())));
    const QFontMetrics fm(ole::toQFont(schrift.get()));
    for (const LONG gruppe : {0, 1}) {
        SCOPED_TRACE(gruppe == 0 ? "System" : "Organisation");
        main.Bar()->put_CurrentGroupIndex(gruppe);
        apptest::setzeHauptfenstergroesse(apptest::Hauptfenstergroessen[0]);
        const QWidget *offen = nullptr;
        for (const QWidget *w : main.ButtnBar->findChildren<QWidget *>())
            if (QLatin1String(w->metaObject()->className()) == QLatin1String("navrail::GroupPaneWidget") &&
                w->isVisible())
                offen = w;
        ASSERT_TRUE(offen);
        for (const navigation::Eintrag *e : navigation::Eintraege) {
            if (int(e->gruppe) != gruppe)
                continue;
            const QString caption = QString::fromUtf8(e->caption).replace(QLatin1String("&&"), QLatin1String("&"));
            for (const QString &zeile : caption.split(QLatin1String("\r\n")))
                EXPECT_LE(fm.horizontalAdvance(zeile), offen->width()) << zeile.toStdString();
        }
    }
}
