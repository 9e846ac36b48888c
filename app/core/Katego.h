#pragma once
// The category window: its grid tblKatego (KategoNr, category name) is the program's list of
// categories, from which the category combos are filled.
#include "forms/form.h"

namespace forms {
class ListGrid;
}

class Katego : public forms::Form
{
    Q_OBJECT
public:
    Katego();
    forms::ListGrid *tblKatego;
};
