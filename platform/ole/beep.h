#pragma once
// The message beep of the control layer. Controls beep through MessageBeep; the sound goes to one
// port per process (this runtime is a shared library, so a control library loaded with dlopen and
// the program reach the same port). The default port rings the desktop's bell; tests put a
// recording port in its place (ole/fakebeep.h).
#include "com/types.h"

// uType is the sound's kind (0 the default beep); it is handed to the port. Always TRUE.
TV_COM_EXPORT BOOL MessageBeep(UINT uType);

namespace ole {

class BeepPort
{
public:
    virtual ~BeepPort() = default;
    virtual void beep(UINT type) = 0;
};

// Replaces the port (not owned); nullptr restores the default. Returns the port that was current.
BeepPort *setBeepPort(BeepPort *port);

} // namespace ole
