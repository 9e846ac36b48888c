#pragma once
// The header button of a group: a full-width button in the bar window that shows the group's
// text and makes the group current when clicked.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class HeaderButton;

class HeaderButtonWidget : public QWidget
{
    Q_OBJECT
public:
    HeaderButtonWidget(HeaderButton *owner, QWidget *barWidget);
    // The button object goes before the widget (which is deleted later).
    void forgetOwner() { owner_ = nullptr; }
    bool isPressed() const { return pressed_; }
    bool isHeld() const { return held_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // What the last mouse action drew over the painted face.
    enum class Look { Face, Raised, Sunken };
    void setLook(Look look);
    // Sends a click notification (262 or 261) with the group's index to the bar.
    void notify(int code);

    HeaderButton *owner_;
    bool pressed_ = false;
    bool held_ = false;
    bool hover_ = false;
    Look look_ = Look::Face;
};

class HeaderButton
{
public:
    explicit HeaderButton(Group *group) : group_(group) {}
    ~HeaderButton() { destroy(); }
    HeaderButton(const HeaderButton &) = delete;
    HeaderButton &operator=(const HeaderButton &) = delete;

    Group *group() const { return group_; }
    bool create(QWidget *barWidget);
    void destroy();
    QWidget *window() const { return widget_; }
    // Repaints the button when it is visible (its text changed).
    void repaint();

private:
    Group *group_;
    QPointer<HeaderButtonWidget> widget_;
};

} // namespace navrail
