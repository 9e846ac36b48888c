#include "fishery/modFAuswertDruck.h"

#include "core/modDruck.h"

namespace modFAuswert {

namespace {

QString oderAlle(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("alle") : text;
}

void lege(report::Report &r)
{
    using modDruck::Zeile;
    using report::Align;
    r.Caption = QStringLiteral("Fangliste");
    report::Section &kopf = r.PageHeader();
    modDruck::Adressblock(kopf);
    modDruck::Titel(kopf, QStringLiteral("lblTitel"), QStringLiteral("Fangliste"));
    Zeile(kopf, 330, 13, QStringLiteral("Fangjahr    :"), 60, QStringLiteral("lblFJahr"), 123);
    Zeile(kopf, 330, 25, QStringLiteral("Fangmonat:"), 60, QStringLiteral("lblFMonat"), 123);
    modDruck::Kolumnen(r, {
                              {"FangNr:", "Text1", "FangNr", 2, 44},
                              {"Fischart:", "Text2", "Name", 49, 104},
                              {"Gewässer:", "Text3", "Gewässer", 156, 108},
                              {"Monat:", "Text4", "Monat", 267, 58},
                              {"Fangjahr:", "Text5", "Fangjahr", 328, 52},
                              // Room for a 6-digit count and a 10-digit weight, well apart.
                              {"Anzahl:", "Text6", "Anzahl", 383, 50, Align::Right},
                              {"Gewicht:", "Text7", "Gewicht", 440, 73, Align::Right, "#.##0"},
                          });
    modDruck::Seitenzeile(r.PageFooter());

    report::Section &ende = r.ReportFooter();
    ende.Height = 66;
    ende.AddLabel(QString(), QStringLiteral("Settings der Fangliste:"), QRectF(0, 8, 250, 12), Align::Left, 9, true);
    Zeile(ende, 0, 22, QStringLiteral("gewählte Fischart        :"), 110, QStringLiteral("lblFischart"), 150);
    Zeile(ende, 0, 34, QStringLiteral("gewähltes Gewässer :"), 110, QStringLiteral("lblGewässer"), 150);
    Zeile(ende, 0, 46, QStringLiteral("Anzahl d. gef. Einträge:"), 110, QStringLiteral("lblGefDS"), 150);
    // The totals have room for ten digits between their captions and "i.Gramm".
    ende.AddLabel(QString(), QStringLiteral("Endaufstellung:"), QRectF(286, 8, 229, 12), Align::Left, 9, true);
    ende.AddLabel(QString(), QStringLiteral("Fischanzahl [gesamt]    :"), QRectF(286, 22, 116, 11));
    ende.AddFunction(QStringLiteral("SumAnzahl"), QStringLiteral("Anzahl"), QRectF(404, 22, 64, 11), Align::Right,
                     QStringLiteral("0"));
    ende.AddLabel(QString(), QStringLiteral("Fischgewicht [gesamt] :"), QRectF(286, 34, 116, 11));
    ende.AddFunction(QStringLiteral("SumGewicht"), QStringLiteral("Gewicht"), QRectF(404, 34, 64, 11), Align::Right,
                     QStringLiteral("0"));
    ende.AddLabel(QString(), QStringLiteral("i.Gramm"), QRectF(472, 34, 43, 11));
}

} // namespace

report::Report &rpt_Fangliste()
{
    return modDruck::Bericht(QStringLiteral("rpt_Fangliste"), lege);
}

void DruckeFangListe(const QString &modus, const forms::ListGrid &tblFAusw, const AngewandteAuswahl &auswahl,
                     const QString &gefDS)
{
    using modDruck::Ablage;
    const modDruck::Druckliste liste{
        QStringLiteral("modFAuswert"),
        QStringLiteral("DruckeFangListe"),
        "Druck_Fangliste",
        {
            {QStringLiteral("FangNr"), 0, Ablage::Ganzzahl},
            {QStringLiteral("Name"), 1, Ablage::Wert},
            {QStringLiteral("Gewässer"), 2, Ablage::Wert},
            {QStringLiteral("Monat"), 3, Ablage::Wert},
            {QStringLiteral("FangJahr"), 4, Ablage::Ganzzahl},
            {QStringLiteral("Anzahl"), 5, Ablage::Ganzzahl},
            {QStringLiteral("Gewicht"), 6, Ablage::Ganzzahl},
        },
        rpt_Fangliste,
        [&](report::Report &r) {
            report::Section &kopf = r.PageHeader();
            report::Section &ende = r.ReportFooter();
            kopf.Controls(QStringLiteral("lblFJahr")).Caption = oderAlle(auswahl.FJahr);
            kopf.Controls(QStringLiteral("lblFMonat")).Caption = oderAlle(auswahl.FMonat);
            ende.Controls(QStringLiteral("SumAnzahl")).DataField = QStringLiteral("Anzahl");
            ende.Controls(QStringLiteral("SumGewicht")).DataField = QStringLiteral("Gewicht");
            ende.Controls(QStringLiteral("lblGefDS")).Caption = gefDS;
            ende.Controls(QStringLiteral("lblFischart")).Caption = oderAlle(auswahl.FArt);
            ende.Controls(QStringLiteral("lblGewässer")).Caption = oderAlle(auswahl.GName);
            report::Section &d = r.Detail();
            const char *felder[] = {"FangNr", "Name", "Gewässer", "Monat", "Fangjahr", "Anzahl", "Gewicht"};
            for (int i = 0; i < 7; ++i)
                d.Controls(QStringLiteral("Text%1").arg(i + 1)).DataField = QString::fromUtf8(felder[i]);
        },
    };
    modDruck::Drucke(modus, tblFAusw, liste);
}

} // namespace modFAuswert
