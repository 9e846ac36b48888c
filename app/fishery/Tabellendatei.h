#pragma once
// Writing a list of the catch side to a semicolon-separated file and handing it to the
// spreadsheet program, shared by the catch list and the stocking plan files.
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace office {
class DelimitedFile;
}

namespace fishery {

struct Tabellendatei
{
    QString pfad;
    QStringList kopf; // the header line's fields
    int zeilen = 0;   // number of lines after the header
    // Writes line i's fields (writeRow).
    std::function<void(office::DelimitedFile &, int)> zeile;
    QString erfolg; // reported after the file was written
    QString fehler; // shown, with the cause, when the file could not be written
};

// Writes the file (whole or not at all) and reports it; false after a failure, which showed
// datei.fehler and the cause (modStart::Schreibhindernis).
bool SchreibeTabellendatei(const Tabellendatei &datei);

// Reports success, asks "Möchten Sie jetzt Excel starten ?" and on Yes hands the file to the
// spreadsheet program.
void BieteTabellenprogrammAn(const QString &pfad, const QList<int> &textSpalten);

// Hands the file to the spreadsheet program, which reads the columns textSpalten (from 1) as text
// and the others as numbers where they are; one message when none starts.
void StarteTabellenprogramm(const QString &pfad, const QList<int> &textSpalten);

// text without its trailing blanks.
QString OhneEndblanks(const QString &text);
QStringView OhneEndblanks(QStringView text);

} // namespace fishery
