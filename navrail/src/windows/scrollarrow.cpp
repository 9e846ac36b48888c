#include "scrollarrow.h"

namespace navrail {

void ScrollArrow::create(QWidget *parent)
{
    if (widget_)
        return;
    widget_ = new QWidget(parent);
    widget_->setObjectName(id_ == Up ? QStringLiteral("lzScrollUp") : QStringLiteral("lzScrollDown"));
    widget_->hide();
}

void ScrollArrow::destroy()
{
    delete widget_.data();
    widget_ = nullptr;
}

void ScrollArrow::show(bool on)
{
    if (widget_)
        widget_->setVisible(on);
}

} // namespace navrail
