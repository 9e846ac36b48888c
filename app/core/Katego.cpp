#include "core/Katego.h"
#include "core/modRun.h"

#include "forms/listgrid.h"

#include <QVBoxLayout>

Katego::Katego()
{
    setWindowTitle(QStringLiteral("Kategorien"));
    auto *layout = new QVBoxLayout(this);
    tblKatego = new forms::ListGrid(this);
    tblKatego->setObjectName(QStringLiteral("tblKatego"));
    tblKatego->top().setColumnCount(2);
    tblKatego->top().setColumnCaption(0, QStringLiteral("Nr."));
    tblKatego->top().setColumnCaption(1, QStringLiteral("Kategorie"));
    tblKatego->top().setColumnWidth(1, 4000);
    layout->addWidget(tblKatego);
    connect(tblKatego, &forms::ListGrid::lookRequested, this,
            [this] { modRun::SetzeTblFarben(tblKatego->appearance()); });
}
