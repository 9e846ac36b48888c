#include "core/modTools.h"
#include "core/Main.h"
#include "core/modEnde.h"
#include "core/modRun.h"
#include "core/modStart.h"

#include "common/savefile.h"
#include "common/vberror.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/services.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <unistd.h>

namespace modTools {

namespace {

struct Texte
{
    QString erfolg;
    QString beschaedigt; // error 3056: the program ends
    QString fehler;      // any other error: the database is opened again
};

const Texte Komprimieren{
    QStringLiteral("Komprimierung der Datenbank erfolgreich durchgeführt !"),
    QStringLiteral("ACHTUNG: Datenbank konnte nicht erfolgreich komprimiert werden ! Torvana beendet sich jetzt !"),
    QStringLiteral(
        "ACHTUNG: Ein Fehler trat beim Komprimieren der Datenbank auf, die Komprimierung war nicht erfolgreich !"),
};
const Texte Reparieren{
    QStringLiteral("Datenbank wurde erfolgreich repariert !"),
    QStringLiteral("ACHTUNG: Datenbank konnte nicht erfolgreich repariert werden ! Torvana beendet sich jetzt !"),
    QStringLiteral("ACHTUNG: Ein Fehler trat beim Reparieren der Datenbank auf, die Reparatur war nicht erfolgreich !"),
};

Dateien &echteDateien()
{
    static Dateien dateien;
    return dateien;
}

Dateien *&installierteDateien()
{
    static Dateien *dateien = nullptr;
    return dateien;
}

Dateien &dateien()
{
    Dateien *d = installierteDateien();
    return d ? *d : echteDateien();
}

QString fehlerTitel(int nummer)
{
    return QStringLiteral("Runtime - Error: ") + QString::number(nummer);
}

// A copy left by an interrupted run, with its journal. Only the copy: never the database.
void entferneKopie(const QString &kopie)
{
    QFile::remove(kopie);
    QFile::remove(kopie + QStringLiteral("-journal"));
}

void beende()
{
    if (Main *main = forms::loadedForm<Main>())
        main->Unload();
}

// Opens the database again; when that fails too, the program ends with a message instead of a
// second, unreported error.
void oeffneWieder()
{
    try {
        modStart::OeffneDatenbank();
    } catch (const vb::Error &e) {
        forms::MsgBox(
            QStringLiteral("ACHTUNG: Datenbank konnte nicht wieder geöffnet werden ! Torvana beendet sich jetzt !") +
                modRun::Umbruch + QStringLiteral("Beschreibung: ") + e.description(),
            forms::vbOKOnly + forms::vbCritical, fehlerTitel(e.number()));
        beende();
    }
}

// The database file itself: where tv01.mdb is a link, the file it names, which is then compacted
// in its own folder while the link stays as the user made it.
QString echteDatei(const QString &pfad)
{
    const QString ziel = QFileInfo(pfad).canonicalFilePath();
    return ziel.isEmpty() ? pfad : ziel;
}

void Wartung(const Texte &texte)
{
    const QString datei = echteDatei(modStart::Datenbankpfad());
    const QString kopie = Temporaerdatei();
    QString grund;
    if (!modStart::SichereOrdnerFuer(kopie, &grund)) {
        // Nothing was closed or written yet.
        forms::MsgBox(texte.fehler + modRun::Umbruch + QStringLiteral("Beschreibung: ") + grund,
                      forms::vbOKOnly + forms::vbInformation, fehlerTitel(dao::err::InvalidPath));
        return;
    }
    int nummer = 0;
    QString beschreibung;
    forms::setMousePointer(forms::vbHourglass);
    try {
        modEnde::SchliesseDatenbank();
        entferneKopie(kopie);
        dateien().Komprimiere(datei, kopie, modStart::Verbindung);
        dateien().Ersetze(kopie, datei);
    } catch (const vb::Error &e) {
        nummer = e.number();
        beschreibung = e.description();
    } catch (const std::exception &e) {
        nummer = 51;
        beschreibung = QString::fromLocal8Bit(e.what());
    }
    forms::setMousePointer(forms::vbDefault);

    if (nummer == 0) {
        forms::MsgBox(texte.erfolg, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        oeffneWieder();
        return;
    }
    entferneKopie(kopie);
    if (nummer == dao::err::CannotCompact) {
        forms::MsgBox(texte.beschaedigt, forms::vbOKOnly + forms::vbCritical, fehlerTitel(nummer));
        beende();
        return;
    }
    forms::MsgBox(texte.fehler + modRun::Umbruch + QStringLiteral("Beschreibung: ") + beschreibung,
                  forms::vbOKOnly + forms::vbInformation, fehlerTitel(nummer));
    oeffneWieder();
}

[[noreturn]] void dateifehler(const QString &text)
{
    throw vb::Error(dao::err::DiskError, text);
}

// Replaces datei by a copy of kopie, whole or not at all, with kopie's mode; then removes kopie.
void kopiereUeber(const QString &kopie, const QString &datei)
{
    QFile quelle(kopie);
    if (!quelle.open(QIODevice::ReadOnly))
        dateifehler(QStringLiteral("Die Datei '%1' kann nicht gelesen werden (%2).").arg(kopie, quelle.errorString()));
    savefile::Writer ziel(datei);
    bool ok = ziel.open(quelle.permissions());
    QByteArray block;
    while (ok && !quelle.atEnd()) {
        block = quelle.read(1 << 20);
        if (block.isEmpty() && quelle.error() != QFileDevice::NoError)
            dateifehler(
                QStringLiteral("Die Datei '%1' kann nicht gelesen werden (%2).").arg(kopie, quelle.errorString()));
        ok = ziel.write(block);
    }
    if (!ok || !ziel.commit())
        dateifehler(QStringLiteral("Die Datei '%1' kann nicht ersetzt werden (%2).").arg(datei, ziel.errorString()));
    quelle.close();
    QFile::remove(kopie);
}

} // namespace

QString Temporaerdatei()
{
    return modStart::Programmordner() + QStringLiteral("/temp/tvtmp.mdb");
}

void Dateien::Komprimiere(const QString &quelle, const QString &ziel, const QString &verbindung)
{
    dao::DBEngine::CompactDatabase(quelle, ziel, verbindung);
}

void Dateien::Ersetze(const QString &kopie, const QString &datei)
{
    // A journal beside the database would be played into the new file when it is next opened.
    for (const char *rest : {"-journal", "-wal"})
        if (QFileInfo::exists(datei + QLatin1String(rest)))
            dateifehler(QStringLiteral("Die Datei '%1' wird noch verwendet und kann nicht ersetzt werden.").arg(datei));
    if (std::rename(QFile::encodeName(kopie).constData(), QFile::encodeName(datei).constData()) != 0) {
        const int fehler = errno;
        if (fehler != EXDEV)
            dateifehler(QStringLiteral("Die Datei '%1' kann nicht ersetzt werden (%2).")
                            .arg(datei, QString::fromLocal8Bit(std::strerror(fehler))));
        // The copy lies on another file system: copied beside the database, then renamed there.
        kopiereUeber(kopie, datei);
    }
    // The rename is in place; syncing the folder makes it survive a power loss. A failure here
    // changes nothing of what is on disk now.
    const QByteArray ordner = QFile::encodeName(QFileInfo(datei).absolutePath());
    const int fd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

Dateien *setDateien(Dateien *neu)
{
    Dateien *alt = installierteDateien();
    installierteDateien() = neu;
    return alt;
}

void KomprimiereDatenbank()
{
    Wartung(Komprimieren);
}

void RepariereDatenbank()
{
    Wartung(Reparieren);
}

} // namespace modTools
