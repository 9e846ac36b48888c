#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"
#include "fishery/modFAuswert.h"
#include "fishery/modFAuswertDatei.h"
#include "fishery/modFangbuch.h"

#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace modFAuswert;

namespace {

// A list filled from code shows no entry until one is chosen.
void ohneAuswahl(QComboBox &cbo)
{
    cbo.setCurrentIndex(-1);
}

const QString Abgebrochen = QStringLiteral("Vorgang von User abgebrochen !");

} // namespace

Fangauswertung::Fangauswertung()
{
    setObjectName(QStringLiteral("Fangauswertung"));
    setWindowTitle(QStringLiteral("Fangauswertung"));

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("FANGAUSWERTUNG"), this);

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbSuch", QStringLiteral("&Suchen"), QStringLiteral("Tabelle durchsuchen...")},
            {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Anzeige löschen")},
            {"tbExcel", QStringLiteral("&Exceldatei erzeugen"),
             QStringLiteral("Excel - Datei - FANG.CSV - erzeugen...")},
            {"tbVorschau", QStringLiteral("&Druck - Vorschau"), QStringLiteral("Druckvorschau der Fangliste")},
            {"tbDruck", QStringLiteral("Drucken"), QStringLiteral("Aktuelle Auswahl drucken...")},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });

    // The filters.
    Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Liste generieren..."), this);
    chkArchiv = forms::checkBox(QStringLiteral("chkArchiv"), QStringLiteral("Fangjahr"), Frame1);
    cboFJahr = forms::comboBox(QStringLiteral("cboFJahr"), Frame1);
    chkFArt = forms::checkBox(QStringLiteral("chkFArt"), QStringLiteral("Fischart..."), Frame1);
    cboFArt = forms::comboBox(QStringLiteral("cboFArt"), Frame1);
    chkGName = forms::checkBox(QStringLiteral("chkGName"), QStringLiteral("Gewässer..."), Frame1);
    cboGName = forms::comboBox(QStringLiteral("cboGName"), Frame1);
    chkFMonat = forms::checkBox(QStringLiteral("chkFMonat"), QStringLiteral("Fangmonat..."), Frame1);
    cboFMonat = forms::comboBox(QStringLiteral("cboFMonat"), Frame1);
    for (int m = 1; m <= 12; ++m)
        cboFMonat->addItem(modRun::ErmittleMonatsname(m));
    ohneAuswahl(*cboFMonat);
    chkAnzahl = forms::checkBox(QStringLiteral("chkAnzahl"), QStringLiteral("Anzahl..."), Frame1);
    cboOptAnz01 = forms::comboBox(QStringLiteral("cboOptAnz01"), Frame1);
    txtAnz01 = forms::textBox(QStringLiteral("txtAnz01"), Frame1);
    cboOptAnz02 = forms::comboBox(QStringLiteral("cboOptAnz02"), Frame1);
    txtAnz02 = forms::textBox(QStringLiteral("txtAnz02"), Frame1);
    chkGewicht = forms::checkBox(QStringLiteral("chkGewicht"), QStringLiteral("Gewicht i. Gramm..."), Frame1);
    cboOptGew01 = forms::comboBox(QStringLiteral("cboOptGew01"), Frame1);
    txtGew01 = forms::textBox(QStringLiteral("txtGew01"), Frame1);
    cboOptGew02 = forms::comboBox(QStringLiteral("cboOptGew02"), Frame1);
    txtGew02 = forms::textBox(QStringLiteral("txtGew02"), Frame1);
    for (QComboBox *c : {cboOptAnz01, cboOptAnz02, cboOptGew01, cboOptGew02}) {
        c->addItems(Operatoren());
        forms::fitToEntries(c);
        ohneAuswahl(*c);
    }
    Label1 = forms::label(QStringLiteral("Label1"), QStringLiteral("- Untergrenze -"), Frame1);
    Label2 = forms::label(QStringLiteral("Label2"), QStringLiteral("- Obergrenze -"), Frame1);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);

    auto *filter = new QGridLayout(Frame1);
    filter->addWidget(chkArchiv, 0, 0);
    filter->addWidget(cboFJahr, 0, 1, 1, 2);
    filter->addWidget(chkFArt, 0, 3);
    filter->addWidget(cboFArt, 0, 4, 1, 2);
    filter->addWidget(chkFMonat, 1, 0);
    filter->addWidget(cboFMonat, 1, 1, 1, 2);
    filter->addWidget(chkGName, 1, 3);
    filter->addWidget(cboGName, 1, 4, 1, 2);
    filter->addWidget(chkAnzahl, 2, 0);
    filter->addWidget(cboOptAnz01, 2, 1);
    filter->addWidget(txtAnz01, 2, 2);
    filter->addWidget(cboOptAnz02, 2, 4);
    filter->addWidget(txtAnz02, 2, 5);
    filter->addWidget(chkGewicht, 3, 0);
    filter->addWidget(cboOptGew01, 3, 1);
    filter->addWidget(txtGew01, 3, 2);
    filter->addWidget(cboOptGew02, 3, 4);
    filter->addWidget(txtGew02, 3, 5);
    filter->addWidget(Label1, 4, 1, 1, 2);
    filter->addWidget(Label2, 4, 4, 1, 2);

    // The result.
    tblFAusw = forms::grid(QStringLiteral("tblFAusw"), this,
                           {QStringLiteral("FangNr"), QStringLiteral("Fischart"), QStringLiteral("Gewässer"),
                            QStringLiteral("Monat"), QStringLiteral("Fangjahr"), QStringLiteral("Anzahl"),
                            QStringLiteral("Gew. i. Gramm")});
    lblAnzDS = forms::label(QStringLiteral("lblAnzDS"), QStringLiteral("Gefunden:"), this);
    lblGefDS = forms::label(QStringLiteral("lblGefDS"), QString(), this);
    forms::followRowCount(lblGefDS, tblFAusw->top());
    lblSAnz = forms::label(QStringLiteral("lblSAnz"), QStringLiteral("Summe -Anzahl-:"), this);
    lblSumAnz = forms::label(QStringLiteral("lblSumAnz"), QString(), this);
    lblSGew = forms::label(QStringLiteral("lblSGew"), QStringLiteral("Summe -Gewicht-:"), this);
    lblSumGew = forms::label(QStringLiteral("lblSumGew"), QString(), this);
    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setVisible(false);

    auto *ergebnis = new QHBoxLayout;
    ergebnis->addWidget(lblAnzDS);
    ergebnis->addWidget(lblGefDS);
    ergebnis->addStretch(1);
    ergebnis->addWidget(lblSAnz);
    ergebnis->addWidget(lblSumAnz);
    ergebnis->addStretch(1);
    ergebnis->addWidget(lblSGew);
    ergebnis->addWidget(lblSumGew);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ueberschrift);
    layout->addWidget(Toolbar1);
    layout->addWidget(Frame1);
    layout->addWidget(tblFAusw, 1);
    layout->addLayout(ergebnis);
    layout->addWidget(pb);

    // Events.
    const struct
    {
        QCheckBox *box;
        int filter;
    } boxen[] = {
        {chkArchiv, FilterJahr},  {chkFArt, FilterFischart}, {chkGName, FilterGewaesser},
        {chkFMonat, FilterMonat}, {chkAnzahl, FilterAnzahl}, {chkGewicht, FilterGewicht},
    };
    for (const auto &b : boxen) {
        // Ticking from code runs the same handling as a click.
        const int f = b.filter;
        connect(b.box, &QCheckBox::toggled, this, [this, f](bool an) { FilterGeklickt(f, an); });
        FilterGeklickt(f, false);
    }
    for (QLineEdit *e : {txtAnz01, txtAnz02, txtGew01, txtGew02})
        forms::installKeyPress(e, [](int &k) { k = modRun::PruefeTasteZahl(k); });
    connect(tblFAusw, &forms::ListGrid::rowChosen, this, [this](int row) { tblFAusw_RowChosen(row); });
    connect(tblFAusw, &forms::ListGrid::doubleClicked, this, [this](int row, int) { tblFAusw_DblClick(row); });
    connect(tblFAusw, &forms::ListGrid::contextRequested, this,
            [this](int row, int, const QPoint &) { tblFAusw_Context(row); });
    connect(tblFAusw, &forms::ListGrid::lookRequested, this, [this] {
        tblFAusw->rowRange(0, tblFAusw->rowCount(), false);
        modRun::SetzeTblFarben(tblFAusw->appearance());
    });
    connect(tblFAusw, &forms::ListGrid::refreshRequested, this,
            [this] { tblFAusw->rowRange(0, tblFAusw->rowCount(), false); });
}

void Fangauswertung::Form_Load()
{
    // The boxes start unticked; so do their filters.
    gv().blnFangFilter.fill(false);
    modStart::loadcboFArt(*cboFArt);
    ohneAuswahl(*cboFArt);
    modStart::loadcboGName(*cboGName);
    ohneAuswahl(*cboGName);
    loadcboFJahr(*cboFJahr);
    cboFJahr->setCurrentText(QString::number(gv().intJahr));
    cboFMonat->setCurrentText(gv().strMonat);
}

void Fangauswertung::Form_Activate()
{
    if (modGVar::NimmKeinNeuLaden(*this))
        return;
    modStart::loadcboFArt(*cboFArt);
    ohneAuswahl(*cboFArt);
    modStart::loadcboGName(*cboGName);
    ohneAuswahl(*cboGName);
}

void Fangauswertung::FilterGeklickt(int filter, bool an)
{
    QList<QWidget *> eingaben;
    switch (filter) {
    case FilterJahr: eingaben = {cboFJahr}; break;
    case FilterFischart: eingaben = {cboFArt}; break;
    case FilterGewaesser: eingaben = {cboGName}; break;
    case FilterMonat: eingaben = {cboFMonat}; break;
    case FilterAnzahl: eingaben = {cboOptAnz01, cboOptAnz02, txtAnz01, txtAnz02}; break;
    case FilterGewicht: eingaben = {cboOptGew01, cboOptGew02, txtGew01, txtGew02}; break;
    default: return;
    }
    for (QWidget *w : eingaben)
        w->setEnabled(an);
    gv().blnFangFilter[static_cast<std::size_t>(filter)] = an;
}

void Fangauswertung::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("tbSuch")) {
        Suchen();
    } else if (key == QLatin1String("tbAnzLoeschen")) {
        LeereFangAuswahl();
    } else if (key == QLatin1String("tbExcel")) {
        DateiErzeugen();
    } else if (key == QLatin1String("tbDruck") || key == QLatin1String("tbVorschau")) {
        modGVar::SetzeKeinNeuLaden(*this);
        DruckeFangListe(key == QLatin1String("tbDruck") ? QStringLiteral("drucken") : QStringLiteral("vorschau"),
                        *tblFAusw, Auswahl, lblGefDS->text());
    }
}

void Fangauswertung::Suchen()
{
    if (!modRun::MeldePruefung(PruefeFangAuswahl()))
        return;
    const auto &flags = gv().blnFangFilter;
    if (std::find(flags.begin(), flags.end(), true) == flags.end()) {
        const int antwort = forms::MsgBox(
            QStringLiteral("ACHTUNG: Wirklich alle Fangdaten aus der Datenbank laden ?") + QStringLiteral("\r\n") +
                QStringLiteral("Bendenken Sie das die Ladezeit je nach Grösse der Datenbank sehr lange dauern kann !"),
            forms::vbYesNo, modRun::Titel);
        if (antwort != forms::vbYes) {
            forms::MsgBox(Abgebrochen, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
            return;
        }
    }
    tblFAusw->clear();
    lblGefDS->clear();
    lblSumAnz->clear();
    lblSumGew->clear();
    repaint();
    LadeAuswahl();
}

void Fangauswertung::DateiErzeugen()
{
    const int antwort = forms::MsgBox(
        QStringLiteral("Wollen Sie eine in Excel zu importierende Datei mit der Bezeichnung - FANG.csv - erzeugen ?") +
            QStringLiteral("\n\r") +
            QStringLiteral("ACHTUNG: Der Datei liegen die gerade erzeugten Fangdaten zugrunde ! Wollen Sie die Datei "
                           "jetzt erzeugen ?"),
        forms::vbYesNo, modRun::Titel);
    if (antwort != forms::vbYes) {
        forms::MsgBox(Abgebrochen, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        return;
    }
    if (tblFAusw->rowCount() >= 1)
        ErzeugeFangDatei(*tblFAusw);
    else
        forms::MsgBox(
            QStringLiteral("Keine Daten zum erzeugen der Datei - FANG.csv - gefunden, der Vorgang wird abgebrochen !"),
            forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

void Fangauswertung::tblFAusw_RowChosen(int row)
{
    if (row >= 0) {
        gv().lngDSNr = row;
        gv().blnDSGewaehlt = true;
        intGewaehlt = row;
    } else {
        gv().blnDSGewaehlt = false;
    }
}

void Fangauswertung::tblFAusw_DblClick(int row)
{
    if (row < 0)
        return;
    if (!modFangbuch::FangbuchZugriff_Erlaubt()) {
        forms::MsgBox(QStringLiteral("Sie haben keine Zugriffsberechtigung auf diese Funktion !"),
                      forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        return;
    }
    modFangbuch::LeereFangFelder();
    modGVar::SetzeEditModus(fishery::FangbuchFenster(), row, [] { modFangbuch::LeereFangFelder(); });
    Hide();
    // Shown by itself, not through the navigation bar: it stands where it was hosted before.
    fishery::FangbuchFenster().Show();
    modFangbuch::loadFang(*tblFAusw, row);
}

void Fangauswertung::tblFAusw_Context(int row)
{
    (void)row;
    if (tblFAusw->rowCount() < 1 || !gv().blnDSGewaehlt || intGewaehlt < 0)
        return;
    Main *main = forms::loadedForm<Main>();
    if (!main)
        return;
    // The command of the menu opens the row chosen here.
    gv().lngDSNr = intGewaehlt;
    main->loadKontMenu_FAusw();
}

namespace fishery {

forms::Form &FangauswertungFenster()
{
    return forms::form<Fangauswertung>();
}

void RegistriereFangauswertung()
{
    core::RegistriereFenster(
        navigation::Fangauswertung.key, [] { return &FangauswertungFenster(); },
        [] { return forms::loadedForm<Fangauswertung>(); });
    core::einstiege().bereiche.tblFAusw = []() -> forms::ListGrid * {
        Fangauswertung *w = forms::loadedForm<Fangauswertung>();
        return w ? w->tblFAusw : nullptr;
    };
}

} // namespace fishery
