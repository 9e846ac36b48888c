#include "contacts/Kontakt.h"
#include "contacts/Datumsfeld.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"

#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/services.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString Mitglieder[] = {QStringLiteral("Mitglieder (aktiv)"), QStringLiteral("Mitglieder (passiv)")};

} // namespace

Kontakt::Kontakt()
{
    setObjectName(QStringLiteral("Kontakt"));
    setWindowTitle(QStringLiteral("Kontakt"));

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern"), &tbSpeichern},
            {},
            {"tbLoeschen", QStringLiteral("&Löschen"), QStringLiteral("Löschen"), &tbLoeschen},
            {},
            {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Anzeige löschen"), &tbAnzLoeschen},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });

    TabKont = new QTabWidget(this);
    TabKont->setObjectName(QStringLiteral("TabKont"));

    // "Global": category, names, address, birth date and the member data.
    auto *global = new QWidget;
    lblKNr = forms::label(QStringLiteral("lblKNr"), QString(), global);
    cboKatego = forms::comboBox(QStringLiteral("cboKatego"), global);
    txtAnrede = forms::textBox(QStringLiteral("txtAnrede"), global, 50);
    txtFirma = forms::textBox(QStringLiteral("txtFirma"), global, 50);
    txtNName = forms::textBox(QStringLiteral("txtNName"), global, 50);
    txtVName = forms::textBox(QStringLiteral("txtVName"), global, 50);
    txtStrasse = forms::textBox(QStringLiteral("txtStrasse"), global, 50);
    txtPLZ = forms::textBox(QStringLiteral("txtPLZ"), global, 10);
    txtOrt = forms::textBox(QStringLiteral("txtOrt"), global, 50);
    txtGebDat = new contacts::Datumsfeld(QStringLiteral("txtGebDat"), global);
    auto *adresse = new QFormLayout;
    adresse->addRow(QStringLiteral("Kontakt-Nr:"), lblKNr);
    adresse->addRow(QStringLiteral("Kontakt-Katego.:"), cboKatego);
    adresse->addRow(QStringLiteral("Anrede:"), txtAnrede);
    adresse->addRow(QStringLiteral("Firma:"), txtFirma);
    adresse->addRow(QStringLiteral("Nachname:"), txtNName);
    adresse->addRow(QStringLiteral("Vorname:"), txtVName);
    adresse->addRow(QStringLiteral("Strasse:"), txtStrasse);
    adresse->addRow(QStringLiteral("PLZ:"), txtPLZ);
    adresse->addRow(QStringLiteral("Ort:"), txtOrt);
    adresse->addRow(QStringLiteral("Geb. - Datum:"), txtGebDat);

    optMann = forms::option(QStringLiteral("optMann"), QStringLiteral("männlich"), global);
    optFrau = forms::option(QStringLiteral("optFrau"), QStringLiteral("weiblich"), global);
    fraGeschlecht =
        forms::optionPair(QStringLiteral("fraGeschlecht"), QStringLiteral("Geschlecht..."), optMann, optFrau, global);
    optBefreit = forms::option(QStringLiteral("optBefreit"), QStringLiteral("befreit"), global);
    optNBefreit = forms::option(QStringLiteral("optNBefreit"), QStringLiteral("nicht befreit"), global);
    fraBefreit =
        forms::optionPair(QStringLiteral("fraBefreit"), QStringLiteral("Befreit (Arb.-Std.)  [nur bei Mitgl.]"),
                          optBefreit, optNBefreit, global);
    optBezahlt = forms::option(QStringLiteral("optBezahlt"), QStringLiteral("bezahlt"), global);
    optNBezahlt = forms::option(QStringLiteral("optNBezahlt"), QStringLiteral("nicht bezahlt"), global);
    fraBezahlt = forms::optionPair(QStringLiteral("fraBezahlt"), QStringLiteral("Jahresbeitrag [nur bei Mitgl.]"),
                                   optBezahlt, optNBezahlt, global);
    fraAufnahme = forms::frame(QStringLiteral("fraAufnahme"), QStringLiteral("Aufnahme [nur bei Mitgl.]"), global);
    txtEintritt = new contacts::Datumsfeld(QStringLiteral("txtEintritt"), fraAufnahme);
    txtAustritt = new contacts::Datumsfeld(QStringLiteral("txtAustritt"), fraAufnahme);
    auto *aufnahme = new QFormLayout(fraAufnahme);
    aufnahme->addRow(QStringLiteral("Aufn.- Datum:"), txtEintritt);
    aufnahme->addRow(QStringLiteral("Austrittsdatum:"), txtAustritt);
    chkJG = forms::checkBox(QStringLiteral("chkJG"), QStringLiteral("Jugendgruppe"), global);
    auto *mitglied = new QVBoxLayout;
    mitglied->addWidget(fraGeschlecht);
    mitglied->addWidget(fraBefreit);
    mitglied->addWidget(fraBezahlt);
    mitglied->addWidget(fraAufnahme);
    mitglied->addWidget(chkJG);
    mitglied->addStretch(1);
    auto *globalLayout = new QHBoxLayout(global);
    globalLayout->addLayout(adresse, 3);
    globalLayout->addLayout(mitglied, 2);
    TabKont->addTab(global, QStringLiteral("Global"));

    auto *kommunikation = new QWidget;
    txtTelPriv = forms::textBox(QStringLiteral("txtTelPriv"), kommunikation, 30);
    txtTelGesch = forms::textBox(QStringLiteral("txtTelGesch"), kommunikation, 30);
    txtMobil = forms::textBox(QStringLiteral("txtMobil"), kommunikation, 30);
    txtFax = forms::textBox(QStringLiteral("txtFax"), kommunikation, 30);
    txtEMail = forms::textBox(QStringLiteral("txtEMail"), kommunikation, 50);
    auto *komm = new QFormLayout(kommunikation);
    komm->addRow(QStringLiteral("Tel. [privat] :"), txtTelPriv);
    komm->addRow(QStringLiteral("Tel. [gesch] :"), txtTelGesch);
    komm->addRow(QStringLiteral("Mobil:"), txtMobil);
    komm->addRow(QStringLiteral("Fax:"), txtFax);
    komm->addRow(QStringLiteral("EMail:"), txtEMail);
    TabKont->addTab(kommunikation, QStringLiteral("Kommunikation"));

    auto *bank = new QWidget;
    chkEinzug = forms::checkBox(QStringLiteral("chkEinzug"), QStringLiteral("Bankeinzug"), bank);
    txtBLZ = forms::textBox(QStringLiteral("txtBLZ"), bank, 20);
    txtKInst = forms::textBox(QStringLiteral("txtKInst"), bank, 50);
    txtKontoNr = forms::textBox(QStringLiteral("txtKontoNr"), bank, 20);
    auto *bankLayout = new QFormLayout(bank);
    bankLayout->addRow(QString(), chkEinzug);
    bankLayout->addRow(QStringLiteral("BLZ:"), txtBLZ);
    bankLayout->addRow(QStringLiteral("Kredit-Instit. :"), txtKInst);
    bankLayout->addRow(QStringLiteral("Konto-Nr:"), txtKontoNr);
    TabKont->addTab(bank, QStringLiteral("Bank"));

    auto *info = new QWidget;
    txtNotiz = new QPlainTextEdit(info);
    txtNotiz->setObjectName(QStringLiteral("txtNotiz"));
    auto *infoLayout = new QVBoxLayout(info);
    infoLayout->addWidget(txtNotiz);
    TabKont->addTab(info, QStringLiteral("Info"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Toolbar1);
    layout->addWidget(TabKont, 1);
    resize(forms::twipsToPixels(9500), forms::twipsToPixels(6200));

    optMann->setChecked(true);
    optNBefreit->setChecked(true);
    optNBezahlt->setChecked(true);

    // Key filters: digits for postal code and bank data, telephone characters for the numbers.
    for (QLineEdit *t : {txtPLZ, txtBLZ, txtKontoNr})
        forms::installKeyPress(t, [](int &k) { k = modRun::PruefeTasteZahl(k); });
    for (QLineEdit *t : {txtTelPriv, txtTelGesch, txtMobil, txtFax})
        forms::installKeyPress(t, [](int &k) { k = modRun::PruefeTasteTel(k); });

    // A category chosen by the user or set from code runs the category click alike.
    connect(cboKatego, &QComboBox::currentIndexChanged, this, [this] { SetzeMitglFelder(); });
}

void Kontakt::Form_Load()
{
    TabKont->setCurrentIndex(0);
    modStart::loadcboKatego(*cboKatego);
    cboKatego->setCurrentIndex(-1);
    SetzeMitglFelder();
}

void Kontakt::SetzeMitglFelder()
{
    const QString text = cboKatego->currentText();
    const bool mitglied = text == Mitglieder[0] || text == Mitglieder[1];
    for (QWidget *w : std::initializer_list<QWidget *>{optMann, optFrau, optBefreit, optNBefreit, optBezahlt,
                                                       optNBezahlt, txtEintritt, txtAustritt, chkJG})
        w->setEnabled(mitglied);
    chkEinzug->setEnabled(true);
    const quint32 farbe = mitglied ? 0x80000005u : 0x8000000Fu; // window background : button face
    txtEintritt->setHintergrund(farbe);
    txtAustritt->setHintergrund(farbe);
}

bool Kontakt::aendertKontakt() const
{
    return modGVar::ImEditModus(*this) && !lblKNr->text().isEmpty();
}

void Kontakt::Toolbar1_ButtonClick(const QString &key)
{
    auto &g = gv();
    // A user without the contact right is refused before any check or question; the fields stay.
    if ((key == QLatin1String("tbSpeichern") || key == QLatin1String("tbLoeschen")) &&
        !modStart::PruefeZugriff(modStart::Recht::Kontakt))
        return;
    if (key == QLatin1String("tbSpeichern")) {
        if (aendertKontakt()) {
            // A refused input or a failed write keeps the contact loaded, so that the next save
            // changes it instead of inserting it a second time.
            if (!modKontakt::MeldeKontaktPruefung(modKontakt::PruefeKontaktEingabe()))
                return;
            const bool erledigt = g.blnAusSuche ? modKontakt::UpdateSQLKontakt() : modKontakt::UpdateKontakt(g.lngDSNr);
            if (erledigt)
                modGVar::VerlasseEditModus(*this);
            return;
        }
        if (modKontakt::MeldeKontaktPruefung(modKontakt::PruefeKontaktEingabe()))
            modKontakt::SpeicherKontakt();
        modGVar::VerlasseEditModus(*this);
    } else if (key == QLatin1String("tbLoeschen")) {
        const bool geladen = aendertKontakt();
        const int antwort =
            forms::MsgBox(QStringLiteral("ACHTUNG: Bei Mitgliederkontakt werden auch alle Referenzen des Kontaktes im "
                                         "Arbeitscontrolling gelöscht !\r\nKontakt wirklich löschen ?"),
                          forms::vbYesNo, modRun::Titel);
        if (antwort != forms::vbYes) {
            // Nothing deleted: a loaded contact stays loaded.
            if (!geladen)
                modGVar::VerlasseEditModus(*this);
            return;
        }
        // A failed write keeps the contact loaded; a contact that no longer exists does not,
        // and its fields go with it (a save would insert it afresh).
        const bool erledigt = modKontakt::LoescheKontakt();
        if (erledigt || !geladen)
            modGVar::VerlasseEditModus(*this);
    } else {
        if (key == QLatin1String("tbAnzLoeschen"))
            modKontakt::LeereKontaktFelder();
        modGVar::VerlasseEditModus(*this);
    }
}
