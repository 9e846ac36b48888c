#pragma once
// The login window: user name and password; OK or Enter in either box starts the login,
// "Abbrechen" ends the program.
#include "forms/form.h"

class QLineEdit;
class QPushButton;

class Login : public forms::Form
{
    Q_OBJECT
public:
    Login();

    QLineEdit *txtBenutzer;
    QLineEdit *txtPassw;
    QPushButton *cmdOK;
    QPushButton *cmdEsc;

    // Enter (13) starts the login; other keys do nothing.
    void Form_KeyDown(int KeyCode, int Shift);
    void cmdOK_Click();
    // Unloads Login, then Main, closing the database: the program ends.
    void cmdEsc_Click();

protected:
    void showEvent(QShowEvent *event) override;
    // The close box: as cmdEsc_Click.
    void closeEvent(QCloseEvent *event) override;
    // The window sees the keys of its boxes first.
    bool eventFilter(QObject *watched, QEvent *event) override;
};
