#include "ole/beep.h"

#include <QApplication>

namespace {

class DesktopBeep final : public ole::BeepPort
{
public:
    void beep(UINT) override
    {
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            QApplication::beep();
    }
};

ole::BeepPort *g_port = nullptr;

} // namespace

BOOL MessageBeep(UINT uType)
{
    static DesktopBeep desktop;
    (g_port ? *g_port : desktop).beep(uType);
    return TRUE;
}

namespace ole {

BeepPort *setBeepPort(BeepPort *port)
{
    BeepPort *previous = g_port;
    g_port = port;
    return previous;
}

} // namespace ole
