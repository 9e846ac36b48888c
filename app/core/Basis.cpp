#include "core/Basis.h"

#include "forms/listgrid.h"

#include <QHBoxLayout>

namespace {

forms::ListGrid *neueListe(QWidget *parent, const QString &name, const QString &nr, const QString &bez)
{
    auto *grid = new forms::ListGrid(parent);
    grid->setObjectName(name);
    grid->top().setColumnCaption(0, nr);
    grid->top().setColumnCaption(1, bez);
    return grid;
}

} // namespace

Basis::Basis()
{
    tblFBasis = neueListe(this, QStringLiteral("tblFBasis"), QStringLiteral("FNr"), QStringLiteral("FName"));
    tblGBasis = neueListe(this, QStringLiteral("tblGBasis"), QStringLiteral("GNr"), QStringLiteral("GName"));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(tblFBasis);
    layout->addWidget(tblGBasis);
}
