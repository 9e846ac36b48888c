#pragma once
// The window of one date control: it shows the display text and hands focus, key and mouse
// events to the control object, which owns it. A host may destroy the control inside any of its
// events, while Qt is still working with this window (a focus change goes on with the widget
// after its focus-in event): the control then detaches the window, which goes at the next turn
// of the event loop instead of at once.
#include <QWidget>

namespace lzdate {

class LzDate2Control;

class DateEditWindow final : public QWidget
{
public:
    DateEditWindow(LzDate2Control *control, QWidget *parent);
    ~DateEditWindow() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Tab and Shift+Tab: the focus moves to the next or previous tab stop of the parent.
    void moveFocus(bool next) { focusNextPrevChild(next); }
    // The control lets go of its window: from now on events reach no control.
    void detach() { control_ = nullptr; }
    bool attached() const { return control_ != nullptr; }
    // An event of this window is being handled (the window must outlive it).
    bool handlingEvent() const { return depth_ > 0; }

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    LzDate2Control *control_;
    int depth_ = 0;
};

} // namespace lzdate
