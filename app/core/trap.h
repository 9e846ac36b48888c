#pragma once
// The error trap of the data procedures.
//
// A procedure creates one Trap with its module and routine name on entry; that sets the
// program-wide counter intFehler to 0 (a procedure called from another sets it back to 0 for
// its caller too). An error then shows
//     "Unvorhergesehener Fehler in Modul: <module> / Routine: <routine> !" LF CR
//     "Beschreibung: <description>"
// with the exclamation icon under the title "Runtime - Error: <number>" and adds 1 to the
// counter while it is 0 to 3; the fifth error shows the give-up box instead and the procedure
// is left.
//
// Reading procedures run their statements as steps: after an error the next step runs, as
// the convention has it; once the trap has given up, the remaining steps are skipped.
//
//     Trap t("modStart", "loadTblFBasis");
//     t.step([&] { rs = db.OpenRecordset(...); });
//     t.step([&] { while (!rs.Eof()) { ... } });
//
// Writing procedures never go on after an error. A write that carried on would leave the
// grids showing as saved what the database never took; so write() runs the whole body in one
// transaction of the workspace, and on the first error rolls it back, shows the box and
// leaves. The caller changes its grids only after write() returned true.
//
//     if (!t.write(*gv().wsDaten, [&] { ...AddNew, Update... }))
//         return;
//
// A write may run inside another one (the yearly roll-over calls the carry-over); its commit
// then only joins the outer transaction, which may still roll back. A message that reports
// the write as done therefore goes through nachCommit(): it is shown once every open write has
// committed, and never when one of them rolls back.
//
// No transaction waits for the user: a box shown while a write is open would keep the database
// locked for every other program until it is closed. The trap's error boxes therefore appear
// once no write is open any more (after the rollback of the failed one, and of every write
// around it), and any other message that a procedure may show inside someone's write goes
// through nachSchreiben(). Questions are asked before the write begins.
#include "core/modGVar.h"

#include "common/vberror.h"

#include <QString>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace modRun {

// Runs step once the write() transactions open now have all committed: at once when none is
// open, never when the transaction it waits for is rolled back.
void nachCommit(std::function<void()> step);

// Runs step once no write() transaction is open: at once when none is, else when the outermost
// one ends, committed or rolled back (a message that holds either way).
void nachSchreiben(std::function<void()> step);

namespace detail {
// A write() transaction began, or ended (committed or rolled back).
void schreibBeginn();
void schreibEnde(bool committed);
} // namespace detail

class Trap
{
public:
    Trap(const QString &module, const QString &routine);

    // One statement of a reading procedure. Returns false when it failed or was skipped.
    template <class F>
    bool step(F &&statement)
    {
        if (gaveUp_)
            return false;
        return guarded(std::forward<F>(statement));
    }

    // A body that must not go on after an error: the first error shows the box and ends it.
    template <class F>
    bool run(F &&body)
    {
        if (gaveUp_)
            return false;
        const bool ok = guarded(std::forward<F>(body));
        if (!ok)
            gaveUp_ = true;
        return ok;
    }

    // A writing body in one transaction of workspace (BeginTrans, CommitTrans, Rollback):
    // committed when it ran through, rolled back on the first error, which the box reports.
    template <class Workspace, class F>
    bool write(Workspace &workspace, F &&body)
    {
        if (gaveUp_)
            return false;
        bool begun = false;
        const bool ok = guarded([&] {
            workspace.BeginTrans();
            begun = true;
            detail::schreibBeginn();
            body();
            workspace.CommitTrans();
            begun = false;
        });
        if (!ok) {
            if (begun) {
                try {
                    workspace.Rollback();
                } catch (...) {
                    // The connection is gone; nothing was committed.
                }
                detail::schreibEnde(false);
            }
            gaveUp_ = true;
        } else {
            detail::schreibEnde(true);
        }
        return ok;
    }

    // What a write on one record of the data database, found by its key, came to.
    enum class Satz { Fehler, Fehlt, Geschrieben };

    // write() on the record of table in gv().dbDaten whose key is key: the body gets that record
    // current (Edit/Update or Delete are the body's). Fehlt when no record has the key (nothing
    // is written), Fehler when the write failed (rolled back, the box has reported it).
    //
    //     const Trap::Satz satz = t.writeRecord("Fang", fnr, [&](dao::Recordset &rs) { rs.Delete(); });
    //     if (satz == Trap::Satz::Fehler) return false;
    //     if (satz == Trap::Satz::Fehlt) modRun::ZeigeDSFehlt();
    template <class F>
    Satz writeRecord(dao::Sql table, const QVariant &key, F &&body)
    {
        bool gefunden = false;
        const bool ok = write(*gv().wsDaten, [&] {
            dao::Recordset rs = gv().dbDaten.SeekKey(table, key);
            if (rs.NoMatch())
                return;
            gefunden = true;
            body(rs);
            rs.Close();
        });
        return !ok ? Satz::Fehler : gefunden ? Satz::Geschrieben : Satz::Fehlt;
    }

    // Reports an error by the convention's rules; false once the trap gives up.
    bool report(int number, const QString &description);

    bool failed() const { return failed_; }
    bool gaveUp() const { return gaveUp_; }
    // "Unvorhergesehener Fehler in Modul: <module> / Routine: <routine> !"
    QString text() const;

private:
    template <class F>
    bool guarded(F &&f)
    {
        try {
            f();
            return true;
        } catch (const vb::Error &e) {
            report(e.number(), e.description());
        } catch (const std::exception &e) {
            report(51, QString::fromLocal8Bit(e.what()));
        }
        return false;
    }

    QString module_;
    QString routine_;
    bool failed_ = false;
    bool gaveUp_ = false;
};

// One value of a one-row query on the data database, read under a trap of its own (module,
// routine); leer when the query has no row or more than one. A failed query is reported once
// (there is no result to read then) and sets *fehler.
//
//     bool fehler = false;
//     const qint32 nr = modRun::einWert<qint32>(Modul, "ErmittleKategoNr",
//                                               "SELECT KategoNr FROM Katego WHERE Kategorie = ?", name, 0, &fehler);
template <class T>
T einWert(const QString &module, const QString &routine, dao::Sql sql, const QVariant &arg, T leer,
          bool *fehler = nullptr)
{
    Trap t(module, routine);
    T ergebnis = leer;
    dao::Recordset rs;
    if (t.step([&] { rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset, {arg}); })) {
        t.step([&] {
            if (rs.RecordCount() == 1) {
                const QVariant v = rs(0).Value();
                if constexpr (std::is_same_v<T, QString>)
                    ergebnis = v.toString();
                else
                    ergebnis = static_cast<T>(v.toLongLong());
            }
        });
        rs.Close();
    }
    if (fehler)
        *fehler = t.failed();
    return ergebnis;
}

} // namespace modRun
