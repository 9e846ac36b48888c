#pragma once
// One list of the list grid: rows of cell values, columns with their layout, the list's look,
// and per row an optional nested list with columns and colours of its own.
//
// Rows, columns and cells are counted from 0. Appending rows is cheap: appended rows reach the
// views in one batch when control returns to the event loop (or at the next change that is
// not an append), so loading a list of 100,000 rows costs one view update, not 100,000. A list
// loaded anew is cheaper still through setRows: the rows read are moved in at once.
#include <QAbstractTableModel>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace forms {

class GridList;
class GridModel;

// Column index that the expand event reports for a click on the expander column.
constexpr int ExpanderColumn = -5;

enum class ColumnType { Text, Number, Picture };

// The look of a list: background colour (an OLE colour, 0x00BBGGRR, or a system colour
// 0x800000nn), the text colour and whether grid lines are drawn.
class GridAppearance
{
public:
    explicit GridAppearance(GridList *owner) : owner_(owner) {}
    quint32 backColor() const { return backColor_; }
    void setBackColor(quint32 color);
    quint32 foreColor() const { return foreColor_; }
    void setForeColor(quint32 color);
    qint16 gridLines() const { return gridLines_; }
    void setGridLines(qint16 on);

private:
    GridList *owner_;
    quint32 backColor_ = 0x80000005; // window background
    quint32 foreColor_ = 0x80000008; // window text
    qint16 gridLines_ = 1;
};

// A column of a list, for the operations that the program performs on one column.
class GridColumn
{
public:
    GridColumn(const GridList *list, int index) : list_(list), index_(index) {}
    int index() const { return index_; }
    // See GridList::find.
    int find(const QString &text, int start = -1) const;

private:
    const GridList *list_;
    int index_;
};

class GridList : public QObject
{
    Q_OBJECT
public:
    explicit GridList(QObject *parent = nullptr);
    ~GridList() override;

    // ---- rows
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Appends one row; element i goes into column i. The column count grows to fit.
    void addRow(const QVariantList &values);
    void addRow(const QStringList &values);
    void insertRow(int position, const QVariantList &values);
    void removeRow(int index);
    void clear();
    // Replaces every row (and its nested list) by rows, moved in: what clear and one addRow per
    // row do, in one view update.
    void setRows(std::vector<QVariantList> rows);
    // Marks the rows first .. first+count-1 (clipped to the list) as chosen (flag true) or
    // clears their marks (flag false), and repaints them.
    void rowRange(int first, int count, bool flag);
    void setRowSelected(int row, bool selected);
    bool isRowSelected(int row) const;

    // ---- columns
    int columnCount() const { return static_cast<int>(columns_.size()); }
    void setColumnCount(int count);
    GridColumn column(int index) const;
    // The 0-based index of the first row after start whose cell in column equals text
    // exactly, or -1 when there is none; start -1 searches from the first row.
    int find(int column, const QString &text, int start = -1) const;
    // The row of the record whose key column 0 shows: hint when that row still shows it (the
    // row a procedure was handed may have moved meanwhile), else the first such row; -1 when
    // the list does not show it.
    int findKey(qlonglong key, int hint = -1) const;

    // ---- cells (an index outside the list raises vb::Error 9)
    QVariant value(int row, int column) const;
    QString text(int row, int column) const;
    void setValue(int row, int column, const QVariant &value);
    void setText(int row, int column, const QString &text) { setValue(row, column, text); }
    // How a cell value reads as text: numbers and dates the German way.
    static QString cellText(const QVariant &value);
    // The same text as a view, for a list turned into text cell by cell: a cell's own text and a
    // whole number's digits need no new string. The view lasts until the buffer's next use.
    class CellText
    {
    public:
        QStringView of(const QVariant &value);

    private:
        QVariant held_;       // the text viewed
        QString other_;       // the text of any other value
        char16_t digits_[24]; // a whole number's
    };
    QStringView text(int row, int column, CellText &buffer) const;

    // ---- column layout (widths in twips)
    void setColumnCaption(int column, const QString &caption);
    QString columnCaption(int column) const;
    void setColumnWidth(int column, int twips);
    int columnWidth(int column) const;
    void setColumnHidden(int column, bool hidden);
    bool isColumnHidden(int column) const;
    void setColumnType(int column, ColumnType type);
    ColumnType columnType(int column) const;
    void setColumnMaxLength(int column, int length);
    int columnMaxLength(int column) const;
    void setColumnFont(int column, const QFont &font);
    void setFont(const QFont &font);
    QFont font() const { return font_; }
    // The expander column in front of the data columns; 0 twips means none.
    void setExpanderWidth(int twips);
    int expanderWidth() const { return expanderTwips_; }

    // ---- setting a whole look at once
    // While a LookBatch of the list lives, the changes of its columns' layout and captions, its
    // font and its colours reach the views as one change when the batch ends: a routine that sets
    // a list's whole look has the views lay it out once, not once per setting. Batches nest; the
    // list itself holds each setting at once.
    class LookBatch
    {
    public:
        explicit LookBatch(GridList &list);
        ~LookBatch();
        LookBatch(const LookBatch &) = delete;
        LookBatch &operator=(const LookBatch &) = delete;

    private:
        GridList &list_;
    };

    // ---- appearance
    GridAppearance &appearance() { return appearance_; }
    const GridAppearance &appearance() const { return appearance_; }
    // The second colour: the expander column's background.
    quint32 backColor2() const { return backColor2_; }
    void setBackColor2(quint32 color);

    // ---- nested lists
    GridList *child(int row) const;
    // Gives the row a nested list (an empty one when it had none) and returns it.
    GridList *ensureChild(int row);
    // Gives the row a nested list made when it is first needed: the row shows its expander at
    // once, as a row with a nested list does, and the list is made empty and handed to fill the
    // first time it is asked for (child, ensureChild) or the row expands. A list of many rows
    // whose nested lists few are opened holds a function per row until then, not a list. A row
    // that has a nested list keeps it; an expanded row gets its list at once. fill must not change
    // this list's rows.
    void setChildLater(int row, std::function<void(GridList &)> fill);
    void dropChild(int row);
    // Expanded state kept on the row itself; an expanded row with a nested list shows it.
    bool isExpanded(int row) const;
    void setExpanded(int row, bool expanded);

    // The model that views show; rows appended since the last batch appear after flush().
    QAbstractTableModel *model() const;
    void flush();

    static QColor toColor(quint32 oleColor);

signals:
    // Column layout, fonts or colours changed: views apply them again.
    void lookChanged();
    // A row was appended, inserted or removed, the rows were set anew, or the list emptied: the
    // count of rows it holds now.
    void rowCountChanged(int count);

private:
    friend class GridModel;
    friend class GridAppearance;
    friend class ColumnFit;

    struct Column
    {
        QString caption;
        int widthTwips = 1200;
        bool hidden = false;
        ColumnType type = ColumnType::Text;
        int maxLength = 0;
        std::optional<QFont> font;
    };
    struct Row
    {
        QVariantList cells;
        std::unique_ptr<GridList> child;
        bool expanded = false;
        bool selected = false;
        std::function<void(GridList &)> fill; // the nested list still to be made (setChildLater)
    };
    // Makes the nested list that the row was promised.
    static void makeChild(Row &row);

    void checkRow(int row) const;
    void checkColumn(int column) const;
    // The cell at row and column (vb::Error 9 outside the list); nullptr where the row is shorter.
    const QVariant *cell(int row, int column) const;
    void growColumns(int count);
    void scheduleFlush();
    void updateDetail(int row);
    void notifyLook();
    void notifyHeader();

    std::vector<Row> rows_;
    std::vector<Column> columns_;
    std::unique_ptr<GridModel> model_;
    GridAppearance appearance_;
    quint32 backColor2_ = 0x8000000F; // button face
    QFont font_;
    int expanderTwips_ = 0;
    bool flushScheduled_ = false;
    int lookBatches_ = 0;        // LookBatch guards alive
    bool lookPending_ = false;   // a look changed within them
    bool headerPending_ = false; // a caption changed within them
};

} // namespace forms
