// The runtime's own module lock (objects it serves itself: fonts, pictures, enumerators).
#include "com/object.h"

TV_COM_MODULE()
