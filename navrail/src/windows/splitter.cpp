#include "splitter.h"

#include "../control.h"
#include "barwindow.h"
#include "drawedge.h"
#include "resultspane.h"

#include <QMouseEvent>
#include <QPainter>

namespace navrail {

// ---- widget -------------------------------------------------------------------------------------

SplitterWidget::SplitterWidget(Splitter *splitter, QWidget *parent) : QWidget(parent), splitter_(splitter)
{
    setObjectName(QStringLiteral("LZNAVRAILSPLITTER"));
}

void SplitterWidget::paintEvent(QPaintEvent *)
{
    if (!splitter_)
        return;
    const QRect bar = splitter_->barRect();
    if (bar.isEmpty())
        return;
    QPainter p(this);
    p.fillRect(bar, buttonFace());
    // Only the flat look draws an edge on the bar's long sides.
    if (splitter_->appearance() == lzoFlat)
        drawEdge(p, bar, RaisedOuter,
                 splitter_->mode() == Splitter::SideBySide ? SideLeft | SideRight : SideTop | SideBottom);
}

void SplitterWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (splitter_)
        splitter_->layout();
}

void SplitterWidget::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (splitter_)
        splitter_->layout();
}

void SplitterWidget::mousePressEvent(QMouseEvent *event)
{
    if (splitter_ && event->button() == Qt::LeftButton)
        splitter_->pressAt(event->position().toPoint());
}

void SplitterWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (splitter_ && (event->buttons() & Qt::LeftButton))
        splitter_->dragTo(event->position().toPoint());
}

void SplitterWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (splitter_ && event->button() == Qt::LeftButton)
        splitter_->releaseAt(event->position().toPoint());
}

SplitterTracker::SplitterTracker(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("lzSplitterTracker"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void SplitterTracker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern)); // every other pixel
}

// ---- splitter -----------------------------------------------------------------------------------

bool Splitter::create(QWidget *parent)
{
    if (!widget_) {
        widget_ = new SplitterWidget(this, parent);
        widget_->setGeometry(100, 100, 200, 200);
        widget_->show();
        updateInput();
    }
    return true;
}

void Splitter::destroy()
{
    dragging_ = false;
    delete tracker_.data();
    tracker_ = nullptr;
    if (widget_)
        widget_->forgetSplitter();
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
    updateInput();
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

void Splitter::setLocked(bool locked)
{
    locked_ = locked;
    updateInput();
}

void Splitter::setAppearance(LONG appearance)
{
    appearance_ = appearance;
    if (widget_)
        widget_->update();
}

int Splitter::rightWidth() const
{
    if (mode_ != FourPanes && mode_ != SideBySide && mode_ != ThreeTop)
        return -1;
    const int width = widget_ ? widget_->width() : 0;
    return width - barWidth_ - x_;
}

QRect Splitter::barRect() const
{
    if (!widget_)
        return QRect();
    if (mode_ == SideBySide)
        return QRect(x_, 0, barWidth_, widget_->height());
    if (mode_ == Stacked)
        return QRect(0, y_, widget_->width(), barWidth_);
    return QRect();
}

void Splitter::place(QWidget *pane, const QRect &r)
{
    if (!pane)
        return;
    // Sizes below zero (a position past the client area) give an empty pane.
    QRect target(r.topLeft(), QSize(qMax(0, r.width()), qMax(0, r.height())));
    if (pane->parentWidget() == widget_->parentWidget())
        target.translate(widget_->pos());
    NavrailControl *control = bar_ ? bar_->control() : nullptr;
    if (control && pane == control->resultsPane().window())
        control->resultsPane().setGeometry(target);
    else
        pane->setGeometry(target);
}

void Splitter::layout()
{
    if (mode_ == None || !widget_)
        return;
    const int w = widget_->width(), h = widget_->height(), bw = barWidth_;
    // A position still at -1 starts half way, taken when a mode first uses it: a layout in a
    // mode without that bar (one pane, while the control is still being set up at a passing
    // size) must not fix it.
    const bool usesX = mode_ == SideBySide || mode_ == FourPanes || mode_ == ThreeTop || mode_ == ThreeBottom;
    const bool usesY = mode_ == Stacked || mode_ == FourPanes || mode_ == ThreeTop || mode_ == ThreeBottom;
    if (x_ == -1 && usesX)
        x_ = (w - bw) / 2;
    if (y_ == -1 && usesY)
        y_ = (h - bw) / 2;
    switch (mode_) {
    case Single: place(panes_[0], QRect(0, 0, w, h)); break;
    case SideBySide:
        place(panes_[0], QRect(0, 0, x_, h));
        place(panes_[1], QRect(x_ + bw, 0, w - bw - x_, h));
        break;
    case Stacked:
        place(panes_[0], QRect(0, 0, w, y_));
        place(panes_[2], QRect(0, y_ + bw, w, h - bw - y_));
        break;
    case FourPanes:
        place(panes_[0], QRect(0, 0, x_, y_));
        place(panes_[1], QRect(x_ + bw, 0, w - bw - x_, y_));
        place(panes_[2], QRect(0, y_ + bw, x_, h - bw - y_));
        place(panes_[3], QRect(x_ + bw, y_ + bw, w - bw - x_, h - bw - y_));
        break;
    case ThreeTop: // two panes above, one across the bottom
        place(panes_[0], QRect(0, 0, x_, y_));
        place(panes_[1], QRect(x_ + bw, 0, w - bw - x_, y_));
        place(panes_[2], QRect(0, y_ + bw, w, h - bw - y_));
        break;
    case ThreeBottom: // one across the top, two panes below
        place(panes_[0], QRect(0, 0, w, y_));
        place(panes_[2], QRect(0, y_ + bw, x_, h - bw - y_));
        place(panes_[3], QRect(x_ + bw, y_ + bw, w - bw - x_, h - bw - y_));
        break;
    case None: break;
    }
    updateInput();
    widget_->update();
}

void Splitter::updateInput()
{
    if (!widget_)
        return;
    const QRect bar = barRect();
    // Outside its bar, and everywhere while locked, the splitter lets the mouse through.
    widget_->setAttribute(Qt::WA_TransparentForMouseEvents, locked_ || bar.isEmpty());
    if (!bar.isEmpty())
        widget_->setMask(QRegion(bar));
    else
        widget_->clearMask();
    if (locked_)
        widget_->setCursor(Qt::ArrowCursor);
    else
        widget_->setCursor(barCursor(mode_ == SideBySide ? 205 : 203));
    widget_->raise();
}

void Splitter::pressAt(const QPoint &pos)
{
    if (locked_ || (mode_ != SideBySide && mode_ != Stacked) || !widget_)
        return;
    dragging_ = true;
    dragOffset_ = mode_ == SideBySide ? pos.x() - x_ : pos.y() - y_;
    dragStartRect_ = widget_->geometry();
    showTracker(mode_ == SideBySide ? x_ : y_);
}

void Splitter::dragTo(const QPoint &pos)
{
    if (!dragging_ || !widget_)
        return;
    int p = mode_ == SideBySide ? pos.x() : pos.y();
    if (mode_ == SideBySide) {
        p = qMin(p, widget_->width() - barWidth_);
        if (p < 0)
            p = 0;
    } else {
        p = qMin(p, widget_->height() - barWidth_);
        if (p < barWidth_)
            p = 0;
    }
    showTracker(p - dragOffset_);
}

void Splitter::releaseAt(const QPoint &pos)
{
    if (!dragging_ || !widget_)
        return;
    hideTracker();
    dragging_ = false;
    const int limit = (mode_ == SideBySide ? widget_->width() : widget_->height()) - barWidth_;
    int p = (mode_ == SideBySide ? pos.x() : pos.y()) - dragOffset_;
    p = qMin(p, limit);
    // Closer to the edge than the bar is wide: the pane closes.
    if (p < barWidth_)
        p = 0;
    if (mode_ == SideBySide)
        setX(p);
    else
        setY(p);
}

void Splitter::showTracker(int position)
{
    QWidget *parent = widget_ ? widget_->parentWidget() : nullptr;
    if (!parent)
        return;
    if (!tracker_)
        tracker_ = new SplitterTracker(parent);
    const int limit = (mode_ == SideBySide ? widget_->width() : widget_->height()) - barWidth_;
    position = qBound(0, position, qMax(0, limit));
    trackerRect_ = mode_ == SideBySide ? QRect(position, 0, barWidth_, widget_->height())
                                       : QRect(0, position, widget_->width(), barWidth_);
    tracker_->setGeometry(trackerRect_.translated(widget_->pos()));
    tracker_->show();
    tracker_->raise();
}

void Splitter::hideTracker()
{
    if (tracker_)
        tracker_->hide();
}

} // namespace navrail
