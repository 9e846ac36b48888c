#include "core/trap.h"
#include "core/modRun.h"

#include "forms/services.h"

#include <vector>

namespace modRun {

namespace {

// Open write() transactions, and the steps waiting for them in the order they came: with the
// depth whose commit they wait for, or 0 when they wait only for the last one to end.
struct Warteschlange
{
    int tiefe = 0;
    std::vector<std::pair<int, std::function<void()>>> schritte;
};

Warteschlange &warteschlange()
{
    static Warteschlange w;
    return w;
}

} // namespace

void nachCommit(std::function<void()> step)
{
    Warteschlange &w = warteschlange();
    if (w.tiefe == 0) {
        step();
        return;
    }
    w.schritte.emplace_back(w.tiefe, std::move(step));
}

void nachSchreiben(std::function<void()> step)
{
    Warteschlange &w = warteschlange();
    if (w.tiefe == 0) {
        step();
        return;
    }
    w.schritte.emplace_back(0, std::move(step));
}

namespace detail {

void schreibBeginn()
{
    ++warteschlange().tiefe;
}

void schreibEnde(bool committed)
{
    Warteschlange &w = warteschlange();
    const int ende = w.tiefe;
    if (ende == 0)
        return;
    w.tiefe = ende - 1;
    std::vector<std::function<void()>> jetzt;
    for (auto it = w.schritte.begin(); it != w.schritte.end();) {
        if (it->first == 0) {
            if (w.tiefe > 0) {
                ++it; // waits for the outermost write to end
            } else {
                jetzt.push_back(std::move(it->second));
                it = w.schritte.erase(it);
            }
        } else if (it->first < ende) {
            ++it;
        } else if (!committed) {
            it = w.schritte.erase(it); // undone: what it would report did not happen
        } else if (w.tiefe > 0) {
            it->first = w.tiefe; // now waits for the enclosing transaction
            ++it;
        } else {
            jetzt.push_back(std::move(it->second));
            it = w.schritte.erase(it);
        }
    }
    for (auto &schritt : jetzt)
        schritt();
}

} // namespace detail

Trap::Trap(const QString &module, const QString &routine) : module_(module), routine_(routine)
{
    gv().intFehler = 0;
}

QString Trap::text() const
{
    return QStringLiteral("Unvorhergesehener Fehler in Modul: ") + module_ + QStringLiteral(" / Routine: ") + routine_ +
           QStringLiteral(" !");
}

bool Trap::report(int number, const QString &description)
{
    failed_ = true;
    const QString title = QStringLiteral("Runtime - Error: ") + QString::number(number);
    int &zaehler = gv().intFehler;
    // Shown once no transaction is open: the failed write is rolled back by then.
    auto zeige = [title](const QString &text) {
        nachSchreiben([text, title] { forms::MsgBox(text, forms::vbExclamation, title); });
    };
    if (zaehler >= 0 && zaehler <= 3) {
        zeige(text() + Umbruch + QStringLiteral("Beschreibung: ") + description);
        ++zaehler;
        return true;
    }
    zeige(QStringLiteral("Unvorhergesehener Fehler kann nicht behoben werden, Unterroutine wird verlassen !"));
    gaveUp_ = true;
    return false;
}

} // namespace modRun
