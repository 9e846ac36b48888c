#include "core/Login.h"
#include "core/Main.h"
#include "core/modLogin.h"

#include "forms/fields.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Login::Login()
{
    setWindowTitle(QStringLiteral("Torvana - ANMELDUNG -"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("ANMELDUNG"), this));

    auto *felder = new QFormLayout;
    txtBenutzer = new QLineEdit(this);
    txtBenutzer->setObjectName(QStringLiteral("txtBenutzer"));
    txtPassw = new QLineEdit(this);
    txtPassw->setObjectName(QStringLiteral("txtPassw"));
    txtPassw->setEchoMode(QLineEdit::Password);
    felder->addRow(QStringLiteral("Benutername:"), txtBenutzer);
    felder->addRow(QStringLiteral("Passwort:"), txtPassw);
    layout->addLayout(felder);

    auto *knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdEsc = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdEsc->setObjectName(QStringLiteral("cmdEsc"));
    knoepfe->addWidget(cmdOK);
    knoepfe->addWidget(cmdEsc);
    layout->addLayout(knoepfe);

    connect(cmdOK, &QPushButton::clicked, this, &Login::cmdOK_Click);
    connect(cmdEsc, &QPushButton::clicked, this, &Login::cmdEsc_Click);
    txtBenutzer->installEventFilter(this);
    txtPassw->installEventFilter(this);
}

void Login::Form_KeyDown(int KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == 13)
        modLogin::StarteLogin();
}

void Login::cmdOK_Click()
{
    modLogin::StarteLogin();
}

void Login::cmdEsc_Click()
{
    Unload();
    // The main window's own way out: the database is closed, then the main window unloaded.
    if (Main *main = forms::loadedForm<Main>())
        main->mnuBeenden_Click();
}

void Login::closeEvent(QCloseEvent *event)
{
    // The close box ends the program as "Abbrechen" does: closing the window alone would leave
    // the program running without a window, its database open.
    if (!isUnloaded())
        cmdEsc_Click();
    event->accept();
}

void Login::showEvent(QShowEvent *event)
{
    forms::Form::showEvent(event);
    txtBenutzer->setFocus();
}

bool Login::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtBenutzer || watched == txtPassw)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Form_KeyDown(13, int(key->modifiers() >> 25));
            return true;
        }
    }
    return forms::Form::eventFilter(watched, event);
}
