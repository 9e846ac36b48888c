#include "viewcontainer.h"

#include "../control.h"
#include "ole/olecolor.h"
#include "ole/olecontrol.h"

#include <QPainter>

namespace navrail {

namespace {

QColor sysColor(int index)
{
    return ole::toQColor(GetSysColor(index));
}

// The container's frame width for an Appearance value.
int frameWidth(LONG appearance)
{
    return appearance == lzoHeavy3D ? 2 : appearance == lzoLight3D ? 1 : 0;
}

// One pixel of a sunken edge at the given inset: top and left in one colour, bottom and right in
// the other.
void drawEdge(QPainter &p, const QRect &r, int inset, const QColor &topLeft, const QColor &bottomRight)
{
    const QRect e = r.adjusted(inset, inset, -inset, -inset);
    if (e.width() <= 0 || e.height() <= 0)
        return;
    p.setPen(topLeft);
    p.drawLine(e.topLeft(), e.topRight());
    p.drawLine(e.topLeft(), e.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(e.bottomLeft(), e.bottomRight());
    p.drawLine(e.topRight(), e.bottomRight());
}

} // namespace

// ---- ContainerWidget -----------------------------------------------------------------------------

ContainerWidget::ContainerWidget(ViewContainer *owner, QWidget *parent) : QWidget(parent), owner_(owner)
{
    setObjectName(QStringLiteral("lzNavrailContainer"));
    setCursor(Qt::IBeamCursor);
}

ContainerWidget::~ContainerWidget()
{
    const QList<QWidget *> inside = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *w : inside) {
        w->hide();
        w->setParent(nullptr);
    }
}

void ContainerWidget::paintEvent(QPaintEvent *)
{
    if (!owner_)
        return;
    QPainter p(this);
    if (owner_->mode() == ViewContainer::Empty)
        p.fillRect(contentsRect(), sysColor(COLOR_BTNFACE));
    const NavrailControl *control = owner_->control();
    const LONG appearance = control ? control->appearance() : lzoFlat;
    if (appearance == lzoLight3D) {
        // A thin sunken inner edge.
        drawEdge(p, rect(), 0, sysColor(COLOR_3DDKSHADOW), sysColor(COLOR_3DLIGHT));
    } else if (appearance == lzoHeavy3D) {
        // A full sunken edge: the outer and the inner ring.
        drawEdge(p, rect(), 0, sysColor(COLOR_BTNSHADOW), sysColor(COLOR_BTNHIGHLIGHT));
        drawEdge(p, rect(), 1, sysColor(COLOR_3DDKSHADOW), sysColor(COLOR_3DLIGHT));
    }
}

void ContainerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (owner_)
        owner_->fit();
}

// ---- ViewContainer -------------------------------------------------------------------------------

bool ViewContainer::create(QWidget *parent)
{
    if (!widget_) {
        widget_ = new ContainerWidget(this, parent);
        widget_->setGeometry(0, 0, 0, 0);
        updateFrame();
        widget_->show();
    }
    return true;
}

void ViewContainer::destroy()
{
    if (widget_)
        widget_->forgetOwner();
    hostedObject_.reset();
    hostWindow_ = nullptr;
    objectWindow_ = nullptr;
    objectParent_ = nullptr;
    hostedWindow_ = nullptr;
    objectHosted_ = false;
    mode_ = Empty;
    delete widget_.data();
    widget_ = nullptr;
}

void ViewContainer::setMode(Mode mode)
{
    mode_ = mode;
    if (mode == Empty) {
        hostedWindow_ = nullptr;
        hostedObject_.reset();
        objectWindow_ = nullptr;
        objectHosted_ = false;
    }
    if (widget_)
        widget_->update();
}

void ViewContainer::show(bool on)
{
    if (!widget_)
        return;
    widget_->setVisible(on);
    if (mode_ == HostsWindow && holds(hostedWindow_)) {
        hostedWindow_->setVisible(on);
    } else if (mode_ == HostsObject && holds(objectWindow_)) {
        if (on) {
            objectWindow_->setGeometry(fitRect_.isValid() ? fitRect_ : widget_->contentsRect());
            objectWindow_->show();
        } else {
            objectWindow_->hide();
            objectWindow_->lower();
        }
    }
}

void ViewContainer::updateFrame()
{
    if (!widget_)
        return;
    const int b = frameWidth(control_ ? control_->appearance() : lzoFlat);
    widget_->setContentsMargins(b, b, b, b);
    fit();
    widget_->update();
}

bool ViewContainer::hostWindow(QWidget *window)
{
    if (!widget_ || !window)
        return false;
    // A window that holds the container (the control, the form around it) cannot go inside it.
    if (window == widget_.data() || window->isAncestorOf(widget_))
        return false;
    mode_ = HostsWindow;
    hostedWindow_ = window;
    hostedObject_.reset();
    objectWindow_ = nullptr;
    // As a child widget it has no caption and no sizing border; a pop-up (top-level) window is
    // turned into a child whatever UseChildWindows says, since only a child can lie inside the pane.
    if (window->parentWidget() != widget_.data() || window->isWindow())
        window->setParent(widget_, Qt::Widget);
    fit();
    window->show();
    widget_->update();
    return true;
}

void ViewContainer::hostObject(IDispatch *object)
{
    hostedObject_ = object;
    recordedClass_ = false;
    treeView_ = false;
    objectWindow_ = nullptr;
    objectParent_ = nullptr;
    hostWindow_ = nullptr;
    if (!object)
        return;
    ComPtr<IPersist> persist;
    CLSID clsid{};
    if (SUCCEEDED(object->QueryInterface(IPersist::iid, persist.putVoid())) && persist &&
        SUCCEEDED(persist->GetClassID(&clsid))) {
        recordedClass_ = clsid == kRecordedClass;
        treeView_ = clsid == kTreeViewClass;
    }
    ComPtr<IQtControl> control;
    if (FAILED(object->QueryInterface(IQtControl::iid, control.putVoid())) || !control || !widget_) {
        objectHosted_ = true; // an automation object without a widget: nothing to show
        return;
    }
    ComPtr<IControlSite> site;
    QWidget *host = nullptr;
    if (SUCCEEDED(control->GetSite(site.put())) && site && SUCCEEDED(site->GetContainerWidget(&host)))
        hostWindow_ = host;
    QWidget *own = nullptr;
    control->GetWidget(&own);
    // The control that owns this container cannot be shown inside it.
    if (own && (own == widget_.data() || own->isAncestorOf(widget_))) {
        objectHosted_ = true;
        return;
    }
    objectParent_ = own ? own->parentWidget() : nullptr;
    QWidget *placed = nullptr;
    if (SUCCEEDED(control->Activate(widget_, &placed)) && placed && !placed->isAncestorOf(widget_)) {
        if (placed->parentWidget() != widget_.data())
            placed->setParent(widget_, Qt::Widget);
        objectWindow_ = placed;
    }
    objectHosted_ = true;
}

void ViewContainer::detach()
{
    if (objectHosted_) {
        if (holds(objectWindow_)) {
            objectWindow_->hide();
            objectWindow_->setGeometry(QRect(objectWindow_->pos(), QSize(0, 0)));
        }
        objectHosted_ = false;
    }
    if (mode_ == HostsWindow && holds(hostedWindow_))
        hostedWindow_->hide();
}

void ViewContainer::fit()
{
    if (!widget_)
        return;
    fitRect_ = widget_->contentsRect();
    if (mode_ == HostsWindow && holds(hostedWindow_)) {
        hostedWindow_->setGeometry(fitRect_);
    } else if (mode_ == HostsObject && objectHosted_ && holds(objectWindow_)) {
        objectWindow_->raise();
        objectWindow_->setGeometry(fitRect_);
        objectWindow_->update();
    }
}

} // namespace navrail
