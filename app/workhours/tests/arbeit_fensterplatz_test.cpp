// The work-hours window and the member list as the user sees them in the main window, at the
// start size and enlarged: every field and text whole, the grids with room for their rows.
#include "mitgllist_fixture.h"
#include "workhours/Arbeit.h"
#include "workhours/MitglList.h"

#include "contacts/Datumsfeld.h"
#include "contacts/Katego.h"
#include "contacts/KontaktUebers.h"
#include "core/Main.h"
#include "core/modMain.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "ole/container.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>

#include <optional>

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
    apptest::ZeigtSichGanz(QStringLiteral("Kontakte"));
}

// A member with long names: the member list's grid takes the window's width, at the start size
// and enlarged, and where the columns have the room every value shows whole without a scroll
// bar below the rows; enlarged they have it.
TEST_F(Fensterplatz, TheMemberListsGridWidensWithItsWindowAndShowsLongNamesWhole)
{
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, Strasse, PLZ, Ort, Tel1, GebDatum) VALUES "
        "(7, 1, 'Müller-Lüdenscheidt', 'Hans-Joachim', 'Straße der Einheit 12', '01900', "
        "'Großröhrsdorf', '035952 12345', 0)");
    sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES "
        "(7, 1, 0, 1, 0, 0, 0)");
    starte();
    MitglList &l = liste();
    suche();
    ASSERT_GE(grid().rowCount(), 6);
    const QTableView &view = *grid().view();
    const int rand = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    std::vector<int> breiten;
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        // The grid reaches the window's right edge but for the layout's margin.
        const int rechts = l.width() - grid().mapTo(&l, QPoint(grid().width(), 0)).x();
        EXPECT_LE(rechts, 12);
        breiten.push_back(grid().width());
        int braucht = 0;
        std::vector<std::string> abgeschnitten;
        for (int c = 0; c < grid().columnCount(); ++c) {
            if (view.isColumnHidden(c))
                continue;
            int spalte = std::max(view.horizontalHeader()->sectionSizeHint(c),
                                  forms::twipsToPixels(grid().top().columnWidth(c)));
            for (int r = 0; r < grid().rowCount(); ++r) {
                const int n = view.fontMetrics().horizontalAdvance(grid().text(r, c)) + 2 * rand;
                spalte = std::max(spalte, n);
                if (view.columnWidth(c) < n)
                    abgeschnitten.push_back(grid().text(r, c).toStdString());
            }
            braucht += spalte;
        }
        if (s == apptest::Hauptfenstergroessen[1]) {
            ASSERT_LE(braucht, view.viewport()->width());
        }
        if (braucht <= view.viewport()->width()) {
            EXPECT_EQ(abgeschnitten, std::vector<std::string>{});
            EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
        }
    }
    EXPECT_GT(breiten[1], breiten[0]);
    ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
    EXPECT_EQ(boxes.last().text, QStringLiteral("ACHTUNG: Wirklich alle Mitglieder aus der Datenbank laden ?"));
}

// Every window of these areas shows its heading first and its tool bar below it, and the
// headings share one style: bold, in one size. The member list, the work hours and the users
// head in the informal upright face that stands for the script face they ask for; the others in
// the window's own.
TEST_F(Fensterplatz, EveryWindowShowsItsHeadingAboveItsToolBarInOneStyle)
{
    starte();
    std::optional<int> groesse;
    const struct
    {
        const char *key;
        bool comic;
    } faelle[] = {{"Kontakte", false},  {"Katego", false}, {"MitglList", true},  {"Arbeit", true},
                  {"Parameter", false}, {"Zugriff", true}, {"Basisdaten", false}};
    for (const auto &[key, comic] : faelle) {
        // The categories and the member list open from the contact overview's tool bar.
        forms::Form *fenster = nullptr;
        if (QString(key) == "Katego" || QString(key) == "MitglList") {
            klickeKnopf(QString(key) == "Katego" ? QStringLiteral("tbKatego") : QStringLiteral("tbMitglList"),
                        modMain::ZeigeFenster(QStringLiteral("Kontakte")));
            fenster = QString(key) == "Katego" ? static_cast<forms::Form *>(&forms::form<Katego>()) : &liste();
        } else {
            fenster = modMain::ZeigeFenster(QString::fromLatin1(key));
        }
        ASSERT_TRUE(fenster) << key;
        for (QSize s : apptest::Hauptfenstergroessen) {
            SCOPED_TRACE(testing::Message() << key << " at " << s.width() << " x " << s.height());
            apptest::setzeHauptfenstergroesse(s);
            ASSERT_TRUE(fenster->isVisible());
            // The heading: the topmost label of the window.
            const QLabel *kopf = nullptr;
            for (const QLabel *l : fenster->findChildren<QLabel *>())
                if (l->isVisible() && (!kopf || l->mapTo(fenster, QPoint()).y() < kopf->mapTo(fenster, QPoint()).y()))
                    kopf = l;
            ASSERT_TRUE(kopf);
            EXPECT_TRUE(kopf->font().bold()) << kopf->text().toStdString();
            if (!groesse)
                groesse = kopf->font().pointSize();
            EXPECT_EQ(kopf->font().pointSize(), *groesse) << kopf->text().toStdString();
            const QFontInfo schrift(kopf->font());
            EXPECT_EQ(schrift.family(), comic ? QStringLiteral("Comic Neue") : QFontInfo(fenster->font()).family());
            EXPECT_FALSE(schrift.italic());
            for (const QToolBar *leiste : fenster->findChildren<QToolBar *>()) {
                if (leiste->isVisible()) {
                    EXPECT_GE(leiste->mapTo(fenster, QPoint()).y(), kopf->mapTo(fenster, QPoint(0, kopf->height())).y())
                        << kopf->text().toStdString();
                }
            }
        }
    }
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
}
