#include "forms/listgrid.h"
#include "forms/vbconst.h"
#include "gridmodel_p.h"

#include "common/testing/error_number.h"
#include "common/vberror.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <limits>

using namespace forms;

namespace {

void fill(GridList &list, std::initializer_list<const char *> names)
{
    int key = 1;
    for (const char *n : names)
        list.addRow(QVariantList{key++, QString::fromUtf8(n)});
}

using vbtest::errorNumber;

// Shows grid with its first row expanded; the view of that row's nested list child.
QTableView *zeigeAufgeklappt(ListGrid &grid, const GridList &child)
{
    grid.switchToTop();
    grid.show();
    grid.top().setExpanded(0, true);
    QCoreApplication::processEvents();
    return grid.childView(&child);
}

} // namespace

TEST(GridFind, FindsTheFirstEqualCellAfterTheStartRow)
{
    GridList list;
    for (const char *n : {"Hecht", "Zander", "Hecht", "hecht", "Barsch"})
        list.addRow(QStringList{n});
    const struct
    {
        QString text;
        int start, found;
    } cases[] = {
        {"Hecht", -1, 0},  {"Hecht", 0, 2}, {"Hecht", 2, -1},  {"hecht", -1, 3}, // exact, case-sensitive
        {"Barsch", 4, -1}, {"Aal", -1, -1}, {"Hecht", 10, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(list.column(0).find(c.text, c.start), c.found) << c.text.toStdString() << " from " << c.start;
}

TEST(GridFind, AKeyIsFoundAtItsHintWhileTheHintStillShowsItElseByItsKey)
{
    GridList list;
    list.setColumnCount(2);
    for (int key : {4, 7, 9, 7})
        list.addRow(QVariantList{key, QStringLiteral("x")});
    const struct
    {
        qlonglong key;
        int hint, found;
    } cases[] = {
        {7, 3, 3},              // the hint still shows the key
        {7, 0, 1},              // the row moved: the first row with the key
        {7, -1, 1}, {9, 17, 2}, // no hint, a hint past the end
        {5, 0, -1},             // not shown
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " at " << c.hint);
        EXPECT_EQ(list.findKey(c.key, c.hint), c.found);
    }
    EXPECT_EQ(GridList().findKey(4), -1) << "a list without columns shows no key";
}

TEST(GridRows, AppendRemoveAndClearKeepCountAndOrder)
{
    GridList list;
    list.addRow(QVariantList{1, "Aal", 12.5});
    list.addRow(QStringList{"2", "Brasse"});
    list.insertRow(0, QVariantList{0, "Karpfen"});
    EXPECT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.columnCount(), 3); // grows to the widest row
    EXPECT_EQ(list.text(1, 2), QString("12,5"));
    EXPECT_EQ(list.text(2, 2), QString()); // a short row reads empty

    list.removeRow(0);
    EXPECT_EQ(list.text(0, 1), QString("Aal"));
    EXPECT_EQ(list.text(1, 1), QString("Brasse"));
    list.setText(1, 1, "Schleie");
    EXPECT_EQ(list.value(1, 1).toString(), QString("Schleie"));

    EXPECT_EQ(errorNumber([&] { list.removeRow(2); }), 9);
    EXPECT_EQ(errorNumber([&] { list.text(0, 3); }), 9);
    EXPECT_EQ(errorNumber([&] { list.insertRow(5, {}); }), 9);

    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(GridRows, CellTextIsGerman)
{
    const struct
    {
        QVariant value;
        QString text;
    } cases[] = {
        {12.5, "12,5"},
        {100000.0, "100000"},
        {QVariant(), ""},
        {42, "42"},
        {QDate(1970, 12, 24), "24.12.1970"},
        // A date and time at midnight is the date alone; any other time follows it.
        {QDateTime(QDate(1970, 12, 24), QTime(0, 0)), "24.12.1970"},
        {QDateTime(QDate(1970, 12, 24), QTime(18, 30)), "24.12.1970 18:30:00"},
        {true, "Wahr"},
        // Whole numbers as QString::number writes them, the extremes included; a typed empty
        // value reads empty.
        {qlonglong(0), "0"},
        {-7, "-7"},
        {qlonglong(-1234567890123), "-1234567890123"},
        {std::numeric_limits<qlonglong>::min(), "-9223372036854775808"},
        {std::numeric_limits<qlonglong>::max(), "9223372036854775807"},
        {std::numeric_limits<int>::min(), "-2147483648"},
        {QVariant(QMetaType::fromType<qlonglong>()), ""},
        {QStringLiteral("Hecht"), "Hecht"},
    };
    // The view the file writers use reads the same, its one buffer used for every case.
    GridList::CellText buffer;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(GridList::cellText(c.value), c.text);
        EXPECT_EQ(buffer.of(c.value).toString(), c.text);
    }
}

TEST(GridRows, RangeMarksAndClearsRowsWithinTheList)
{
    GridList list;
    fill(list, {"a", "b", "c"});
    list.rowRange(1, 10, true);
    EXPECT_FALSE(list.isRowSelected(0));
    EXPECT_TRUE(list.isRowSelected(2));
    list.rowRange(0, list.rowCount(), false);
    EXPECT_FALSE(list.isRowSelected(1));
}

TEST(GridModel, AppendedRowsReachTheViewsInOneBatch)
{
    GridList list;
    QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 1000; ++i)
        list.addRow(QVariantList{i, QString::number(i)});
    EXPECT_EQ(list.rowCount(), 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.model()->rowCount(), 1000);
    EXPECT_EQ(inserted.count(), 1);

    // A removal while appends are pending announces them first, so indexes stay in step.
    list.addRow(QVariantList{1000, "neu"});
    list.removeRow(0);
    EXPECT_EQ(list.model()->rowCount(), 1000);
    EXPECT_EQ(list.model()->index(999, 1).data().toString(), QString("neu"));
}

// Rows set at once replace every row (nested lists, marks and expansions included) and reach the
// views in one reset, with appends still pending dropped rather than announced.
TEST(GridModel, RowsSetAtOnceReplaceTheListInOneReset)
{
    const struct
    {
        const char *name;
        int before;   // rows there first
        bool pending; // appended rows not yet announced
        int rows;     // rows set
    } cases[] = {
        {"into an empty list", 0, false, 500},
        {"over shown rows", 20, false, 3},
        {"over rows still pending", 20, true, 7},
        {"nothing over shown rows", 5, false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        GridList list;
        list.setExpanderWidth(350);
        for (int i = 0; i < c.before; ++i)
            list.addRow(QVariantList{-i, "alt"});
        if (c.before > 0) {
            list.ensureChild(0)->addRow(QVariantList{1, "Kind"});
            list.setExpanded(0, true);
            list.setRowSelected(c.before - 1, true);
        }
        if (!c.pending)
            QCoreApplication::processEvents();
        QSignalSpy reset(list.model(), &QAbstractItemModel::modelReset);
        QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);

        std::vector<QVariantList> rows;
        for (int i = 0; i < c.rows; ++i)
            rows.push_back(QVariantList{i, QString("Zeile %1").arg(i), i % 2 ? QVariant(0.5 * i) : QVariant(), true});
        list.setRows(std::move(rows));
        EXPECT_EQ(list.rowCount(), c.rows);
        EXPECT_EQ(list.model()->rowCount(), c.rows) << "the views know the rows at once";
        QCoreApplication::processEvents();
        EXPECT_EQ(reset.count(), 1);
        EXPECT_EQ(inserted.count(), 0) << "no batch of appends after the reset";
        EXPECT_EQ(list.model()->rowCount(), c.rows);
        EXPECT_EQ(list.columnCount(), c.rows > 0 ? 4 : 2) << "grows to the widest row";
        for (int r = 0; r < c.rows; ++r) {
            ASSERT_EQ(list.text(r, 1), QString("Zeile %1").arg(r));
            ASSERT_EQ(list.text(r, 2), r % 2 ? GridList::cellText(0.5 * r) : QString());
            ASSERT_EQ(list.child(r), nullptr);
            ASSERT_FALSE(list.isExpanded(r));
            ASSERT_FALSE(list.isRowSelected(r));
        }
        if (c.rows > 0) {
            EXPECT_EQ(list.model()->index(c.rows - 1, 2).data().toString(), QString("Zeile %1").arg(c.rows - 1))
                << "the expander column stays in front";
        }

        // Appending after a set continues the list.
        list.addRow(QVariantList{99, "dazu"});
        QCoreApplication::processEvents();
        EXPECT_EQ(list.model()->rowCount(), c.rows + 1);
        EXPECT_EQ(list.text(c.rows, 1), QString("dazu"));
    }
}

TEST(GridNested, ExpandedStateStaysWithItsRowWhenRowsAboveGo)
{
    GridList list;
    fill(list, {"Mitglieder (aktiv)", "Vereine", "Behörden"});
    list.setExpanderWidth(350);
    GridList *child = list.ensureChild(2);
    child->addRow(QVariantList{7, "", "Amt"});
    list.setExpanded(2, true);
    auto *m = static_cast<GridModel *>(list.model());
    EXPECT_EQ(m->rowCount(), 4);    // three rows and the nested list's detail row
    EXPECT_EQ(m->columnCount(), 3); // expander + two columns

    list.removeRow(0);
    EXPECT_TRUE(list.isExpanded(1));
    EXPECT_FALSE(list.isExpanded(0));
    EXPECT_EQ(list.child(1), child);
    EXPECT_EQ(m->rowCount(), 3);
    bool detail = false;
    EXPECT_EQ(m->dataRow(2, &detail), 1);
    EXPECT_TRUE(detail);

    list.setExpanded(1, false);
    EXPECT_EQ(m->rowCount(), 2);
    list.dropChild(1);
    EXPECT_EQ(list.child(1), nullptr);
}

// A nested list promised to a row shows the row's expander at once and is made, once, when it is
// first asked for or the row expands; dropped, the expander goes with it.
TEST(GridNested, APromisedListShowsItsExpanderAndIsMadeWhenFirstNeeded)
{
    const struct
    {
        const char *wie;
        std::function<GridList *(GridList &)> brauche;
    } faelle[] = {
        {"asked for", [](GridList &l) { return l.child(1); }},
        {"ensured", [](GridList &l) { return l.ensureChild(1); }},
        {"expanded",
         [](GridList &l) {
             l.setExpanded(1, true);
             return l.child(1);
         }},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.wie);
        GridList list;
        fill(list, {"Mitglieder (aktiv)", "Vereine", "Ohne"});
        list.setExpanderWidth(350);
        int gemacht = 0;
        list.setChildLater(1, [&gemacht](GridList &kind) {
            ++gemacht;
            kind.addRow(QVariantList{7, "", "Amt"});
        });
        list.flush();
        QAbstractItemModel *m = list.model();
        EXPECT_EQ(m->index(1, 0).data().toString(), QString("+"));
        EXPECT_FALSE(m->index(2, 0).data().isValid());
        EXPECT_EQ(gemacht, 0);

        GridList *kind = f.brauche(list);
        ASSERT_NE(kind, nullptr);
        EXPECT_EQ(gemacht, 1);
        EXPECT_EQ(kind->text(0, 2), QString("Amt"));
        EXPECT_EQ(list.child(1), kind);
        EXPECT_EQ(gemacht, 1);
        EXPECT_EQ(list.child(2), nullptr);
    }

    GridList list;
    fill(list, {"Vereine", "Behörden"});
    list.setExpanderWidth(350);
    bool gemacht = false;
    list.setChildLater(0, [&gemacht](GridList &) { gemacht = true; });
    list.flush();
    list.dropChild(0);
    EXPECT_FALSE(list.model()->index(0, 0).data().isValid());
    EXPECT_EQ(list.child(0), nullptr);
    EXPECT_FALSE(gemacht);
    // An expanded row gets its list at once, its detail row with it.
    list.setExpanded(1, true);
    list.setChildLater(1, [](GridList &kind) { kind.addRow(QVariantList{8}); });
    EXPECT_EQ(list.model()->rowCount(), 3);
    ASSERT_NE(list.child(1), nullptr);
    EXPECT_EQ(list.child(1)->rowCount(), 1);
}

TEST(ListGridWidget, ExpanderClickTogglesTheRowAndDoubleClicksReportRowOrNone)
{
    ListGrid grid;
    grid.resize(600, 400);
    grid.top().setExpanderWidth(350);
    for (const char *n : {"Vereine", "Behörden"})
        grid.addRow(QVariantList{1, "+", n});
    GridList &child = grid.switchToChild(0);
    child.addRow(QVariantList{11, "", "Firma A"});
    child.addRow(QVariantList{12, "", "Firma B"});
    grid.switchToTop();

    QSignalSpy look(&grid, &ListGrid::lookRequested);
    QSignalSpy expand(&grid, &ListGrid::expandClicked);
    QSignalSpy dbl(&grid, &ListGrid::doubleClicked);
    grid.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(look.count(), 1);

    QTableView *view = grid.view();
    const QRect expander = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, expander.center());
    ASSERT_EQ(expand.count(), 1);
    EXPECT_EQ(expand.at(0).at(0).toInt(), 0);
    EXPECT_EQ(expand.at(0).at(1).toInt(), ExpanderColumn);
    EXPECT_TRUE(grid.top().isExpanded(0));
    QTableView *nested = grid.childView(&child);
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->model()->rowCount(), 2);

    // A double-click on a contact of the nested list makes that list current.
    QTest::mouseDClick(nested->viewport(), Qt::LeftButton, {},
                       nested->visualRect(nested->model()->index(1, 2)).center());
    ASSERT_EQ(dbl.count(), 1);
    EXPECT_EQ(dbl.at(0).at(0).toInt(), 1);
    EXPECT_EQ(grid.text(1, 0), QString("12"));
    grid.switchToTop();

    // Below the last row: no row hit.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 2));
    ASSERT_EQ(dbl.count(), 2);
    EXPECT_EQ(dbl.at(1).at(0).toInt(), -1);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, expander.center());
    EXPECT_FALSE(grid.top().isExpanded(0));
    EXPECT_EQ(child.rowCount(), 2); // folding away keeps the nested rows

    // Rows with a shown nested list can go, singly or all at once.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, expander.center());
    grid.switchToChild(1).addRow(QVariantList{21, "", "Amt"});
    grid.switchToTop();
    grid.top().setExpanded(1, true);
    QCoreApplication::processEvents();
    grid.removeRow(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.text(0, 2), QString("Behörden"));
    EXPECT_TRUE(grid.top().isExpanded(0));
    EXPECT_EQ(view->model()->rowCount(), 2);
    grid.clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(view->model()->rowCount(), 0);
}

// A nested list folded away keeps its view, hidden, and shows it again when it unfolds (with the
// rows it holds then); the view goes with its list, and with the grid.
TEST(ListGridWidget, AFoldedNestedListKeepsItsViewUntilItsListGoes)
{
    auto geloescht = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };
    ListGrid grid;
    grid.resize(600, 400);
    grid.top().setExpanderWidth(350);
    for (const char *n : {"Vereine", "Behörden"})
        grid.addRow(QVariantList{1, "+", n});
    GridList &child = grid.switchToChild(0);
    child.addRow(QVariantList{11, "", "Firma A"});
    grid.switchToTop();
    grid.show();
    grid.top().setExpanded(0, true);
    QCoreApplication::processEvents();
    const QPointer<QTableView> erster = grid.childView(&child);
    ASSERT_TRUE(erster);
    EXPECT_TRUE(erster->isVisible());

    for (int mal = 1; mal <= 2; ++mal) {
        SCOPED_TRACE(mal);
        grid.top().setExpanded(0, false);
        QCoreApplication::processEvents();
        geloescht();
        EXPECT_EQ(grid.childView(&child), nullptr) << "no view shows a folded list";
        ASSERT_TRUE(erster) << "kept for the next unfold";
        EXPECT_FALSE(erster->isVisible());

        child.addRow(QVariantList{11 + mal, "", "Firma"});
        grid.top().setExpanded(0, true);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid.childView(&child), erster.data());
        EXPECT_TRUE(erster->isVisible());
        EXPECT_EQ(erster->model()->rowCount(), 1 + mal);
        const QModelIndex detail = grid.view()->model()->index(1, 0);
        EXPECT_EQ(grid.view()->indexWidget(detail), erster.data());
    }

    // Shown again as a new view shows it: from the top, without a current row, a column the user
    // made wider as wide as the list sets it.
    for (int z = 0; z < 40; ++z)
        child.addRow(QVariantList{100 + z, "", "Firma"});
    QCoreApplication::processEvents();
    // The columns span the view: once more for the fit after the scroll bar took its room.
    QCoreApplication::processEvents();
    const int breite = erster->columnWidth(2);
    erster->setColumnWidth(2, breite + 50);
    erster->setCurrentIndex(erster->model()->index(30, 2));
    erster->scrollToBottom();
    ASSERT_GT(erster->verticalScrollBar()->value(), 0);
    grid.top().setExpanded(0, false);
    QCoreApplication::processEvents();
    grid.top().setExpanded(0, true);
    QCoreApplication::processEvents();
    ASSERT_EQ(grid.childView(&child), erster.data());
    EXPECT_EQ(erster->columnWidth(2), breite);
    EXPECT_EQ(erster->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(erster->currentIndex().isValid());

    // Folded, then its list dropped: the kept view goes too. Shown, then its row removed: the same.
    grid.top().setExpanded(0, false);
    grid.top().dropChild(0);
    geloescht();
    EXPECT_FALSE(erster);
    GridList &zweite = grid.switchToChild(1);
    zweite.addRow(QVariantList{21, "", "Amt"});
    grid.switchToTop();
    grid.top().setExpanded(1, true);
    QCoreApplication::processEvents();
    const QPointer<QTableView> gezeigt = grid.childView(&zweite);
    ASSERT_TRUE(gezeigt);
    grid.removeRow(1);
    QCoreApplication::processEvents();
    geloescht();
    EXPECT_FALSE(gezeigt);
}

// The detail row holds the nested list's header and rows whole: loaded anew it follows the
// rows, and after a larger font the taller header too.
TEST(ListGridWidget, TheDetailRowHoldsTheNestedHeaderAndRowsAlsoAfterANewFont)
{
    ListGrid grid;
    grid.resize(600, 400);
    grid.top().setExpanderWidth(350);
    grid.addRow(QVariantList{1, "+", "Vereine"});
    GridList &child = grid.switchToChild(0);
    child.setColumnCaption(0, QStringLiteral("Nr"));
    child.addRow(QVariantList{11, "", "Firma A"});
    QTableView *cv = zeigeAufgeklappt(grid, child);
    ASSERT_TRUE(cv);
    auto passt = [&] {
        return cv->horizontalHeader()->sizeHint().height() +
               child.rowCount() * cv->verticalHeader()->defaultSectionSize() + 2 * cv->frameWidth();
    };
    EXPECT_EQ(grid.view()->rowHeight(1), passt());

    child.setRows({QVariantList{11, "", "Firma A"}, QVariantList{12, "", "Firma B"}});
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.view()->rowHeight(1), passt());

    const int kopf = cv->horizontalHeader()->sizeHint().height();
    QFont gross = child.font();
    gross.setPointSize(gross.pointSize() * 3);
    child.setFont(gross);
    child.setRows({QVariantList{11, "", "Firma A"}});
    QCoreApplication::processEvents();
    ASSERT_GT(cv->horizontalHeader()->sizeHint().height(), kopf);
    EXPECT_EQ(grid.view()->rowHeight(1), passt());
}

// In a shown window: a column is at least as wide as its caption (narrow given widths grow, wide
// ones stay, a width of 0 keeps the column out of sight), and a grid asked for a least number of
// rows gets the height for them under its header, in a window squeezed as small as it goes.
TEST(ListGridWidget, ColumnsShowTheirCaptionsAndTheLeastRowsStayVisible)
{
    QWidget fenster;
    auto *layout = new QVBoxLayout(&fenster);
    auto *grid = new forms::ListGrid(&fenster);
    layout->addWidget(grid);
    forms::GridList &top = grid->top();
    top.setColumnCount(3);
    top.setColumnCaption(0, QStringLiteral("Geleist. Arb.-Std. im Jahr"));
    top.setColumnCaption(1, QStringLiteral("Nr"));
    top.setColumnCaption(2, QStringLiteral("Versteckt"));
    top.setColumnWidth(0, 300);
    top.setColumnWidth(1, 3000);
    top.setColumnWidth(2, 0);
    for (int i = 0; i < 20; ++i)
        grid->addRow(QStringList{QString::number(i), QStringLiteral("x"), QStringLiteral("y")});
    grid->setMinimumVisibleRows(5);
    fenster.resize(600, 10);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    QCoreApplication::processEvents();

    QHeaderView *header = grid->view()->horizontalHeader();
    EXPECT_GE(header->sectionSize(0), header->sectionSizeHint(0));
    EXPECT_GT(header->sectionSize(0), forms::twipsToPixels(300));
    EXPECT_GE(header->sectionSize(1), forms::twipsToPixels(3000));
    EXPECT_EQ(header->sectionSize(2), 0);

    EXPECT_GE(fenster.height(), grid->minimumSizeHint().height());
    EXPECT_GE(grid->visibleRows(), 5);
}

// The room of a shown grid beyond the given widths goes to the columns whose values would be
// cut: text columns first, then number columns, as far as it reaches; a width of 0 keeps its
// column out of sight, and a column the user resized keeps that width when the window changes.
TEST(ListGridWidget, TheRoomBeyondTheGivenWidthsGoesToCutTextsFirst)
{
    const QString lang = QStringLiteral("Mühlenteich Großröhrsdorf am Flußarm Süd");
    const struct
    {
        int fensterbreite;
        bool textGanz, zahlGanz;
    } faelle[] = {{260, false, false}, {420, true, false}, {800, true, true}};
    for (const auto &fall : faelle) {
        SCOPED_TRACE(testing::Message() << "window " << fall.fensterbreite);
        QWidget fenster;
        auto *layout = new QVBoxLayout(&fenster);
        auto *grid = new ListGrid(&fenster);
        layout->addWidget(grid);
        GridList &top = grid->top();
        top.setColumnCount(4);
        for (int c = 0; c < 4; ++c)
            top.setColumnCaption(c, QStringLiteral("S%1").arg(c));
        top.setColumnWidth(0, 600);
        top.setColumnWidth(1, 600);
        top.setColumnWidth(2, 0);
        top.setColumnWidth(3, 600);
        const qlonglong zahl = 12345678901234567;
        grid->addRow(QVariantList{zahl, lang, lang, QStringLiteral("x")});
        fenster.resize(fall.fensterbreite, 200);
        fenster.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
        QCoreApplication::processEvents();

        QTableView *view = grid->view();
        const QFontMetrics fm = view->fontMetrics();
        EXPECT_EQ(view->columnWidth(2), 0);
        EXPECT_GE(view->columnWidth(3), twipsToPixels(600));
        EXPECT_EQ(view->columnWidth(1) >= fm.horizontalAdvance(lang), fall.textGanz);
        EXPECT_EQ(view->columnWidth(0) >= fm.horizontalAdvance(QString::number(zahl)), fall.zahlGanz);
        int summe = 0;
        for (int c = 0; c < 4; ++c)
            summe += view->columnWidth(c);
        EXPECT_LE(summe, std::max(view->viewport()->width(), 3 * twipsToPixels(600)));

        // The user makes the text column narrow; it stays so when the window grows.
        view->horizontalHeader()->resizeSection(1, 30);
        fenster.resize(fall.fensterbreite + 300, 200);
        QCoreApplication::processEvents();
        EXPECT_EQ(view->columnWidth(1), 30);
        EXPECT_GE(view->columnWidth(0), fm.horizontalAdvance(QString::number(zahl)));

        // Rows set anew fit again, the user's width kept.
        const QString neu = QStringLiteral("Straße der Einheit 12");
        std::vector<QVariantList> zeilen;
        zeilen.push_back(QVariantList{1, lang, lang, neu});
        top.setRows(std::move(zeilen));
        QCoreApplication::processEvents();
        EXPECT_EQ(view->columnWidth(1), 30);
        EXPECT_GE(view->columnWidth(3), fm.horizontalAdvance(neu));
    }
}

// The room a shown grid has beyond its columns' widths and their values' needs is shared out
// among the text columns, so that the columns span the view; a grid of numbers alone gives it to
// its last column. A hidden column and one the user widened keep their widths.
TEST(ListGridWidget, TheRoomLeftIsSharedOutAmongTheTextColumns)
{
    const struct
    {
        const char *name;
        QVariantList zeile;
        std::vector<int> wachsen; // the columns that take the room
    } faelle[] = {
        {"texts and numbers", {1, QStringLiteral("Hecht"), 7, QStringLiteral("Juli")}, {1, 3}},
        {"numbers alone", {1, 2, 3, 4}, {3}},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        QWidget fenster;
        auto *layout = new QVBoxLayout(&fenster);
        auto *grid = new ListGrid(&fenster);
        layout->addWidget(grid);
        GridList &top = grid->top();
        top.setColumnCount(5);
        for (int c = 0; c < 5; ++c) {
            top.setColumnCaption(c, QStringLiteral("S%1").arg(c));
            top.setColumnWidth(c, c == 4 ? 0 : 1200);
        }
        QVariantList zeile = fall.zeile;
        zeile << QStringLiteral("versteckt");
        grid->addRow(zeile);
        fenster.resize(700, 200);
        fenster.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
        QCoreApplication::processEvents();

        QTableView *view = grid->view();
        auto summe = [view] {
            int s = 0;
            for (int c = 0; c < 5; ++c)
                s += view->isColumnHidden(c) ? 0 : view->columnWidth(c);
            return s;
        };
        const int gegeben = twipsToPixels(1200);
        EXPECT_EQ(summe(), view->viewport()->width());
        for (int c = 0; c < 4; ++c) {
            const bool waechst = std::find(fall.wachsen.begin(), fall.wachsen.end(), c) != fall.wachsen.end();
            EXPECT_EQ(view->columnWidth(c) > gegeben, waechst) << "column " << c;
        }
        if (fall.wachsen.size() == 2) {
            EXPECT_LE(std::abs(view->columnWidth(fall.wachsen[0]) - view->columnWidth(fall.wachsen[1])), 1);
        }
        EXPECT_EQ(view->columnWidth(4), 0);

        // The user widens the first column: it keeps that width, the others still span the view.
        view->horizontalHeader()->resizeSection(0, gegeben + 40);
        fenster.resize(900, 200);
        QCoreApplication::processEvents();
        EXPECT_EQ(view->columnWidth(0), gegeben + 40);
        EXPECT_EQ(summe(), view->viewport()->width());
    }
}

// Each view shows its list's back and fore colours, the nested list its own whatever the outer
// one shows, also after the outer list's colours change. A list in the colours its window has
// leaves the view in the window's palette, so that its header and scroll bars are drawn with the
// palette the style has drawn them with before (it keeps those drawings by palette).
TEST(ListGridWidget, EachViewShowsItsListsColoursAndOneInTheWindowsColoursKeepsItsPalette)
{
    constexpr quint32 Fenster = 0x80000005u, Schrift = 0x80000008u; // the window's base and text
    constexpr quint32 Blau = 0x00F7C7ACu, Rot = 0x000000C0u;
    const struct
    {
        const char *fall;
        quint32 aussen, innen, aussenDanach;
    } faelle[] = {
        {"both in the window's colours", Fenster, Fenster, Blau},
        {"a coloured nested list", Fenster, Blau, Rot},
        {"a coloured outer list", Blau, Fenster, Fenster},
        {"both coloured alike", Blau, Blau, Fenster},
        {"both coloured", Rot, Blau, Fenster},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.fall);
        ListGrid grid;
        grid.resize(600, 400);
        grid.top().setExpanderWidth(350);
        grid.top().appearance().setBackColor(f.aussen);
        grid.top().appearance().setForeColor(Schrift);
        grid.addRow(QVariantList{1, "+", "Vereine"});
        GridList &child = grid.switchToChild(0);
        child.appearance().setBackColor(f.innen);
        child.appearance().setForeColor(Schrift);
        child.addRow(QVariantList{11, "", "Firma A"});
        QTableView *cv = zeigeAufgeklappt(grid, child);
        ASSERT_TRUE(cv);
        const QPalette fenster = grid.palette();
        auto zeigt = [&](QTableView *v, quint32 back) {
            for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
                EXPECT_EQ(v->palette().color(g, QPalette::Base), GridList::toColor(back)) << g;
                EXPECT_EQ(v->palette().color(g, QPalette::Text), GridList::toColor(Schrift)) << g;
            }
            // A view in the window's colours has no palette of its own, nor have its header and
            // scroll bar.
            if (back == Fenster && v->parentWidget()->palette().isCopyOf(fenster)) {
                EXPECT_TRUE(v->palette().isCopyOf(fenster));
                EXPECT_TRUE(v->horizontalHeader()->palette().isCopyOf(fenster));
                EXPECT_TRUE(v->verticalScrollBar()->palette().isCopyOf(fenster));
            }
        };
        {
            SCOPED_TRACE("shown");
            zeigt(grid.view(), f.aussen);
            zeigt(cv, f.innen);
        }
        grid.top().appearance().setBackColor(f.aussenDanach);
        QCoreApplication::processEvents();
        {
            SCOPED_TRACE("the outer list's colour changed");
            zeigt(grid.view(), f.aussenDanach);
            zeigt(cv, f.innen);
        }
    }
}
