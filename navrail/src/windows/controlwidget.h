#pragma once
// The control's own window: holds the main splitter inside a border of BorderWidth pixels painted
// in the button-face colour.
#include "../common.h"

#include <QWidget>

namespace navrail {

class ControlWidget : public QWidget
{
    Q_OBJECT
public:
    ControlWidget(NavrailControl *control, QWidget *parent);
    NavrailControl *control() const { return control_; }
    // The control goes before its widget.
    void forgetControl() { control_ = nullptr; }
    // BorderWidth changed: the client area is inset by it on all four sides.
    void updateFrame(int borderWidth);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // After the first drawing, the item displayed before the window was shown goes into the
    // results pane.
    void displayPendingItem();

    NavrailControl *control_;
};

} // namespace navrail
