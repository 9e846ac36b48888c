#include "fishery/Besatzung.h"
#include "fishery/modBesatzList.h"
#include "fishery/modBesatzListDatei.h"
#include "fishery/modBesatzListDruck.h"
#include "fishery/modFAuswert.h"
#include "fishery/modFangbuch.h"
#include "ole/clock.h"

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
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>

using namespace modBesatzList;

namespace {

// Refills a species or waters list; it shows no entry afterwards.
void fuelle(void (*lader)(QComboBox &), QComboBox &cbo)
{
    lader(cbo);
    cbo.setCurrentIndex(-1);
    cbo.clearEditText();
}

} // namespace

Besatzung::Besatzung()
{
    setObjectName(QStringLiteral("Besatzung"));
    setWindowTitle(QStringLiteral("Besatz - Plan"));

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("BESATZ - PLAN"), this,
                                  QStringLiteral("Comic Sans MS"));

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbSpeichern", QStringLiteral("Speichern"), QStringLiteral("Eintrag speichern")},
            {"tbLoeschen", QStringLiteral("Löschen"), QStringLiteral("Eintrag löschen")},
            {"tbAnzLoeschen", QStringLiteral("Anz. löschen"), QStringLiteral("Anzeige löschen")},
            {"tbExcel", QStringLiteral("&Excel"), QStringLiteral("Excel - Datei - BPLAN.csv - erzeugen...")},
            {"tbVorschau", QStringLiteral("&Druck - Vorsch."), QStringLiteral("Druckvorschau des Besatzungsplan")},
            {"tbDruck", QStringLiteral("Drucken"), QStringLiteral("Aktuelle Auswahl drucken...")},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });

    Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Besatzung"), this);
    lblBJahrBez = forms::label(QStringLiteral("lblBJahrBez"), QStringLiteral("Besatz - Plan f. Jahr:"), Frame1);
    cboBJahr = forms::comboBox(QStringLiteral("cboBJahr"), Frame1);
    lblBNrBez = forms::label(QStringLiteral("lblBNrBez"), QStringLiteral("Besatz.- Nr:"), Frame1);
    lblBNr = forms::label(QStringLiteral("lblBNr"), QString(), Frame1);
    lblFArt = forms::label(QStringLiteral("lblFArt"), QStringLiteral("Fischart:"), Frame1);
    cboFArt = forms::comboBox(QStringLiteral("cboFArt"), Frame1, forms::Editable);
    lblGName = forms::label(QStringLiteral("lblGName"), QStringLiteral("Gewässer:"), Frame1);
    cboGName = forms::comboBox(QStringLiteral("cboGName"), Frame1, forms::Editable);
    lblZeit = forms::label(QStringLiteral("lblZeit"), QStringLiteral("Zeitpunkt:"), Frame1);
    txtZeit = forms::textBox(QStringLiteral("txtZeit"), Frame1);
    lblMenge = forms::label(QStringLiteral("lblMenge"), QStringLiteral("Menge:"), Frame1);
    txtMenge = forms::textBox(QStringLiteral("txtMenge"), Frame1);
    lblEinheit = forms::label(QStringLiteral("lblEinheit"), QStringLiteral("i. Kg"), Frame1);
    lblAnzahlBez = forms::label(QStringLiteral("lblAnzahlBez"), QStringLiteral("Anzahl:"), Frame1);
    lblAnzahl = forms::label(QStringLiteral("lblAnzahl"), QString(), Frame1);
    tblBList = forms::grid(QStringLiteral("tblBList"), Frame1,
                           {QStringLiteral("Besatz.-Nr"), QStringLiteral("Fischart"), QStringLiteral("Gewässer"),
                            QStringLiteral("Zeitpkt."), QStringLiteral("Menge i. Kg")});
    forms::followRowCount(lblAnzahl, tblBList->top());

    auto *felder = new QGridLayout;
    felder->addWidget(lblBJahrBez, 0, 0);
    felder->addWidget(cboBJahr, 0, 1);
    felder->addWidget(lblBNrBez, 0, 2);
    felder->addWidget(lblBNr, 0, 3);
    felder->addWidget(lblFArt, 1, 0);
    felder->addWidget(cboFArt, 1, 1);
    felder->addWidget(lblGName, 1, 2);
    felder->addWidget(cboGName, 1, 3, 1, 2);
    felder->addWidget(lblZeit, 2, 0);
    felder->addWidget(txtZeit, 2, 1);
    felder->addWidget(lblMenge, 2, 2);
    felder->addWidget(txtMenge, 2, 3);
    felder->addWidget(lblEinheit, 2, 4);
    auto *anzahl = new QHBoxLayout;
    anzahl->addStretch(1);
    anzahl->addWidget(lblAnzahlBez);
    anzahl->addWidget(lblAnzahl);
    auto *rahmen = new QVBoxLayout(Frame1);
    rahmen->addLayout(felder);
    rahmen->addLayout(anzahl);
    rahmen->addWidget(tblBList, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ueberschrift);
    layout->addWidget(Toolbar1);
    layout->addWidget(Frame1, 1);

    // Events.
    connect(cboBJahr, &QComboBox::activated, this, [this] { cboBJahr_Click(); });
    connect(tblBList, &forms::ListGrid::doubleClicked, this, [this](int row, int) { tblBList_DblClick(row); });
    connect(tblBList, &forms::ListGrid::lookRequested, this, [this] {
        tblBList->rowRange(0, tblBList->rowCount(), false);
        modRun::SetzeTblFarben(tblBList->appearance());
    });
    // The row the user goes to is the one highlighted: an entry marked by its save stands out no
    // longer.
    modFangbuch::LoeseMarkeBeiWahl(*tblBList);
    forms::installKeyPress(txtMenge, [](int &k) { k = modRun::PruefeTasteKomma(k); });
}

void Besatzung::Form_Load()
{
    modFangbuch::SetzeSpeicherModus();
    fuelle(modStart::loadcboFArt, *cboFArt);
    fuelle(modStart::loadcboGName, *cboGName);
}

void Besatzung::Form_Activate()
{
    auto &g = gv();
    if (modGVar::NimmKeinNeuLaden(*this))
        return;
    if (aendertEintrag())
        return; // the loaded entry keeps its fields
    fuelle(modStart::loadcboFArt, *cboFArt);
    fuelle(modStart::loadcboGName, *cboGName);
    modFAuswert::loadcboFJahr(*cboBJahr);
    cboBJahr->setCurrentText(QString::number(g.intJahr));
    // The year box and the grid show the same year: a grid left on another year is loaded
    // again for the year now in the box, so that a new entry goes to the year it is shown in.
    bool ok = false;
    const int jahr = cboBJahr->currentText().toInt(&ok);
    if (ok && jahr != intGridJahr)
        LadeJahr(jahr);
    lblAnzahl->setText(QString::number(tblBList->rowCount()));
}

void Besatzung::Form_Deactivate()
{
    // This window's own fields: while it unloads it is no longer the registered instance.
    LeereBesatzFelder();
}

void Besatzung::LeereBesatzFelder()
{
    txtMenge->clear();
    txtZeit->clear();
    cboFArt->setCurrentIndex(-1);
    cboFArt->clearEditText();
    cboGName->setCurrentIndex(-1);
    cboGName->clearEditText();
    lblBNr->clear();
    modGVar::VerlasseEditModus(*this);
}

bool Besatzung::aendertEintrag() const
{
    return modGVar::ImEditModus(*this) && !lblBNr->text().isEmpty();
}

void Besatzung::LadeJahr(int jahr)
{
    auto &g = gv();
    g.intJahr = jahr;
    modStart::loadTblBList();
    g.intJahr = ole::Today().year();
    lblAnzahl->setText(QString::number(tblBList->rowCount()));
}

void Besatzung::cboBJahr_Click()
{
    if (gv().blnStartLaden)
        return;
    bool ok = false;
    const int jahr = cboBJahr->currentText().toInt(&ok);
    if (ok)
        LadeJahr(jahr);
}

void Besatzung::tblBList_DblClick(int row)
{
    if (row < 0)
        return;
    LeereBesatzFelder();
    loadEintrag(*tblBList, row);
    modGVar::SetzeEditModus(*this, row, [this] { LeereBesatzFelder(); });
}

void Besatzung::Toolbar1_ButtonClick(const QString &key)
{
    auto &g = gv();
    if (key == QLatin1String("tbSpeichern")) {
        // A refused input while an entry is loaded keeps it loaded, so that the next save
        // changes it instead of inserting it a second time.
        if (aendertEintrag()) {
            if (PruefeBesatzEingabe())
                UpdateEintrag(g.lngDSNr);
        } else if (PruefeBesatzEingabe()) {
            SpeicherEintrag();
        }
    } else if (key == QLatin1String("tbLoeschen")) {
        if (aendertEintrag()) {
            const int antwort = forms::MsgBox(QStringLiteral("ACHTUNG: Besatzungseintrag wirklich löschen ?"),
                                              forms::vbYesNo + forms::vbQuestion, modRun::Titel);
            if (antwort == forms::vbYes)
                LoescheEintrag(g.lngDSNr);
            else
                LeereBesatzFelder();
        }
    } else if (key == QLatin1String("tbAnzLoeschen")) {
        LeereBesatzFelder();
    } else if (key == QLatin1String("tbExcel")) {
        DateiErzeugen();
    } else if (key == QLatin1String("tbDruck") || key == QLatin1String("tbVorschau")) {
        modGVar::SetzeKeinNeuLaden(*this);
        // The title names the year whose plan the grid holds (the year box is kept on it).
        DruckeBPlanListe(key == QLatin1String("tbDruck") ? QStringLiteral("drucken") : QStringLiteral("vorschau"),
                         *tblBList, intGridJahr > 0 ? QString::number(intGridJahr) : cboBJahr->currentText());
    }
    // Back to inserting, unless an entry is still loaded in the fields (a refused input or a
    // failed write while changing, a file or print-out made meanwhile): its next save changes it.
    if (!aendertEintrag())
        modGVar::VerlasseEditModus(*this);
}

void Besatzung::DateiErzeugen()
{
    const int antwort = forms::MsgBox(
        QStringLiteral("Wollen Sie eine in Excel zu importierende Datei mit der Bezeichnung - BPLAN.csv - erzeugen ?") +
            QStringLiteral("\n\r") +
            QStringLiteral("ACHTUNG: Der Datei liegen die in der Tabelle angezeigten Daten zugrunde ! Wollen Sie die "
                           "Datei jetzt erzeugen ?"),
        forms::vbYesNo, modRun::Titel);
    if (antwort != forms::vbYes) {
        forms::MsgBox(QStringLiteral("Vorgang von User abgebrochen !"), forms::vbOKOnly + forms::vbInformation,
                      modRun::Titel);
        return;
    }
    if (tblBList->rowCount() >= 1)
        ErzeugeBPlanDatei(*tblBList);
    else
        forms::MsgBox(
            QStringLiteral("Keine Daten zum erzeugen der Datei - BPLAN.csv - gefunden, der Vorgang wird abgebrochen !"),
            forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

namespace fishery {

forms::Form &BesatzungFenster()
{
    return forms::form<Besatzung>();
}

void RegistriereBesatzung()
{
    core::RegistriereFenster(
        navigation::Besatzung.key, [] { return &BesatzungFenster(); }, [] { return forms::loadedForm<Besatzung>(); });
    core::einstiege().besatzListe = {[]() -> forms::ListGrid & { return *forms::form<Besatzung>().tblBList; },
                                     [](int jahr) { forms::form<Besatzung>().intGridJahr = jahr; }};
}

} // namespace fishery
