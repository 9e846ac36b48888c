#include "DateEditWindow.h"

#include "LzDate2Control.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

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
    control_->windowDestroyed();
}

QSize DateEditWindow::sizeHint() const
{
    return control_->naturalTextSize();
}

QSize DateEditWindow::minimumSizeHint() const
{
    // Layouts never squeeze the date below its whole text.
    return control_->naturalTextSize();
}

void DateEditWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    control_->paint(p, rect());
}

void DateEditWindow::focusInEvent(QFocusEvent *e)
{
    QWidget::focusInEvent(e);
    control_->focusIn(e->reason() == Qt::MouseFocusReason);
}

void DateEditWindow::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    control_->focusOut();
}

void DateEditWindow::keyPressEvent(QKeyEvent *e)
{
    control_->keyDown(e);
}

void DateEditWindow::keyReleaseEvent(QKeyEvent *e)
{
    control_->keyUp(e);
}

void DateEditWindow::mousePressEvent(QMouseEvent *e)
{
    control_->mouseDown(e);
}

void DateEditWindow::mouseReleaseEvent(QMouseEvent *e)
{
    control_->mouseUp(e, rect().contains(e->position().toPoint()));
}

void DateEditWindow::mouseMoveEvent(QMouseEvent *e)
{
    const Qt::CursorShape shape = control_->overButton(e->position().toPoint()) ? Qt::ArrowCursor : Qt::IBeamCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
    control_->mouseMove(e);
}

void DateEditWindow::mouseDoubleClickEvent(QMouseEvent *e)
{
    control_->doubleClick(e);
}

} // namespace lzdate
