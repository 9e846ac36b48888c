#pragma once
// The splash window shown while the lists load after login; the catch-list loader advances
// its progress bar.
#include "forms/form.h"

class QProgressBar;

class Eroef : public forms::Form
{
    Q_OBJECT
public:
    Eroef();
    // Hidden until a loader makes it visible.
    QProgressBar *pb;
};
