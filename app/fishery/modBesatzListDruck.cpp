#include "fishery/modBesatzListDruck.h"

#include "core/modDruck.h"

namespace modBesatzList {

namespace {

const QString Ueberschrift = QStringLiteral("Besatz - Plan");

void lege(report::Report &r)
{
    using report::Align;
    r.Caption = QStringLiteral("Besatz - Plan");
    report::Section &kopf = r.PageHeader();
    modDruck::Adressblock(kopf);
    modDruck::Titel(kopf, QStringLiteral("lblUeb"), Ueberschrift);
    modDruck::Kolumnen(r, {
                              {"B-Nr:", "Text1", "BNr", 2, 44},
                              {"Fischart:", "Text2", "FName", 49, 130},
                              {"Gewässer:", "Text3", "GName", 182, 140},
                              {"Zeitpunkt:", "Text4", "Zeit", 325, 110},
                              {"Menge i. Kg:", "Text5", "Menge", 438, 75, Align::Right, "0,00"},
                          });
    modDruck::Seitenzeile(r.PageFooter());
}

} // namespace

report::Report &rpt_BesatzListe()
{
    return modDruck::Bericht(QStringLiteral("rpt_BesatzListe"), lege);
}

void DruckeBPlanListe(const QString &modus, const forms::ListGrid &tblBList, const QString &jahr)
{
    using modDruck::Ablage;
    const modDruck::Druckliste liste{
        QStringLiteral("modBesatzung"),
        QStringLiteral("DruckeBPlanListe"),
        "Druck_Besatzliste",
        {
            {QStringLiteral("BNr"), 0, Ablage::Text},
            {QStringLiteral("FName"), 1, Ablage::Wert},
            {QStringLiteral("GName"), 2, Ablage::Wert},
            {QStringLiteral("Zeit"), 3, Ablage::Wert},
            {QStringLiteral("Menge"), 4, Ablage::Text},
        },
        rpt_BesatzListe,
        [&](report::Report &r) {
            // Built afresh from the fixed title, so that printing twice names the year once.
            r.PageHeader().Controls(QStringLiteral("lblUeb")).Caption =
                Ueberschrift + QStringLiteral(" für das Fangjahr ") + jahr;
            report::Section &d = r.Detail();
            const char *felder[] = {"BNr", "FName", "GName", "Zeit", "Menge"};
            for (int i = 0; i < 5; ++i)
                d.Controls(QStringLiteral("Text%1").arg(i + 1)).DataField = QString::fromLatin1(felder[i]);
        },
    };
    modDruck::Drucke(modus, tblBList, liste);
}

} // namespace modBesatzList
