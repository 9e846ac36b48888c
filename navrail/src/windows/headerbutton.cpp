#include "headerbutton.h"

namespace navrail {

bool HeaderButton::create(QWidget *barWidget)
{
    if (!widget_) {
        widget_ = new QWidget(barWidget);
        widget_->setObjectName(QStringLiteral("lzNavrailButton"));
        widget_->show();
    }
    return true;
}

void HeaderButton::destroy()
{
    if (widget_) {
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
