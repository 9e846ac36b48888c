#pragma once
// Key-press handlers: the handler receives the character code of the key (KeyAscii) and may
// change it; 0 swallows the key, another code types that character instead.
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace forms {

// The character code of a key event (Backspace 8, Enter 13, Escape 27, printable characters
// by their code), or 0 for keys that type nothing (arrows, Delete, function keys).
int keyAsciiOf(const QKeyEvent &event);

using KeyPressHandler = std::function<void(int &keyAscii)>;

// Routes the character keys of an input widget (a QLineEdit or any widget that types text)
// through handler. The filter object belongs to the widget.
QObject *installKeyPress(QWidget *widget, KeyPressHandler handler);

} // namespace forms
