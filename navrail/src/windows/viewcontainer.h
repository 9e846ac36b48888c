#pragma once
// A view container of the results pane: shows a window handed in by an item (WindowObject1/2) or
// an embedded object (ActiveXObject1/2). The object exists from the control's construction on;
// its widget from the control's activation on.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class ViewContainer
{
public:
    enum Mode { Empty = 0, HostsWindow = 1, HostsObject = 2 };

    ViewContainer() = default;
    ~ViewContainer() { destroy(); }
    ViewContainer(const ViewContainer &) = delete;
    ViewContainer &operator=(const ViewContainer &) = delete;

    void setControl(NavrailControl *control) { control_ = control; }
    NavrailControl *control() const { return control_; }
    bool create(QWidget *parent);
    void destroy();
    QWidget *window() const { return widget_; }
    void show(bool on);
    // The Appearance inset changed.
    void updateFrame();
    void setUseChildWindows(bool on) { useChildWindows_ = on; }
    bool useChildWindows() const { return useChildWindows_; }
    Mode mode() const { return mode_; }
    void setMode(Mode mode) { mode_ = mode; }
    // What the container shows now.
    QWidget *hostedWindow() const { return hostedWindow_; }
    IDispatch *hostedObject() const { return hostedObject_.get(); }

private:
    NavrailControl *control_ = nullptr;
    QPointer<QWidget> widget_;
    QPointer<QWidget> hostedWindow_;
    ComPtr<IDispatch> hostedObject_;
    bool useChildWindows_ = false;
    Mode mode_ = Empty;
};

} // namespace navrail
