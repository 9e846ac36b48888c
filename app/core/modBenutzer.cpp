#include "core/modBenutzer.h"
#include "core/Benutzer.h"
#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/fields.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/statusbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTabWidget>

#include <functional>

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modBenutzer");

const QString TextDoppelterBenutzer =
    QStringLiteral("ACHTUNG: Ein Benutzer mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !");
const QString TextDoppelteGruppe =
    QStringLiteral("ACHTUNG: Eine Gruppe mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !");
const QString TextLetzterVerwalter = QStringLiteral(
    "ACHTUNG: Mindestens ein Benutzer muss Zugriff auf die Benutzerverwaltung behalten, Vorgang abgebrochen !");
const QString TextAngemeldet =
    QStringLiteral("ACHTUNG: Der angemeldete Benutzer kann nicht gelöscht werden, Vorgang abgebrochen !");
const QString TextGruppeAngemeldet =
    QStringLiteral("ACHTUNG: Die Gruppe des angemeldeten Benutzers kann nicht gelöscht werden, Vorgang abgebrochen !");

// Why a write was not made.
enum class Abbruch { Keiner, Doppelt, LetzterVerwalter, Angemeldet };

Benutzer &fenster()
{
    return forms::form<Benutzer>();
}

bool benutzerTab(const Benutzer &b)
{
    return b.tabBV->currentIndex() == 0;
}

void leere(Benutzer &b, bool benutzer, bool fokus)
{
    if (benutzer) {
        b.lblBNr->clear();
        b.txtBenutzer->clear();
        b.txtPassw->clear();
        b.txtPasswBest->clear();
        b.cboBG->setCurrentIndex(-1);
        b.cboBG->setEditText(QString());
        if (fokus)
            b.txtBenutzer->setFocus();
    } else {
        b.lblGNr->clear();
        b.txtGruppe->clear();
        for (QCheckBox *chk : b.Rechte())
            chk->setChecked(false);
        if (fokus)
            b.txtGruppe->setFocus();
    }
}

void zeigeAnzahl(Benutzer &b)
{
    b.lblBAnzahl->setText(QString::number(b.tblBenutzer->rowCount()));
    b.lblGAnzahl->setText(QString::number(b.tblZugriff->rowCount()));
}

void entferneZeile(forms::ListGrid &grid, qlonglong key, int row)
{
    const int zeile = grid.findKey(key, row);
    if (zeile >= 0)
        grid.removeRow(zeile);
}

// The name of the logged-in user (status panel 4), "" when nobody is logged in.
QString angemeldet()
{
    Main *main = forms::loadedForm<Main>();
    return main ? main->StatusBar1->panelText(4) : QString();
}

void setzeAngemeldet(const QString &name)
{
    if (Main *main = forms::loadedForm<Main>())
        main->StatusBar1->setPanelText(4, name);
}

long long zahl(dao::Sql sql, const QVariantList &params)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset, params);
    const long long n = rs(QStringLiteral("Expr1000")).Value().toLongLong();
    rs.Close();
    return n;
}

// Users who hold the right Benutzerverwaltung, leaving out user ohneBNr and the users of
// group ohneGNr (0: none left out).
long long verwalter(qlonglong ohneBNr, qlonglong ohneGNr)
{
    return zahl("SELECT COUNT(*) AS Expr1000 FROM Benutzer b, Gruppen g WHERE g.GNr = b.GNr "
                "AND g.Benutzerverwaltung <> 0 AND b.BNr <> ? AND b.GNr <> ?",
                {ohneBNr, ohneGNr});
}

// Whether a change leaves nobody with the right Benutzerverwaltung where somebody held it:
// the users left out (see verwalter) lose it, dazu users gain it.
bool letzterVerwalter(qlonglong ohneBNr, qlonglong ohneGNr, long long dazu)
{
    return verwalter(0, 0) > 0 && verwalter(ohneBNr, ohneGNr) + dazu == 0;
}

bool gruppeVerwaltet(qlonglong gnr)
{
    return zahl("SELECT COUNT(*) AS Expr1000 FROM Gruppen WHERE GNr = ? AND Benutzerverwaltung <> 0", {gnr}) > 0;
}

long long mitgliederzahl(qlonglong gnr)
{
    return zahl("SELECT COUNT(*) AS Expr1000 FROM Benutzer WHERE GNr = ?", {gnr});
}

QSet<QString> schluessel(dao::Sql sql, const QVariantList &params)
{
    QSet<QString> menge;
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset, params);
    while (!rs.Eof()) {
        menge.insert(QString::number(rs(0).Value().toLongLong()));
        rs.MoveNext();
    }
    rs.Close();
    return menge;
}

// The keys both tables hold now; the grids drop rows whose record is gone.
struct Bestand
{
    bool gelesen = false;
    QSet<QString> benutzer;
    QSet<QString> gruppen;

    void lies()
    {
        benutzer = schluessel("SELECT BNr FROM Benutzer", {});
        gruppen = schluessel("SELECT GNr FROM Gruppen", {});
        gelesen = true;
    }
};

void behalteNur(forms::ListGrid &grid, const QSet<QString> &keys)
{
    for (int r = grid.rowCount() - 1; r >= 0; --r)
        if (!keys.contains(grid.text(r, 0)))
            grid.removeRow(r);
}

void raeumeAuf(Benutzer &b, const Bestand &bestand)
{
    if (!bestand.gelesen)
        return;
    behalteNur(*b.tblBenutzer, bestand.benutzer);
    behalteNur(*b.tblZugriff, bestand.gruppen);
    zeigeAnzahl(b);
}

// Shows why a write was not made; false when it was made.
bool melde(Abbruch abbruch, const QString &doppelt, const QString &angemeldet = QString())
{
    QString text;
    switch (abbruch) {
    case Abbruch::Keiner: return false;
    case Abbruch::Doppelt: text = doppelt; break;
    case Abbruch::LetzterVerwalter: text = TextLetzterVerwalter; break;
    case Abbruch::Angemeldet: text = angemeldet; break;
    }
    forms::MsgBox(text, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
    return true;
}

// The groups-grid row of the current Gruppen record: GNr, GName and the ten rights.
QVariantList gruppenZeile(dao::Recordset &rs)
{
    QVariantList zeile{rs(QStringLiteral("GNr")).Value().toLongLong(), rs(QStringLiteral("GName")).Value().toString()};
    for (int r = 0; r < 10; ++r)
        zeile << rs(modStart::Rechtsspalte(modStart::Recht(r))).Value().toBool();
    return zeile;
}

bool nameVergeben(const QString &name, qlonglong ausser)
{
    return zahl("SELECT COUNT(*) AS Expr1000 FROM Benutzer WHERE Name = ? COLLATE BINARY AND BNr <> ?",
                {name, ausser}) > 0;
}

bool gruppeVergeben(const QString &name, qlonglong ausser)
{
    return zahl("SELECT COUNT(*) AS Expr1000 FROM Gruppen WHERE GName = ? AND GNr <> ?", {name, ausser}) > 0;
}

// A change to the stored user (benutzer) or group of key, as the four changes make it. In one
// transaction the record is sought and handed to schreibe, which returns why it refuses (or
// Keiner). Then a refusal is shown, a record gone meanwhile is reported and the grids drop every
// row whose record is gone, or else danach brings the grids in step; last, the user's or the
// group's fields are emptied. False when the write failed or was refused.
bool aendere(const QString &routine, bool benutzer, qlonglong key,
             const std::function<Abbruch(dao::Recordset &)> &schreibe, const std::function<void()> &danach)
{
    Trap t(Modul, routine);
    bool gefunden = false;
    Abbruch abbruch = Abbruch::Keiner;
    Bestand bestand;
    const bool ok = t.write(*gv().wsDaten, [&] {
        dao::Recordset rs = benutzer ? gv().dbDaten.SeekKey("Benutzer", key) : gv().dbDaten.SeekKey("Gruppen", key);
        if (rs.NoMatch()) {
            bestand.lies();
            return;
        }
        gefunden = true;
        abbruch = schreibe(rs);
    });
    if (!ok || melde(abbruch, benutzer ? TextDoppelterBenutzer : TextDoppelteGruppe,
                     benutzer ? TextAngemeldet : TextGruppeAngemeldet))
        return false;
    Benutzer &b = fenster();
    if (!gefunden) {
        modRun::ZeigeDSFehlt();
        raeumeAuf(b, bestand);
    } else {
        danach();
    }
    leere(b, benutzer, true);
    return true;
}

} // namespace

namespace modStart {

void loadTblBenutzer()
{
    Trap t(QStringLiteral("modStart"), QStringLiteral("loadTblBenutzer"));
    forms::ListGrid &grid = *fenster().tblBenutzer;
    dao::Recordset rs;
    t.step([&] {
        rs = gv().dbDaten.OpenRecordset("SELECT b.BNr, b.Name, b.Passwort, g.GName FROM Benutzer b, Gruppen g "
                                        "WHERE g.GNr = b.GNr ORDER BY b.BNr",
                                        dao::dbOpenDynaset);
    });
    if (!rs.IsOpen())
        return;
    t.step([&] {
        while (!rs.Eof()) {
            grid.addRow(QVariantList{rs(0).Value().toLongLong(), rs(1).Value().toString(), rs(2).Value().toString(),
                                     rs(3).Value().toString()});
            rs.MoveNext();
        }
    });
    rs.Close();
}

void loadTblZugriff()
{
    Trap t(QStringLiteral("modStart"), QStringLiteral("loadTblZugriff"));
    forms::ListGrid &grid = *fenster().tblZugriff;
    dao::Recordset rs;
    t.step([&] { rs = gv().dbDaten.OpenRecordset("SELECT * FROM Gruppen ORDER BY GNr", dao::dbOpenDynaset); });
    if (!rs.IsOpen())
        return;
    t.step([&] {
        while (!rs.Eof()) {
            grid.addRow(gruppenZeile(rs));
            rs.MoveNext();
        }
    });
    rs.Close();
}

void loadcboBG(QComboBox &cbo)
{
    const forms::ListGrid &grid = *fenster().tblZugriff;
    const QString getippt = cbo.currentText();
    const int anzahl = grid.rowCount();
    cbo.clear();
    for (int r = 0; r < anzahl; ++r)
        cbo.addItem(grid.text(r, 1));
    // A list filled from code has no entry chosen.
    cbo.setCurrentIndex(-1);
    if (cbo.isEditable())
        cbo.setEditText(getippt);
}

} // namespace modStart

namespace modBenutzer {

bool PruefeGleichheit(const QString &a, const QString &b)
{
    return a == b;
}

qint32 ErmittleGNr(const QString &name)
{
    Trap t(Modul, QStringLiteral("ErmittleGNr"));
    qint32 nr = 0;
    t.step([&] {
        dao::Recordset rs =
            gv().dbDaten.OpenRecordset("SELECT GNr FROM Gruppen WHERE GName = ?", dao::dbOpenDynaset, {name});
        if (rs.RecordCount() == 1)
            nr = qint32(rs(0).Value().toLongLong());
        else
            forms::MsgBox(QStringLiteral("Keine Benutzergruppe angelegt! Bitte legen Sie zuerst eine Gruppe an."),
                          forms::vbOKOnly + forms::vbCritical, modRun::Titel);
        rs.Close();
    });
    return nr;
}

QString ErmittleGName(qint32 nr)
{
    Trap t(Modul, QStringLiteral("ErmittleGName"));
    QString name = QStringLiteral("0");
    t.step([&] {
        dao::Recordset rs =
            gv().dbDaten.OpenRecordset("SELECT GName FROM Gruppen WHERE GNr = ?", dao::dbOpenDynaset, {nr});
        if (rs.RecordCount() == 1)
            name = rs(0).Value().toString();
        rs.Close();
    });
    return name;
}

bool SpeicherBenutzer()
{
    Benutzer &b = fenster();
    const QString name = b.txtBenutzer->text();
    const QString passwort = b.txtPassw->text();
    const qint32 gnr = ErmittleGNr(b.cboBG->currentText());
    if (gnr == 0) {
        leere(b, true, true);
        return true;
    }
    Trap t(Modul, QStringLiteral("SpeicherBenutzer"));
    Abbruch abbruch = Abbruch::Keiner;
    QVariantList zeile;
    const bool ok = t.write(*gv().wsDaten, [&] {
        if (nameVergeben(name, 0)) {
            abbruch = Abbruch::Doppelt;
            return;
        }
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Benutzer", dao::dbOpenTable);
        rs.AddNew();
        rs(QStringLiteral("Name")) = name;
        rs(QStringLiteral("Passwort")) = passwort;
        rs(QStringLiteral("GNr")) = gnr;
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        zeile = {rs(QStringLiteral("BNr")).Value().toLongLong(), rs(QStringLiteral("Name")).Value().toString(),
                 rs(QStringLiteral("Passwort")).Value().toString()};
        rs.Close();
    });
    if (!ok || melde(abbruch, TextDoppelterBenutzer))
        return false;
    const QString gruppe = ErmittleGName(gnr);
    if (!gruppe.isEmpty()) {
        zeile << gruppe;
        b.tblBenutzer->addRow(zeile);
    }
    leere(b, true, true);
    zeigeAnzahl(b);
    return true;
}

bool SpeicherBG()
{
    Benutzer &b = fenster();
    const QString name = b.txtGruppe->text();
    Trap t(Modul, QStringLiteral("SpeicherBG"));
    Abbruch abbruch = Abbruch::Keiner;
    QVariantList zeile;
    const bool ok = t.write(*gv().wsDaten, [&] {
        if (gruppeVergeben(name, 0)) {
            abbruch = Abbruch::Doppelt;
            return;
        }
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Gruppen", dao::dbOpenTable);
        rs.AddNew();
        rs(QStringLiteral("GName")) = name;
        SichereZugriff(rs);
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        zeile = gruppenZeile(rs);
        rs.Close();
    });
    if (!ok || melde(abbruch, TextDoppelteGruppe))
        return false;
    b.tblZugriff->addRow(zeile);
    leere(b, false, true);
    zeigeAnzahl(b);
    modStart::loadcboBG(*b.cboBG);
    return true;
}

void SichereZugriff(dao::Recordset &rs)
{
    // Part of the caller's write: an error ends that write (rolled back) instead of going on.
    const QList<QCheckBox *> rechte = fenster().Rechte();
    for (int r = 0; r < rechte.size(); ++r)
        rs(modStart::Rechtsspalte(modStart::Recht(r))) = modRun::ErmittleChkWert(*rechte[r]);
}

void LadeZugriff(int row)
{
    Trap t(Modul, QStringLiteral("LadeZugriff"));
    Benutzer &b = fenster();
    const QList<QCheckBox *> rechte = b.Rechte();
    for (int r = 0; r < rechte.size(); ++r)
        t.step([&] { rechte[r]->setChecked(b.tblZugriff->value(row, r + 2).toBool()); });
}

void LeereBVFelder()
{
    Benutzer &b = fenster();
    leere(b, benutzerTab(b), true);
    // No record of either tab is shown any more: the window no longer edits.
    if (b.lblBNr->text().isEmpty() && b.lblGNr->text().isEmpty())
        modGVar::VerlasseEditModus(b);
}

void LeereAlleBVFelder()
{
    Benutzer &b = fenster();
    leere(b, true, false);
    leere(b, false, false);
    modGVar::VerlasseEditModus(b);
}

void loadBAuswahl(int row, int col)
{
    (void)col;
    Benutzer &b = fenster();
    const forms::ListGrid &grid = *b.tblBenutzer;
    if (row < 0 || row >= grid.rowCount())
        return;
    b.lblBNr->setText(grid.text(row, 0));
    b.txtBenutzer->setText(grid.text(row, 1));
    // Both boxes hold the stored password, so that an unchanged one passes the confirmation.
    b.txtPassw->setText(grid.text(row, 2));
    b.txtPasswBest->setText(grid.text(row, 2));
    b.cboBG->setEditText(grid.text(row, 3));
}

void loadBGAuswahl(int row, int col)
{
    (void)col;
    Benutzer &b = fenster();
    const forms::ListGrid &grid = *b.tblZugriff;
    if (row < 0 || row >= grid.rowCount())
        return;
    b.lblGNr->setText(grid.text(row, 0));
    b.txtGruppe->setText(grid.text(row, 1));
    LadeZugriff(row);
}

bool UpdateBenutzer(int row)
{
    Benutzer &b = fenster();
    const qlonglong key = forms::labelNumber(*b.lblBNr);
    const QString name = b.txtBenutzer->text();
    const QString passwort = b.txtPassw->text();
    const qint32 gnr = ErmittleGNr(b.cboBG->currentText());
    if (gnr == 0) {
        // The stored user and its grid row stay as they were.
        leere(b, true, true);
        return true;
    }
    const QString ich = angemeldet();
    bool warIch = false;
    return aendere(
        QStringLiteral("UpdateBenutzer"), true, key,
        [&](dao::Recordset &rs) {
            if (nameVergeben(name, key))
                return Abbruch::Doppelt;
            if (letzterVerwalter(key, 0, gruppeVerwaltet(gnr) ? 1 : 0))
                return Abbruch::LetzterVerwalter;
            warIch = !ich.isEmpty() && rs(QStringLiteral("Name")).Value().toString() == ich;
            rs.Edit();
            rs(QStringLiteral("Name")) = name;
            rs(QStringLiteral("Passwort")) = passwort;
            rs(QStringLiteral("GNr")) = gnr;
            rs.Update();
            rs.Close();
            return Abbruch::Keiner;
        },
        [&] {
            const int zeile = b.tblBenutzer->findKey(key, row);
            if (zeile >= 0) {
                b.tblBenutzer->setText(zeile, 1, name);
                b.tblBenutzer->setText(zeile, 2, passwort);
                b.tblBenutzer->setText(zeile, 3, ErmittleGName(gnr));
            }
            // The logged-in user is known by his name: a renamed one keeps his rights checks.
            if (warIch)
                setzeAngemeldet(name);
        });
}

bool UpdateBG(int row)
{
    Benutzer &b = fenster();
    const qlonglong key = forms::labelNumber(*b.lblGNr);
    const QString name = b.txtGruppe->text();
    const bool verwaltet = modRun::ErmittleChkWert(*b.chkBenutzer);
    QVariantList gruppe;
    QSet<QString> mitglieder;
    return aendere(
        QStringLiteral("UpdateBG"), false, key,
        [&](dao::Recordset &rs) {
            if (gruppeVergeben(name, key))
                return Abbruch::Doppelt;
            if (letzterVerwalter(0, key, verwaltet ? mitgliederzahl(key) : 0))
                return Abbruch::LetzterVerwalter;
            const QString alt = rs(QStringLiteral("GName")).Value().toString();
            rs.Edit();
            rs(QStringLiteral("GName")) = name;
            SichereZugriff(rs);
            rs.Update();
            gruppe = gruppenZeile(rs);
            if (gruppe.at(1).toString() != alt)
                mitglieder = schluessel("SELECT BNr FROM Benutzer WHERE GNr = ?", {key});
            rs.Close();
            return Abbruch::Keiner;
        },
        [&] {
            forms::ListGrid &grid = *b.tblZugriff;
            const int zeile = grid.findKey(key, row);
            if (zeile >= 0)
                for (int c = 1; c < gruppe.size(); ++c)
                    grid.setValue(zeile, c, gruppe.at(c));
            // The users of a renamed group show its new name.
            forms::ListGrid &benutzer = *b.tblBenutzer;
            for (int r = 0; r < benutzer.rowCount(); ++r)
                if (mitglieder.contains(benutzer.text(r, 0)))
                    benutzer.setText(r, 3, gruppe.at(1).toString());
        });
}

bool LoescheBenutzer(int row)
{
    Benutzer &b = fenster();
    const qlonglong key = forms::labelNumber(*b.lblBNr);
    const QString ich = angemeldet();
    return aendere(
        QStringLiteral("LoescheBenutzer"), true, key,
        [&](dao::Recordset &rs) {
            if (!ich.isEmpty() && rs(QStringLiteral("Name")).Value().toString() == ich)
                return Abbruch::Angemeldet;
            if (letzterVerwalter(key, 0, 0))
                return Abbruch::LetzterVerwalter;
            rs.Delete();
            rs.Close();
            return Abbruch::Keiner;
        },
        [&] {
            entferneZeile(*b.tblBenutzer, key, row);
            zeigeAnzahl(b);
        });
}

bool LoescheZugriff(int row)
{
    Benutzer &b = fenster();
    const qlonglong key = forms::labelNumber(*b.lblGNr);
    const QString ich = angemeldet();
    QSet<QString> mitglieder;
    return aendere(
        QStringLiteral("LoescheZugriff"), false, key,
        [&](dao::Recordset &rs) {
            if (!ich.isEmpty() &&
                zahl("SELECT COUNT(*) AS Expr1000 FROM Benutzer WHERE GNr = ? AND Name = ? COLLATE BINARY",
                     {key, ich}) > 0)
                return Abbruch::Angemeldet;
            if (letzterVerwalter(0, key, 0))
                return Abbruch::LetzterVerwalter;
            // The users go with the group (the relation cascades): note which they are first.
            mitglieder = schluessel("SELECT BNr FROM Benutzer WHERE GNr = ?", {key});
            rs.Delete();
            rs.Close();
            return Abbruch::Keiner;
        },
        [&] {
            entferneZeile(*b.tblZugriff, key, row);
            forms::ListGrid &benutzer = *b.tblBenutzer;
            for (int r = benutzer.rowCount() - 1; r >= 0; --r)
                if (mitglieder.contains(benutzer.text(r, 0)))
                    benutzer.removeRow(r);
            zeigeAnzahl(b);
            modStart::loadcboBG(*b.cboBG);
        });
}

bool PruefeBenutzerEingabe()
{
    const Benutzer &b = fenster();
    if (modRun::IstName(b.txtBenutzer->text()) && modRun::IstName(b.cboBG->currentText()))
        return true;
    modRun::ZeigeEingabeFehler();
    return false;
}

bool PruefeBGEingabe()
{
    if (modRun::IstName(fenster().txtGruppe->text()))
        return true;
    modRun::ZeigeEingabeFehler();
    return false;
}

} // namespace modBenutzer
