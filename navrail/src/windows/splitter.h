#pragma once
// A splitter: lays out up to four pane windows around a movable bar. The control has two: the
// main splitter (bar window left, results pane right) and the second splitter (first view
// container above the second). The object exists from the control's construction on and keeps
// its values; its widget exists from the control's activation on.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class Splitter
{
public:
    // Layout modes chosen from the panes given.
    enum Mode { None = -1, Single = 1, FourPanes = 2, SideBySide = 4, Stacked = 8, ThreeBottom = 16, ThreeTop = 17 };

    explicit Splitter(BarWindow *bar) : bar_(bar) {}
    ~Splitter() { destroy(); }
    Splitter(const Splitter &) = delete;
    Splitter &operator=(const Splitter &) = delete;

    bool create(QWidget *parent);
    void destroy();
    QWidget *window() const { return widget_; }

    // Sets the panes (the top-left one must be given, else nothing changes) and picks the mode.
    void setPanes(QWidget *topLeft, QWidget *topRight = nullptr, QWidget *bottomLeft = nullptr,
                  QWidget *bottomRight = nullptr);
    Mode mode() const { return mode_; }
    void setBarWidth(int width);
    int barWidth() const { return barWidth_; }
    // Vertical split position (left pane width); setting it lays out and raises PaneWidthChanged.
    void setX(int x);
    int x() const { return x_; }
    // Horizontal split position (top pane height); setting it lays out.
    void setY(int y);
    int y() const { return y_; }
    void setLocked(bool locked) { locked_ = locked; }
    bool locked() const { return locked_; }
    void setAppearance(LONG appearance) { appearance_ = appearance; }
    LONG appearance() const { return appearance_; }
    void setDynamicResize(bool on) { dynamicResize_ = on; }
    bool dynamicResize() const { return dynamicResize_; }
    // Client width - bar width - x in the side-by-side modes, -1 otherwise.
    int rightWidth() const;
    // Moves and sizes the panes (nothing while no panes are set).
    void layout();

private:
    BarWindow *bar_;
    QPointer<QWidget> widget_;
    QPointer<QWidget> panes_[4];
    Mode mode_ = None;
    int barWidth_ = 6;
    int x_ = -1;
    int y_ = -1;
    bool locked_ = false;
    LONG appearance_ = lzoLight3D;
    bool dynamicResize_ = true;
};

} // namespace navrail
