#include "forms/keyfilter.h"
#include "forms/vbconst.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace forms {

int keyAsciiOf(const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (event.key()) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Tab:
    case Qt::Key_Delete: return 0; // X sends Delete with the text DEL (127): it types nothing
    default: break;
    }
    const QString text = event.text();
    if (text.size() != 1)
        return 0;
    const char16_t c = text.at(0).unicode();
    return c >= 32 ? int(c) : 0;
}

namespace {

class KeyPressFilter : public QObject
{
public:
    KeyPressFilter(QWidget *owner, KeyPressHandler handler) : QObject(owner), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const int original = keyAsciiOf(*key);
        if (original == 0)
            return false;
        int code = original;
        handler_(code);
        if (code == original)
            return false;
        if (code != 0) {
            if (auto *edit = qobject_cast<QLineEdit *>(watched))
                edit->insert(QString(QChar(char16_t(code))));
        }
        return true;
    }

private:
    KeyPressHandler handler_;
};

} // namespace

QObject *installKeyPress(QWidget *widget, KeyPressHandler handler)
{
    auto *filter = new KeyPressFilter(widget, std::move(handler));
    widget->installEventFilter(filter);
    return filter;
}

} // namespace forms
