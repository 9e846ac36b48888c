#include "tabstrip.h"

namespace navrail {

bool TabStrip::create(QWidget *parent, LONG style)
{
    if (bar_)
        return true;
    parent_ = parent;
    style_ = (style & lzoVertical) ? (style | lzoMultiLine) : style;
    bar_ = new QTabBar(parent);
    bar_->setObjectName(QStringLiteral("lzTabStrip"));
    bar_->setGeometry(0, 0, 100, 100);
    return true;
}

void TabStrip::destroy()
{
    delete bar_.data();
    bar_ = nullptr;
}

void TabStrip::show(bool on)
{
    if (bar_)
        bar_->setVisible(on);
}

void TabStrip::insertTab(int position, const QString &text, LONG image)
{
    (void)image;
    if (bar_)
        bar_->insertTab(position, text);
}

void TabStrip::deleteTab(int position)
{
    if (bar_ && position >= 0 && position < bar_->count())
        bar_->removeTab(position);
}

int TabStrip::selection() const
{
    return bar_ ? bar_->currentIndex() : -1;
}

void TabStrip::select(int position)
{
    if (bar_)
        bar_->setCurrentIndex(position);
}

void TabStrip::rebuild(LONG style)
{
    const int selected = selection();
    const bool visible = bar_ && bar_->isVisible();
    QWidget *parent = parent_;
    destroy();
    create(parent, style);
    if (selected >= 0)
        select(selected);
    show(visible);
}

} // namespace navrail
