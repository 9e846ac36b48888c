#pragma once
// The edit box of in-place label editing: laid over a group's header button or over an item's
// caption, pre-filled and fully selected. It handles its own keys (Enter accepts, Escape cancels;
// in a group edit not while Ctrl is held) and ends the edit without accepting when it loses the
// focus. Nothing outside the box watches the keyboard.
#include "../common.h"

#include <QLineEdit>

namespace navrail {

class LabelEditBox : public QLineEdit
{
    Q_OBJECT
public:
    enum Kind { GroupLabel, ItemLabel };
    LabelEditBox(Kind kind, NavrailControl *control, QWidget *parent);
    Kind kind() const { return kind_; }
    // The edit ended: the box no longer ends anything (it is hidden and deleted afterwards).
    void forget() { control_ = nullptr; }
    // The text read back, at most kMaxChars characters.
    QString readBack() const;
    static constexpr int kMaxChars = 999;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void end(bool accept);

    Kind kind_;
    NavrailControl *control_;
};

} // namespace navrail
