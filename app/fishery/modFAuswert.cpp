#include "fishery/modFAuswert.h"
#include "fishery/Fangauswertung.h"
#include "fishery/modFangbuch.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/trap.h"

#include "common/vberror.h"
#include "dao/dao.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>

#include <climits>
#include <vector>

namespace modFAuswert {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modFAuswert");

// The single value of an aggregate query, or the current year when it is Null. False when the
// query did not give exactly one record.
bool leseJahr(dao::Sql sql, int &jahr)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset);
    if (rs.RecordCount() != 1)
        return false;
    const QVariant v = rs("Expr1000").Value();
    jahr = v.isValid() ? v.toInt() : gv().intJahr;
    return true;
}

// One comparison of the operator lists, with its condition on each of the two columns.
struct Vergleich
{
    const char *op;
    dao::Sql anzahl;
    dao::Sql gewicht;
};

const Vergleich Vergleiche[] = {
    {"=", " AND fa.Anzahl = ?", " AND fa.Gewicht = ?"},    {">", " AND fa.Anzahl > ?", " AND fa.Gewicht > ?"},
    {">=", " AND fa.Anzahl >= ?", " AND fa.Gewicht >= ?"}, {"<", " AND fa.Anzahl < ?", " AND fa.Gewicht < ?"},
    {"<=", " AND fa.Anzahl <= ?", " AND fa.Gewicht <= ?"}, {"<>", " AND fa.Anzahl <> ?", " AND fa.Gewicht <> ?"},
};

const Vergleich *vergleich(const QString &op)
{
    for (const Vergleich &v : Vergleiche)
        if (op == QLatin1String(v.op))
            return &v;
    return nullptr;
}

// A whole number of digits only (what the key filter lets through), small enough to be bound
// as a 64-bit number.
bool ganzeZahl(const QString &text, qlonglong &wert)
{
    static const QRegularExpression ziffern(QStringLiteral("^[0-9]{1,18}$"));
    if (!ziffern.match(text).hasMatch())
        return false;
    wert = text.toLongLong();
    return true;
}

bool ganzeZahl(const QString &text)
{
    qlonglong wert = 0;
    return ganzeZahl(text, wert);
}

[[noreturn]] void keinWert()
{
    throw vb::Error(13, QStringLiteral("Typen unverträglich"));
}

// The two comparison rows of one column.
struct Grenzen
{
    QComboBox *op1;
    QLineEdit *wert1;
    QComboBox *op2;
    QLineEdit *wert2;
};

Grenzen anzahlGrenzen(Fangauswertung &w)
{
    return {w.cboOptAnz01, w.txtAnz01, w.cboOptAnz02, w.txtAnz02};
}

Grenzen gewichtGrenzen(Fangauswertung &w)
{
    return {w.cboOptGew01, w.txtGew01, w.cboOptGew02, w.txtGew02};
}

// A lower limit, and an upper limit only when both of its parts hold text.
bool obereGrenze(const Grenzen &g)
{
    return !g.op2->currentText().isEmpty() && !g.wert2->text().isEmpty();
}

// Complete: the lower limit given, the upper either complete or without a value (an operator
// chosen once cannot be taken out of its list again, so without a value it sets no bound); and
// what is given is a listed operator with a whole number.
bool grenzenVollstaendig(const Grenzen &g)
{
    const bool unten = !g.op1->currentText().isEmpty() && !g.wert1->text().isEmpty();
    const bool obenLeer = g.wert2->text().isEmpty();
    if (!unten || !(obereGrenze(g) || obenLeer))
        return false;
    if (!vergleich(g.op1->currentText()) || !ganzeZahl(g.wert1->text()))
        return false;
    return obenLeer || (vergleich(g.op2->currentText()) && ganzeZahl(g.wert2->text()));
}

void haengeGrenzenAn(const Grenzen &g, bool gewicht, dao::SqlText &filter, QVariantList &werte)
{
    const Vergleich *v1 = vergleich(g.op1->currentText());
    qlonglong w1 = 0;
    if (!v1 || !ganzeZahl(g.wert1->text(), w1))
        keinWert();
    const Vergleich *v2 = nullptr;
    qlonglong w2 = 0;
    if (obereGrenze(g)) {
        v2 = vergleich(g.op2->currentText());
        if (!v2 || !ganzeZahl(g.wert2->text(), w2))
            keinWert();
    }
    filter += gewicht ? v1->gewicht : v1->anzahl;
    werte << w1;
    if (v2) {
        filter += gewicht ? v2->gewicht : v2->anzahl;
        werte << w2;
    }
}

bool an(int filter)
{
    return gv().blnFangFilter[static_cast<std::size_t>(filter)];
}

// The catches with their species and water; catches whose species or water is gone are not
// among them.
constexpr char AuswahlSql[] = "SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht "
                              "FROM Fang fa , Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr";
// The count and the two sums over the same catches, in one pass.
constexpr char SummenSql[] =
    "SELECT COUNT(fa.FangNr) AS Expr1000, SUM(fa.Anzahl) AS Expr1001, SUM(fa.Gewicht) AS Expr1002 "
    "FROM Fang fa , Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr";

QString summenText(const QVariant &v)
{
    return v.isValid() ? v.toString() : QStringLiteral("0");
}

} // namespace

void loadcboFJahr(QComboBox &cbo)
{
    Trap t(Modul, QStringLiteral("loadcboFJahr"));
    // Emptied first, so that a list filled again does not offer each year twice.
    cbo.clear();
    int von = 0;
    int bis = 0;
    bool ok = false;
    t.step([&] { ok = leseJahr("SELECT MIN(FangJahr) AS Expr1000 FROM Fang", von); });
    if (!ok)
        return;
    ok = false;
    t.step([&] { ok = leseJahr("SELECT MAX(FangJahr) AS Expr1000 FROM Fang", bis); });
    if (!ok)
        return;
    const int jahr = gv().intJahr;
    for (int j = von; j <= bis; ++j)
        cbo.addItem(QString::number(j));
    if (bis < jahr)
        cbo.addItem(QString::number(jahr));
    if (von > jahr)
        for (int j = jahr; j < von; ++j)
            cbo.addItem(QString::number(j));
}

const QStringList &Operatoren()
{
    static const QStringList liste = [] {
        QStringList l;
        for (const Vergleich &v : Vergleiche)
            l << QString::fromLatin1(v.op);
        return l;
    }();
    return liste;
}

void ErstelleFangFilter(dao::SqlText &filter, QVariantList &werte)
{
    Fangauswertung &w = forms::form<Fangauswertung>();
    // Built apart and appended whole, so that a refused value leaves nothing half-done.
    dao::SqlText teil("");
    QVariantList teilWerte;
    if (an(FilterJahr)) {
        bool ok = false;
        const int jahr = w.cboFJahr->currentText().toInt(&ok);
        if (!ok)
            keinWert();
        teil += " AND fa.FangJahr = ?";
        teilWerte << jahr;
    }
    if (an(FilterFischart)) {
        teil += " AND f.FName = ?";
        teilWerte << w.cboFArt->currentText();
    }
    if (an(FilterGewaesser)) {
        teil += " AND g.GName = ?";
        teilWerte << w.cboGName->currentText();
    }
    if (an(FilterMonat)) {
        teil += " AND fa.FangMonat = ?";
        teilWerte << modRun::ErmittleMonatsNr(w.cboFMonat->currentText());
    }
    if (an(FilterAnzahl))
        haengeGrenzenAn(anzahlGrenzen(w), false, teil, teilWerte);
    if (an(FilterGewicht))
        haengeGrenzenAn(gewichtGrenzen(w), true, teil, teilWerte);
    filter += teil;
    werte << teilWerte;
}

modRun::Pruefung PruefeFangAuswahl()
{
    using modRun::Pruefung;
    Fangauswertung &w = forms::form<Fangauswertung>();
    bool fehler = false;
    if (w.chkFArt->isChecked() &&
        (w.cboFArt->currentText().isEmpty() || modFangbuch::ErmittleFischNr(w.cboFArt->currentText(), &fehler) == 0))
        return fehler ? Pruefung::Fehler : Pruefung::Ungueltig;
    if (w.chkArchiv->isChecked() && !ganzeZahl(w.cboFJahr->currentText()))
        return Pruefung::Ungueltig;
    if (w.chkFMonat->isChecked() && w.cboFMonat->findText(w.cboFMonat->currentText(), Qt::MatchExactly) < 0)
        return Pruefung::Ungueltig;
    if (w.chkGName->isChecked() && (w.cboGName->currentText().isEmpty() ||
                                    modFangbuch::ErmittleGewaesserNr(w.cboGName->currentText(), &fehler) == 0))
        return fehler ? Pruefung::Fehler : Pruefung::Ungueltig;
    if (w.chkGewicht->isChecked() && !grenzenVollstaendig(gewichtGrenzen(w)))
        return Pruefung::Ungueltig;
    if (w.chkAnzahl->isChecked() && !grenzenVollstaendig(anzahlGrenzen(w)))
        return Pruefung::Ungueltig;
    return Pruefung::Gueltig;
}

void LadeAuswahl()
{
    Fangauswertung &w = forms::form<Fangauswertung>();
    forms::ListGrid &grid = *w.tblFAusw;
    Trap t(Modul, QStringLiteral("LadeAuswahl"));
    forms::Hourglass sanduhr;

    dao::SqlText filter("");
    QVariantList werte;
    // Without its filter the query would list more than was asked for: stop here.
    if (!t.step([&] { ErstelleFangFilter(filter, werte); })) {
        t.step([&] { grid.clear(); });
        return;
    }

    // What this search applies; the print-out heads the list with it.
    const auto &flags = gv().blnFangFilter;
    w.Auswahl = {flags[FilterJahr] ? w.cboFJahr->currentText() : QString(),
                 flags[FilterMonat] ? w.cboFMonat->currentText() : QString(),
                 flags[FilterFischart] ? w.cboFArt->currentText() : QString(),
                 flags[FilterGewaesser] ? w.cboGName->currentText() : QString()};

    dao::Database &db = gv().dbDaten;
    dao::Recordset rs;
    // Read forward: the count comes with the sums.
    t.step([&] {
        rs = db.OpenRecordset(dao::SqlText(AuswahlSql) + filter + " ORDER BY fa.FangNr", dao::dbOpenForwardOnly, werte);
    });
    long long gefunden = -1;
    t.step([&] {
        dao::Recordset summen = db.OpenRecordset(dao::SqlText(SummenSql) + filter, dao::dbOpenForwardOnly, werte);
        if (!summen.Eof()) {
            const long long anzahl = summen("Expr1000").Value().toLongLong();
            gefunden = anzahl;
            w.lblGefDS->setText(anzahl == 0 ? QStringLiteral("0") : QString::number(anzahl));
            if (anzahl > 0)
                w.pb->setMaximum(static_cast<int>(qMin<long long>(anzahl, INT_MAX)));
            w.lblSumAnz->setText(summenText(summen("Expr1001").Value()));
            w.lblSumGew->setText(summenText(summen("Expr1002").Value()));
        }
        summen.Close();
    });
    t.step([&] { grid.clear(); });

    int gefuellt = 0;
    if (rs.IsOpen()) {
        if (gefunden < 0)
            t.step([&] { gefunden = rs.RecordCount(); });
        if (gefunden <= 0) {
            forms::MsgBox(QStringLiteral("Keine passenden Einträge gefunden !"), forms::vbOKOnly + forms::vbInformation,
                          modRun::Titel);
        } else {
            std::vector<QVariantList> zeilen;
            t.step([&] {
                w.pb->setMaximum(static_cast<int>(qMin<long long>(gefunden, INT_MAX)));
                w.pb->setValue(0);
                w.pb->setVisible(true);
                // The bar repaints the window at each new value: it moves at the pace the eye
                // follows, not row by row; the clock is read every 64 rows, not at each.
                QElapsedTimer takt;
                takt.start();
                zeilen.reserve(std::size_t(gefunden));
                while (!rs.Eof()) {
                    zeilen.push_back(QVariantList{rs(0).Value(), rs(1).Value(), rs(2).Value(),
                                                  modRun::ErmittleMonatsname(rs(4).Value().toInt()), rs(3).Value(),
                                                  rs(5).Value(), rs(6).Value()});
                    rs.MoveNext();
                    ++gefuellt;
                    if (gefuellt % 64 == 0 && takt.elapsed() >= 100) {
                        w.pb->setValue(gefuellt);
                        takt.restart();
                    }
                }
            });
            // The last row read stays at hand, as it did when the rows were appended one by one.
            if (!zeilen.empty())
                gv().varListe = zeilen.back();
            // What was read, also when a row failed.
            t.step([&] { grid.setRows(std::move(zeilen)); });
        }
    }
    // On every way out: the label counts what the grid shows, the bar goes away (its value the
    // rows appended).
    w.lblGefDS->setText(QString::number(grid.rowCount()));
    w.pb->setVisible(false);
    if (gefuellt > 0)
        w.pb->setValue(gefuellt);
    rs.Close();
}

void LeereFangAuswahl()
{
    Fangauswertung &w = forms::form<Fangauswertung>();
    auto &g = gv();
    // Unticking a box runs its click handling, which disables its inputs and switches its
    // flag off; the inputs are disabled here as well for a box that was not ticked.
    w.cboFJahr->setCurrentText(QString::number(g.intJahr));
    w.cboFJahr->setEnabled(false);
    w.chkArchiv->setChecked(false);

    w.cboFArt->setCurrentIndex(-1);
    w.cboFArt->setEnabled(false);
    w.chkFArt->setChecked(false);

    w.cboFMonat->setCurrentText(modRun::ErmittleMonatsname(g.intMonat));
    w.cboFMonat->setEnabled(false);
    w.chkFMonat->setChecked(false);

    w.cboGName->setCurrentIndex(-1);
    w.cboGName->setEnabled(false);
    w.chkGName->setChecked(false);

    for (QComboBox *c : {w.cboOptAnz01, w.cboOptAnz02}) {
        c->setCurrentIndex(-1);
        c->setEnabled(false);
    }
    for (QLineEdit *e : {w.txtAnz01, w.txtAnz02}) {
        e->clear();
        e->setEnabled(false);
    }
    w.chkAnzahl->setChecked(false);

    for (QComboBox *c : {w.cboOptGew01, w.cboOptGew02}) {
        c->setCurrentIndex(-1);
        c->setEnabled(false);
    }
    for (QLineEdit *e : {w.txtGew01, w.txtGew02}) {
        e->clear();
        e->setEnabled(false);
    }
    w.chkGewicht->setChecked(false);

    w.tblFAusw->clear();
    w.lblGefDS->clear();
    w.lblSumAnz->clear();
    w.lblSumGew->clear();
    w.Auswahl = {};
    g.blnFangFilter.fill(false);
}

} // namespace modFAuswert
