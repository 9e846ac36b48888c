#pragma once
// The control's own window: holds the main splitter inside a border of BorderWidth pixels.
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

private:
    NavrailControl *control_;
};

} // namespace navrail
