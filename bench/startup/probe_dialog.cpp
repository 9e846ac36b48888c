// A bare dialog with what the login shows (a heading, two fields, two buttons), ended at its
// first paint.
#include "probe_paint.h"

#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ErsteMalung m;
    app.installEventFilter(&m);
    QDialog d;
    d.setWindowTitle(QStringLiteral("Torvana - ANMELDUNG -"));
    auto *layout = new QVBoxLayout(&d);
    layout->addWidget(new QLabel(QStringLiteral("ANMELDUNG"), &d));
    auto *felder = new QFormLayout;
    felder->addRow(QStringLiteral("Benutername:"), new QLineEdit(&d));
    felder->addRow(QStringLiteral("Passwort:"), new QLineEdit(&d));
    layout->addLayout(felder);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(new QPushButton(QStringLiteral("OK"), &d));
    knoepfe->addWidget(new QPushButton(QStringLiteral("Abbrechen"), &d));
    layout->addLayout(knoepfe);
    m.fenster = &d;
    d.show();
    const int rc = m.warte();
    std::_Exit(rc);
}
