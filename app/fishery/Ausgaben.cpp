#include "fishery/Ausgaben.h"

namespace fishery {

Ausgaben &ausgaben()
{
    static Ausgaben a;
    return a;
}

} // namespace fishery
