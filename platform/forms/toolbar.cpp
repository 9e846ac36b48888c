#include "forms/toolbar.h"

#include <QAction>

namespace forms {

QToolBar *toolbar(QWidget *window, std::initializer_list<ToolKnopf> knoepfe,
                  std::function<void(const QString &key)> onClick)
{
    auto *bar = new QToolBar(window);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const ToolKnopf &k : knoepfe) {
        if (!k.key) {
            bar->addSeparator();
            continue;
        }
        QAction *a = bar->addAction(k.caption);
        const QString key = QString::fromLatin1(k.key);
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(k.tip);
        QObject::connect(a, &QAction::triggered, bar, [onClick, key] { onClick(key); });
        if (k.action)
            *k.action = a;
    }
    return bar;
}

QAction *toolAction(const QToolBar &bar, const QString &key)
{
    for (QAction *a : bar.actions())
        if (!a->isSeparator() && a->objectName() == key)
            return a;
    return nullptr;
}

} // namespace forms
