#include "ole/menu.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

namespace ole {

namespace {
constexpr char kIdProperty[] = "ole.menuItemId";
} // namespace

QAction *appendMenuItem(QMenu *menu, UINT id, const QString &text)
{
    if (!menu)
        return nullptr;
    QAction *action = text.isEmpty() ? menu->addSeparator() : menu->addAction(text);
    action->setProperty(kIdProperty, uint(id));
    return action;
}

UINT menuItemId(const QAction *action)
{
    return action ? UINT(action->property(kIdProperty).toUInt()) : 0;
}

QAction *findMenuItem(const QMenu *menu, UINT id)
{
    if (!menu)
        return nullptr;
    for (QAction *a : menu->actions())
        if (menuItemId(a) == id)
            return a;
    return nullptr;
}

bool removeMenuItem(QMenu *menu, UINT id)
{
    QAction *a = findMenuItem(menu, id);
    if (!a)
        return false;
    menu->removeAction(a);
    if (a->parent() == menu)
        delete a;
    return true;
}

UINT trackPopupMenu(QMenu *menu, const QPoint &globalPos)
{
    if (!menu || menu->actions().isEmpty())
        return 0;
    return menuItemId(menu->exec(globalPos));
}

} // namespace ole
