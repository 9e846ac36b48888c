#include "core/Besatzung.h"
#include "core/modRun.h"

#include "forms/listgrid.h"

#include <QVBoxLayout>

Besatzung::Besatzung()
{
    setWindowTitle(QStringLiteral("Besatzung"));
    auto *layout = new QVBoxLayout(this);
    tblBList = new forms::ListGrid(this);
    tblBList->setObjectName(QStringLiteral("tblBList"));
    auto &liste = tblBList->top();
    liste.setColumnCount(6);
    const char *titel[] = {"Nr.", "Fischart", "Gewässer", "Zeit", "Menge", ""};
    for (int i = 0; i < 6; ++i)
        liste.setColumnCaption(i, QString::fromUtf8(titel[i]));
    liste.setColumnHidden(5, true);
    layout->addWidget(tblBList);
    connect(tblBList, &forms::ListGrid::lookRequested, this,
            [this] { modRun::SetzeTblFarben(tblBList->appearance()); });
}
