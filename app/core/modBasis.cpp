#include "core/modBasis.h"
#include "core/Basis.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/fields.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTabWidget>

#include <functional>

namespace modBasis {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modBasis");

// What the two twins differ in.
struct Zwilling
{
    bool fisch;
    dao::Sql tabelle;
    QString schluessel;
    QString name;
    dao::Sql laden;   // the record of a key
    dao::Sql doppelt; // how many others bear the name
    dao::Sql faenge;  // the catches of a key
    int fangSpalte;   // the name's column in the catch log's grid
    QString nichtGeladen;
    QString doppeltText;
    QString speicher, load, update, loesche; // routine names
};

const Zwilling &zwilling(bool fisch)
{
    static const Zwilling fische{
        true,
        "Fisch",
        QStringLiteral("FNr"),
        QStringLiteral("FName"),
        "SELECT * FROM Fisch WHERE FNr = ?",
        "SELECT COUNT(*) AS Expr1000 FROM Fisch WHERE FName = ? AND FNr <> ?",
        "SELECT FangNr FROM Fang WHERE FischNr = ?",
        1,
        QStringLiteral("FEHLER: Datensatz nicht vorhanden o. nicht gefunden !"),
        QStringLiteral("ACHTUNG: Eine Fischart mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !"),
        QStringLiteral("SpeicherFisch"),
        QStringLiteral("loadFAuswahl"),
        QStringLiteral("UpdateFisch"),
        QStringLiteral("LoescheFisch"),
    };
    static const Zwilling gewaesser{
        false,
        "Gewaesser",
        QStringLiteral("GNr"),
        QStringLiteral("GName"),
        "SELECT * FROM Gewaesser WHERE GNr = ?",
        "SELECT COUNT(*) AS Expr1000 FROM Gewaesser WHERE GName = ? AND GNr <> ?",
        "SELECT FangNr FROM Fang WHERE GNr = ?",
        2,
        QStringLiteral("Fehler: Datensatz nicht vorhanden o. nicht gefunden !"),
        QStringLiteral("ACHTUNG: Ein Gewässer mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !"),
        QStringLiteral("SpeicherGewaesser"),
        QStringLiteral("loadGAuswahl"),
        QStringLiteral("UpdateGewaesser"),
        QStringLiteral("LoescheGewaesser"),
    };
    return fisch ? fische : gewaesser;
}

// The controls of one tab.
struct Felder
{
    forms::ListGrid *grid;
    QLabel *nr;
    QLineEdit *name;
    QLineEdit *notiz;
    QLabel *anzahl;
};

Felder felder(Basis &b, bool fisch)
{
    if (fisch)
        return {b.tblFBasis, b.lblFNr, b.txtFArt, b.txtFNotiz, b.lblFAnzahl};
    return {b.tblGBasis, b.lblGNr, b.txtGName, b.txtGNotiz, b.lblGAnzahl};
}

bool fischTab(const Basis &b)
{
    return b.TabBasis->currentIndex() == 0;
}

void leere(Basis &b, bool fisch, bool fokus)
{
    const Felder f = felder(b, fisch);
    f.nr->clear();
    f.name->clear();
    f.notiz->clear();
    if (fokus)
        f.name->setFocus();
}

void zeigeAnzahl(const Felder &f)
{
    f.anzahl->setText(QString::number(f.grid->rowCount()));
}

// True when another record than ausser bears the name.
bool gibtEs(const Zwilling &z, const QString &name, qlonglong ausser)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(z.doppelt, dao::dbOpenDynaset, {name, ausser});
    const bool ja = rs(QStringLiteral("Expr1000")).Value().toLongLong() > 0;
    rs.Close();
    return ja;
}

void meldeDoppelt(const Zwilling &z)
{
    forms::MsgBox(z.doppeltText, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

// The catch numbers of a species or water, as the catch log's grid shows them in column 0.
QSet<QString> fangNummern(const Zwilling &z, qlonglong key)
{
    QSet<QString> nummern;
    dao::Recordset rs = gv().dbDaten.OpenRecordset(z.faenge, dao::dbOpenDynaset, {key});
    while (!rs.Eof()) {
        nummern.insert(QString::number(rs(0).Value().toLongLong()));
        rs.MoveNext();
    }
    rs.Close();
    return nummern;
}

// The catch log's grid after a change: the rows of the catches get the new name, or leave the
// grid when there is none (the catches were deleted).
void folgeFangListe(const QSet<QString> &faenge, int spalte, const QString *neuerName)
{
    if (faenge.isEmpty())
        return;
    forms::ListGrid *liste = modStart::FangListe();
    if (!liste)
        return;
    for (int r = liste->rowCount() - 1; r >= 0; --r) {
        if (!faenge.contains(liste->text(r, 0)))
            continue;
        if (neuerName)
            liste->setText(r, spalte, *neuerName);
        else
            liste->removeRow(r);
    }
}

bool pruefe(bool fisch)
{
    const Felder f = felder(forms::form<Basis>(), fisch);
    if (modRun::IstName(f.name->text()))
        return true;
    modRun::ZeigeEingabeFehler();
    return false;
}

bool speicher(const Zwilling &z)
{
    Basis &b = forms::form<Basis>();
    const Felder f = felder(b, z.fisch);
    const QString name = f.name->text();
    const QString notiz = f.notiz->text();
    Trap t(Modul, z.speicher);
    bool doppelt = false;
    qlonglong neu = 0;
    QString gespeichert;
    const bool ok = t.write(*gv().wsDaten, [&] {
        doppelt = gibtEs(z, name, 0);
        if (doppelt)
            return;
        dao::Recordset rs = gv().dbDaten.OpenRecordset(z.tabelle, dao::dbOpenTable);
        rs.AddNew();
        rs(z.name) = name;
        rs(QStringLiteral("Notiz")) = notiz;
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        neu = rs(z.schluessel).Value().toLongLong();
        gespeichert = rs(z.name).Value().toString();
        rs.Close();
    });
    if (!ok)
        return false;
    if (doppelt) {
        meldeDoppelt(z);
        return false;
    }
    f.grid->addRow(QVariantList{neu, gespeichert});
    leere(b, z.fisch, true);
    zeigeAnzahl(f);
    return true;
}

void laden(const Zwilling &z, int row)
{
    const Felder f = felder(forms::form<Basis>(), z.fisch);
    Trap t(Modul, z.load);
    qlonglong key = 0;
    if (!t.step([&] { key = f.grid->text(row, 0).toLongLong(); }))
        return;
    t.step([&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(z.laden, dao::dbOpenDynaset, {key});
        if (rs.RecordCount() == 1) {
            f.nr->setText(QString::number(rs(z.schluessel).Value().toLongLong()));
            f.name->setText(rs(z.name).Value().toString());
            f.notiz->setText(rs(QStringLiteral("Notiz")).Value().toString());
        } else {
            forms::MsgBox(z.nichtGeladen, forms::vbOKOnly + forms::vbCritical, modRun::Titel);
        }
        rs.Close();
    });
}

// The write of a change to the record of key in z's table. In one transaction the record is
// sought and handed to schreibe, which returns false to refuse the change (the name is taken:
// the box says so, nothing is emptied). Then danach brings the grids in step, or the box fehlt
// tells that the record is gone; last, the twin's fields are emptied. False when the write failed
// or was refused.
bool aendere(const Zwilling &z, const QString &routine, qlonglong key, const QString &fehlt,
             const std::function<bool(dao::Recordset &)> &schreibe, const std::function<void()> &danach)
{
    Trap t(Modul, routine);
    bool doppelt = false;
    const Trap::Satz satz = t.writeRecord(z.tabelle, key, [&](dao::Recordset &rs) { doppelt = !schreibe(rs); });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (doppelt) {
        meldeDoppelt(z);
        return false;
    }
    if (satz == Trap::Satz::Geschrieben)
        danach();
    else
        forms::MsgBox(fehlt, forms::vbOKOnly + forms::vbCritical, modRun::Titel);
    leere(forms::form<Basis>(), z.fisch, true);
    return true;
}

bool update(const Zwilling &z, int row)
{
    const Felder f = felder(forms::form<Basis>(), z.fisch);
    const qlonglong key = forms::labelNumber(*f.nr);
    const QString name = f.name->text();
    const QString notiz = f.notiz->text();
    QString gespeichert;
    QSet<QString> faenge;
    return aendere(
        z, z.update, key, QStringLiteral("FEHLER: Datensatz nicht vorhanden o. nicht gefunden !"),
        [&](dao::Recordset &rs) {
            if (gibtEs(z, name, key))
                return false;
            const QString alt = rs(z.name).Value().toString();
            rs.Edit();
            rs(z.name) = name;
            rs(QStringLiteral("Notiz")) = notiz;
            rs.Update();
            gespeichert = rs(z.name).Value().toString();
            if (gespeichert != alt)
                faenge = fangNummern(z, key);
            rs.Close();
            return true;
        },
        [&] {
            const int zeile = f.grid->findKey(key, row);
            if (zeile >= 0)
                f.grid->setText(zeile, 1, gespeichert);
            folgeFangListe(faenge, z.fangSpalte, &gespeichert);
        });
}

bool loesche(const Zwilling &z, int row)
{
    const Felder f = felder(forms::form<Basis>(), z.fisch);
    const qlonglong key = forms::labelNumber(*f.nr);
    QSet<QString> faenge;
    return aendere(
        z, z.loesche, key, QStringLiteral("FEHLER: Datensatz kann nicht gelöscht oder gefunden werden !"),
        [&](dao::Recordset &rs) {
            // The catches go with the record (the relation cascades): note which they are first.
            faenge = fangNummern(z, key);
            rs.Delete();
            rs.Close();
            return true;
        },
        [&] {
            const int zeile = f.grid->findKey(key, row);
            if (zeile >= 0)
                f.grid->removeRow(zeile);
            zeigeAnzahl(f);
            folgeFangListe(faenge, z.fangSpalte, nullptr);
        });
}

} // namespace

void InitialisiereBasis()
{
    modGVar::SetzeSpeicherModus();
}

bool SpeicherFisch()
{
    return speicher(zwilling(true));
}

bool SpeicherGewaesser()
{
    return speicher(zwilling(false));
}

void loadFAuswahl(int row, int col)
{
    (void)col;
    laden(zwilling(true), row);
}

void loadGAuswahl(int row, int col)
{
    (void)col;
    laden(zwilling(false), row);
}

bool UpdateFisch(int row)
{
    return update(zwilling(true), row);
}

bool UpdateGewaesser(int row)
{
    return update(zwilling(false), row);
}

bool LoescheFisch(int row)
{
    return loesche(zwilling(true), row);
}

bool LoescheGewaesser(int row)
{
    return loesche(zwilling(false), row);
}

void LeereBasisFelder()
{
    Basis &b = forms::form<Basis>();
    leere(b, fischTab(b), true);
    // No record of either tab is shown any more: the window no longer edits.
    if (b.lblFNr->text().isEmpty() && b.lblGNr->text().isEmpty())
        modGVar::VerlasseEditModus(b);
}

void LeereAlleBasisFelder()
{
    Basis &b = forms::form<Basis>();
    for (bool fisch : {true, false}) {
        leere(b, fisch, false);
        felder(b, fisch).anzahl->clear();
    }
    modGVar::VerlasseEditModus(b);
}

bool PruefeFischEingabe()
{
    return pruefe(true);
}

bool PruefeGewaesserEingabe()
{
    return pruefe(false);
}

} // namespace modBasis
