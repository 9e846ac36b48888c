#include "scrollarrow.h"

#include "barwindow.h"
#include "drawedge.h"

#include <QMouseEvent>
#include <QPainter>

namespace navrail {

ScrollArrowWidget::ScrollArrowWidget(int direction, BarWindow *bar, QWidget *parent)
    : QWidget(parent), direction_(direction), bar_(bar), repeat_(this)
{
    setObjectName(direction == ScrollArrow::Up ? QStringLiteral("lzScrollUp") : QStringLiteral("lzScrollDown"));
    setCursor(Qt::ArrowCursor);
    setMouseTracking(true);
    repeat_.setObjectName(QStringLiteral("autoRepeat"));
    repeat_.setInterval(kRepeatMs);
    connect(&repeat_, &QTimer::timeout, this, [this] { step(); });
    resize(16, 16);
}

void ScrollArrowWidget::step()
{
    if (!bar_)
        return;
    if (direction_ == ScrollArrow::Up)
        bar_->scrollItemsUp();
    else
        bar_->scrollItemsDown();
}

void ScrollArrowWidget::setLook(Look look)
{
    if (look_ != look) {
        look_ = look;
        update();
    }
}

void ScrollArrowWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, buttonFace());
    switch (look_) {
    case Look::Sunken: drawEdge(p, r, EdgeSunken); break;
    case Look::Raised: drawEdge(p, r, EdgeRaised); break;
    case Look::Normal:
    case Look::Left:
        drawEdge(p, r, pressed_ ? unsigned(SunkenInner) : unsigned(EdgeRaised));
        if (look_ == Look::Left) // leaving draws a thin raised edge over the face
            drawEdge(p, r, RaisedInner);
        break;
    }
    // The triangle in a 16 x 16 cell, one pixel right and down while pressed.
    const int d = pressed_ ? 1 : 0;
    QPolygon triangle;
    if (direction_ == ScrollArrow::Up)
        triangle << QPoint(7 + d, 5 + d) << QPoint(3 + d, 9 + d) << QPoint(11 + d, 9 + d);
    else
        triangle << QPoint(3 + d, 5 + d) << QPoint(11 + d, 5 + d) << QPoint(7 + d, 9 + d);
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    p.drawPolygon(triangle);
}

void ScrollArrowWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    look_ = Look::Normal;
    update();
    repeat_.start();
    QPointer<ScrollArrowWidget> self(this);
    step(); // one step at once
    if (self && isHidden())
        repeat_.stop();
}

void ScrollArrowWidget::mouseMoveEvent(QMouseEvent *event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (pressed_) {
        if (inside) {
            setLook(Look::Sunken);
        } else {
            // Dragged out: the repeat stops for good until the next press.
            setLook(Look::Raised);
            repeat_.stop();
        }
        return;
    }
    if (inside && !hover_) {
        hover_ = true;
        setLook(Look::Raised);
    }
}

void ScrollArrowWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    repeat_.stop();
    hover_ = rect().contains(event->position().toPoint());
    look_ = Look::Normal;
    update();
}

void ScrollArrowWidget::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!pressed_ && !hover_) {
        hover_ = true;
        setLook(Look::Raised);
    }
}

void ScrollArrowWidget::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!pressed_) {
        hover_ = false;
        setLook(Look::Left);
    }
}

void ScrollArrowWidget::hideEvent(QHideEvent *event)
{
    repeat_.stop();
    pressed_ = false;
    hover_ = false;
    look_ = Look::Normal;
    QWidget::hideEvent(event);
}

void ScrollArrow::create(QWidget *parent, BarWindow *bar)
{
    if (widget_)
        return;
    widget_ = new ScrollArrowWidget(id_, bar, parent);
    widget_->hide();
}

void ScrollArrow::destroy()
{
    if (widget_) {
        widget_->stopRepeat();
        widget_->forgetBar();
    }
    delete widget_.data();
    widget_ = nullptr;
}

void ScrollArrow::show(bool on)
{
    if (!widget_)
        return;
    if (!on)
        widget_->stopRepeat();
    widget_->setVisible(on);
}

} // namespace navrail
