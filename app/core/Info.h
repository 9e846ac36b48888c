#pragma once
// The about box. Its address labels hold the club address for the whole run: the print-outs
// read it from there.
#include "forms/form.h"

class QLabel;

class Info : public forms::Form
{
    Q_OBJECT
public:
    Info();

    QLabel *lblVerein;
    QLabel *lblStrasse;
    QLabel *lblPLZ;
    QLabel *lblOrt;
    QLabel *lblTelefon;
};
