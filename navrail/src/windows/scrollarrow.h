#pragma once
// An up or down scroll arrow of the bar; shared by all groups and handed to the open group's pane
// at each layout.
#include <QPointer>
#include <QWidget>

namespace navrail {

class ScrollArrow
{
public:
    enum Id { Up = 1, Down = 2 };
    explicit ScrollArrow(Id id) : id_(id) {}
    ~ScrollArrow() { destroy(); }
    ScrollArrow(const ScrollArrow &) = delete;
    ScrollArrow &operator=(const ScrollArrow &) = delete;

    Id id() const { return id_; }
    void create(QWidget *parent);
    void destroy();
    QWidget *window() const { return widget_; }
    // Shows or hides the arrow; hiding also stops its auto-repeat.
    void show(bool on);
    bool isShown() const { return widget_ && !widget_->isHidden(); }

private:
    Id id_;
    QPointer<QWidget> widget_;
};

} // namespace navrail
