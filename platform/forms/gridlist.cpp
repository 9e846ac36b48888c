#include "forms/gridlist.h"
#include "forms/vbconst.h"
#include "gridmodel_p.h"

#include "common/datetext.h"
#include "common/numbers.h"
#include "common/vberror.h"

#include <QDate>
#include <QDateTime>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>
#include <QPixmap>
#include <algorithm>
#include <utility>

namespace forms {

namespace {

[[noreturn]] void outOfRange()
{
    throw vb::Error(9, QStringLiteral("Index außerhalb des gültigen Bereichs"));
}

// The image of a picture cell, by the file path the cell holds. A path may be written with
// backslashes, as the program's files are named in its texts ("\Graphics\bmp\Cut.bmp"), and no
// file here is found by such a path; so a backslash is read as '/'. A grid asks for the image each
// time it paints the cell, and a list's rows mostly share one picture: each path is loaded once.
// A file that does not load is kept as a null image too, so a missing one costs one look at the
// disk per process, not one per row and paint (a file put there later shows after a restart).
QPixmap picture(const QString &path)
{
    static QHash<QString, QPixmap> cache;
    QString file = path;
    file.replace(u'\\', u'/');
    auto it = cache.find(file);
    if (it == cache.end())
        it = cache.insert(file, QPixmap(file));
    return *it;
}

} // namespace

// ---- appearance and column handle ----------------------------------------------------------

void GridAppearance::setBackColor(quint32 color)
{
    backColor_ = color;
    owner_->notifyLook();
}

void GridAppearance::setForeColor(quint32 color)
{
    foreColor_ = color;
    owner_->notifyLook();
}

void GridAppearance::setGridLines(qint16 on)
{
    gridLines_ = on;
    owner_->notifyLook();
}

int GridColumn::find(const QString &text, int start) const
{
    return list_->find(index_, text, start);
}

// ---- the list --------------------------------------------------------------------------------

GridList::GridList(QObject *parent) : QObject(parent), model_(std::make_unique<GridModel>(*this)), appearance_(this)
{}

GridList::~GridList() = default;

QAbstractTableModel *GridList::model() const
{
    return model_.get();
}

QColor GridList::toColor(quint32 ole)
{
    // The high bit marks a system colour by its index in the system colour table: the indices the
    // grids use map to the palette role that shows the same thing, any other to the window colour.
    // Otherwise the value is 0x00BBGGRR.
    if (ole & 0x80000000u) {
        const QPalette pal = QGuiApplication::palette();
        switch (ole & 0xFFu) {
        case 5: return pal.color(QPalette::Base);
        case 8: return pal.color(QPalette::Text);
        case 13: return pal.color(QPalette::Highlight);
        case 14: return pal.color(QPalette::HighlightedText);
        case 15: return pal.color(QPalette::Button);
        case 18: return pal.color(QPalette::ButtonText);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(int(ole & 0xFF), int((ole >> 8) & 0xFF), int((ole >> 16) & 0xFF));
}

namespace {

// As QString::number(v): the digits, a "-" before a negative number; written backwards from end,
// which is returned as the first character.
char16_t *ganzeZahl(qlonglong v, char16_t *ende)
{
    char16_t *p = ende;
    qulonglong u = v < 0 ? 0 - qulonglong(v) : qulonglong(v);
    do {
        *--p = char16_t(u'0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0)
        *--p = u'-';
    return p;
}

// Straight into the text, as it is asked for each whole-number cell of a list turned into text.
QString ganzeZahl(qlonglong v)
{
    char16_t ziffern[24];
    const char16_t *p = ganzeZahl(v, ziffern + 24);
    return QString(reinterpret_cast<const QChar *>(p), ziffern + 24 - p);
}

} // namespace

QString GridList::cellText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::LongLong:
    case QMetaType::Int: {
        qlonglong v = 0;
        wholeNumber(value, &v);
        return ganzeZahl(v);
    }
    case QMetaType::Double:
    // 15 significant digits: what the figure was written as, without the binary tail (0,3 not
    // 0,30000000000000004).
    case QMetaType::Float: return numbers::german().toString(value.toDouble(), 'g', 15);
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::QDate: return datetext::date(value.toDate());
    case QMetaType::QDateTime: return datetext::dateTime(value.toDateTime());
    default: return value.toString();
    }
}

QStringView GridList::CellText::of(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringView();
    if (value.typeId() == QMetaType::QString) {
        held_ = value;
        return *static_cast<const QString *>(held_.constData());
    }
    if (qlonglong v = 0; wholeNumber(value, &v)) {
        char16_t *const ende = digits_ + std::size(digits_);
        const char16_t *p = ganzeZahl(v, ende);
        return QStringView(p, ende - p);
    }
    other_ = cellText(value);
    return other_;
}

QStringView GridList::text(int row, int column, CellText &buffer) const
{
    const QVariant *c = cell(row, column);
    return c ? buffer.of(*c) : QStringView();
}

const QVariant *GridList::cell(int row, int column) const
{
    checkRow(row);
    checkColumn(column);
    const QVariantList &cells = rows_[static_cast<std::size_t>(row)].cells;
    return column < cells.size() ? &cells.at(column) : nullptr;
}

void GridList::checkRow(int row) const
{
    if (row < 0 || row >= rowCount())
        outOfRange();
}

void GridList::checkColumn(int column) const
{
    if (column < 0 || column >= columnCount())
        outOfRange();
}

void GridList::growColumns(int count)
{
    if (count <= columnCount())
        return;
    flush();
    model_->beginColumns(columnCount(), count - 1);
    columns_.resize(static_cast<std::size_t>(count));
    model_->endColumns();
    notifyLook();
}

// Rows added one by one are told to the views once, when control returns to the event loop:
// a loader that adds thousands of rows would otherwise make the views lay out after each one.
// Every change that inserts, removes or regroups rows first flushes, so the views and the list
// agree on the rows that exist before the change is told; a changed cell of a row not yet told
// needs nothing (GridModel::cellChanged).
void GridList::scheduleFlush()
{
    if (flushScheduled_)
        return;
    flushScheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { flush(); }, Qt::QueuedConnection);
}

void GridList::flush()
{
    flushScheduled_ = false;
    model_->announceAppended();
}

void GridList::notifyLook()
{
    if (lookBatches_ > 0) {
        lookPending_ = true;
        return;
    }
    emit lookChanged();
    model_->allChanged();
}

void GridList::notifyHeader()
{
    if (lookBatches_ > 0) {
        headerPending_ = true;
        return;
    }
    model_->headerChanged();
}

GridList::LookBatch::LookBatch(GridList &list) : list_(list)
{
    ++list_.lookBatches_;
}

GridList::LookBatch::~LookBatch()
{
    if (--list_.lookBatches_ > 0)
        return;
    const bool header = std::exchange(list_.headerPending_, false);
    const bool look = std::exchange(list_.lookPending_, false);
    if (header)
        list_.notifyHeader();
    if (look)
        list_.notifyLook();
}

void GridList::addRow(const QVariantList &values)
{
    if (values.size() > columnCount())
        growColumns(static_cast<int>(values.size()));
    rows_.push_back(Row{values, nullptr, false, false, {}});
    scheduleFlush();
    emit rowCountChanged(rowCount());
}

void GridList::addRow(const QStringList &values)
{
    QVariantList row;
    row.reserve(values.size());
    for (const QString &v : values)
        row.append(v);
    addRow(row);
}

void GridList::insertRow(int position, const QVariantList &values)
{
    if (position < 0 || position > rowCount())
        outOfRange();
    flush();
    if (values.size() > columnCount())
        growColumns(static_cast<int>(values.size()));
    rows_.insert(rows_.begin() + position, Row{values, nullptr, false, false, {}});
    model_->rowInserted(position);
    emit rowCountChanged(rowCount());
}

// The nested list of the row goes only after the model told the views the rows are gone: a view
// may still hold the detail widget that shows it until then.
void GridList::removeRow(int index)
{
    checkRow(index);
    flush();
    model_->beginRemove(index);
    std::unique_ptr<GridList> child = std::move(rows_[static_cast<std::size_t>(index)].child);
    rows_.erase(rows_.begin() + index);
    model_->endRemove(index);
    child.reset(); // after the views let go of its detail row
    emit rowCountChanged(rowCount());
}

void GridList::clear()
{
    model_->reset(true);
    std::vector<Row> old;
    old.swap(rows_);
    model_->reset(false);
    if (!old.empty())
        emit rowCountChanged(0);
}

void GridList::setRows(std::vector<QVariantList> rows)
{
    qsizetype widest = 0;
    for (const QVariantList &r : rows)
        widest = std::max(widest, r.size());
    if (widest > columnCount())
        growColumns(static_cast<int>(widest));
    model_->reset(true);
    std::vector<Row> old;
    old.swap(rows_);
    rows_.reserve(rows.size());
    for (QVariantList &r : rows)
        rows_.push_back(Row{std::move(r), nullptr, false, false, {}});
    model_->reset(false);
    if (!old.empty() || !rows_.empty())
        emit rowCountChanged(rowCount());
}

void GridList::rowRange(int first, int count, bool flag)
{
    const int from = std::max(first, 0);
    const int to = std::min(first + std::max(count, 0), rowCount());
    if (from >= to)
        return;
    for (int r = from; r < to; ++r)
        rows_[static_cast<std::size_t>(r)].selected = flag;
    model_->rowsChanged(from, to - 1);
}

void GridList::setRowSelected(int row, bool selected)
{
    checkRow(row);
    rows_[static_cast<std::size_t>(row)].selected = selected;
    model_->rowsChanged(row, row);
}

bool GridList::isRowSelected(int row) const
{
    checkRow(row);
    return rows_[static_cast<std::size_t>(row)].selected;
}

void GridList::setColumnCount(int count)
{
    if (count < 0)
        outOfRange();
    if (count > columnCount()) {
        growColumns(count);
        return;
    }
    if (count == columnCount())
        return;
    flush();
    model_->reset(true);
    columns_.resize(static_cast<std::size_t>(count));
    model_->reset(false);
    notifyLook();
}

GridColumn GridList::column(int index) const
{
    return GridColumn(this, index);
}

// Compares the cell's text as the grid shows it (cellText), so a number is found by "12,5". A row
// shorter than the column holds an empty cell there.
int GridList::find(int column, const QString &text, int start) const
{
    checkColumn(column);
    const auto c = static_cast<qsizetype>(column);
    for (int r = std::max(start + 1, 0); r < rowCount(); ++r) {
        const QVariantList &cells = rows_[static_cast<std::size_t>(r)].cells;
        if (c < cells.size() && cellText(cells.at(c)) == text)
            return r;
        if (c >= cells.size() && text.isEmpty())
            return r;
    }
    return -1;
}

int GridList::findKey(qlonglong key, int hint) const
{
    const QString text = QString::number(key);
    if (hint >= 0 && hint < rowCount() && columnCount() > 0 && this->text(hint, 0) == text)
        return hint;
    return columnCount() > 0 ? find(0, text) : -1;
}

QVariant GridList::value(int row, int column) const
{
    const QVariant *c = cell(row, column);
    return c ? *c : QVariant();
}

QString GridList::text(int row, int column) const
{
    const QVariant *c = cell(row, column);
    return c ? cellText(*c) : QString();
}

void GridList::setValue(int row, int column, const QVariant &value)
{
    checkRow(row);
    checkColumn(column);
    QVariantList &cells = rows_[static_cast<std::size_t>(row)].cells;
    if (cells.size() <= column)
        cells.resize(column + 1);
    cells[column] = value;
    model_->cellChanged(row, column);
}

// ---- layout ----------------------------------------------------------------------------------

void GridList::setColumnCaption(int column, const QString &caption)
{
    if (column < 0)
        outOfRange();
    growColumns(column + 1);
    columns_[static_cast<std::size_t>(column)].caption = caption;
    notifyHeader();
}

QString GridList::columnCaption(int column) const
{
    checkColumn(column);
    return columns_[static_cast<std::size_t>(column)].caption;
}

void GridList::setColumnWidth(int column, int twips)
{
    if (column < 0)
        outOfRange();
    growColumns(column + 1);
    columns_[static_cast<std::size_t>(column)].widthTwips = std::max(twips, 0);
    notifyLook();
}

int GridList::columnWidth(int column) const
{
    checkColumn(column);
    return columns_[static_cast<std::size_t>(column)].widthTwips;
}

void GridList::setColumnHidden(int column, bool hidden)
{
    checkColumn(column);
    bool &h = columns_[static_cast<std::size_t>(column)].hidden;
    // A layout set again as it stands changes no look, and the views are not laid out anew.
    if (h == hidden)
        return;
    h = hidden;
    notifyLook();
}

bool GridList::isColumnHidden(int column) const
{
    checkColumn(column);
    return columns_[static_cast<std::size_t>(column)].hidden;
}

void GridList::setColumnType(int column, ColumnType type)
{
    if (column < 0)
        outOfRange();
    growColumns(column + 1);
    columns_[static_cast<std::size_t>(column)].type = type;
    notifyLook();
}

ColumnType GridList::columnType(int column) const
{
    checkColumn(column);
    return columns_[static_cast<std::size_t>(column)].type;
}

void GridList::setColumnMaxLength(int column, int length)
{
    if (column < 0)
        outOfRange();
    growColumns(column + 1);
    columns_[static_cast<std::size_t>(column)].maxLength = std::max(length, 0);
}

int GridList::columnMaxLength(int column) const
{
    checkColumn(column);
    return columns_[static_cast<std::size_t>(column)].maxLength;
}

void GridList::setColumnFont(int column, const QFont &font)
{
    if (column < 0)
        outOfRange();
    growColumns(column + 1);
    columns_[static_cast<std::size_t>(column)].font = font;
    notifyLook();
}

void GridList::setFont(const QFont &font)
{
    font_ = font;
    notifyLook();
}

// Showing or dropping the expander adds or removes view column 0, which moves every column:
// only that needs a reset of the views, a new width of a shown expander does not.
void GridList::setExpanderWidth(int twips)
{
    twips = std::max(twips, 0);
    if ((twips > 0) != (expanderTwips_ > 0)) {
        flush();
        model_->reset(true);
        expanderTwips_ = twips;
        model_->reset(false);
    } else {
        expanderTwips_ = twips;
    }
    notifyLook();
}

void GridList::setBackColor2(quint32 color)
{
    backColor2_ = color;
    notifyLook();
}

// ---- nested lists ----------------------------------------------------------------------------

void GridList::makeChild(Row &row)
{
    const std::function<void(GridList &)> fill = std::exchange(row.fill, nullptr);
    row.child = std::make_unique<GridList>();
    fill(*row.child);
}

// A promised list is a list of the row for every caller: asked for, it is made (the rows and
// what the views show stay as they are).
GridList *GridList::child(int row) const
{
    checkRow(row);
    Row &r = const_cast<Row &>(rows_[static_cast<std::size_t>(row)]);
    if (!r.child && r.fill)
        makeChild(r);
    return r.child.get();
}

GridList *GridList::ensureChild(int row)
{
    checkRow(row);
    Row &r = rows_[static_cast<std::size_t>(row)];
    if (!r.child) {
        if (r.fill)
            makeChild(r);
        else
            r.child = std::make_unique<GridList>();
        updateDetail(row);
        model_->rowsChanged(row, row);
    }
    return r.child.get();
}

void GridList::setChildLater(int row, std::function<void(GridList &)> fill)
{
    checkRow(row);
    Row &r = rows_[static_cast<std::size_t>(row)];
    if (r.child || !fill)
        return;
    r.fill = std::move(fill);
    if (r.expanded) {
        ensureChild(row);
        return;
    }
    model_->rowsChanged(row, row);
}

void GridList::dropChild(int row)
{
    checkRow(row);
    Row &r = rows_[static_cast<std::size_t>(row)];
    if (!r.child && !r.fill)
        return;
    r.fill = nullptr;
    flush();
    model_->setDetail(row, false);
    r.child.reset();
    model_->rowsChanged(row, row);
}

bool GridList::isExpanded(int row) const
{
    checkRow(row);
    return rows_[static_cast<std::size_t>(row)].expanded;
}

void GridList::setExpanded(int row, bool expanded)
{
    checkRow(row);
    Row &r = rows_[static_cast<std::size_t>(row)];
    r.expanded = expanded;
    if (expanded && !r.child && r.fill)
        makeChild(r);
    updateDetail(row);
    model_->rowsChanged(row, row);
}

void GridList::updateDetail(int row)
{
    flush();
    const Row &r = rows_[static_cast<std::size_t>(row)];
    model_->setDetail(row, r.expanded && r.child);
}

// ---- model -----------------------------------------------------------------------------------

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : announced_ + static_cast<int>(detail_.size());
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : expanderColumns() + list_.columnCount();
}

int GridModel::viewRow(int data) const
{
    const auto below = std::lower_bound(detail_.begin(), detail_.end(), data) - detail_.begin();
    return data + static_cast<int>(below);
}

// detail_ is short (the expanded rows), so a walk over it is enough: each detail row before
// view row `view` shifts it down by one.
int GridModel::dataRow(int view, bool *detail) const
{
    if (detail)
        *detail = false;
    const int n = static_cast<int>(detail_.size());
    for (int i = 0; i < n; ++i) {
        const int mainView = detail_[static_cast<std::size_t>(i)] + i;
        if (view <= mainView)
            return view - i;
        if (view == mainView + 1) {
            if (detail)
                *detail = true;
            return detail_[static_cast<std::size_t>(i)];
        }
    }
    return view - n;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    bool detail = false;
    const int d = dataRow(index.row(), &detail);
    if (detail || d < 0 || d >= list_.rowCount())
        return QVariant();
    const GridList::Row &row = list_.rows_[static_cast<std::size_t>(d)];
    if (index.column() < expanderColumns()) {
        switch (role) {
        case Qt::DisplayRole:
            return row.child || row.fill ? QVariant(row.expanded ? QStringLiteral("-") : QStringLiteral("+"))
                                         : QVariant();
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        case Qt::BackgroundRole: return GridList::toColor(list_.backColor2_);
        default: return QVariant();
        }
    }
    const int c = dataColumn(index.column());
    if (c < 0 || c >= list_.columnCount())
        return QVariant();
    const GridList::Column &col = list_.columns_[static_cast<std::size_t>(c)];
    const QVariant cell = c < row.cells.size() ? row.cells.at(c) : QVariant();
    switch (role) {
    case Qt::DisplayRole: return col.type == ColumnType::Picture ? QVariant() : QVariant(GridList::cellText(cell));
    case Qt::DecorationRole:
        if (col.type == ColumnType::Picture && !cell.toString().isEmpty())
            return picture(cell.toString());
        return QVariant();
    case Qt::TextAlignmentRole:
        return col.type == ColumnType::Number ? int(Qt::AlignRight | Qt::AlignVCenter)
                                              : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return row.selected ? QGuiApplication::palette().color(QPalette::Highlight)
                            : GridList::toColor(list_.appearance_.backColor());
    case Qt::ForegroundRole:
        return row.selected ? QGuiApplication::palette().color(QPalette::HighlightedText)
                            : GridList::toColor(list_.appearance_.foreColor());
    case Qt::FontRole: return col.font ? QVariant(*col.font) : QVariant();
    default: return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    const int c = dataColumn(section);
    if (c < 0 || c >= list_.columnCount())
        return QString();
    return list_.columns_[static_cast<std::size_t>(c)].caption;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // A detail row is no cell of its own: when its nested view takes the focus, the outer view
    // would make it the current index and scroll it to the top under the pointer.
    bool detail = false;
    dataRow(index.row(), &detail);
    if (detail)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// Appended rows the views do not know yet come at the end of the view (detail rows only belong
// to announced rows), so they are told as one insertion after the last view row.
void GridModel::announceAppended()
{
    const int total = list_.rowCount();
    if (announced_ >= total)
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + (total - announced_) - 1);
    announced_ = total;
    endInsertRows();
}

void GridModel::rowInserted(int data)
{
    const int v = viewRow(data);
    beginInsertRows(QModelIndex(), v, v);
    for (int &e : detail_)
        if (e >= data)
            ++e;
    ++announced_;
    endInsertRows();
}

void GridModel::beginRemove(int data)
{
    const int v = viewRow(data);
    const bool hasDetail = std::binary_search(detail_.begin(), detail_.end(), data);
    beginRemoveRows(QModelIndex(), v, v + (hasDetail ? 1 : 0));
}

void GridModel::endRemove(int data)
{
    auto it = std::lower_bound(detail_.begin(), detail_.end(), data);
    if (it != detail_.end() && *it == data)
        it = detail_.erase(it);
    for (; it != detail_.end(); ++it)
        --*it;
    --announced_;
    endRemoveRows();
}

void GridModel::reset(bool begin)
{
    if (begin) {
        beginResetModel();
        return;
    }
    detail_.clear();
    for (int r = 0; r < list_.rowCount(); ++r) {
        const GridList::Row &row = list_.rows_[static_cast<std::size_t>(r)];
        if (row.expanded && row.child)
            detail_.push_back(r);
    }
    announced_ = list_.rowCount();
    endResetModel();
}

void GridModel::setDetail(int data, bool visible)
{
    auto it = std::lower_bound(detail_.begin(), detail_.end(), data);
    const bool present = it != detail_.end() && *it == data;
    if (present == visible)
        return;
    const int v = viewRow(data) + 1;
    if (visible) {
        beginInsertRows(QModelIndex(), v, v);
        detail_.insert(it, data);
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), v, v);
        detail_.erase(it);
        endRemoveRows();
    }
}

void GridModel::cellChanged(int data, int column)
{
    // A row not yet announced is read whole when it is.
    if (data >= announced_)
        return;
    const QModelIndex i = index(viewRow(data), column + expanderColumns());
    emit dataChanged(i, i);
}

void GridModel::rowsChanged(int first, int last)
{
    last = std::min(last, announced_ - 1);
    if (first > last || columnCount() == 0)
        return;
    emit dataChanged(index(viewRow(first), 0), index(viewRow(last), columnCount() - 1));
}

void GridModel::allChanged()
{
    if (rowCount() == 0 || columnCount() == 0)
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

} // namespace forms
