#include "headerbutton.h"

#include "../groups.h"
#include "barwindow.h"
#include "drawedge.h"
#include "ole/olecolor.h"

#include <QMouseEvent>
#include <QPainter>

namespace navrail {

HeaderButtonWidget::HeaderButtonWidget(HeaderButton *owner, QWidget *barWidget) : QWidget(barWidget), owner_(owner)
{
    setObjectName(QStringLiteral("lzNavrailButton"));
    setCursor(barCursor(204));
    setMouseTracking(true);
}

void HeaderButtonWidget::setLook(Look look)
{
    if (look_ != look) {
        look_ = look;
        update();
    }
}

void HeaderButtonWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, buttonFace());
    drawEdge(p, r, pressed_ ? SunkenInner : RaisedInner);
    Group *group = owner_ ? owner_->group() : nullptr;
    if (group && !group->text().isEmpty()) {
        BarWindow *bar = group->bar();
        p.setFont(bar ? bar->font(0) : font());
        p.setPen(sysColor(COLOR_BTNTEXT));
        const QRect textRect = pressed_ ? r.translated(2, 2) : r;
        const QString text =
            p.fontMetrics().elidedText(group->text(), Qt::ElideRight, textRect.width(), Qt::TextShowMnemonic);
        p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text);
    }
    if (look_ == Look::Raised)
        drawEdge(p, r, EdgeRaised);
    else if (look_ == Look::Sunken)
        drawEdge(p, r, EdgeSunken);
}

void HeaderButtonWidget::notify(int code)
{
    Group *group = owner_ ? owner_->group() : nullptr;
    BarWindow *bar = group ? group->bar() : nullptr;
    if (!bar)
        return;
    const LONG index = group->position();
    bar->onBarCommand(code, nullptr, nullptr, index);
}

void HeaderButtonWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    held_ = true;
    look_ = Look::Face;
    update();
}

void HeaderButtonWidget::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click is not a press of the button; its release still clicks.
}

void HeaderButtonWidget::mouseMoveEvent(QMouseEvent *event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (held_) {
        setLook(inside ? Look::Sunken : Look::Raised);
        return;
    }
    if (inside && !hover_) {
        hover_ = true;
        setLook(Look::Raised);
    }
}

void HeaderButtonWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        notify(barButtonRightClick);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // The click counts wherever the pointer is; the held flag goes with the button.
    pressed_ = false;
    held_ = false;
    hover_ = rect().contains(event->position().toPoint());
    look_ = Look::Face;
    update();
    notify(barButtonClick);
}

void HeaderButtonWidget::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!held_ && !hover_) {
        hover_ = true;
        setLook(Look::Raised);
    }
}

void HeaderButtonWidget::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!held_) {
        hover_ = false;
        setLook(Look::Face);
    }
}

bool HeaderButton::create(QWidget *barWidget)
{
    if (!widget_) {
        widget_ = new HeaderButtonWidget(this, barWidget);
        // Created at the top, bar wide, 25 high; the bar's layout places it.
        widget_->setGeometry(0, 0, barWidget->width(), 25);
        widget_->show();
    }
    return true;
}

void HeaderButton::destroy()
{
    if (widget_) {
        widget_->forgetOwner();
        widget_->hide();
        widget_->deleteLater();
    }
    widget_ = nullptr;
}

void HeaderButton::repaint()
{
    if (widget_ && widget_->isVisible())
        widget_->update();
}

} // namespace navrail
