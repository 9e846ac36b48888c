#pragma once
// A window's text-only toolbar: one button per key, found and dispatched by that key.
#include <QString>
#include <QToolBar>

#include <functional>
#include <initializer_list>

namespace forms {

// One toolbar button: its key (object name and data of its action), caption, tool tip and, where
// the window keeps the button as a member, that member, which gets the button's action (default
// none). An entry without a key ({}) is a separator line between its neighbours.
struct ToolKnopf
{
    const char *key;
    QString caption;
    QString tip;
    QAction **action = nullptr;
};

// Creates the toolbar "Toolbar1" of window with the buttons and separators in the given order; a
// click on a button calls onClick with its key.
QToolBar *toolbar(QWidget *window, std::initializer_list<ToolKnopf> knoepfe,
                  std::function<void(const QString &key)> onClick);

// The toolbar's button of a key, or nullptr (never a separator).
QAction *toolAction(const QToolBar &bar, const QString &key);

} // namespace forms
