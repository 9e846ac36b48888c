#include "controlwidget.h"

#include "../control.h"

namespace navrail {

ControlWidget::ControlWidget(NavrailControl *control, QWidget *parent) : QWidget(parent), control_(control)
{
    setObjectName(QStringLiteral("LzNavrailBar"));
}

void ControlWidget::updateFrame(int borderWidth)
{
    const int b = qMax(0, borderWidth);
    setContentsMargins(b, b, b, b);
}

void ControlWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (control_)
        control_->controlResized();
}

} // namespace navrail
