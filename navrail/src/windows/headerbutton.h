#pragma once
// The header button of a group: a full-width button in the bar window that shows the group's
// text and makes the group current when clicked.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

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
    QPointer<QWidget> widget_;
};

} // namespace navrail
