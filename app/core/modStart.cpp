#include "core/modStart.h"
#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modRun.h"

#include "com/registry.h"

#include "common/savefile.h"

#include "forms/form.h"
#include "forms/services.h"
#include "forms/vbconst.h"
#include "ole/container.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modStart {

bool LadeQtUebersetzungen()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    // Gone with the application that owns it.
    static QPointer<QTranslator> qt;
    if (qt)
        return true;
    auto *neu = new QTranslator(app);
    if (!neu->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qt"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(neu)) {
        delete neu;
        return false;
    }
    qt = neu;
    return true;
}

QString Programmordner()
{
    const QString home = qEnvironmentVariable("TORVANA_HOME");
    if (!home.isEmpty())
        return home;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/torvana");
}

QString Datenbankpfad()
{
    return Programmordner() + QStringLiteral("/tv01.mdb");
}

bool SichereOrdnerFuer(const QString &datei, QString *grund)
{
    const QFileInfo ordner(QFileInfo(datei).absolutePath());
    if (ordner.isDir())
        return true;
    const QString pfad = ordner.absoluteFilePath();
    const auto scheitert = [&](const QString &warum) {
        if (grund)
            *grund = QStringLiteral("Der Ordner %1 fehlt und kann nicht angelegt werden (%2).")
                         .arg(QDir::toNativeSeparators(pfad), warum);
        return false;
    };
    if (ordner.absolutePath() != QFileInfo(Programmordner()).absoluteFilePath())
        return scheitert(QStringLiteral("er liegt nicht im Programmordner"));
    if (ordner.exists())
        return scheitert(QStringLiteral("eine Datei trägt seinen Namen"));
    const QByteArray name = QFile::encodeName(pfad);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return scheitert(QString::fromLocal8Bit(std::strerror(errno)));
    ::chmod(name.constData(), 0700);
    return true;
}

QString Schreibhindernis(const QString &datei)
{
    const QFileInfo f(datei);
    const QString pfad = QDir::toNativeSeparators(f.absoluteFilePath());
    const QString ordner = QDir::toNativeSeparators(f.absolutePath());
    if (f.isSymLink())
        return QStringLiteral("An der Stelle der Datei %1 steht eine Verknüpfung.").arg(pfad);
    if (f.isDir())
        return QStringLiteral("An der Stelle der Datei %1 steht ein Ordner.").arg(pfad);
    if (!QFileInfo(f.absolutePath()).isDir())
        return QStringLiteral("Der Ordner %1 fehlt.").arg(ordner);
    if (::access(QFile::encodeName(f.absolutePath()).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("Der Ordner %1 ist schreibgeschützt.").arg(ordner);
    return QStringLiteral("Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.");
}

QString ErstelltMeldung(const QString &anfang, const QString &datei)
{
    const QFileInfo f(datei);
    return QStringLiteral("%1 - %2 - wurde erfolgreich im Pfad: %3 erstellt !")
        .arg(anfang, f.fileName(), QDir::toNativeSeparators(f.absolutePath() + u'/'));
}

Programmsperre::~Programmsperre()
{
    if (fd_ >= 0)
        ::close(fd_); // releases the lock
}

bool Programmsperre::Erwirb()
{
    if (fd_ >= 0)
        return true;
    const QString ordner = Programmordner();
    const QByteArray ordnerName = QFile::encodeName(ordner);
    if (!QFileInfo(ordner).isDir())
        return true; // the database open reports the missing folder's file
    // The folder holds members' addresses: its owner's alone, however it was made; so are the
    // database and its journals (a file copied in keeps the mode it came with).
    ::chmod(ordnerName.constData(), 0700);
    const QString echt = QFileInfo(Datenbankpfad()).canonicalFilePath();
    for (const char *rest : {"", "-journal", "-wal", "-shm"}) {
        const QByteArray name = QFile::encodeName((echt.isEmpty() ? Datenbankpfad() : echt) + QLatin1String(rest));
        struct stat st
        {};
        if (::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0777) != 0600)
            ::chmod(name.constData(), 0600);
    }
    const QString sperrdatei = ordner + QStringLiteral("/torvana.lock");
    const auto ohneSchutz = [&](int fehler) {
        forms::MsgBox(
            QStringLiteral("ACHTUNG: Die Sperrdatei %1 kann nicht angelegt oder gesperrt werden (%2) !")
                    .arg(QDir::toNativeSeparators(sperrdatei), QString::fromLocal8Bit(std::strerror(fehler))) +
                modRun::Umbruch +
                QStringLiteral("Torvana läuft ohne Schutz davor weiter, dass ein zweites Torvana "
                               "denselben Programmordner verwendet."),
            forms::vbOKOnly + forms::vbExclamation, modRun::Titel);
        return true;
    };
    // Never through a link: one where the lock file belongs is replaced by the file.
    const QByteArray sperrname = QFile::encodeName(sperrdatei);
    int fd = ::open(sperrname.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat st
    {};
    if (fd < 0 && errno == ELOOP && ::lstat(sperrname.constData(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::unlink(sperrname.constData()) == 0)
        fd = ::open(sperrname.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return ohneSchutz(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        // What writers killed in an earlier run left beside the files they wrote.
        for (const QString &gefaess :
             {ordner, ordner + QStringLiteral("/SeqData"), QFileInfo(com::reg::filePath()).absolutePath()})
            savefile::removeLeftovers(gefaess);
        return true;
    }
    const int fehler = errno;
    ::close(fd);
    if (fehler != EWOULDBLOCK)
        return ohneSchutz(fehler); // a file system without locks
    forms::MsgBox(
        QStringLiteral("ACHTUNG: Torvana läuft bereits mit dem Programmordner ") + QDir::toNativeSeparators(ordner) +
            QStringLiteral(" !") + modRun::Umbruch +
            QStringLiteral("Bitte arbeiten Sie in dem geöffneten Torvana weiter. Torvana beendet sich jetzt !"),
        forms::vbOKOnly + forms::vbCritical, modRun::Titel);
    return false;
}

void OeffneDatenbank()
{
    gv().wsDaten = &dao::DBEngine::Workspaces(0);
    gv().dbDaten = gv().wsDaten->OpenDatabase(Datenbankpfad(), false, false, Verbindung);
}

void SetzeFenstergroesse()
{
    Main *main = forms::loadedForm<Main>();
    if (!main)
        return;
    // The bar is not fixed at its 7695 twips: it fills the room between menu and status bar,
    // which the main window's start height leaves at least that high, and follows the window.
    main->resize(main->width(), forms::twipsToPixels(8625));
}

QString SteuerelementMeldung(const QString &name, const QString &bibliothek, HRESULT hr, const QString &beschreibung)
{
    const QString &u = modRun::Umbruch;
    const QString registrierung = com::reg::filePath();
    QString grund;
    if (hr == REGDB_E_READREGDB) {
        QString warum;
        com::reg::status(&warum);
        grund = QStringLiteral("Die Komponentenregistrierung %1 ist beschädigt").arg(registrierung) +
                (warum.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(warum)) + QStringLiteral(".") + u +
                QStringLiteral("regsvr legt die beschädigte Datei als %1.beschaedigt beiseite und beginnt eine neue "
                               "Registrierung; danach sind alle Steuerelemente neu zu registrieren.")
                    .arg(registrierung);
    } else if (hr == REGDB_E_CLASSNOTREG) {
        grund = QStringLiteral("Das Steuerelement ist in der Komponentenregistrierung %1 nicht eingetragen.")
                    .arg(registrierung);
    } else {
        grund = QStringLiteral("Die eingetragene Bibliothek kann nicht geladen werden (Fehler 0x%1)")
                    .arg(QString::number(quint32(hr), 16).toUpper().rightJustified(8, QLatin1Char('0'))) +
                (beschreibung.isEmpty() ? QString() : QStringLiteral(": ") + beschreibung) + QStringLiteral(".");
    }
    // The tool stands beside the program; the library too in the build folder, and in the
    // libraries' own folder where the program is installed.
    const QString ordner = QCoreApplication::applicationDirPath();
    QString bibliotheksordner = ordner;
    if (!QFileInfo::exists(ordner + QLatin1Char('/') + bibliothek))
        bibliotheksordner = QDir::cleanPath(ordner + QStringLiteral("/" TORVANA_BIN_TO_PLUGINS));
    return QStringLiteral("ACHTUNG: Das Steuerelement %1 konnte nicht erstellt werden !").arg(name) + u + grund + u +
           QStringLiteral("Bitte registrieren Sie die Bibliothek %1, wie es der Startbefehl von Torvana tut:")
               .arg(bibliothek) +
           u + QStringLiteral("%1/regsvr %2/%3").arg(ordner, bibliotheksordner, bibliothek) + u +
           QStringLiteral("Torvana beendet sich jetzt !");
}

} // namespace modStart
