#include "forms/listgrid.h"
#include "forms/vbconst.h"
#include "gridmodel_p.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace forms {

namespace {

GridModel *gridModel(const QTableView *view)
{
    return dynamic_cast<GridModel *>(view->model());
}

constexpr int MaxDetailRows = 12;

// Set on a nested view whose column widths changed since the list's look was applied.
constexpr char SpaltenVerstellt[] = "tvSpaltenVerstellt";

} // namespace

// The top level's delegate: a nested view whose row goes (its list folded or dropped) is kept
// by the grid instead of deleted.
class DetailDelegate : public QStyledItemDelegate
{
public:
    explicit DetailDelegate(ListGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (qobject_cast<QTableView *>(editor) && grid_->childViews_.key(qobject_cast<QTableView *>(editor)))
            grid_->park(editor);
        else
            QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    ListGrid *grid_;
};

ListGrid::ListGrid(QWidget *parent) : QWidget(parent), view_(new QTableView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->setItemDelegate(new DetailDelegate(this));
    configure(view_, &top_);

    QAbstractItemModel *model = top_.model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { attachDetails(first, last); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { attachDetails(0, top_.model()->rowCount() - 1); });
    connect(model, &QAbstractItemModel::columnsInserted, this,
            [this] { attachDetails(0, top_.model()->rowCount() - 1); });
    connect(view_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        const int c = gridModel(view_)->dataColumn(section);
        if (c >= 0)
            emit sortRequested(c);
    });
}

ListGrid::~ListGrid()
{
    // The views go first: they must not outlive the lists they show.
    for (auto &v : childViews_)
        delete v.data();
    delete view_;
}

GridList &ListGrid::current()
{
    return current_ ? *current_ : top_;
}

const GridList &ListGrid::current() const
{
    return current_ ? *current_ : top_;
}

GridList &ListGrid::switchToChild(int row)
{
    GridList *child = top_.ensureChild(row);
    current_ = child;
    return *child;
}

void ListGrid::switchToTop()
{
    current_ = nullptr;
}

QTableView *ListGrid::childView(const GridList *child) const
{
    return childViews_.value(child).data();
}

void ListGrid::setPosition(int row, int column)
{
    GridList &list = current();
    QTableView *view = &list == &top_ ? view_ : childView(&list);
    if (!view)
        return;
    list.flush();
    auto *m = gridModel(view);
    if (row < 0 || row >= list.rowCount() || column < 0 || column >= list.columnCount())
        return;
    view->setCurrentIndex(m->index(m->viewRow(row), column + m->expanderColumns()));
}

void ListGrid::setMinimumVisibleRows(int rows)
{
    minimumRows_ = qMax(0, rows);
    updateGeometry();
}

int ListGrid::visibleRows() const
{
    const int rowHeight = view_->verticalHeader()->defaultSectionSize();
    return rowHeight > 0 ? view_->viewport()->height() / rowHeight : 0;
}

QSize ListGrid::minimumSizeHint() const
{
    QSize hint = QWidget::minimumSizeHint();
    if (minimumRows_ <= 0)
        return hint;
    // Header, the rows, the view's frame, and a horizontal scroll bar when the columns are wider
    // than the grid can be.
    const int frame = 2 * view_->frameWidth();
    const int rows = minimumRows_ * view_->verticalHeader()->defaultSectionSize();
    const int header = view_->horizontalHeader()->isHidden() ? 0 : view_->horizontalHeader()->sizeHint().height();
    const int bar = needsHorizontalBar() ? view_->horizontalScrollBar()->sizeHint().height() : 0;
    hint.setHeight(qMax(hint.height(), header + rows + frame + bar));
    return hint;
}

bool ListGrid::needsHorizontalBar() const
{
    return view_->horizontalHeader()->length() > width() - 2 * view_->frameWidth();
}

void ListGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Whether the columns still fit decides whether the least height holds a scroll bar.
    if (minimumRows_ > 0 && needsHorizontalBar() != barCounted_) {
        barCounted_ = needsHorizontalBar();
        updateGeometry();
    }
}

QSize ListGrid::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(minimumSizeHint());
}

void ListGrid::configure(QTableView *view, GridList *list)
{
    view->setModel(list->model());
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(false);
    view->viewport()->installEventFilter(this);
    connect(list, &GridList::lookChanged, view, [this, view, list] { applyLook(view, list); });
    connect(list->model(), &QAbstractItemModel::headerDataChanged, view, [this, view, list] { applyLook(view, list); });
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, view, list](const QModelIndex &now) {
                if (!now.isValid())
                    return;
                bool detail = false;
                const int row = gridModel(view)->dataRow(now.row(), &detail);
                if (detail)
                    return;
                current_ = list == &top_ ? nullptr : list;
                emit rowChosen(row);
            });
    applyLook(view, list);
}

void ListGrid::applyLook(QTableView *view, GridList *list)
{
    auto *m = gridModel(view);
    if (!m)
        return;
    view->setFont(list->font());
    const int exp = m->expanderColumns();
    if (exp)
        view->setColumnWidth(0, twipsToPixels(list->expanderWidth()));
    for (int c = 0; c < list->columnCount(); ++c) {
        // A column is never narrower than its caption, so that the header shows it whole; a
        // width of 0 keeps the column out of sight.
        const int pixels = twipsToPixels(list->columnWidth(c));
        view->setColumnWidth(c + exp,
                             pixels > 0 ? qMax(pixels, view->horizontalHeader()->sectionSizeHint(c + exp)) : 0);
        view->setColumnHidden(c + exp, list->isColumnHidden(c));
    }
    view->setShowGrid(list->appearance().gridLines() != 0);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Base, GridList::toColor(list->appearance().backColor()));
    pal.setColor(QPalette::Text, GridList::toColor(list->appearance().foreColor()));
    view->setPalette(pal);
    view->viewport()->update();
    view->setProperty(SpaltenVerstellt, false);
}

void ListGrid::attachDetails(int first, int last)
{
    auto *m = gridModel(view_);
    const int columns = m->columnCount();
    for (int d : m->detailRows()) {
        const int v = m->viewRow(d) + 1;
        if (v < first || v > last)
            continue;
        GridList *child = top_.child(d);
        if (!child)
            continue;
        if (columns > 1)
            view_->setSpan(v, 0, 1, columns);
        const QModelIndex at = m->index(v, 0);
        auto *existing = qobject_cast<QTableView *>(view_->indexWidget(at));
        if (!existing || gridModel(existing) != child->model()) {
            QTableView *kept = parked_.take(child);
            if (kept && gridModel(kept) == child->model()) {
                // As a new view shows it: from its start, no current row, the columns as the
                // list sets them.
                kept->selectionModel()->clear();
                kept->scrollToTop();
                kept->horizontalScrollBar()->setValue(0);
                if (kept->property(SpaltenVerstellt).toBool())
                    applyLook(kept, child);
                view_->setIndexWidget(at, kept);
                childViews_.insert(child, kept);
                resizeDetail(child);
                continue;
            }
            delete kept; // a view that no longer shows this list
            auto *cv = new QTableView;
            configure(cv, child);
            // A column the user has made wider or narrower is set anew when the view shows again.
            connect(cv->horizontalHeader(), &QHeaderView::sectionResized, cv,
                    [cv] { cv->setProperty(SpaltenVerstellt, true); });
            cv->setProperty(SpaltenVerstellt, false);
            QAbstractItemModel *cm = child->model();
            auto again = [this, child] { resizeDetail(child); };
            connect(cm, &QAbstractItemModel::rowsInserted, cv, again);
            connect(cm, &QAbstractItemModel::rowsRemoved, cv, again);
            connect(cm, &QAbstractItemModel::modelReset, cv, again);
            // A list that goes takes its view with it, shown or kept.
            connect(child, &QObject::destroyed, cv, [this, child, cv] {
                if (parked_.value(child) == cv)
                    parked_.remove(child);
                cv->deleteLater();
            });
            view_->setIndexWidget(at, cv);
            childViews_.insert(child, cv);
        }
        resizeDetail(child);
    }
    // Forget views whose rows went away.
    for (auto it = childViews_.begin(); it != childViews_.end();) {
        if (!it.value())
            it = childViews_.erase(it);
        else
            ++it;
    }
}

void ListGrid::park(QWidget *editor)
{
    auto *cv = static_cast<QTableView *>(editor);
    const GridList *child = childViews_.key(cv);
    childViews_.remove(child);
    parked_.insert(child, cv);
    cv->hide();
}

void ListGrid::resizeDetail(const GridList *child)
{
    auto *m = gridModel(view_);
    for (int d : m->detailRows()) {
        if (top_.child(d) != child)
            continue;
        QTableView *cv = childView(child);
        const int rows = std::clamp(child->rowCount(), 1, MaxDetailRows);
        const int rowHeight =
            cv ? cv->verticalHeader()->defaultSectionSize() : view_->verticalHeader()->defaultSectionSize();
        const int header = cv ? cv->horizontalHeader()->sizeHint().height() : 0;
        const int frame = cv ? 2 * cv->frameWidth() : 0;
        view_->setRowHeight(m->viewRow(d) + 1, header + rows * rowHeight + frame);
        return;
    }
}

bool ListGrid::hit(QTableView *view, const QPoint &pos, GridList **list, int *row, int *column) const
{
    auto *m = gridModel(view);
    if (!m)
        return false;
    *list = &m->list();
    *row = -1;
    *column = -1;
    const QModelIndex idx = view->indexAt(pos);
    if (!idx.isValid())
        return true;
    bool detail = false;
    const int d = m->dataRow(idx.row(), &detail);
    if (detail)
        return false;
    *row = d;
    *column = idx.column() < m->expanderColumns() ? ExpanderColumn : m->dataColumn(idx.column());
    return true;
}

bool ListGrid::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::ContextMenu)
        return QWidget::eventFilter(watched, event);
    auto *view = qobject_cast<QTableView *>(watched->parent());
    if (!view)
        return false;
    GridList *list = nullptr;
    int row = -1;
    int column = -1;
    QPoint pos;
    if (type == QEvent::ContextMenu)
        pos = static_cast<QContextMenuEvent *>(event)->pos();
    else
        pos = static_cast<QMouseEvent *>(event)->position().toPoint();
    if (!hit(view, pos, &list, &row, &column))
        return false;
    if (type == QEvent::ContextMenu) {
        current_ = list == &top_ ? nullptr : list;
        emit contextRequested(row, column, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    if (column == ExpanderColumn) {
        // Press and double-click alike: each is one click on the expander.
        if (row < 0)
            return true;
        current_ = list == &top_ ? nullptr : list;
        list->setExpanded(row, !list->isExpanded(row));
        emit expandClicked(row, ExpanderColumn);
        return true;
    }
    if (type == QEvent::MouseButtonPress)
        return false;
    current_ = list == &top_ ? nullptr : list;
    emit doubleClicked(row, column);
    return false;
}

void ListGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (!lookAsked_) {
        lookAsked_ = true;
        emit lookRequested();
    }
    emit refreshRequested();
}

} // namespace forms
