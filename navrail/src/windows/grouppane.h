#pragma once
// The pane of a group: lists the group's items (image and caption, large or small) from the
// group's first visible item on; shown only while the group is the current one. It tracks the item
// under the mouse, frames it raised (hot) or sunken (pressed), and reports clicks to the bar.
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

    // The item at a point of the pane, -1 for none.
    int itemAt(const QPoint &pos) const;

    // Mouse state of the pane.
    LONG hotItem = -1;
    bool pressed = false;
    bool buttonDown = false;
    // How the hot item is drawn: 0 normal, 1 hot (raised frame), 2 pressed (sunken frame).
    int hotState = 0;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // The caption as one line (small icons).
    static QString singleLine(const QString &text);
    void setHot(LONG item, int state);
    void endItemLabelEdit();
    bool labelEditOpen() const;

    Group *group_;
};

} // namespace navrail
