#pragma once
// The calendar popup of the date control: a top-level window under the field that hosts one of
// the two outside calendar controls, created through the component runtime by ProgID and driven
// only through their dispatch members. It opens on the control's request, closes with a commit
// or a cancel, and watches the focus with a 50 ms timer while it is open. The window system
// activates the popup when it gets round to it, which may take longer than a tick: until the
// calendar had the focus, the focus still standing on the owner (or nowhere) is no cancel.
#include "com/connpt.h"
#include "com/dispatch.h"

#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace ole {
class ControlContainer;
}

namespace lzdate {

// The ProgIDs of the two calendars.
inline constexpr char16_t kOnePieceCalendarProgId[] = u"LzCalendar.LzCalendarCtrl.1";
inline constexpr char16_t kGridCalendarProgId[] = u"LzATLCalendar.LzCalendar";

// What the popup passes to the calendar when it opens.
struct CalendarOpening
{
    QRect ownerScreenRect;   // the control's window on the screen
    DATE date = 0.0;         // the value, or now when the value is not valid
    QString dows;            // CalendarDOWs
    QString months;          // CalendarMonths
    OLE_COLOR highlight = 0; // HighlightColor
};

class CalendarPopup final : public QWidget
{
public:
    enum CloseCode { Open = 0, Cancel = 1, Commit = 2 };

    // Creates the popup with the calendar of an internal CalendarFormat code (0, 1, 3 the
    // one-piece calendar with one, three, six months; 4, 5, 6 the grid calendar). Null when the
    // code names no calendar or the calendar cannot be created.
    static CalendarPopup *create(int code);
    ~CalendarPopup() override;

    // Called when the popup closed (after the timer saw a close code): the owner's close handling.
    void setOnClosed(std::function<void(int closeCode)> handler) { onClosed_ = std::move(handler); }
    // The owner's window: the focus may stand there after a commit.
    void setOwner(QWidget *owner) { owner_ = owner; }

    bool isOpen() const { return open_; }
    void setClosed() { open_ = false; }
    int closeCode() const { return closeCode_; }
    void setCloseCode(int code) { closeCode_ = code; }
    bool onePiece() const { return onePiece_; }

    // The hosted calendar's dispatch interface (an extra reference); null without one.
    com::ComPtr<IDispatch> calendar() const;
    QWidget *calendarWidget() const;
    // The date the calendar shows; false when it cannot be read.
    bool calendarDate(DATE *out) const;

    // Passes the settings, shows the popup under (or above) the owner and gives the calendar the
    // focus; the timer starts.
    void open(const CalendarOpening &o);
    // The owner is gone: the popup is hidden and forgets it.
    void detach();
    // A key that reached the owner while the popup is open goes to the calendar's part that has
    // (or, before the window system activated the popup, is to get) the focus.
    void forwardKey(const QKeyEvent *e);
    // One tick of the focus watch (also run at once for Tab).
    void check();
    // The popup is running its owner's close handling.
    bool busy() const { return busy_ > 0; }

protected:
    void changeEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    CalendarPopup(int code);
    bool createCalendar();
    void calendarEvent(DISPID dispid, com::EventArgs &args);
    void handleKey(int key);
    void put(DISPID id, const VARIANT &v);
    void putIndexed(DISPID id, SHORT index, const VARIANT &v);

    int code_;
    bool onePiece_;
    ole::ControlContainer *host_ = nullptr;
    QTimer timer_;
    bool open_ = false;
    int closeCode_ = Open;
    bool datePicked_ = false; // grid calendar: a day was picked since opening
    bool scrolled_ = false;   // grid calendar: the months were scrolled
    bool hadFocus_ = false;   // the calendar had the focus since opening
    std::function<void(int)> onClosed_;
    QPointer<QWidget> owner_;
    int busy_ = 0;
};

} // namespace lzdate
