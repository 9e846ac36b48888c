#include "workhours/modMitglList.h"
#include "workhours/MitglList.h"
#include "workhours/modArbeit.h"

#include "contacts/modKontakt.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/trap.h"

#include "forms/listgrid.h"
#include "forms/progress.h"
#include "forms/services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace modMitglList {

namespace {

const QString Modul = QStringLiteral("modMitglList");

MitglList &fenster()
{
    return forms::form<MitglList>();
}

// The six comparisons an operator box offers, each with its condition on one column.
struct Vergleich
{
    const char *op;
    dao::Sql gebDatum;
    dao::Sql eintritt;
};
const Vergleich Vergleiche[] = {
    {"=", " AND k.GebDatum = ?", " AND m.Eintritt = ?"},    {">", " AND k.GebDatum > ?", " AND m.Eintritt > ?"},
    {">=", " AND k.GebDatum >= ?", " AND m.Eintritt >= ?"}, {"<", " AND k.GebDatum < ?", " AND m.Eintritt < ?"},
    {"<=", " AND k.GebDatum <= ?", " AND m.Eintritt <= ?"}, {"<>", " AND k.GebDatum <> ?", " AND m.Eintritt <> ?"},
};

const Vergleich *vergleich(const QString &op)
{
    for (const Vergleich &v : Vergleiche)
        if (op == QLatin1String(v.op))
            return &v;
    return nullptr;
}

bool leer(const QComboBox *c)
{
    return c->currentText().isEmpty();
}

bool leer(const QLineEdit *t)
{
    return t->text().isEmpty();
}

// A date box is acceptable when it is empty or holds a day that exists.
bool datumOk(const QLineEdit *t)
{
    return leer(t) || modRun::ErmittleDatum(t->text()) != modRun::KeinDatum;
}

// One date filter's bounds: when its box is checked and not all four controls are filled,
// only the first bound alone is acceptable. An operator must be one of the six.
bool grenzenOk(const QCheckBox *box, const QComboBox *op1, const QLineEdit *t1, const QComboBox *op2,
               const QLineEdit *t2)
{
    if (!box->isChecked())
        return true;
    if (!leer(op1) && !vergleich(op1->currentText()))
        return false;
    if (!leer(op2) && !vergleich(op2->currentText()))
        return false;
    if (leer(op1) || leer(t1) || leer(op2) || leer(t2))
        return !leer(op1) && !leer(t1) && leer(op2) && leer(t2);
    return true;
}

// One bound of a date filter into the filter.
void grenze(MitglFilter &f, const QComboBox *op, const QLineEdit *datum, bool gebDatum)
{
    const Vergleich *v = vergleich(op->currentText());
    const double wert = modRun::ErmittleDatum(datum->text());
    if (!v || wert == modRun::KeinDatum)
        throw vb::Error(13, QStringLiteral("Typen unverträglich"));
    f.text += gebDatum ? v->gebDatum : v->eintritt;
    f.werte << wert;
}

void datumsfilter(MitglFilter &f, const QComboBox *op1, const QLineEdit *t1, const QComboBox *op2, const QLineEdit *t2,
                  bool gebDatum)
{
    // A member without the date (the zero date, or no value in an old record) matches no bound
    // on it, "<" and "<>" included.
    f.text += gebDatum ? dao::Sql(" AND IFNULL(k.GebDatum, 0) <> 0") : dao::Sql(" AND IFNULL(m.Eintritt, 0) <> 0");
    grenze(f, op1, t1, gebDatum);
    if (!leer(op2) && !leer(t2))
        grenze(f, op2, t2, gebDatum);
}

// One member as the query returns it.
struct Mitglied
{
    qlonglong knr;
    QVariantList adresse; // columns 1 to 7 of the grid
    double stunden;       // hours done in the year (0 when not asked for)
    bool befreit;         // exempt from work hours: owes none
};

} // namespace

MitglFilter ErstelleMitglFilter()
{
    MitglList &w = fenster();
    const auto &schalter = gv().blnMitglFilter;
    MitglFilter f;

    // The category is looked up by name on every call, whatever the switch.
    const qint32 kategoNr = modKontakt::ErmittleKategoNr(
        w.optAktiv->isChecked() ? QStringLiteral("Mitglieder (aktiv)") : QStringLiteral("Mitglieder (passiv)"));

    if (schalter[0])
        datumsfilter(f, w.cboOptGeb01, w.txtGeb01, w.cboOptGeb02, w.txtGeb02, true);
    if (schalter[1])
        datumsfilter(f, w.cboOptTritt01, w.txtTritt01, w.cboOptTritt02, w.txtTritt02, false);
    // The Boolean columns read True for any value but 0.
    if (schalter[2])
        f.text += w.optMann->isChecked() ? dao::Sql(" AND m.Geschlecht <> 0") : dao::Sql(" AND m.Geschlecht = 0");
    if (schalter[3])
        f.text += w.optBezahlt->isChecked() ? dao::Sql(" AND m.Bezahlt <> 0") : dao::Sql(" AND m.Bezahlt = 0");
    if (schalter[4]) {
        f.text += " AND k.KategoNr = ?";
        f.werte << kategoNr;
    }
    if (schalter[5])
        f.text += w.optBefrJa->isChecked() ? dao::Sql(" AND m.Befreit <> 0") : dao::Sql(" AND m.Befreit = 0");
    // A missing exit date is the zero date (or, in an old record, no value at all).
    if (schalter[6])
        f.text += w.optAusgJa->isChecked() ? dao::Sql(" AND IFNULL(m.Austritt, 0) <> 0")
                                           : dao::Sql(" AND IFNULL(m.Austritt, 0) = 0");
    if (schalter[7])
        f.text += w.optJGJa->isChecked() ? dao::Sql(" AND m.JG <> 0") : dao::Sql(" AND m.JG = 0");
    return f;
}

void SetzeArbeitsLayout()
{
    MitglList &w = fenster();
    forms::GridList &top = w.tblMList->top();
    for (int c : {8, 9, 10})
        top.setColumnHidden(c, false);
    for (int c : {3, 4, 5, 6, 7})
        top.setColumnHidden(c, true);
}

void SetzeListenLayout()
{
    MitglList &w = fenster();
    forms::GridList &top = w.tblMList->top();
    for (int c : {8, 9, 10})
        top.setColumnHidden(c, true);
    for (int c : {3, 4, 5, 6, 7})
        top.setColumnHidden(c, false);
}

void LeereMitglAuswahl()
{
    auto &g = gv();
    // A list not loaded yet is not loaded for this: its load ends with this reset.
    if (!forms::isLoaded<MitglList>()) {
        g.blnMitglFilter.fill(false);
        g.blnDSGewaehlt = false;
        return;
    }
    MitglList &w = fenster();
    // Unchecking a checked box runs its click handling: controls off, switch off, grid empty.
    for (QCheckBox *box : {w.chkGebDat, w.chkEintritt})
        box->setChecked(false);
    for (QComboBox *op : {w.cboOptGeb01, w.cboOptGeb02, w.cboOptTritt01, w.cboOptTritt02}) {
        op->setCurrentIndex(-1);
        op->setEnabled(false);
    }
    for (QLineEdit *t : {w.txtGeb01, w.txtGeb02, w.txtTritt01, w.txtTritt02}) {
        t->clear();
        t->setEnabled(false);
    }
    const struct
    {
        QCheckBox *box;
        QRadioButton *erste;
        QRadioButton *zweite;
    } paare[] = {
        {w.chkGeschl, w.optMann, w.optFrau},          {w.chkJBeitrag, w.optBezahlt, w.optNBezahlt},
        {w.chkStatus, w.optAktiv, w.optPassiv},       {w.chkBefreit, w.optBefrJa, w.optBefrNein},
        {w.chkAusgMitgl, w.optAusgJa, w.optAusgNein}, {w.chkJG, w.optJGJa, w.optJGNein},
    };
    for (const auto &p : paare) {
        p.box->setChecked(false);
        p.erste->setChecked(true);
        p.erste->setEnabled(false);
        p.zweite->setEnabled(false);
    }
    w.chkArbStd->setChecked(false);
    w.optStdNein->setChecked(true);
    w.optStdJa->setEnabled(false);
    w.optStdNein->setEnabled(false);
    w.tblMList->top().clear();
    w.lblGefDS->clear();
    // The year box too goes back to where the window started: the current year, not a year
    // typed or chosen before.
    w.cboArbJahr->setCurrentText(QString::number(g.intJahr));
    g.blnMitglFilter.fill(false);
    g.blnDSGewaehlt = false;
    w.txtInfo->clear();
    w.chkArbAnz->setChecked(false);
    SetzeListenLayout();
}

bool PruefeMitglAuswahl()
{
    MitglList &w = fenster();
    bool ok = true;
    for (const QLineEdit *t : {w.txtGeb01, w.txtGeb02, w.txtTritt01, w.txtTritt02})
        ok = datumOk(t) && ok;
    ok = grenzenOk(w.chkGebDat, w.cboOptGeb01, w.txtGeb01, w.cboOptGeb02, w.txtGeb02) && ok;
    ok = grenzenOk(w.chkEintritt, w.cboOptTritt01, w.txtTritt01, w.cboOptTritt02, w.txtTritt02) && ok;
    return ok;
}

std::optional<int> ErmittleArbJahr()
{
    bool ok = false;
    const int jahr = fenster().cboArbJahr->currentText().trimmed().toInt(&ok);
    if (!ok || jahr < 1 || jahr > 9999)
        return std::nullopt;
    return jahr;
}

void LadeAuswahl()
{
    MitglList &w = fenster();
    auto &g = gv();
    modRun::Trap trap(Modul, QStringLiteral("LadeAuswahl"));
    forms::Hourglass sanduhr;

    const bool arbAnz = w.chkArbAnz->isChecked();
    const bool arbStd = w.chkArbStd->isChecked();
    const bool mitStunden = arbAnz || arbStd;
    // The year counts only when the hours are listed or filtered.
    std::optional<int> jahr;
    if (mitStunden) {
        jahr = ErmittleArbJahr();
        if (!jahr) {
            modRun::ZeigeEingabeFehler();
            return;
        }
    }

    std::vector<Mitglied> mitglieder;
    double pflicht = 0;
    const bool gelesen = trap.run([&] {
        MitglFilter filter = ErstelleMitglFilter();
        QVariantList werte;
        dao::SqlText sql("SELECT k.KNr, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, k.Tel1, k.GebDatum");
        if (mitStunden) {
            // Each member's hours of the year, by the index on Arbeit (KNr, Jahr).
            sql += ", (SELECT SUM(a.ArbStd) FROM Arbeit a WHERE a.KNr = k.KNr AND a.Jahr = ?) AS Expr1000";
            werte << *jahr;
        }
        sql += ", m.Befreit FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr";
        sql += filter.text;
        werte += filter.werte;
        dao::Recordset rs = g.dbDaten.OpenRecordset(sql, dao::dbOpenForwardOnly, werte);
        while (!rs.Eof()) {
            Mitglied m;
            m.knr = rs.Fields(0).Value().toLongLong();
            m.adresse.reserve(7);
            for (int c = 1; c <= 6; ++c) {
                QVariant v = rs.Fields(c).Value();
                // A text as it was read; any other value as its text, none as an empty one.
                if (v.typeId() == QMetaType::QString)
                    m.adresse << std::move(v);
                else
                    m.adresse << (v.isNull() ? QString() : v.toString());
            }
            m.adresse << modRun::ErmittleDatumTextOhneNull(rs.Fields(7).Value());
            m.stunden = mitStunden ? rs.Fields(8).Value().toDouble() : 0.0;
            m.befreit = rs.Fields(mitStunden ? 9 : 8).Value().toBool();
            mitglieder.push_back(std::move(m));
            rs.MoveNext();
        }
        rs.Close();
        if (mitStunden)
            pflicht = modArbeit::ErmittlePflichtStd();
    });
    if (!gelesen)
        return;

    if (mitglieder.empty()) {
        w.lblGefDS->setText(QStringLiteral("0"));
        forms::setMousePointer(forms::vbDefault);
        forms::MsgBox(QStringLiteral("Keine passenden Einträge gefunden !"), forms::vbOKOnly + forms::vbInformation,
                      modRun::Titel);
        return;
    }
    w.lblGefDS->setText(QString::number(mitglieder.size()));

    const QString null = modRun::FormatZahl(0);
    // The figures as the list shows them, each to two decimals; the balance from those two.
    const double pflichtGerundet = modRun::Runde(pflicht, 2);
    // An exempt member's balance is his hours against none required.
    auto pflichtVon = [&](const Mitglied &m) { return m.befreit ? 0.0 : pflichtGerundet; };
    // A member handed over whole gives up his cells to the row.
    auto zeile = [&](Mitglied m, bool figuren) {
        QVariantList z;
        z.reserve(11);
        z << m.knr;
        z += std::move(m.adresse);
        if (figuren) {
            const double geleistet = modRun::Runde(m.stunden, 2);
            z << modRun::FormatZahl(pflichtVon(m)) << modRun::FormatZahl(geleistet)
              << modRun::FormatZahl(modArbeit::ErmittleSollHaben(geleistet, pflichtVon(m)));
        } else {
            z << null << null << null;
        }
        return z;
    };

    forms::ListGrid &grid = *w.tblMList;
    if (!arbStd) {
        if (arbAnz)
            SetzeArbeitsLayout();
        grid.top().clear();
        // The members are read already: the bar follows the rows in tenths, at the pace the eye
        // follows, since each step repaints it, which costs more than a hundred rows; it is set
        // up before it is shown and full after it is hidden.
        const qlonglong anzahl = qlonglong(mitglieder.size());
        const qlonglong zehntel = std::max<qlonglong>(1, anzahl / 10);
        forms::ProgressSteps fortschritt(w.pb, anzahl, std::chrono::milliseconds(100));
        w.pb->setVisible(true);
        std::vector<QVariantList> zeilen;
        zeilen.reserve(mitglieder.size());
        qlonglong n = 0;
        for (Mitglied &m : mitglieder) {
            zeilen.push_back(zeile(std::move(m), arbAnz));
            if (++n % zehntel == 0 || n == anzahl)
                fortschritt.advance(n);
        }
        grid.setRows(std::move(zeilen));
        w.pb->setVisible(false);
        fortschritt.finish();
    } else {
        if (arbAnz)
            SetzeArbeitsLayout();
        // Done against required on the two-decimal figures the list shows: hours that add up
        // to 19.999999999999996 are the 20,00 required. A member whose hours equal the
        // required ones passes "ja" and "nein" alike.
        const struct
        {
            bool an;
            bool ja;
        } durchgaenge[] = {{w.optStdJa->isChecked(), true}, {w.optStdNein->isChecked(), false}};
        for (const auto &d : durchgaenge) {
            if (!d.an)
                continue;
            for (const Mitglied &m : mitglieder) {
                const double geleistet = modRun::Runde(m.stunden, 2);
                if (d.ja ? pflichtVon(m) <= geleistet : geleistet <= pflichtVon(m))
                    grid.addRow(zeile(m, true));
            }
        }
    }
    w.lblGefDS->setText(QString::number(grid.rowCount()));
}

} // namespace modMitglList
