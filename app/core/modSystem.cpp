#include "core/modSystem.h"
#include "core/Info.h"
#include "core/System.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>
#include <optional>

namespace modStart {

void loadTblSystem()
{
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("loadTblSystem"));
    System &fenster = forms::form<System>();
    dao::Recordset rs;
    trap.step([&] { rs = gv().dbDaten.OpenRecordset("SELECT * FROM System", dao::dbOpenDynaset); });
    if (!rs.IsOpen())
        return;
    trap.step([&] {
        if (rs.Eof())
            return;
        auto feld = [&](const char *name) { return rs.Fields(QString::fromLatin1(name)).Value(); };
        forms::ListGrid &tbl = *fenster.tblSystem;
        tbl.addRow(QVariantList{QStringLiteral("Jahresbeitrag"), modRun::FormatZahl(feld("JBeitrag").toDouble())});
        tbl.addRow(QVariantList{QStringLiteral("akt. Fangjahr"), QString::number(feld("FJahr").toLongLong())});
        tbl.addRow(
            QVariantList{QStringLiteral("Pflicht-Std. (Arbeit)"), modRun::FormatZahl(feld("PflichtStd").toDouble())});

        const QString adresse[] = {feld("Verein").toString(), feld("Strasse").toString(), feld("PLZ").toString(),
                                   feld("Ort").toString(), feld("Tel").toString()};
        Info &info = forms::form<Info>();
        QLabel *labels[] = {info.lblVerein, info.lblStrasse, info.lblPLZ, info.lblOrt, info.lblTelefon};
        // The address boxes show what is stored, so that a save writes what the user sees.
        QLineEdit *boxen[] = {fenster.txtVerein, fenster.txtStrasse, fenster.txtPLZ, fenster.txtOrt,
                              fenster.txtTelefon};
        for (int i = 0; i < 5; ++i) {
            labels[i]->setText(adresse[i]);
            boxen[i]->setText(adresse[i]);
        }
    });
    trap.step([&] { rs.Close(); });
}

} // namespace modStart

namespace modSystem {

namespace {

// A figure typed the German way ("37,50") within [min, max], with at most `stellen` decimals:
// the value as typed, never with its comma dropped. Anything else is no setting.
std::optional<double> einstellungAus(const QString &text, double min, double max, int stellen)
{
    bool ok = false;
    const double zahl = modRun::LeseZahl(text, &ok);
    const QString t = text.trimmed();
    const qsizetype komma = t.indexOf(u',');
    const qsizetype nachkomma = komma < 0 ? 0 : t.size() - komma - 1;
    if (!ok || nachkomma > stellen || zahl < min || zahl > max)
        return std::nullopt;
    return zahl;
}

} // namespace

bool UpdateSystemPar(int key)
{
    (void)key; // the setting is told by its box, not by the row
    System &fenster = forms::form<System>();
    // The year is a whole number; the fee and the required hours are amounts with up to two
    // decimals (REAL columns), as the grid shows them.
    struct Einstellung
    {
        QLineEdit *box;
        const char *spalte;
        const char *zeile;
        double min, max;
        int stellen;
        double wert = 0;
        QString text() const { return stellen == 0 ? QString::number(qlonglong(wert)) : modRun::FormatZahl(wert); }
    };
    constexpr double LongMax = std::numeric_limits<qint32>::max();
    Einstellung einstellungen[] = {
        {fenster.txtFJahr, "FJahr", "akt. Fangjahr", 1900, 9999, 0},
        {fenster.txtJB, "JBeitrag", "Jahresbeitrag", 0, LongMax, 2},
        {fenster.txtArbStd, "PflichtStd", "Pflicht-Std. (Arbeit)", 0, LongMax, 2},
    };
    for (Einstellung &e : einstellungen) {
        if (e.box->text().isEmpty())
            continue;
        const auto wert = einstellungAus(e.box->text(), e.min, e.max, e.stellen);
        if (!wert) {
            modRun::ZeigeEingabeFehler();
            return false;
        }
        e.wert = *wert;
    }

    modRun::Trap trap(QStringLiteral("modSystem"), QStringLiteral("UpdateSystemPar"));
    const bool ok = trap.write(*gv().wsDaten, [&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("System", dao::dbOpenTable);
        rs.Edit();
        for (const Einstellung &e : einstellungen)
            if (!e.box->text().isEmpty())
                rs.Fields(QString::fromLatin1(e.spalte))
                    .SetValue(e.stellen == 0 ? QVariant(qlonglong(e.wert)) : QVariant(e.wert));
        rs.Update();
        rs.Close();
    });
    if (!ok)
        return false;
    forms::ListGrid &tbl = *fenster.tblSystem;
    for (const Einstellung &e : einstellungen) {
        if (e.box->text().isEmpty())
            continue;
        // The row shows the value as the start-up load shows it ("37,50"), not the text typed.
        const int zeile = tbl.find(0, QString::fromLatin1(e.zeile));
        if (zeile >= 0)
            tbl.setText(zeile, 1, e.text());
    }
    LeereSystemFelder();
    return true;
}

bool UpdateVereinsdaten()
{
    System &fenster = forms::form<System>();
    const QString texte[] = {fenster.txtVerein->text(), fenster.txtStrasse->text(), fenster.txtPLZ->text(),
                             fenster.txtOrt->text(), fenster.txtTelefon->text()};
    bool alleLeer = true;
    for (const QString &t : texte)
        alleLeer = alleLeer && t.isEmpty();
    if (alleLeer) {
        modRun::ZeigeEingabeFehler();
        return false;
    }

    modRun::Trap trap(QStringLiteral("modSystem"), QStringLiteral("UpdateVereinsdaten"));
    const bool ok = trap.write(*gv().wsDaten, [&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("System", dao::dbOpenTable);
        rs.Edit();
        const char *spalten[] = {"Verein", "Strasse", "PLZ", "Ort", "Tel"};
        for (int i = 0; i < 5; ++i)
            rs.Fields(QString::fromLatin1(spalten[i])).SetValue(texte[i]);
        rs.Update();
        rs.Close();
    });
    if (!ok)
        return false;
    Info &info = forms::form<Info>();
    QLabel *labels[] = {info.lblVerein, info.lblStrasse, info.lblPLZ, info.lblOrt, info.lblTelefon};
    for (int i = 0; i < 5; ++i)
        labels[i]->setText(texte[i]);
    return true;
}

bool AdresseGeaendert()
{
    System &fenster = forms::form<System>();
    Info &info = forms::form<Info>();
    const QLineEdit *boxen[] = {fenster.txtVerein, fenster.txtStrasse, fenster.txtPLZ, fenster.txtOrt,
                                fenster.txtTelefon};
    const QLabel *labels[] = {info.lblVerein, info.lblStrasse, info.lblPLZ, info.lblOrt, info.lblTelefon};
    for (int i = 0; i < 5; ++i)
        if (boxen[i]->text() != labels[i]->text())
            return true;
    return false;
}

void LeereSystemFelder()
{
    System *fenster = forms::loadedForm<System>();
    if (!fenster)
        return;
    fenster->txtArbStd->clear();
    fenster->txtFJahr->clear();
    fenster->txtJB->clear();
    modGVar::VerlasseEditModus(*fenster);
}

void loadSystemAuswahl(int row)
{
    System &fenster = forms::form<System>();
    forms::ListGrid &tbl = *fenster.tblSystem;
    if (row < 0 || row > 2 || row >= tbl.rowCount())
        return;
    QLineEdit *boxen[] = {fenster.txtJB, fenster.txtFJahr, fenster.txtArbStd};
    boxen[row]->setText(tbl.text(row, 1));
}

} // namespace modSystem
