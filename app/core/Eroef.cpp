#include "core/Eroef.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

Eroef::Eroef()
{
    setWindowTitle(QStringLiteral("Torvana"));
    setWindowFlag(Qt::SplashScreen, true);
    auto *layout = new QVBoxLayout(this);
    auto *titel = new QLabel(QStringLiteral("Torvana"), this);
    QFont font = titel->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 2);
    titel->setFont(font);
    titel->setAlignment(Qt::AlignCenter);
    layout->addWidget(titel);
    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setTextVisible(false);
    pb->setVisible(false);
    layout->addWidget(pb);
}
