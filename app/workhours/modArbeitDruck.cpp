#include "workhours/modArbeitDruck.h"

#include "workhours/Arbeit.h"

#include "core/modDruck.h"

#include <QComboBox>
#include <QLabel>

namespace modArbeit {

namespace {

const QString Ueberschrift = QStringLiteral("Arbeitsliste [Einzelaufstellung] für Jahr");

void lege(report::Report &r)
{
    using modDruck::Zeile;
    using report::Align;
    r.Caption = QStringLiteral("Arbeitsliste [Einzelaufstellung]");
    report::Section &kopf = r.PageHeader();
    modDruck::Adressblock(kopf);
    modDruck::Titel(kopf, QStringLiteral("lblUebSchrift"), Ueberschrift);
    modDruck::Kolumnen(r, {
                              {"Arb.-Nr:", "Text1", "ArbNr", 2, 70},
                              {"Geleistete Arb.-Std:", "Text2", "GelStd", 80, 110, Align::Right, "#.##0,00"},
                              {"Datum:", "Text3", "Datum", 215, 90, Align::Left, "dd.MM.yyyy"},
                          });
    modDruck::Seitenzeile(r.PageFooter());

    report::Section &ende = r.ReportFooter();
    ende.Height = 66;
    ende.AddLabel(QString(), QStringLiteral("Mitglied:"), QRectF(0, 8, 250, 12), Align::Left, 9, true);
    Zeile(ende, 0, 22, QStringLiteral("Mitgl.-Nr  :"), 56, QStringLiteral("lblMitglNr"), 190);
    Zeile(ende, 0, 34, QStringLiteral("Name       :"), 56, QStringLiteral("lblNName"), 190);
    Zeile(ende, 0, 46, QStringLiteral("Vorname:"), 56, QStringLiteral("lblVName"), 190);
    ende.AddLabel(QString(), QStringLiteral("Endaufstellung:"), QRectF(300, 8, 215, 12), Align::Left, 9, true);
    Zeile(ende, 300, 22, QStringLiteral("Ges.-Std. geleistet:"), 120, QStringLiteral("lblGesStd"), 93, Align::Right);
    Zeile(ende, 300, 34, QStringLiteral("-                   Pfl.-Std:"), 120, QStringLiteral("lblPflStd"), 93,
          Align::Right);
    ende.AddLine(QPointF(300, 46.5), QPointF(modDruck::Breite, 46.5));
    Zeile(ende, 300, 49, QStringLiteral(" Erg. SOLL / HABEN:"), 120, QStringLiteral("lblSollHaben"), 93, Align::Right);
}

} // namespace

report::Report &rpt_ArbListe()
{
    return modDruck::Bericht(QStringLiteral("rpt_ArbListe"), lege);
}

void DruckeArbListe(const QString &modus, const forms::ListGrid &tblArbStd, const Arbeitsblatt &blatt)
{
    using modDruck::Ablage;
    const modDruck::Druckliste liste{
        QStringLiteral("modArbeit"),
        QStringLiteral("DruckeArbListe"),
        "Druck_ArbListe",
        {
            {QStringLiteral("ArbNr"), 0, Ablage::Ganzzahl},
            {QStringLiteral("GelStd"), 2, Ablage::Wert},
            {QStringLiteral("Datum"), 3, Ablage::Wert},
        },
        rpt_ArbListe,
        [&](report::Report &r) {
            // Built from the fixed heading each time, so that the year stands there once.
            r.PageHeader().Controls(QStringLiteral("lblUebSchrift")).Caption =
                Ueberschrift + QLatin1Char(' ') + blatt.Jahr;
            report::Section &ende = r.ReportFooter();
            ende.Controls(QStringLiteral("lblNName")).Caption = blatt.NName;
            ende.Controls(QStringLiteral("lblVName")).Caption = blatt.VName;
            ende.Controls(QStringLiteral("lblMitglNr")).Caption = blatt.KNr;
            ende.Controls(QStringLiteral("lblGesStd")).Caption = blatt.GesStd;
            ende.Controls(QStringLiteral("lblPflStd")).Caption = blatt.PflStd;
            ende.Controls(QStringLiteral("lblSollHaben")).Caption = blatt.ErgStd;
            report::Section &d = r.Detail();
            d.Controls(QStringLiteral("Text1")).DataField = QStringLiteral("ArbNr");
            d.Controls(QStringLiteral("Text2")).DataField = QStringLiteral("GelStd");
            d.Controls(QStringLiteral("Text3")).DataField = QStringLiteral("Datum");
        },
    };
    modDruck::Drucke(modus, tblArbStd, liste);
}

void DruckeArbListe(const QString &modus)
{
    const Arbeit &f = workhours::ArbeitFenster();
    const Arbeitsblatt blatt{f.cboArbJahr->currentText(), f.lblKNr->text(),    f.lblNName->text(), f.lblVName->text(),
                             f.lblGesStd->text(),         f.lblPflStd->text(), f.lblErgStd->text()};
    DruckeArbListe(modus, *f.tblArbStd, blatt);
}

} // namespace modArbeit
