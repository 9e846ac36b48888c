#pragma once
// The list grid: a list widget of rows and columns on Qt's model/view, with nested lists per
// row. The operations act on the current list: the top level, or the nested list of a row
// that the program switched into (switchToChild) or that the user last clicked in.
//
// Events, as signals:
//   lookRequested    - the first time the grid is shown (the windows set the grid's look)
//   refreshRequested - every time the grid is shown, after lookRequested the first time
//   rowChosen        - the current row changed (row of the current list)
//   doubleClicked    - row and column of the current list; -1, -1 when no row was hit
//   expandClicked    - a click on a row's expander; the grid has already toggled the row's
//                      expanded state (its nested list shows or hides); column ExpanderColumn
//   sortRequested    - a click on a column caption of the top level
//   contextRequested - the context menu key or right button over a row (-1 when none)
#include "forms/gridlist.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class QTableView;

namespace forms {

class ListGrid : public QWidget
{
    Q_OBJECT
public:
    explicit ListGrid(QWidget *parent = nullptr);
    ~ListGrid() override;

    GridList &top() { return top_; }
    const GridList &top() const { return top_; }
    GridList &current();
    const GridList &current() const;
    // Makes the row's nested list (created empty when the row had none) the current list.
    GridList &switchToChild(int row);
    void switchToTop();

    // ---- operations on the current list
    int rowCount() const { return current().rowCount(); }
    void addRow(const QVariantList &values) { current().addRow(values); }
    void addRow(const QStringList &values) { current().addRow(values); }
    void insertRow(int position, const QVariantList &values) { current().insertRow(position, values); }
    void removeRow(int index) { current().removeRow(index); }
    void clear() { current().clear(); }
    void setRows(std::vector<QVariantList> rows) { current().setRows(std::move(rows)); }
    void rowRange(int first, int count, bool flag) { current().rowRange(first, count, flag); }
    void setRowSelected(int row, bool selected) { current().setRowSelected(row, selected); }
    int columnCount() const { return current().columnCount(); }
    GridColumn column(int index) const { return current().column(index); }
    int find(int column, const QString &text, int start = -1) const { return current().find(column, text, start); }
    int findKey(qlonglong key, int hint = -1) const { return current().findKey(key, hint); }
    QVariant value(int row, int column) const { return current().value(row, column); }
    QString text(int row, int column) const { return current().text(row, column); }
    QStringView text(int row, int column, GridList::CellText &buffer) const
    {
        return current().text(row, column, buffer);
    }
    void setValue(int row, int column, const QVariant &value) { current().setValue(row, column, value); }
    void setText(int row, int column, const QString &text) { current().setText(row, column, text); }
    GridAppearance &appearance() { return current().appearance(); }

    // Puts the current cell of the current list's view on (row, column).
    void setPosition(int row, int column);

    QTableView *view() const { return view_; }
    // The view that shows a nested list now, or nullptr while its row is collapsed.
    QTableView *childView(const GridList *child) const;

    // The least number of rows the grid shows whole below its column header: a layout gives it
    // at least that height (0, the default, leaves the height to Qt).
    void setMinimumVisibleRows(int rows);
    int minimumVisibleRows() const { return minimumRows_; }
    // The rows the view shows whole now.
    int visibleRows() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void lookRequested();
    void refreshRequested();
    void rowChosen(int row);
    void doubleClicked(int row, int column);
    void expandClicked(int row, int column);
    void sortRequested(int column);
    void contextRequested(int row, int column, const QPoint &globalPos);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configure(QTableView *view, GridList *list);
    void applyLook(QTableView *view, GridList *list);
    void applyColors(QTableView *view, const GridList *list);
    void attachDetails(int firstViewRow, int lastViewRow);
    void resizeDetail(const GridList *child);
    // The list and data cell under a view position; false for none or a detail row.
    bool hit(QTableView *view, const QPoint &pos, GridList **list, int *row, int *column) const;

    GridList top_;
    QPointer<GridList> current_;
    QTableView *view_;
    QHash<const GridList *, QPointer<QTableView>> childViews_;
    // The views of nested lists whose rows are folded: kept, hidden, to show them again when the
    // row unfolds, instead of a new view with its header each time.
    QHash<const GridList *, QPointer<QTableView>> parked_;
    // The header height of each nested view, measured once per look (its font and captions):
    // a nested list loaded anew changes only its rows.
    QHash<const QTableView *, int> headerHeights_;
    friend class DetailDelegate;
    void park(QWidget *editor);
    bool lookAsked_ = false;
    int minimumRows_ = 0;
    bool barCounted_ = true;
    // The columns are wider than the grid: a horizontal scroll bar takes room below the rows.
    bool needsHorizontalBar() const;
    // Counts the scroll bar into the least height anew when the columns came to fit or not.
    void countBar();
};

} // namespace forms
