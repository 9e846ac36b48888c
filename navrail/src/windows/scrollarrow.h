#pragma once
// An up or down scroll arrow of the bar; shared by all groups and placed over the open group's
// pane at each layout. A press scrolls one step at once and one more every 200 ms while held.
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace navrail {

class BarWindow;

class ScrollArrowWidget : public QWidget
{
    Q_OBJECT
public:
    // The repeat period while the arrow is held, in milliseconds.
    static constexpr int kRepeatMs = 200;

    ScrollArrowWidget(int direction, BarWindow *bar, QWidget *parent);
    int direction() const { return direction_; }
    bool isPressed() const { return pressed_; }
    // Stops the auto-repeat.
    void stopRepeat() { repeat_.stop(); }
    // The bar goes before the widget.
    void forgetBar() { bar_ = nullptr; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // What the last mouse action drew over the painted face.
    enum class Look { Normal, Raised, Sunken, Left };
    // One step: the command to the pane, carried out by the bar.
    void step();
    void setLook(Look look);

    int direction_;
    BarWindow *bar_;
    QTimer repeat_; // "autoRepeat"
    bool pressed_ = false;
    bool hover_ = false;
    Look look_ = Look::Normal;
};

class ScrollArrow
{
public:
    enum Id { Up = 1, Down = 2 };
    explicit ScrollArrow(Id id) : id_(id) {}
    ~ScrollArrow() { destroy(); }
    ScrollArrow(const ScrollArrow &) = delete;
    ScrollArrow &operator=(const ScrollArrow &) = delete;

    Id id() const { return id_; }
    void create(QWidget *parent, BarWindow *bar = nullptr);
    void destroy();
    QWidget *window() const { return widget_; }
    // Shows or hides the arrow; hiding also stops its auto-repeat.
    void show(bool on);
    bool isShown() const { return widget_ && !widget_->isHidden(); }

private:
    Id id_;
    QPointer<ScrollArrowWidget> widget_;
};

} // namespace navrail
