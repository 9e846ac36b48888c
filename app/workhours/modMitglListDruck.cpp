#include "workhours/modMitglListDruck.h"

#include "core/modDruck.h"

namespace modMitglList {

namespace {

// The footer both lists share: the description and the number of members.
void Listenende(report::Report &r)
{
    using report::Align;
    report::Section &ende = r.ReportFooter();
    ende.Height = 50;
    ende.AddLabel(QString(), QStringLiteral("Listenbeschreibung:"), QRectF(0, 8, 250, 12), Align::Left, 9, true);
    report::Control &info = ende.AddLabel(QStringLiteral("lblInfo"), QString(), QRectF(0, 21, 310, 24));
    info.WordWrap = true;
    modDruck::Zeile(ende, 330, 8, QStringLiteral("Anzahl der Mitglieder     :"), 120, QStringLiteral("lblGefDS"), 63,
                    Align::Right);
}

void legeMitglList(report::Report &r)
{
    r.Caption = QStringLiteral("Mitglieder - Liste");
    report::Section &kopf = r.PageHeader();
    modDruck::Adressblock(kopf);
    modDruck::Titel(kopf, QStringLiteral("lblTitel"), QStringLiteral("Mitglieder - Liste"));
    modDruck::Kolumnen(r,
                       {
                           {"M-Nr:", "Text1", "KontaktNr", 2, 30},
                           {"Nachname:", "Text2", "Nachname", 35, 78},
                           {"Vorname:", "Text3", "Vorname", 116, 64},
                           {"Strasse:", "Text4", "Strasse", 183, 90},
                           {"PLZ:", "Text5", "PLZ", 276, 32},
                           {"Ort:", "Text6", "Ort", 311, 66},
                           {"Telefon [privat]:", "Text7", "Tel", 380, 78},
                           {"Geb.-Dat:", "Text8", "GebDatum", 462, 51},
                       },
                       8);
    modDruck::Seitenzeile(r.PageFooter());
    Listenende(r);
}

void legeArbStd(report::Report &r)
{
    using report::Align;
    r.Caption = QStringLiteral("Arbeitsliste [Übersicht]");
    report::Section &kopf = r.PageHeader();
    modDruck::Adressblock(kopf);
    modDruck::Titel(kopf, QStringLiteral("lblTitel"), QStringLiteral("Arbeitsliste [ Übersicht ]"));
    modDruck::Kolumnen(r, {
                              {"M-Nr:", "Text1", "KontaktNr", 2, 40},
                              {"Nachname", "Text2", "Nachname", 45, 130},
                              {"Vorname:", "Text3", "Vorname", 178, 110},
                              {"Pfl.-Std:", "Text4", "PflStd", 291, 70, Align::Right, "#.##0,00"},
                              {"Gel.-Std:", "Text5", "GelStd", 364, 70, Align::Right, "#.##0,00"},
                              {"Soll/Haben:", "Text6", "SollHaben", 437, 76, Align::Right, "0,00"},
                          });
    modDruck::Seitenzeile(r.PageFooter());
    Listenende(r);
}

// Step by step as both print-outs caption their report.
std::function<void(report::Report &)> beschrifte(const QString &gefDS, const QString &info, QStringList felder)
{
    return [gefDS, info, felder](report::Report &r) {
        report::Section &ende = r.ReportFooter();
        ende.Controls(QStringLiteral("lblGefDS")).Caption = gefDS;
        report::Section &d = r.Detail();
        for (int i = 0; i < felder.size(); ++i)
            d.Controls(QStringLiteral("Text%1").arg(i + 1)).DataField = felder.at(i);
        ende.Controls(QStringLiteral("lblInfo")).Caption = info.isEmpty() ? QStringLiteral("keine Beschreibung") : info;
    };
}

} // namespace

report::Report &rpt_MitglList()
{
    return modDruck::Bericht(QStringLiteral("rpt_MitglList"), legeMitglList);
}

report::Report &rpt_ArbStd()
{
    return modDruck::Bericht(QStringLiteral("rpt_ArbStd"), legeArbStd);
}

void DruckeMitglListe(const QString &modus, const forms::ListGrid &tblMList, const QString &gefDS, const QString &info)
{
    using modDruck::Ablage;
    const modDruck::Druckliste liste{
        QStringLiteral("modMitglList"),
        QStringLiteral("DruckeMitglListe"),
        "Druck_MitglList",
        {
            {QStringLiteral("KontaktNr"), 0, Ablage::Ganzzahl},
            {QStringLiteral("Nachname"), 1, Ablage::Wert},
            {QStringLiteral("Vorname"), 2, Ablage::Wert},
            {QStringLiteral("Strasse"), 3, Ablage::Wert},
            {QStringLiteral("PLZ"), 4, Ablage::Wert},
            {QStringLiteral("Ort"), 5, Ablage::Wert},
            {QStringLiteral("Tel"), 6, Ablage::Wert},
            {QStringLiteral("GebDatum"), 7, Ablage::Wert},
        },
        rpt_MitglList,
        beschrifte(gefDS, info, {"KontaktNr", "Nachname", "Vorname", "Strasse", "PLZ", "Ort", "Tel", "GebDatum"}),
    };
    modDruck::Drucke(modus, tblMList, liste);
}

void DruckeArbListe(const QString &modus, const forms::ListGrid &tblMList, const QString &gefDS, const QString &info)
{
    using modDruck::Ablage;
    const modDruck::Druckliste liste{
        QStringLiteral("modMitglList"),
        QStringLiteral("DruckeArbListe"),
        "Druck_ArbStd",
        {
            {QStringLiteral("KontaktNr"), 0, Ablage::Ganzzahl},
            {QStringLiteral("Nachname"), 1, Ablage::Wert},
            {QStringLiteral("Vorname"), 2, Ablage::Wert},
            {QStringLiteral("pflstd"), 8, Ablage::Wert},
            {QStringLiteral("GelStd"), 9, Ablage::Wert},
            {QStringLiteral("SollHaben"), 10, Ablage::Wert},
        },
        rpt_ArbStd,
        beschrifte(gefDS, info, {"KontaktNr", "Nachname", "Vorname", "PflStd", "GelStd", "SollHaben"}),
    };
    modDruck::Drucke(modus, tblMList, liste);
}

} // namespace modMitglList
