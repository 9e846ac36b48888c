#pragma once
// The table model behind a GridList (used by the list grid's views; not for program code).
//
// View rows are the list's rows, each followed by one spanning detail row when the row is
// expanded and has a nested list (the list grid shows the nested list in it). With an
// expander column, view column 0 is the expander and data column c is view column c + 1.
#include "forms/gridlist.h"

#include <QAbstractTableModel>
#include <vector>

namespace forms {

// A whole-number cell (int or qlonglong) as its number; false for any other value.
inline bool wholeNumber(const QVariant &value, qlonglong *number)
{
    switch (value.typeId()) {
    case QMetaType::Int: *number = *static_cast<const int *>(value.constData()); return true;
    case QMetaType::LongLong: *number = *static_cast<const qlonglong *>(value.constData()); return true;
    default: return false;
    }
}

class GridModel : public QAbstractTableModel
{
public:
    explicit GridModel(GridList &list) : list_(list) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    GridList &list() const { return list_; }
    int expanderColumns() const { return list_.expanderTwips_ > 0 ? 1 : 0; }
    // The view row of a data row.
    int viewRow(int dataRow) const;
    // The data row shown in a view row; *detail is set when the view row is a detail row.
    int dataRow(int viewRow, bool *detail = nullptr) const;
    int dataColumn(int viewColumn) const { return viewColumn - expanderColumns(); }
    const std::vector<int> &detailRows() const { return detail_; }
    int announced() const { return announced_; }

    // ---- called by GridList around its changes
    void announceAppended();
    void rowInserted(int dataRow);
    void beginRemove(int dataRow);
    void endRemove(int dataRow);
    void reset(bool begin);
    void setDetail(int dataRow, bool visible);
    void cellChanged(int dataRow, int dataColumn);
    void rowsChanged(int firstData, int lastData);
    void beginColumns(int from, int to)
    {
        beginInsertColumns(QModelIndex(), from + expanderColumns(), to + expanderColumns());
    }
    void endColumns() { endInsertColumns(); }
    void headerChanged() { emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1); }
    void allChanged();

private:
    GridList &list_;
    int announced_ = 0;       // data rows that the views know of
    std::vector<int> detail_; // data rows with a visible detail row, ascending
};

} // namespace forms
