#include "splitter.h"

#include "../control.h"
#include "barwindow.h"

namespace navrail {

bool Splitter::create(QWidget *parent)
{
    if (!widget_) {
        widget_ = new QWidget(parent);
        widget_->setObjectName(QStringLiteral("LZNAVRAILSPLITTER"));
        widget_->setGeometry(100, 100, 200, 200);
        widget_->show();
    }
    return true;
}

void Splitter::destroy()
{
    delete widget_.data();
    widget_ = nullptr;
}

void Splitter::setPanes(QWidget *topLeft, QWidget *topRight, QWidget *bottomLeft, QWidget *bottomRight)
{
    if (!topLeft)
        return;
    panes_[0] = topLeft;
    panes_[1] = topRight;
    panes_[2] = bottomLeft;
    panes_[3] = bottomRight;
    if (topRight && bottomLeft && bottomRight)
        mode_ = FourPanes;
    else if (topRight && bottomLeft)
        mode_ = ThreeTop;
    else if (bottomLeft && bottomRight)
        mode_ = ThreeBottom;
    else if (topRight)
        mode_ = SideBySide;
    else if (bottomLeft)
        mode_ = Stacked;
    else
        mode_ = Single;
}

void Splitter::setBarWidth(int width)
{
    barWidth_ = width;
    layout();
}

void Splitter::setX(int x)
{
    x_ = x;
    layout();
    if (bar_ && bar_->control())
        bar_->control()->events().paneWidthChanged(x_, rightWidth());
}

void Splitter::setY(int y)
{
    y_ = y;
    layout();
}

int Splitter::rightWidth() const
{
    if (mode_ != FourPanes && mode_ != SideBySide && mode_ != ThreeTop)
        return -1;
    const int width = widget_ ? widget_->width() : 0;
    return width - barWidth_ - x_;
}

void Splitter::layout()
{
    // Pane placement and the drawing of the bar belong to the splitter window.
}

} // namespace navrail
