#include "contacts/modKatego.h"
#include "contacts/Katego.h"
#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/SuchKont.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/fields.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

#include <functional>
#include <optional>

namespace modKatego {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modKatego");
const QString Aktiv = QStringLiteral("Mitglieder (aktiv)");
const QString Passiv = QStringLiteral("Mitglieder (passiv)");
const QString Suffix = QStringLiteral(" -> Systemkategorie <-");
const QString Doppelt =
    QStringLiteral("ACHTUNG: Eine Kategorie mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !");

// The name as it is stored: without blanks around it.
QString nameAus(const QLineEdit &box)
{
    return box.text().trimmed();
}

// True when a category other than ausser bears the name (the collation folds case and German
// letters). A name with the system categories' mark counts as the name without it.
bool gibtEs(QString name, qlonglong ausser)
{
    if (name.endsWith(Suffix))
        name.chop(Suffix.size());
    dao::Recordset rs = gv().dbDaten.OpenRecordset(
        "SELECT COUNT(*) AS Expr1000 FROM Katego WHERE TRIM(Kategorie) = ? COLLATE NOCASEDE AND KategoNr <> ?",
        dao::dbOpenDynaset, {name.trimmed(), ausser});
    const bool ja = rs(QStringLiteral("Expr1000")).Value().toLongLong() > 0;
    rs.Close();
    return ja;
}

void meldeDoppelt()
{
    forms::MsgBox(Doppelt, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

void meldeSystemkategorie()
{
    forms::MsgBox(QStringLiteral("ACHTUNG: Systemkategorie, keine Änderungen oder Löschung erlaubt!"),
                  forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

void zeigeAnzahl(Katego &k)
{
    k.lblAnzahl->setText(QString::number(k.tblKatego->top().rowCount()));
}

// The contact overview's grid, switched to its top level; nullptr before it exists.
forms::ListGrid *uebersicht()
{
    KontaktUebers *u = forms::loadedForm<KontaktUebers>();
    if (!u)
        return nullptr;
    u->tblKUebers->switchToTop();
    return u->tblKUebers;
}

// The search dialog's results: rename a category in column 1, or remove the rows of contacts.
void folgeSuche(const QString *alterName, const QString *neuerName, const QSet<QString> *geloeschteKontakte)
{
    SuchKont *s = forms::loadedForm<SuchKont>();
    if (!s)
        return;
    forms::GridList &liste = s->tblSuch->top();
    for (int r = liste.rowCount() - 1; r >= 0; --r) {
        if (alterName && neuerName && liste.text(r, 1) == *alterName)
            liste.setText(r, 1, *neuerName);
        if (geloeschteKontakte && geloeschteKontakte->contains(liste.text(r, 0)))
            liste.removeRow(r);
    }
    if (geloeschteKontakte)
        s->lblGefDS->setText(liste.rowCount() > 0 ? QString::number(liste.rowCount()) : QString());
}

// Categories are written under the contact right, as the contacts they hold.
bool darfSchreiben()
{
    return modStart::PruefeZugriff(modStart::Recht::Kontakt);
}

void fuelleCombo(QComboBox &cbo)
{
    const QString vorher = cbo.currentIndex() >= 0 ? cbo.currentText() : QString();
    modStart::loadcboKatego(cbo);
    if (!vorher.isEmpty() && cbo.currentText() != vorher)
        cbo.setCurrentIndex(cbo.findText(vorher, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

// The write of a change to category nr, in one transaction: its record is sought and handed to
// schreibe. Returns the change's result when it ends here: true after a system category (refused
// with its box, nothing written) or a category gone meanwhile (reported), both with the fields
// emptied; false when the write failed. Returns nothing once schreibe has run.
std::optional<bool> aendereKatego(const QString &routine, qlonglong nr,
                                  const std::function<void(dao::Recordset &)> &schreibe)
{
    if (IstSystemkategorie(nr)) {
        meldeSystemkategorie();
        LeereKategoFelder();
        return true;
    }
    Trap t(Modul, routine);
    const Trap::Satz satz = t.writeRecord("Katego", nr, schreibe);
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Geschrieben)
        return std::nullopt;
    modRun::ZeigeDSFehlt();
    LeereKategoFelder();
    return true;
}

} // namespace

bool IstSystemkategorie(qint64 kategoNr)
{
    return kategoNr == 1 || kategoNr == 2;
}

void AktualisiereKategoCombos()
{
    if (Kontakt *k = forms::loadedForm<Kontakt>())
        fuelleCombo(*k->cboKatego);
    if (SuchKont *s = forms::loadedForm<SuchKont>())
        s->FuelleKategorien();
}

void InitialisiereKatego()
{
    modGVar::SetzeSpeicherModus();
    gv().varListe = QVariantList(2);
}

bool PruefeKategoEingabe()
{
    const QLineEdit &box = *forms::form<Katego>().txtKatego;
    // As typed: a line break at the end is no blank to drop.
    if (modRun::IstName(box.text()) && nameAus(box).size() <= MaxNamenslaenge)
        return true;
    modRun::ZeigeEingabeFehler();
    return false;
}

void LeereKategoFelder()
{
    Katego &k = forms::form<Katego>();
    k.txtKatego->clear();
    k.lblKategoNr->clear();
    k.txtKatego->setFocus();
    modGVar::VerlasseEditModus(k);
}

bool SpeicherKatego()
{
    if (!darfSchreiben())
        return false;
    Katego &k = forms::form<Katego>();
    const QString name = nameAus(*k.txtKatego);
    Trap t(Modul, QStringLiteral("SpeicherKatego"));
    bool doppelt = false;
    qlonglong neu = 0;
    QString gespeichert;
    const bool ok = t.write(*gv().wsDaten, [&] {
        doppelt = gibtEs(name, 0);
        if (doppelt)
            return;
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Katego", dao::dbOpenTable);
        rs.AddNew();
        rs(QStringLiteral("kategorie")) = name;
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        neu = rs(QStringLiteral("kategonr")).Value().toLongLong();
        gespeichert = rs(QStringLiteral("kategorie")).Value().toString();
        rs.Close();
    });
    if (!ok)
        return false;
    if (doppelt) {
        meldeDoppelt();
        return false;
    }
    auto &g = gv();
    g.varListe = QVariantList{neu, gespeichert};
    k.tblKatego->top().addRow(g.varListe);
    zeigeAnzahl(k);
    if (forms::ListGrid *u = uebersicht()) {
        g.varListe = QVariantList{neu, QString(), gespeichert};
        u->top().addRow(g.varListe);
    }
    AktualisiereKategoCombos();
    LeereKategoFelder();
    return true;
}

bool UpdateKatego(int &row)
{
    if (!darfSchreiben())
        return false;
    Katego &k = forms::form<Katego>();
    const qlonglong nr = forms::labelNumber(*k.lblKategoNr);
    const QString name = nameAus(*k.txtKatego);
    bool doppelt = false;
    QString alt;
    QString gespeichert;
    const std::optional<bool> ende = aendereKatego(QStringLiteral("UpdateKatego"), nr, [&](dao::Recordset &rs) {
        doppelt = gibtEs(name, nr);
        if (doppelt)
            return;
        alt = rs(QStringLiteral("kategorie")).Value().toString();
        rs.Edit();
        rs(QStringLiteral("kategorie")) = name;
        rs.Update();
        gespeichert = rs(QStringLiteral("kategorie")).Value().toString();
        rs.Close();
    });
    if (ende)
        return *ende;
    if (doppelt) {
        meldeDoppelt();
        return false;
    }
    const int zeile = k.tblKatego->top().findKey(nr, row);
    if (zeile >= 0)
        k.tblKatego->top().setText(zeile, 1, gespeichert);
    if (forms::ListGrid *u = uebersicht()) {
        const int r = u->top().find(0, QString::number(nr));
        Trap t(Modul, QStringLiteral("UpdateKatego"));
        if (r >= 0)
            t.step([&] {
                const long n = modKontakt::ErmittleKategoAnzahl(r);
                u->top().setText(
                    r, 2, n != 0 ? gespeichert + QStringLiteral("  [") + QString::number(n) + u']' : gespeichert);
            });
    }
    folgeSuche(&alt, &gespeichert, nullptr);
    AktualisiereKategoCombos();
    LeereKategoFelder();
    return true;
}

bool LoescheKatego(int &row)
{
    if (!darfSchreiben())
        return false;
    Katego &k = forms::form<Katego>();
    const qlonglong nr = forms::labelNumber(*k.lblKategoNr);
    QSet<QString> kontakte;
    const std::optional<bool> ende = aendereKatego(QStringLiteral("LoescheKatego"), nr, [&](dao::Recordset &rs) {
        // The contacts go with the category (the relation cascades): note which they are first.
        dao::Recordset kr =
            gv().dbDaten.OpenRecordset("SELECT KNr FROM Kontakt WHERE KategoNr = ?", dao::dbOpenDynaset, {nr});
        while (!kr.Eof()) {
            kontakte.insert(QString::number(kr(0).Value().toLongLong()));
            kr.MoveNext();
        }
        kr.Close();
        rs.Delete();
        rs.Close();
    });
    if (ende)
        return *ende;
    const int zeile = k.tblKatego->top().findKey(nr, row);
    if (zeile >= 0)
        k.tblKatego->top().removeRow(zeile);
    zeigeAnzahl(k);
    if (forms::ListGrid *u = uebersicht()) {
        const int r = u->top().find(0, QString::number(nr));
        if (r >= 0)
            u->top().removeRow(r);
    }
    folgeSuche(nullptr, nullptr, &kontakte);
    AktualisiereKategoCombos();
    LeereKategoFelder();
    return true;
}

void loadKatego(int &row, int &col)
{
    (void)col;
    Katego &k = forms::form<Katego>();
    Trap t(Modul, QStringLiteral("loadKatego"));
    qlonglong nr = 0;
    if (!t.step([&] { nr = k.tblKatego->top().value(row, 0).toLongLong(); }))
        return;
    t.step([&] {
        dao::Recordset rs =
            gv().dbDaten.OpenRecordset("SELECT * FROM Katego WHERE KategoNr = ?", dao::dbOpenDynaset, {nr});
        if (rs.RecordCount() != 1) {
            rs.Close();
            modRun::ZeigeDSFehlt();
            return;
        }
        const QString name = rs(QStringLiteral("kategorie")).Value().toString();
        const qlonglong nummer = rs(QStringLiteral("kategonr")).Value().toLongLong();
        rs.Close();
        if (name == Aktiv || name == Passiv || IstSystemkategorie(nummer)) {
            meldeSystemkategorie();
            modGVar::VerlasseEditModus(k);
            return;
        }
        k.lblKategoNr->setText(QString::number(nummer));
        k.txtKatego->setText(name);
    });
}

} // namespace modKatego
