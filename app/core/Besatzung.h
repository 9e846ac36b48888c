#pragma once
// The stocking list of a year: grid tblBList (BNr, fish species, water, Zeit, Menge with two
// decimals).
#include "forms/form.h"

namespace forms {
class ListGrid;
}

class Besatzung : public forms::Form
{
    Q_OBJECT
public:
    Besatzung();
    forms::ListGrid *tblBList;
};
