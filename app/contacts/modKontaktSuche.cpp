// modKontakt: the contact search behind the dialog SuchKont.
#include "contacts/SuchKont.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"

#include <QHash>
#include <QLabel>
#include <QLineEdit>

namespace modKontakt {

QString Suchmuster(const QString &text)
{
    // "*" is the wildcard users type; every other character stands for itself, including the
    // characters the pattern language would read as wildcards or lists.
    QString muster;
    muster.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'?' || c == u'#' || c == u'[')
            muster += u'[' + QString(c) + u']';
        else
            muster += c;
    }
    return muster + u'*';
}

void SucheKontakt(QString &text, qint32 &kategoNr)
{
    auto &g = gv();
    modRun::Trap t(QStringLiteral("modKontakt"), QStringLiteral("SucheKontakt"));
    SuchKont &s = forms::form<SuchKont>();
    const QString muster = Suchmuster(text);
    dao::Recordset rs;
    bool offen = false;
    if (kategoNr != 0) {
        offen = t.step([&] {
            rs = g.dbDaten.OpenRecordset(
                "SELECT * FROM Kontakt WHERE (Vorname LIKE ? OR Nachname LIKE ? OR Firma LIKE ?) "
                "AND (KategoNr = ?)",
                dao::dbOpenDynaset, {muster, muster, muster, kategoNr});
        });
    } else {
        offen = t.step([&] {
            rs =
                g.dbDaten.OpenRecordset("SELECT * FROM Kontakt WHERE Vorname LIKE ? OR Nachname LIKE ? OR Firma LIKE ?",
                                        dao::dbOpenDynaset, {muster, muster, muster});
        });
    }
    if (!offen)
        return;
    // The rows are read completely before the list changes, so that a failed read leaves the
    // list as it was.
    QList<QVariantList> zeilen;
    const bool gelesen = t.step([&] {
        QHash<qint64, QString> namen;
        while (!rs.Eof()) {
            const qint64 nr = rs(QStringLiteral("kategonr")).Value().toLongLong();
            auto it = namen.constFind(nr);
            if (it == namen.constEnd())
                it = namen.insert(nr, ErmittleKategoName(qint32(nr)));
            zeilen.append(QVariantList{
                rs(QStringLiteral("knr")).Value(), *it, rs(QStringLiteral("Firma")).Value().toString(),
                rs(QStringLiteral("Nachname")).Value().toString(), rs(QStringLiteral("Vorname")).Value().toString()});
            rs.MoveNext();
        }
    });
    t.step([&] { rs.Close(); });
    if (!gelesen)
        return;
    forms::GridList &liste = s.tblSuch->top();
    liste.clear();
    if (zeilen.isEmpty()) {
        // No earlier result stays on screen as if it were this search's.
        modRun::ZeigeKeineDSGefunden();
        return;
    }
    g.varListe = QVariantList(5);
    for (const QVariantList &z : zeilen) {
        g.varListe = z;
        liste.addRow(g.varListe);
    }
}

void LeereSuchKont()
{
    SuchKont &s = forms::form<SuchKont>();
    s.tblSuch->top().clear();
    s.txtSuch->clear();
    s.lblGefDS->clear();
}

void ZeigeSuchKont()
{
    SuchKont &s = forms::form<SuchKont>();
    s.FuelleKategorien();
    s.Show(forms::vbModal);
}

void EntladeSuchKont()
{
    forms::unload<SuchKont>();
}

} // namespace modKontakt
