#pragma once
// The pane of a group: lists the group's items; shown only while the group is the current one.
#include "../common.h"

#include <QWidget>

namespace navrail {

class GroupPaneWidget : public QWidget
{
    Q_OBJECT
public:
    GroupPaneWidget(Group *group, QWidget *barWidget);
    Group *group() const { return group_; }
    // The group goes away before the widget (which is deleted later).
    void forgetGroup() { group_ = nullptr; }

    // Mouse state of the pane.
    LONG hotItem = -1;
    bool pressed = false;
    bool buttonDown = false;

private:
    Group *group_;
};

} // namespace navrail
