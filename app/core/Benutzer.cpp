#include "core/Benutzer.h"
#include "core/modBenutzer.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"

#include "forms/fields.h"
#include "forms/listgrid.h"
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
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// A grid in its frame with the count below it.
QGroupBox *uebersicht(QWidget *parent, const QString &titel, forms::ListGrid *g, QLabel *&anzahl,
                      const QString &anzahlName)
{
    QGroupBox *rahmen = forms::frame(QString(), titel, parent);
    auto *layout = new QVBoxLayout(rahmen);
    g->setParent(rahmen);
    layout->addWidget(g, 1);
    QLabel *anzahlText = forms::label(QString(), QStringLiteral("Anzahl:"), rahmen);
    anzahl = forms::label(anzahlName, QString(), rahmen);
    layout->addLayout(forms::countRow(anzahlText, anzahl));
    forms::followRowCount(anzahl, g->top());
    return rahmen;
}

} // namespace

Benutzer::Benutzer()
{
    setObjectName(QStringLiteral("Benutzer"));
    setWindowTitle(QStringLiteral("Benutzerverwaltung"));
    auto *layout = new QVBoxLayout(this);

    Ueberschrift = forms::heading(QStringLiteral("Ueberschrift"), QStringLiteral("BENUTZERVERWALTUNG"), this,
                                  QStringLiteral("Comic Sans MS"));
    layout->addWidget(Ueberschrift);

    Toolbar1 = forms::toolbar(
        this,
        {
            {"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern"), &tbSpeichern},
            {"tbLoeschen", QStringLiteral("&Löschen"), QStringLiteral("Löschen"), &tbLoeschen},
            {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Anzeige löschen"), &tbAnzLoeschen},
        },
        [this](const QString &key) { Toolbar1_ButtonClick(key); });
    layout->addWidget(Toolbar1);

    tabBV = new QTabWidget(this);
    tabBV->setObjectName(QStringLiteral("tabBV"));
    layout->addWidget(tabBV, 1);

    // Tab 0: users.
    auto *tab0 = new QWidget(tabBV);
    auto *layout0 = new QHBoxLayout(tab0);
    tblBenutzer = forms::grid(QStringLiteral("tblBenutzer"), tab0,
                              {QStringLiteral("Benutzer-Nr."), QStringLiteral("Benutzername"),
                               QStringLiteral("Passwort"), QStringLiteral("Ben.-Gruppe")});
    layout0->addWidget(
        uebersicht(tab0, QStringLiteral("Benutzerübersicht..."), tblBenutzer, lblBAnzahl, QStringLiteral("lblBAnzahl")),
        2);
    QGroupBox *eingabe0 = forms::frame(QString(), QStringLiteral("Benutzer hinzuf. oder editieren..."), tab0);
    auto *felder0 = new QFormLayout(eingabe0);
    lblBNr = forms::label(QStringLiteral("lblBNr"), QString(), eingabe0);
    txtBenutzer = forms::textBox(QStringLiteral("txtBenutzer"), eingabe0, 50);
    txtPassw = forms::textBox(QStringLiteral("txtPassw"), eingabe0, 50, QLineEdit::Password);
    txtPasswBest = forms::textBox(QStringLiteral("txtPasswBest"), eingabe0, 50, QLineEdit::Password);
    cboBG = forms::comboBox(QStringLiteral("cboBG"), eingabe0, forms::Editable);
    cboBG->lineEdit()->setMaxLength(50);
    felder0->addRow(QStringLiteral("Benutzer-Nr:"), lblBNr);
    felder0->addRow(QStringLiteral("Benutzername:"), txtBenutzer);
    felder0->addRow(QStringLiteral("Passwort:"), txtPassw);
    felder0->addRow(QStringLiteral("...bestätigen:"), txtPasswBest);
    felder0->addRow(QStringLiteral("Benutzergruppe:"), cboBG);
    // The users' list takes two thirds: its four columns show whole at the start size.
    layout0->addWidget(eingabe0, 1, Qt::AlignTop);
    tabBV->addTab(tab0, QStringLiteral("Benutzer hinzuf. oder edit."));

    // Tab 1: groups and their rights.
    auto *tab1 = new QWidget(tabBV);
    auto *layout1 = new QVBoxLayout(tab1);
    QList<forms::Spalte> spalten = {QStringLiteral("Gruppen-Nr."), QStringLiteral("Gruppe \\ Forms")};
    const struct
    {
        QCheckBox **box;
        const char *name;
        const char *caption;
        const char *spalte;
    } rechte[] = {
        {&chkFBuch, "chkFBuch", "Fangbuch", "Fangbuch"},
        {&chkFAusw, "chkFAusw", "Fangauswertg.", "Fangauswertg."},
        {&chkKontUebers, "chkKontUebers", "Kont.-Übers.", "Kontakt-Übers."},
        {&chkKontList, "chkKontList", "Kontaktliste", "Kontakt-Liste"},
        {&chkKontakt, "chkKontakt", "Kontakt", "Kontakt"},
        {&chkArbeit, "chkArbeit", "ArbStd-Contr.", "Arbeitscontrolling"},
        {&chkBesatz, "chkBesatz", "Besatz.-Liste", "Besatz.-Liste"},
        {&chkBasis, "chkBasis", "Basisdaten", "Basisdaten"},
        {&chkBenutzer, "chkBenutzer", "Benutzer- && Zugriff", "Benutzerverwltg."},
        {&chkSystem, "chkSystem", "Systempar.", "Systempar."},
    };
    for (const auto &r : rechte)
        spalten.append(QString::fromUtf8(r.spalte));
    tblZugriff = forms::grid(QStringLiteral("tblZugriff"), tab1, spalten);
    layout1->addWidget(
        uebersicht(tab1, QStringLiteral("Zugriff"), tblZugriff, lblGAnzahl, QStringLiteral("lblGAnzahl")), 1);
    QGroupBox *eingabe1 = forms::frame(QString(), QStringLiteral("Gruppe hinzuf. od. edit."), tab1);
    auto *felder1 = new QGridLayout(eingabe1);
    lblGNr = forms::label(QStringLiteral("lblGNr"), QString(), eingabe1);
    txtGruppe = forms::textBox(QStringLiteral("txtGruppe"), eingabe1, 50);
    felder1->addWidget(new QLabel(QStringLiteral("Gruppen-Nr:"), eingabe1), 0, 0);
    felder1->addWidget(lblGNr, 0, 1);
    felder1->addWidget(new QLabel(QStringLiteral("Name der Gruppe:"), eingabe1), 1, 0);
    felder1->addWidget(txtGruppe, 1, 1, 1, 3);
    felder1->addWidget(new QLabel(QStringLiteral("Hat Zugriff auf:"), eingabe1), 2, 0);
    int i = 0;
    for (const auto &r : rechte) {
        QCheckBox *chk = forms::checkBox(QString::fromLatin1(r.name), QString::fromUtf8(r.caption), eingabe1);
        *r.box = chk;
        // Three to a row: so the captions show whole in the results pane at the start size.
        felder1->addWidget(chk, 2 + i / 3, 1 + i % 3);
        ++i;
    }
    // The room beyond the captions goes to the check boxes' columns.
    for (int spalte = 1; spalte <= 3; ++spalte)
        felder1->setColumnStretch(spalte, 1);
    layout1->addWidget(eingabe1);
    tabBV->addTab(tab1, QStringLiteral("Zugriffsverwaltung"));

    for (forms::ListGrid *g : {tblBenutzer, tblZugriff}) {
        connect(g, &forms::ListGrid::lookRequested, this, [g] { modRun::SetzeTblFarben(g->appearance()); });
        connect(g, &forms::ListGrid::refreshRequested, this, [g] { g->rowRange(0, g->rowCount(), false); });
    }
    connect(tblBenutzer, &forms::ListGrid::doubleClicked, this, &Benutzer::tblBenutzer_DblClick);
    connect(tblZugriff, &forms::ListGrid::doubleClicked, this, &Benutzer::tblZugriff_DblClick);
    connect(tabBV, &QTabWidget::currentChanged, this, [this](int jetzt) {
        const int vorher = tab_;
        tab_ = jetzt;
        tabBV_Click(vorher);
    });
}

QList<QCheckBox *> Benutzer::Rechte() const
{
    return {chkFBuch,  chkFAusw,  chkKontUebers, chkKontList, chkKontakt,
            chkArbeit, chkBesatz, chkBasis,      chkBenutzer, chkSystem};
}

void Benutzer::Form_Load()
{
    tabBV->setCurrentIndex(0);
    modGVar::SetzeSpeicherModus();
}

void Benutzer::Form_Activate()
{
    modStart::loadcboBG(*cboBG);
    zeigeAnzahl();
}

void Benutzer::Form_Deactivate()
{
    modBenutzer::LeereAlleBVFelder();
}

void Benutzer::zeigeAnzahl()
{
    // Set only when changed, so that no repaint follows.
    const QString b = QString::number(tblBenutzer->rowCount());
    const QString g = QString::number(tblZugriff->rowCount());
    if (lblBAnzahl->text() != b)
        lblBAnzahl->setText(b);
    if (lblGAnzahl->text() != g)
        lblGAnzahl->setText(g);
}

void Benutzer::paintEvent(QPaintEvent *event)
{
    zeigeAnzahl();
    forms::Form::paintEvent(event);
}

void Benutzer::tabBV_Click(int previousTab)
{
    // Leaving the groups tab: the group list shows the groups as they are now.
    if (previousTab == 1)
        modStart::loadcboBG(*cboBG);
}

void Benutzer::tblBenutzer_DblClick(int row, int col)
{
    if (row < 0)
        return;
    modBenutzer::LeereBVFelder();
    modBenutzer::loadBAuswahl(row, col);
    modGVar::SetzeEditModus(*this, row, [] { modBenutzer::LeereAlleBVFelder(); });
}

void Benutzer::tblZugriff_DblClick(int row, int col)
{
    if (row < 0)
        return;
    modBenutzer::LeereBVFelder();
    modBenutzer::loadBGAuswahl(row, col);
    modGVar::SetzeEditModus(*this, row, [] { modBenutzer::LeereAlleBVFelder(); });
}

bool Benutzer::aendert(bool benutzer) const
{
    return modGVar::ImEditModus(*this) && !(benutzer ? lblBNr : lblGNr)->text().isEmpty();
}

void Benutzer::Speichern(bool benutzer)
{
    const bool edit = aendert(benutzer);
    if (!benutzer) {
        bool erledigt = false;
        if (modBenutzer::PruefeBGEingabe())
            erledigt = edit ? modBenutzer::UpdateBG(gv().lngDSNr) : modBenutzer::SpeicherBG();
        // A refused input or write keeps a loaded group loaded: the next save changes it.
        if (!edit || erledigt)
            modGVar::VerlasseEditModus(*this);
        return;
    }
    if (!modBenutzer::PruefeBenutzerEingabe()) {
        if (!edit)
            modGVar::VerlasseEditModus(*this);
        return;
    }
    if (!modBenutzer::PruefeGleichheit(txtPassw->text(), txtPasswBest->text())) {
        forms::MsgBox(QStringLiteral("Passwortbestätigung stimmt nicht mit Passwort überein") + modRun::Umbruch +
                          QStringLiteral("Bitte versuchen Sie es nochmal !"),
                      forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        modBenutzer::LeereBVFelder();
        txtBenutzer->setFocus();
        modGVar::VerlasseEditModus(*this);
        return;
    }
    const bool erledigt = edit ? modBenutzer::UpdateBenutzer(gv().lngDSNr) : modBenutzer::SpeicherBenutzer();
    if (!edit || erledigt)
        modGVar::VerlasseEditModus(*this);
}

void Benutzer::Loeschen(bool benutzer)
{
    if (!aendert(benutzer)) {
        modGVar::VerlasseEditModus(*this);
        return;
    }
    const QString frage =
        benutzer ? QStringLiteral("Achtung: Benutzer wirklich löschen ?")
                 : QStringLiteral("Achtung: Benutzer - Referenzen in der Benutzertabelle werden ebenfalls gelöscht !") +
                       QStringLiteral("\r\nTrotzdem löschen ?");
    const int antwort = forms::MsgBox(frage, forms::vbYesNo, modRun::Titel);
    bool erledigt = true;
    if (antwort == forms::vbYes)
        erledigt = benutzer ? modBenutzer::LoescheBenutzer(gv().lngDSNr) : modBenutzer::LoescheZugriff(gv().lngDSNr);
    else
        modBenutzer::LeereBVFelder();
    if (erledigt)
        modGVar::VerlasseEditModus(*this);
}

void Benutzer::Toolbar1_ButtonClick(const QString &key)
{
    const bool benutzer = tabBV->currentIndex() == 0;
    if (key == QLatin1String("tbSpeichern")) {
        Speichern(benutzer);
    } else if (key == QLatin1String("tbLoeschen")) {
        Loeschen(benutzer);
    } else {
        if (key == QLatin1String("tbAnzLoeschen"))
            modBenutzer::LeereBVFelder();
        modGVar::VerlasseEditModus(*this);
    }
}
