#pragma once
// For tests of what a user sees: the controls of a shown window or property page that do not
// show whole. Header only; the test program links Qt Widgets.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

namespace vbtest {

// Every visible label, button (check boxes and option buttons included), entry list, frame and
// text box of window, and every widget that inherits one of alsoClasses (a class name such as
// "forms::ListGrid"), that is smaller than the least size it asks for (a text cut, a field
// squeezed) or reaches beyond the window's edge, one line each ("lblGesStd: 60 x 8, needs
// 60 x 17"). The parts of item views and scroll areas and the text box inside an entry list are
// judged with their owner. Empty when everything shows whole.
inline std::vector<std::string> cutControls(const QWidget &window, const QStringList &alsoClasses = {})
{
    std::vector<std::string> found;
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        bool kind = qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w) ||
                    qobject_cast<const QComboBox *>(w) || qobject_cast<const QGroupBox *>(w) ||
                    (qobject_cast<const QLineEdit *>(w) && !qobject_cast<const QComboBox *>(w->parentWidget()));
        for (const QString &c : alsoClasses)
            kind = kind || w->inherits(c.toLatin1().constData());
        const QWidget *parent = w->parentWidget();
        if (!kind || qobject_cast<const QAbstractItemView *>(parent) ||
            (parent && parent->inherits("QAbstractScrollArea")))
            continue;
        QString name = w->objectName();
        if (name.isEmpty()) {
            if (auto *l = qobject_cast<const QLabel *>(w))
                name = l->text();
            else if (auto *b = qobject_cast<const QAbstractButton *>(w))
                name = b->text();
            else if (auto *g = qobject_cast<const QGroupBox *>(w))
                name = g->title();
            else
                name = QString::fromLatin1(w->metaObject()->className());
        }
        const QSize needs = w->minimumSizeHint().expandedTo(w->minimumSize());
        if (w->width() < needs.width() || w->height() < needs.height())
            found.push_back(QStringLiteral("%1: %2 x %3, needs %4 x %5")
                                .arg(name)
                                .arg(w->width())
                                .arg(w->height())
                                .arg(needs.width())
                                .arg(needs.height())
                                .toStdString());
        const QRect inWindow(w->mapTo(&window, QPoint(0, 0)), w->size());
        if (!window.rect().contains(inWindow))
            found.push_back(QStringLiteral("%1: beyond the window's edge").arg(name).toStdString());
    }
    return found;
}

} // namespace vbtest
