#include "CalendarPopup.h"

#include "DateText.h"

#include "com/variant.h"
#include "ole/container.h"
#include "ole/font.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace lzdate {
namespace {

// Members of the one-piece calendar.
namespace one {
constexpr DISPID Months = 4;
constexpr DISPID Value = 7;
constexpr DISPID InverseHighlight = 11;
constexpr DISPID Highlight = 12;
constexpr DISPID DayLetters = 13;
constexpr DISPID MonthNames = 14;
constexpr DISPID ClickEvent = DISPID_CLICK;
constexpr DISPID KeyDownEvent = DISPID_KEYDOWN; // (short* KeyCode, short Shift)
} // namespace one

// Members of the grid calendar.
namespace grid {
constexpr DISPID Value = 1;
constexpr DISPID Color6 = 6;
constexpr DISPID Color7 = 7;
constexpr DISPID Style12 = 12;
constexpr DISPID InverseHighlight = 14;
constexpr DISPID Highlight = 15;
constexpr DISPID Months = 16;
constexpr DISPID Style17 = 17;
constexpr DISPID IndexedColor21 = 21;
constexpr DISPID DayLetter = 23;
constexpr DISPID MonthName = 24;
constexpr DISPID Font = 39;
constexpr DISPID Flag77 = 77;
constexpr DISPID DateEvent = 1;     // (DATE)
constexpr DISPID KeyDownEvent = 5;  // (short KeyCode, short Shift)
constexpr DISPID MouseUpEvent = 10; // (short Button, short Shift, long x, long y)
constexpr DISPID ScrollEvent = 11;
} // namespace grid

constexpr int kVkTab = 0x09;
constexpr int kVkReturn = 0x0D;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;
constexpr int kVkEscape = 0x1B;

const QString kDefaultMonths =
    QStringLiteral("January|February|March|April|May|June|July|August|September|October|November|December");

// The frame round the calendar: left/top and the extra width and height of the popup.
QMargins frameFor(bool onePiece)
{
    return onePiece ? QMargins(4, 5, 5, 5) : QMargins(2, 2, 2, 2);
}

} // namespace

CalendarPopup *CalendarPopup::create(int code)
{
    if (code != 0 && code != 1 && code != 3 && code != 4 && code != 5 && code != 6)
        return nullptr;
    auto *popup = new CalendarPopup(code);
    if (!popup->createCalendar()) {
        delete popup;
        return nullptr;
    }
    return popup;
}

CalendarPopup::CalendarPopup(int code)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), code_(code), onePiece_(code <= 3)
{
    setObjectName(QStringLiteral("LzCalendarPopup"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(212, 208, 200)); // the menu colour
    setPalette(pal);
    timer_.setObjectName(QStringLiteral("lzCalendarTimer"));
    timer_.setParent(this);
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { check(); });
    move(0, 1000);
    resize(200, 1200);
}

CalendarPopup::~CalendarPopup()
{
    timer_.stop();
    if (host_)
        host_->destroyControl();
}

bool CalendarPopup::createCalendar()
{
    host_ = new ole::ControlContainer(this);
    host_->setObjectName(QStringLiteral("lzCalendarHost"));
    const QString progId = QString::fromUtf16(onePiece_ ? kOnePieceCalendarProgId : kGridCalendarProgId);
    if (FAILED(host_->createControl(progId)) || !host_->controlWidget()) {
        host_->destroyControl();
        return false;
    }
    QSize size(200, 200);
    if (!onePiece_)
        size = code_ == 5 ? QSize(500, 130) : code_ == 6 ? QSize(500, 400) : QSize(200, 130);
    host_->resize(size);
    host_->controlWidget()->setFocusPolicy(Qt::StrongFocus);
    host_->setEventHandler([this](DISPID dispid, com::EventArgs &args) { calendarEvent(dispid, args); });
    if (!onePiece_) {
        put(grid::Color6, com::Variant::i4(0x00FFFFFF));
        put(grid::Color7, com::Variant::i4(0x00FFFFFF));
        put(grid::Style12, com::Variant::i2(0));
        put(grid::Style17, com::Variant::i2(4));
        putIndexed(grid::IndexedColor21, 0, com::Variant::i4(192));
        put(grid::Flag77, com::Variant::i4(1));
        FONTDESC desc = ole::defaultFontDesc();
        desc.sWeight = 700;
        com::ComPtr<IFontDisp> font = ole::createFont(desc);
        if (font)
            put(grid::Font, com::Variant::dispatch(font.get()));
    }
    return true;
}

com::ComPtr<IDispatch> CalendarPopup::calendar() const
{
    return host_ ? host_->controlDispatch() : com::ComPtr<IDispatch>();
}

QWidget *CalendarPopup::calendarWidget() const
{
    return host_ ? host_->controlWidget() : nullptr;
}

void CalendarPopup::put(DISPID id, const VARIANT &v)
{
    if (com::ComPtr<IDispatch> d = calendar())
        com::dispPut(d.get(), id, v);
}

void CalendarPopup::putIndexed(DISPID id, SHORT index, const VARIANT &v)
{
    if (com::ComPtr<IDispatch> d = calendar())
        com::dispPut(d.get(), id, v, {com::Variant::i2(index)});
}

bool CalendarPopup::calendarDate(DATE *out) const
{
    com::ComPtr<IDispatch> d = calendar();
    if (!d)
        return false;
    com::Variant v;
    if (FAILED(com::dispGet(d.get(), onePiece_ ? one::Value : grid::Value, &v)))
        return false;
    com::Variant date;
    if (FAILED(VariantChangeType(&date, &v, 0, VT_R8)))
        return false;
    *out = date.dblVal;
    return true;
}

void CalendarPopup::open(const CalendarOpening &o)
{
    open_ = true;
    // What the calendar shows: months, names, letters (short texts completed from the defaults),
    // the selection colours.
    const QStringList letters = calendarWeekdayLetters(o.dows);
    const QStringList names = calendarMonthNames(o.months);
    const LONG inverse = LONG(~o.highlight & 0x00FFFFFF);
    if (onePiece_) {
        put(one::Months, com::Variant::i2(SHORT(code_)));
        if (o.months != kDefaultMonths)
            put(one::MonthNames, com::Variant::string(names.join(u'|')));
        put(one::DayLetters, com::Variant::string(letters.join(QString())));
        put(one::InverseHighlight, com::Variant::i4(inverse));
        put(one::Highlight, com::Variant::i4(LONG(o.highlight)));
    } else {
        put(grid::Months, com::Variant::i2(SHORT(code_ - 4 == 2 ? 3 : code_ - 4)));
        for (int i = 0; i < 12; ++i)
            putIndexed(grid::MonthName, SHORT(i), com::Variant::string(names[i]));
        for (int i = 0; i < 7; ++i)
            putIndexed(grid::DayLetter, SHORT(i), com::Variant::string(letters[i]));
        put(grid::InverseHighlight, com::Variant::i4(inverse));
        put(grid::Highlight, com::Variant::i4(LONG(o.highlight)));
    }

    setEnabled(true);
    if (QWidget *cal = calendarWidget())
        cal->setEnabled(true);
    put(onePiece_ ? one::Value : grid::Value, com::Variant::fromDate(o.date));

    // The calendar's size decides the popup's: it may be larger than asked for.
    QSize c = host_->size();
    if (QWidget *cal = calendarWidget())
        c = c.expandedTo(cal->minimumSizeHint()).expandedTo(cal->minimumSize());
    host_->resize(c);
    const QMargins m = frameFor(onePiece_);
    const QSize size(c.width() + m.left() + m.right(), c.height() + m.top() + m.bottom());
    host_->move(m.left(), m.top());

    QScreen *screen = QGuiApplication::screenAt(o.ownerScreenRect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int w = c.width(), h = c.height();
    int top = o.ownerScreenRect.bottom() + 1;
    if (top + h + 10 > area.bottom() + 1)
        top = o.ownerScreenRect.top() - h - 10;
    top = std::max(top, area.top() + 1);
    int left = o.ownerScreenRect.left();
    if (left + w + 11 > area.right() + 1)
        left = area.right() + 1 - w - 11;
    left = std::max(left, area.left() + 6);
    setGeometry(left, top, size.width(), size.height());

    closeCode_ = Open;
    datePicked_ = false;
    scrolled_ = false;
    hadFocus_ = false;
    show();
    raise();
    activateWindow();
    if (QWidget *cal = calendarWidget())
        cal->setFocus(Qt::PopupFocusReason);
    timer_.start();
}

void CalendarPopup::detach()
{
    onClosed_ = nullptr;
    owner_ = nullptr;
    timer_.stop();
    open_ = false;
    hide();
}

void CalendarPopup::forwardKey(const QKeyEvent *e)
{
    QWidget *target = focusWidget();
    if (!target || !isAncestorOf(target))
        target = calendarWidget();
    if (!target)
        return;
    QKeyEvent copy(e->type(), e->key(), e->modifiers(), e->nativeScanCode(), e->nativeVirtualKey(),
                   e->nativeModifiers(), e->text(), e->isAutoRepeat(), quint16(e->count()));
    QApplication::sendEvent(target, &copy);
}

void CalendarPopup::check()
{
    if (!open_) {
        timer_.stop();
        return;
    }
    // The focus left the calendar: a cancel, unless it went back to the owner after a commit.
    // Before the calendar had the focus, only a move to another widget is one.
    QWidget *focus = QApplication::focusWidget();
    QWidget *cal = calendarWidget();
    const bool onCalendar = focus && cal && (focus == cal || cal->isAncestorOf(focus));
    if (onCalendar)
        hadFocus_ = true;
    if (!onCalendar) {
        const bool ownerKeepsCommit = focus && focus == owner_ && closeCode_ == Commit;
        const bool notActiveYet = !hadFocus_ && (!focus || focus == owner_);
        if (!ownerKeepsCommit && !notActiveYet)
            closeCode_ = Cancel;
    }
    if (closeCode_ != Cancel && closeCode_ != Commit)
        return;
    timer_.stop();
    hide();
    if (QScreen *s = screen())
        move(x(), s->geometry().bottom() + 1);
    const int code = closeCode_;
    if (onClosed_) {
        QPointer<CalendarPopup> self(this);
        auto handler = onClosed_;
        ++busy_;
        handler(code);
        if (self)
            --busy_;
    } else {
        open_ = false;
    }
}

void CalendarPopup::handleKey(int key)
{
    switch (key) {
    case kVkTab:
        closeCode_ = Cancel;
        check();
        break;
    case kVkReturn: closeCode_ = Commit; break;
    case kVkControl:
    case kVkMenu:
    case kVkEscape: closeCode_ = Cancel; break;
    default: break;
    }
}

void CalendarPopup::calendarEvent(DISPID dispid, com::EventArgs &args)
{
    if (!open_)
        return;
    if (onePiece_) {
        if (dispid == one::ClickEvent)
            closeCode_ = Commit;
        else if (dispid == one::KeyDownEvent)
            handleKey(args.toInt(0));
        return;
    }
    switch (dispid) {
    case grid::DateEvent:
        if (scrolled_)
            scrolled_ = false;
        else
            datePicked_ = true;
        break;
    case grid::ScrollEvent: scrolled_ = true; break;
    case grid::MouseUpEvent:
        if (args.toInt(0) == 1 && datePicked_)
            closeCode_ = Commit;
        break;
    case grid::KeyDownEvent: handleKey(args.toInt(0)); break;
    default: break;
    }
}

void CalendarPopup::changeEvent(QEvent *e)
{
    // The activation hands the calendar the focus open() gave it; a loss before the next tick counts.
    if (e->type() == QEvent::ActivationChange && open_ && isActiveWindow())
        hadFocus_ = true;
    // A window manager may carry out the activation open() asked for after the popup closed
    // again (a quick Escape): the keys would go to a hidden window. They belong to the owner.
    if (e->type() == QEvent::ActivationChange && !open_ && !isVisible() && isActiveWindow() && owner_)
        owner_->activateWindow();
    QWidget::changeEvent(e);
}

void CalendarPopup::mousePressEvent(QMouseEvent *e)
{
    // A click on the popup beside the calendar cancels.
    if (e->button() == Qt::LeftButton && open_)
        closeCode_ = Cancel;
    QWidget::mousePressEvent(e);
}

void CalendarPopup::paintEvent(QPaintEvent *)
{
    // A dialog frame: light outer edge at the top and left, dark at the bottom and right.
    QPainter p(this);
    const QRect r = rect();
    p.setPen(QColor(255, 255, 255));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(64, 64, 64));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace lzdate
