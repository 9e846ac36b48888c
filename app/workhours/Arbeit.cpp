#include "workhours/Arbeit.h"
#include "ole/clock.h"
#include "workhours/modArbeit.h"
#include "workhours/modArbeitDruck.h"

#include "contacts/Datumsfeld.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "com/variant.h"
#include "common/datetext.h"
#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "ole/container.h"

#include "LzDateEdit.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

using namespace modArbeit;

namespace {

// A label that shows a figure, right-aligned.
QLabel *zahlLabel(const QString &name, QWidget *parent)
{
    QLabel *l = forms::label(name, QString(), parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(70);
    return l;
}

// The date control as the window keeps it: German day.month.year with "." (set by the field),
// day, month and year edited field by field, a cyan background and a bold font. Its value is not
// kept with the window (ValueReset 0): it shows today's date from the start.
void richteDatumEin(contacts::Datumsfeld &feld)
{
    ole::ControlContainer *c = feld.steuerelement();
    if (!c)
        return;
    c->setProperty(DISPID_LD_Alignment, com::Variant::i2(0));
    c->setProperty(DISPID_LD_Border, com::Variant::i2(2));
    c->setProperty(DISPID_LD_DisplayFormat, com::Variant::i2(2));
    c->setProperty(DISPID_LD_CalendarFormat, com::Variant::i2(4));
    c->setProperty(DISPID_LD_TimeStore, com::Variant::boolean(false));
    c->setProperty(DISPID_LD_HighlightInverted, com::Variant::boolean(false));
    c->setProperty(DISPID_LD_EditModeChange, com::Variant::boolean(true));
    c->setProperty(DISPID_LD_EditMode, com::Variant::i2(1));
    c->setProperty(DISPID_LD_HighlightColor, com::Variant::i4(LONG(0x00C0C0C0)));
    c->setProperty(DISPID_LD_DisabledColor, com::Variant::i4(LONG(0x80000011)));
    feld.setHintergrund(0x00FFFF00);
    QFont schrift = feld.font();
    schrift.setBold(true);
    feld.setFont(schrift);
    feld.setText(datetext::date(ole::Today()));
}

} // namespace

Arbeit::Arbeit()
{
    setObjectName(QStringLiteral("Arbeit"));
    setWindowTitle(QStringLiteral("Arbeitscontrolling - Name des Mitglieds -"));

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("ARBEITSCONTROLLING"), this,
                                  QStringLiteral("Comic Sans MS"));

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbBuchen", QStringLiteral("Buchen / Mindern"), QStringLiteral("Buchen v. Arb. - Std. oder Jahresbeitr.")},
            {"tbLoeschen", QStringLiteral("Löschen"), QStringLiteral("Löscht den ausgewählten Arbeitsvorgang")},
            {"tbAnzLoeschen", QStringLiteral("Anz. löschen"), QStringLiteral("Anzeige löschen")},
            {"tbVorschau", QStringLiteral("Vorschau"), QStringLiteral("Druckvorschau anzeigen...")},
            {"tbDruck", QStringLiteral("Drucken"), QStringLiteral("Arbeitsübersicht drucken...")},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });

    Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Arbeitscontrolling..."), this);

    // The member.
    Frame3 = forms::frame(QStringLiteral("Frame3"), QStringLiteral("Ausgewähltes Mitglied..."), Frame1);
    cmdMList = forms::button(QStringLiteral("cmdMList"), QStringLiteral("Zurück zur Mitgliederliste"), Frame3);
    cmdMList->setEnabled(false);
    cmdSuch = forms::button(QStringLiteral("cmdSuch"), QStringLiteral("Neues Mitglied suchen"), Frame3);
    Label1 = forms::label(QStringLiteral("Label1"), QStringLiteral("ausgew. Jahr:"), Frame3);
    cboArbJahr = forms::comboBox(QStringLiteral("cboArbJahr"), Frame3);
    Label2 = forms::label(QStringLiteral("Label2"), QStringLiteral("Mitgl.-Nr:"), Frame3);
    lblKNr = forms::label(QStringLiteral("lblKNr"), QString(), Frame3);
    Label3 = forms::label(QStringLiteral("Label3"), QStringLiteral("Name:"), Frame3);
    lblNName = forms::label(QStringLiteral("lblNName"), QString(), Frame3);
    Label4 = forms::label(QStringLiteral("Label4"), QStringLiteral("Vorname:"), Frame3);
    lblVName = forms::label(QStringLiteral("lblVName"), QString(), Frame3);
    // Two rows: the year with the two buttons, then number, surname and first name side by side.
    auto *mitglied = new QGridLayout(Frame3);
    mitglied->addWidget(Label1, 0, 0);
    mitglied->addWidget(cboArbJahr, 0, 1);
    mitglied->addWidget(cmdSuch, 0, 2, 1, 2);
    mitglied->addWidget(cmdMList, 0, 4, 1, 2);
    mitglied->addWidget(Label2, 1, 0);
    mitglied->addWidget(lblKNr, 1, 1);
    mitglied->addWidget(Label3, 1, 2);
    mitglied->addWidget(lblNName, 1, 3);
    mitglied->addWidget(Label4, 1, 4);
    mitglied->addWidget(lblVName, 1, 5);
    mitglied->setColumnStretch(3, 1);
    mitglied->setColumnStretch(5, 1);

    // The overview: entries and the three figures.
    Frame2 = forms::frame(QStringLiteral("Frame2"), QStringLiteral("Arb.-Std. Übersicht"), Frame1);
    tblArbStd = forms::grid(QStringLiteral("tblArbStd"), Frame2,
                            {QStringLiteral("ArbNr"), QStringLiteral("Mitgl.-Nr"), QStringLiteral("Geleist. Arb.-Std"),
                             QStringLiteral("Datum")});
    lblGStd = forms::label(QStringLiteral("lblGStd"), QStringLiteral("Ges. - Std geleistet:"), Frame2);
    lblGesStd = zahlLabel(QStringLiteral("lblGesStd"), Frame2);
    Label5 = forms::label(QStringLiteral("Label5"), QStringLiteral("Std."), Frame2);
    Label6 = forms::label(QStringLiteral("Label6"), QStringLiteral("Pfl.- Std:"), Frame2);
    lblPflStd = zahlLabel(QStringLiteral("lblPflStd"), Frame2);
    Label8 = forms::label(QStringLiteral("Label8"), QStringLiteral("Std."), Frame2);
    Label9 = forms::label(QStringLiteral("Label9"), QStringLiteral("Erg. SOLL / HABEN:"), Frame2);
    lblErgStd = zahlLabel(QStringLiteral("lblErgStd"), Frame2);
    Label10 = forms::label(QStringLiteral("Label10"), QStringLiteral("Std."), Frame2);
    // The figures stand beside the grid, so that the grid keeps the frame's whole height.
    auto *summen = new QGridLayout;
    summen->addWidget(lblGStd, 0, 0);
    summen->addWidget(lblGesStd, 0, 1);
    summen->addWidget(Label5, 0, 2);
    summen->addWidget(Label6, 1, 0);
    summen->addWidget(lblPflStd, 1, 1);
    summen->addWidget(Label8, 1, 2);
    summen->addWidget(Label9, 2, 0);
    summen->addWidget(lblErgStd, 2, 1);
    summen->addWidget(Label10, 2, 2);
    summen->setRowStretch(3, 1);
    tblArbStd->setMinimumVisibleRows(5);
    auto *uebersicht = new QHBoxLayout(Frame2);
    uebersicht->addWidget(tblArbStd, 1);
    uebersicht->addLayout(summen);

    // Booking.
    Frame7 = forms::frame(QStringLiteral("Frame7"), QStringLiteral("Buchen oder Editieren..."), Frame1);
    lblArbN = forms::label(QStringLiteral("lblArbN"), QStringLiteral("Arb.-Nr:"), Frame7);
    lblArbNr = forms::label(QStringLiteral("lblArbNr"), QString(), Frame7);
    lblDatum = forms::label(QStringLiteral("lblDatum"), QStringLiteral("Arb.- Datum:"), Frame7);
    lzDate = new contacts::Datumsfeld(QStringLiteral("lzDate"), Frame7);
    richteDatumEin(*lzDate);
    lblArbZeit = forms::label(QStringLiteral("lblArbZeit"), QStringLiteral("geleistete  Arb. - Std:"), Frame7);
    txtArbStd = forms::textBox(QStringLiteral("txtArbStd"), Frame7);
    lblStd = forms::label(QStringLiteral("lblStd"), QStringLiteral("Std."), Frame7);
    lblArbNotiz = forms::label(QStringLiteral("lblArbNotiz"), QStringLiteral("Bemerk. / Arb. - Beschreib."), Frame7);
    txtArbNotiz = forms::textBox(QStringLiteral("txtArbNotiz"), Frame7);
    // Two rows: number and date, then hours and remark.
    auto *buchen = new QGridLayout(Frame7);
    buchen->addWidget(lblArbN, 0, 0);
    buchen->addWidget(lblArbNr, 0, 1, 1, 2);
    buchen->addWidget(lblDatum, 0, 3);
    buchen->addWidget(lzDate, 0, 4, Qt::AlignLeft);
    buchen->addWidget(lblArbZeit, 1, 0);
    buchen->addWidget(txtArbStd, 1, 1);
    buchen->addWidget(lblStd, 1, 2);
    buchen->addWidget(lblArbNotiz, 1, 3);
    buchen->addWidget(txtArbNotiz, 1, 4);
    buchen->setColumnStretch(4, 1);

    auto *rahmen = new QVBoxLayout(Frame1);
    rahmen->addWidget(Frame3);
    rahmen->addWidget(Frame2, 1);
    rahmen->addWidget(Frame7);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ueberschrift);
    layout->addWidget(Toolbar1);
    layout->addWidget(Frame1, 1);

    // Events.
    connect(cboArbJahr, &QComboBox::activated, this, [this] { cboArbJahr_Click(); });
    connect(cmdMList, &QPushButton::clicked, this, [this] { cmdMList_Click(); });
    connect(cmdSuch, &QPushButton::clicked, this, [this] { cmdSuch_Click(); });
    connect(tblArbStd, &forms::ListGrid::doubleClicked, this, [this](int row, int) { tblArbStd_DblClick(row); });
    connect(tblArbStd, &forms::ListGrid::lookRequested, this, [this] {
        tblArbStd->rowRange(0, tblArbStd->rowCount(), false);
        modRun::SetzeTblFarben(tblArbStd->appearance());
    });
    connect(tblArbStd, &forms::ListGrid::refreshRequested, this,
            [this] { tblArbStd->rowRange(0, tblArbStd->rowCount(), false); });
    forms::installKeyPress(txtArbStd, [this](int &k) { txtArbStd_KeyPress(k); });
}

void Arbeit::Form_Load()
{
    loadcboArbJahre(*cboArbJahr);
    cboArbJahr->setCurrentText(QString::number(gv().intJahr));
    modGVar::SetzeSpeicherModus();
}

void Arbeit::Form_Activate()
{
    // intArbUebernahme and intSuchAufruf are set before the window is shown. The search dialog
    // is modal: it opens once the code that showed the window (a navigation click, a menu
    // command) has finished, not in its middle.
    QTimer::singleShot(0, this, [this] {
        if (isActive())
            aktiviert();
    });
}

void Arbeit::aktiviert()
{
    auto &g = gv();
    if (g.intArbUebernahme == 1) {
        g.intArbUebernahme = 0;
        return;
    }
    if (modGVar::NimmKeinNeuLaden(*this))
        return;
    if (const auto &zeige = core::einstiege().kontaktwerkzeuge.ZeigeSuchKont)
        zeige();
}

void Arbeit::Form_Deactivate()
{
    // While the window unloads it is no longer the registered one: nothing to empty then.
    if (!modGVar::KeinNeuLaden(*this) && forms::loadedForm<Arbeit>() == this)
        LeereArbeitMaske();
    if (const auto &entlade = core::einstiege().kontaktwerkzeuge.EntladeSuchKont)
        entlade();
}

qlonglong Arbeit::mitglied() const
{
    bool ok = false;
    const qlonglong knr = lblKNr->text().trimmed().toLongLong(&ok);
    return ok ? knr : 0;
}

bool Arbeit::aendertEintrag() const
{
    return modGVar::ImEditModus(*this) && !lblArbNr->text().isEmpty();
}

void Arbeit::cboArbJahr_Click()
{
    // No member shown: an empty list, no hours done, and the required hours owed.
    lblGesStd->setText(modRun::FormatZahl(loadTblArbeit(mitglied(), cboArbJahr->currentText().toLong())));
    lblPflStd->setText(modRun::FormatZahl(ErmittlePflichtStd()));
    bool ok = false;
    const double gesamt = modRun::LeseZahl(lblGesStd->text(), &ok);
    const double pflicht = modRun::LeseZahl(lblPflStd->text(), &ok);
    lblErgStd->setText(modRun::FormatZahl(ErmittleSollHaben(gesamt, pflicht)));
}

void Arbeit::cmdMList_Click()
{
    Hide();
    if (forms::Form *liste = core::Fenster(QStringLiteral("MitglList")))
        liste->Show();
}

void Arbeit::cmdSuch_Click()
{
    const auto &erw = core::einstiege().kontaktwerkzeuge;
    if (!erw.ZeigeSuchKont)
        return;
    if (erw.LeereSuchKont)
        erw.LeereSuchKont();
    erw.ZeigeSuchKont();
}

void Arbeit::tblArbStd_DblClick(int row)
{
    if (row < 0)
        return;
    LeereArbeitFelder();
    modGVar::SetzeEditModus(*this, row, [] { LeereArbeitFelder(); });
    loadArbeitsVorgang();
}

void Arbeit::txtArbStd_KeyPress(int &KeyAscii)
{
    KeyAscii = modRun::PruefeTasteKomma(KeyAscii);
}

void Arbeit::Buchen()
{
    if (aendertEintrag()) {
        // A refused input or a failed write keeps the entry loaded, so that the next booking
        // rewrites it instead of adding it a second time.
        const bool erledigt = PruefeArbeitEingabe() && UpdateStunden(gv().lngDSNr);
        if (erledigt)
            modGVar::VerlasseEditModus(*this);
        return;
    }
    if (PruefeArbeitEingabe())
        SpeicherStunden();
    modGVar::VerlasseEditModus(*this);
}

void Arbeit::Loeschen()
{
    if (!aendertEintrag()) {
        modGVar::VerlasseEditModus(*this);
        return;
    }
    const int antwort =
        forms::MsgBox(QStringLiteral("ACHTUNG: Arbeitvorgang wirklich löschen ?"), forms::vbYesNo, modRun::Titel);
    bool erledigt = true;
    if (antwort == forms::vbYes)
        erledigt = LoescheStunden(gv().lngDSNr);
    else
        LeereArbeitFelder();
    if (erledigt)
        modGVar::VerlasseEditModus(*this);
}

void Arbeit::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("tbBuchen")) {
        Buchen();
    } else if (key == QLatin1String("tbLoeschen")) {
        Loeschen();
    } else if (key == QLatin1String("tbVorschau") || key == QLatin1String("tbDruck")) {
        // A print-out leaves a loaded entry loaded.
        modGVar::SetzeKeinNeuLaden(*this);
        DruckeArbListe(key == QLatin1String("tbDruck") ? QStringLiteral("drucken") : QStringLiteral("vorschau"));
    } else {
        if (key == QLatin1String("tbAnzLoeschen"))
            LeereArbeitFelder();
        modGVar::VerlasseEditModus(*this);
    }
}

namespace workhours {

Arbeit &ArbeitFenster()
{
    return forms::form<Arbeit>();
}

void RegistriereArbeit()
{
    core::RegistriereFenster(
        navigation::Arbeit.key, [] { return &ArbeitFenster(); }, [] { return forms::loadedForm<Arbeit>(); });
    auto &e = core::einstiege();
    auto &b = e.bereiche;
    // The member list's rows: 0 the contact number, 1 the surname, 2 the first name.
    b.UebernimmMitglied = [](forms::ListGrid &tblMList, int zeile) {
        if (zeile < 0 || zeile >= tblMList.rowCount()) {
            modRun::ZeigeDSFehlt();
            return false;
        }
        bool ok = false;
        const qlonglong knr = tblMList.text(zeile, 0).trimmed().toLongLong(&ok);
        if (!ok) {
            modRun::ZeigeDSFehlt();
            return false;
        }
        if (!modArbeit::UebernehmeKontakt(knr, tblMList.text(zeile, 2), tblMList.text(zeile, 1)))
            return false;
        ArbeitFenster().cmdMList->setEnabled(true);
        return true;
    };
    // A member picked in the search dialog.
    b.UebernehmeKontakt = [](forms::ListGrid &tblSuch, int &zeile) { modArbeit::UebernehmeKontakt(tblSuch, zeile); };
    // The search dialog's pick.
    b.UebernehmeKontakt = [](forms::ListGrid &tblSuch, int &zeile) { modArbeit::UebernehmeKontakt(tblSuch, zeile); };
    b.ArbeitsZugriff_Erlaubt = modArbeit::ArbeitsZugriff_Erlaubt;
    auto &jahr = e.jahreswechsel;
    jahr.UebernehmeStunden = modArbeit::UebernehmeStunden;
    jahr.Ueberpruefe_auf_Uebertrag = modArbeit::Ueberpruefe_auf_Uebertrag;
}

} // namespace workhours
