// The work-hours window and the member list as the user sees them in the main window, at the
// start size and enlarged: every field and text whole, the grids with room for their rows.
#include "mitgllist_fixture.h"
#include "workhours/Arbeit.h"
#include "workhours/MitglList.h"

#include "contacts/Datumsfeld.h"
#include "core/Main.h"
#include "core/modMain.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "ole/container.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>

using namespace mitgltest;

// The windows of the work-hours area in the main window, at its start size and enlarged.
class Fensterplatz : public MitglListTest
{};

TEST_F(Fensterplatz, WorkHoursShowFiveEntryRowsTheSumsAndTheWholeDate)
{
    starte();
    suche();
    const int albers = grid().top().find(0, "1");
    kontextmenue(zellpunkt(albers, 1));
    Main &main = forms::form<Main>();
    main.mnuKontMenu_Mitgl->hide();
    main.mnuArbContr->trigger();
    Arbeit &arbeit = workhours::ArbeitFenster();
    ASSERT_TRUE(arbeit.isVisible()) << texte(boxes);
    arbeit.lzDate->setText(QStringLiteral("15.03.2026"));

    int zeilenVorher = 0;
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        EXPECT_EQ(apptest::verdecktAufJederSeite(arbeit), std::vector<std::string>{});
        // Five rows at the start size, more when the window grows.
        EXPECT_GE(arbeit.tblArbStd->visibleRows(), 5);
        EXPECT_GT(arbeit.tblArbStd->visibleRows(), zeilenVorher);
        zeilenVorher = arbeit.tblArbStd->visibleRows();
        // The sums whole, with their captions.
        EXPECT_EQ(arbeit.lblGesStd->text(), QString("22,50"));
        for (QLabel *l :
             {arbeit.lblGStd, arbeit.lblGesStd, arbeit.Label6, arbeit.lblPflStd, arbeit.Label9, arbeit.lblErgStd}) {
            SCOPED_TRACE(l->objectName().toStdString());
            EXPECT_GE(l->height(), QFontMetrics(l->font()).height());
            EXPECT_GE(l->width(), QFontMetrics(l->font()).horizontalAdvance(l->text()));
        }
        // The date control has the room its display style needs for the whole date.
        ole::ControlContainer *datum = arbeit.lzDate->steuerelement();
        ASSERT_TRUE(datum && datum->controlWidget());
        EXPECT_GE(datum->controlWidget()->width(), datum->controlWidget()->sizeHint().width());
        EXPECT_GE(datum->controlWidget()->height(), datum->controlWidget()->sizeHint().height());
    }
}

TEST_F(Fensterplatz, TheMemberListsOperatorBoxesAreAsWideAsTheirEntries)
{
    starte();
    MitglList &l = liste();
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        EXPECT_EQ(apptest::verdecktAufJederSeite(l), std::vector<std::string>{});
        for (QComboBox *box : {l.cboOptGeb01, l.cboOptGeb02, l.cboOptTritt01, l.cboOptTritt02}) {
            SCOPED_TRACE(box->objectName().toStdString());
            // The two boxes of a filter alike, each as wide as it asks to be for its entries.
            EXPECT_EQ(box->width(), l.cboOptGeb02->width());
            EXPECT_GE(box->width(), box->sizeHint().width());
            const QFontMetrics fm(box->view()->font());
            for (int i = 0; i < box->count(); ++i)
                EXPECT_LT(fm.horizontalAdvance(box->itemText(i)), box->width() - 20) << box->itemText(i).toStdString();
        }
    }
}

TEST_F(Fensterplatz, TheContactOverviewShowsWholeAtBothSizes)
{
    starte();
    forms::Form *fenster = modMain::ZeigeFenster(QStringLiteral("Kontakte"));
    ASSERT_TRUE(fenster);
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        ASSERT_TRUE(fenster->isVisible());
        EXPECT_EQ(apptest::verdecktAufJederSeite(*fenster), std::vector<std::string>{});
    }
}
