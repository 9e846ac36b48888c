#include "contacts/Katego.h"
#include "contacts/modKatego.h"

#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QFont>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString SAVE = QStringLiteral("SAVE");
const QString EDIT = QStringLiteral("EDIT");

QLabel *label(QWidget *parent, const QString &name, const QString &text = QString())
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

Katego::Katego()
{
    setObjectName(QStringLiteral("Katego"));
    setWindowTitle(QStringLiteral("Kategorien"));
    auto *layout = new QVBoxLayout(this);

    Toolbar1 = forms::toolbar(this, {
        {"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern")},
        {"tbLoeschen", QStringLiteral("&Löschen"), QStringLiteral("Löschen")},
        {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Neue Kategorie")},
        {"tbEsc", QStringLiteral("&Zurück"), QStringLiteral("Zurück zur Kontaktübersicht")},
    }, [this](const QString &key) { Toolbar1_ButtonClick(key); });
    layout->addWidget(Toolbar1);

    Ueberschrift = label(this, QStringLiteral("Ueberschrift"), QStringLiteral("KATEGORIEN"));
    QFont gross = Ueberschrift->font();
    gross.setBold(true);
    gross.setPointSize(gross.pointSize() + 6);
    Ueberschrift->setFont(gross);
    layout->addWidget(Ueberschrift);

    auto *mitte = new QHBoxLayout;
    Frame1 = new QGroupBox(QStringLiteral("Kategorien"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *links = new QVBoxLayout(Frame1);
    tblKatego = new forms::ListGrid(Frame1);
    tblKatego->setObjectName(QStringLiteral("tblKatego"));
    tblKatego->top().setColumnCount(2);
    tblKatego->top().setColumnCaption(0, QStringLiteral("Nr."));
    tblKatego->top().setColumnCaption(1, QStringLiteral("Kategorie"));
    tblKatego->top().setColumnWidth(1, 4000);
    links->addWidget(tblKatego, 1);
    auto *zaehler = new QHBoxLayout;
    Label1 = label(Frame1, QStringLiteral("Label1"), QStringLiteral("Anzahl:"));
    lblAnzahl = label(Frame1, QStringLiteral("lblAnzahl"));
    zaehler->addWidget(Label1);
    zaehler->addWidget(lblAnzahl);
    zaehler->addStretch(1);
    links->addLayout(zaehler);
    mitte->addWidget(Frame1, 1);

    Frame2 = new QGroupBox(QStringLiteral("Hinzufügen oder editieren..."), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *felder = new QFormLayout(Frame2);
    Label2 = label(Frame2, QStringLiteral("Label2"), QStringLiteral("Kategorie-Nr:"));
    lblKategoNr = label(Frame2, QStringLiteral("lblKategoNr"));
    lblKatN = label(Frame2, QStringLiteral("lblKatN"), QStringLiteral("Kategorie:"));
    txtKatego = new QLineEdit(Frame2);
    txtKatego->setObjectName(QStringLiteral("txtKatego"));
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
    gv().strModus = EDIT;
    modKatego::loadKatego(row, col);
    gv().lngDSNr = row;
}

bool Katego::aendert() const
{
    return gv().strModus == EDIT && !lblKategoNr->text().isEmpty();
}

void Katego::Toolbar1_ButtonClick(const QString &key)
{
    auto &g = gv();
    if (key == QLatin1String("tbSpeichern")) {
        if (aendert()) {
            // A refused input or a failed write keeps the category loaded, so that the next save
            // renames it instead of adding it a second time.
            const bool erledigt = modKatego::PruefeKategoEingabe() && modKatego::UpdateKatego(g.lngDSNr);
            g.strModus = erledigt ? SAVE : EDIT;
            return;
        }
        if (modKatego::PruefeKategoEingabe())
            modKatego::SpeicherKatego();
    } else if (key == QLatin1String("tbLoeschen")) {
        if (aendert()) {
            g.intAntwort = forms::MsgBox(
                QStringLiteral("ACHTUNG: Kontakt - Referenzen in Kontaktliste werden ebenfalls gelöscht !\r\n"
                               "Trotzdem löschen ?"),
                forms::vbYesNo, modRun::Titel);
            if (g.intAntwort == forms::vbYes) {
                if (!modKatego::LoescheKatego(g.lngDSNr)) {
                    g.strModus = EDIT; // the write failed: the category stays loaded
                    return;
                }
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
    g.strModus = SAVE;
}
