#include "core/modDruck.h"
#include "core/Info.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "ole/handles.h"
#include "report/format.h"
#include "report/preview.h"
#include "report/printers.h"

#include <QDateTime>
#include <QHash>
#include <QLabel>
#include <QPointer>

#include <cmath>
#include <limits>
#include <memory>

namespace modDruck {

namespace {

const QString KeineDaten = QStringLiteral("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !");
const QString KeinDrucker = QStringLiteral("ACHTUNG: Kein Drucker installiert, Vorgang wird abgebrochen !");

QHash<QString, std::shared_ptr<report::Report>> &berichte()
{
    static QHash<QString, std::shared_ptr<report::Report>> b;
    return b;
}

// A cell as a 32-bit whole number, as the runtime converts it: figures are rounded half away
// from zero; Null, an empty text or a text that is no figure is a type mismatch, a figure
// beyond the range an overflow.
qlonglong Ganzzahl(const QVariant &zelle)
{
    if (!zelle.isValid() || zelle.isNull())
        throw vb::Error(94, QStringLiteral("Unzulässige Verwendung von Null"));
    std::optional<double> zahl;
    switch (zelle.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: throw vb::Error(13, QStringLiteral("Typen unverträglich"));
    default: zahl = report::ToNumber(zelle);
    }
    if (!zahl)
        throw vb::Error(13, QStringLiteral("Typen unverträglich"));
    const double gerundet = modRun::Runde(*zahl, 0);
    if (gerundet < double(std::numeric_limits<qint32>::min()) || gerundet > double(std::numeric_limits<qint32>::max()))
        throw vb::Error(6, QStringLiteral("Überlauf"));
    return qlonglong(gerundet);
}

QVariant Ablegen(const QVariant &zelle, Ablage ablage)
{
    switch (ablage) {
    case Ablage::Ganzzahl: return QVariant(Ganzzahl(zelle));
    case Ablage::Text: return QVariant(forms::GridList::cellText(zelle));
    case Ablage::Wert: break;
    }
    return zelle;
}

// The preview stands in the results pane under the item that hosts the list window; without
// a navigation item it stands on its own. Its tool bar prints the report through the print
// dialog and closes the preview: the window it stood in for shows again under its item.
void ZeigeVorschau(report::Report &bericht, const Druckliste &liste)
{
    QWidget *fenster = bericht.Show();
    const com::ComPtr<ILzNavrailItem> item = gv().objAktItem;
    QPointer<QWidget> vorher;
    if (item) {
        LONG h = 0;
        if (SUCCEEDED(item->get_WindowObject1(&h)))
            vorher = ole::widgetFromHandle(ole::Handle(h));
    }
    const bool imPane = item && SUCCEEDED(item->put_WindowObject1(LONG(ole::handleFromWidget(fenster))));
    if (imPane) {
        item->Display();
    } else if (fenster->parentWidget()) {
        // Left in a pane by an earlier preview: out of it, into a window of its own.
        fenster->setParent(nullptr, Qt::Window);
    }
    if (auto *vorschau = qobject_cast<report::PreviewWindow *>(fenster)) {
        // The report may be forgotten while a pane still holds its preview.
        std::weak_ptr<report::Report> schwach;
        for (const auto &b : std::as_const(berichte()))
            if (b.get() == &bericht)
                schwach = b;
        const QString modul = liste.modul, routine = liste.routine;
        vorschau->setPrintHandler([schwach, vorschau, modul, routine] {
            const std::shared_ptr<report::Report> r = schwach.lock();
            if (!r)
                return;
            modRun::Trap t(modul, routine);
            if (report::Printers().PrinterNames().isEmpty()) {
                forms::MsgBox(KeinDrucker, forms::vbInformation, modRun::Titel);
                return;
            }
            t.run([&] { report::Printers().PrintReport(*r, vorschau->window()); });
        });
        // A second preview under the same item goes back to the window the first stood in for.
        if (!imPane || vorher != fenster) {
            const QPointer<QWidget> zurueck = imPane ? vorher : QPointer<QWidget>();
            vorschau->setCloseHandler([vorschau, item, zurueck] {
                if (zurueck && SUCCEEDED(item->put_WindowObject1(LONG(ole::handleFromWidget(zurueck.data())))) &&
                    SUCCEEDED(item->Display()))
                    zurueck->show();
                else
                    vorschau->hide();
            });
        }
    }
    fenster->show();
    fenster->raise();
}

// The mouse pointer back to the default on every way out.
struct Sanduhr
{
    Sanduhr() { forms::setMousePointer(forms::vbHourglass); }
    ~Sanduhr() { forms::setMousePointer(forms::vbDefault); }
};

} // namespace

void Drucke(const QString &modus, const forms::ListGrid &grid, const Druckliste &liste)
{
    modRun::Trap t(liste.modul, liste.routine);
    Sanduhr sanduhr;

    // The print connection and its record set, closed on every way out.
    dao::Database druck;
    dao::Recordset rs;
    auto schliesse = [&] {
        try {
            rs.Close();
            druck.Close();
        } catch (...) {
            // Nothing to keep from a connection that failed.
        }
    };
    struct Schliesser
    {
        std::function<void()> f;
        ~Schliesser() { f(); }
    } schliesser{schliesse};

    if (!t.run(
            [&] { druck = gv().wsDaten->OpenDatabase(modStart::Datenbankpfad(), false, false, modStart::Verbindung); }))
        return;

    // Steps up to the reading of the report's data in one transaction: committed only when the
    // table holds the whole grid and the report has read it, so that a failure on the way, or a
    // lock held by another connection, leaves the database as it was and nothing is printed.
    enum class Ausgang { Nichts, Leer, OhneDrucker, Drucken, Vorschau };
    Ausgang ausgang = Ausgang::Nichts;
    report::Report *bericht = nullptr;
    const bool ok = t.write(*gv().wsDaten, [&] {
        // Emptied even when the grid turns out to hold nothing.
        druck.Execute(dao::SqlText("DELETE FROM ") + liste.tabelle);
        rs = druck.OpenRecordset(liste.tabelle, dao::dbOpenTable);
        const int n = grid.rowCount();
        if (n < 1) {
            ausgang = Ausgang::Leer;
            return;
        }
        // Each column's field found once, by name; the rows are written by position.
        std::vector<dao::Field> felder;
        felder.reserve(liste.spalten.size());
        for (const Spalte &s : liste.spalten)
            felder.push_back(rs.Fields(s.feld));
        for (int i = 0; i < n; ++i) {
            rs.AddNew();
            for (std::size_t k = 0; k < felder.size(); ++k)
                felder[k].SetValue(Ablegen(grid.value(i, liste.spalten[k].zelle), liste.spalten[k].ablage));
            rs.Update();
        }
        const bool drucken = modus == QLatin1String("drucken");
        if (drucken && report::Printers().PrinterNames().isEmpty()) {
            ausgang = Ausgang::OhneDrucker;
            return;
        }
        bericht = &liste.bericht();
        // The report reads the rows in the table's order through one query, not row by row, and
        // as the statement hands them out: the report's own copy is the only one held.
        rs.Close();
        rs = druck.OpenRecordset(dao::SqlText("SELECT * FROM ") + liste.tabelle + " ORDER BY rowid",
                                 dao::dbOpenForwardOnly);
        bericht->setDataSource(&rs);
        report::Section &kopf = bericht->PageHeader();
        Info &info = forms::form<Info>();
        const std::pair<const char *, QLabel *> adresse[] = {{"lblVerein", info.lblVerein},
                                                             {"lblStrasse", info.lblStrasse},
                                                             {"lblPLZ", info.lblPLZ},
                                                             {"lblOrt", info.lblOrt},
                                                             {"lblTelefon", info.lblTelefon}};
        for (const auto &[name, label] : adresse)
            kopf.Controls(QString::fromLatin1(name)).Caption = label->text();
        if (liste.beschrifte)
            liste.beschrifte(*bericht);
        bericht->Refresh();
        bericht->setDataSource(nullptr);
        if (drucken)
            ausgang = Ausgang::Drucken;
        else if (modus == QLatin1String("vorschau"))
            ausgang = Ausgang::Vorschau;
    });
    if (bericht)
        bericht->setDataSource(nullptr);
    // The report has read its data: the print connection is no longer needed.
    schliesse();
    if (!ok)
        return;
    switch (ausgang) {
    case Ausgang::Leer:
        forms::setMousePointer(forms::vbDefault);
        forms::MsgBox(KeineDaten, forms::vbInformation, modRun::Titel);
        break;
    case Ausgang::OhneDrucker:
        forms::setMousePointer(forms::vbDefault);
        forms::MsgBox(KeinDrucker, forms::vbInformation, modRun::Titel);
        break;
    case Ausgang::Drucken: t.run([&] { report::Printers().PrintReport(*bericht, grid.window()); }); break;
    case Ausgang::Vorschau:
        forms::setMousePointer(forms::vbDefault);
        ZeigeVorschau(*bericht, liste);
        break;
    case Ausgang::Nichts: break;
    }
}

report::Report &Bericht(const QString &name, const std::function<void(report::Report &)> &lege)
{
    auto &b = berichte();
    auto it = b.find(name);
    if (it == b.end()) {
        auto neu = std::make_shared<report::Report>(QString());
        lege(*neu);
        it = b.insert(name, std::move(neu));
    }
    return **it;
}

void VerwerfeBerichte()
{
    berichte().clear();
}

// ---- shared layout ----------------------------------------------------------------------------

void Adressblock(report::Section &kopf)
{
    using report::Align;
    kopf.Height = std::max(kopf.Height, KopfY + KopfHoehe + 4);
    kopf.AddLabel(QString(), QStringLiteral("Anschrift:"), QRectF(0, 0, 120, 12), Align::Left, 9, true);
    Zeile(kopf, 0, 13, QStringLiteral("Name   :"), 48, QStringLiteral("lblVerein"), 260);
    Zeile(kopf, 0, 25, QStringLiteral("Strasse :"), 48, QStringLiteral("lblStrasse"), 260);
    Zeile(kopf, 0, 37, QStringLiteral("PLZ /Ort:"), 48, QStringLiteral("lblPLZ"), 42);
    kopf.AddLabel(QStringLiteral("lblOrt"), QString(), QRectF(94, 37, 216, 11));
    Zeile(kopf, 0, 49, QStringLiteral("Tel         :"), 48, QStringLiteral("lblTelefon"), 260);
}

report::Control &Titel(report::Section &kopf, const QString &name, const QString &text)
{
    return kopf.AddLabel(name, text, QRectF(0, TitelY, Breite, 20), report::Align::Left, 14, true);
}

void Kolumnen(report::Report &r, const std::vector<Kolumne> &kolumnen, double schrift)
{
    report::Section &kopf = r.PageHeader();
    report::Section &detail = r.Detail();
    kopf.AddShape(QStringLiteral("Shape1"), QRectF(0, KopfY, Breite, KopfHoehe));
    detail.Height = std::ceil(schrift * 1.25) + 4;
    for (const Kolumne &k : kolumnen) {
        kopf.AddLabel(QString(), QString::fromUtf8(k.ueberschrift), QRectF(k.x, KopfY + 2.5, k.breite, 12),
                      k.ausrichtung, schrift, true);
        report::Control &t =
            detail.AddTextBox(QString::fromLatin1(k.textbox), QString::fromUtf8(k.feld),
                              QRectF(k.x, 2, k.breite, detail.Height - 4), k.ausrichtung, QString::fromUtf8(k.format));
        t.FontSize = schrift;
        t.CanGrow = true;
    }
    detail.AddLine(QPointF(0, detail.Height), QPointF(Breite, detail.Height), true);
}

void Seitenzeile(report::Section &fuss)
{
    fuss.Height = 20;
    fuss.AddLine(QPointF(0, 2), QPointF(Breite, 2));
    fuss.AddLabel(QStringLiteral("lblSeite"), QStringLiteral("Seite %p von %P (gedruckt am %d)"),
                  QRectF(0, 6, Breite, 12), report::Align::Right, 8);
}

void Zeile(report::Section &s, double x, double y, const QString &text, double textBreite, const QString &label,
           double labelBreite, report::Align ausrichtung)
{
    s.AddLabel(QString(), text, QRectF(x, y, textBreite, 11));
    s.AddLabel(label, QString(), QRectF(x + textBreite + 2, y, labelBreite, 11), ausrichtung);
}

} // namespace modDruck
