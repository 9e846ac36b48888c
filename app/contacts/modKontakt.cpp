#include "contacts/modKontakt.h"
#include "contacts/Datumsfeld.h"
#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "dao/oledate.h"
#include "forms/fields.h"
#include "forms/listgrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <type_traits>
#include <vector>

namespace modKontakt {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modKontakt");

// 1 while the start-up set-up fills the overview, else 0.
int intKUebersStart = 0;
// During the start-up set-up: the contacts per category, read in one pass (null when that
// failed: each category then counts its own).
const QHash<qint64, long long> *startAnzahlen = nullptr;

// Back colour of a nested contact list, RGB(172, 199, 247); its second colour is 72 less.
constexpr quint32 KontaktlistenFarbe = 0x00F7C7ACu;

// What the editor holds, checked and resolved.
struct Eingabe
{
    qint32 kategoNr = 0;
    QString kategoName;
    QString anrede, nachname, vorname, strasse, plz, ort, tel1, tel2, mobil, fax, email, firma;
    double gebDatum = modRun::KeinDatum;
    QString gebDatumText; // as the overview lists it
    bool bankeinzug = false;
    QString blz, kreditInstitut, kontoNr, notiz;
    bool geschlecht = true, befreit = false, bezahlt = false, jg = false;
    double eintritt = modRun::KeinDatum, austritt = modRun::KeinDatum;
};

// Reads the editor without a message of its own. Refused: no category that exists (a contact
// is never stored under category 0), an empty surname or first name, a date that does not
// exist. A category lookup that fails is no wrong input: its error box has told.
modRun::Pruefung leseEingabe(const Kontakt &k, Eingabe &e)
{
    using modRun::Pruefung;
    e.kategoName = k.cboKatego->currentText();
    if (e.kategoName.isEmpty() || k.txtNName->text().trimmed().isEmpty() || k.txtVName->text().trimmed().isEmpty())
        return Pruefung::Ungueltig;
    if (!k.txtGebDat->gueltig())
        return Pruefung::Ungueltig;
    bool fehler = false;
    e.kategoNr = ErmittleKategoNr(e.kategoName, &fehler);
    if (fehler)
        return Pruefung::Fehler;
    if (e.kategoNr == 0)
        return Pruefung::Ungueltig;
    if (IstMitgliedskategorie(e.kategoNr) && (!k.txtEintritt->gueltig() || !k.txtAustritt->gueltig()))
        return Pruefung::Ungueltig;
    e.anrede = k.txtAnrede->text();
    e.nachname = k.txtNName->text();
    e.vorname = k.txtVName->text();
    e.strasse = k.txtStrasse->text();
    e.plz = k.txtPLZ->text();
    e.ort = k.txtOrt->text();
    e.tel1 = k.txtTelPriv->text();
    e.tel2 = k.txtTelGesch->text();
    e.mobil = k.txtMobil->text();
    e.fax = k.txtFax->text();
    e.email = k.txtEMail->text();
    e.firma = k.txtFirma->text();
    e.gebDatum = k.txtGebDat->wert();
    // Written as every date of the overview is, whatever the field shows.
    e.gebDatumText = modRun::ErmittleDatumTextOhneNull(e.gebDatum);
    e.bankeinzug = modRun::ErmittleChkWert(*k.chkEinzug);
    e.blz = k.txtBLZ->text();
    e.kreditInstitut = k.txtKInst->text();
    e.kontoNr = k.txtKontoNr->text();
    e.notiz = k.txtNotiz->toPlainText();
    e.geschlecht = modRun::ErmittleOptWert(*k.optMann);
    e.befreit = modRun::ErmittleOptWert(*k.optBefreit);
    e.bezahlt = modRun::ErmittleOptWert(*k.optBezahlt);
    e.eintritt = k.txtEintritt->wert();
    e.austritt = k.txtAustritt->wert();
    e.jg = modRun::ErmittleChkWert(*k.chkJG);
    for (const QString *text : {&e.anrede, &e.nachname, &e.vorname, &e.strasse, &e.plz, &e.ort, &e.tel1, &e.tel2,
                                &e.mobil, &e.fax, &e.email, &e.firma, &e.blz, &e.kreditInstitut, &e.kontoNr})
        if (!modRun::IstFeldtext(*text))
            return modRun::Pruefung::Ungueltig;
    return modRun::IstFeldtext(e.notiz, true) ? modRun::Pruefung::Gueltig : modRun::Pruefung::Ungueltig;
}

void schreibeKontakt(dao::Recordset &rs, const Eingabe &e)
{
    rs("KategoNr") = e.kategoNr;
    rs("Anrede") = e.anrede;
    rs("Nachname") = e.nachname;
    rs("Vorname") = e.vorname;
    rs("Strasse") = e.strasse;
    rs("PLZ") = e.plz;
    rs("Ort") = e.ort;
    rs("Tel1") = e.tel1;
    rs("Tel2") = e.tel2;
    rs("Mobil") = e.mobil;
    rs("Fax") = e.fax;
    rs("EMail") = e.email;
    rs("Firma") = e.firma;
    rs("GebDatum") = e.gebDatum;
    rs("Bankeinzug") = e.bankeinzug;
    rs("BLZ") = e.blz;
    rs("KreditInstitut") = e.kreditInstitut;
    rs("KontoNr") = e.kontoNr;
    rs("Notiz") = e.notiz;
}

void schreibeMitgliedsfelder(dao::Recordset &rs, const Eingabe &e)
{
    rs("Geschlecht") = e.geschlecht;
    rs("Befreit") = e.befreit;
    rs("Bezahlt") = e.bezahlt;
    rs("Eintritt") = e.eintritt;
    rs("Austritt") = e.austritt;
    rs("JG") = e.jg;
}

// The member record of the contact: added when missing, changed when present.
void schreibeMitglied(qlonglong knr, const Eingabe &e)
{
    dao::Recordset m = gv().dbDaten.SeekKey("Mitglied", knr);
    if (m.NoMatch()) {
        m.AddNew();
        m("KNr") = knr;
    } else {
        m.Edit();
    }
    schreibeMitgliedsfelder(m, e);
    m.Update();
    m.Close();
}

// Deletes the member record of the contact; false when there was none.
bool loescheMitglied(qlonglong knr)
{
    dao::Recordset m = gv().dbDaten.SeekKey("Mitglied", knr);
    const bool da = !m.NoMatch();
    if (da)
        m.Delete();
    m.Close();
    return da;
}

QString kontaktbild()
{
    return modStart::Programmordner() + QStringLiteral("/Graphics/bmp/Cut.bmp");
}

QVariantList platzhalter()
{
    return QVariantList{0,         QString(), QString(), QString(), QString(),
                        QString(), QString(), QString(), QString(), QString()};
}

// A contact row built from the editor: KNr, picture column, then the eight texts.
QVariantList editorZeile(const Eingabe &e, qlonglong knr, const QString &bild)
{
    return QVariantList{knr, bild, e.firma, e.anrede, e.nachname, e.vorname, e.tel1, e.fax, e.gebDatumText, e.email};
}

// ---- the overview's rows

KontaktUebers *uebersicht()
{
    return forms::loadedForm<KontaktUebers>();
}

int kategoZeile(forms::ListGrid &grid, qint32 nr)
{
    grid.switchToTop();
    return grid.top().find(0, QString::number(nr));
}

// The number of contacts stored in category nr.
long long anzahlKontakte(qint64 nr)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT COUNT(*) AS Expr1000 FROM Kontakt WHERE KategoNr = ?",
                                                   dao::dbOpenDynaset, {nr});
    const long long n = rs("Expr1000").Value().toLongLong();
    rs.Close();
    return n;
}

// The name of a category row with its count. A category left without contacts is shown as at
// start-up: its bare name, collapsed ("+"), without a nested list, so that nothing takes it for
// an expanded category with contacts.
void setzeAnzahl(forms::ListGrid &grid, int row, const QString &name, long n)
{
    forms::GridList &top = grid.top();
    top.setText(row, 2, n > 0 ? name + QStringLiteral("  [") + QString::number(n) + QStringLiteral("]") : name);
    if (n > 0)
        return;
    top.setExpanded(row, false);
    top.setText(row, 1, QStringLiteral("+"));
    top.dropChild(row);
}

// The layout of a nested contact list (SetzeKUebersSpalten); the list is emptied first.
void setzeKontaktSpalten(forms::GridList &liste)
{
    const forms::GridList::LookBatch einmal(liste);
    liste.clear();
    QFont schrift(QStringLiteral("MS Sans Serif"));
    schrift.setPointSize(8);
    schrift.setBold(false);
    liste.setFont(schrift);
    liste.setExpanderWidth(350);
    struct Spalte
    {
        const char *titel;
        int breite;
        int laenge;
        forms::ColumnType typ;
    };
    static const Spalte spalten[] = {
        {"Kontakt.-Nr", 1200, 0, forms::ColumnType::Number}, {"", 240, 0, forms::ColumnType::Picture},
        {"Firma", 2300, 50, forms::ColumnType::Text},        {"Anrede", 1000, 50, forms::ColumnType::Text},
        {"Nachname", 1500, 50, forms::ColumnType::Text},     {"Vorname", 1500, 50, forms::ColumnType::Text},
        {"Tel (priv.)", 1500, 30, forms::ColumnType::Text},  {"Fax (geschftl.)", 1500, 30, forms::ColumnType::Text},
        {"Geb-Datum", 1500, 10, forms::ColumnType::Text},    {"EMail", 1980, 50, forms::ColumnType::Text},
    };
    liste.setColumnCount(10);
    for (int c = 0; c < 10; ++c) {
        const Spalte &s = spalten[c];
        liste.setColumnCaption(c, QString::fromUtf8(s.titel));
        liste.setColumnWidth(c, s.breite);
        liste.setColumnType(c, s.typ);
        liste.setColumnMaxLength(c, s.laenge);
    }
}

// A nested contact list's layout and colours; the colour marks a category that exists in Katego.
void richteKontaktlisteEin(forms::GridList &liste, bool inKatego)
{
    const forms::GridList::LookBatch einmal(liste);
    setzeKontaktSpalten(liste);
    if (inKatego) {
        liste.appearance().setBackColor(KontaktlistenFarbe);
        liste.setBackColor2(KontaktlistenFarbe - 72);
    }
}

// Gives the category row an empty nested contact list with its layout and colours and makes it
// the grid's current list. Whether the category exists in Katego is looked up.
forms::GridList &neueKontaktliste(forms::ListGrid &grid, int row, qint64 kategoNr)
{
    forms::GridList &liste = grid.switchToChild(row);
    bool gefunden = false;
    try {
        dao::Recordset k = gv().dbDaten.SeekKey("Katego", kategoNr);
        gefunden = !k.NoMatch();
        k.Close();
    } catch (const vb::Error &) {
        // Only the colour depends on it.
    }
    richteKontaktlisteEin(liste, gefunden);
    return liste;
}

// The row of contact knr in a nested list: the hint when it still holds the contact, else the
// row found by KNr; -1 when the list does not show it.
int kontaktZeile(const forms::GridList &liste, qlonglong knr, int hint = -1)
{
    const QString key = QString::number(knr);
    if (hint >= 0 && hint < liste.rowCount() && liste.columnCount() > 0 && liste.text(hint, 0) == key)
        return hint;
    return liste.columnCount() > 0 ? liste.find(0, key) : -1;
}

void schreibeZeileNeu(forms::GridList &liste, int z, const Eingabe &e)
{
    const QString texte[] = {e.firma, e.anrede, e.nachname, e.vorname, e.tel1, e.fax, e.gebDatumText, e.email};
    for (int c = 0; c < 8; ++c)
        liste.setText(z, c + 2, texte[c]);
}

void entferneKontakt(forms::ListGrid &grid, int row, qlonglong knr, int hint = -1)
{
    if (forms::GridList *liste = grid.top().child(row)) {
        const int z = kontaktZeile(*liste, knr, hint);
        if (z >= 0)
            liste->removeRow(z);
    }
}

// Appends a contact row to the category's nested list (made with its layout when the row has
// none).
void haengeKontaktAn(forms::ListGrid &grid, int row, qint64 kategoNr, const QVariantList &zeile)
{
    forms::GridList &liste = grid.top().child(row) ? grid.switchToChild(row) : neueKontaktliste(grid, row, kategoNr);
    liste.addRow(zeile);
    grid.switchToTop();
}

// After an insert: the count rises; an expanded category lists the new contact at its end, a
// collapsed one gets a fresh placeholder list (its contacts are read when it expands).
void kontaktEingefuegt(forms::ListGrid &grid, const Eingabe &e, qlonglong knr)
{
    const int r = kategoZeile(grid, e.kategoNr);
    if (r < 0)
        return;
    const long n = ErmittleKategoAnzahl(r); // the new contact counted
    if (grid.top().isExpanded(r)) {
        forms::GridList &liste =
            n > 1 && grid.top().child(r) ? grid.switchToChild(r) : neueKontaktliste(grid, r, e.kategoNr);
        liste.addRow(editorZeile(e, knr, QStringLiteral(" ")));
    } else {
        neueKontaktliste(grid, r, e.kategoNr).addRow(platzhalter());
    }
    grid.switchToTop();
    setzeAnzahl(grid, r, e.kategoName, n);
}

// After an update from the overview: the contact's row is rewritten, or on a move taken out of
// the old category (which loses its nested list with its last contact) and appended to the new.
void kontaktGeaendert(forms::ListGrid &grid, const Eingabe &e, qlonglong knr, qint32 alt, int hint)
{
    if (alt == e.kategoNr) {
        const int r = kategoZeile(grid, alt);
        if (r < 0)
            return;
        if (forms::GridList *liste = grid.top().child(r)) {
            const int z = kontaktZeile(*liste, knr, hint);
            if (z >= 0)
                schreibeZeileNeu(*liste, z, e);
        }
        return;
    }
    const int ro = kategoZeile(grid, alt);
    if (ro >= 0) {
        entferneKontakt(grid, ro, knr, hint);
        setzeAnzahl(grid, ro, ErmittleKategoName(alt), ErmittleKategoAnzahl(ro));
    }
    const int rn = kategoZeile(grid, e.kategoNr);
    if (rn >= 0) {
        const long n = ErmittleKategoAnzahl(rn); // the moved contact counted
        if (n <= 1 && grid.top().child(rn))
            grid.top().dropChild(rn); // a stale list goes; the contact starts a new one
        haengeKontaktAn(grid, rn, e.kategoNr, editorZeile(e, knr, QString()));
        setzeAnzahl(grid, rn, e.kategoName, n);
    }
}

// After an update from the search dialog: counts always follow; rows change only in expanded
// categories.
void kontaktGeaendertAusSuche(forms::ListGrid &grid, const Eingabe &e, qlonglong knr, qint32 alt)
{
    if (alt == e.kategoNr) {
        const int r = kategoZeile(grid, alt);
        if (r < 0 || !grid.top().isExpanded(r))
            return;
        if (forms::GridList *liste = grid.top().child(r)) {
            const int z = kontaktZeile(*liste, knr);
            if (z >= 0)
                schreibeZeileNeu(*liste, z, e);
        }
        return;
    }
    const int ro = kategoZeile(grid, alt);
    if (ro >= 0) {
        if (grid.top().isExpanded(ro))
            entferneKontakt(grid, ro, knr);
        setzeAnzahl(grid, ro, ErmittleKategoName(alt), ErmittleKategoAnzahl(ro));
    }
    const int rn = kategoZeile(grid, e.kategoNr);
    if (rn >= 0) {
        const long n = ErmittleKategoAnzahl(rn);
        if (grid.top().isExpanded(rn))
            haengeKontaktAn(grid, rn, e.kategoNr, editorZeile(e, knr, QString()));
        setzeAnzahl(grid, rn, e.kategoName, n);
    }
}

// After a delete: an expanded category drops the contact's row; the count falls.
void kontaktGeloescht(forms::ListGrid &grid, qlonglong knr, qint32 kategoNr)
{
    const int r = kategoZeile(grid, kategoNr);
    if (r < 0)
        return;
    if (grid.top().isExpanded(r))
        entferneKontakt(grid, r, knr);
    setzeAnzahl(grid, r, ErmittleKategoName(kategoNr), ErmittleKategoAnzahl(r));
}

// Runs an overview change after a commit; an error there is reported but changes no data.
template <class F>
void imUeberblick(Trap &t, F &&aenderung)
{
    KontaktUebers *u = uebersicht();
    if (!u)
        return;
    forms::ListGrid &grid = *u->tblKUebers;
    t.step([&] { aenderung(grid); });
    grid.switchToTop();
}

// Writes the editor's contact over the stored one. mitgliedBeiWegzug: remove the member
// record when the contact leaves the member categories (and note when it had none);
// mitgliedSonst: remove it whenever the new category is not a member category.
struct Aenderung
{
    bool gefunden = false;
    qint32 alt = 0;
    bool mitgliedFehlte = false;
};

bool schreibeAenderung(Trap &t, qlonglong knr, const Eingabe &e, bool ausSuche, Aenderung &a)
{
    const Trap::Satz satz = t.writeRecord("Kontakt", knr, [&](dao::Recordset &rs) {
        a.alt = static_cast<qint32>(rs("KategoNr").Value().toLongLong());
        if (ausSuche) {
            if (!IstMitgliedskategorie(e.kategoNr))
                loescheMitglied(knr);
        } else if (a.alt != e.kategoNr && IstMitgliedskategorie(a.alt)) {
            a.mitgliedFehlte = !loescheMitglied(knr);
        }
        rs.Edit();
        schreibeKontakt(rs, e);
        rs.Update();
        if (IstMitgliedskategorie(e.kategoNr))
            schreibeMitglied(knr, e);
    });
    a.gefunden = satz == Trap::Satz::Geschrieben;
    return satz != Trap::Satz::Fehler;
}

bool aktualisiere(const QString &routine, bool ausSuche, int hint)
{
    if (!modStart::PruefeZugriff(modStart::Recht::Kontakt))
        return false;
    Kontakt &k = forms::form<Kontakt>();
    Eingabe e;
    if (!MeldeKontaktPruefung(leseEingabe(k, e)))
        return false;
    const qlonglong knr = forms::labelNumber(*k.lblKNr);
    Trap t(Modul, routine);
    Aenderung a;
    if (!schreibeAenderung(t, knr, e, ausSuche, a))
        return false;
    if (!a.gefunden) {
        modRun::ZeigeDSFehlt();
    } else {
        if (a.mitgliedFehlte)
            modRun::ZeigeDSFehlt();
        imUeberblick(t, [&](forms::ListGrid &grid) {
            if (ausSuche)
                kontaktGeaendertAusSuche(grid, e, knr, a.alt);
            else
                kontaktGeaendert(grid, e, knr, a.alt, hint);
        });
    }
    forms::unload<Kontakt>();
    return true;
}

} // namespace

// ---- the overview ------------------------------------------------------------------------------

namespace {

// Appends a top-level row for each record of Katego, in the table's own order (its key). With
// anzahlen, the same statement counts each category's contacts (a search of the category index
// each) into it, so that the start-up reads the file once; true when they were counted. A count
// that cannot be asked for is no error of the categories: they are read without, and each
// category counts its own contacts.
bool fuelleKategorien(QHash<qint64, long long> *anzahlen)
{
    Trap t(Modul, QStringLiteral("tblKUebersfüllen"));
    forms::ListGrid &grid = *forms::form<KontaktUebers>().tblKUebers;
    grid.switchToTop();
    dao::Recordset rs;
    if (anzahlen) {
        try {
            rs = gv().dbDaten.OpenRecordset("SELECT KategoNr, Kategorie, (SELECT COUNT(*) FROM Kontakt "
                                            "WHERE Kontakt.KategoNr = Katego.KategoNr) FROM Katego ORDER BY KategoNr",
                                            dao::dbOpenForwardOnly);
        } catch (const vb::Error &) {
            anzahlen = nullptr;
        }
    }
    if (!rs.IsOpen())
        t.step([&] {
            rs = gv().dbDaten.OpenRecordset("SELECT KategoNr, Kategorie FROM Katego ORDER BY KategoNr",
                                            dao::dbOpenForwardOnly);
        });
    if (!rs.IsOpen())
        return false;
    const bool gelesen = t.step([&] {
        forms::GridList &top = grid.top();
        for (; !rs.Eof(); rs.MoveNext()) {
            const QVariant nr = rs(0).Value();
            top.addRow(QVariantList{nr, QStringLiteral("+"), rs(1).Value().toString()});
            if (anzahlen)
                anzahlen->insert(nr.toLongLong(), rs(2).Value().toLongLong());
        }
    });
    rs.Close();
    return gelesen && anzahlen;
}

} // namespace

void InitialisiereKontaktUebers()
{
    FormatiereTblKUebers();
    // The categories and their counts in one read.
    QHash<qint64, long long> anzahlen;
    const bool gezaehlt = fuelleKategorien(&anzahlen);
    forms::ListGrid &grid = *forms::form<KontaktUebers>().tblKUebers;
    intKUebersStart = 1;
    startAnzahlen = gezaehlt ? &anzahlen : nullptr;
    for (int i = 0; i < grid.top().rowCount(); ++i)
        LadeKategoKontakte(i, grid.top().value(i, 0).toLongLong());
    startAnzahlen = nullptr;
    intKUebersStart = 0;
    grid.switchToTop();
}

void FormatiereTblKUebers()
{
    forms::ListGrid &grid = *forms::form<KontaktUebers>().tblKUebers;
    grid.switchToTop();
    forms::GridList &top = grid.top();
    const forms::GridList::LookBatch einmal(top);
    top.clear();
    top.appearance().setBackColor(0x80000005u); // window background
    top.setBackColor2(0x8000000Fu);             // button face
    top.setExpanderWidth(350);
    top.setColumnCount(3);
    QFont fett = top.font();
    fett.setBold(true);
    top.setFont(fett);
    top.setColumnCaption(0, QStringLiteral("Nr"));
    top.setColumnCaption(1, QString());
    top.setColumnCaption(2, QStringLiteral("Kategorie"));
    top.setColumnWidth(0, 600);
    top.setColumnWidth(1, 600);
    top.setColumnType(0, forms::ColumnType::Number);
    top.setColumnType(2, forms::ColumnType::Text);
    top.setColumnMaxLength(2, 50);
    top.setColumnWidth(2, 50000);
}

void tblKUebersfüllen()
{
    fuelleKategorien(nullptr);
}

void LadeKategoKontakte(int row, const QVariant &kategoNr)
{
    forms::ListGrid &grid = *forms::form<KontaktUebers>().tblKUebers;
    grid.switchToTop();
    forms::GridList &top = grid.top();
    if (row < 0 || row >= top.rowCount())
        return;
    const qint64 nr = kategoNr.toLongLong();
    // Errors are passed over: the category then shows no contacts.
    auto weiter = [](auto &&schritt) {
        try {
            schritt();
        } catch (const vb::Error &) {
        }
    };

    if (intKUebersStart == 1) {
        long long n = 0;
        if (startAnzahlen) {
            n = startAnzahlen->value(nr, 0);
        } else {
            weiter([&] { n = anzahlKontakte(nr); });
        }
        if (n <= 0)
            return;
        weiter([&] { setzeAnzahl(grid, row, top.text(row, 2), n); });
        // The placeholder list, so that the category shows its expander; made when first needed
        // (most categories are never expanded). The rows of the top level were read from Katego
        // just now.
        weiter([&] {
            top.setChildLater(row, [](forms::GridList &liste) {
                richteKontaktlisteEin(liste, true);
                liste.addRow(platzhalter());
            });
        });
        return;
    }

    dao::Recordset rs;
    weiter([&] {
        rs = gv().dbDaten.OpenRecordset("SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, EMail "
                                        "FROM Kontakt WHERE KategoNr = ? ORDER BY KNr",
                                        dao::dbOpenForwardOnly, {nr});
    });
    if (!rs.IsOpen() || rs.Eof()) {
        // No contacts (any more): no rows of an earlier expansion stay behind.
        if (top.child(row))
            top.dropChild(row);
        return;
    }
    weiter([&] {
        forms::GridList &liste = top.child(row) ? grid.switchToChild(row) : neueKontaktliste(grid, row, nr);
        const QString bild = kontaktbild();
        std::vector<QVariantList> zeilen;
        // What was read stays, also when a row failed.
        try {
            while (!rs.Eof()) {
                // Each value moved into its cell, none copied.
                QVariantList z;
                z.reserve(10);
                z << rs(0).Value() << QVariant(bild) << rs(1).Value() << rs(2).Value() << rs(3).Value() << rs(4).Value()
                  << rs(5).Value() << rs(6).Value() << QVariant(modRun::ErmittleDatumTextOhneNull(rs(7).Value()))
                  << rs(8).Value();
                zeilen.push_back(std::move(z));
                rs.MoveNext();
            }
        } catch (...) {
            liste.setRows(std::move(zeilen));
            throw;
        }
        liste.setRows(std::move(zeilen));
    });
    rs.Close();
    grid.switchToTop();
}

void SetzeKUebersSpalten()
{
    setzeKontaktSpalten(forms::form<KontaktUebers>().tblKUebers->current());
}

long ErmittleKategoAnzahl(int row)
{
    const qint64 nr = forms::form<KontaktUebers>().tblKUebers->top().value(row, 0).toLongLong();
    return static_cast<long>(anzahlKontakte(nr));
}

// ---- the editor --------------------------------------------------------------------------------

void loadKontakt(const forms::ListGrid &liste, int row, int column)
{
    (void)column;
    Trap t(Modul, QStringLiteral("loadKontakt"));
    qlonglong knr = 0;
    if (!t.step([&] { knr = liste.text(row, 0).toLongLong(); }))
        return;
    dao::Recordset rs;
    if (!t.step(
            [&] { rs = gv().dbDaten.OpenRecordset("SELECT * FROM Kontakt WHERE KNr = ?", dao::dbOpenDynaset, {knr}); }))
        return;
    if (rs.RecordCount() != 1) {
        rs.Close();
        modRun::ZeigeDSFehlt();
        return;
    }
    Kontakt &k = forms::form<Kontakt>();
    t.step([&] { k.lblKNr->setText(rs("KNr").Value().toString()); });
    t.step([&] {
        const QString name = ErmittleKategoName(static_cast<qint32>(rs("KategoNr").Value().toLongLong()));
        k.cboKatego->setCurrentIndex(k.cboKatego->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    });
    const struct
    {
        QLineEdit *feld;
        const char *spalte;
    } texte[] = {
        {k.txtAnrede, "Anrede"}, {k.txtNName, "Nachname"},  {k.txtVName, "Vorname"},        {k.txtStrasse, "Strasse"},
        {k.txtPLZ, "PLZ"},       {k.txtOrt, "Ort"},         {k.txtTelPriv, "Tel1"},         {k.txtTelGesch, "Tel2"},
        {k.txtMobil, "Mobil"},   {k.txtFax, "Fax"},         {k.txtEMail, "EMail"},          {k.txtFirma, "Firma"},
        {k.txtBLZ, "BLZ"},       {k.txtKontoNr, "KontoNr"}, {k.txtKInst, "KreditInstitut"},
    };
    for (const auto &f : texte)
        t.step([&] { f.feld->setText(rs(QString::fromLatin1(f.spalte)).Value().toString()); });
    // Dates brought in from elsewhere may be Null: no date, as the overview shows them.
    t.step([&] { k.txtGebDat->setText(modRun::ErmittleDatumTextOhneNull(rs("GebDatum").Value())); });
    t.step([&] {
        k.chkEinzug->setCheckState(modRun::SetzeChkWert(rs("Bankeinzug").Value()) ? Qt::Checked : Qt::Unchecked);
    });
    t.step([&] { k.txtNotiz->setPlainText(rs("Notiz").Value().toString()); });
    rs.Close();

    const QString kategorie = k.cboKatego->currentText();
    if (kategorie == QLatin1String("Mitglieder (aktiv)") || kategorie == QLatin1String("Mitglieder (passiv)")) {
        dao::Recordset m;
        t.step(
            [&] { m = gv().dbDaten.OpenRecordset("SELECT * FROM Mitglied WHERE KNr = ?", dao::dbOpenDynaset, {knr}); });
        if (m.IsOpen() && m.RecordCount() == 1) {
            t.step([&] {
                const bool mann = m("Geschlecht").Value().toBool();
                (mann ? k.optMann : k.optFrau)->setChecked(true);
            });
            t.step([&] { (m("Befreit").Value().toBool() ? k.optBefreit : k.optNBefreit)->setChecked(true); });
            t.step([&] { (m("Bezahlt").Value().toBool() ? k.optBezahlt : k.optNBezahlt)->setChecked(true); });
            t.step(
                [&] { k.chkJG->setCheckState(modRun::SetzeChkWert(m("JG").Value()) ? Qt::Checked : Qt::Unchecked); });
            t.step([&] { k.txtEintritt->setText(modRun::ErmittleDatumTextOhneNull(m("Eintritt").Value())); });
            t.step([&] { k.txtAustritt->setText(modRun::ErmittleDatumTextOhneNull(m("Austritt").Value())); });
        }
        m.Close();
    }
    if (t.gaveUp())
        return;
    k.Show(forms::vbModal);
}

bool SpeicherKontakt()
{
    if (!modStart::PruefeZugriff(modStart::Recht::Kontakt))
        return false;
    Kontakt &k = forms::form<Kontakt>();
    Eingabe e;
    if (!MeldeKontaktPruefung(leseEingabe(k, e)))
        return false;
    Trap t(Modul, QStringLiteral("SpeicherKontakt"));
    qlonglong neu = 0;
    const bool ok = t.write(*gv().wsDaten, [&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Kontakt", dao::dbOpenTable);
        rs.AddNew();
        schreibeKontakt(rs, e);
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        neu = rs("KNr").Value().toLongLong();
        rs.Close();
        if (IstMitgliedskategorie(e.kategoNr)) {
            dao::Recordset m = gv().dbDaten.OpenRecordset("Mitglied", dao::dbOpenTable);
            m.AddNew();
            m("KNr") = neu;
            schreibeMitgliedsfelder(m, e);
            m.Update();
            m.Close();
        }
    });
    if (!ok)
        return false;
    imUeberblick(t, [&](forms::ListGrid &grid) { kontaktEingefuegt(grid, e, neu); });
    LeereKontaktFelder();
    return true;
}

bool UpdateKontakt(int row)
{
    return aktualisiere(QStringLiteral("UpdateKontakt"), false, row);
}

bool UpdateSQLKontakt()
{
    return aktualisiere(QStringLiteral("UpdateSQLKontakt"), true, -1);
}

bool LoescheKontakt()
{
    if (!modStart::PruefeZugriff(modStart::Recht::Kontakt))
        return false;
    Kontakt &k = forms::form<Kontakt>();
    const qlonglong knr = forms::labelNumber(*k.lblKNr);
    Trap t(Modul, QStringLiteral("LoescheKontakt"));
    qint32 kategoNr = 0;
    const Trap::Satz satz = t.writeRecord("Kontakt", knr, [&](dao::Recordset &rs) {
        // The category as stored, not as the editor's box may show it now.
        kategoNr = static_cast<qint32>(rs("KategoNr").Value().toLongLong());
        loescheMitglied(knr);
        rs.Delete();
    });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Fehlt) {
        modRun::ZeigeDSFehlt();
        return true;
    }
    imUeberblick(t, [&](forms::ListGrid &grid) { kontaktGeloescht(grid, knr, kategoNr); });
    forms::unload<Kontakt>();
    return true;
}

qint32 ErmittleKategoNr(const QString &name, bool *fehler)
{
    return modRun::einWert<qint32>(Modul, QStringLiteral("ErmittleKategoNr"),
                                   "SELECT KategoNr FROM Katego WHERE Kategorie = ?", name, 0, fehler);
}

QString ErmittleKategoName(qint32 nr)
{
    return modRun::einWert<QString>(Modul, QStringLiteral("ErmittleKategoName"),
                                    "SELECT Kategorie FROM Katego WHERE KategoNr = ?", nr, QString());
}

void LeereKontaktFelder()
{
    Kontakt &k = forms::form<Kontakt>();
    k.lblKNr->clear();
    k.cboKatego->setCurrentIndex(-1);
    for (QLineEdit *t :
         {k.txtAnrede, k.txtNName, k.txtVName, k.txtStrasse, k.txtPLZ, k.txtOrt, k.txtTelPriv, k.txtTelGesch,
          k.txtMobil, k.txtFax, k.txtEMail, k.txtFirma, k.txtBLZ, k.txtKInst, k.txtKontoNr})
        t->clear();
    k.txtGebDat->leeren();
    k.optMann->setChecked(true);
    k.optNBefreit->setChecked(true);
    k.optNBezahlt->setChecked(true);
    k.chkEinzug->setCheckState(Qt::Unchecked);
    k.chkJG->setCheckState(Qt::Unchecked);
    k.txtNotiz->clear();
    k.txtEintritt->leeren();
    k.txtAustritt->leeren();
    k.cboKatego->setFocus();
    modGVar::VerlasseEditModus(k);
}

modRun::Pruefung PruefeKontaktEingabe()
{
    Eingabe e;
    return leseEingabe(forms::form<Kontakt>(), e);
}

bool MeldeKontaktPruefung(modRun::Pruefung ergebnis)
{
    if (ergebnis == modRun::Pruefung::Ungueltig)
        ZeigeKontaktEingabeFehler();
    return ergebnis == modRun::Pruefung::Gueltig;
}

void ZeigeKontaktEingabeFehler()
{
    Kontakt &k = forms::form<Kontakt>();
    for (contacts::Datumsfeld *feld : {k.txtGebDat, k.txtEintritt, k.txtAustritt})
        if (!feld->gueltig())
            feld->zuruecksetzen();
    modRun::ZeigeEingabeFehler();
}

void SetzeKontaktToolbar(int modus)
{
    if (modus != 0 && modus != 1)
        return;
    // Enabling concerns an editor that is open; a new one has its buttons enabled anyway.
    if (modus == 1 && !forms::isLoaded<Kontakt>())
        return;
    Kontakt &k = forms::form<Kontakt>();
    for (QAction *a : {k.tbSpeichern, k.tbLoeschen, k.tbAnzLoeschen})
        a->setEnabled(modus == 1);
}

bool KontaktZugriff_Erlaubt()
{
    Trap t(Modul, QStringLiteral("KontaktZugriff_Erlaubt"));
    bool erlaubt = false;
    t.step([&] { erlaubt = modStart::GruppeHatRecht(modStart::Recht::Kontakt); });
    return erlaubt;
}

bool ReinitialisiereJB()
{
    auto &g = gv();
    Trap trap(Modul, QStringLiteral("ReinitialisiereJB"));
    return trap.write(*g.wsDaten, [&] { g.dbDaten.Execute("UPDATE Mitglied SET Bezahlt = 0"); });
}

bool IstMitgliedskategorie(qint32 kategoNr)
{
    return kategoNr == 1 || kategoNr == 2;
}

} // namespace modKontakt
