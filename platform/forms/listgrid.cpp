#include "forms/listgrid.h"
#include "forms/vbconst.h"
#include "gridmodel_p.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace forms {

namespace {

GridModel *gridModel(const QTableView *view)
{
    return dynamic_cast<GridModel *>(view->model());
}

constexpr int MaxDetailRows = 12;

// The top level's view, which takes a detail row's new height at once (see resizeDetail).
class OuterView : public QTableView
{
public:
    using QTableView::QTableView;
    void setDetailHeight(int row, int height)
    {
        QHeaderView *rows = verticalHeader();
        if (rows->sectionSize(row) == height)
            return;
        {
            const QSignalBlocker quiet(rows);
            rows->resizeSection(row, height);
        }
        updateGeometries();
        viewport()->update();
    }
};

} // namespace

// The column widths of one view. The widths the list gives are the least ones (never narrower
// than the caption; 0 keeps a column out of sight). The room of the view beyond them goes to the
// columns whose widest cell would be cut otherwise, text columns before number columns, and among
// them to the smallest wants first, so that as many columns as the room allows show every value
// whole; what is left is shared out among the text columns, so that the columns span the view. A
// column the user resized keeps the width the user gave it.
class ColumnFit : public QObject
{
public:
    ColumnFit(QTableView *view, GridList *list, std::function<void()> fitted)
        : QObject(view), view_(view), list_(list), fitted_(std::move(fitted))
    {
        QAbstractItemModel *model = list->model();
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) { measureViewRows(first, last); });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { measureAll(); });
        connect(model, &QAbstractItemModel::columnsInserted, this, [this] {
            user_.clear();
            measureAll();
        });
        connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
            // A cell set anew; ranges are marks and looks, no new texts.
            if (from == to)
                measureViewRows(from.row(), from.row());
        });
        connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
            if (applying_)
                return;
            user_.insert(section, size);
            schedule();
        });
        viewport_ = view->viewport();
        viewport_->installEventFilter(this);
    }

    // Drops the widths the user gave, as a view shown anew has none.
    void forgetUserWidths()
    {
        if (user_.isEmpty())
            return;
        user_.clear();
        fit();
    }

    // Sets every column's width and hidden state as the list and the room say.
    void fit()
    {
        auto *m = gridModel(view_);
        if (!m || !list_)
            return;
        if (view_->font() != font_) {
            font_ = view_->font();
            margin_ = -1;
            digitWidth_ = -1;
            numberWidths_.clear();
            measureAll(false);
        }
        const int n = list_->columnCount();
        if (n != columns_) {
            if (n < columns_)
                user_.clear();
            columns_ = n;
        }
        const int exp = m->expanderColumns();
        QHeaderView *header = view_->horizontalHeader();
        std::vector<int> width(std::size_t(n), 0);
        std::vector<int> want(std::size_t(n), 0);
        std::vector<int> free; // the shown columns that neither the user nor a width of 0 fixed
        int used = exp ? twipsToPixels(list_->expanderWidth()) : 0;
        for (int c = 0; c < n; ++c) {
            const int section = c + exp;
            const int given = twipsToPixels(list_->columnWidth(c));
            int &w = width[std::size_t(c)];
            if (given <= 0)
                w = 0;
            else if (const auto it = user_.constFind(section); it != user_.constEnd())
                w = *it;
            else {
                w = qMax(given, header->sectionSizeHint(section));
                if (list_->columnType(c) != ColumnType::Picture && std::size_t(c) < content_.size())
                    want[std::size_t(c)] = qMax(0, content_[std::size_t(c)] - w);
                if (!list_->isColumnHidden(c))
                    free.push_back(c);
            }
            if (!list_->isColumnHidden(c))
                used += w;
        }
        int room = view_->viewport()->width() - used;
        for (const bool texts : {true, false}) {
            std::vector<int> order;
            for (int c = 0; c < n; ++c)
                if (want[std::size_t(c)] > 0 && !list_->isColumnHidden(c) &&
                    (std::size_t(c) < text_.size() && text_[std::size_t(c)]) == texts)
                    order.push_back(c);
            std::stable_sort(order.begin(), order.end(),
                             [&want](int a, int b) { return want[std::size_t(a)] < want[std::size_t(b)]; });
            for (int c : order) {
                const int more = qBound(0, want[std::size_t(c)], room);
                width[std::size_t(c)] += more;
                room -= more;
            }
        }
        // The room still left is shared out among the text columns, so that the columns span the
        // view; without a text column the last column takes it. A nested view is shared out only
        // as far as the outer view shows it.
        if (QTableView *outer = outerView()) {
            const int shown =
                outer->viewport()->width() - view_->x() - outer->horizontalHeader()->offset() - 2 * view_->frameWidth();
            room -= qMax(0, view_->viewport()->width() - shown);
        }
        std::vector<int> share;
        for (int c : free)
            if (std::size_t(c) < text_.size() && text_[std::size_t(c)])
                share.push_back(c);
        if (share.empty() && !free.empty())
            share.push_back(free.back());
        for (std::size_t i = 0; room > 0 && i < share.size(); ++i) {
            const int more = room / int(share.size() - i);
            width[std::size_t(share[i])] += more;
            room -= more;
        }
        applying_ = true;
        if (exp)
            view_->setColumnWidth(0, twipsToPixels(list_->expanderWidth()));
        for (int c = 0; c < n; ++c) {
            view_->setColumnWidth(c + exp, width[std::size_t(c)]);
            view_->setColumnHidden(c + exp, list_->isColumnHidden(c));
        }
        applying_ = false;
        if (fitted_)
            fitted_();
    }

private:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The viewport as it was given: while the view goes, it must not be asked for it.
        if ((watched == viewport_ || (outer_ && watched == outer_->viewport())) && event->type() == QEvent::Resize)
            fit();
        return QObject::eventFilter(watched, event);
    }

    // The view a nested view stands in (in one of its rows, which may show only the nested view's
    // start), watched for its size from the first fit on; nullptr for a top-level view.
    QTableView *outerView()
    {
        QWidget *parent = view_->parentWidget();
        auto *outer = parent ? qobject_cast<QTableView *>(parent->parentWidget()) : nullptr;
        if (outer && outer != outer_) {
            if (outer_)
                outer_->viewport()->removeEventFilter(this);
            outer_ = outer;
            outer->viewport()->installEventFilter(this);
        }
        return outer;
    }

    void schedule()
    {
        if (scheduled_)
            return;
        scheduled_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                scheduled_ = false;
                fit();
            },
            Qt::QueuedConnection);
    }

    void measureAll(bool thenFit = true)
    {
        if (!list_)
            return;
        content_.assign(std::size_t(list_->columnCount()), 0);
        text_.assign(std::size_t(list_->columnCount()), false);
        const int rows = std::min(list_->rowCount(), gridModel(view_)->announced());
        for (int r = 0; r < rows; ++r)
            measureRow(r);
        if (thenFit)
            schedule();
    }

    void measureViewRows(int first, int last)
    {
        auto *m = gridModel(view_);
        if (!m || !list_)
            return;
        content_.resize(std::size_t(list_->columnCount()), 0);
        text_.resize(std::size_t(list_->columnCount()), false);
        for (int v = first; v <= last; ++v) {
            bool detail = false;
            const int r = m->dataRow(v, &detail);
            if (!detail && r >= 0 && r < list_->rowCount())
                measureRow(r);
        }
        schedule();
    }

    void measureRow(int row)
    {
        const auto &rows = list_->rows_;
        const QVariantList &cells = rows[std::size_t(row)].cells;
        // Rows often share one text (a looked-up name): a text shared with the row above is
        // measured already. Both rows hold their texts while they are compared, so the buffers
        // compared are the texts' own.
        const QVariantList *above = row > 0 ? &rows[std::size_t(row) - 1].cells : nullptr;
        const int n = std::min({list_->columnCount(), int(content_.size()), int(cells.size())});
        for (int c = 0; c < n; ++c) {
            const QVariant &value = cells.at(c);
            int &widest = content_[std::size_t(c)];
            if (value.typeId() == QMetaType::QString) {
                const QString &text = *static_cast<const QString *>(value.constData());
                if (text.isEmpty())
                    continue;
                text_[std::size_t(c)] = true;
                if (above && c < above->size()) {
                    const QVariant &oben = above->at(c);
                    if (oben.typeId() == QMetaType::QString) {
                        const QString &vorige = *static_cast<const QString *>(oben.constData());
                        if (text.constData() == vorige.constData() && text.size() == vorige.size())
                            continue;
                    }
                }
                widest = qMax(widest, textWidth(text));
            } else if (value.isValid() && !value.isNull()) {
                widest = qMax(widest, valueWidth(value));
            }
        }
    }

    // Numbers and dates as the cells show them. Digits are alike wide, so a whole number needs
    // its count of digits; the texts of other values are measured once per value.
    int valueWidth(const QVariant &value)
    {
        if (qlonglong v = 0; wholeNumber(value, &v))
            return integerWidth(v);
        if (value.typeId() == QMetaType::Double) {
            const double d = *static_cast<const double *>(value.constData());
            // A whole number below 10^15 is written with its digits alone, as an integer is.
            if (d == std::trunc(d) && std::fabs(d) < 1e15)
                return integerWidth(qlonglong(d));
            quint64 bits = 0;
            std::memcpy(&bits, &d, sizeof bits);
            if (const auto it = numberWidths_.constFind(bits); it != numberWidths_.constEnd())
                return *it;
            if (numberWidths_.size() > 10000)
                numberWidths_.clear();
            const int w = textWidth(GridList::cellText(value));
            numberWidths_.insert(bits, w);
            return w;
        }
        return textWidth(GridList::cellText(value));
    }

    int integerWidth(qlonglong wert)
    {
        qlonglong n = wert;
        int digits = 1;
        while (n / 10 != 0) {
            n /= 10;
            ++digits;
        }
        if (digitWidth_ < 0)
            digitWidth_ = textWidth(QStringLiteral("0")) - margin_;
        return margin_ + digits * digitWidth_ + (wert < 0 ? textWidth(QStringLiteral("-")) - margin_ : 0);
    }

    // The width of text when all its letters are Latin ones measured before, else -1: most texts
    // are, and are summed without a branch per letter.
    int knownWidth(QStringView text) const
    {
        const char16_t *letters = text.utf16();
        int w = margin_;
        bool known = true;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t u = letters[i];
            if (u >= latin_.size())
                return -1;
            const int a = latin_[u];
            known &= a >= 0;
            w += a;
        }
        return known ? w : -1;
    }

    // The cell width that shows text whole: its characters and the margins the view draws it
    // within. The characters' advances add up to at least the text's, kerning taken off.
    int textWidth(const QString &text)
    {
        if (margin_ < 0) {
            margin_ = 2 * (view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1) + 2;
            latin_.fill(-1);
            others_.clear();
        }
        if (const int known = knownWidth(text); known >= 0)
            return known;
        int w = margin_;
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u < latin_.size()) {
                int &a = latin_[u];
                if (a < 0)
                    a = view_->fontMetrics().horizontalAdvance(ch);
                w += a;
            } else if (QChar::isSurrogate(u)) {
                return qMax(w, view_->fontMetrics().horizontalAdvance(text) + margin_);
            } else {
                auto it = others_.find(u);
                if (it == others_.end())
                    it = others_.insert(u, view_->fontMetrics().horizontalAdvance(ch));
                w += *it;
            }
        }
        return w;
    }

    QTableView *view_;
    QObject *viewport_ = nullptr;
    QPointer<QTableView> outer_; // the view a nested view stands in, see outerView()
    QPointer<GridList> list_;
    std::function<void()> fitted_;
    std::vector<int> content_;       // per data column: the width its widest value needs
    std::vector<bool> text_;         // per data column: it holds texts, not only numbers and dates
    QHash<int, int> user_;           // view column -> the width the user gave it
    std::array<int, 0x250> latin_{}; // advances of the Latin characters, -1 not yet measured
    QHash<char16_t, int> others_;
    QHash<quint64, int> numberWidths_;
    int margin_ = -1;
    int digitWidth_ = -1;
    QFont font_;
    int columns_ = 0;
    bool applying_ = false;
    bool scheduled_ = false;
};

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

namespace {

ColumnFit *columnFitOf(const QTableView *view)
{
    for (QObject *child : view->children())
        if (auto *fit = dynamic_cast<ColumnFit *>(child))
            return fit;
    return nullptr;
}

} // namespace

ListGrid::ListGrid(QWidget *parent) : QWidget(parent), view_(new OuterView(this))
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
    countBar();
}

void ListGrid::countBar()
{
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
    new ColumnFit(view, list, view == view_ ? std::function<void()>([this] { countBar(); }) : nullptr);
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
    headerHeights_.remove(view);
    auto *m = gridModel(view);
    if (!m)
        return;
    view->setFont(list->font());
    view->setShowGrid(list->appearance().gridLines() != 0);
    if (ColumnFit *fit = columnFitOf(view))
        fit->fit();
    applyColors(view, list);
    if (view == view_) {
        // Nested lists that take the colours of this one from it follow it.
        for (auto *views : {&childViews_, &parked_})
            for (auto it = views->cbegin(); it != views->cend(); ++it)
                if (it.value())
                    applyColors(it.value(), it.key());
    }
    view->viewport()->update();
}

void ListGrid::applyColors(QTableView *view, const GridList *list)
{
    // Colours the view inherits anyway leave its palette the inherited one. A palette of its own,
    // even of the same colours, is a new palette for the view and every child (header, scroll
    // bars, nested lists), and the style keys its cached drawings of them by the palette: each
    // new view would draw them all anew. A disabled view then shows the style's disabled colours.
    const QColor back = GridList::toColor(list->appearance().backColor());
    const QColor fore = GridList::toColor(list->appearance().foreColor());
    auto shows = [&](const QPalette &p) {
        bool same = true;
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
            same = same && p.color(g, QPalette::Base) == back && p.color(g, QPalette::Text) == fore;
        return same;
    };
    if (view->testAttribute(Qt::WA_SetPalette)) {
        const QWidget *parent = view->parentWidget();
        if (!shows(parent ? parent->palette() : QGuiApplication::palette())) {
            if (shows(view->palette()))
                return; // its own already: a new one would be drawn anew
        } else {
            view->setPalette(QPalette());
            if (shows(view->palette()))
                return;
        }
    } else if (shows(view->palette())) {
        return;
    }
    QPalette pal = view->palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, fore);
    view->setPalette(pal);
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
                if (ColumnFit *fit = columnFitOf(kept))
                    fit->forgetUserWidths();
                view_->setIndexWidget(at, kept);
                childViews_.insert(child, kept);
                resizeDetail(child);
                continue;
            }
            delete kept; // a view that no longer shows this list
            // Made in its place, so that its colours are weighed against those it inherits there.
            auto *cv = new QTableView(view_->viewport());
            configure(cv, child);
            QAbstractItemModel *cm = child->model();
            auto again = [this, child] { resizeDetail(child); };
            connect(cm, &QAbstractItemModel::rowsInserted, cv, again);
            connect(cm, &QAbstractItemModel::rowsRemoved, cv, again);
            connect(cm, &QAbstractItemModel::modelReset, cv, again);
            // A list that goes takes its view with it, shown or kept.
            connect(cv, &QObject::destroyed, this, [this, cv] { headerHeights_.remove(cv); });
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
        int header = 0;
        if (cv) {
            auto it = headerHeights_.find(cv);
            if (it == headerHeights_.end())
                it = headerHeights_.insert(cv, cv->horizontalHeader()->sizeHint().height());
            header = *it;
        }
        const int frame = cv ? 2 * cv->frameWidth() : 0;
        // Told to the view at once, not by its deferred handling of a resized row, which lays the
        // grid out again after the first paint and paints all of it and its scroll bars twice.
        static_cast<OuterView *>(view_)->setDetailHeight(m->viewRow(d) + 1, header + rows * rowHeight + frame);
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
