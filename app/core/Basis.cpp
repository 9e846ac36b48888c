#include "core/Basis.h"
#include "core/modBasis.h"
#include "core/modGVar.h"
#include "core/modRun.h"

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
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// One tab: the grid with its count on the left, the input fields on the right.
QWidget *seite(QWidget *parent, forms::ListGrid *&grid, const QString &gridName, const QString &nrSpalte,
               const QString &nameSpalte, QLabel *&nr, const QString &nrName, const QString &nrText, QLineEdit *&name,
               const QString &nameName, const QString &nameText, QLineEdit *&notiz, const QString &notizName,
               QLabel *&anzahl, const QString &anzahlName)
{
    auto *tab = new QWidget(parent);
    auto *layout = new QHBoxLayout(tab);

    auto *links = new QVBoxLayout;
    grid = forms::grid(gridName, tab, {nrSpalte, {nameSpalte, 2400}});
    links->addWidget(grid, 1);
    QLabel *anzahlText = forms::label(QString(), QStringLiteral("Anzahl:"), tab);
    anzahl = forms::label(anzahlName, QString(), tab);
    links->addLayout(forms::countRow(anzahlText, anzahl));
    forms::followRowCount(anzahl, grid->top());
    layout->addLayout(links, 1);

    QGroupBox *rahmen = forms::frame(QString(), QStringLiteral("Hinzufügen oder editieren..."), tab);
    auto *felder = new QFormLayout(rahmen);
    nr = forms::label(nrName, QString(), rahmen);
    name = forms::textBox(nameName, rahmen);
    notiz = forms::textBox(notizName, rahmen);
    felder->addRow(nrText, nr);
    felder->addRow(nameText, name);
    felder->addRow(QStringLiteral("Notiz:"), notiz);
    layout->addWidget(rahmen, 1, Qt::AlignTop);
    return tab;
}

} // namespace

Basis::Basis()
{
    setObjectName(QStringLiteral("Basis"));
    setWindowTitle(QStringLiteral("Basisdaten"));
    auto *layout = new QVBoxLayout(this);

    layout->addWidget(forms::heading(QString(), QStringLiteral("BASISDATEN"), this));

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern"), &tbSpeichern},
            {"tbLoeschen", QStringLiteral("&Löschen"), QStringLiteral("Löschen"), &tbLoeschen},
            {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Anzeige löschen"), &tbAnzLoeschen},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });
    layout->addWidget(Toolbar1);

    TabBasis = new QTabWidget(this);
    TabBasis->setObjectName(QStringLiteral("TabBasis"));
    TabBasis->addTab(seite(TabBasis, tblFBasis, QStringLiteral("tblFBasis"), QStringLiteral("FNr"),
                           QStringLiteral("Fischart"), lblFNr, QStringLiteral("lblFNr"), QStringLiteral("Fisch-Nr:"),
                           txtFArt, QStringLiteral("txtFArt"), QStringLiteral("Fischart:"), txtFNotiz,
                           QStringLiteral("txtFNotiz"), lblFAnzahl, QStringLiteral("lblFAnzahl")),
                     QStringLiteral("Fischarten"));
    TabBasis->addTab(seite(TabBasis, tblGBasis, QStringLiteral("tblGBasis"), QStringLiteral("GNr"),
                           QStringLiteral("Gewässer"), lblGNr, QStringLiteral("lblGNr"), QStringLiteral("Gewässer-Nr:"),
                           txtGName, QStringLiteral("txtGName"), QStringLiteral("Gewässer:"), txtGNotiz,
                           QStringLiteral("txtGNotiz"), lblGAnzahl, QStringLiteral("lblGAnzahl")),
                     QStringLiteral("Gewässer"));
    layout->addWidget(TabBasis, 1);

    for (forms::ListGrid *grid : {tblFBasis, tblGBasis}) {
        connect(grid, &forms::ListGrid::lookRequested, this, [grid] { modRun::SetzeTblFarben(grid->appearance()); });
        connect(grid, &forms::ListGrid::refreshRequested, this, [grid] { grid->rowRange(0, grid->rowCount(), false); });
    }
    // Enter in a field saves as "Speichern" does.
    for (QLineEdit *feld : {txtFArt, txtFNotiz, txtGName, txtGNotiz})
        connect(feld, &QLineEdit::returnPressed, this, [this] { Toolbar1_ButtonClick(QStringLiteral("tbSpeichern")); });
    connect(tblFBasis, &forms::ListGrid::doubleClicked, this, &Basis::tblFBasis_DblClick);
    connect(tblGBasis, &forms::ListGrid::doubleClicked, this, &Basis::tblGBasis_DblClick);
}

void Basis::Form_Load()
{
    TabBasis->setCurrentIndex(0);
    modBasis::InitialisiereBasis();
}

void Basis::Form_Deactivate()
{
    modBasis::LeereAlleBasisFelder();
}

void Basis::paintEvent(QPaintEvent *event)
{
    // The counts follow the grids; set only when they changed, so that no repaint follows.
    const QString f = QString::number(tblFBasis->rowCount());
    const QString g = QString::number(tblGBasis->rowCount());
    if (lblFAnzahl->text() != f)
        lblFAnzahl->setText(f);
    if (lblGAnzahl->text() != g)
        lblGAnzahl->setText(g);
    forms::Form::paintEvent(event);
}

void Basis::tblFBasis_DblClick(int row, int col)
{
    if (row < 0)
        return;
    TabBasis->setCurrentIndex(0);
    modBasis::LeereBasisFelder();
    modBasis::loadFAuswahl(row, col);
    modGVar::SetzeEditModus(*this, row, [] { modBasis::LeereAlleBasisFelder(); });
}

void Basis::tblGBasis_DblClick(int row, int col)
{
    if (row < 0)
        return;
    TabBasis->setCurrentIndex(1);
    modBasis::LeereBasisFelder();
    modBasis::loadGAuswahl(row, col);
    modGVar::SetzeEditModus(*this, row, [] { modBasis::LeereAlleBasisFelder(); });
}

bool Basis::aendert(bool fisch) const
{
    return modGVar::ImEditModus(*this) && !(fisch ? lblFNr : lblGNr)->text().isEmpty();
}

void Basis::Speichern(bool fisch)
{
    if (aendert(fisch)) {
        // A refused input or a failed write keeps the record loaded, so that the next save
        // changes it instead of inserting it a second time.
        const bool pruefung = fisch ? modBasis::PruefeFischEingabe() : modBasis::PruefeGewaesserEingabe();
        const bool erledigt =
            pruefung && (fisch ? modBasis::UpdateFisch(gv().lngDSNr) : modBasis::UpdateGewaesser(gv().lngDSNr));
        if (erledigt)
            modGVar::VerlasseEditModus(*this);
        return;
    }
    if (fisch ? modBasis::PruefeFischEingabe() : modBasis::PruefeGewaesserEingabe()) {
        if (fisch)
            modBasis::SpeicherFisch();
        else
            modBasis::SpeicherGewaesser();
    }
    modGVar::VerlasseEditModus(*this);
}

void Basis::Loeschen(bool fisch)
{
    if (!aendert(fisch)) {
        modGVar::VerlasseEditModus(*this);
        return;
    }
    const QString warnung =
        fisch ? QStringLiteral("ACHTUNG: Fisch - Referenzen im Fangbuch werden ebenfalls gelöscht !")
              : QStringLiteral("ACHTUNG: Gewässer - Referenzen im Fangbuch werden ebenfalls gelöscht !");
    const int antwort =
        forms::MsgBox(warnung + QStringLiteral("\r\nTrotzdem löschen ?"), forms::vbYesNo, modRun::Titel);
    bool erledigt = true;
    if (antwort == forms::vbYes)
        erledigt = fisch ? modBasis::LoescheFisch(gv().lngDSNr) : modBasis::LoescheGewaesser(gv().lngDSNr);
    else
        modBasis::LeereBasisFelder();
    if (erledigt)
        modGVar::VerlasseEditModus(*this);
}

void Basis::Toolbar1_ButtonClick(const QString &key)
{
    const bool fisch = TabBasis->currentIndex() == 0;
    if (key == QLatin1String("tbSpeichern")) {
        Speichern(fisch);
    } else if (key == QLatin1String("tbLoeschen")) {
        Loeschen(fisch);
    } else {
        if (key == QLatin1String("tbAnzLoeschen"))
            modBasis::LeereBasisFelder();
        modGVar::VerlasseEditModus(*this);
    }
}
