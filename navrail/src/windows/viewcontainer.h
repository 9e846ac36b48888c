#pragma once
// A view container of the results pane: shows a window handed in by an item (WindowObject1/2) or
// an embedded object (ActiveXObject1/2). The object exists from the control's construction on;
// its widget from the control's activation on.
//
// A hosted window becomes a child of the container and is fitted to its client area; a window
// that is replaced is hidden, never destroyed, and stays the caller's. An embedded object is a
// control of the in-process contract (ole/olecontrol.h): its widget is taken into the container
// with IQtControl::Activate, which creates it or moves it there. Plain automation objects have no
// widget and show nothing.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class ViewContainer;

// The container's window: a frame of the control's Appearance (0, 1 or 2 pixels) around the
// client area, which is filled with the button face while the container is empty.
class ContainerWidget : public QWidget
{
    Q_OBJECT
public:
    ContainerWidget(ViewContainer *owner, QWidget *parent);
    // Hands the windows inside back as hidden top-level widgets: they belong to the caller (or to
    // an object), and destroying the control, however it goes, must not destroy them.
    ~ContainerWidget() override;
    void forgetOwner() { owner_ = nullptr; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ViewContainer *owner_;
};

class ViewContainer
{
public:
    enum Mode { Empty = 0, HostsWindow = 1, HostsObject = 2 };

    // Class of objects recorded on hosting (changes nothing).
    static constexpr CLSID kRecordedClass = com::makeGuid("E9C9692E-F93C-11D1-ABB0-0040054FC6FB");
    // Class of tree-view objects that are given the item's ExplorerNode as SelectedNode.
    static constexpr CLSID kTreeViewClass = com::makeGuid("1416D7C8-8A28-11CF-9236-444553540000");

    ViewContainer() = default;
    ~ViewContainer() { destroy(); }
    ViewContainer(const ViewContainer &) = delete;
    ViewContainer &operator=(const ViewContainer &) = delete;

    void setControl(NavrailControl *control) { control_ = control; }
    NavrailControl *control() const { return control_; }
    bool create(QWidget *parent);
    // Destroys the widget; windows and object widgets still inside are handed back first.
    void destroy();
    QWidget *window() const { return widget_; }
    void show(bool on);
    // The Appearance inset changed.
    void updateFrame();
    void setUseChildWindows(bool on) { useChildWindows_ = on; }
    bool useChildWindows() const { return useChildWindows_; }
    Mode mode() const { return mode_; }
    // Mode 0 (empty) also forgets what was hosted; the other modes are set by the host functions.
    void setMode(Mode mode);
    // What the container shows now.
    QWidget *hostedWindow() const { return hostedWindow_; }
    IDispatch *hostedObject() const { return hostedObject_.get(); }
    bool objectHosted() const { return objectHosted_; }
    bool isTreeView() const { return treeView_; }

    // Mode 1: the window becomes a child of the container (no caption, no sizing border), is fitted
    // to the client area and shown. False (nothing changes) without a widget, or for a window that
    // contains the container itself.
    bool hostWindow(QWidget *window);
    // Records the object's class, takes its widget into the container and marks it hosted; the
    // caller then sets mode 2.
    void hostObject(IDispatch *object);
    // Hides what is hosted: an object's widget is hidden and sized to nothing, a window hidden.
    void detach();
    // Places what is hosted over the client area.
    void fit();
    // True when the widget lies inside this container's window.
    bool holds(const QWidget *w) const { return w && widget_ && w->parentWidget() == widget_.data(); }

private:
    NavrailControl *control_ = nullptr;
    ComPtr<IDispatch> hostedObject_;
    QPointer<QWidget> hostWindow_;   // the window of the object's container site
    QPointer<QWidget> objectWindow_; // the object's own widget
    QPointer<QWidget> objectParent_; // its parent before it was hosted
    bool recordedClass_ = false;
    bool treeView_ = false;
    bool useChildWindows_ = false;
    bool objectHosted_ = false;
    QPointer<QWidget> hostedWindow_;
    Mode mode_ = Empty;
    QPointer<ContainerWidget> widget_;
    QRect fitRect_;
};

} // namespace navrail
