#include "grouppane.h"

#include "../control.h"
#include "../groups.h"
#include "../items.h"
#include "barwindow.h"
#include "drawedge.h"
#include "ole/imagelist.h"
#include "ole/olecolor.h"
#include "ole/picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace navrail {

namespace {

constexpr int kTopMargin = 4;      // y of the first item; x of the small image
constexpr int kSmallCaptionX = 24; // small image width + 8
constexpr int kCaptionHeight = 20;
constexpr int kImageGap = 4;    // large image to caption
constexpr int kBandHeight = 60; // background band cleared behind each item
constexpr int kTextFlags = Qt::TextShowMnemonic;

// One-pixel frame with top and left in tl, right and bottom in br; corners inclusive.
void frame(QPainter &p, int l, int t, int r, int b, const QColor &tl, const QColor &br)
{
    p.fillRect(QRect(l, t, r - l, 1), tl);
    p.fillRect(QRect(l, t, 1, b - t), tl);
    p.fillRect(QRect(l, b, r - l + 1, 1), br);
    p.fillRect(QRect(r, t, 1, b - t + 1), br);
}

} // namespace

GroupPaneWidget::GroupPaneWidget(Group *group, QWidget *barWidget) : QWidget(barWidget), group_(group)
{
    setObjectName(QStringLiteral("lzNavrailGroup"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const int header = BarMetrics().headerHeight;
    setGeometry(0, header, barWidget->width(), qMax(0, barWidget->height() - header));
    hide();
}

QString GroupPaneWidget::singleLine(const QString &text)
{
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

bool GroupPaneWidget::labelEditOpen() const
{
    NavrailControl *c = group_ ? group_->control() : nullptr;
    return c && c->editedItem();
}

void GroupPaneWidget::endItemLabelEdit()
{
    NavrailControl *c = group_ ? group_->control() : nullptr;
    if (c && c->editedItem())
        c->bar().endItemLabelEdit(c->editedItem(), true);
}

int GroupPaneWidget::itemAt(const QPoint &pos) const
{
    if (!group_)
        return -1;
    BarWindow *bar = group_->bar();
    const BarMetrics m = bar ? bar->metrics() : BarMetrics();
    ItemsCollection *items = group_->items();
    const bool small = group_->imageMode() == lzoImageModeSmall;
    const int pitch = m.itemPitch(group_->imageMode());
    const QFontMetrics fm(bar ? bar->font(1) : font());
    int y = kTopMargin;
    for (int i = int(group_->firstVisibleItem()); i < items->count() && y <= height(); ++i, y += pitch) {
        QRect hit;
        if (small) {
            // From the image to the width of the caption, measured from x = 16.
            const int textWidth = fm.size(kTextFlags | Qt::TextSingleLine, singleLine(items->at(i)->text())).width();
            hit = QRect(kTopMargin, y, m.smallIcon + textWidth - kTopMargin, m.smallIcon);
        } else {
            // Only the image column counts, down to the caption's end.
            hit = QRect((width() - m.largeIcon) / 2, y, m.largeIcon, m.largeIcon + m.largeCaption + m.largeGap);
        }
        if (hit.contains(pos))
            return i;
    }
    return -1;
}

void GroupPaneWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    NavrailControl *c = group_ ? group_->control() : nullptr;
    if (!c) {
        p.fillRect(rect(), sysColor(COLOR_APPWORKSPACE));
        return;
    }
    BarWindow &bar = c->bar();
    const BarMetrics &m = bar.metrics();
    const BarImageLists &lists = bar.imageLists();
    const int w = width(), h = height();

    // Background: the group's picture stretched, else the group's colour, else the control's.
    const QPixmap picture = group_->picture() ? ole::pixmapFromPicture(group_->picture()) : QPixmap();
    const bool hasPicture = !picture.isNull();
    const OLE_COLOR backOle = group_->backColor() != Group::kColorNotSet ? group_->backColor() : c->backColor();
    const OLE_COLOR textOle = group_->textColor() != Group::kColorNotSet ? group_->textColor() : c->textColor();
    const QColor back = ole::colorFromOle(backOle, sysColor(COLOR_APPWORKSPACE));
    const QColor text = ole::colorFromOle(textOle, Qt::black);
    if (hasPicture)
        p.drawPixmap(rect(), picture);
    else
        p.fillRect(rect(), back);
    p.fillRect(QRect(0, 0, w, 1), Qt::black);

    const bool small = group_->imageMode() == lzoImageModeSmall;
    const int pitch = m.itemPitch(group_->imageMode());
    const LONG ownList = small ? group_->smallImageList() : group_->largeImageList();
    p.setFont(bar.font(1));
    p.setPen(text);
    const QFontMetrics fm = p.fontMetrics();
    ItemsCollection *items = group_->items();
    int y = kTopMargin;
    for (int i = int(group_->firstVisibleItem()); i < items->count() && y <= h; ++i, y += pitch) {
        Item *item = items->at(i);
        if (!hasPicture)
            p.fillRect(QRect(0, y, w, kBandHeight), back);
        const int state = i == hotItem ? hotState : 0;
        // The group's own list draws every state; the control's lists have hot and active faces.
        LONG list = ownList;
        if (!list) {
            if (state == 0)
                list = small ? lists.small : lists.large;
            else if (state == 1)
                list = small ? lists.smallHot : lists.largeHot;
            else {
                list = small ? lists.smallActive : lists.largeActive;
                if (!list)
                    list = small ? lists.smallHot : lists.largeHot;
            }
        }
        const QPoint origin = small ? QPoint(kTopMargin, y) : QPoint((w - m.largeIcon) / 2, y);
        ole::imageListDraw(ole::Handle(list), int(item->image()), p, origin.x(), origin.y(), ole::ILD_TRANSPARENT);

        if (state != 0) {
            const QColor light(192, 192, 192);
            const QColor dark(Qt::black);
            const int size = small ? m.smallIcon : m.largeIcon;
            const int l = origin.x() - (small ? 2 : 1), t = origin.y() - (small ? 2 : 1);
            const int r = origin.x() + size + 2, b = origin.y() + size + 2;
            if (state == 1)
                frame(p, l, t, r, b, light, dark);
            else
                frame(p, l, t, r, b, dark, light);
        }

        const QString caption = item->text();
        if (caption.isEmpty())
            continue;
        if (small) {
            const QRect band(kSmallCaptionX, y, qMax(0, w - kSmallCaptionX), kCaptionHeight);
            const QString line = fm.elidedText(singleLine(caption), Qt::ElideRight, band.width(), kTextFlags);
            p.save();
            p.setClipRect(band);
            p.drawText(band, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | kTextFlags, line);
            p.restore();
        } else {
            // Centred under the image; a caption of two lines (CR LF) shows both.
            int lineTop = y + m.largeIcon + kImageGap;
            for (const QString &part : caption.split(QLatin1String("\r\n"))) {
                const QString line = fm.elidedText(part, Qt::ElideRight, w, kTextFlags);
                p.drawText(QRect(0, lineTop, w, kCaptionHeight),
                           Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | kTextFlags, line);
                lineTop += fm.lineSpacing();
            }
        }
    }
    if (!hasPicture && y < h)
        p.fillRect(QRect(0, y, w, h - y), back);
}

void GroupPaneWidget::setHot(LONG item, int state)
{
    if (hotItem != item || hotState != state) {
        hotItem = item;
        hotState = state;
        update();
    }
}

void GroupPaneWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    endItemLabelEdit();
    if (BarWindow *bar = group_ ? group_->bar() : nullptr)
        bar->updateScrollArrows();
}

void GroupPaneWidget::mousePressEvent(QMouseEvent *event)
{
    endItemLabelEdit();
    if (event->button() != Qt::LeftButton || !group_)
        return;
    const int hit = itemAt(event->position().toPoint());
    if (hit < 0)
        return;
    pressed = true;
    buttonDown = true;
    setHot(hit, 2);
}

void GroupPaneWidget::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click is no press of an item; its release clicks again.
}

void GroupPaneWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!group_ || labelEditOpen())
        return;
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        // Dragged out while a button is held: the pane lets go.
        buttonDown = false;
        if (hotItem >= 0)
            setHot(hotItem, 0);
        return;
    }
    const int hit = itemAt(pos);
    if (hit < 0) {
        if (hotItem >= 0)
            setHot(-1, 0);
    } else if (hit != hotItem) {
        setHot(hit, 1);
    }
}

void GroupPaneWidget::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!group_ || labelEditOpen())
        return;
    buttonDown = false;
    if (hotItem >= 0)
        setHot(hotItem, 0);
}

void GroupPaneWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // A release outside the pane is not the pane's: it let go when the pointer left.
    if (!group_ || !rect().contains(pos))
        return;
    ComPtr<Group> group(group_);
    BarWindow *bar = group->bar();
    if (!bar)
        return;
    const int hit = itemAt(pos);
    ComPtr<Item> item(hit >= 0 ? group->items()->at(hit) : nullptr);
    if (event->button() == Qt::LeftButton) {
        buttonDown = false;
        if (item) {
            pressed = false;
            setHot(hit, 1);
            bar->onBarCommand(barItemClick, group.get(), item.get());
        } else {
            bar->setCurrentItem(nullptr);
            bar->onBarCommand(barPaneClick, group.get(), nullptr);
        }
    } else if (event->button() == Qt::RightButton) {
        if (item) {
            pressed = false;
            bar->setCurrentItem(item.get());
            bar->onBarCommand(barItemRightClick, group.get(), item.get());
        } else {
            bar->setCurrentItem(nullptr);
            bar->onBarCommand(barPaneRightClick, group.get(), nullptr);
        }
    }
}

} // namespace navrail
