// In-place label editing of group headers and item captions (the BarWindow's part of it).
#include "labeledit.h"

#include "../control.h"
#include "../groups.h"
#include "../items.h"
#include "barwindow.h"
#include "headerbutton.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

namespace navrail {

namespace {
constexpr int kTopMargin = 4;      // y of the first item of a pane
constexpr int kSmallCaptionX = 24; // small image width + 8
constexpr int kCaptionHeight = 20;
constexpr int kImageGap = 4;
} // namespace

// ==== LabelEditBox ================================================================================

LabelEditBox::LabelEditBox(Kind kind, NavrailControl *control, QWidget *parent)
    : QLineEdit(parent), kind_(kind), control_(control)
{
    setObjectName(QStringLiteral("lzNavrailLabelEdit"));
    setFrame(true);
}

QString LabelEditBox::readBack() const
{
    QString t = text();
    if (t.size() > kMaxChars) {
        t.truncate(kMaxChars);
        if (t.back().isHighSurrogate())
            t.chop(1);
    }
    return t;
}

void LabelEditBox::end(bool accept)
{
    NavrailControl *c = control_;
    if (!c)
        return;
    ComPtr<ILzNavrailBar> keep(c);
    if (kind_ == GroupLabel)
        c->bar().endGroupLabelEdit(c->editedGroup(), accept);
    else
        c->bar().endItemLabelEdit(c->editedItem(), accept);
}

void LabelEditBox::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    // A group edit lets Enter and Escape through while Ctrl is held.
    const bool ctrl = kind_ == GroupLabel && (event->modifiers() & Qt::ControlModifier);
    if ((enter || escape) && control_ && !ctrl) {
        event->accept();
        end(enter);
        return;
    }
    QLineEdit::keyPressEvent(event);
    // Keys the box does not use stay in the box, as they do in an edit window.
    event->accept();
}

void LabelEditBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A popup menu over the box does not take the focus away from it.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    end(false);
}

// ==== BarWindow: starting and ending an edit ======================================================

void BarWindow::startGroupLabelEdit(Group *group)
{
    NavrailControl *c = control_;
    if (!c || !group || group->control() != c || group->position() < 0)
        return;
    ComPtr<ILzNavrailBar> keepControl(c);
    ComPtr<Group> keep(group);
    if (Group *open = c->editedGroup())
        endGroupLabelEdit(open, true);
    if (c->editedGroup() || c->editedItem())
        return;
    // Without windows there is nothing to edit in.
    if (!group->button() || !group->button()->window())
        return;
    if (c->events().beforeGroupLabelEdit(group))
        return;
    // The handler may have removed the group or opened another edit.
    if (group->position() < 0 || c->editedGroup() || c->editedItem() || !group->button() || !group->button()->window())
        return;
    QWidget *button = group->button()->window();
    auto *box = new LabelEditBox(LabelEditBox::GroupLabel, c, button);
    box->setGeometry(button->rect());
    box->setText(group->text());
    c->setLabelEdit(group, nullptr, box);
    box->selectAll();
    box->setFont(font(0));
    box->show();
    box->setFocus(Qt::OtherFocusReason);
}

void BarWindow::endGroupLabelEdit(Group *group, bool accept)
{
    NavrailControl *c = control_;
    if (!c || !group || c->editedGroup() != group)
        return;
    ComPtr<ILzNavrailBar> keepControl(c);
    ComPtr<Group> keep(group);
    // The edit is forgotten first: whatever the After handler does (moving the focus, ending the
    // edit again), the event fires once.
    QPointer<LabelEditBox> box = c->takeLabelEdit();
    if (box)
        box->forget();
    const QString old = group->text();
    group->setText(box ? box->readBack() : old);
    if (group->button())
        group->button()->repaint();
    const bool vetoed = c->events().afterGroupLabelEdit(group);
    if (vetoed || !accept) {
        group->setText(old);
        if (group->button())
            group->button()->repaint();
    }
    if (box) {
        box->hide();
        box->deleteLater();
    }
}

void BarWindow::startItemLabelEdit(Item *item)
{
    NavrailControl *c = control_;
    if (!c || !item || item->control() != c || item->position() < 0)
        return;
    ComPtr<ILzNavrailBar> keepControl(c);
    ComPtr<Item> keep(item);
    if (c->editedItem() || c->editedGroup())
        return;
    ComPtr<Group> group(item->group());
    if (!group || !group->pane())
        return; // no windows yet
    if (c->events().beforeItemLabelEdit(group.get(), item))
        return;
    if (item->position() < 0 || item->group() != group.get() || c->editedItem() || c->editedGroup())
        return;
    item->EnsureVisible();
    // The item must now be on the open pane (a handler may have vetoed the group change).
    QWidget *pane = group->pane();
    const int i = item->position();
    const LONG first = group->firstVisibleItem();
    if (!pane || i < 0 || group->position() != currentGroupIndex() || i < first)
        return;
    const int top = kTopMargin + int(i - first) * metrics_.itemPitch(group->imageMode());
    const QFontMetrics fm(font(1));
    int tw = fm.horizontalAdvance(item->text());
    const int pw = pane->width();
    QRect r;
    if (group->imageMode() == lzoImageModeSmall) {
        const int width = kSmallCaptionX + tw > pw ? tw - kSmallCaptionX + 6 : tw + 6;
        r = QRect(kSmallCaptionX, top - 4, width, kCaptionHeight);
    } else {
        if (tw > pw - 6)
            tw = pw - 6;
        const int width = tw + 6;
        r = QRect((pw - (width - 6)) / 2 - 4, top + metrics_.largeIcon + kImageGap, width, kCaptionHeight);
    }
    auto *box = new LabelEditBox(LabelEditBox::ItemLabel, c, pane);
    box->setGeometry(r);
    box->setText(item->text());
    c->setLabelEdit(nullptr, item, box);
    box->setFont(font(1));
    box->selectAll();
    box->show();
    box->setFocus(Qt::OtherFocusReason);
}

void BarWindow::endItemLabelEdit(Item *item, bool accept)
{
    NavrailControl *c = control_;
    if (!c || !item || c->editedItem() != item)
        return;
    ComPtr<ILzNavrailBar> keepControl(c);
    ComPtr<Item> keep(item);
    ComPtr<Group> group(item->group());
    QPointer<LabelEditBox> box = c->takeLabelEdit();
    if (box)
        box->forget();
    const QString old = item->text();
    item->setText(box ? box->readBack() : old);
    if (group)
        group->repaintPane();
    const bool vetoed = c->events().afterItemLabelEdit(group.get(), item);
    if (vetoed || !accept)
        item->setText(old);
    if (box) {
        box->hide();
        box->deleteLater();
    }
    if (group)
        group->repaintPane();
}

} // namespace navrail
