#include "core/trap.h"
#include "core/modRun.h"

#include "forms/services.h"

namespace modRun {

Trap::Trap(const QString &module, const QString &routine)
    : module_(module), routine_(routine)
{
    gv().intFehler = 0;
}

QString Trap::text() const
{
    return QStringLiteral("Unvorhergesehener Fehler in Modul: ") + module_ + QStringLiteral(" / Routine: ") + routine_ + QStringLiteral(" !");
}

bool Trap::report(int number, const QString &description)
{
    failed_ = true;
    const QString title = QStringLiteral("Runtime - Error: ") + QString::number(number);
    int &zaehler = gv().intFehler;
    if (zaehler >= 0 && zaehler <= 3) {
        forms::MsgBox(text() + Umbruch + QStringLiteral("Beschreibung: ") + description, forms::vbExclamation, title);
        ++zaehler;
        return true;
    }
    forms::MsgBox(QStringLiteral("Unvorhergesehener Fehler kann nicht behoben werden, Unterroutine wird verlassen !"),
                  forms::vbExclamation, title);
    gaveUp_ = true;
    return false;
}

} // namespace modRun
