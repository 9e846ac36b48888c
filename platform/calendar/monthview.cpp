#include "monthview_p.h"
#include "ole/clock.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

namespace lzcal {
namespace {

const QDate kFirstDate(100, 1, 1);
const QDate kLastDate(9999, 12, 31);

Qt::DayOfWeek qtDay(int weekday) // 0 Sunday .. 6 Saturday
{
    return weekday == 0 ? Qt::Sunday : Qt::DayOfWeek(weekday);
}

QDate monthOf(const QDate &d)
{
    return QDate(d.year(), d.month(), 1);
}

} // namespace

MonthView::MonthView(QWidget *parent) : QWidget(parent)
{
    letters_ = QStringList{"S", "M", "T", "W", "T", "F", "S"};
    names_ = QStringLiteral("January|February|March|April|May|June|July|August|September|October|November|December")
                 .split(u'|');
    date_ = ole::Today();
    first_ = monthOf(date_);
    setAutoFillBackground(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(2);
    auto *nav = new QHBoxLayout;
    prev_ = new QToolButton(this);
    prev_->setObjectName(QStringLiteral("lzCalendarPrevious"));
    prev_->setArrowType(Qt::LeftArrow);
    prev_->setAutoRaise(true);
    prev_->setFocusPolicy(Qt::NoFocus);
    next_ = new QToolButton(this);
    next_->setObjectName(QStringLiteral("lzCalendarNext"));
    next_->setArrowType(Qt::RightArrow);
    next_->setAutoRaise(true);
    next_->setFocusPolicy(Qt::NoFocus);
    heading_ = new QLabel(this);
    heading_->setAlignment(Qt::AlignCenter);
    nav->addWidget(prev_);
    nav->addWidget(heading_, 1);
    nav->addWidget(next_);
    outer->addLayout(nav);
    grid_layout_ = new QGridLayout;
    outer->addLayout(grid_layout_, 1);
    connect(prev_, &QToolButton::clicked, this, [this] { scrollBy(-1); });
    connect(next_, &QToolButton::clicked, this, [this] { scrollBy(1); });
    rebuild();
}

void MonthView::watch(QWidget *w)
{
    w->installEventFilter(this);
}

void MonthView::rebuild()
{
    for (Month &m : months_)
        delete m.panel;
    months_.clear();
    const int count = monthsCode_ == 1 ? 3 : monthsCode_ == 3 ? 6 : 1;
    const int columns = count == 1 ? 1 : 3;
    for (int i = 0; i < count; ++i) {
        Month m;
        m.panel = new QWidget(this);
        auto *v = new QVBoxLayout(m.panel);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(1);
        m.title = new QLabel(m.panel);
        m.title->setAlignment(Qt::AlignCenter);
        m.title->setVisible(count > 1);
        v->addWidget(m.title);
        auto *row = new QHBoxLayout;
        row->setSpacing(0);
        for (int d = 0; d < 7; ++d) {
            auto *l = new QLabel(m.panel);
            l->setAlignment(Qt::AlignCenter);
            row->addWidget(l, 1);
            m.letters.push_back(l);
        }
        v->addLayout(row);
        m.calendar = new QCalendarWidget(m.panel);
        m.calendar->setObjectName(QStringLiteral("lzCalendarMonth%1").arg(i));
        m.calendar->setNavigationBarVisible(false);
        m.calendar->setHorizontalHeaderFormat(QCalendarWidget::NoHorizontalHeader);
        m.calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        m.calendar->setFirstDayOfWeek(Qt::Sunday);
        m.calendar->setDateRange(kFirstDate, kLastDate);
        m.calendar->setGridVisible(false);
        v->addWidget(m.calendar, 1);
        grid_layout_->addWidget(m.panel, i / columns, i % columns);
        if (auto *view = m.calendar->findChild<QTableView *>()) {
            watch(view);
            watch(view->viewport());
        }
        QCalendarWidget *cal = m.calendar;
        connect(cal, &QCalendarWidget::selectionChanged, this, [this, cal] {
            if (syncing_)
                return;
            const QDate d = cal->selectedDate();
            if (d == date_)
                return;
            pick(d, false);
            if (!releasing_)
                Q_EMIT dateMoved(d);
        });
        connect(cal, &QCalendarWidget::clicked, this, [this](const QDate &d) {
            if (syncing_)
                return;
            releasing_ = false;
            pick(d, true);
            Q_EMIT dayClicked(d, lastRelease_, lastModifiers_);
        });
        months_.push_back(m);
    }
    setFocusProxy(months_.front().calendar);
    grid_layout_->setSpacing(spacing_);
    applyLook();
    showFirst(first_);
    pick(date_, false);
}

void MonthView::setMonthsCode(int code)
{
    if (code != 0 && code != 1 && code != 3)
        code = 0;
    if (code == monthsCode_)
        return;
    monthsCode_ = code;
    rebuild();
}

bool MonthView::setDate(const QDate &date)
{
    if (!date.isValid() || date < kFirstDate || date > kLastDate)
        return false;
    showFirst(monthOf(date));
    pick(date, false);
    return true;
}

void MonthView::showFirst(const QDate &first)
{
    QDate f = monthOf(first);
    const QDate lastFirst = QDate(9999, 12, 1).addMonths(1 - int(months_.size()));
    if (f > lastFirst)
        f = lastFirst;
    if (f < kFirstDate)
        f = kFirstDate;
    first_ = f;
    syncing_ = true;
    for (int i = 0; i < int(months_.size()); ++i) {
        const QDate m = first_.addMonths(i);
        months_[i].calendar->setCurrentPage(m.year(), m.month());
        months_[i].title->setText(names_.value(m.month() - 1) + u' ' + QString::number(m.year()));
    }
    syncing_ = false;
    heading_->setText(months_.size() > 1 ? names_.value(first_.month() - 1) + u' ' + QString::number(first_.year()) +
                                               QStringLiteral(" \u2013 ") +
                                               names_.value(first_.addMonths(int(months_.size()) - 1).month() - 1) +
                                               u' ' + QString::number(first_.addMonths(int(months_.size()) - 1).year())
                                         : months_.front().title->text());
}

void MonthView::pick(const QDate &date, bool)
{
    date_ = date;
    const QDate last = first_.addMonths(int(months_.size()) - 1);
    if (monthOf(date) < first_)
        showFirst(monthOf(date));
    else if (monthOf(date) > last)
        showFirst(monthOf(date).addMonths(1 - int(months_.size())));
    syncing_ = true;
    for (int i = 0; i < int(months_.size()); ++i) {
        QCalendarWidget *cal = months_[i].calendar;
        const QDate page = first_.addMonths(i);
        cal->setSelectedDate(date);
        cal->setCurrentPage(page.year(), page.month());
    }
    syncing_ = false;
}

void MonthView::scrollBy(int months)
{
    const QDate moved = date_.addMonths(months);
    if (!moved.isValid() || moved < kFirstDate || moved > kLastDate)
        return;
    showFirst(first_.addMonths(months));
    pick(moved, false);
    Q_EMIT scrolled();
    Q_EMIT dateMoved(moved);
}

void MonthView::setDayLetter(int weekday, const QString &letter)
{
    if (weekday < 0 || weekday > 6)
        return;
    letters_[weekday] = letter;
    applyLook();
}

QString MonthView::dayLetter(int weekday) const
{
    return letters_.value(weekday);
}

void MonthView::setMonthName(int month, const QString &name)
{
    if (month < 0 || month > 11)
        return;
    names_[month] = name;
    showFirst(first_);
}

QString MonthView::monthName(int month) const
{
    return names_.value(month);
}

void MonthView::setSelectionColors(const QColor &fore, const QColor &back)
{
    selFore_ = fore;
    selBack_ = back;
    applyLook();
}

void MonthView::setBackColors(const QColor &back, const QColor &grid)
{
    back_ = back;
    grid_ = grid;
    applyLook();
}

void MonthView::setBorder(bool on)
{
    border_ = on;
    update();
}

void MonthView::setMonthSpacing(int pixels)
{
    spacing_ = std::clamp(pixels, 0, 100);
    grid_layout_->setSpacing(spacing_);
}

void MonthView::setWeekdayColor(int weekday, const QColor &color)
{
    if (weekday < 0 || weekday > 6)
        return;
    weekdayColors_[weekday] = color;
    applyLook();
}

void MonthView::setShowToday(bool on)
{
    showToday_ = on;
    applyLook();
}

void MonthView::setCalendarFont(const QFont &font)
{
    setFont(font);
}

void MonthView::applyLook()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, back_);
    setPalette(pal);
    for (Month &m : months_) {
        QPalette p = m.calendar->palette();
        p.setColor(QPalette::Highlight, selBack_);
        p.setColor(QPalette::HighlightedText, selFore_);
        p.setColor(QPalette::Base, grid_);
        p.setColor(QPalette::AlternateBase, grid_);
        m.calendar->setPalette(p);
        for (int d = 0; d < 7; ++d) {
            m.letters[d]->setText(letters_.value(d));
            QTextCharFormat f;
            if (weekdayColors_[d].isValid()) {
                f.setForeground(weekdayColors_[d]);
                QPalette lp = m.letters[d]->palette();
                lp.setColor(QPalette::WindowText, weekdayColors_[d]);
                m.letters[d]->setPalette(lp);
            }
            m.calendar->setWeekdayTextFormat(qtDay(d), f);
        }
        m.calendar->setDateTextFormat(QDate(), QTextCharFormat());
        if (showToday_) {
            QTextCharFormat today;
            today.setFontWeight(QFont::Bold);
            today.setFontUnderline(true);
            m.calendar->setDateTextFormat(ole::Today(), today);
        }
    }
    update();
}

bool MonthView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        releasing_ = false;
        auto *ke = static_cast<QKeyEvent *>(event);
        bool swallow = false;
        Q_EMIT keyPressed(ke->key(), ke->modifiers(), &swallow);
        if (swallow)
            return true;
        break;
    }
    case QEvent::MouseButtonPress: releasing_ = false; break;
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            releasing_ = true;
            if (auto *w = qobject_cast<QWidget *>(watched))
                lastRelease_ = w->mapTo(this, me->position().toPoint());
            lastModifiers_ = me->modifiers();
        }
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void MonthView::paintEvent(QPaintEvent *)
{
    if (!border_)
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace lzcal
