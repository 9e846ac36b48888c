#pragma once
// The base-data window: the fish species and the waters. Its grids are the program's
// in-memory lists of both tables, from which the species and waters combo boxes of the other
// windows are filled.
#include "forms/form.h"

namespace forms {
class ListGrid;
}

class Basis : public forms::Form
{
    Q_OBJECT
public:
    Basis();

    // Fish species: FNr, FName.
    forms::ListGrid *tblFBasis;
    // Waters: GNr, GName.
    forms::ListGrid *tblGBasis;
};
