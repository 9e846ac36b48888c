#include "DateEditWindow.h"

#include "LzDate2Control.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace lzdate {

DateEditWindow::DateEditWindow(LzDate2Control *control, QWidget *parent) : QWidget(parent), control_(control)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::IBeamCursor);
}

DateEditWindow::~DateEditWindow()
{
    if (control_)
        control_->windowDestroyed();
}

bool DateEditWindow::event(QEvent *e)
{
    // The window may go inside the event after all (its deferred deletion, a parent deleted).
    const QPointer<DateEditWindow> self(this);
    ++depth_;
    const bool handled = QWidget::event(e);
    if (self)
        --depth_;
    return handled;
}

QSize DateEditWindow::sizeHint() const
{
    if (!control_)
        return QWidget::sizeHint();
    return control_->naturalTextSize();
}

QSize DateEditWindow::minimumSizeHint() const
{
    // Layouts never squeeze the date below its whole text.
    if (!control_)
        return QWidget::minimumSizeHint();
    return control_->naturalTextSize();
}

void DateEditWindow::paintEvent(QPaintEvent *)
{
    if (!control_)
        return;
    QPainter p(this);
    control_->paint(p, rect());
}

void DateEditWindow::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    if (control_)
        control_->focusIn(e->reason() == Qt::MouseFocusReason);
}

void DateEditWindow::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    if (control_)
        control_->focusOut(e->reason() == Qt::PopupFocusReason);
}

void DateEditWindow::keyPressEvent(QKeyEvent *e)
{
    if (control_)
        control_->keyDown(e);
}

void DateEditWindow::keyReleaseEvent(QKeyEvent *e)
{
    if (control_)
        control_->keyUp(e);
}

void DateEditWindow::mousePressEvent(QMouseEvent *e)
{
    if (control_)
        control_->mouseDown(e);
}

void DateEditWindow::mouseReleaseEvent(QMouseEvent *e)
{
    if (control_)
        control_->mouseUp(e, rect().contains(e->position().toPoint()));
}

void DateEditWindow::mouseMoveEvent(QMouseEvent *e)
{
    if (!control_)
        return;
    const Qt::CursorShape shape = control_->overButton(e->position().toPoint()) ? Qt::ArrowCursor : Qt::IBeamCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
    control_->mouseMove(e);
}

void DateEditWindow::contextMenuEvent(QContextMenuEvent *e)
{
    if (control_)
        control_->contextMenu(e->globalPos());
}

void DateEditWindow::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (control_)
        control_->doubleClick(e);
}

} // namespace lzdate
