#include "controlwidget.h"

#include "../control.h"
#include "../items.h"
#include "barwindow.h"
#include "drawedge.h"

#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace navrail {

ControlWidget::ControlWidget(NavrailControl *control, QWidget *parent) : QWidget(parent), control_(control)
{
    setObjectName(QStringLiteral("LzNavrailBar"));
}

void ControlWidget::updateFrame(int borderWidth)
{
    const int b = qMax(0, borderWidth);
    setContentsMargins(b, b, b, b);
    update();
}

void ControlWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (control_)
        control_->controlResized();
}

void ControlWidget::paintEvent(QPaintEvent *)
{
    // The border strips always take the button face, whatever BackColor says.
    const QRect inner = contentsRect();
    if (inner != rect()) {
        QPainter p(this);
        const QColor face = buttonFace();
        p.fillRect(QRect(0, 0, width(), inner.top()), face);
        p.fillRect(QRect(0, 0, inner.left(), height()), face);
        p.fillRect(QRect(0, inner.bottom() + 1, width(), height() - inner.bottom() - 1), face);
        p.fillRect(QRect(inner.right() + 1, 0, width() - inner.right() - 1, height()), face);
    }
    if (control_ && control_->pendingDisplay()) {
        control_->clearPendingDisplay();
        // Not from inside the paint: displaying moves and shows windows.
        QTimer::singleShot(0, this, [this] { displayPendingItem(); });
    }
}

void ControlWidget::displayPendingItem()
{
    if (!control_)
        return;
    if (ComPtr<Item> item = ComPtr<Item>(control_->bar().currentItem()))
        item->Display();
}

} // namespace navrail
