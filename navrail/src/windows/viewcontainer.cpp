#include "viewcontainer.h"

namespace navrail {

bool ViewContainer::create(QWidget *parent)
{
    if (!widget_) {
        widget_ = new QWidget(parent);
        widget_->setObjectName(QStringLiteral("lzNavrailContainer"));
        widget_->setGeometry(0, 0, 0, 0);
        widget_->show();
    }
    return true;
}

void ViewContainer::destroy()
{
    hostedObject_.reset();
    hostedWindow_ = nullptr;
    mode_ = Empty;
    delete widget_.data();
    widget_ = nullptr;
}

void ViewContainer::show(bool on)
{
    if (widget_)
        widget_->setVisible(on);
}

void ViewContainer::updateFrame()
{
    if (widget_)
        widget_->update();
}

} // namespace navrail
