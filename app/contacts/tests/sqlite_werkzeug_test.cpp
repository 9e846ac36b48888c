// The database in the hands of the sqlite3 shell: with the program's text rules loaded as an
// extension, the shell checks, fills and sorts the file as the program does, and the program then
// shows what the shell wrote.
#include "kontakt_fixture.h"

#include "dao/dao.h"

#include <QProcess>
#include <QStandardPaths>

using namespace kontakttest;

namespace {

struct Ausgabe
{
    int exitCode = -1;
    QStringList zeilen; // stdout, one entry per line
    QString fehler;     // stderr
};

// Runs the sqlite3 shell on the database with the statements on its input, with the extension
// loaded first when one is named.
Ausgabe shell(const QString &datenbank, const QString &anweisungen, const QString &erweiterung)
{
    Ausgabe a;
    const QString programm = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (programm.isEmpty()) {
        a.fehler = QStringLiteral("sqlite3 nicht gefunden");
        return a;
    }
    QStringList argumente{QStringLiteral("-batch")};
    if (!erweiterung.isEmpty())
        argumente << QStringLiteral("-cmd") << QStringLiteral(".load ") + erweiterung;
    argumente << datenbank;
    QProcess p;
    p.start(programm, argumente);
    p.write(anweisungen.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        a.fehler = QStringLiteral("sqlite3 lief nicht durch");
        return a;
    }
    a.exitCode = p.exitCode();
    a.zeilen = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    a.fehler = QString::fromUtf8(p.readAllStandardError());
    return a;
}

class SqliteWerkzeug : public KontaktTest
{
protected:
    const QString erweiterung = QStringLiteral(TORVANA_TEXTRULES_LIBRARY);
};

} // namespace

TEST_F(SqliteWerkzeug, WithoutTheExtensionTheShellCannotUseTheCollation)
{
    const char *const anweisungen[] = {
        "PRAGMA integrity_check;",
        "SELECT Nachname FROM Kontakt ORDER BY Nachname;",
        "INSERT INTO Kontakt (KategoNr, Nachname) VALUES (3, 'Hecht');",
    };
    for (const char *anweisung : anweisungen) {
        SCOPED_TRACE(anweisung);
        const Ausgabe a = shell(dbPfad(), QString::fromUtf8(anweisung), QString());
        EXPECT_TRUE(a.fehler.contains(QLatin1String("no such collation sequence: NOCASEDE")) ||
                    a.zeilen.join(QLatin1Char('\n')).contains(QLatin1String("no such collation sequence: NOCASEDE")))
            << a.fehler.toStdString();
    }
}

TEST_F(SqliteWerkzeug, TheShellChecksFillsAndSortsAsTheProgramAndTheProgramShowsTheRow)
{
    const Ausgabe a = shell(
        dbPfad(),
        QStringLiteral("PRAGMA integrity_check;\n"
                       "INSERT INTO Kontakt (KNr, KategoNr, Anrede, Nachname, Vorname, Ort) "
                       "VALUES (20, 1, 'Herr', 'Äpfel', 'Jörg', 'Üxheim');\n"
                       "INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt) "
                       "VALUES (20, 1, 0, 1, 0);\n"
                       "INSERT INTO Kontakt (KNr, KategoNr, Nachname) VALUES (21, 3, 'Zander'), (22, 3, 'apfel');\n"
                       "SELECT '-';\n"
                       "SELECT Nachname FROM Kontakt WHERE KNr >= 20 ORDER BY Nachname;\n"
                       "SELECT '-';\n"
                       "SELECT KNr FROM Kontakt WHERE Nachname LIKE 'äPF*' OR Ort LIKE '[ü]x#eim' ORDER BY KNr;\n"
                       "SELECT '-';\n"
                       "SELECT count(*) FROM Kontakt WHERE Nachname = 'ÄPFEL';\n"
                       "PRAGMA integrity_check;\n"),
        erweiterung);
    ASSERT_EQ(a.exitCode, 0) << a.fehler.toStdString();
    EXPECT_TRUE(a.fehler.isEmpty()) << a.fehler.toStdString();
    const QStringList erwartet{"ok", "-", "apfel", "Äpfel", "Zander", "-", "20", "-", "1", "ok"};
    EXPECT_EQ(a.zeilen, erwartet) << a.zeilen.join(QLatin1Char('|')).toStdString();

    starte();
    // The program's own connection sorts and compares the rows the same way.
    QStringList programm;
    dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT Nachname FROM Kontakt WHERE KNr >= 20 ORDER BY Nachname",
                                                   dao::dbOpenDynaset);
    while (!rs.Eof()) {
        programm << rs.Fields(0).Value().toString();
        rs.MoveNext();
    }
    rs.Close();
    EXPECT_EQ(programm, a.zeilen.mid(2, 3));

    klappe(1);
    const int pos = int(knrListe(1).indexOf(QStringLiteral("20")));
    ASSERT_GE(pos, 0) << knrListe(1).join(QLatin1Char(',')).toStdString();
    forms::GridList *l = liste(1);
    QStringList zeile;
    for (int c = 0; c < l->columnCount(); ++c)
        zeile << l->text(pos, c);
    EXPECT_TRUE(zeile.contains(QStringLiteral("Äpfel"))) << zeile.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(zeile.contains(QStringLiteral("Jörg"))) << zeile.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}
