#include "workhours/modArbeit.h"
#include "ole/clock.h"
#include "workhours/Arbeit.h"

#include "contacts/Datumsfeld.h"
#include "core/System.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "common/datetext.h"
#include "dao/dao.h"
#include "dao/oledate.h"
#include "forms/fields.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <vector>

namespace modArbeit {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modArbeit");
const QString TitelArbeit = QStringLiteral("Torvana [Arbeitscontrolling]");
const QString Mehr = QStringLiteral("Mehrleistungsübertrag aus Arbeitsjahr ");
const QString Minder = QStringLiteral("Minderleistungsübertrag aus Arbeitsjahr ");
const QString PflichtZeile = QStringLiteral("Pflicht-Std. (Arbeit)");

// The sum of a member's hours in a year; a failed read raises (for callers that must not go
// on with a wrong figure).
double summe(qlonglong knr, long jahr)
{
    dao::Recordset rs =
        gv().dbDaten.OpenRecordset("SELECT SUM(ArbStd) AS Expr1000 FROM Arbeit WHERE KNr = ? AND Jahr = ?",
                                   dao::dbOpenDynaset, {knr, qlonglong(jahr)});
    double ergebnis = 0.0;
    if (rs.RecordCount() == 1) {
        const QVariant v = rs.Fields(QStringLiteral("Expr1000")).Value();
        if (v.isValid() && !v.isNull())
            ergebnis = v.toDouble();
    }
    rs.Close();
    return ergebnis;
}

// A figure a label shows ("12,50"); 0 for an empty or unreadable one.
double zahlVon(const QLabel &label)
{
    bool ok = false;
    const double v = modRun::LeseZahl(label.text(), &ok);
    return ok ? v : 0.0;
}

// The year the year list shows; 0 when it shows none.
long jahrVon(const QComboBox &cbo)
{
    bool ok = false;
    const long jahr = cbo.currentText().trimmed().toLong(&ok);
    return ok ? jahr : 0;
}

// An hours figure as the hours box shows a loaded one: unformatted, with a decimal comma.
QString stundenText(double stunden)
{
    QString t = QString::number(stunden, 'g', 15);
    t.replace(u'.', u',');
    return t;
}

// The input fields, checked and read.
struct Eingabe
{
    qlonglong knr = 0;
    long jahr = 0;
    double datum = 0.0;
    double stunden = 0.0;
    QString notiz;
};

// Reads the fields; false when they do not make an entry: no member, hours that are empty, not a
// figure or below 0, no day, no year.
bool leseEingabe(const Arbeit &f, Eingabe &e)
{
    e.knr = forms::labelNumber(*f.lblKNr);
    e.jahr = jahrVon(*f.cboArbJahr);
    bool ok = false;
    e.stunden = modRun::LeseZahl(f.txtArbStd->text(), &ok);
    if (e.knr <= 0 || e.jahr <= 0 || !ok || !std::isfinite(e.stunden) || e.stunden < 0)
        return false;
    e.datum = f.lzDate->wert();
    if (e.datum == modRun::KeinDatum)
        return false;
    e.notiz = f.txtArbNotiz->text();
    return modRun::IstFeldtext(e.notiz);
}

// The grid row of a stored entry.
QVariantList gridZeile(qlonglong arbNr, qlonglong knr, double stunden, const QVariant &datum)
{
    return QVariantList{arbNr, knr, modRun::FormatZahl(stunden), modRun::ErmittleDatumText(datum)};
}

// The hours done of the member and year shown, and the balance against the required hours.
void AktualisiereSummen(Arbeit &f)
{
    Trap t(Modul, QStringLiteral("ErmittleStunden"));
    double gesamt = 0.0;
    if (!t.step([&] { gesamt = summe(forms::labelNumber(*f.lblKNr), jahrVon(*f.cboArbJahr)); }))
        return;
    f.lblGesStd->setText(modRun::FormatZahl(gesamt));
    f.lblErgStd->setText(modRun::FormatZahl(ErmittleSollHaben(zahlVon(*f.lblGesStd), zahlVon(*f.lblPflStd))));
}

void zeigeBefreit()
{
    forms::MsgBox(
        QStringLiteral("Mitglied ist von Arb.-Std. befreit ! Übernahme ins Arbeitscontrolling wurde abgebrochen !") +
            QStringLiteral("\r\n") +
            QStringLiteral(
                "Um eine Stundenverwaltung zu ermöglichen, müssen Sie erst den Status auf - nicht Befreit - setzen.") +
            QStringLiteral("\r\n") + QStringLiteral("Nähere Angaben dazu enthält die Online - Hilfe !"),
        forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

} // namespace

// ---- taking a member over, sums and balance ---------------------------------------------------

bool UebernehmeKontakt(qlonglong knr, const QString &vorname, const QString &nachname)
{
    Trap t(Modul, QStringLiteral("UebernehmeKontakt"));
    bool gefunden = false;
    bool befreit = false;
    if (!t.run([&] {
            dao::Recordset rs = gv().dbDaten.SeekKey("Mitglied", knr);
            gefunden = !rs.NoMatch();
            if (gefunden)
                befreit = rs.Fields(QStringLiteral("Befreit")).Value().toBool();
            rs.Close();
        }))
        return false;
    if (!gefunden) {
        modRun::ZeigeDSFehlt();
        return false;
    }
    if (befreit) {
        zeigeBefreit();
        return false;
    }

    Arbeit &f = workhours::ArbeitFenster();
    f.lblKNr->setText(QString::number(knr));
    f.lblVName->setText(vorname);
    f.lblNName->setText(nachname);
    f.setWindowTitle(QStringLiteral("Arbeitscontrolling - ") + vorname + QLatin1Char(' ') + nachname +
                     QStringLiteral(" -"));
    f.lblGesStd->setText(modRun::FormatZahl(loadTblArbeit(knr, jahrVon(*f.cboArbJahr))));
    f.lblPflStd->setText(modRun::FormatZahl(ErmittlePflichtStd()));
    f.lblErgStd->setText(modRun::FormatZahl(ErmittleSollHaben(zahlVon(*f.lblGesStd), zahlVon(*f.lblPflStd))));
    return true;
}

bool UebernehmeKontakt(const forms::ListGrid &tblSuch, int &lngZeile)
{
    if (lngZeile < 0 || lngZeile >= tblSuch.rowCount()) {
        modRun::ZeigeDSFehlt();
        return false;
    }
    bool ok = false;
    const qlonglong knr = tblSuch.text(lngZeile, 0).trimmed().toLongLong(&ok);
    if (!ok) {
        modRun::ZeigeDSFehlt();
        return false;
    }
    return UebernehmeKontakt(knr, tblSuch.text(lngZeile, 4), tblSuch.text(lngZeile, 3));
}

double loadTblArbeit(qlonglong lngKNr, long lngJahr)
{
    Arbeit &f = workhours::ArbeitFenster();
    Trap t(Modul, QStringLiteral("loadTblArbeit"));
    std::vector<QVariantList> zeilen;
    t.step([&] {
        // In the order the entries were booked: a new entry goes below the others.
        dao::Recordset rs = gv().dbDaten.OpenRecordset(
            "SELECT ArbNr, KNr, ArbStd, Datum FROM Arbeit WHERE KNr = ? AND Jahr = ? ORDER BY ArbNr",
            dao::dbOpenForwardOnly, {lngKNr, qlonglong(lngJahr)});
        while (!rs.Eof()) {
            zeilen.push_back(gridZeile(rs(0).Value().toLongLong(), rs(1).Value().toLongLong(), rs(2).Value().toDouble(),
                                       rs(3).Value()));
            rs.MoveNext();
        }
        rs.Close();
    });
    f.tblArbStd->setRows(std::move(zeilen));
    return ErmittleStunden(lngKNr, lngJahr);
}

void loadcboArbJahre(QComboBox &cbo)
{
    const int jahr = gv().intJahr;
    Trap t(Modul, QStringLiteral("loadcboArbJahre"));
    int von = jahr;
    int bis = jahr;
    // The first and the last year in one query, each found in the index on Jahr.
    t.step([&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(
            "SELECT (SELECT MIN(Jahr) FROM Arbeit) AS Expr1000, (SELECT MAX(Jahr) FROM Arbeit) AS Expr1001",
            dao::dbOpenForwardOnly);
        const auto jahrOder = [&](int feld) {
            const QVariant v = rs(feld).Value();
            return v.isValid() && !v.isNull() ? v.toInt() : jahr;
        };
        von = jahrOder(0);
        bis = jahrOder(1);
        rs.Close();
    });
    // Emptied first: a second load must not list the years twice.
    cbo.clear();
    for (int j = von; j <= bis; ++j)
        cbo.addItem(QString::number(j));
    if (bis < jahr)
        cbo.addItem(QString::number(jahr));
    for (int j = jahr; j < von; ++j)
        cbo.addItem(QString::number(j));
}

double ErmittleStunden(qlonglong lngKNr, long lngJahr)
{
    Trap t(Modul, QStringLiteral("ErmittleStunden"));
    double ergebnis = 0.0;
    t.step([&] { ergebnis = summe(lngKNr, lngJahr); });
    return ergebnis;
}

double ErmittleSollHaben(double dblGeleistet, double dblPflicht)
{
    return modRun::Runde(dblGeleistet - dblPflicht, 2);
}

double ErmittlePflichtStd()
{
    if (System *system = forms::loadedForm<System>()) {
        const forms::ListGrid &grid = *system->tblSystem;
        const int zeile = grid.columnCount() > 1 ? grid.find(0, PflichtZeile) : -1;
        bool ok = false;
        const double wert = zeile >= 0 ? modRun::LeseZahl(grid.text(zeile, 1), &ok) : 0.0;
        if (ok)
            return wert;
    }
    // The settings grid is not filled: the record it is filled from.
    Trap t(Modul, QStringLiteral("ErmittlePflichtStd"));
    double wert = 0.0;
    t.step([&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT PflichtStd FROM System", dao::dbOpenDynaset);
        if (!rs.Eof())
            wert = rs(0).Value().toDouble();
        rs.Close();
    });
    return wert;
}

// ---- entries of the window ----------------------------------------------------------------

bool SpeicherStunden()
{
    Arbeit &f = workhours::ArbeitFenster();
    Eingabe e;
    if (!leseEingabe(f, e)) {
        modRun::ZeigeEingabeFehler();
        return false;
    }
    Trap t(Modul, QStringLiteral("SpeicherStunden"));
    bool mitgliedDa = false;
    qlonglong neu = 0;
    QVariant datum;
    const bool ok = t.write(*gv().wsDaten, [&] {
        // The member may have been deleted while the window showed it.
        dao::Recordset m =
            gv().dbDaten.OpenRecordset("SELECT KNr FROM Mitglied WHERE KNr = ?", dao::dbOpenDynaset, {e.knr});
        mitgliedDa = m.RecordCount() == 1;
        m.Close();
        if (!mitgliedDa)
            return;
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Arbeit", dao::dbOpenTable);
        rs.AddNew();
        rs("KNr") = e.knr;
        rs("Jahr") = qlonglong(e.jahr);
        rs("Datum") = e.datum;
        rs("ArbStd") = e.stunden;
        rs("Notiz") = e.notiz;
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        neu = rs("ArbNr").Value().toLongLong();
        datum = rs("Datum").Value();
        rs.Close();
    });
    if (!ok)
        return false;
    if (!mitgliedDa) {
        modRun::ZeigeDSFehlt();
        LeereArbeitMaske();
        return false;
    }
    // The grid shows the member and the year the entry was booked for.
    f.tblArbStd->addRow(gridZeile(neu, e.knr, e.stunden, datum));
    AktualisiereSummen(f);
    LeereArbeitFelder();
    return true;
}

bool UpdateStunden(int lngZeile)
{
    Arbeit &f = workhours::ArbeitFenster();
    Eingabe e;
    if (!leseEingabe(f, e)) {
        modRun::ZeigeEingabeFehler();
        return false;
    }
    const qlonglong arbNr = forms::labelNumber(*f.lblArbNr);
    Trap t(Modul, QStringLiteral("UpdateStunden"));
    qlonglong knr = 0;
    QVariant datum;
    const Trap::Satz satz = t.writeRecord("Arbeit", arbNr, [&](dao::Recordset &rs) {
        rs.Edit();
        rs("Jahr") = qlonglong(e.jahr);
        rs("Datum") = e.datum;
        rs("ArbStd") = e.stunden;
        rs("Notiz") = e.notiz;
        rs.Update();
        knr = rs("KNr").Value().toLongLong();
        datum = rs("Datum").Value();
    });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Fehlt) {
        modRun::ZeigeDSFehlt();
    } else {
        forms::ListGrid &grid = *f.tblArbStd;
        const int zeile = grid.findKey(arbNr, lngZeile);
        if (zeile >= 0) {
            // The hours as every row shows them ("3,00"), not as typed.
            grid.setText(zeile, 2, modRun::FormatZahl(e.stunden));
            grid.setText(zeile, 3, modRun::ErmittleDatumText(datum));
        } else if (knr == e.knr) {
            // Moved into the year the grid shows.
            grid.addRow(gridZeile(arbNr, knr, e.stunden, datum));
        }
    }
    AktualisiereSummen(f);
    LeereArbeitFelder();
    return true;
}

bool LoescheStunden(int lngZeile)
{
    Arbeit &f = workhours::ArbeitFenster();
    const qlonglong arbNr = forms::labelNumber(*f.lblArbNr);
    Trap t(Modul, QStringLiteral("LoescheStunden"));
    const Trap::Satz satz = t.writeRecord("Arbeit", arbNr, [](dao::Recordset &rs) { rs.Delete(); });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Geschrieben) {
        const int zeile = f.tblArbStd->findKey(arbNr, lngZeile);
        if (zeile >= 0)
            f.tblArbStd->removeRow(zeile);
        AktualisiereSummen(f);
    } else {
        modRun::ZeigeDSFehlt();
    }
    LeereArbeitFelder();
    return true;
}

void loadArbeitsVorgang()
{
    Arbeit &f = workhours::ArbeitFenster();
    Trap t(Modul, QStringLiteral("loadArbeitsVorgang"));
    const int zeile = gv().lngDSNr;
    qlonglong arbNr = 0;
    if (!t.step([&] {
            if (zeile < 0 || zeile >= f.tblArbStd->rowCount())
                throw vb::Error(9, QStringLiteral("Index außerhalb des gültigen Bereichs"));
            arbNr = f.tblArbStd->text(zeile, 0).toLongLong();
        }))
        return;
    t.step([&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT ArbNr, Datum, ArbStd, Notiz FROM Arbeit WHERE ArbNr = ?",
                                                       dao::dbOpenDynaset, {arbNr});
        if (rs.RecordCount() != 1) {
            rs.Close();
            modRun::ZeigeDSFehlt();
            return;
        }
        f.lblArbNr->setText(QString::number(rs("ArbNr").Value().toLongLong()));
        f.lzDate->setText(modRun::ErmittleDatumText(rs("Datum").Value()));
        f.txtArbNotiz->setText(rs("Notiz").Value().toString());
        f.txtArbStd->setText(stundenText(rs("ArbStd").Value().toDouble()));
        rs.Close();
    });
}

void LeereArbeitFelder()
{
    Arbeit &f = workhours::ArbeitFenster();
    f.lblArbNr->clear();
    f.lzDate->setText(datetext::date(ole::Today()));
    f.txtArbNotiz->clear();
    f.txtArbStd->clear();
    modGVar::VerlasseEditModus(f);
}

void LeereArbeitMaske()
{
    Arbeit &f = workhours::ArbeitFenster();
    LeereArbeitFelder();
    f.tblArbStd->clear();
    for (QLabel *l : {f.lblVName, f.lblNName, f.lblKNr, f.lblGesStd, f.lblPflStd, f.lblErgStd})
        l->clear();
    f.cmdMList->setEnabled(false);
}

bool PruefeArbeitEingabe()
{
    Eingabe e;
    if (leseEingabe(workhours::ArbeitFenster(), e))
        return true;
    modRun::ZeigeEingabeFehler();
    return false;
}

// ---- yearly carry-over and the right ------------------------------------------------------

bool UebernehmeStunden(long &altesJahr)
{
    auto &g = gv();
    Trap trap(Modul, QStringLiteral("UebernehmeStunden"));

    struct Eintrag
    {
        qlonglong knr;
        double saldo;
    };
    std::vector<Eintrag> eintraege;
    bool keineMitglieder = false;
    const bool gelesen = trap.run([&] {
        // Every member with the sum of the old year's hours, in one pass; a failed read stops the
        // carry-over: no member gets a balance read wrongly as 0.
        dao::Recordset mitglieder = g.dbDaten.OpenRecordset(
            "SELECT k.KNr, (SELECT SUM(a.ArbStd) FROM Arbeit a WHERE a.KNr = k.KNr AND a.Jahr = ?) AS Expr1000 "
            "FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr AND m.Befreit = 0 ORDER BY k.KNr",
            dao::dbOpenForwardOnly, {qlonglong(altesJahr)});
        if (mitglieder.Eof()) {
            keineMitglieder = true;
            return;
        }
        dao::Recordset system = g.dbDaten.OpenRecordset("System", dao::dbOpenTable);
        const double pflicht = system.Fields(QStringLiteral("PflichtStd")).Value().toDouble();
        system.Close();
        for (; !mitglieder.Eof(); mitglieder.MoveNext()) {
            const QVariant stunden = mitglieder.Fields(1).Value();
            const double geleistet = stunden.isValid() && !stunden.isNull() ? stunden.toDouble() : 0.0;
            eintraege.push_back({mitglieder.Fields(0).Value().toLongLong(), ErmittleSollHaben(geleistet, pflicht)});
        }
        mitglieder.Close();
    });
    if (!gelesen)
        return false;
    if (keineMitglieder) {
        // Inside the roll-over's transaction: shown once that has ended.
        modRun::nachSchreiben([] {
            forms::MsgBox(
                QStringLiteral("Keine nicht befreiten Mitglieder vorhanden, daher wird der Vorgang abgebrochen"),
                forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        });
        return true;
    }

    const QString jahrText = QString::number(altesJahr);
    const double neujahr = dao::ToOleDate(QDate(g.intJahr, 1, 1));
    const QString mehr = Mehr + jahrText;
    const QString minder = Minder + jahrText;
    const bool geschrieben = trap.write(*g.wsDaten, [&] {
        for (const Eintrag &e : eintraege)
            // The balance is a two-decimal figure: 19.999999999999996 done of 20 is no surplus.
            g.dbDaten.Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (?, ?, ?, ?, ?)",
                              {e.knr, qlonglong(g.intJahr), neujahr, e.saldo, e.saldo > 0 ? mehr : minder});
    });
    if (!geschrieben)
        return false;
    // Inside the roll-over's transaction the entries are kept only once that commits.
    modRun::nachCommit([] {
        forms::MsgBox(
            QStringLiteral(
                "Mehrleistungen u. Minderleistungen der Arbeitsstunden ins neue Fangjahr erfolgreich beendet !"),
            forms::vbOKOnly + forms::vbInformation, TitelArbeit);
    });
    return true;
}

bool Ueberpruefe_auf_Uebertrag(long &jahr)
{
    auto &g = gv();
    Trap trap(Modul, QStringLiteral("Ueberpruefe_auf_Uebertrag"));
    const double datum = dao::ToOleDate(QDate(int(jahr), 1, 1));
    // Only the entries the carry-over wrote: the date and one of its two notes.
    const QVariantList parameter{datum, Mehr + QStringLiteral("*"), Minder + QStringLiteral("*")};

    std::vector<qlonglong> nummern;
    const bool gelesen = trap.run([&] {
        dao::Recordset rs =
            g.dbDaten.OpenRecordset("SELECT ArbNr FROM Arbeit WHERE Datum = ? AND (Notiz LIKE ? OR Notiz LIKE ?)",
                                    dao::dbOpenDynaset, parameter);
        while (!rs.Eof()) {
            nummern.push_back(rs.Fields(0).Value().toLongLong());
            rs.MoveNext();
        }
        rs.Close();
    });
    if (!gelesen)
        return false;
    if (nummern.empty())
        return true;
    if (nummern.size() > 1) {
        // Inside the roll-over's transaction: shown once that has ended.
        const QString text =
            QStringLiteral("ACHTUNG: Mehrere Übertragseintäge für das Datum 01.01.") + QString::number(jahr) +
            QStringLiteral(" gefunden !") + modRun::Umbruch +
            QStringLiteral("Sie werden alle gelöscht, die übrigen Arb.-Einträge dieses Datums bleiben erhalten !");
        modRun::nachSchreiben([text] { forms::MsgBox(text, forms::vbOKOnly + forms::vbInformation, TitelArbeit); });
    }

    return trap.write(*g.wsDaten, [&] {
        dao::Recordset arbeit = g.dbDaten.OpenRecordset("Arbeit", dao::dbOpenTable);
        arbeit.Index(QStringLiteral("PrimaryKey"));
        for (qlonglong nr : nummern) {
            arbeit.Seek(QStringLiteral("="), nr);
            if (!arbeit.NoMatch())
                arbeit.Delete();
        }
        arbeit.Close();
    });
}

bool ArbeitsZugriff_Erlaubt()
{
    Trap trap(Modul, QStringLiteral("ArbeitsZugriff_Erlaubt"));
    bool erlaubt = false;
    trap.run([&] { erlaubt = modStart::GruppeHatRecht(modStart::Recht::Arbeit); });
    return erlaubt;
}

} // namespace modArbeit
