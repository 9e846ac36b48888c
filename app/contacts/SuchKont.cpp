#include "contacts/SuchKont.h"
#include "contacts/Kontakt.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Alle = QStringLiteral("Alle");
const QString Aktiv = QStringLiteral("Mitglieder (aktiv)");
const QString Passiv = QStringLiteral("Mitglieder (passiv)");

} // namespace

SuchKont::SuchKont()
{
    setObjectName(QStringLiteral("SuchKont"));
    setWindowTitle(QStringLiteral("Kontakt suchen"));
    auto *layout = new QVBoxLayout(this);

    Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Suchkriterien"), this);
    auto *felder = new QGridLayout(Frame1);
    Label1 =
        forms::label(QStringLiteral("Label1"), QStringLiteral("Vorname, Nachname oder Firma beginnt mit:"), Frame1);
    txtSuch = forms::textBox(QStringLiteral("txtSuch"), Frame1, 50);
    Label2 = forms::label(QStringLiteral("Label2"), QStringLiteral("Kategorie:"), Frame1);
    cboKatego = forms::comboBox(QStringLiteral("cboKatego"), Frame1);
    cmdSuch = forms::button(QStringLiteral("cmdSuch"), QStringLiteral("&Suchen"), Frame1);
    felder->addWidget(Label1, 0, 0);
    felder->addWidget(txtSuch, 0, 1);
    felder->addWidget(Label2, 1, 0);
    felder->addWidget(cboKatego, 1, 1);
    felder->addWidget(cmdSuch, 1, 2);
    layout->addWidget(Frame1);

    tblSuch = forms::grid(QStringLiteral("tblSuch"), this,
                          {{QStringLiteral("Kontakt-Nr"), 1100},
                           {QStringLiteral("Kategorie"), 2000},
                           {QStringLiteral("Firma"), 2300},
                           {QStringLiteral("Nachname"), 1600},
                           {QStringLiteral("Vorname"), 1600}});
    layout->addWidget(tblSuch, 1);

    Label3 = forms::label(QStringLiteral("Label3"), QStringLiteral("Gefundene Datensätze:"), this);
    lblGefDS = forms::label(QStringLiteral("lblGefDS"), QString(), this);
    layout->addLayout(forms::countRow(Label3, lblGefDS));
    forms::followRowCount(lblGefDS, tblSuch->top(), forms::NoRows::Nothing);
    resize(700, 450);

    // Enter in the search text searches; Escape goes on to the window, which closes.
    forms::installKeyPress(txtSuch, [](int &k) {
        if (k != forms::vbKeyReturn && k != forms::vbKeyEscape)
            k = modRun::PruefeTasteSuch(k);
    });
    connect(txtSuch, &QLineEdit::returnPressed, this, [this] { cmdSuch_Click(); });
    connect(cmdSuch, &QPushButton::clicked, this, [this] { cmdSuch_Click(); });
    connect(tblSuch, &forms::ListGrid::lookRequested, this, [this] { modRun::SetzeTblFarben(tblSuch->appearance()); });
    connect(tblSuch, &forms::ListGrid::refreshRequested, this,
            [this] { tblSuch->rowRange(0, tblSuch->rowCount(), false); });
    connect(tblSuch, &forms::ListGrid::doubleClicked, this, &SuchKont::tblSuch_DblClick);
}

void SuchKont::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the dialog as its close box does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    forms::Form::keyPressEvent(event);
}

void SuchKont::Form_Load()
{
    FuelleKategorien();
}

void SuchKont::Form_Activate()
{
    if (gv().strModus == QLatin1String("SAVE"))
        txtSuch->setFocus();
}

void SuchKont::FuelleKategorien()
{
    const int aufruf = gv().intSuchAufruf;
    const QString vorher =
        aufruf == gefuelltFuer_ && cboKatego->currentIndex() >= 0 ? cboKatego->currentText() : QString();
    QStringList namen;
    if (aufruf == 1) {
        namen = {Aktiv, Passiv};
    } else if (aufruf == 0) {
        forms::ComboBox alle;
        modStart::loadcboKatego(alle);
        for (int i = 0; i < alle.count(); ++i)
            namen << alle.itemText(i);
        namen.prepend(Alle);
    }
    bool gleich = namen.size() == cboKatego->count();
    for (int i = 0; gleich && i < namen.size(); ++i)
        gleich = cboKatego->itemText(i) == namen[i];
    if (!gleich) {
        cboKatego->clear();
        cboKatego->addItems(namen);
    }
    const QString wahl = !vorher.isEmpty() && namen.contains(vorher) ? vorher
                         : aufruf == 1                               ? Aktiv
                         : aufruf == 0                               ? Alle
                                                                     : QString();
    cboKatego->setCurrentIndex(wahl.isEmpty() ? -1 : int(namen.indexOf(wahl)));
    gefuelltFuer_ = aufruf;
}

void SuchKont::cmdSuch_Click()
{
    const QString text = txtSuch->text();
    if (text.trimmed().isEmpty() || cboKatego->currentIndex() < 0 || cboKatego->currentText().isEmpty()) {
        modRun::ZeigeEingabeFehler();
        return;
    }
    // "Alle" is the first entry of the contact side's list and stands for no category, also
    // when a category happens to bear that name.
    qint32 kategoNr = 0;
    if (!(gv().intSuchAufruf == 0 && cboKatego->currentIndex() == 0)) {
        bool fehler = false;
        kategoNr = modKontakt::ErmittleKategoNr(cboKatego->currentText(), &fehler);
        if (fehler)
            return; // the lookup's error box has told; the input is not to blame
        if (kategoNr == 0) {
            // The category is gone (or its name is not unique): no search across all instead.
            modRun::ZeigeEingabeFehler();
            return;
        }
    }
    QString suchtext = text;
    modKontakt::SucheKontakt(suchtext, kategoNr);
    const int n = tblSuch->top().rowCount();
    if (n != 0) {
        lblGefDS->setText(QString::number(n));
        tblSuch->setFocus();
    } else {
        lblGefDS->clear();
        txtSuch->setFocus();
    }
}

void SuchKont::tblSuch_DblClick(int row, int col)
{
    if (row < 0 || row >= tblSuch->top().rowCount())
        return;
    auto &g = gv();
    if (g.intSuchAufruf == 0) {
        if (!modStart::PruefeZugriff(modStart::Recht::Kontakt))
            return;
        modGVar::SetzeEditModus(forms::form<Kontakt>(), row, [] { modKontakt::LeereKontaktFelder(); });
        Hide();
        g.blnAusSuche = true;
        modKontakt::loadKontakt(*tblSuch, row, col);
        g.blnAusSuche = false;
        modGVar::SetzeSpeicherModus();
    } else if (g.intSuchAufruf == 1) {
        Hide();
        if (const auto &uebernehme = core::einstiege().bereiche.UebernehmeKontakt) {
            int zeile = row;
            uebernehme(*tblSuch, zeile);
        }
    }
}
