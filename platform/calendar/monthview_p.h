#pragma once
// The window of both calendars: a row with the scroll arrows and the first month's title, and
// one, three or six months side by side (six in two rows), each with its own weekday letters.
// The picked date is one for all months.
#include <QColor>
#include <QDate>
#include <QFont>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <vector>

class QCalendarWidget;
class QGridLayout;
class QLabel;
class QToolButton;

namespace lzcal {

class MonthView final : public QWidget
{
    Q_OBJECT

public:
    explicit MonthView(QWidget *parent = nullptr);

    // 0 one, 1 three, 3 six months; other codes show one.
    void setMonthsCode(int code);
    int monthsCode() const { return monthsCode_; }
    int monthCount() const { return int(months_.size()); }

    QDate date() const { return date_; }
    // Picks the date and shows its month first; false for a date outside 0100-9999.
    bool setDate(const QDate &date);

    void setDayLetter(int weekday, const QString &letter); // 0 Sunday .. 6 Saturday
    QString dayLetter(int weekday) const;
    void setMonthName(int month, const QString &name); // 0 January .. 11 December
    QString monthName(int month) const;
    void setSelectionColors(const QColor &fore, const QColor &back);
    void setBackColors(const QColor &back, const QColor &grid);
    void setBorder(bool on);
    void setMonthSpacing(int pixels);
    void setWeekdayColor(int weekday, const QColor &color);
    void setShowToday(bool on);
    void setCalendarFont(const QFont &font);

    // The first shown month (year and month).
    QDate firstMonth() const { return first_; }
    // The scroll arrows, for the keyboard and for tests.
    void scrollBy(int months);

Q_SIGNALS:
    // A day was clicked with the left button; pos in this widget's coordinates.
    void dayClicked(const QDate &date, const QPoint &pos, Qt::KeyboardModifiers modifiers);
    // The picked date moved without a click (keys, scrolling).
    void dateMoved(const QDate &date);
    // The arrows moved the months (the picked date moves along; dateMoved follows).
    void scrolled();
    // A key in the calendar; set *swallow to keep the calendar from handling it.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers, bool *swallow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Month
    {
        QWidget *panel = nullptr;
        QLabel *title = nullptr;
        std::vector<QLabel *> letters;
        QCalendarWidget *calendar = nullptr;
    };

    void rebuild();
    void showFirst(const QDate &first);
    void pick(const QDate &date, bool fromClick);

    void applyLook();
    void watch(QWidget *w);

    int monthsCode_ = 0;
    QDate date_;
    QDate first_;
    QStringList letters_;
    QStringList names_;
    QColor selFore_{255, 255, 255};
    QColor selBack_{0, 0, 128};
    QColor back_{255, 255, 255};
    QColor grid_{255, 255, 255};
    bool border_ = true;
    int spacing_ = 6;
    QColor weekdayColors_[7];
    bool showToday_ = false;
    QFont font_;
    QPoint lastRelease_;
    Qt::KeyboardModifiers lastModifiers_;
    bool releasing_ = false; // a left-button release is being handled (its pick is a click)
    bool syncing_ = false;

    QToolButton *prev_ = nullptr;
    QToolButton *next_ = nullptr;
    QLabel *heading_ = nullptr;
    QGridLayout *grid_layout_ = nullptr;
    std::vector<Month> months_;
};

} // namespace lzcal
