#include "fishery/Fangbuch.h"
#include "fishery/modFAuswert.h"
#include "fishery/modFangbuch.h"
#include "ole/clock.h"

#include "core/System.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "dao/dao.h"
#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <iterator>

using namespace modFangbuch;

namespace {

// The current catch year as the settings grid holds it (row "akt. Fangjahr"); while that grid
// is not filled, the System record's FJahr, else today's year.
int aktuellesFangjahr()
{
    if (System *system = forms::loadedForm<System>()) {
        const forms::ListGrid &grid = *system->tblSystem;
        bool ok = false;
        const int jahr = grid.rowCount() > 1 && grid.columnCount() > 1 ? grid.text(1, 1).toInt(&ok) : 0;
        if (ok)
            return jahr;
    }
    int jahr = ole::Today().year();
    try {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT FJahr FROM System", dao::dbOpenDynaset);
        if (rs.RecordCount() >= 1 && rs(0).Value().toInt() > 0)
            jahr = rs(0).Value().toInt();
    } catch (const vb::Error &) {
        // Without the record the year of the calendar stands.
    }
    return jahr;
}

} // namespace

Fangbuch::Fangbuch()
{
    setObjectName(QStringLiteral("Fangbuch"));
    setWindowTitle(QStringLiteral("Fangbuch"));

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("FANGBUCH"), this);

    Toolbar1 =
        forms::toolbar(this,
                       {
                           {"tbSpeichern", QStringLiteral("&Speichern [ F3 ]"),
                            QStringLiteral("Speichern des Eintrages ins Fangbuch")},
                           {"tbLoeschen", QStringLiteral("&Löschen [ F8 ]"), QStringLiteral("Löschen des Eintrages")},
                           {"tbAnzLoeschen", QStringLiteral("&Anz. löschen [ F2 ]"), QStringLiteral("Anzeige löschen")},
                       },
                       [this](const QString &key) { Toolbar1_ButtonClick(key); });

    // Entry fields.
    fraNr2 = forms::frame(QStringLiteral("fraNr2"), QStringLiteral("Einträge..."), this);
    lblFNrBez = forms::label(QStringLiteral("lblFNrBez"), QStringLiteral("Fang - Nr:"), fraNr2);
    lblFNr = forms::label(QStringLiteral("lblFNr"), QString(), fraNr2);
    lblFJahrBez = forms::label(QStringLiteral("lblFJahrBez"), QStringLiteral("Fangjahr:"), fraNr2);
    cboFJahr = forms::comboBox(QStringLiteral("cboFJahr"), fraNr2);
    lblFMonat = forms::label(QStringLiteral("lblFMonat"), QStringLiteral("Fangmonat:"), fraNr2);
    txtMonNr = forms::textBox(QStringLiteral("txtMonNr"), fraNr2);
    txtFangMonat = forms::textBox(QStringLiteral("txtFangMonat"), fraNr2);
    txtFangMonat->setReadOnly(true);
    txtFangMonat->setFocusPolicy(Qt::NoFocus);
    lblFArt = forms::label(QStringLiteral("lblFArt"), QStringLiteral("Fischart:"), fraNr2);
    cboFArt = forms::comboBox(QStringLiteral("cboFArt"), fraNr2, forms::Editable);
    lblGewaesser = forms::label(QStringLiteral("lblGewaesser"), QStringLiteral("Gewässer:"), fraNr2);
    cboGName = forms::comboBox(QStringLiteral("cboGName"), fraNr2, forms::Editable);
    lblAnzGew = forms::label(QStringLiteral("lblAnzGew"), QStringLiteral("Anzahl | Gewicht:"), fraNr2);
    txtAnzahl = forms::textBox(QStringLiteral("txtAnzahl"), fraNr2);
    txtGewicht = forms::textBox(QStringLiteral("txtGewicht"), fraNr2);
    lblEinheit = forms::label(QStringLiteral("lblEinheit"), QStringLiteral("i. Gramm"), fraNr2);
    lblNotiz = forms::label(QStringLiteral("lblNotiz"), QStringLiteral("Notizen..."), fraNr2);
    txtNotiz = forms::textBox(QStringLiteral("txtNotiz"), fraNr2);

    // Each label stands at the right of its cell, beside the field it names, however wide the
    // columns grow.
    auto *felder = new QGridLayout(fraNr2);
    const Qt::Alignment beiFeld = Qt::AlignRight | Qt::AlignVCenter;
    felder->addWidget(lblFNrBez, 0, 0, beiFeld);
    felder->addWidget(lblFNr, 0, 1);
    felder->addWidget(lblFJahrBez, 0, 2, beiFeld);
    felder->addWidget(cboFJahr, 0, 3, Qt::AlignLeft);
    felder->addWidget(lblFArt, 1, 0, beiFeld);
    felder->addWidget(cboFArt, 1, 1);
    felder->addWidget(lblGewaesser, 1, 2, beiFeld);
    felder->addWidget(cboGName, 1, 3);
    felder->addWidget(lblFMonat, 2, 0, beiFeld);
    felder->addWidget(txtMonNr, 2, 1);
    felder->addWidget(txtFangMonat, 2, 2);
    felder->addWidget(lblAnzGew, 3, 0, beiFeld);
    felder->addWidget(txtAnzahl, 3, 1);
    felder->addWidget(txtGewicht, 3, 2);
    felder->addWidget(lblEinheit, 3, 3);
    felder->addWidget(lblNotiz, 4, 0, beiFeld);
    felder->addWidget(txtNotiz, 4, 1, 1, 3);
    // The columns of the fields share the width alike: the two lists (species and waters) and the
    // text boxes of one kind get the same room.
    for (int spalte : {1, 2, 3})
        felder->setColumnStretch(spalte, 1);

    // The grid of one month.
    Frame1 = forms::frame(QStringLiteral("Frame1"), QStringLiteral("Fangbuchtabelle..."), this);
    cboSelMonat = forms::comboBox(QStringLiteral("cboSelMonat"), Frame1);
    for (int m = 1; m <= 12; ++m)
        cboSelMonat->addItem(modRun::ErmittleMonatsname(m));
    cboSelMonat->setCurrentIndex(-1);
    tblFList = forms::grid(QStringLiteral("tblFList"), Frame1,
                           {QStringLiteral("FangNr"), QStringLiteral("Fischart"), QStringLiteral("Gewässer"),
                            QStringLiteral("Monat"), QStringLiteral("Anzahl"), QStringLiteral("Gew. i. Gramm")});
    Label1 = forms::label(QStringLiteral("Label1"), QStringLiteral("Anzahl [gesamt]:"), Frame1);
    Label2 = forms::label(QStringLiteral("Label2"), QStringLiteral("Fangbucheintr. f. Monat:"), Frame1);
    Label3 = forms::label(QStringLiteral("Label3"), QStringLiteral("Einträge i. Tabelle:"), Frame1);
    lblAnzahl = forms::label(QStringLiteral("lblAnzahl"), QString(), Frame1);
    forms::followRowCount(lblAnzahl, tblFList->top());
    lblGesAnz = forms::label(QStringLiteral("lblGesAnz"), QString(), Frame1);
    pb = new QProgressBar(Frame1);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setVisible(false);

    auto *kopf = new QHBoxLayout;
    kopf->addWidget(Label2);
    kopf->addWidget(cboSelMonat);
    kopf->addStretch(1);
    kopf->addWidget(Label1);
    kopf->addWidget(lblGesAnz);
    kopf->addWidget(Label3);
    kopf->addWidget(lblAnzahl);
    auto *tabelle = new QVBoxLayout(Frame1);
    tabelle->addLayout(kopf);
    tabelle->addWidget(tblFList, 1);
    tabelle->addWidget(pb);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ueberschrift);
    layout->addWidget(Toolbar1);
    layout->addWidget(fraNr2);
    layout->addWidget(Frame1, 1);

    // Events.
    connect(cboFJahr, &QComboBox::activated, this, [this] { cboFJahr_Click(); });
    connect(cboSelMonat, &QComboBox::activated, this, [this] { cboSelMonat_Click(); });
    connect(tblFList, &forms::ListGrid::doubleClicked, this, [this](int row, int) { tblFList_DblClick(row); });
    connect(tblFList, &forms::ListGrid::lookRequested, this, [this] {
        tblFList->rowRange(0, tblFList->rowCount(), false);
        modRun::SetzeTblFarben(tblFList->appearance());
    });
    connect(tblFList, &forms::ListGrid::refreshRequested, this,
            [this] { tblFList->rowRange(0, tblFList->rowCount(), false); });
    // The row the user goes to is the one highlighted: a catch marked by its save stands out no
    // longer.
    modFangbuch::LoeseMarkeBeiWahl(*tblFList);
    forms::installKeyPress(txtAnzahl, [](int &k) { k = modRun::PruefeTasteZahl(k); });
    forms::installKeyPress(txtGewicht, [](int &k) { k = modRun::PruefeTasteZahl(k); });
    forms::installKeyPress(txtMonNr, [this](int &k) { txtMonNr_KeyPress(k); });
    for (QWidget *w : {static_cast<QWidget *>(txtAnzahl), static_cast<QWidget *>(txtGewicht),
                       static_cast<QWidget *>(txtMonNr), static_cast<QWidget *>(txtNotiz)})
        w->installEventFilter(this);

    // Tab runs in the order of entry: species, water, month, number, weight, note (Tab from the
    // note hands the focus back to the species).
    QWidget *reihe[] = {cboFArt, cboGName, txtMonNr, txtAnzahl, txtGewicht, txtNotiz};
    for (std::size_t i = 1; i < std::size(reihe); ++i)
        QWidget::setTabOrder(reihe[i - 1], reihe[i]);
}

void Fangbuch::Form_Load()
{
    SetzeSpeicherModus();
    modStart::loadcboFArt(*cboFArt);
    modStart::loadcboGName(*cboGName);
    modFAuswert::loadcboFJahr(*cboFJahr);
    cboFJahr->setCurrentText(QString::number(gv().intJahr));
    cboSelMonat->setCurrentText(gv().strMonat);
    lblAnzahl->setText(QString::number(tblFList->rowCount()));
    lblGesAnz->setText(Ermittle_DSAnzahl());
}

void Fangbuch::Form_Activate()
{
    if (aendertFang())
        return; // the loaded catch stays as it is
    lblAnzahl->setText(QString::number(tblFList->rowCount()));
    lblGesAnz->setText(Ermittle_DSAnzahl());
    modStart::loadcboFArt(*cboFArt);
    modStart::loadcboGName(*cboGName);
    cboFArt->setFocus();
}

void Fangbuch::Form_Deactivate()
{
    // This window's own fields: while it unloads it is no longer the registered instance.
    LeereFangFelder();
}

void Fangbuch::LeereFangFelder()
{
    lblFNr->clear();
    txtFangMonat->clear();
    txtMonNr->clear();
    cboFArt->setCurrentIndex(-1);
    cboFArt->clearEditText();
    cboGName->setCurrentIndex(-1);
    cboGName->clearEditText();
    txtAnzahl->clear();
    txtGewicht->clear();
    txtNotiz->clear();
    modGVar::VerlasseEditModus(*this);
}

bool Fangbuch::aendertFang() const
{
    return modGVar::ImEditModus(*this) && !lblFNr->text().isEmpty();
}

void Fangbuch::Speichern()
{
    if (aendertFang()) {
        // A refused input or a failed write keeps the catch loaded, so that the next save
        // changes it instead of inserting it a second time.
        const bool erledigt = PruefeFangEingabe() && UpdateFang(gv().lngDSNr);
        if (erledigt || lblFNr->text().isEmpty())
            modGVar::VerlasseEditModus(*this);
        return;
    }
    if (PruefeFangEingabe())
        SpeicherFang();
    modGVar::VerlasseEditModus(*this);
}

void Fangbuch::Loeschen()
{
    if (!aendertFang()) {
        modGVar::VerlasseEditModus(*this);
        return;
    }
    const int antwort = forms::MsgBox(QStringLiteral("ACHTUNG: Fangeintrag wirklich löschen ?"),
                                      forms::vbYesNo + forms::vbQuestion, modRun::Titel);
    bool erledigt = true;
    if (antwort == forms::vbYes)
        erledigt = LoescheFang(gv().lngDSNr);
    else
        LeereFangFelder();
    if (erledigt)
        modGVar::VerlasseEditModus(*this);
}

void Fangbuch::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("tbSpeichern")) {
        Speichern();
    } else if (key == QLatin1String("tbLoeschen")) {
        Loeschen();
    } else {
        if (key == QLatin1String("tbAnzLoeschen"))
            LeereFangFelder();
        modGVar::VerlasseEditModus(*this);
    }
}

void Fangbuch::Form_KeyDown(int KeyCode, int Shift)
{
    (void)Shift;
    switch (KeyCode) {
    case forms::vbKeyF1 + 1: // F2
        LeereFangFelder();
        break;
    case forms::vbKeyF1 + 2: // F3
        Speichern();
        break;
    case forms::vbKeyF1 + 7: // F8
        Loeschen();
        break;
    default: break;
    }
}

void Fangbuch::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        Form_KeyDown(forms::vbKeyF1 + (key - Qt::Key_F1), 0);
        event->accept();
        return;
    }
    forms::Form::keyPressEvent(event);
}

bool Fangbuch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched); edit && edit != txtNotiz)
            QTimer::singleShot(0, edit, [edit] { edit->setSelection(0, static_cast<int>(edit->text().size())); });
    } else if (event->type() == QEvent::FocusOut) {
        // Switching to another program or opening a popup is no leaving of the field.
        const Qt::FocusReason grund = static_cast<QFocusEvent *>(event)->reason();
        if (grund == Qt::ActiveWindowFocusReason || grund == Qt::PopupFocusReason)
            return forms::Form::eventFilter(watched, event);
        if (watched == txtMonNr)
            txtMonNr_LostFocus();
        else if (watched == txtNotiz && grund == Qt::TabFocusReason)
            txtNotiz_LostFocus(); // a click goes where it points
    }
    return forms::Form::eventFilter(watched, event);
}

void Fangbuch::cboFJahr_Click()
{
    WechsleAnzeige(true);
}

void Fangbuch::cboSelMonat_Click()
{
    WechsleAnzeige(false);
}

void Fangbuch::WechsleAnzeige(bool jahrGewechselt)
{
    if (gv().blnStartLaden)
        return;
    gv().intMonat = modRun::ErmittleMonatsNr(cboSelMonat->currentText());
    gv().intJahr = cboFJahr->currentText().toInt();
    modStart::loadTblFList(*tblFList, pb);
    // The choice stays with this window: the others go on with today's month and the
    // system's catch year.
    gv().intMonat = ole::Today().month();
    gv().intJahr = aktuellesFangjahr();
    if (jahrGewechselt)
        lblGesAnz->setText(Ermittle_DSAnzahl());
}

void Fangbuch::ZeigeMonat(int jahr, int monat)
{
    if (monat < 1 || monat > 12)
        return;
    const QString jahrText = QString::number(jahr);
    const QString monatText = modRun::ErmittleMonatsname(monat);
    const bool jahrGewechselt = cboFJahr->currentText() != jahrText;
    if (!jahrGewechselt && cboSelMonat->currentText() == monatText)
        return;
    // A year stored after the list was filled is offered from now on.
    if (cboFJahr->findText(jahrText, Qt::MatchExactly) < 0)
        cboFJahr->addItem(jahrText);
    cboFJahr->setCurrentText(jahrText);
    cboSelMonat->setCurrentText(monatText);
    WechsleAnzeige(jahrGewechselt);
}

void Fangbuch::tblFList_DblClick(int row)
{
    if (row < 0)
        return;
    LeereFangFelder();
    loadFang(*tblFList, row);
    modGVar::SetzeEditModus(*this, row, [this] { LeereFangFelder(); });
}

void Fangbuch::txtMonNr_KeyPress(int &KeyAscii)
{
    KeyAscii = modRun::PruefeTasteZahl(KeyAscii);
    // Only a typed digit counts: Backspace, Enter and refused keys correct or leave the entry and
    // move nothing on. After the second digit the number of fish is next, the field that follows
    // in the order of entry. The focus moves once the digit has reached the field.
    if (KeyAscii < '0' || KeyAscii > '9')
        return;
    if (++intTastenZaehler == 2)
        QTimer::singleShot(0, txtAnzahl, [this] { txtAnzahl->setFocus(Qt::TabFocusReason); });
}

void Fangbuch::txtMonNr_LostFocus()
{
    const QString t = txtMonNr->text();
    static const QRegularExpression ziffern(QStringLiteral("^[0-9]{1,2}$"));
    if (!t.isEmpty()) {
        const int wert = ziffern.match(t).hasMatch() ? t.toInt() : 0;
        if (t.size() == 1 && wert >= 1 && wert <= 9) {
            txtMonNr->setText(QStringLiteral("0") + t);
            txtFangMonat->setText(modRun::ErmittleMonatsname(wert));
        } else if (wert < 1 || wert > 12) {
            // Also a pasted text that is no month number of one or two digits.
            forms::MsgBox(QStringLiteral("ACHTUNG: Unzulässige Monatsangabe, die Eingabe wird gelöscht !"),
                          forms::vbOKOnly + forms::vbInformation, modRun::Titel);
            txtMonNr->clear();
        } else {
            txtFangMonat->setText(modRun::ErmittleMonatsname(wert));
        }
    }
    intTastenZaehler = 0;
}

void Fangbuch::txtNotiz_LostFocus()
{
    cboFArt->setFocus();
}

namespace fishery {

forms::Form &FangbuchFenster()
{
    return forms::form<Fangbuch>();
}

void RegistriereFangbuch()
{
    auto &e = core::einstiege();
    e.fangListe = []() -> forms::ListGrid & { return *forms::form<Fangbuch>().tblFList; };
    core::RegistriereFenster(
        navigation::Fangbuch.key, [] { return &FangbuchFenster(); }, [] { return forms::loadedForm<Fangbuch>(); });
    auto &b = e.bereiche;
    b.LeereFangFelder = modFangbuch::LeereFangFelder;
    b.loadFang = [](forms::ListGrid &grid, int &zeile) { modFangbuch::loadFang(grid, zeile); };
    b.FangbuchZugriff_Erlaubt = modFangbuch::FangbuchZugriff_Erlaubt;
}

} // namespace fishery
