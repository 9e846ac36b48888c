#include "core/System.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modSystem.h"

#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/listgrid.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>

System::System()
{
    setWindowTitle(QStringLiteral("Systemparameter"));
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("SYSTEMPARAMETER"), this));

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    tbSpeichern = Toolbar1->addAction(QStringLiteral("Speichern"));
    tbSpeichern->setObjectName(QStringLiteral("tbSpeichern"));
    tbAnzLoeschen = Toolbar1->addAction(QStringLiteral("Anzeige löschen"));
    tbAnzLoeschen->setObjectName(QStringLiteral("tbAnzLoeschen"));
    connect(tbSpeichern, &QAction::triggered, this, [this] { Toolbar1_ButtonClick(QStringLiteral("tbSpeichern")); });
    connect(tbAnzLoeschen, &QAction::triggered, this,
            [this] { Toolbar1_ButtonClick(QStringLiteral("tbAnzLoeschen")); });
    layout->addWidget(Toolbar1);

    QGroupBox *rahmenGrid = forms::frame(QString(), QStringLiteral("Aktuelle Systemparameter..."), this);
    auto *gridLayout = new QVBoxLayout(rahmenGrid);
    tblSystem = forms::grid(QStringLiteral("tblSystem"), rahmenGrid,
                            {{QStringLiteral("Parameter"), 2600}, QStringLiteral("Akt. Werte")});
    // The grid shows its three rows without scrolling.
    tblSystem->setMinimumVisibleRows(3);
    gridLayout->addWidget(tblSystem);
    layout->addWidget(rahmenGrid);
    connect(tblSystem, &forms::ListGrid::lookRequested, this,
            [this] { modRun::SetzeTblFarben(tblSystem->appearance()); });
    connect(tblSystem, &forms::ListGrid::doubleClicked, this, [this](int row, int) { tblSystem_DblClick(row); });

    QGroupBox *rahmenEdit = forms::frame(QString(), QStringLiteral("Systemparameter editieren..."), this);
    auto *edit = new QFormLayout(rahmenEdit);
    txtJB = forms::textBox(QStringLiteral("txtJB"), this);
    txtFJahr = forms::textBox(QStringLiteral("txtFJahr"), this);
    txtArbStd = forms::textBox(QStringLiteral("txtArbStd"), this);
    edit->addRow(QStringLiteral("Jahresbeitrag:"), txtJB);
    edit->addRow(QStringLiteral("Akt. Fangjahr:"), txtFJahr);
    auto *stunden = new QWidget(rahmenEdit);
    auto *stundenLayout = new QHBoxLayout(stunden);
    stundenLayout->setContentsMargins(0, 0, 0, 0);
    stundenLayout->addWidget(txtArbStd);
    stundenLayout->addWidget(new QLabel(QStringLiteral("Std."), stunden));
    edit->addRow(QStringLiteral("Arb.- Pflichtstunden:"), stunden);
    // The year takes digits; the fee and the required hours take a decimal comma too.
    forms::installKeyPress(txtFJahr, [](int &KeyAscii) { KeyAscii = modRun::PruefeTasteZahl(KeyAscii); });
    for (QLineEdit *box : {txtJB, txtArbStd})
        forms::installKeyPress(box, [](int &KeyAscii) { KeyAscii = modRun::PruefeTasteKomma(KeyAscii); });

    QGroupBox *rahmenAdresse = forms::frame(QString(), QStringLiteral("Ihre Adressdaten..."), this);
    auto *adresse = new QFormLayout(rahmenAdresse);
    txtVerein = forms::textBox(QStringLiteral("txtVerein"), this);
    txtStrasse = forms::textBox(QStringLiteral("txtStrasse"), this);
    txtPLZ = forms::textBox(QStringLiteral("txtPLZ"), this);
    txtOrt = forms::textBox(QStringLiteral("txtOrt"), this);
    txtTelefon = forms::textBox(QStringLiteral("txtTelefon"), this);
    adresse->addRow(QStringLiteral("(Vereins-) Name:"), txtVerein);
    adresse->addRow(QStringLiteral("Strasse:"), txtStrasse);
    adresse->addRow(QStringLiteral("PLZ:"), txtPLZ);
    adresse->addRow(QStringLiteral("Ort:"), txtOrt);
    adresse->addRow(QStringLiteral("Telefon:"), txtTelefon);
    // The settings and the address side by side, so that the window shows whole at its start size.
    auto *rahmen = new QHBoxLayout;
    rahmen->addWidget(rahmenEdit, 1, Qt::AlignTop);
    rahmen->addWidget(rahmenAdresse, 1, Qt::AlignTop);
    layout->addLayout(rahmen);
    layout->addStretch(1);
}

void System::Form_Load()
{
    modGVar::SetzeSpeicherModus();
}

void System::Form_Deactivate()
{
    modSystem::LeereSystemFelder();
}

void System::tblSystem_DblClick(int row)
{
    if (row < 0)
        return;
    modSystem::LeereSystemFelder();
    modSystem::loadSystemAuswahl(row);
    modGVar::SetzeEditModus(*this, row, [] { modSystem::LeereSystemFelder(); });
}

void System::Toolbar1_ButtonClick(const QString &key)
{
    bool ok = true;
    if (key == QLatin1String("tbSpeichern")) {
        // The save writes what the window shows: the settings whose boxes hold a value (a row
        // chosen for change, or a value typed), and the club address when no setting is given
        // or the address was changed.
        const System &f = *this;
        bool einstellung = false;
        for (const QLineEdit *box : {f.txtFJahr, f.txtJB, f.txtArbStd})
            einstellung = einstellung || !box->text().isEmpty();
        if (einstellung)
            ok = modSystem::UpdateSystemPar(gv().lngDSNr);
        if (ok && (!einstellung || modSystem::AdresseGeaendert()))
            ok = modSystem::UpdateVereinsdaten();
    } else if (key == QLatin1String("tbAnzLoeschen")) {
        modSystem::LeereSystemFelder();
    }
    // A refused input keeps the chosen row for correction.
    if (ok || key != QLatin1String("tbSpeichern"))
        modGVar::VerlasseEditModus(*this);
}
