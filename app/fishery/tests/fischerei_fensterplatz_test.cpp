// The catch log, the catch evaluation and the stocking plan as the user sees them in the main
// window, at the start size and enlarged: every field and text whole, lists of one kind alike.
#include "fishery/Besatzung.h"
#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"

#include "core/Main.h"
#include "core/modMain.h"
#include "core/testing/program_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "testsupport/today.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

apptest::Steuerelemente *g_bibliothek = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});

// The main window with the navigation bar and the three fishery windows.
class FischereiFenster : public apptest::MainTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_bibliothek->registriert()) << "navigation bar library not registered";
        MainTest::SetUp();
    }

    static void registriereFischerei()
    {
        modMain::RegistriereKern();
        fishery::RegistriereFangbuch();
        fishery::RegistriereFangauswertung();
        fishery::RegistriereBesatzung();
    }
};

class Fensterplatz : public FischereiFenster
{
protected:
    void SetUp() override
    {
        FischereiFenster::SetUp();
        if (HasFatalFailure())
            return;
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Regenbogenforelle')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Altarm am Mühlenbach')");
        registriereFischerei();
    }
};

// Long names of fish and waters in all three lists: catches and stockings of this month and
// year (the catch year of the system).
class FensterMitLangenNamen : public FischereiFenster
{
protected:
    void SetUp() override
    {
        FischereiFenster::SetUp();
        if (HasFatalFailure())
            return;
        const QDate heute = testsupport::Heute;
        sql("UPDATE System SET FJahr = ?", {heute.year()});
        sql("INSERT INTO Fisch (FName) VALUES ('Regenbogenforelle'), ('Hecht')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Mühlenteich Großröhrsdorf'), ('Flußarm Süd')");
        sql("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) VALUES "
            "(?1, ?2, 1, 1, '', 2, 3000), (?1, ?2, 2, 2, '', 12, 123456), (?1, ?2, 1, 2, '', 1, 900)",
            {heute.year(), heute.month()});
        sql("INSERT INTO Besatzung (BJahr, FNr, GNr, Zeit, Menge) VALUES (?1, 1, 1, 'Frühjahr und Herbst', 12.5), "
            "(?1, 2, 2, 'Herbst', 1250.75)",
            {heute.year()});
        registriereFischerei();
        meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
                QStringLiteral("Fangbuch"));
        // Without the contact area the start-up reports its category list missing.
        boxes.clear();
    }

    // The rows of grid that show highlighted: marked ones and the view's selection.
    static std::vector<int> hervorgehoben(const forms::ListGrid &grid)
    {
        std::vector<int> zeilen;
        QApplication::processEvents();
        for (int r = 0; r < grid.rowCount(); ++r)
            if (grid.top().isRowSelected(r) || grid.view()->selectionModel()->isRowSelected(r, QModelIndex()))
                zeilen.push_back(r);
        return zeilen;
    }

    // The width a cell of the view needs to show text whole: the text and the item margins.
    static int braucht(const QTableView &view, const QString &text)
    {
        const int rand = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
        return view.fontMetrics().horizontalAdvance(text) + 2 * rand;
    }
    // The width every column of the grid needs for its given width, its caption and its values,
    // added up; each
    // column that does not show a value whole is reported ("Gewässer: 'Flußarm Süd' 80 < 96").
    static int pruefeSpalten(const forms::ListGrid &grid, std::vector<std::string> *abgeschnitten)
    {
        const QTableView &view = *grid.view();
        const QHeaderView &kopf = *view.horizontalHeader();
        int summe = 0;
        for (int c = 0; c < grid.columnCount(); ++c) {
            if (view.isColumnHidden(c))
                continue;
            int spalte = std::max(kopf.sectionSizeHint(c), forms::twipsToPixels(grid.top().columnWidth(c)));
            for (int r = 0; r < grid.rowCount(); ++r) {
                const int n = braucht(view, grid.text(r, c));
                spalte = std::max(spalte, n);
                if (kopf.sectionSize(c) < n)
                    abgeschnitten->push_back(QStringLiteral("%1: '%2' %3 < %4")
                                                 .arg(grid.top().columnCaption(c), grid.text(r, c))
                                                 .arg(kopf.sectionSize(c))
                                                 .arg(n)
                                                 .toStdString());
            }
            summe += spalte;
        }
        return summe;
    }
};

// The gap between the end of a label's text and the field it names (or from a field to the
// unit after it), in the window's coordinates.
int luecke(const QWidget &fenster, const QWidget &links, const QWidget &rechts)
{
    int ende = links.mapTo(&fenster, QPoint(links.width(), 0)).x();
    if (auto *l = qobject_cast<const QLabel *>(&links)) {
        const QSize text(l->fontMetrics().horizontalAdvance(l->text()), l->fontMetrics().height());
        const QRect r = QStyle::alignedRect(l->layoutDirection(), l->alignment(), text, l->contentsRect());
        ende = l->mapTo(&fenster, QPoint(r.right() + 1, 0)).x();
    }
    int anfang = rechts.mapTo(&fenster, QPoint(0, 0)).x();
    if (auto *l = qobject_cast<const QLabel *>(&rechts)) {
        const QSize text(l->fontMetrics().horizontalAdvance(l->text()), l->fontMetrics().height());
        const QRect r = QStyle::alignedRect(l->layoutDirection(), l->alignment(), text, l->contentsRect());
        anfang = l->mapTo(&fenster, r.topLeft()).x();
    }
    return anfang - ende;
}

} // namespace

// At both sizes a column is at least as wide as its given width and its caption; where the
// grid has the room, every value shows whole, no scroll bar runs below the rows and the columns
// span the grid. Enlarged, the long names fit.
TEST_F(FensterMitLangenNamen, TheListsShowEveryValueWholeWhereTheyHaveTheRoom)
{
    ASSERT_FALSE(HasFatalFailure());
    auto &auswertung = static_cast<Fangauswertung &>(fishery::FangauswertungFenster());
    auto &besatz = static_cast<Besatzung &>(fishery::BesatzungFenster());
    auto &fangbuch = static_cast<Fangbuch &>(fishery::FangbuchFenster());
    ASSERT_EQ(fangbuch.tblFList->rowCount(), 3);
    modMain::ZeigeFenster(QStringLiteral("Fangauswertung"));
    boxes.answer(forms::vbYes); // load all catches
    auswertung.Toolbar1_ButtonClick(QStringLiteral("tbSuch"));
    ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
    ASSERT_EQ(auswertung.tblFAusw->rowCount(), 3);
    boxes.clear();

    const struct
    {
        const char *key;
        forms::ListGrid *grid;
        int zeilen;
    } listen[] = {{"Fangbuch", fangbuch.tblFList, 3},
                  {"Fangauswertung", auswertung.tblFAusw, 3},
                  {"Besatzung", besatz.tblBList, 2}};
    for (const auto &liste : listen) {
        ASSERT_TRUE(modMain::ZeigeFenster(QString::fromLatin1(liste.key))) << liste.key;
        ASSERT_EQ(liste.grid->rowCount(), liste.zeilen) << liste.key;
        for (QSize s : apptest::Hauptfenstergroessen) {
            SCOPED_TRACE(testing::Message() << liste.key << " at " << s.width() << " x " << s.height());
            apptest::setzeHauptfenstergroesse(s);
            const QTableView &view = *liste.grid->view();
            for (int c = 0; c < liste.grid->columnCount(); ++c)
                EXPECT_GE(view.columnWidth(c), forms::twipsToPixels(liste.grid->top().columnWidth(c))) << c;
            std::vector<std::string> abgeschnitten;
            const int braucht = pruefeSpalten(*liste.grid, &abgeschnitten);
            if (s == apptest::Hauptfenstergroessen[1]) {
                ASSERT_LE(braucht, view.viewport()->width()) << "the enlarged window has room for every value";
            }
            if (braucht <= view.viewport()->width()) {
                EXPECT_EQ(abgeschnitten, std::vector<std::string>{});
                EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
                // The room left over is shared out: the columns span the grid.
                int breit = 0;
                for (int c = 0; c < liste.grid->columnCount(); ++c)
                    breit += view.isColumnHidden(c) ? 0 : view.columnWidth(c);
                EXPECT_EQ(breit, view.viewport()->width());
            }
        }
    }
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
}

// A column the user dragged wider keeps that width when the window changes its size, and the
// other columns still show their values whole.
TEST_F(FensterMitLangenNamen, AColumnTheUserWidenedKeepsItsWidth)
{
    ASSERT_FALSE(HasFatalFailure());
    auto &fangbuch = static_cast<Fangbuch &>(fishery::FangbuchFenster());
    apptest::setzeHauptfenstergroesse(apptest::Hauptfenstergroessen[1]);
    QTableView &view = *fangbuch.tblFList->view();
    QHeaderView &kopf = *view.horizontalHeader();
    // The user drags the right edge of "Fischart" 60 pixels to the right.
    const int breit = kopf.sectionSize(1) + 60;
    const QPoint kante(kopf.sectionViewportPosition(1) + kopf.sectionSize(1) - 1, kopf.height() / 2);
    QTest::mousePress(kopf.viewport(), Qt::LeftButton, {}, kante);
    QTest::mouseMove(kopf.viewport(), kante + QPoint(30, 0));
    QTest::mouseMove(kopf.viewport(), kante + QPoint(60, 0));
    QTest::mouseRelease(kopf.viewport(), Qt::LeftButton, {}, kante + QPoint(60, 0));
    QApplication::processEvents();
    ASSERT_EQ(kopf.sectionSize(1), breit);
    for (QSize s : {apptest::Hauptfenstergroessen[0], apptest::Hauptfenstergroessen[1]}) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        EXPECT_EQ(kopf.sectionSize(1), breit);
        // A new look (as the program sets it when the grid is shown) keeps it too.
        fangbuch.tblFList->top().setColumnCaption(1, QStringLiteral("Fischart"));
        EXPECT_EQ(kopf.sectionSize(1), breit);
    }
    std::vector<std::string> abgeschnitten;
    ASSERT_LE(pruefeSpalten(*fangbuch.tblFList, &abgeschnitten) + 60, view.viewport()->width());
    EXPECT_EQ(abgeschnitten, std::vector<std::string>{});
}

// In the catch log every label stands beside the field it names, the unit beside its field,
// at the start size and enlarged.
TEST_F(FensterMitLangenNamen, TheCatchLogsLabelsStandBesideTheirFields)
{
    ASSERT_FALSE(HasFatalFailure());
    auto &f = static_cast<Fangbuch &>(fishery::FangbuchFenster());
    const std::pair<QWidget *, QWidget *> paare[] = {
        {f.lblFNrBez, f.lblFNr},      {f.lblFJahrBez, f.cboFJahr}, {f.lblFArt, f.cboFArt},
        {f.lblGewaesser, f.cboGName}, {f.lblFMonat, f.txtMonNr},   {f.lblAnzGew, f.txtAnzahl},
        {f.txtGewicht, f.lblEinheit}, {f.lblNotiz, f.txtNotiz},
    };
    for (QSize s : apptest::Hauptfenstergroessen) {
        apptest::setzeHauptfenstergroesse(s);
        for (const auto &[links, rechts] : paare) {
            SCOPED_TRACE(testing::Message()
                         << s.width() << " x " << s.height() << ": " << links->objectName().toStdString() << " | "
                         << rechts->objectName().toStdString());
            // On one line, and no more apart than the layout's spacing and a label's margin.
            EXPECT_LT(
                std::abs(links->mapTo(&f, links->rect().center()).y() - rechts->mapTo(&f, rechts->rect().center()).y()),
                rechts->height() / 2);
            const int abstand = luecke(f, *links, *rechts);
            EXPECT_GE(abstand, 0);
            EXPECT_LE(abstand, 16);
        }
    }
}

TEST_F(Fensterplatz, EachFisheryWindowShowsItsFieldsWholeAtBothSizes)
{
    meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
            QStringLiteral("Fangbuch"));
    ASSERT_FALSE(HasFatalFailure());
    for (const char *key : {"Fangbuch", "Fangauswertung", "Besatzung"})
        apptest::ZeigtSichGanz(QString::fromLatin1(key));
}

TEST_F(Fensterplatz, TheCatchLogsSpeciesAndWatersListsGetTheSameRoom)
{
    meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
            QStringLiteral("Fangbuch"));
    ASSERT_FALSE(HasFatalFailure());
    auto &f = static_cast<Fangbuch &>(fishery::FangbuchFenster());
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        EXPECT_EQ(f.cboGName->width(), f.cboFArt->width());
        EXPECT_GE(f.cboGName->width(), f.cboGName->sizeHint().width());
    }
}

TEST_F(Fensterplatz, TheEvaluationsOperatorBoxesAreAsWideAsTheirEntries)
{
    meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
            QStringLiteral("Fangauswertung"));
    ASSERT_FALSE(HasFatalFailure());
    auto &a = static_cast<Fangauswertung &>(fishery::FangauswertungFenster());
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        for (QComboBox *box : {a.cboOptAnz01, a.cboOptAnz02, a.cboOptGew01, a.cboOptGew02}) {
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_EQ(box->width(), a.cboOptAnz01->width());
            EXPECT_GE(box->width(), box->sizeHint().width());
            const QFontMetrics fm(box->font());
            for (int i = 0; i < box->count(); ++i)
                EXPECT_LT(fm.horizontalAdvance(box->itemText(i)), box->width() - 20) << box->itemText(i).toStdString();
        }
    }
}

// Three catches saved into the shown month: only the last one stands out, as the current row;
// going to another row leaves that one alone highlighted.
TEST_F(FensterMitLangenNamen, AfterSeveralSavesOnlyTheCurrentRowIsHighlighted)
{
    ASSERT_FALSE(HasFatalFailure());
    auto &f = static_cast<Fangbuch &>(fishery::FangbuchFenster());
    forms::ListGrid &grid = *f.tblFList;
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        for (int i = 0; i < 3; ++i) {
            f.cboFArt->setCurrentText(QStringLiteral("Hecht"));
            f.cboGName->setCurrentText(QStringLiteral("Flußarm Süd"));
            f.txtMonNr->setText(QStringLiteral("%1").arg(testsupport::Heute.month(), 2, 10, QLatin1Char('0')));
            f.txtAnzahl->setText(QStringLiteral("1"));
            f.txtGewicht->setText(QStringLiteral("500"));
            f.Toolbar1_ButtonClick(QStringLiteral("tbSpeichern"));
            const int letzte = grid.rowCount() - 1;
            EXPECT_EQ(hervorgehoben(grid), std::vector<int>{letzte}) << "after save " << i + 1;
        }
        QTableView *view = grid.view();
        klicke(view->viewport(), view->visualRect(view->model()->index(0, 1)).center());
        EXPECT_EQ(hervorgehoben(grid), std::vector<int>{0});
    }
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
}

// The stocking plan marks its saved rows as the catch log does: after three saves only the last
// entry stands out, as the current row; choosing another row leaves that one alone highlighted.
TEST_F(FensterMitLangenNamen, AfterSeveralSavesOnlyTheStockingPlansCurrentRowIsHighlighted)
{
    ASSERT_FALSE(HasFatalFailure());
    auto &w = static_cast<Besatzung &>(fishery::BesatzungFenster());
    ASSERT_TRUE(modMain::ZeigeFenster(QStringLiteral("Besatzung")));
    forms::ListGrid &grid = *w.tblBList;
    ASSERT_EQ(grid.rowCount(), 2);
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        for (int i = 0; i < 3; ++i) {
            w.cboFArt->setCurrentText(QStringLiteral("Hecht"));
            w.cboGName->setCurrentText(QStringLiteral("Flußarm Süd"));
            w.txtZeit->setText(QStringLiteral("Herbst"));
            w.txtMenge->setText(QStringLiteral("25"));
            w.Toolbar1_ButtonClick(QStringLiteral("tbSpeichern"));
            const int letzte = grid.rowCount() - 1;
            EXPECT_EQ(hervorgehoben(grid), std::vector<int>{letzte}) << "after save " << i + 1;
            EXPECT_EQ(grid.view()->currentIndex().row(), letzte) << "after save " << i + 1;
        }
        QTableView *view = grid.view();
        klicke(view->viewport(), view->visualRect(view->model()->index(0, 1)).center());
        EXPECT_EQ(hervorgehoben(grid), std::vector<int>{0});
    }
    EXPECT_EQ(grid.rowCount(), 8);
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
}
