#include "tabstrip.h"

#include "../tabs.h"
#include "ole/handles.h"
#include "ole/imagelist.h"

namespace navrail {

TabStrip::~TabStrip()
{
    *alive_ = false;
    destroy();
}

bool TabStrip::create(QWidget *parent, LONG style)
{
    if (bar_)
        return true;
    parent_ = parent;
    style_ = (style & lzoVertical) ? (style | lzoMultiLine) : style;
    ++quiet_;
    bar_ = new QTabBar(parent);
    bar_->setObjectName(QStringLiteral("lzTabStrip"));
    bar_->setGeometry(0, 0, 100, 100);
    bar_->hide();
    applyStyle();
    --quiet_;
    lastIndex_ = bar_->currentIndex();
    std::weak_ptr<bool> alive = alive_;
    QObject::connect(bar_.data(), &QTabBar::currentChanged, bar_.data(), [this, alive](int index) {
        const std::shared_ptr<bool> strip = alive.lock();
        if (!strip || !*strip)
            return;
        userChanged(index);
    });
    return true;
}

void TabStrip::destroy()
{
    QTabBar *bar = bar_.data();
    bar_ = nullptr;
    if (!bar)
        return;
    if (notifying_ > 0) {
        // The widget is still emitting the notification that runs the handler.
        bar->hide();
        bar->deleteLater();
    } else {
        delete bar;
    }
}

void TabStrip::applyStyle()
{
    if (!bar_)
        return;
    QTabBar::Shape shape;
    if (isVertical())
        shape = isBottomOrRight() ? QTabBar::RoundedEast : QTabBar::RoundedWest;
    else
        shape = isBottomOrRight() ? QTabBar::RoundedSouth : QTabBar::RoundedNorth;
    bar_->setShape(shape);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    bar_->setFocusPolicy((style_ & TabsCollection::kNoFocusStyle) ? Qt::NoFocus : Qt::TabFocus);
    bar_->setAttribute(Qt::WA_Hover, (style_ & lzoHotTracking) != 0);
    if (hasFont_ && !isVertical())
        bar_->setFont(qfont_);
}

void TabStrip::show(bool on)
{
    if (bar_)
        bar_->setVisible(on);
}

void TabStrip::move(const QRect &rect)
{
    if (bar_)
        bar_->setGeometry(rect);
}

void TabStrip::setImageList(LONG handle)
{
    imageList_ = handle;
    applyIcons();
}

void TabStrip::applyIcons()
{
    if (!bar_)
        return;
    const ole::Handle list = ole::Handle(imageList_);
    const bool valid = imageList_ != 0 && ole::imageListIsValid(list);
    if (valid)
        bar_->setIconSize(ole::imageListIconSize(list));
    for (int i = 0; i < bar_->count(); ++i) {
        const int image = bar_->tabData(i).toInt();
        const QPixmap pixmap = valid && image >= 0 ? ole::imageListImage(list, image) : QPixmap();
        bar_->setTabIcon(i, pixmap.isNull() ? QIcon() : QIcon(pixmap));
    }
}

void TabStrip::setFont(HFONT font)
{
    font_ = font;
    QFont f;
    if (font && ole::fontFromHandle(ole::Handle(font), &f))
        setFont(f);
}

void TabStrip::setFont(const QFont &font)
{
    qfont_ = font;
    hasFont_ = true;
    if (bar_ && !isVertical())
        bar_->setFont(font);
}

void TabStrip::insertTab(int position, const QString &text, LONG image)
{
    if (!bar_)
        return;
    ++quiet_;
    const int at = bar_->insertTab(position, text);
    bar_->setTabData(at, QVariant(int(image))); // kept for later image-list changes
    --quiet_;
    if (imageList_)
        applyIcons();
    lastIndex_ = bar_->currentIndex();
}

void TabStrip::deleteTab(int position)
{
    if (!bar_ || position < 0 || position >= bar_->count())
        return;
    ++quiet_;
    bar_->removeTab(position);
    --quiet_;
    lastIndex_ = bar_->currentIndex();
}

QRect TabStrip::tabRect(int position) const
{
    return bar_ ? bar_->tabRect(position) : QRect();
}

int TabStrip::thickness() const
{
    if (!bar_)
        return 0;
    const QRect first = bar_->count() > 0 ? bar_->tabRect(0) : QRect();
    const int extent = isVertical() ? first.width() : first.height();
    return rowCount() * extent + kThicknessExtra;
}

int TabStrip::selection() const
{
    return bar_ ? bar_->currentIndex() : -1;
}

void TabStrip::select(int position)
{
    if (!bar_)
        return;
    ++quiet_;
    bar_->setCurrentIndex(position);
    --quiet_;
    lastIndex_ = bar_->currentIndex();
}

void TabStrip::rebuild(LONG style)
{
    const int selected = selection();
    const bool visible = isShown();
    const QRect geometry = bar_ ? bar_->geometry() : QRect();
    QWidget *parent = parent_;
    destroy();
    create(parent, style);
    if (geometry.isValid())
        move(geometry);
    if (selected >= 0)
        select(selected);
    show(visible);
}

void TabStrip::setHandlers(ChangingHandler changing, ChangedHandler changed)
{
    changing_ = std::move(changing);
    changed_ = std::move(changed);
}

void TabStrip::userChanged(int index)
{
    if (quiet_ > 0 || !bar_) {
        lastIndex_ = bar_ ? bar_->currentIndex() : -1;
        return;
    }
    const int old = lastIndex_;
    if (old == index)
        return;
    std::shared_ptr<bool> alive = alive_;
    ++notifying_;
    const bool refused = changing_ ? changing_(old) : false;
    if (!*alive)
        return;
    if (refused) {
        --notifying_;
        if (bar_ && old < bar_->count())
            select(old);
        return;
    }
    lastIndex_ = index;
    if (changed_)
        changed_(index);
    if (*alive)
        --notifying_;
}

} // namespace navrail
