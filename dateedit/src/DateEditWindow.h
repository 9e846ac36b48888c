#pragma once
// The window of one date control: it shows the display text and hands focus, key and mouse
// events to the control object, which owns it.
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

protected:
    void paintEvent(QPaintEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    LzDate2Control *control_;
};

} // namespace lzdate
