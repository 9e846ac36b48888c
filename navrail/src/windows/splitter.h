#pragma once
// A splitter: lays out up to four pane windows around a movable bar. The control has two: the
// main splitter (bar window left, results pane right) and the second splitter (first view
// container above the second). The object exists from the control's construction on and keeps
// its values; its widget exists from the control's activation on.
//
// The panes are siblings of the splitter's widget (children of the same parent) and are placed in
// that parent's coordinates. The widget lies on top of them but takes the mouse only on its bar.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class Splitter;

class SplitterWidget : public QWidget
{
    Q_OBJECT
public:
    SplitterWidget(Splitter *splitter, QWidget *parent);
    // The splitter object goes before the widget.
    void forgetSplitter() { splitter_ = nullptr; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Splitter *splitter_;
};

// The outline that follows the pointer while the bar is dragged: a 50 % grey pattern drawn over
// the splitter's parent.
class SplitterTracker : public QWidget
{
    Q_OBJECT
public:
    explicit SplitterTracker(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

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
    // Locked: no dragging, the arrow cursor, and the mouse passes through the bar.
    void setLocked(bool locked);
    bool locked() const { return locked_; }
    void setAppearance(LONG appearance);
    LONG appearance() const { return appearance_; }
    void setDynamicResize(bool on) { dynamicResize_ = on; }
    bool dynamicResize() const { return dynamicResize_; }
    // Client width - bar width - x in the side-by-side modes, -1 otherwise.
    int rightWidth() const;
    // Moves and sizes the panes (nothing while no panes are set).
    void layout();

    // The bar's rectangle in the splitter's client area (empty outside modes 4 and 8).
    QRect barRect() const;
    bool isDragging() const { return dragging_; }

    // Mouse input of the widget (client coordinates).
    void pressAt(const QPoint &pos);
    void dragTo(const QPoint &pos);
    void releaseAt(const QPoint &pos);

private:
    // Places one pane at r (client coordinates of the splitter).
    void place(QWidget *pane, const QRect &r);
    // Mask, cursor and mouse transparency after a change of mode, lock or geometry.
    void updateInput();
    void showTracker(int position);
    void hideTracker();

    BarWindow *bar_;
    int dragOffset_ = 0;
    QPointer<SplitterTracker> tracker_;
    bool locked_ = false;
    LONG appearance_ = lzoLight3D;
    QRect dragStartRect_;
    QRect trackerRect_;
    bool dragging_ = false;
    QPointer<SplitterWidget> widget_;
    int y_ = -1;
    int x_ = -1;
    int barWidth_ = 6;
    Mode mode_ = None;
    QPointer<QWidget> panes_[4];
    bool dynamicResize_ = true;
};

} // namespace navrail
