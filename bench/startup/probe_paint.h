#pragma once
// What both start-up probes share: they end at the first paint of the window they wait for.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

class ErsteMalung : public QObject
{
public:
    QObject *fenster = nullptr;
    bool gemalt = false;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && fenster && o == fenster)
            gemalt = true;
        return false;
    }
    // Lets the events run until the window has been painted: 0, else 4.
    int warte()
    {
        for (int runde = 0; runde < 100000 && !gemalt; ++runde)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return gemalt ? 0 : 4;
    }
};
