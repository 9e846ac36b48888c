#include "forms/statusbar.h"
#include "forms/vbconst.h"

#include "common/vberror.h"

#include <QLabel>

namespace forms {

StatusBar::StatusBar(int panels, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (int i = 0; i < panels; ++i) {
        auto *label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        addWidget(label, 1);
        panels_.push_back(label);
    }
}

QLabel *StatusBar::panel(int index) const
{
    if (index < 1 || index > panelCount())
        throw vb::Error(35600, QStringLiteral("Index außerhalb des gültigen Bereichs"));
    return panels_[static_cast<std::size_t>(index - 1)];
}

QString StatusBar::panelText(int index) const
{
    return panel(index)->text();
}

void StatusBar::setPanelText(int index, const QString &text)
{
    panel(index)->setText(text);
}

void StatusBar::setPanelWidth(int index, int twips)
{
    panel(index)->setMinimumWidth(twipsToPixels(twips));
}

} // namespace forms
