#include "workhours/MitglList.h"
#include "workhours/modArbeit.h"
#include "workhours/modMitglList.h"
#include "workhours/modMitglListDruck.h"

#include "contacts/modKontakt.h"
#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "forms/fields.h"
#include "forms/keyfilter.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/toolbar.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <array>
#include <iterator>
#include <utility>

namespace {

const QStringList Operatoren = {QStringLiteral("="), QStringLiteral(">"),  QStringLiteral(">="),
                                QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("<>")};

QComboBox *operatorBox(const QString &name, QWidget *parent)
{
    forms::ComboBox *c = forms::comboBox(name, parent);
    c->addItems(Operatoren);
    c->setEnabled(false);
    forms::fitToEntries(c);
    return c;
}

QLineEdit *datumBox(const QString &name, QWidget *parent)
{
    QLineEdit *t = forms::textBox(name, parent, 10);
    t->setMaximumWidth(110);
    t->setEnabled(false);
    forms::installKeyPress(t, [](int &k) { k = modRun::PruefeTasteDatum(k); });
    return t;
}

// A pair of option buttons in a frame of its own, the first one set.
QGroupBox *paar(const QString &rahmen, QRadioButton *&erste, const QString &name1, const QString &text1,
                QRadioButton *&zweite, const QString &name2, const QString &text2, QWidget *parent)
{
    erste = forms::option(name1, text1, parent);
    zweite = forms::option(name2, text2, parent);
    QGroupBox *frame = forms::optionPair(rahmen, QString(), erste, zweite, parent);
    frame->layout()->setContentsMargins(4, 0, 4, 0);
    erste->setChecked(true);
    erste->setEnabled(false);
    zweite->setEnabled(false);
    return frame;
}

} // namespace

MitglList::MitglList()
{
    setObjectName(QStringLiteral("MitglList"));
    setWindowTitle(QStringLiteral("Mitglieder - Listen"));

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("MITGLIEDER-LISTE"), this,
                                  QStringLiteral("Comic Sans MS"));

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbSuch", QStringLiteral("&Suchen"), QStringLiteral("Tabelle durchsuchen...")},
            {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Anzeige löschen")},
            {"tbVorschau", QStringLiteral("&Vorschau"), QStringLiteral("Druckvorschau der Mitgliederliste")},
            {"tbDruck", QStringLiteral("Drucken"), QStringLiteral("Aktuelle Auswahl drucken...")},
            {"tbEsc", QStringLiteral("&Schließen"), QStringLiteral("Zurück zur Kontakt - Übersicht")},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });

    baueFilter();
    QHBoxLayout *fuss = baueFuss();
    baueListe();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Ueberschrift);
    layout->addWidget(Toolbar1);
    layout->addWidget(Frame6, 0, Qt::AlignLeft);
    layout->addLayout(fuss);
    layout->addWidget(tblMList, 1);

    verbinde();
}

// The filter frame: a check box per filter with its operators and dates or its pair of options,
// and the work-hours year.
void MitglList::baueFilter()
{
    Frame6 = forms::frame(QStringLiteral("Frame6"), QStringLiteral("Liste generieren..."), this);
    chkGebDat = forms::checkBox(QStringLiteral("chkGebDat"), QStringLiteral("Geburtsdatum:"), Frame6);
    cboOptGeb01 = operatorBox(QStringLiteral("cboOptGeb01"), Frame6);
    txtGeb01 = datumBox(QStringLiteral("txtGeb01"), Frame6);
    cboOptGeb02 = operatorBox(QStringLiteral("cboOptGeb02"), Frame6);
    txtGeb02 = datumBox(QStringLiteral("txtGeb02"), Frame6);
    chkEintritt = forms::checkBox(QStringLiteral("chkEintritt"), QStringLiteral("Eintrittsdatum:"), Frame6);
    cboOptTritt01 = operatorBox(QStringLiteral("cboOptTritt01"), Frame6);
    txtTritt01 = datumBox(QStringLiteral("txtTritt01"), Frame6);
    cboOptTritt02 = operatorBox(QStringLiteral("cboOptTritt02"), Frame6);
    txtTritt02 = datumBox(QStringLiteral("txtTritt02"), Frame6);

    chkGeschl = forms::checkBox(QStringLiteral("chkGeschl"), QStringLiteral("Geschlecht:"), Frame6);
    QGroupBox *fraGeschl = paar(QStringLiteral("fraGeschl"), optMann, QStringLiteral("optMann"), QStringLiteral("Mann"),
                                optFrau, QStringLiteral("optFrau"), QStringLiteral("Frau"), Frame6);
    chkJBeitrag = forms::checkBox(QStringLiteral("chkJBeitrag"), QStringLiteral("Jahresbeitrag:"), Frame6);
    QGroupBox *fraJBeitrag =
        paar(QStringLiteral("fraJBeitrag"), optBezahlt, QStringLiteral("optBezahlt"), QStringLiteral("bezahlt"),
             optNBezahlt, QStringLiteral("optNBezahlt"), QStringLiteral("n. bezahlt"), Frame6);
    chkStatus = forms::checkBox(QStringLiteral("chkStatus"), QStringLiteral("Status:"), Frame6);
    QGroupBox *fraStatus =
        paar(QStringLiteral("fraStatus"), optAktiv, QStringLiteral("optAktiv"), QStringLiteral("aktiv"), optPassiv,
             QStringLiteral("optPassiv"), QStringLiteral("passiv"), Frame6);
    chkBefreit = forms::checkBox(QStringLiteral("chkBefreit"), QStringLiteral("Befreit [Arb-Std.]:"), Frame6);
    QGroupBox *fraBefreit =
        paar(QStringLiteral("fraBefreit"), optBefrJa, QStringLiteral("optBefrJa"), QStringLiteral("ja"), optBefrNein,
             QStringLiteral("optBefrNein"), QStringLiteral("nein"), Frame6);
    chkAusgMitgl = forms::checkBox(QStringLiteral("chkAusgMitgl"), QStringLiteral("ausgetr. Mitgl.:"), Frame6);
    QGroupBox *fraAusg = paar(QStringLiteral("fraAusg"), optAusgJa, QStringLiteral("optAusgJa"), QStringLiteral("ja"),
                              optAusgNein, QStringLiteral("optAusgNein"), QStringLiteral("nein"), Frame6);
    chkJG = forms::checkBox(QStringLiteral("chkJG"), QStringLiteral("Jugendgruppe:"), Frame6);
    QGroupBox *fraJG = paar(QStringLiteral("fraJG"), optJGJa, QStringLiteral("optJGJa"), QStringLiteral("ja"),
                            optJGNein, QStringLiteral("optJGNein"), QStringLiteral("nein"), Frame6);
    chkArbStd = forms::checkBox(QStringLiteral("chkArbStd"), QStringLiteral("Arb.-Std geleistet:"), Frame6);
    QGroupBox *fraStd = paar(QStringLiteral("fraStd"), optStdJa, QStringLiteral("optStdJa"), QStringLiteral("ja"),
                             optStdNein, QStringLiteral("optStdNein"), QStringLiteral("nein"), Frame6);
    optStdNein->setChecked(true);

    chkArbAnz = forms::checkBox(QStringLiteral("chkArbAnz"),
                                QStringLiteral("Arb.-Std. - Liste generieren für Arb.- Jahr:"), Frame6);
    cboArbJahr = forms::comboBox(QStringLiteral("cboArbJahr"), Frame6, forms::Editable);
    cboArbJahr->setEnabled(false);

    auto *filterLayout = new QGridLayout(Frame6);
    // Each date filter in a row of its own: operator and date twice, side by side, whatever the
    // width of the columns below.
    const std::pair<QCheckBox *, std::array<QWidget *, 4>> datumsZeilen[] = {
        {chkGebDat, {cboOptGeb01, txtGeb01, cboOptGeb02, txtGeb02}},
        {chkEintritt, {cboOptTritt01, txtTritt01, cboOptTritt02, txtTritt02}},
    };
    for (int i = 0; i < int(std::size(datumsZeilen)); ++i) {
        filterLayout->addWidget(datumsZeilen[i].first, i, 0);
        auto *zeile = new QHBoxLayout;
        for (QWidget *w : datumsZeilen[i].second)
            zeile->addWidget(w);
        zeile->addStretch(1);
        filterLayout->addLayout(zeile, i, 1, 1, 5);
    }
    const std::pair<QCheckBox *, QGroupBox *> paare[] = {
        {chkGeschl, fraGeschl},   {chkJBeitrag, fraJBeitrag}, {chkStatus, fraStatus},
        {chkBefreit, fraBefreit}, {chkAusgMitgl, fraAusg},    {chkJG, fraJG},
        {chkArbStd, fraStd},
    };
    // Two pairs per row below the dates.
    for (int i = 0; i < int(std::size(paare)); ++i) {
        const int zeile = 2 + i / 2;
        const int spalte = (i % 2) * 3;
        filterLayout->addWidget(paare[i].first, zeile, spalte);
        filterLayout->addWidget(paare[i].second, zeile, spalte + 1, 1, 2);
    }
    filterLayout->addWidget(chkArbAnz, 6, 0, 1, 3);
    // Across the columns of the second operator and date, so that the year list does not widen
    // the operator's column.
    filterLayout->addWidget(cboArbJahr, 6, 3, 1, 2, Qt::AlignLeft);
    // The controls keep their size; the room left goes to the right.
    filterLayout->setColumnStretch(6, 1);
}

// The line between filters and list: the list's description, the progress bar and the count.
QHBoxLayout *MitglList::baueFuss()
{
    QLabel *lblInfo =
        forms::label(QStringLiteral("lblInfo"), QStringLiteral("Listenbeschreibung: [wird auf Liste gedruckt]"), this);
    txtInfo = forms::textBox(QStringLiteral("txtInfo"), this);
    lblAnzDS = forms::label(QStringLiteral("lblAnzDS"), QStringLiteral("Gefunden:"), this);
    lblGefDS = forms::label(QStringLiteral("lblGefDS"), QString(), this);
    pb = new QProgressBar(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setMaximumWidth(200);
    pb->setVisible(false);
    // Showing the bar while a list loads moves nothing else in the window.
    QSizePolicy platz = pb->sizePolicy();
    platz.setRetainSizeWhenHidden(true);
    pb->setSizePolicy(platz);

    auto *fuss = new QHBoxLayout;
    fuss->addWidget(lblInfo);
    fuss->addWidget(txtInfo, 1);
    fuss->addWidget(pb);
    fuss->addWidget(lblAnzDS);
    fuss->addWidget(lblGefDS);
    return fuss;
}

// The member list, its three work-hours columns hidden.
void MitglList::baueListe()
{
    tblMList = forms::grid(QStringLiteral("tblMList"), this,
                           {{QStringLiteral("Mitgl.-Nr"), 900},
                            {QStringLiteral("Nachname"), 1500},
                            {QStringLiteral("Vorname"), 1300},
                            {QStringLiteral("Straße"), 1800},
                            {QStringLiteral("PLZ"), 700},
                            {QStringLiteral("Ort"), 1300},
                            {QStringLiteral("Tel. [privat]"), 1300},
                            {QStringLiteral("Geb.-Datum"), 1100},
                            {QStringLiteral("Pfl.-Std."), 1500},
                            {QStringLiteral("Gel. Arb-Std."), 1700},
                            {QStringLiteral("Soll/Haben"), 1500}});
    forms::GridList &top = tblMList->top();
    for (int c : {8, 9, 10})
        top.setColumnHidden(c, true);
    forms::followRowCount(lblGefDS, tblMList->top());
}

// The filters' boxes and the list's events.
void MitglList::verbinde()
{
    filter_ = {
        {chkGebDat, {cboOptGeb01, txtGeb01, cboOptGeb02, txtGeb02}, 0},
        {chkEintritt, {cboOptTritt01, txtTritt01, cboOptTritt02, txtTritt02}, 1},
        {chkGeschl, {optMann, optFrau}, 2},
        {chkJBeitrag, {optBezahlt, optNBezahlt}, 3},
        {chkStatus, {optAktiv, optPassiv}, 4},
        {chkBefreit, {optBefrJa, optBefrNein}, 5},
        {chkAusgMitgl, {optAusgJa, optAusgNein}, 6},
        {chkJG, {optJGJa, optJGNein}, 7},
        {chkArbStd, {optStdJa, optStdNein}, 8},
    };
    // A box set from code runs the same handling as a click (the reset relies on it).
    for (const Filter &f : filter_)
        connect(f.box, &QCheckBox::toggled, this, [this, f] { chk_Click(f); });
    connect(chkArbAnz, &QCheckBox::toggled, this, [this] { chkArbAnz_Click(); });

    connect(tblMList, &forms::ListGrid::lookRequested, this, [this] {
        tblMList->rowRange(0, tblMList->rowCount(), false);
        modRun::SetzeTblFarben(tblMList->appearance());
    });
    connect(tblMList, &forms::ListGrid::refreshRequested, this,
            [this] { tblMList->rowRange(0, tblMList->rowCount(), false); });
    connect(tblMList, &forms::ListGrid::rowChosen, this, [this](int row) { tblMList_RowChosen(row); });
    connect(tblMList, &forms::ListGrid::doubleClicked, this,
            [this](int row, int column) { tblMList_DblClick(row, column); });
    connect(tblMList, &forms::ListGrid::contextRequested, this,
            [this](int row, int, const QPoint &) { tblMList_Context(row); });
}

void MitglList::Form_Load()
{
    modArbeit::loadcboArbJahre(*cboArbJahr);
    cboArbJahr->setCurrentText(QString::number(gv().intJahr));
    // As the window was when hiding all content windows loaded it and reset its choice.
    modMitglList::LeereMitglAuswahl();
}

void MitglList::chk_Click(const Filter &f)
{
    const bool an = f.box->isChecked();
    for (QWidget *w : f.controls)
        w->setEnabled(an);
    gv().blnMitglFilter[std::size_t(f.schalter)] = an;
    tblMList->top().clear();
}

void MitglList::chkArbAnz_Click()
{
    tblMList->top().clear();
    cboArbJahr->setEnabled(chkArbAnz->isChecked());
}

void MitglList::Suchen()
{
    auto &g = gv();
    // The year counts only when the hours are listed or filtered.
    const bool jahrNoetig = chkArbAnz->isChecked() || chkArbStd->isChecked();
    if (!modMitglList::PruefeMitglAuswahl() || (jahrNoetig && !modMitglList::ErmittleArbJahr())) {
        modRun::ZeigeEingabeFehler();
        return;
    }
    bool gefiltert = false;
    for (bool s : g.blnMitglFilter)
        gefiltert = gefiltert || s;
    if (!gefiltert) {
        const int antwort = forms::MsgBox(QStringLiteral("ACHTUNG: Wirklich alle Mitglieder aus der Datenbank laden ?"),
                                          forms::vbYesNo + forms::vbQuestion, modRun::Titel);
        if (antwort != forms::vbYes) {
            forms::MsgBox(QStringLiteral("Vorgang von User abgebrochen !"), forms::vbOKOnly + forms::vbInformation,
                          modRun::Titel);
            return;
        }
    }
    tblMList->top().clear();
    lblGefDS->clear();
    repaint();
    modMitglList::LadeAuswahl();
}

void MitglList::Toolbar1_ButtonClick(const QString &key)
{
    if (key == QLatin1String("tbSuch")) {
        Suchen();
    } else if (key == QLatin1String("tbAnzLoeschen")) {
        modMitglList::LeereMitglAuswahl();
    } else if (key == QLatin1String("tbDruck") || key == QLatin1String("tbVorschau")) {
        const QString modus = key == QLatin1String("tbDruck") ? QStringLiteral("drucken") : QStringLiteral("vorschau");
        if (chkArbAnz->isChecked())
            modMitglList::DruckeArbListe(modus, *tblMList, lblGefDS->text(), txtInfo->text());
        else
            modMitglList::DruckeMitglListe(modus, *tblMList, lblGefDS->text(), txtInfo->text());
    } else if (key == QLatin1String("tbEsc")) {
        modMitglList::LeereMitglAuswahl();
        Hide();
        gv().intSuchAufruf = 0;
        if (forms::Form *uebersicht = core::Fenster(navigation::Kontakte.key))
            modMain::ZeigeImAktItem(*uebersicht);
    }
}

void MitglList::tblMList_RowChosen(int row)
{
    auto &g = gv();
    if (row >= 0) {
        g.lngDSNr = row;
        g.blnDSGewaehlt = true;
    } else {
        g.blnDSGewaehlt = false;
    }
}

void MitglList::tblMList_DblClick(int row, int column)
{
    if (row < 0 || column < 0 || row >= tblMList->rowCount())
        return;
    if (!modKontakt::KontaktZugriff_Erlaubt()) {
        forms::MsgBox(QStringLiteral("Sie haben keinen Zugriff auf diese Funktion !"),
                      forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        return;
    }
    gv().lngDSNr = row;
    modKontakt::SetzeKontaktToolbar(0);
    modKontakt::loadKontakt(*tblMList, row, column);
    modKontakt::SetzeKontaktToolbar(1);
}

void MitglList::tblMList_Context(int row)
{
    auto &g = gv();
    // The menu acts on the row chosen in this grid; the right button over a row chooses it.
    if (row >= 0 && row < tblMList->rowCount()) {
        g.lngDSNr = row;
        g.blnDSGewaehlt = true;
    }
    if (g.lngDSNr < 0 || tblMList->rowCount() < 1 || !g.blnDSGewaehlt || g.lngDSNr >= tblMList->rowCount())
        return;
    if (Main *main = forms::loadedForm<Main>())
        main->loadKontMenu_Mitgl();
}

namespace workhours {

void RegistriereMitglList()
{
    core::RegistriereFenster(
        QStringLiteral("MitglList"), [] { return &forms::form<MitglList>(); },
        [] { return forms::loadedForm<MitglList>(); });
    auto &b = core::einstiege().bereiche;
    b.LeereMitglAuswahl = modMitglList::LeereMitglAuswahl;
    b.tblMList = []() -> forms::ListGrid * { return forms::form<MitglList>().tblMList; };
}

} // namespace workhours
