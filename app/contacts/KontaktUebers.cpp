#include "contacts/KontaktUebers.h"
#include "contacts/Katego.h"
#include "contacts/Kontakt.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "forms/fields.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Shows a window of another area in the pane of the current navigation item.
void zeigeImPane(const QString &key)
{
    if (forms::Form *fenster = core::Fenster(key))
        modMain::ZeigeImAktItem(*fenster);
}

} // namespace

KontaktUebers::KontaktUebers()
{
    setObjectName(QStringLiteral("KontaktUebers"));
    setWindowTitle(QStringLiteral("Kontakte"));

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("KONTAKTE"), this);
    Label1 = forms::label(QStringLiteral("Label1"), QStringLiteral("Kontakte nach Kategorien"), this);
    Label2 = forms::label(QStringLiteral("Label2"), QStringLiteral("Doppelklick auf einen Kontakt öffnet ihn."), this);

    Toolbar1 =
        forms::toolbar(this,
                       {
                           {"tbKontakt", QStringLiteral("Neuer &Kontakt"), QStringLiteral("Neuen Kontakt anlegen")},
                           {"tbKatego", QStringLiteral("&Kategorien"), QStringLiteral("Kategorien bearbeiten")},
                           {"tbSuch", QStringLiteral("&Suchen"), QStringLiteral("Kontakt suchen")},
                           {"tbMitglList", QStringLiteral("&Mitgliederliste"), QStringLiteral("Mitgliederliste")},
                           {"tbWord", QStringLiteral("Serien&brief"), QStringLiteral("Serienbrief - Datei erzeugen")},
                       },
                       [this](const QString &key) { Toolbar1_ButtonClick(key); });

    tblKUebers = forms::grid(QStringLiteral("tblKUebers"), this, {});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ueberschrift);
    layout->addWidget(Toolbar1);
    layout->addWidget(Label1);
    layout->addWidget(tblKUebers, 1);
    layout->addWidget(Label2);

    connect(tblKUebers, &forms::ListGrid::expandClicked, this,
            [this](int row, int column) { tblKUebers_Expand(row, column); });
    connect(tblKUebers, &forms::ListGrid::doubleClicked, this,
            [this](int row, int column) { tblKUebers_DblClick(row, column); });
}

void KontaktUebers::Form_Load()
{
    modGVar::SetzeSpeicherModus();
}

void KontaktUebers::Form_Deactivate()
{
    if (const auto &entlade = core::einstiege().kontaktwerkzeuge.EntladeSuchKont)
        entlade();
}

void KontaktUebers::tblKUebers_Expand(int row, int column)
{
    // Only the categories of the top level expand; the grid has switched the row's flag, which
    // is where the expanded state lives.
    if (column != forms::ExpanderColumn || row < 0 || &tblKUebers->current() != &tblKUebers->top())
        return;
    forms::GridList &top = tblKUebers->top();
    if (row >= top.rowCount())
        return;
    auto &g = gv();
    if (!top.isExpanded(row)) {
        top.setText(row, 1, QStringLiteral("+"));
        g.blnAufgeklapptZuletzt = false;
        return;
    }
    top.setText(row, 1, QStringLiteral("-"));
    modKontakt::LadeKategoKontakte(row, top.value(row, 0));
    tblKUebers->switchToTop();
    g.blnAufgeklapptZuletzt = true;
}

void KontaktUebers::tblKUebers_DblClick(int row, int column)
{
    // Contacts stand in the nested lists; a category row opens nothing.
    if (row < 0 || column < 0 || &tblKUebers->current() == &tblKUebers->top())
        return;
    if (!ZugriffErlaubt())
        return;
    modGVar::SetzeEditModus(forms::form<Kontakt>(), row, [] { modKontakt::LeereKontaktFelder(); });
    modKontakt::loadKontakt(*tblKUebers, row, column);
    modGVar::SetzeSpeicherModus();
}

bool KontaktUebers::ZugriffErlaubt()
{
    return modStart::PruefeZugriff(modStart::Recht::Kontakt);
}

void KontaktUebers::Toolbar1_ButtonClick(const QString &key)
{
    const auto &erw = core::einstiege().kontaktwerkzeuge;
    if (key == QLatin1String("tbKontakt")) {
        // A new contact: the editor inserts, under the same right as opening one.
        modGVar::SetzeSpeicherModus();
        if (!ZugriffErlaubt())
            return;
        if (forms::isLoaded<Kontakt>())
            modKontakt::LeereKontaktFelder();
        forms::form<Kontakt>().Show(forms::vbModal);
    } else if (key == QLatin1String("tbKatego")) {
        zeigeImPane(QStringLiteral("Katego"));
    } else if (key == QLatin1String("tbSuch")) {
        if (erw.ZeigeSuchKont) {
            if (erw.LeereSuchKont)
                erw.LeereSuchKont();
            erw.ZeigeSuchKont();
        }
    } else if (key == QLatin1String("tbMitglList")) {
        zeigeImPane(QStringLiteral("MitglList"));
    } else if (key == QLatin1String("tbWord")) {
        if (erw.ErzeugeSeriDatei)
            SerienbriefDatei();
    }
    modGVar::VerlasseEditModus(*this);
}

void KontaktUebers::SerienbriefDatei()
{
    const int antwort = forms::MsgBox(
        QStringLiteral("Wollen Sie eine Serienbrief - Datei für Word mit der Bezeichnung - SERI.txt - erzeugen ?"),
        forms::vbYesNo, modRun::Titel);
    if (antwort != forms::vbYes) {
        forms::MsgBox(QStringLiteral("Vorgang von User abgebrochen !"), forms::vbOKOnly + forms::vbInformation,
                      modRun::Titel);
        return;
    }
    forms::GridList &top = tblKUebers->top();
    if (top.rowCount() < 1) {
        forms::MsgBox(QStringLiteral("Keine Daten zum erzeugen der Datei - SERI.txt - gefunden, der Vorgang wird "
                                     "abgebrochen !"),
                      forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        return;
    }
    int aufgeklappt = 0;
    for (int r = 0; r < top.rowCount(); ++r)
        if (top.isExpanded(r))
            ++aufgeklappt;
    if (aufgeklappt == 0) {
        forms::MsgBox(QStringLiteral("Um eine Serienbrief - Datei erzeugen zu können, müssen Sie die gewünschten "
                                     "Kategorien vorher aufklappen !"),
                      forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        return;
    }
    core::einstiege().kontaktwerkzeuge.ErzeugeSeriDatei();
}

namespace contacts {

void RegistriereKontakte()
{
    core::RegistriereFenster(
        navigation::Kontakte.key, [] { return &forms::form<KontaktUebers>(); },
        [] { return forms::loadedForm<KontaktUebers>(); });
    core::RegistriereFenster(
        QStringLiteral("Katego"), [] { return &forms::form<Katego>(); }, [] { return forms::loadedForm<Katego>(); });
    auto &e = core::einstiege();
    e.kategoListe = []() -> forms::ListGrid & { return *forms::form<Katego>().tblKatego; };
    e.kontaktwerkzeuge.LeereSuchKont = modKontakt::LeereSuchKont;
    e.kontaktwerkzeuge.ZeigeSuchKont = modKontakt::ZeigeSuchKont;
    e.kontaktwerkzeuge.EntladeSuchKont = modKontakt::EntladeSuchKont;
    e.kontaktwerkzeuge.ErzeugeSeriDatei = modKontakt::ErzeugeSeriDatei;
    e.ladeschritte.InitialisiereKontaktUebers = modKontakt::InitialisiereKontaktUebers;
    e.bereiche.SetzeKontaktToolbar = modKontakt::SetzeKontaktToolbar;
    e.bereiche.loadKontakt = [](forms::ListGrid &liste, int &zeile) { modKontakt::loadKontakt(liste, zeile); };
    e.bereiche.KontaktZugriff_Erlaubt = modKontakt::KontaktZugriff_Erlaubt;
    e.jahreswechsel.ReinitialisiereJB = modKontakt::ReinitialisiereJB;
}

} // namespace contacts
