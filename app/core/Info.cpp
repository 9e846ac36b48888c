#include "core/Info.h"

#include <QLabel>
#include <QVBoxLayout>

Info::Info()
{
    setWindowTitle(QStringLiteral("Info"));
    auto *layout = new QVBoxLayout(this);
    auto *titel = new QLabel(QStringLiteral("Torvana"), this);
    layout->addWidget(titel);
    auto label = [&](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        layout->addWidget(l);
        return l;
    };
    lblVerein = label("lblVerein");
    lblStrasse = label("lblStrasse");
    lblPLZ = label("lblPLZ");
    lblOrt = label("lblOrt");
    lblTelefon = label("lblTelefon");
    layout->addStretch(1);
}
