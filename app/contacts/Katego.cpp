#include "contacts/Katego.h"
#include "contacts/modKatego.h"

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
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>

Katego::Katego()
{
    setObjectName(QStringLiteral("Katego"));
    setWindowTitle(QStringLiteral("Kategorien"));
    auto *layout = new QVBoxLayout(this);

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("KATEGORIEN"), this);
    layout->addWidget(Ueberschrift);

    Toolbar1 = forms::toolbar(this,
                              {
                                  {"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern")},
                                  {"tbLoeschen", QStringLiteral("&Löschen"), QStringLiteral("Löschen")},
                                  {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Neue Kategorie")},
                                  {"tbEsc", QStringLiteral("&Zurück"), QStringLiteral("Zurück zur Kontaktübersicht")},
                              },
                              [this](const QString &key) { Toolbar1_ButtonClick(key); });
    layout->addWidget(Toolbar1);

    auto *mitte = new QHBoxLayout;
    Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Kategorien"), this);
    auto *links = new QVBoxLayout(Frame1);
    tblKatego =
        forms::grid(QStringLiteral("tblKatego"), Frame1, {QStringLiteral("Nr."), {QStringLiteral("Kategorie"), 4000}});
    links->addWidget(tblKatego, 1);
    Label1 = forms::label(QStringLiteral("Label1"), QStringLiteral("Anzahl:"), Frame1);
    lblAnzahl = forms::label(QStringLiteral("lblAnzahl"), QString(), Frame1);
    links->addLayout(forms::countRow(Label1, lblAnzahl));
    forms::followRowCount(lblAnzahl, tblKatego->top());
    mitte->addWidget(Frame1, 1);

    Frame2 = forms::frame(QStringLiteral("Frame2"), QStringLiteral("Hinzufügen oder editieren..."), this);
    auto *felder = new QFormLayout(Frame2);
    Label2 = forms::label(QStringLiteral("Label2"), QStringLiteral("Kategorie-Nr:"), Frame2);
    lblKategoNr = forms::label(QStringLiteral("lblKategoNr"), QString(), Frame2);
    lblKatN = forms::label(QStringLiteral("lblKatN"), QStringLiteral("Kategorie:"), Frame2);
    txtKatego = forms::textBox(QStringLiteral("txtKatego"), Frame2);
    felder->addRow(Label2, lblKategoNr);
    felder->addRow(lblKatN, txtKatego);
    mitte->addWidget(Frame2, 1, Qt::AlignTop);
    layout->addLayout(mitte, 1);

    connect(tblKatego, &forms::ListGrid::lookRequested, this,
            [this] { modRun::SetzeTblFarben(tblKatego->appearance()); });
    connect(tblKatego, &forms::ListGrid::refreshRequested, this,
            [this] { tblKatego->rowRange(0, tblKatego->rowCount(), false); });
    connect(tblKatego, &forms::ListGrid::doubleClicked, this, &Katego::tblKatego_DblClick);
}

void Katego::Form_Load()
{
    modKatego::InitialisiereKatego();
}

void Katego::Form_Deactivate()
{
    tblKatego->rowRange(0, tblKatego->rowCount(), false);
    lblKategoNr->clear();
    txtKatego->clear();
}

void Katego::paintEvent(QPaintEvent *event)
{
    // The count follows the grid; set only when it changed, so that no repaint follows.
    const QString n = QString::number(tblKatego->rowCount());
    if (lblAnzahl->text() != n)
        lblAnzahl->setText(n);
    forms::Form::paintEvent(event);
}

void Katego::tblKatego_DblClick(int row, int col)
{
    if (row < 0)
        return;
    modKatego::LeereKategoFelder();
    modGVar::SetzeEditModus(*this, row, [] { modKatego::LeereKategoFelder(); });
    modKatego::loadKatego(row, col);
}

bool Katego::aendert() const
{
    return modGVar::ImEditModus(*this) && !lblKategoNr->text().isEmpty();
}

void Katego::Toolbar1_ButtonClick(const QString &key)
{
    auto &g = gv();
    // A user without the contact right is refused before any check or question; the fields stay.
    const bool schreibt = key == QLatin1String("tbSpeichern") || (key == QLatin1String("tbLoeschen") && aendert());
    if (schreibt && !modStart::PruefeZugriff(modStart::Recht::Kontakt))
        return;
    if (key == QLatin1String("tbSpeichern")) {
        if (aendert()) {
            // A refused input or a failed write keeps the category loaded, so that the next save
            // renames it instead of adding it a second time.
            const bool erledigt = modKatego::PruefeKategoEingabe() && modKatego::UpdateKatego(g.lngDSNr);
            if (erledigt)
                modGVar::VerlasseEditModus(*this);
            return;
        }
        if (modKatego::PruefeKategoEingabe())
            modKatego::SpeicherKatego();
    } else if (key == QLatin1String("tbLoeschen")) {
        if (aendert()) {
            const int antwort = forms::MsgBox(
                QStringLiteral("ACHTUNG: Kontakt - Referenzen in Kontaktliste werden ebenfalls gelöscht !\r\n"
                               "Trotzdem löschen ?"),
                forms::vbYesNo, modRun::Titel);
            if (antwort == forms::vbYes) {
                if (!modKatego::LoescheKatego(g.lngDSNr))
                    return; // the write failed: the category stays loaded
            } else {
                modKatego::LeereKategoFelder();
            }
        }
    } else if (key == QLatin1String("tbAnzLoeschen")) {
        modKatego::LeereKategoFelder();
    } else if (key == QLatin1String("tbEsc")) {
        modKatego::LeereKategoFelder();
        Hide();
        if (forms::Form *uebersicht = core::Fenster(navigation::Kontakte.key))
            modMain::ZeigeImAktItem(*uebersicht);
    }
    modGVar::VerlasseEditModus(*this);
}
